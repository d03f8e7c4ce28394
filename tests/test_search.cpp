// Searching sermons and the Bible through the data store: the condition texts
// of every option, pages and counts with and without further translations and
// restrictions, the signals a page receives, case-sensitive LIKE, texts that
// try to leave their string literal, searches from both threads, and the
// indexed statements returning exactly the rows of the plain ones.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/searchstatements.h"

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
// in its date and no place.
QStringList smallCorpus()
{
    return sermon("63-0317", "Первая", "Иванов", "Town",
                  {"Вера и дело.", "Только слово.", "вера без дел мертва."}) +
           sermon("63-0317 *", "Первая", "Петров", "Town", {"Вера и дело снова."}) +
           sermon("64'0101", "L'aube", "D'Arc", "", {"L'homme de foi.", "вера"});
}

QStringList bibleCorpus()
{
    QStringList vcStatements{"INSERT INTO bibles (book, name) VALUES (1, 'Бытие');",
                             "INSERT INTO bibles (book, name) VALUES (2, 'Исход');"};
    const QList<QPair<int, int>> vcChapters{{1, 1}, {1, 2}, {2, 1}};
    for (const auto &vChapter : vcChapters) {
        vcStatements << QString("INSERT INTO chapters (book, chapter, name) VALUES (%1, %2, 'x');")
                            .arg(vChapter.first)
                            .arg(vChapter.second);
        for (int vnVerse = 1; vnVerse <= 4; ++vnVerse)
            vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES (%1, "
                                    "%2, %3, '%4');")
                                .arg(vChapter.first)
                                .arg(vChapter.second)
                                .arg(vnVerse)
                                .arg(vnVerse % 2 ? "И был свет." : "Тьма.");
    }
    return vcStatements;
}

// What a page receives, in order, whichever thread the search ran on.
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
                mcEvents << "hit";
                mcHits << QStringList{asTitle, asNumber, asText, asDate}.join(" | ");
            });
        connect(apDatabase, &Database::addSearchBible, this,
                [this](TabArea *, QString asTitle, QString asNumber, QString asText, QString asBook,
                       QString asChapter) {
                    mcEvents << "hit";
                    mcHits << QStringList{asTitle, asNumber, asText, asBook, asChapter}.join(" | ");
                });
        connect(apDatabase, &Database::finishSearchArticles, this,
                [this](TabArea *, QString asText, AdvancedSearchFlags aFlags, int anSize) {
                    mcEvents << QString("finish %1 %2 %3").arg(asText).arg(int(aFlags)).arg(anSize);
                });
        connect(apDatabase, &Database::setNavigationParams, this,
                [this](TabArea *, int anPages) { mcEvents << QString("pages %1").arg(anPages); });
        connect(apDatabase, &Database::setFoundPagesCount, this,
                [this](TabArea *apTab, int anCount) {
                    mcEvents << QString("count %1").arg(anCount);
                    mcCounted << qMakePair(apTab, anCount);
                });
    }
    // The events without the hits.
    QStringList outline() const
    {
        QStringList vcResult;
        for (const QString &vsEvent : mcEvents)
            if (vsEvent != "hit")
                vcResult << vsEvent;
        return vcResult;
    }
    int hitCount() const { return mcHits.size(); }
    QStringList mcEvents;
    QStringList mcHits;
    QList<QPair<TabArea *, int>> mcCounted;
};

QStringList hitNumbers(const Recorder &aRecorder)
{
    QStringList vcResult;
    for (const QString &vsHit : aRecorder.mcHits)
        vcResult << vsHit.section(" | ", 3, 3) + "/" + vsHit.section(" | ", 1, 1);
    return vcResult;
}

QStringList rows(QSqlDatabase aConnection, const QString &asStatement);

Database *filledDatabase(const QStringList &acStatements)
{
    Application::sharedOptions();
    Database *vpDatabase = Application::database();
    if (!vpDatabase->execQuery(acStatements))
        qWarning("could not fill the test database");
    return vpDatabase;
}

// Each case of a data table once through the indexed statements and once
// through the plain ones (the indexes kept away from the file).
QTestData &row(const QString &asName, bool abPlain)
{
    return QTest::newRow(qPrintable(asName + (abPlain ? ", plain" : ""))) << abPlain;
}

class PlainStatements
{
public:
    explicit PlainStatements(bool abPlain) { SearchStatements::setIndexesAllowed(!abPlain); }
    ~PlainStatements() { SearchStatements::setIndexesAllowed(true); }
};

// Sends first requests the way the search line does.
class SearchLine : public QObject
{
    Q_OBJECT

signals:
    void searchMessages(TabArea *apTab, QString asText, QString asDates, AdvancedSearchFlags aFlags,
                        int anOffset, int anParagraphsOnPage);
};

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void conditionTexts_data();
    void conditionTexts();
    void restrictionLists_data();
    void restrictionLists();
    void sermonHitsAndCounts_data();
    void sermonHitsAndCounts();
    void pageArithmetic_data();
    void pageArithmetic();
    void pageSizeFromTheOptions();
    void laterPageKeepsItsKnownCount();
    void sermonHitTitles_data();
    void sermonHitTitles();
    void bibleHitTitles();
    void restrictedBibleListsWhatItCounts_data();
    void restrictedBibleListsWhatItCounts();
    void caseSensitiveLike_data();
    void caseSensitiveLike();
    void everyConnectionLikesCase();
    void textsStayInsideTheirLiteral_data();
    void textsStayInsideTheirLiteral();
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
    QTest::newRow("one word") << "слово" << 0 << "слово*";
    QTest::newRow("one word, any word") << "слово" << 8 << "слово*";
    // The option promises hits with at least one of the words.
    QTest::newRow("two words, any word") << "свет  тьма" << 8 << "свет* OR тьма*";
    QTest::newRow("two words, case-sensitive") << "Bb Cc" << 1 << "%Bb%' AND text LIKE '%Cc%";
    QTest::newRow("phrase, blanks included") << "a  b" << 4 << "\"a  b\"";
    QTest::newRow("whole words unchanged") << "a b" << 2 << "a b";
    QTest::newRow("two bits count as none") << "a b" << 3 << "a* b*";
    QTest::newRow("regular expression counts as none") << "a" << 16 << "a*";
    QTest::newRow("double blank, full-text") << "a  b" << 0 << "a* * b*";
    QTest::newRow("double blank, LIKE")
        << "a  b" << 1 << "%a%' AND text LIKE '%%' AND text LIKE '%b%";
    QTest::newRow("doubled apostrophes") << "l''homme d''or" << 0 << "l''homme* d''or*";
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
    QFETCH(QString, expected);
    TempAppDir vApp(settings());
    Database vDatabase("ru", *Application::storeEnvironment());
    QCOMPARE(vDatabase.searchConditions(text, AdvancedSearchFlags(flags)), expected);
    QCOMPARE(int(vDatabase.lastSearchFlags()), flags);
}

void TestSearch::restrictionLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("keys") << " ( 12 , 57 ) "
                          << "(12,57)";
    QTest::newRow("one key") << "(3)"
                             << "(3)";
    QTest::newRow("more than keys") << "(1) OR 1=1"
                                    << "(NULL)";
    QTest::newRow("not a list") << "1,2"
                                << "(NULL)";
    QTest::newRow("empty list") << "()"
                                << "(NULL)";
}

void TestSearch::restrictionLists()
{
    QFETCH(QString, list);
    QFETCH(QString, expected);
    QCOMPARE(SearchStatements::restrictionList(list), expected);
}

void TestSearch::sermonHitsAndCounts_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<bool>("showDuplicates");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("expected");
    const QStringList vcAll{"63-0317/1", "63-0317/3", "63-0317 */1", "64'0101/2"};
    for (const bool vbPlain : {false, true}) {
        row("duplicates shown", vbPlain) << true << "" << 0 << vcAll;
        row("duplicates hidden", vbPlain)
            << false << "" << 0 << QStringList{"63-0317/1", "63-0317/3", "64'0101/2"};
        row("duplicates hidden, LIKE", vbPlain)
            << false << "" << 1 << QStringList{"63-0317/3", "64'0101/2"};
        row("restricted to a further translation", vbPlain)
            << false << "(2)" << 0 << QStringList{"63-0317 */1"};
        row("restricted, duplicates included", vbPlain)
            << false << "(1,2)" << 0 << QStringList{"63-0317/1", "63-0317/3", "63-0317 */1"};
        row("restricted, LIKE", vbPlain)
            << true << "(1,3)" << 1 << QStringList{"63-0317/3", "64'0101/2"};
        row("restricted to nothing known", vbPlain) << true << "(99)" << 0 << QStringList{};
    }
}

void TestSearch::sermonHitsAndCounts()
{
    QFETCH(bool, plain);
    QFETCH(bool, showDuplicates);
    QFETCH(QString, restriction);
    QFETCH(int, flags);
    QFETCH(QStringList, expected);
    PlainStatements vPlain(plain);
    TempAppDir vApp(settings(showDuplicates));
    Database *vpDatabase = filledDatabase(smallCorpus());
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "вера", restriction, AdvancedSearchFlags(flags), 0, 20);
    QCOMPARE(hitNumbers(vRecorder), expected);
    QCOMPARE(vRecorder.mcEvents.last(), QString("end"));
    QVERIFY(vRecorder.mcEvents.contains(QString("count %1").arg(expected.size())));
    QCOMPARE(vpDatabase->lastSearchDates(), restriction);
    QCOMPARE(int(vpDatabase->lastSearchFlags()), flags);
}

void TestSearch::pageArithmetic_data()
{
    QTest::addColumn<int>("hits");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("45 hits, 3 pages")
        << 45 << QStringList{"start", "finish слово 0 20", "pages 3", "count 45", "end"};
    QTest::newRow("40 hits, 2 pages")
        << 40 << QStringList{"start", "finish слово 0 20", "pages 2", "count 40", "end"};
    QTest::newRow("no hits, both signals")
        << 0 << QStringList{"start", "finish слово 0 20", "pages 0", "count 0", "end"};
}

void TestSearch::pageArithmetic()
{
    QFETCH(int, hits);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    QStringList vcParagraphs;
    for (int i = 0; i < hits; ++i)
        vcParagraphs << QString("слово номер %1").arg(i);
    vcParagraphs << "другое";
    Database *vpDatabase = filledDatabase(sermon("60-0101", "N", "T", "P", vcParagraphs));
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "слово", QString(), AdvancedSearchFlags(), 0, 20);
    QCOMPARE(vRecorder.outline(), expected);
    QCOMPARE(vRecorder.hitCount(), qMin(hits, 20));
    // The events leave in this order: hits only between start and finish.
    QCOMPARE(vRecorder.mcEvents.first(), QString("start"));
    QCOMPARE(vRecorder.mcEvents.indexOf(QRegularExpression("finish.*")), vRecorder.hitCount() + 1);
}

void TestSearch::pageSizeFromTheOptions()
{
    TempAppDir vApp(settings());
    vApp.writeSettings({{"ParagraphCount", 7}, {"VersesCount", 4}});
    QStringList vcParagraphs;
    for (int i = 0; i < 45; ++i)
        vcParagraphs << QString("слово %1").arg(i);
    Database *vpDatabase =
        filledDatabase(sermon("60-0101", "N", "T", "P", vcParagraphs) + bibleCorpus());
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "слово", QString(), AdvancedSearchFlags(), 0, -1);
    QCOMPARE(vRecorder.hitCount(), 7);
    QCOMPARE(vRecorder.outline(),
             (QStringList{"start", "finish слово 0 -1", "pages 7", "count 45", "end"}));

    Recorder vBible(vpDatabase);
    vpDatabase->searchBible(fakePage(2), "свет", QString(), AdvancedSearchFlags(), 0, -1);
    QCOMPARE(vBible.hitCount(), 4);
    QCOMPARE(vBible.outline(),
             (QStringList{"start", "finish свет 0 -1", "pages 2", "count 6", "end"}));
}

void TestSearch::laterPageKeepsItsKnownCount()
{
    TempAppDir vApp(settings());
    QStringList vcParagraphs;
    for (int i = 0; i < 45; ++i)
        vcParagraphs << QString("слово %1").arg(i);
    Database *vpDatabase = filledDatabase(sermon("60-0101", "N", "T", "P", vcParagraphs));
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "слово", QString(), AdvancedSearchFlags(), 40, 20, 45);
    QCOMPARE(vRecorder.outline(), (QStringList{"start", "finish слово 0 20", "end"}));
    QCOMPARE(vRecorder.hitCount(), 5);
    QCOMPARE(vRecorder.mcHits.first().section(" | ", 1, 1), QString("41"));
    // A page that does not know its count yet has it counted.
    Recorder vUnknown(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "слово", QString(), AdvancedSearchFlags(), 20, 20, -1);
    QCOMPARE(vUnknown.outline(),
             (QStringList{"start", "finish слово 0 20", "pages 3", "count 45", "end"}));
}

void TestSearch::sermonHitTitles_data()
{
    QTest::addColumn<bool>("plain");
    row("titles", false);
    row("titles", true);
}

void TestSearch::sermonHitTitles()
{
    QFETCH(bool, plain);
    PlainStatements vPlain(plain);
    TempAppDir vApp(settings());
    LogCapture vLog;
    Database *vpDatabase = filledDatabase(smallCorpus());
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), "вера", "(1,3)", AdvancedSearchFlags(), 0, 20);
    const QString vsMark = "<span style='background-color: yellow;'>вера</span>";
    // The detail of a sermon whose date holds an apostrophe is found too; an
    // empty place still gives its parentheses.
    QCOMPARE(vRecorder.mcHits,
             (QStringList{"Первая, 1963-0317, Иванов (Town) | 1 | Вера и дело. | 63-0317",
                          "Первая, 1963-0317, Иванов (Town) | 3 | " + vsMark +
                              " без дел мертва. | 63-0317",
                          "L'aube, 1964'0101, D'Arc () | 2 | " + vsMark + " | 64'0101"}));
    QVERIFY(vLog.linesContaining("SQL Error").isEmpty());
}

void TestSearch::bibleHitTitles()
{
    TempAppDir vApp(settings());
    Database *vpDatabase = filledDatabase(bibleCorpus());
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchBible(fakePage(1), "свет", QString(), AdvancedSearchFlags(), 0, 3);
    QCOMPARE(vRecorder.mcHits, (QStringList{"Бытие 1:1 | 1 | И был свет. | 1 | 1",
                                            "Бытие 1:3 | 3 | И был свет. | 1 | 1",
                                            "Бытие 2:1 | 1 | И был свет. | 1 | 2"}));
    QCOMPARE(vRecorder.outline(),
             (QStringList{"start", "finish свет 0 3", "pages 2", "count 6", "end"}));
}

void TestSearch::restrictedBibleListsWhatItCounts_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("text");
    for (const bool vbPlain : {false, true})
        for (const int vnFlags : {0, 1, 2, 3, 4, 8, 16})
            row(QString("flags %1").arg(vnFlags), vbPlain) << vnFlags << "свет";
}

void TestSearch::restrictedBibleListsWhatItCounts()
{
    QFETCH(bool, plain);
    QFETCH(int, flags);
    QFETCH(QString, text);
    PlainStatements vPlain(plain);
    TempAppDir vApp(settings());
    Database *vpDatabase = filledDatabase(bibleCorpus());
    Recorder vRecorder(vpDatabase);
    // Chapters are keyed by rowid: Genesis 1 and Exodus 1.
    vpDatabase->searchBible(fakePage(1), text, "(1,3)", AdvancedSearchFlags(flags), 0, 100);
    QStringList vcPlaces;
    for (const QString &vsHit : qAsConst(vRecorder.mcHits))
        vcPlaces << vsHit.section(" | ", 0, 0);
    QCOMPARE(vcPlaces, (QStringList{"Бытие 1:1", "Бытие 1:3", "Исход 1:1", "Исход 1:3"}));
    QCOMPARE(vRecorder.mcCounted.size(), 1);
    QCOMPARE(vRecorder.mcCounted.first().second, 4);
}

void TestSearch::caseSensitiveLike_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("expected");
    for (const bool vbPlain : {false, true}) {
        row("Latin lower case", vbPlain) << "faith" << 1 << QStringList{"60-0101/2"};
        row("Latin capital", vbPlain) << "Faith" << 1 << QStringList{"60-0101/1"};
        row("Cyrillic lower case", vbPlain) << "вера" << 1 << QStringList{"60-0101/4"};
        row("Cyrillic capital", vbPlain) << "Вера" << 1 << QStringList{"60-0101/3"};
        row("full-text ignores case", vbPlain)
            << "faith" << 0 << QStringList{"60-0101/1", "60-0101/2"};
    }
}

void TestSearch::caseSensitiveLike()
{
    QFETCH(bool, plain);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QStringList, expected);
    PlainStatements vPlain(plain);
    TempAppDir vApp(settings());
    Database *vpDatabase = filledDatabase(sermon(
        "60-0101", "N", "T", "P", {"Faith works.", "faith works.", "Вера тут.", "вера тут."}));
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), text, QString(), AdvancedSearchFlags(flags), 0, 20);
    QCOMPARE(hitNumbers(vRecorder), expected);
    QCOMPARE(vRecorder.mcCounted.first().second, expected.size());
}

void TestSearch::everyConnectionLikesCase()
{
    {
        TempAppDir vApp(settings());
        Database vDatabase("ru", *Application::storeEnvironment()); // installs the driver
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "like");
        vConnection.setDatabaseName(":memory:");
        QVERIFY(vConnection.open());
        QCOMPARE(rows(vConnection, "SELECT 'Faith' LIKE 'faith', 'faith' LIKE 'faith', 'ВЕРА' LIKE "
                                   "'вера', 'вера' LIKE 'в%';"),
                 QStringList{"0 | 1 | 0 | 1"});
    }
    QSqlDatabase::removeDatabase("like");
}

void TestSearch::textsStayInsideTheirLiteral_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("expected");
    for (const bool vbPlain : {false, true}) {
        for (const int vnFlags : {0, 1, 2, 4})
            row(QString("doubled apostrophe, flags %1").arg(vnFlags), vbPlain)
                << "l''homme" << vnFlags << QStringList{"60-0101/1"};
        row("lone apostrophe", vbPlain) << "l'homme" << 0 << QStringList{"60-0101/1"};
        row("statement in the text", vbPlain)
            << "x'' OR 1=1 OR text LIKE ''%" << 1 << QStringList{};
        // Placeholders were filled one after the other, so a "%2" in the text
        // became the page size.
        row("placeholder in the text", vbPlain) << "5%2" << 1 << QStringList{"60-0101/2"};
        row("control character", vbPlain)
            << QString("l''hom") + QChar(1) + "me" << 1 << QStringList{"60-0101/1"};
    }
}

void TestSearch::textsStayInsideTheirLiteral()
{
    QFETCH(bool, plain);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QStringList, expected);
    PlainStatements vPlain(plain);
    TempAppDir vApp(settings());
    LogCapture vLog;
    Database *vpDatabase =
        filledDatabase(sermon("60-0101", "N", "T", "P", {"l'homme d'esprit", "rate 5%2 ok"}));
    Recorder vRecorder(vpDatabase);
    vpDatabase->searchMessages(fakePage(1), text, QString(), AdvancedSearchFlags(flags), 0, 20);
    QCOMPARE(hitNumbers(vRecorder), expected);
    QCOMPARE(vRecorder.mcCounted.first().second, expected.size());
    QVERIFY(vLog.linesContaining("SQL Error").isEmpty());
}

void TestSearch::failedStatementsStillFinish()
{
    TempAppDir vApp(settings());
    Database *vpDatabase = filledDatabase(smallCorpus());
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
    TempAppDir vApp(settings());
    QStringList vcParagraphs;
    for (int i = 0; i < 45; ++i)
        vcParagraphs << QString("слово %1").arg(i);
    Database *vpDatabase = filledDatabase(sermon("60-0101", "N", "T", "P", vcParagraphs));
    QVERIFY(vpDatabase->thread() != QThread::currentThread());
    LogCapture vLog;
    Recorder vRecorder(vpDatabase);
    SearchLine vLine;
    connect(
        &vLine, &SearchLine::searchMessages, vpDatabase,
        QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags, int, int>::of(
            &Database::searchMessages));
    const int vnSearches = 20;
    for (int i = 0; i < vnSearches; ++i) {
        // A first request, as the search line sends it, runs on the worker thread ...
        emit vLine.searchMessages(fakePage(100 + i), "слово", QString(), AdvancedSearchFlags(), 0,
                                  20);
        // ... while a page asks for its next page from the GUI thread.
        vpDatabase->searchMessages(fakePage(1), "слово", QString(), AdvancedSearchFlags(), 20, 20,
                                   45);
    }
    QTRY_COMPARE_WITH_TIMEOUT(vRecorder.mcCounted.size(), vnSearches, 60000);
    for (int i = 0; i < vnSearches; ++i)
        QVERIFY(vRecorder.mcCounted.contains(qMakePair(fakePage(100 + i), 45)));
    QCOMPARE(vRecorder.hitCount(), 2 * 20 * vnSearches);
    QVERIFY(vLog.linesContaining("SQL Error").isEmpty());
    QVERIFY(vLog.linesContaining("without the data store's lock").isEmpty());
    QVERIFY(vLog.linesContaining("thread").isEmpty());
}

namespace {

// A deterministic corpus with the cases the joins have to get right: further
// translations, a sermon date that two sermon records share, paragraphs
// without a date or without a sermon record, and in the Bible a book with two
// names, a chapter recorded twice, and verses of a chapter without a record.
QStringList comparisonCorpus()
{
    const QStringList vcWords{"и",     "вера", "слово", "свет", "дело",  "Вера",
                              "жизнь", "мир",  "дух",   "путь", "l'eau", "Faith"};
    quint32 vnSeed = 12345;
    auto next = [&vnSeed](int anRange) {
        vnSeed = vnSeed * 1103515245u + 12345u;
        return static_cast<int>((vnSeed >> 16) % static_cast<quint32>(anRange));
    };
    auto text = [&] {
        QStringList vcText;
        const int vnLength = 3 + next(8);
        for (int i = 0; i < vnLength; ++i)
            vcText << vcWords.at(next(3) == 0 ? 0 : next(vcWords.size()));
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
        const QString &vsDate = vcDates.at(vnSermon);
        vcStatements << sermon(vsDate, "N " + vsDate, "T", "P", vcParagraphs);
    }
    vcStatements << "INSERT INTO paragraphs (id, date, text) VALUES ('E-1', NULL, 'и вера');"
                 << "INSERT INTO paragraphs (id, date, text) VALUES ('E-1', '99-9999 *', 'и "
                    "слово');";

    vcStatements << "INSERT INTO bibles (book, name) VALUES (1, 'Бытие');"
                 << "INSERT INTO bibles (book, name) VALUES (2, 'Исход');"
                 << "INSERT INTO bibles (book, name) VALUES (2, 'Исход II');";
    const QList<QPair<int, int>> vcChapters{{1, 1}, {1, 2}, {2, 1}, {2, 1}};
    for (const auto &vChapter : vcChapters)
        vcStatements << QString("INSERT INTO chapters (book, chapter, name) VALUES (%1, %2, 'x');")
                            .arg(vChapter.first)
                            .arg(vChapter.second);
    const QList<QPair<int, int>> vcVerseChapters{{1, 1}, {1, 2}, {2, 1}, {3, 1}, {1, 3}};
    for (const auto &vChapter : vcVerseChapters)
        for (int vnVerse = 1; vnVerse <= 6; ++vnVerse)
            vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES (%1, "
                                    "%2, %3, %4);")
                                .arg(vChapter.first)
                                .arg(vChapter.second)
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

} // namespace

void TestSearch::indexedStatementsGiveThePlainRows_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<bool>("hideDuplicates");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("offset");
    for (const bool vbHide : {false, true}) {
        const QString vsHide = vbHide ? ", duplicates hidden" : "";
        QTest::newRow(qPrintable("frequent word" + vsHide))
            << false << "и" << 0 << "" << vbHide << 1000 << 0;
        QTest::newRow(qPrintable("frequent word, a later page" + vsHide))
            << false << "и" << 0 << "" << vbHide << 7 << 30;
        QTest::newRow(qPrintable("rare word" + vsHide))
            << false << "l''eau" << 2 << "" << vbHide << 1000 << 0;
        QTest::newRow(qPrintable("phrase" + vsHide))
            << false << "и вера" << 4 << "" << vbHide << 1000 << 0;
        QTest::newRow(qPrintable("LIKE" + vsHide))
            << false << "Вера и" << 1 << "" << vbHide << 1000 << 0;
    }
    // Rowids 2 and 8 share the date 60-0202; 6 is a further translation.
    QTest::newRow("restricted") << false << "вера" << 0 << "(1,3,6)" << true << 1000 << 0;
    QTest::newRow("restricted to a shared date")
        << false << "и" << 0 << "(2)" << false << 1000 << 0;
    QTest::newRow("restricted to both records of a date")
        << false << "и" << 0 << "(2,8)" << false << 1000 << 0;
    QTest::newRow("restricted, a later page") << false << "и" << 0 << "(8,2,4)" << false << 5 << 9;
    QTest::newRow("restricted, LIKE") << false << "и" << 1 << "(2,8,5)" << false << 1000 << 0;
    QTest::newRow("restricted to nothing") << false << "и" << 0 << "(NULL)" << false << 1000 << 0;
    QTest::newRow("Bible") << true << "и" << 0 << "" << false << 1000 << 0;
    QTest::newRow("Bible, a later page") << true << "и" << 0 << "" << false << 6 << 11;
    QTest::newRow("Bible, whole words") << true << "свет" << 2 << "" << false << 1000 << 0;
    QTest::newRow("Bible, LIKE") << true << "и" << 1 << "" << false << 1000 << 0;
    QTest::newRow("Bible, restricted") << true << "и" << 0 << "(2,3)" << false << 1000 << 0;
    QTest::newRow("Bible, restricted to a chapter recorded twice")
        << true << "и" << 0 << "(3,4)" << false << 1000 << 0;
    QTest::newRow("Bible, restricted, LIKE") << true << "и" << 1 << "(1,4)" << false << 1000 << 0;
}

void TestSearch::indexedStatementsGiveThePlainRows()
{
    QFETCH(bool, bible);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, restriction);
    QFETCH(bool, hideDuplicates);
    QFETCH(int, limit);
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
        using Page = QString (*)(bool, const SearchStatements::Search &, int, int);
        using Count = QString (*)(bool, const SearchStatements::Search &);
        const Page vPage = bible ? &SearchStatements::biblePage : &SearchStatements::sermonPage;
        const Count vCount = bible ? &SearchStatements::bibleCount : &SearchStatements::sermonCount;

        const QStringList vcPlain = rows(vConnection, vPage(false, vSearch, limit, offset));
        const QStringList vcPlainCount = rows(vConnection, vCount(false, vSearch));
        const QStringList vcAll = rows(vConnection, vPage(true, vSearch, 100000, 0));
        for (const QStringList &vcResult : {vcPlain, vcPlainCount, vcAll})
            QVERIFY2(!vcResult.value(0).startsWith("failed:"), qPrintable(vcResult.value(0)));
        QCOMPARE(rows(vConnection, vPage(true, vSearch, limit, offset)), vcPlain);
        QCOMPARE(rows(vConnection, vCount(true, vSearch)), vcPlainCount);
        // What is listed is what is counted.
        QCOMPARE(vcPlainCount, QStringList{QString::number(vcAll.size())});
        if (restriction != "(NULL)")
            QVERIFY(!vcPlain.isEmpty());

        // The full-text index is the only thing read from start to end.
        if (!vSearch.like) {
            for (const QString &vsStatement :
                 {vPage(true, vSearch, limit, offset), vCount(true, vSearch)}) {
                for (const QString &vsStep :
                     rows(vConnection, "EXPLAIN QUERY PLAN " + vsStatement)) {
                    const QString vsDetail = vsStep.section(" | ", 3);
                    QVERIFY2(!vsDetail.startsWith("SCAN") ||
                                 (vsDetail.contains("VIRTUAL TABLE INDEX") &&
                                  !vsDetail.contains("INDEX 0:")),
                             qPrintable(vsDetail));
                    QVERIFY2(!vsDetail.contains("TEMP B-TREE"), qPrintable(vsDetail));
                }
            }
        }
    }
    QSqlDatabase::removeDatabase("compare");
}

QUILLMARK_TEST_MAIN(TestSearch)
#include "test_search.moc"
