#pragma once

#include "models/catalogue.h"
#include "models/cataloguetree.h"
#include "models/documentexport.h"
#include "models/documentreader.h"
#include "models/documentremoval.h"
#include "models/fileproblem.h"
#include "models/hitgroups.h"
#include "models/pagerecords.h"
#include "models/psalmtable.h"
#include "models/searchflags.h"
#include "models/updateimport.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CatalogueTree;
class QSqlError;
class QSqlQuery;
class QTextStream;
class QThread;
class StoreConnection;
class StoreEnvironment;
class TabArea;
namespace SearchStatements {
struct Search;
}

Q_DECLARE_OPAQUE_POINTER(TabArea *)
Q_DECLARE_METATYPE(TabArea *)

// The data store: the one SQLite connection to the database file of the
// current data language, its five full-text tables, and every statement the
// program runs. Results are published as signals addressed to the page that
// asked for them.
//
// Threading rules. The object lives on a worker thread of its own; requests
// that arrive through queued signals or calls run there. The window makes
// all its requests that way (catalogues, counts, hover texts and language
// switches included), so its thread never waits for a running search; see
// setWindowThread(). Tools and tests may also call the operations directly
// from their own thread. Every public operation holds mMutex for its whole
// duration: no two statements ever run on the connection at once, and a
// temporary switch to another language's file is never seen half-way by the
// other thread. The lock is recursive because operations build on each other
// (a language switch reopens the connection, a batch runs single statements).
// Nothing waits on another thread while holding it: signals leave queued,
// and the event loop is run only after the lock is released.
//
// Pages and languages. A page shows one data language's documents or hits
// for as long as it lives, whatever the window switches to meanwhile. The
// tab container tells the data store each page's language (addressPage());
// every request addressed to that page then runs on that language's file.
class Database : public QObject
{
    Q_OBJECT

public:
    // aEnvironment must outlive the data store.
    Database(const QString &asLanguage, const StoreEnvironment &aEnvironment,
             QObject *parent = nullptr);
    ~Database() override;

    bool execQuery(const QString &asQuery);
    bool execQuery(const QStringList &acQueries);

    // A conversion run as one transaction: between beginBatch() and
    // endBatch() the statements of execQuery() open none of their own, and
    // the data store's thread takes no other request in between. Either all
    // of the run is written, or, when the file cannot take it (its disk
    // full, locked, damaged), none of it; a statement failing on its own
    // merits fails alone, as ever.
    bool beginBatch();
    // Whether a statement of the open batch met a problem of the file; the
    // statements after it are not run.
    bool batchBroken() const;
    // Commits, or rolls back when the batch broke or the commit fails; true
    // when the batch is written.
    bool endBatch();
    // After a run that wrote many documents: each full-text index merged
    // into one piece, which a search then reads in one go instead of
    // merging the pieces for every word (a tenth or so quicker), and the
    // room of what was replaced given back. False, and logged, when the file could not take it; the
    // documents are there either way.
    bool compact();
    bool connectCurrentDatabase();
    void changeLanguage(const QString &asLocale);
    void rememberLanguage(const QString &asLocale);
    void setTreeView(CatalogueTree *apTreeView);
    QString lastSearchDates() const;
    AdvancedSearchFlags lastSearchFlags() const;
    QString currentLanguage() const;

    // The data language of the page's documents and searches; a page never
    // addressed (a tool's collector) follows the current language. Neither
    // waits for a running statement.
    void addressPage(TabArea *apTab, const QString &asLanguage);
    void forgetPage(TabArea *apTab);

    // A thread that must never wait for the data store's lock (the window's):
    // taking the lock there is logged as a critical line, which the tests
    // look for. Null for none.
    void setWindowThread(QThread *apThread);

    // The catalogue of the open database (anKind a CatalogueTree kind;
    // abDuplicates keeps further translations), read as a value.
    Catalogue readCatalogue(int anKind, bool abDuplicates);
    // The same, put into the tree given with setTreeView(), on the calling
    // thread (the tree's).
    void setByName() { fillTree(CatalogueTree::ByName, true); }
    void setByNameDist() { fillTree(CatalogueTree::ByName, false); }
    void setByYear() { fillTree(CatalogueTree::ByYear, true); }
    void setByYearDist() { fillTree(CatalogueTree::ByYear, false); }
    void setBible() { fillTree(CatalogueTree::Bible, true); }
    // The status-bar texts of a hovered item (see CatalogueReader).
    QStringList statusTexts(bool abBible, const QString &asDate, int anBookRow);
    // Emits statusTextUpdated for each of them; the kind is the tree's.
    void updateStatusText(const QString &asDate, int anParentRow, int anRow);
    int currentLanguageSermonsCount() const;
    int currentLanguageSermonsCountDist() const;

    // The update files of the import folder, each into the database of its
    // language, as the start-up does (see UpdateImport): the files imported
    // and those set aside, with why. Afterwards the current data language is
    // that of the last file imported. Emits importStarted, totalUpdated per
    // file and currentUpdated per paragraphs written.
    using ImportReport = UpdateImport::Report;
    ImportReport importUpdateFiles();

    // The sermons (abBible false) or Bible chapters with the catalogue keys
    // asKeys ("(12,57)") of a data language (empty: the current one), for
    // the update server: exported into the archive "<language>_<n>.zip" of
    // the export folder, n one more than the setting "expVer<language>",
    // which advances once the archive is complete; or deleted, in one
    // transaction. Neither shows anything: the reports say what happened.
    DocumentExport::Report exportSql(const QString &asLanguage, bool abBible,
                                     const QString &asKeys);
    DocumentRemoval::Report deleteSql(const QString &asLanguage, bool abBible,
                                      const QString &asKeys);

    // What was found wrong with a file since the data store started (None:
    // nothing); see fileProblemFound.
    FileProblem fileProblem(const QString &asPath) const;

    // Whether the file exists and is not empty.
    static bool databaseExists(const QString &asFilePath);
    static QString readEscapedLine(QTextStream *apStream);

    // The translators of a sermon in asLocale, as translatorListReady; the
    // language menu's action (a QAction of the page's) only travels along.
    void setTranslatorList(const QString &asLocale, TabArea *apTab, const QString &asDateInfo,
                           QObject *apLanguageAction);
    QPair<int, int> convertPsalm(int anChapter, int anVerse, const QString &asFrom,
                                 const QString &asTo) const;
    QString convertPsalmChapters(int anChapter, const QString &asFrom, const QString &asTo) const;
    // convertPsalm from asFrom's numbering into asTo's, for a page pairing a
    // parallel chapter with its own (the data store must outlive it).
    PageRecords::PsalmPlacement psalmPlacement(const QString &asFrom, const QString &asTo) const;
    static QString convertBookNumber(int anBook, const QString &asFrom, const QString &asTo);

    // asText with every word of asSearch (split at single blanks) wrapped in
    // a highlight span.
    static QString searchConditionsHL(const QString &asText, const QString &asSearch);

    // The condition the search statements put in quotes (see
    // SearchStatements::condition), with the modifiers of aFlags applied for
    // the data language; remembers aFlags as the last search flags.
    QString searchConditions(const QString &asText, AdvancedSearchFlags aFlags,
                             const QString &asLanguage = QString());

    // One page of hits of the sermons or of the Bible, as signals addressed
    // to apTab, optionally restricted to a list of sermon or chapter rowids;
    // anParagraphsOnPage -1 takes the page size from the options. The page is
    // only passed back, never asked: the six-argument forms are a search's
    // first request, whose hit count is unknown and therefore counted (per
    // year or book when hitsPerGroup has a receiver, the count being their
    // sum); a page asking for another page passes the count it knows (-1:
    // count it). The page, its count and its groups come from the same data
    // language.
    void searchMessages(TabArea *apTab, const QString &asText, const QString &asDates,
                        AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage)
    {
        search(false, apTab, asText, asDates, aFlags, anOffset, anParagraphsOnPage, -1, true);
    }
    void searchMessages(TabArea *apTab, const QString &asText, const QString &asDates,
                        AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage,
                        int anKnownCount)
    {
        search(false, apTab, asText, asDates, aFlags, anOffset, anParagraphsOnPage, anKnownCount,
               false);
    }
    // A first request of a caller that shows nothing before it has the
    // count too (the command-line tool): the same signals, the page and the
    // count found in one pass over the matches where the search allows.
    void searchMessagesCounted(TabArea *apTab, const QString &asText, const QString &asDates,
                               AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage)
    {
        search(false, apTab, asText, asDates, aFlags, anOffset, anParagraphsOnPage, -1, false,
               true);
    }
    void searchBible(TabArea *apTab, const QString &asText, const QString &asChapters,
                     AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage)
    {
        search(true, apTab, asText, asChapters, aFlags, anOffset, anParagraphsOnPage, -1, true);
    }
    void searchBible(TabArea *apTab, const QString &asText, const QString &asChapters,
                     AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage,
                     int anKnownCount)
    {
        search(true, apTab, asText, asChapters, aFlags, anOffset, anParagraphsOnPage, anKnownCount,
               false);
    }

signals:
    void currentUpdated(qlonglong anValue, qlonglong anTotal);
    void totalUpdated(qlonglong anValue, qlonglong anTotal);
    void statusTextUpdated(QString asStatusText);
    void importStarted();
    void importFinished();
    void foundChapter(TabArea *apTab, QString asDateInfo, QString asChapterInfo, QString asTitle,
                      QString asNumber, QString asText);
    void foundOtherChapter(TabArea *apTab, QString asName, QString asVerse, QString asText,
                           QString asChapter);
    void foundParagraph(TabArea *apTab, QString asParameter);
    void foundOtherParagraph(TabArea *apTab, QString asParameter);
    void finishSearchArticles(TabArea *apTab, QString asText, AdvancedSearchFlags aFlags,
                              int anParagraphsOnPage);
    void addSearchMessage(TabArea *apTab, QString asTitle, QString asNumber, QString asSearchText,
                          QString asDateInfo);
    void addSearchBible(TabArea *apTab, QString asTitle, QString asNumber, QString asSearchText,
                        QString asBook, QString asChapter);
    void foundAllArticles(TabArea *apTab);
    void foundAllSearchArticles(TabArea *apTab);
    void translationReady(TabArea *apTab);
    void translatorListReady(QStringList acList, QObject *apLanguageAction);
    void searchModeStarting(bool abYes);
    void setNavigationParams(TabArea *apTab, int anValue);
    void setFoundPagesCount(TabArea *apTab, int anCount);
    // A search's hits per year of the sermons or per Bible book, right after
    // its count (see searchMessages).
    void hitsPerGroup(TabArea *apTab, HitGroups acGroups);
    // After an import, before importFinished: how many files went in and how
    // many were set aside.
    void importCompleted(int anImported, int anSetAside);
    // A file cannot be used as it is (it is left untouched). Once per file
    // and problem, and only from announceFileProblems() on.
    void fileProblemFound(QString asPath, FileProblem aProblem);

public slots:
    void openBibleChapter(TabArea *apTab, int anBible, int anChapter);
    void openBibleChapter(TabArea *apTab, QString asBibleTitle, int anChapter);
    void openQuotesParagraph(TabArea *apTab, int anParagraph);
    void openQuotesParagraphST(TabArea *apTab, int anParagraph, QString msText);
    void openQuotesParagraphAddLanguage(QString asLocale, TabArea *apTab, QString asTranslator,
                                        QString asDateInfo);
    void openBibleAddLanguage(QString asLocale, TabArea *apTab, QString asDateInfo,
                              QString asChapterInfo);
    // The sermon of a search hit, found by its date (a hit knows no rowid),
    // with the search's words (or, with modifiers, what it found) marked.
    void openSermonOfHit(TabArea *apTab, QString asDate, QString asText,
                         AdvancedSearchFlags aFlags);
    // The start-up's import of the update files: importUpdateFiles(), then
    // importCompleted and importFinished. It never ends the process: the
    // start-up decides what comes next.
    void importSql();
    // Emits fileProblemFound for the problems found so far (the data store
    // opens its file before anyone can listen), and for each new one from
    // then on.
    void announceFileProblems();

private:
    class LanguageSwitch;
    class Lock;

    // A query on the connection; complains (critical log line) when the
    // calling thread does not hold the lock, so a missing lock shows in tests.
    QSqlQuery newQuery() const;
    std::function<QSqlQuery()> queryFactory() const;
    // The page's data language, or the current one for a page never addressed.
    QString languageOf(TabArea *apTab) const;

    void emitVerses(TabArea *apTab, bool abRead, const QVector<DocumentReader::Verse> &acVerses);
    void emitSermon(TabArea *apTab, bool abRead, const QStringList &acRecords);
    void processPendingEvents();
    // Records a failed statement of an open batch (see beginBatch()); true
    // when the batch broke on it.
    bool breaksBatch(const QSqlError &aError);
    void search(bool abBible, TabArea *apTab, const QString &asText, const QString &asList,
                AdvancedSearchFlags aFlags, int anOffset, int anPageSize, int anKnownCount,
                bool abFirst, bool abOnePass = false);
    void fillTree(int anKind, bool abDuplicates);
    void noteFileProblem(const QString &asPath, FileProblem aProblem) const;
    // A problem a failed statement met on this thread, for the open file.
    void collectStatementProblem() const;

    QString msPreviousLanguage;
    QString msCurrentLanguage;
    const StoreEnvironment &mEnvironment;
    std::unique_ptr<StoreConnection> mpConnection;
    QString msLastSearchDates;
    AdvancedSearchFlags mLastSearchFlags;
    QVector<PsalmRecord> mcPsalms;
    // Guarded by mMutex; mutable because every operation, reading ones too,
    // may meet a damaged file.
    mutable QHash<QString, FileProblem> mcFileProblems;
    mutable QStringList mcUnannounced;
    mutable bool mbAnnouncing = false;
    QString msLockedPath;
    QElapsedTimer mLockedAt;
    bool mbInBatch = false;
    bool mbBatchBroken = false;
    // Read under the lock by the direct catalogue fills, set by the window.
    std::atomic<CatalogueTree *> mpTreeView{nullptr};
    TabArea *mpCurrentPage = nullptr;
    // Guarded by mPagesMutex, not mMutex: the window addresses pages while
    // a search holds the connection.
    mutable std::mutex mPagesMutex;
    QHash<TabArea *, QString> mcPageLanguages;
    std::atomic<QThread *> mpWindowThread{nullptr};
    // A standard mutex rather than Qt's: the thread sanitizer sees its
    // hand-overs, so the threaded tests can check this locking.
    mutable std::recursive_mutex mMutex;
    mutable std::atomic<std::thread::id> mOwner{};
    mutable int mnLockDepth = 0;
};
