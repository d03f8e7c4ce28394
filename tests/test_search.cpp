// Searching sermons and the Bible through the data store: the condition texts
// of the options, hits and counts with and without further translations and
// restrictions, texts that try to leave their string literal, a failing
// search, searches from both threads, and the indexed statements returning
// exactly the rows of the plain ones.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/searchstatements.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace {

TabArea *fakePage(quintptr anId)
{
    // Pages are only passed through and never touched by the data store.
    return reinterpret_cast<TabArea *>(anId);
}

QMap<QString, QVariant> settings(bool abShowDuplicates = true)
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},  {"DBLang1", "ru"},
            {"ParagraphCount", 20}, {"VersesCount", 20}, {"ShowDuplicates", abShowDuplicates}};
}

QString quote(const QString &asValue)
{
    return "'" + QString(asValue).replace("'", "''") + "'";
}

QStringList sermon(const QString &asDate, const QString &asName, const QString &asTranslator,
                   const QString &asPlace, const QStringList &acParagraphs)
{
    QStringList vcStatements{
        QString("INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) VALUES "
                "(%1, %2, %3, 'a.pdf', 'a.mp3', '1:02', %4);")
            .arg(quote(asDate), quote(asName), quote(asTranslator), quote(asPlace))};
    for (int i = 0; i < acParagraphs.size(); ++i)
        vcStatements << QString("INSERT INTO paragraphs (id, date, text) VALUES (%1, %2, %3);")
                            .arg(quote(QString("E-%1").arg(i + 1)), quote(asDate),
                                 quote(acParagraphs.at(i)));
    return vcStatements;
}

// Rowid 1 and 2 are two translations of one sermon, rowid 3 has apostrophes
// in its date and no place, rowid 4 holds literal text. The chapters (rowids
// 1 to 3) are Genesis 1 and 2 and Exodus 1, "свет" in their odd verses.
QStringList corpus()
{
    QStringList vcStatements =
        sermon("63-0317", "Первая", "Иванов", "Town",
               {"Вера и дело.", "Только слово.", "вера без дел мертва."}) +
        sermon("63-0317 *", "Первая", "Петров", "Town", {"Вера и дело снова."}) +
        sermon("64'0101", "L'aube", "D'Arc", "", {"L'homme de foi.", "вера"}) +
        sermon("60-0101", "N", "T", "P", {"Вера тут.", "вера тут.", "l'homme d'esprit", "5%2"});
    vcStatements << "INSERT INTO bibles (book, name) VALUES (1, 'Бытие'), (2, 'Исход');"
                 << "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'x'), (1, 2, 'x'), "
                    "(2, 1, 'x');";
    for (const char *vsChapter : {"1, 1", "1, 2", "2, 1"})
        for (int vnVerse = 1; vnVerse <= 4; ++vnVerse)
            vcStatements << QString(
                                "INSERT INTO verses (book, chapter, verse, text) VALUES (%1, %2, "
                                "'%3');")
                                .arg(vsChapter)
                                .arg(vnVerse)
                                .arg(vnVerse % 2 ? "И был свет." : "Тьма.");
    return vcStatements;
}

// What a page receives, whichever thread the search ran on: the events in
// order, and the hits.
class Recorder : public QObject
{
public:
    explicit Recorder(Database *apDatabase)
    {
        connect(apDatabase, &Database::searchModeStarting, this,
                [this](bool abYes) { mcEvents << (abYes ? "start" : "end"); });
        connect(
            apDatabase, &Database::addSearchMessage, this,
            [this](TabArea *, QString asTitle, QString asNumber, QString asText, QString asDate) {
                mcHits << QStringList{asTitle, asNumber, asText, asDate}.join(" | ");
                mcKeys << asDate + "/" + asNumber;
            });
        connect(apDatabase, &Database::addSearchBible, this,
                [this](TabArea *, QString asTitle, QString asNumber, QString asText, QString asBook,
                       QString asChapter) {
                    mcHits << QStringList{asTitle, asNumber, asText, asBook, asChapter}.join(" | ");
                    mcKeys << asTitle;
                });
        connect(apDatabase, &Database::finishSearchArticles, this,
                [this](TabArea *, QString asText, AdvancedSearchFlags aFlags, int anSize) {
                    mcEvents << QString("finish %1 %2 %3").arg(asText).arg(int(aFlags)).arg(anSize);
                });
        connect(apDatabase, &Database::setFoundPagesCount, this,
                [this](TabArea *apTab, int anCount) {
                    mcEvents << QString("count %1").arg(anCount);
                    mcCounted << qMakePair(apTab, anCount);
                });
    }
    QStringList mcEvents;
    QStringList mcHits, mcKeys; // a sermon hit's key is "date/number", a verse's its place
    QList<QPair<TabArea *, int>> mcCounted;
};

// A corpus with the cases the joins have to get right: further translations,
// a sermon date that two sermon records share (rowids 2 and 8), paragraphs
// without a date or without a sermon record, and in the Bible a book with two
// names, a chapter recorded twice, and verses of chapters without a record.
QStringList comparisonCorpus()
{
    const QStringList vcWords{"и", "вера", "слово", "и", "свет", "Вера", "мир", "l'eau", "дело"};
    int vnWord = 0;
    auto text = [&] {
        QStringList vcText;
        for (int i = 3 + vnWord % 8; i > 0; --i)
            vcText << vcWords.at(vnWord++ * 7 % vcWords.size());
        return vcText.join(' ');
    };
    QStringList vcStatements;
    const QStringList vcDates{"60-0101", "60-0202",   "61-0303",   "62-0404",
                              "63-0505", "60-0101 *", "61-0303 *", "60-0202"};
    for (int vnSermon = 0; vnSermon < vcDates.size(); ++vnSermon) {
        QStringList vcParagraphs;
        // The second record of 60-0202 brings no paragraphs of its own.
        for (int i = 0; i < (vnSermon == 7 ? 0 : 12); ++i)
            vcParagraphs << text();
        vcStatements << sermon(vcDates.at(vnSermon), "N", "T", "P", vcParagraphs);
    }
    vcStatements
        << "INSERT INTO paragraphs (id, date, text) VALUES ('E-1', NULL, 'и вера'), ('E-1', "
           "'99-9999 *', 'и слово');"
        << "INSERT INTO bibles (book, name) VALUES (1, 'Бытие'), (2, 'Исход'), (2, 'Исход II');"
        << "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'x'), (1, 2, 'x'), (2, 1, "
           "'x'), (2, 1, 'x');";
    for (const char *vsChapter : {"1, 1", "1, 2", "2, 1", "3, 1", "1, 3"})
        for (int vnVerse = 1; vnVerse <= 6; ++vnVerse)
            vcStatements << QString(
                                "INSERT INTO verses (book, chapter, verse, text) VALUES (%1, %2, "
                                "%3);")
                                .arg(vsChapter)
                                .arg(vnVerse)
                                .arg(quote(text()));
    return vcStatements;
}

QStringList rows(QSqlDatabase aConnection, const QString &asStatement)
{
    QStringList vcRows;
    QSqlQuery vQuery(aConnection);
    if (!vQuery.exec(asStatement))
        return {"failed: " + vQuery.lastError().text() + " in " + asStatement};
    while (vQuery.next()) {
        QStringList vcColumns;
        for (int i = 0; i < vQuery.record().count(); ++i)
            vcColumns << (vQuery.isNull(i) ? "NULL" : vQuery.value(i).toString());
        vcRows << vcColumns.join(" | ");
    }
    return vcRows;
}

Database *filledDatabase(const QStringList &acStatements)
{
    Application::sharedOptions();
    Database *vpDatabase = Application::database();
    if (!vpDatabase->execQuery(acStatements))
        qWarning("could not fill the test database");
    return vpDatabase;
}

// A row of a data table through the indexed statements or the plain ones.
QTestData &row(const QString &asName, bool abPlain)
{
    return QTest::newRow(qPrintable(asName + (abPlain ? ", plain" : ""))) << abPlain;
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void conditionTexts_data();
    void conditionTexts();
    void restrictionLists();
    void hitsAndCounts_data();
    void hitsAndCounts();
    void failedStatementsStillFinish();
    void searchesFromBothThreads();
    void indexedStatementsGiveThePlainRows_data();
    void indexedStatementsGiveThePlainRows();
};

void TestSearch::conditionTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    // The option promises hits with at least one of the words.
    QTest::newRow("two words, any word") << "свет  тьма" << 8 << "свет* OR тьма*";
    QTest::newRow("two words, case-sensitive") << "Bb Cc" << 1 << "%Bb%' AND text LIKE '%Cc%";
    QTest::newRow("two bits count as none") << "a b" << 3 << "a* b*";
    // An undoubled apostrophe used to end the statement's string literal.
    QTest::newRow("lone apostrophe") << "l'homme" << 2 << "l''homme";
    QTest::newRow("apostrophes at the ends") << "'a'''" << 2 << "''a''''";
    // A NUL cut the statement short; other control characters have no business there either.
    QTest::newRow("control characters") << QString("a") + QChar(0) + "b\tc\x1b" << 0 << "abc*";
}

void TestSearch::conditionTexts()
{
    QFETCH(QString, text);
    QFETCH(int, flags);
    QTEST(SearchStatements::condition(text, AdvancedSearchFlags(flags)), "expected");
}

void TestSearch::restrictionLists()
{
    // Only a list of keys passes, tidied; anything more restricts to nothing.
    const QList<QPair<QString, QString>> vcCases{
        {"", ""}, {" ( 12 , 57 ) ", "(12,57)"}, {"1,2", "(NULL)"}, {"(1) OR 1=1", "(NULL)"}};
    for (const auto &vCase : vcCases)
        QCOMPARE(SearchStatements::restrictionList(vCase.first), vCase.second);
}

void TestSearch::hitsAndCounts_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<bool>("bible");
    QTest::addColumn<bool>("showDuplicates");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    // Sermon hits as "date/number", Bible ones by place, or whole hits as "field | field".
    QTest::addColumn<QStringList>("expected");
    auto add = [](const QString &asName, bool abPlain, bool abBible, bool abShowDuplicates,
                  const QString &asRestriction, const QString &asText, int anFlags,
                  const QStringList &acExpected) {
        row(asName, abPlain) << abBible << abShowDuplicates << asRestriction << asText << anFlags
                             << acExpected;
    };

    const QString vs1 = "63-0317/1", vs3 = "63-0317/3", vsAgain = "63-0317 */1",
                  vsAube = "64'0101/2", vsFoi = "64'0101/1", vsHomme = "60-0101/3";
    const QString vsMark = "<span style='background-color: yellow;'>вера</span>";
    const QString vsFirst = "Первая, 1963-0317, Иванов (Town) | ";
    // The plain statements (for files whose content tables take no indexes)
    // once for each kind of statement they build, the indexed ones for all.
    for (const bool p : {false, true}) {
        add("duplicates hidden", p, false, false, "", "вера", 0,
            {vs1, vs3, vsAube, "60-0101/1", "60-0101/2"});
        add("restricted, duplicates included", p, false, false, "(1,2)", "вера", 0,
            {vs1, vs3, vsAgain});
        // Placeholders were filled one after the other, so a "%2" in the text
        // became the page size.
        add("placeholder in the text", p, false, true, "", "5%2", 1, {"60-0101/4"});
        // The whole hits: a title from the sermon's record (whose date may
        // hold an apostrophe; an empty place still gives its parentheses),
        // the words marked, the date; a verse's book and chapter.
        add("restricted, whole hits", p, false, true, "(1,3)", "вера", 0,
            {vsFirst + "1 | Вера и дело. | 63-0317",
             vsFirst + "3 | " + vsMark + " без дел мертва. | 63-0317",
             "L'aube, 1964'0101, D'Arc () | 2 | " + vsMark + " | 64'0101"});
        add("Bible, restricted", p, true, true, "(2)", "свет", 0,
            {"Бытие 2:1 | 1 | И был свет. | 1 | 2", "Бытие 2:3 | 3 | И был свет. | 1 | 2"});
    }
    add("duplicates shown", false, false, true, "", "вера", 0,
        {vs1, vs3, vsAgain, vsAube, "60-0101/1", "60-0101/2"});
    add("restriction not a list of keys", false, false, true, "(1) OR 1=1", "вера", 0, {});
    // A restricted Bible search lists what it counts.
    add("Bible, restricted, LIKE", false, true, true, "(1,3)", "свет", 1,
        {"Бытие 1:1", "Бытие 1:3", "Исход 1:1", "Исход 1:3"});

    // Texts stay inside their string literal.
    add("lone apostrophe", false, false, true, "", "l'homme", 0, {vsFoi, vsHomme});
    add("statement in the text", false, false, true, "", "x'' OR 1=1 OR text LIKE ''%", 1, {});
    add("control character", false, false, true, "", QString("l''hom") + QChar(1) + "me", 1,
        {vsHomme});
}

void TestSearch::hitsAndCounts()
{
    QFETCH(bool, plain);
    QFETCH(bool, bible);
    QFETCH(bool, showDuplicates);
    QFETCH(QString, restriction);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QStringList, expected);
    // The indexes kept away from the file for the plain statements.
    SearchStatements::setIndexesAllowed(!plain);
    const auto vRestore = qScopeGuard([] { SearchStatements::setIndexesAllowed(true); });
    TempAppDir vApp(settings(showDuplicates));
    LogCapture vLog;
    Database *vpDatabase = filledDatabase(corpus());
    Recorder vRecorder(vpDatabase);
    if (bible)
        vpDatabase->searchBible(fakePage(1), text, restriction, AdvancedSearchFlags(flags), 0, 100);
    else
        vpDatabase->searchMessages(fakePage(1), text, restriction, AdvancedSearchFlags(flags), 0,
                                   100);
    QCOMPARE(expected.value(0).contains(" | ") ? vRecorder.mcHits : vRecorder.mcKeys, expected);
    // What is listed is what is counted, once.
    QCOMPARE(vRecorder.mcCounted, (QList<QPair<TabArea *, int>>{{fakePage(1), expected.size()}}));
    QCOMPARE(vRecorder.mcEvents.last(), QString("end"));
    QVERIFY(vLog.linesContaining("SQL Error").isEmpty());
}

void TestSearch::failedStatementsStillFinish()
{
    TempAppDir vApp(settings());
    Database *vpDatabase = filledDatabase(corpus());
    LogCapture vLog;
    BoxRecorder vBoxes;
    Recorder vRecorder(vpDatabase);
    // Not a valid full-text query: the page and the count fail alike.
    vpDatabase->searchMessages(fakePage(1), "(", QString(), AdvancedSearchFlags(WholeWords), 0, 20);
    QCOMPARE(vRecorder.mcEvents, (QStringList{"start", "finish ( 2 20", "count 0", "end"}));
    QCOMPARE(vLog.linesContaining("SQL Error").size(), 2);
    QTRY_COMPARE(vBoxes.count(), 2);
}

void TestSearch::searchesFromBothThreads()
{
    TempAppDir vApp(settings()); // six hits of "вера"
    Database *vpDatabase = filledDatabase(corpus());
    QVERIFY(vpDatabase->thread() != QThread::currentThread());
    LogCapture vLog;
    Recorder vRecorder(vpDatabase);
    const int vnSearches = 20;
    for (int i = 0; i < vnSearches; ++i) {
        // A first request, queued as the search line sends it, runs on the
        // worker thread ...
        QMetaObject::invokeMethod(vpDatabase, [vpDatabase, i] {
            vpDatabase->searchMessages(fakePage(100 + i), "вера", QString(), AdvancedSearchFlags(),
                                       0, 3);
        });
        // ... while a page asks for its next page from the GUI thread.
        vpDatabase->searchMessages(fakePage(1), "вера", QString(), AdvancedSearchFlags(), 3, 3, 6);
    }
    QTRY_COMPARE_WITH_TIMEOUT(vRecorder.mcCounted.size(), vnSearches, 60000);
    for (int i = 0; i < vnSearches; ++i)
        QVERIFY(vRecorder.mcCounted.contains(qMakePair(fakePage(100 + i), 6)));
    QCOMPARE(vRecorder.mcHits.size(), 6 * vnSearches);
    for (const char *vpProblem : {"SQL Error", "thread", "without the data store's lock"})
        QVERIFY2(vLog.linesContaining(vpProblem).isEmpty(), vpProblem);
}

void TestSearch::indexedStatementsGiveThePlainRows_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<bool>("hideDuplicates");
    QTest::addColumn<int>("offset"); // of a page of seven
    QTest::newRow("duplicates hidden, a later page") << false << "и" << 0 << "" << true << 28;
    QTest::newRow("LIKE, duplicates hidden") << false << "Вера и" << 1 << "" << true << 0;
    // Rowids 2 and 8 share the date 60-0202; 6 is a further translation.
    QTest::newRow("restricted to both records of a date")
        << false << "и" << 0 << "(8,2,6)" << false << 7;
    QTest::newRow("restricted to one record of a date") << false << "и" << 0 << "(2)" << false << 7;
    QTest::newRow("restricted, LIKE") << false << "и" << 1 << "(2,8,5)" << false << 0;
    QTest::newRow("Bible, a later page") << true << "и" << 0 << "" << false << 7;
    QTest::newRow("Bible, restricted to a chapter recorded twice")
        << true << "и" << 0 << "(3,4)" << false << 0;
    QTest::newRow("Bible, restricted, LIKE") << true << "и" << 1 << "(1,4)" << false << 0;
}

void TestSearch::indexedStatementsGiveThePlainRows()
{
    QFETCH(bool, bible);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, restriction);
    QFETCH(bool, hideDuplicates);
    QFETCH(int, offset);
    TempAppDir vApp(settings());
    filledDatabase(comparisonCorpus());
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "compare");
        vConnection.setDatabaseName(Application::databaseFilePath());
        QVERIFY(vConnection.open());
        QVERIFY(SearchStatements::ensureIndexes(vConnection));

        SearchStatements::Search vSearch;
        vSearch.condition = SearchStatements::condition(text, AdvancedSearchFlags(flags));
        vSearch.like = SearchStatements::isLikeSearch(AdvancedSearchFlags(flags));
        vSearch.restriction = restriction;
        vSearch.hideDuplicates = hideDuplicates;
        const auto vPage = bible ? &SearchStatements::biblePage : &SearchStatements::sermonPage;
        const auto vCount = bible ? &SearchStatements::bibleCount : &SearchStatements::sermonCount;

        // The same rows in the same order, paged alike and counted alike.
        const QStringList vcAll = rows(vConnection, vPage(false, vSearch, 100000, 0));
        QVERIFY(vcAll.size() > offset + 1);
        QCOMPARE(rows(vConnection, vPage(true, vSearch, 100000, 0)), vcAll);
        for (const bool vbIndexed : {false, true}) {
            QCOMPARE(rows(vConnection, vPage(vbIndexed, vSearch, 7, offset)), vcAll.mid(offset, 7));
            QCOMPARE(rows(vConnection, vCount(vbIndexed, vSearch)),
                     QStringList{QString::number(vcAll.size())});
        }

        // The full-text index is the only thing read from start to end.
        if (!vSearch.like) {
            for (const QString &vsStatement :
                 {vPage(true, vSearch, 7, offset), vCount(true, vSearch)}) {
                for (const QString &vsStep :
                     rows(vConnection, "EXPLAIN QUERY PLAN " + vsStatement)) {
                    const QString vsDetail = vsStep.section(" | ", 3);
                    QVERIFY2(!vsDetail.contains("TEMP B-TREE") &&
                                 (!vsDetail.startsWith("SCAN") ||
                                  (vsDetail.contains("VIRTUAL TABLE INDEX") &&
                                   !vsDetail.contains("INDEX 0:"))),
                             qPrintable(vsDetail));
                }
            }
        }
    }
    QSqlDatabase::removeDatabase("compare");
}

QUILLMARK_TEST_MAIN(TestSearch)
#include "test_search.moc"
