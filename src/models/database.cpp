#include "models/database.h"

#include "models/databaseguards.h"

#include "models/cataloguereader.h"
#include "models/cataloguetree.h"
#include "models/searchterms.h"
#include "models/sqlerror.h"
#include "models/storeconnection.h"
#include "models/storeenvironment.h"
#include "sqlite/sqliteicu.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

namespace {

const QString csDataLanguage = QStringLiteral("DataLanguage");

} // namespace

Database::Database(const QString &asLanguage, const StoreEnvironment &aEnvironment, QObject *parent)
    : QObject(parent), msCurrentLanguage(asLanguage), mEnvironment(aEnvironment)
{
    SqliteIcu::install();
    mpConnection = std::make_unique<StoreConnection>();
    qRegisterMetaType<AdvancedSearchFlags>("AdvancedSearchFlags");
    qRegisterMetaType<TabArea *>("TabArea*");
    qRegisterMetaType<Catalogue>("Catalogue");
    qRegisterMetaType<FileProblem>("FileProblem");
    qRegisterMetaType<HitGroups>("HitGroups");

    Lock vLock(*this);
    msPreviousLanguage = msCurrentLanguage;
    rememberLanguage(msCurrentLanguage);
    connectCurrentDatabase();
    mcPsalms = PsalmTable::build();
}

Database::~Database()
{
    Lock vLock(*this);
    mpConnection.reset();
}

QSqlQuery Database::newQuery() const
{
    if (mOwner.load() != std::this_thread::get_id())
        qCritical() << "Statement run without the data store's lock";
    return QSqlQuery(mpConnection->database());
}

std::function<QSqlQuery()> Database::queryFactory() const
{
    return [this] { return newQuery(); };
}

bool Database::execQuery(const QString &asQuery)
{
    Lock vLock(*this);
    if (mbBatchBroken)
        return false;
    QSqlQuery vQuery = newQuery();
    if (vQuery.exec(asQuery))
        return true;
    QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
    breaksBatch(vQuery.lastError());
    return false;
}

bool Database::execQuery(const QStringList &acQueries)
{
    bool vbResult = true;
    {
        Lock vLock(*this);
        if (mbBatchBroken)
            return false;
        const bool vbOwnTransaction = !mbInBatch && mpConnection->hasTransactions();
        if (vbOwnTransaction)
            mpConnection->database().transaction();
        QSqlQuery vQuery = newQuery();
        for (const QString &vsStatement : acQueries) {
            const bool vbOk = vQuery.exec(vsStatement);
            vbResult = vbResult && vbOk;
            if (!vbOk) {
                QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
                if (breaksBatch(vQuery.lastError()))
                    break;
            }
        }
        vQuery.finish();
        // Committed as a statement: the driver's own commit drops SQLite's
        // code, and a full disk shows only here.
        if (vbOwnTransaction && !vQuery.exec(QStringLiteral("COMMIT;"))) {
            QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
            mpConnection->database().rollback();
            vbResult = false;
        }
        if (mbInBatch)
            return vbResult;
    }
    processPendingEvents();
    return vbResult;
}

bool Database::connectCurrentDatabase()
{
    Lock vLock(*this);
    // The file is the one the setting names, which every language change writes.
    QSettings *vpSettings = mEnvironment.settings();
    const QString vsLanguage = vpSettings->value(csDataLanguage, QStringLiteral("ru")).toString();
    const QString vsPath = mEnvironment.databaseFilePath(vsLanguage);
    if (mpConnection->isOpenOn(vsPath))
        return true;
    collectStatementProblem();
    // A file another program holds was waited for just now: the steps of a
    // start-up or of a command do not wait once each. The connection is
    // closed all the same, so no statement meant for this file reaches
    // another language's.
    if (vsPath == msLockedPath && mLockedAt.isValid() &&
        mLockedAt.elapsed() < StoreConnection::cnBusyTimeoutMs) {
        mpConnection->close();
        return false;
    }
    bool vbCreated = false;
    if (!mpConnection->open(vsPath, &vbCreated)) {
        noteFileProblem(vsPath, mpConnection->problem());
        if (mpConnection->problem() == FileProblem::Locked) {
            msLockedPath = vsPath;
            mLockedAt.start();
        }
        return false;
    }
    // A new file's data version is nought, so that every update applies.
    if (vbCreated)
        vpSettings->setValue(
            QStringLiteral("Version-") + vpSettings->value(csDataLanguage, tr("en")).toString(), 0);
    return true;
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
    QSettings *vpSettings = mEnvironment.settings();
    if (asLocale != msCurrentLanguage)
        msCurrentLanguage = asLocale;
    // The file to open is chosen from the setting, so it must follow every change.
    if (vpSettings->value(csDataLanguage).toString() != asLocale)
        vpSettings->setValue(csDataLanguage, asLocale);
}

void Database::setTreeView(CatalogueTree *apTreeView)
{
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

void Database::addressPage(TabArea *apTab, const QString &asLanguage)
{
    const std::lock_guard<std::mutex> vGuard(mPagesMutex);
    mcPageLanguages.insert(apTab, asLanguage);
}

void Database::forgetPage(TabArea *apTab)
{
    const std::lock_guard<std::mutex> vGuard(mPagesMutex);
    mcPageLanguages.remove(apTab);
}

QString Database::languageOf(TabArea *apTab) const
{
    {
        const std::lock_guard<std::mutex> vGuard(mPagesMutex);
        const auto vFound = mcPageLanguages.constFind(apTab);
        if (vFound != mcPageLanguages.constEnd() && !vFound.value().isEmpty())
            return vFound.value();
    }
    return msCurrentLanguage;
}

void Database::setWindowThread(QThread *apThread)
{
    mpWindowThread = apThread;
}

Catalogue Database::readCatalogue(int anKind, bool abDuplicates)
{
    Lock vLock(*this);
    const CatalogueReader vReader(queryFactory());
    Catalogue vCatalogue = anKind == CatalogueTree::Bible    ? vReader.bible()
                           : anKind == CatalogueTree::ByName ? vReader.byName(abDuplicates)
                                                             : vReader.byYear(abDuplicates);
    vCatalogue.msLanguage = msCurrentLanguage;
    return vCatalogue;
}

void Database::fillTree(int anKind, bool abDuplicates)
{
    const Catalogue vCatalogue = readCatalogue(anKind, abDuplicates);
    if (CatalogueTree *vpTree = mpTreeView.load())
        vCatalogue.fill(*vpTree);
    else
        qDebug() << "No catalogue tree to fill";
}

QStringList Database::statusTexts(bool abBible, const QString &asDate, int anBookRow)
{
    Lock vLock(*this);
    return CatalogueReader(queryFactory()).statusTexts(abBible, asDate, anBookRow);
}

void Database::updateStatusText(const QString &asDate, int anParentRow, int /*anRow*/)
{
    const CatalogueTree *vpTree = mpTreeView.load();
    const bool vbBible = vpTree && vpTree->kind() == CatalogueTree::Bible;
    for (const QString &vsText : statusTexts(vbBible, asDate, anParentRow))
        emit statusTextUpdated(vsText);
}

int Database::currentLanguageSermonsCount() const
{
    Lock vLock(*this);
    return CatalogueReader(queryFactory()).countSermons(true);
}

int Database::currentLanguageSermonsCountDist() const
{
    Lock vLock(*this);
    return CatalogueReader(queryFactory()).countSermons(false);
}

FileProblem Database::fileProblem(const QString &asPath) const
{
    Lock vLock(*this);
    collectStatementProblem();
    return mcFileProblems.value(asPath, FileProblem::None);
}

void Database::noteFileProblem(const QString &asPath, FileProblem aProblem) const
{
    if (aProblem == FileProblem::None || mcFileProblems.value(asPath) == aProblem)
        return;
    mcFileProblems.insert(asPath, aProblem);
    if (!mbAnnouncing) {
        mcUnannounced.append(asPath);
        return;
    }
    // Signals are not const, but telling about the file changes nothing of
    // the data store's.
    emit const_cast<Database *>(this)->fileProblemFound(asPath, aProblem);
}

void Database::collectStatementProblem() const
{
    const FileProblem vProblem = FileProblems::takeStatementProblem();
    if (vProblem != FileProblem::None && mpConnection)
        noteFileProblem(mpConnection->database().databaseName(), vProblem);
}

void Database::announceFileProblems()
{
    Lock vLock(*this);
    mbAnnouncing = true;
    const QStringList vcPaths = mcUnannounced;
    mcUnannounced.clear();
    for (const QString &vsPath : vcPaths)
        emit fileProblemFound(vsPath, mcFileProblems.value(vsPath));
}

bool Database::databaseExists(const QString &asFilePath)
{
    const QFileInfo vFile(asFilePath);
    return vFile.exists() && vFile.size() > 0;
}

QString Database::readEscapedLine(QTextStream *apStream)
{
    if (!apStream || apStream->atEnd())
        return QString();
    return apStream->readLine().replace(QLatin1Char('\''), QStringLiteral("''"));
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

void Database::openBibleChapter(TabArea *apTab, int anBible, int anChapter)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    LanguageSwitch vScope(*this, languageOf(apTab));
    QVector<DocumentReader::Verse> vcVerses;
    const bool vbRead = DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
                            .chapterVerses(anBible, anChapter, &vcVerses);
    emitVerses(apTab, vbRead, vcVerses);
}

void Database::openBibleChapter(TabArea *apTab, QString asBibleTitle, int anChapter)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    LanguageSwitch vScope(*this, languageOf(apTab));
    QVector<DocumentReader::Verse> vcVerses;
    const bool vbRead = DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
                            .chapterVersesByTitle(asBibleTitle, anChapter, &vcVerses);
    emitVerses(apTab, vbRead, vcVerses);
}

void Database::emitVerses(TabArea *apTab, bool abRead,
                          const QVector<DocumentReader::Verse> &acVerses)
{
    if (!abRead)
        return;
    for (const DocumentReader::Verse &vVerse : acVerses)
        emit foundChapter(apTab, vVerse.msBook, vVerse.msChapter, vVerse.msVerse, vVerse.msVerse,
                          vVerse.msText);
    emit foundAllArticles(apTab);
}

void Database::openQuotesParagraph(TabArea *apTab, int anParagraph)
{
    openQuotesParagraphST(apTab, anParagraph, QString());
}

void Database::openQuotesParagraphST(TabArea *apTab, int anParagraph, QString msText)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    LanguageSwitch vScope(*this, languageOf(apTab));
    QStringList vcRecords;
    const bool vbRead = DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
                            .sermonParagraphs(anParagraph, msText, &vcRecords);
    emitSermon(apTab, vbRead, vcRecords);
}

void Database::openSermonOfHit(TabArea *apTab, QString asDate, QString asText,
                               AdvancedSearchFlags aFlags)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    changeLanguage(msCurrentLanguage);
    const QString vsLanguage = languageOf(apTab);
    LanguageSwitch vScope(*this, vsLanguage);
    QStringList vcRecords;
    const bool vbRead =
        DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
            .sermonParagraphsByDate(asDate, asText, &vcRecords,
                                    SearchTerms::widens(aFlags)
                                        ? SearchTerms::marks(asText, aFlags, vsLanguage)
                                        : QRegularExpression());
    emitSermon(apTab, vbRead, vcRecords);
}

void Database::emitSermon(TabArea *apTab, bool abRead, const QStringList &acRecords)
{
    if (!abRead)
        return;
    for (const QString &vsRecord : acRecords)
        emit foundParagraph(apTab, vsRecord);
    emit foundAllArticles(apTab);
}

void Database::openQuotesParagraphAddLanguage(QString asLocale, TabArea *apTab,
                                              QString asTranslator, QString asDateInfo)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    msPreviousLanguage = msCurrentLanguage.isEmpty() ? asLocale : msCurrentLanguage;
    LanguageSwitch vSwitch(*this, asLocale);
    QStringList vcRecords;
    if (!DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
             .parallelParagraphs(asDateInfo, asTranslator, asLocale == QLatin1String("en"),
                                 &vcRecords))
        return;
    for (const QString &vsRecord : qAsConst(vcRecords))
        emit foundOtherParagraph(apTab, vsRecord);
    emit translationReady(apTab);
    emit foundAllArticles(apTab);
}

void Database::openBibleAddLanguage(QString asLocale, TabArea *apTab, QString asDateInfo,
                                    QString asChapterInfo)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    // The page's book and chapter are in the numbering of the page's own
    // language, which may no longer be the current one.
    const QString vsFrom = languageOf(apTab);
    msPreviousLanguage = msCurrentLanguage.isEmpty() ? asLocale : msCurrentLanguage;
    LanguageSwitch vSwitch(*this, asLocale);

    int vnBook = 0;
    QVector<int> vcChapters;
    if (!PsalmTable::parallelPlace(mcPsalms, asDateInfo, asChapterInfo, vsFrom, asLocale, &vnBook,
                                   &vcChapters)) {
        qDebug() << "No parallel text for book" << asDateInfo << "chapter" << asChapterInfo
                 << "from" << vsFrom << "to" << asLocale;
        return;
    }
    QVector<DocumentReader::ParallelVerse> vcVerses;
    if (!DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
             .parallelChapters(vnBook, vcChapters, &vcVerses))
        return;
    for (const DocumentReader::ParallelVerse &vVerse : qAsConst(vcVerses))
        emit foundOtherChapter(apTab, vVerse.msName, vVerse.msVerse, vVerse.msText,
                               vVerse.msChapter);
    emit translationReady(apTab);
    emit foundAllArticles(apTab);
}

void Database::setTranslatorList(const QString &asLocale, TabArea *apTab, const QString &asDateInfo,
                                 QObject *apLanguageAction)
{
    Lock vLock(*this);
    mpCurrentPage = apTab;
    msPreviousLanguage = msCurrentLanguage.isEmpty() ? asLocale : msCurrentLanguage;
    LanguageSwitch vSwitch(*this, asLocale);
    QStringList vcTranslators;
    if (DocumentReader(queryFactory(), mpConnection->hasDocumentIndexes())
            .translators(asDateInfo, &vcTranslators))
        emit translatorListReady(vcTranslators, apLanguageAction);
}

Database::ImportReport Database::importUpdateFiles()
{
    Lock vLock(*this);
    qDebug() << "has transactions" << mpConnection->hasTransactions();
    const ImportReport vReport = UpdateImport::importFolder(
        mEnvironment.importFolder(),
        [this](const QString &asLanguage) {
            changeLanguage(asLanguage);
            return UpdateImport(mpConnection->database(), queryFactory(),
                                mpConnection->hasTransactions(),
                                mpConnection->hasDocumentIndexes());
        },
        [this](int anFile, int anFiles) {
            if (anFile == 1)
                emit importStarted();
            emit totalUpdated(anFile, anFiles);
        },
        [this](qint64 anDone, qint64 anTotal) { emit currentUpdated(anDone, anTotal); });
    if (!vReport.mcImported.isEmpty())
        mEnvironment.noteDatabaseUpdated();
    return vReport;
}

void Database::importSql()
{
    const ImportReport vReport = importUpdateFiles();
    emit importCompleted(vReport.mcImported.size(), vReport.mcSetAside.size());
    emit importFinished();
}

void Database::processPendingEvents()
{
    QCoreApplication::processEvents();
}
