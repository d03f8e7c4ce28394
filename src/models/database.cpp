#include "models/database.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/cataloguefill.h"
#include "models/cataloguetree.h"
#include "models/documentstatements.h"
#include "models/searchstatements.h"
#include "models/sqlerror.h"
#include "sqlite/sqliteicu.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

struct TableDefinition
{
    const char *name;
    const char *statement;
    const char *label;
};

const TableDefinition cTables[] = {
    {"quotes",
     "CREATE VIRTUAL TABLE IF NOT EXISTS quotes USING fts4(uid INTEGER PRIMARY KEY ASC,date "
     "TEXT,name TEXT,translator TEXT,pdf TEXT,mp3 TEXT,length TEXT,place TEXT);",
     "Create table 'quotes'"},
    {"paragraphs",
     "CREATE VIRTUAL TABLE IF NOT EXISTS paragraphs USING fts4 (uid INTEGER PRIMARY KEY ASC,id "
     "TEXT,date TEXT,text TEXT,  tokenize=icu ru_RU);",
     "Create table 'paragraphs'"},
    {"bibles",
     "CREATE VIRTUAL TABLE IF NOT EXISTS bibles USING fts4 (uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,name TEXT);",
     "Create table 'bibles'"},
    {"chapters",
     "CREATE VIRTUAL TABLE IF NOT EXISTS chapters USING fts4(uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,chapter INTEGER,name TEXT);",
     "Create table 'chapters'"},
    {"verses",
     "CREATE VIRTUAL TABLE IF NOT EXISTS verses USING fts4(uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,chapter INTEGER,verse INTEGER,text TEXT,  tokenize=icu ru_RU);",
     "Create table 'verses'"},
};

// The sermon key without the further-translation mark " *".
QString plainDate(const QString &asDateInfo)
{
    QString vsDate = asDateInfo;
    return vsDate.remove(QStringLiteral(" *")).trimmed();
}

QString columnText(const QSqlQuery &aQuery, int anColumn)
{
    return aQuery.value(anColumn).toString();
}

} // namespace

// Holds the data store's lock and records which thread holds it.
class Database::Lock
{
public:
    explicit Lock(const Database &aDatabase) : mDatabase(aDatabase)
    {
        mDatabase.mMutex.lock();
        if (mDatabase.mnLockDepth++ == 0)
            mDatabase.mOwner = std::this_thread::get_id();
    }
    ~Lock()
    {
        if (--mDatabase.mnLockDepth == 0)
            mDatabase.mOwner = std::thread::id();
        mDatabase.mMutex.unlock();
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    const Database &mDatabase;
};

// Switches the connection to another data language for the length of one
// parallel-language request and back afterwards, whatever happened between.
class Database::TemporaryLanguage
{
public:
    TemporaryLanguage(Database &aDatabase, const QString &asLocale) : mDatabase(aDatabase)
    {
        mDatabase.msPreviousLanguage =
            mDatabase.msCurrentLanguage.isEmpty() ? asLocale : mDatabase.msCurrentLanguage;
        mDatabase.rememberLanguage(asLocale);
        mDatabase.connectCurrentDatabase();
    }
    ~TemporaryLanguage()
    {
        mDatabase.rememberLanguage(mDatabase.msPreviousLanguage);
        mDatabase.connectCurrentDatabase();
    }
    TemporaryLanguage(const TemporaryLanguage &) = delete;
    TemporaryLanguage &operator=(const TemporaryLanguage &) = delete;

private:
    Database &mDatabase;
};

Database::Database(const QString &asLanguage, QObject *parent)
    : QObject(parent), msCurrentLanguage(asLanguage)
{
    SqliteIcu::install();
    mConnection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"),
                                            QLatin1String(QSqlDatabase::defaultConnection));

    qRegisterMetaType<AdvancedSearchFlags>("AdvancedSearchFlags");
    qRegisterMetaType<TabArea *>("TabArea*");
    qRegisterMetaType<QAction *>("QAction*");

    Lock vLock(*this);
    msPreviousLanguage = msCurrentLanguage;
    rememberLanguage(msCurrentLanguage);
    connectCurrentDatabase();

    QSqlQuery vQuery = newQuery();
    vQuery.exec(QStringLiteral("PRAGMA encoding = 'UTF-8';"));
    vQuery.exec(QStringLiteral("PRAGMA cache_size = -131072;"));

    mbTransactions =
        mConnection.driver() && mConnection.driver()->hasFeature(QSqlDriver::Transactions);
    mcPsalms = PsalmTable::build();
}

Database::~Database()
{
    Lock vLock(*this);
    mConnection.close();
    mConnection = QSqlDatabase();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

QSqlQuery Database::newQuery() const
{
    if (mOwner.load() != std::this_thread::get_id())
        qCritical() << "Statement run without the data store's lock";
    return QSqlQuery(mConnection);
}

bool Database::execQuery(const QString &asQuery)
{
    Lock vLock(*this);
    QSqlQuery vQuery = newQuery();
    if (vQuery.exec(asQuery))
        return true;
    QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
    return false;
}

bool Database::execQuery(const QStringList &acQueries)
{
    bool vbResult = true;
    {
        Lock vLock(*this);
        if (mbTransactions)
            mConnection.transaction();
        QSqlQuery vQuery = newQuery();
        for (const QString &vsStatement : acQueries) {
            const bool vbOk = vQuery.exec(vsStatement);
            vbResult = vbResult && vbOk;
            if (!vbOk)
                QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        }
        vQuery.finish();
        if (mbTransactions)
            mConnection.commit();
    }
    processPendingEvents();
    return vbResult;
}

bool Database::connectCurrentDatabase()
{
    Lock vLock(*this);
    const QString vsPath = Application::databaseFilePath();
    if (mConnection.databaseName() == vsPath && mConnection.isOpen())
        return true;

    if (mConnection.isOpen())
        mConnection.close();
    mConnection.setDatabaseName(vsPath);
    if (!mConnection.open()) {
        qDebug().noquote() << mConnection.lastError().text();
        qDebug().noquote() << "Error:" << vsPath << "is not accessible!";
        return false;
    }

    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table';"))) {
        qDebug().noquote() << "Error:" << vQuery.lastError().text();
        return false;
    }
    QStringList vcNames;
    while (vQuery.next())
        vcNames.append(vQuery.value(0).toString());
    vQuery.finish();

    createMissingTables(vcNames);
    mbDocumentIndexes = DocumentStatements::ensureIndexes(mConnection);
    mbSearchIndexes = SearchStatements::ensureIndexes(mConnection);
    return true;
}

void Database::createMissingTables(const QStringList &acExisting)
{
    bool vbCreated = false;
    QSqlQuery vQuery = newQuery();
    for (const TableDefinition &vTable : cTables) {
        if (acExisting.contains(QLatin1String(vTable.name)))
            continue;
        vbCreated = true;
        qDebug().noquote() << QLatin1String(vTable.label);
        if (!vQuery.exec(QLatin1String(vTable.statement)))
            qDebug().noquote() << vQuery.lastError().text();
    }
    if (vbCreated) {
        QSettings *vpSettings = Application::settings();
        const QString vsLanguage =
            vpSettings->value(QStringLiteral("DataLanguage"), tr("en")).toString();
        vpSettings->setValue(QStringLiteral("Version-") + vsLanguage, 0);
    }
}

void Database::changeLanguage(const QString &asLocale)
{
    Lock vLock(*this);
    msPreviousLanguage = msCurrentLanguage.isEmpty() ? asLocale : msCurrentLanguage;
    rememberLanguage(asLocale);
    connectCurrentDatabase();
}

void Database::rememberLanguage(const QString &asLocale)
{
    Lock vLock(*this);
    QSettings *vpSettings = Application::settings();
    if (asLocale != msCurrentLanguage)
        msCurrentLanguage = asLocale;
    // The file to open is chosen from the setting, so it must follow every change.
    if (vpSettings->value(QStringLiteral("DataLanguage")).toString() != asLocale)
        vpSettings->setValue(QStringLiteral("DataLanguage"), asLocale);
}

void Database::setTreeView(CatalogueTree *apTreeView)
{
    Lock vLock(*this);
    if (mpTreeView != apTreeView)
        mpTreeView = apTreeView;
}

QString Database::lastSearchDates() const
{
    Lock vLock(*this);
    return msLastSearchDates;
}

AdvancedSearchFlags Database::lastSearchFlags() const
{
    Lock vLock(*this);
    return mLastSearchFlags;
}

QString Database::currentLanguage() const
{
    Lock vLock(*this);
    return msCurrentLanguage;
}

void Database::fillCatalogue(const std::function<void(CatalogueFill &)> &aFill)
{
    Lock vLock(*this);
    if (!mpTreeView) {
        qDebug() << "No catalogue tree to fill";
        return;
    }
    CatalogueFill vFill(*mpTreeView, [this] { return newQuery(); });
    aFill(vFill);
}

void Database::setByName()
{
    fillCatalogue([](CatalogueFill &aFill) { aFill.byName(true); });
}

void Database::setByNameDist()
{
    fillCatalogue([](CatalogueFill &aFill) { aFill.byName(false); });
}

void Database::setByYear()
{
    fillCatalogue([](CatalogueFill &aFill) { aFill.byYear(true); });
}

void Database::setByYearDist()
{
    fillCatalogue([](CatalogueFill &aFill) { aFill.byYear(false); });
}

void Database::setBible()
{
    fillCatalogue([](CatalogueFill &aFill) { aFill.bible(); });
}

void Database::updateStatusText(const QString &asDate, int anParentRow, int /*anRow*/)
{
    Lock vLock(*this);
    const bool vbBible = mpTreeView && mpTreeView->kind() == CatalogueTree::Bible;
    QSqlQuery vQuery = newQuery();
    if (vbBible) {
        vQuery.prepare(QStringLiteral("SELECT `name` FROM `bibles` WHERE `book` = ?;"));
        vQuery.addBindValue(anParentRow + 1);
    } else {
        // Bound, not spliced: a date may hold an apostrophe.
        vQuery.prepare(QStringLiteral("SELECT name, length, translator, date FROM quotes WHERE "
                                      "`date` = ?;"));
        vQuery.addBindValue(asDate);
    }
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    while (vQuery.next()) {
        if (vbBible)
            emit statusTextUpdated(vQuery.value(0).toString());
        else
            emit statusTextUpdated(QStringLiteral("%0 %1 (%2, %3)")
                                       .arg(vQuery.value(3).toString(), vQuery.value(0).toString(),
                                            vQuery.value(2).toString(),
                                            vQuery.value(1).toString()));
    }
}

int Database::countSermons(const QString &asStatement) const
{
    Lock vLock(*this);
    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(asStatement)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return -1;
    }
    int vnResult = -1;
    while (vQuery.next())
        vnResult = vQuery.value(0).toInt();
    return vnResult;
}

int Database::currentLanguageSermonsCount() const
{
    return countSermons(QStringLiteral("SELECT count(*) FROM quotes"));
}

int Database::currentLanguageSermonsCountDist() const
{
    return countSermons(QStringLiteral("SELECT count(*) FROM quotes WHERE length(date) < 9"));
}

bool Database::databaseExists()
{
    const QFileInfo vFile(Application::databaseFilePath());
    return vFile.exists() && vFile.size() > 0;
}

QString Database::readEscapedLine(QTextStream *apStream)
{
    if (!apStream || apStream->atEnd())
        return QString();
    return apStream->readLine().replace(QLatin1Char('\''), QStringLiteral("''"));
}

void Database::setTranslatorList(const QString &asLocale, TabArea *apTab, const QString &asDateInfo,
                                 QAction *apLanguageAction)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    TemporaryLanguage vSwitch(*this, asLocale);

    const QString vsDate = plainDate(asDateInfo);
    QSqlQuery vQuery = newQuery();
    vQuery.prepare(QStringLiteral("SELECT translator FROM quotes WHERE date = ? OR date = ?;"));
    vQuery.addBindValue(vsDate);
    vQuery.addBindValue(vsDate + QStringLiteral(" *"));
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    QStringList vcTranslators;
    while (vQuery.next())
        vcTranslators.append(columnText(vQuery, 0));
    emit translatorListReady(vcTranslators, apLanguageAction);
}

QPair<int, int> Database::convertPsalm(int anChapter, int anVerse, const QString &asFrom,
                                       const QString &asTo) const
{
    return PsalmTable::convertPsalm(mcPsalms, anChapter, anVerse, asFrom, asTo);
}

PageRecords::PsalmPlacement Database::psalmPlacement(const QString &asFrom,
                                                     const QString &asTo) const
{
    return [this, asFrom, asTo](int anChapter, int anVerse) {
        return convertPsalm(anChapter, anVerse, asFrom, asTo);
    };
}

QString Database::convertPsalmChapters(int anChapter, const QString &asFrom,
                                       const QString &asTo) const
{
    return PsalmTable::convertPsalmChapters(mcPsalms, anChapter, asFrom, asTo);
}

QString Database::convertBookNumber(int anBook, const QString &asFrom, const QString &asTo)
{
    return PsalmTable::convertBookNumber(anBook, asFrom, asTo);
}

QString Database::searchConditionsHL(const QString &asText, const QString &asSearch)
{
    // All words are marked in one pass over the original text, so a word is
    // never found again inside a mark inserted for an earlier word. Longer
    // words are tried first so that "word" does not split a mark of "words".
    QStringList vcWords = asSearch.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    vcWords.removeDuplicates();
    if (vcWords.isEmpty())
        return asText;
    std::sort(vcWords.begin(), vcWords.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QStringList vcEscaped;
    for (const QString &vsWord : vcWords)
        vcEscaped.append(QRegularExpression::escape(vsWord));
    const QRegularExpression vPattern(QStringLiteral("(%0)").arg(vcEscaped.join(QLatin1Char('|'))));
    QString vsResult = asText;
    return vsResult.replace(vPattern,
                            QStringLiteral("<span style='background-color: yellow;'>\\1</span>"));
}

QString Database::searchConditions(const QString &asText, AdvancedSearchFlags aFlags)
{
    Lock vLock(*this);
    mLastSearchFlags = aFlags;
    const int vnFlags = int(aFlags);
    if (vnFlags != ExactPhrase && vnFlags != WholeWords)
        qDebug().noquote() << asText;
    return SearchStatements::condition(asText, aFlags);
}

void Database::searchMessages(TabArea *apTab, const QString &asText, const QString &asDates,
                              AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage)
{
    search(false, apTab, asText, asDates, aFlags, anOffset, anParagraphsOnPage, -1);
}

void Database::searchMessages(TabArea *apTab, const QString &asText, const QString &asDates,
                              AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage,
                              int anKnownCount)
{
    search(false, apTab, asText, asDates, aFlags, anOffset, anParagraphsOnPage, anKnownCount);
}

void Database::searchBible(TabArea *apTab, const QString &asText, const QString &asChapters,
                           AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage)
{
    search(true, apTab, asText, asChapters, aFlags, anOffset, anParagraphsOnPage, -1);
}

void Database::searchBible(TabArea *apTab, const QString &asText, const QString &asChapters,
                           AdvancedSearchFlags aFlags, int anOffset, int anParagraphsOnPage,
                           int anKnownCount)
{
    search(true, apTab, asText, asChapters, aFlags, anOffset, anParagraphsOnPage, anKnownCount);
}

void Database::search(bool abBible, TabArea *apTab, const QString &asText, const QString &asList,
                      AdvancedSearchFlags aFlags, int anOffset, int anPageSize, int anKnownCount)
{
    SearchStatements::Search vSearch;
    int vnPageSize = 1;
    {
        // The options are read under the lock too: a thread that changed
        // them before its last use of the data store is then seen to have.
        Lock vLock(*this);
        const SharedOptions *vpOptions = Application::sharedOptions();
        const int vnOption = abBible ? vpOptions->versesCount() : vpOptions->paragraphCount();
        vnPageSize = std::max(1, anPageSize > 0 ? anPageSize : vnOption);

        emit searchModeStarting(true);
        mpCurrentPage = apTab;
        msLastSearchDates = asList;
        vSearch.condition = searchConditions(asText, aFlags);
        vSearch.like = SearchStatements::isLikeSearch(aFlags);
        vSearch.restriction = SearchStatements::restrictionList(asList);
        vSearch.hideDuplicates =
            !abBible && vSearch.restriction.isEmpty() && !vpOptions->showDuplicates();
        if (abBible)
            emitBibleHits(apTab, vSearch, vnPageSize, anOffset);
        else
            emitSermonHits(apTab, vSearch, asText, vnPageSize, anOffset);
    }
    emit finishSearchArticles(apTab, asText, aFlags, anPageSize);
    // Outside the lock: what runs now may be a request of the other thread.
    processPendingEvents();
    if (anKnownCount < 0)
        emitHitCount(abBible, apTab, vSearch, vnPageSize);
    emit searchModeStarting(false);
}

void Database::emitSermonHits(TabArea *apTab, const SearchStatements::Search &aSearch,
                              const QString &asText, int anPageSize, int anOffset)
{
    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(
            SearchStatements::sermonPage(mbSearchIndexes, aSearch, anPageSize, anOffset))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    QSqlQuery vDetail = newQuery();
    vDetail.prepare(SearchStatements::sermonDetail(mbSearchIndexes));
    bool vbDetailFailed = false;
    while (vQuery.next()) {
        const QString vsDate = columnText(vQuery, 2);
        // Bound, not spliced: a date may hold an apostrophe.
        vDetail.bindValue(0, vsDate);
        QString vsTranslator, vsName, vsPlace;
        // A failed look-up is reported (once: it would fail for every hit),
        // not passed over in silence with hits that lack their titles.
        if (!vDetail.exec()) {
            if (!vbDetailFailed)
                QUILLMARK_LOG_SQL_ERROR(vDetail.lastError());
            vbDetailFailed = true;
        } else if (vDetail.next()) {
            vsTranslator = columnText(vDetail, 0);
            vsName = columnText(vDetail, 1);
            vsPlace = columnText(vDetail, 2);
        }
        vDetail.finish();
        msCurrentParagraphText = columnText(vQuery, 0);
        msCurrentParagraphId = columnText(vQuery, 1);
        msCurrentParagraphText = searchConditionsHL(msCurrentParagraphText, asText);
        emit addSearchMessage(
            apTab, QStringLiteral("%1, 19%2, %3 (%4)").arg(vsName, vsDate, vsTranslator, vsPlace),
            msCurrentParagraphId.mid(2), msCurrentParagraphText, vsDate);
    }
}

void Database::emitBibleHits(TabArea *apTab, const SearchStatements::Search &aSearch,
                             int anPageSize, int anOffset)
{
    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(SearchStatements::biblePage(mbSearchIndexes, aSearch, anPageSize, anOffset))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    while (vQuery.next()) {
        const QString vsChapter = columnText(vQuery, 1);
        const QString vsVerse = columnText(vQuery, 2);
        emit addSearchBible(
            apTab, QStringLiteral("%1 %2:%3").arg(columnText(vQuery, 0), vsChapter, vsVerse),
            vsVerse, columnText(vQuery, 3), columnText(vQuery, 4), vsChapter);
    }
}

void Database::emitHitCount(bool abBible, TabArea *apTab, const SearchStatements::Search &aSearch,
                            int anPageSize)
{
    Lock vLock(*this);
    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(abBible ? SearchStatements::bibleCount(mbSearchIndexes, aSearch)
                             : SearchStatements::sermonCount(mbSearchIndexes, aSearch))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        emit setFoundPagesCount(apTab, 0);
        return;
    }
    qint64 vnCount = 0;
    while (vQuery.next())
        vnCount += vQuery.value(0).toLongLong();
    const int vnPages = static_cast<int>(std::ceil(static_cast<double>(vnCount) / anPageSize));
    emit setNavigationParams(apTab, vnPages);
    emit setFoundPagesCount(apTab, static_cast<int>(vnCount));
}

void Database::openBibleChapter(TabArea *apTab, int anBible, int anChapter)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    QSqlQuery vQuery = newQuery();
    vQuery.prepare(DocumentStatements::chapterVerses(mbDocumentIndexes));
    vQuery.addBindValue(anBible);
    vQuery.addBindValue(anChapter);
    emitChapterVerses(apTab, vQuery);
}

void Database::openBibleChapter(TabArea *apTab, QString asBibleTitle, int anChapter)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    QSqlQuery vQuery = newQuery();
    vQuery.prepare(DocumentStatements::chapterVersesByTitle(mbDocumentIndexes));
    vQuery.addBindValue(asBibleTitle);
    vQuery.addBindValue(anChapter);
    emitChapterVerses(apTab, vQuery);
}

void Database::emitChapterVerses(TabArea *apTab, QSqlQuery &aQuery)
{
    if (!aQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(aQuery.lastError());
        return;
    }
    while (aQuery.next()) {
        const QString vsVerse = columnText(aQuery, 0);
        emit foundChapter(apTab, columnText(aQuery, 2), columnText(aQuery, 3), vsVerse, vsVerse,
                          columnText(aQuery, 1));
    }
    emit foundAllArticles(apTab);
}

void Database::openQuotesParagraph(TabArea *apTab, int anParagraph)
{
    Lock vLock(*this);
    emitSermonParagraphs(apTab, anParagraph, QString());
}

void Database::openQuotesParagraphST(TabArea *apTab, int anParagraph, QString msText)
{
    Lock vLock(*this);
    emitSermonParagraphs(apTab, anParagraph, msText);
}

void Database::emitSermonParagraphs(TabArea *apTab, int anParagraph, const QString &asHighlight)
{
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);

    QSqlQuery vSermon = newQuery();
    vSermon.prepare(QStringLiteral("SELECT translator, pdf, mp3, `length`, place, date FROM quotes "
                                   "WHERE rowid = ? LIMIT 1;"));
    vSermon.addBindValue(anParagraph);
    QStringList vcSermon;
    for (int i = 0; i < 6; ++i)
        vcSermon.append(QString());
    if (!vSermon.exec())
        QUILLMARK_LOG_SQL_ERROR(vSermon.lastError());
    else if (vSermon.next())
        for (int i = 0; i < 6; ++i)
            vcSermon[i] = columnText(vSermon, i);
    vSermon.finish();

    QSqlQuery vQuery = newQuery();
    vQuery.prepare(DocumentStatements::sermonParagraphs(mbDocumentIndexes));
    vQuery.addBindValue(vcSermon.at(5));
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    while (vQuery.next()) {
        QString vsText = columnText(vQuery, 1);
        if (!asHighlight.isEmpty())
            vsText = searchConditionsHL(vsText, asHighlight);
        QStringList vcRecord = vcSermon;
        vcRecord << columnText(vQuery, 0).mid(2) << vsText;
        emit foundParagraph(apTab, vcRecord.join(QLatin1Char('\t')));
    }
    emit foundAllArticles(apTab);
}

void Database::openQuotesParagraphAddLanguage(QString asLocale, TabArea *apTab,
                                              QString asTranslator, QString asDateInfo)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    TemporaryLanguage vSwitch(*this, asLocale);

    const bool vbEnglish = asLocale == QLatin1String("en");
    const QString vsDate = plainDate(asDateInfo);
    QSqlQuery vSermon = newQuery();
    vSermon.prepare(QStringLiteral("SELECT name, translator, pdf, mp3, `length`, place, date FROM "
                                   "quotes WHERE (date = ? OR date = ?) AND translator = ?;"));
    vSermon.addBindValue(vsDate);
    vSermon.addBindValue(vsDate + QStringLiteral(" *"));
    vSermon.addBindValue(vbEnglish ? QStringLiteral("-") : asTranslator);
    QString vsName, vsTranslator, vsPlace, vsFoundDate;
    if (!vSermon.exec())
        QUILLMARK_LOG_SQL_ERROR(vSermon.lastError());
    else if (vSermon.next()) {
        vsName = columnText(vSermon, 0);
        vsTranslator = columnText(vSermon, 1);
        vsPlace = columnText(vSermon, 5);
        vsFoundDate = columnText(vSermon, 6);
    }
    vSermon.finish();

    QSqlQuery vQuery = newQuery();
    vQuery.prepare(DocumentStatements::sermonParagraphs(mbDocumentIndexes));
    vQuery.addBindValue(vbEnglish ? vsDate : vsFoundDate);
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    while (vQuery.next()) {
        const QStringList vcRecord{vsName,
                                   vsFoundDate,
                                   vsPlace,
                                   vsTranslator,
                                   columnText(vQuery, 0).mid(2),
                                   columnText(vQuery, 1)};
        emit foundOtherParagraph(apTab, vcRecord.join(QLatin1Char('\t')));
    }
    emit translationReady(apTab);
    emit foundAllArticles(apTab);
}

void Database::openBibleAddLanguage(QString asLocale, TabArea *apTab, QString asDateInfo,
                                    QString asChapterInfo)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    TemporaryLanguage vSwitch(*this, asLocale);
    const QString vsFrom = msPreviousLanguage;

    const int vnBook = asDateInfo.toInt();
    const QString vsBook = convertBookNumber(vnBook, vsFrom, asLocale);
    QStringList vcChapters;
    if (vnBook == 19)
        vcChapters = convertPsalmChapters(asChapterInfo.toInt(), vsFrom, asLocale)
                         .split(QLatin1Char(','), Qt::SkipEmptyParts);
    else
        vcChapters.append(asChapterInfo);
    vcChapters.removeDuplicates();

    bool vbValid = !vsBook.isEmpty();
    for (const QString &vsChapter : qAsConst(vcChapters)) {
        bool vbNumber = false;
        vsChapter.trimmed().toInt(&vbNumber);
        vbValid = vbValid && vbNumber;
    }
    if (!vbValid || vcChapters.isEmpty()) {
        qDebug() << "No parallel text for book" << asDateInfo << "chapter" << asChapterInfo
                 << "from" << vsFrom << "to" << asLocale;
        return;
    }

    QSqlQuery vQuery = newQuery();
    vQuery.prepare(DocumentStatements::parallelChapters(mbDocumentIndexes, vcChapters.size()));
    vQuery.addBindValue(vsBook.toInt());
    for (const QString &vsChapter : qAsConst(vcChapters))
        vQuery.addBindValue(vsChapter.trimmed().toInt());
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    while (vQuery.next())
        emit foundOtherChapter(apTab, columnText(vQuery, 4), columnText(vQuery, 0),
                               columnText(vQuery, 1), columnText(vQuery, 3));
    emit translationReady(apTab);
    emit foundAllArticles(apTab);
}

void Database::processPendingEvents()
{
    QCoreApplication::processEvents();
}
