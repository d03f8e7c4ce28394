// The data store: schema creation, statements and their failures, languages,
// documents with parallel texts, searches (hits, counts, restrictions, texts
// that try to leave their string literal), and requests from both threads.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/documentstatements.h"
#include "models/searchstatements.h"

#include <QScopeGuard>
#include <QSettings>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>

namespace {

using TestSupport::filledDatabase;

// Pages are only passed through and never touched by the data store.
TabArea *fakePage(quintptr anId)
{
    return reinterpret_cast<TabArea *>(anId);
}

QVariantMap languages(const QString &asData = "ru")
{
    return {{"DataLanguage", asData}, {"DBLang1", "ru"}, {"DBLang2", "en"}};
}

using TestSupport::sermonStatements;

// A data store of its own on a fresh application folder that knows "ru" and
// "en" as data languages.
struct Store
{
    explicit Store(const QString &asLanguage = "ru")
        : mApp(languages(asLanguage)), mDatabase(asLanguage, *Application::storeEnvironment())
    {
    }
    // Runs statements on the file of another data language and comes back.
    bool fill(const QString &asLanguage, const QStringList &acStatements)
    {
        const QString vsBack = mDatabase.currentLanguage();
        mDatabase.changeLanguage(asLanguage);
        const bool vbOk = mDatabase.execQuery(acStatements);
        mDatabase.changeLanguage(vsBack);
        return vbOk;
    }

    TempAppDir mApp;
    Database mDatabase;
};

QMap<QString, QVariant> settings(bool abShowDuplicates = true)
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},  {"DBLang1", "ru"},
            {"ParagraphCount", 20}, {"VersesCount", 20}, {"ShowDuplicates", abShowDuplicates}};
}

// Rowid 1 and 2 are two translations of one sermon, rowid 3 has apostrophes
// in its date and no place, rowid 4 holds literal text. The chapters (rowids
// 1 to 3) are Genesis 1 and 2 and Exodus 1, "свет" in their odd verses.
QStringList corpus()
{
    QStringList vcStatements =
        sermonStatements("63-0317", "Первая",
                         {"Вера и дело.", "Только слово.", "вера без дел мертва."}, "Иванов") +
        sermonStatements("63-0317 *", "Первая", {"Вера и дело снова."}, "Петров") +
        sermonStatements("64'0101", "L'aube", {"L'homme de foi.", "вера"}, "D'Arc", "") +
        sermonStatements("60-0101", "N", {"Вера тут.", "вера тут.", "l'homme d'esprit", "5%2"}, "T",
                         "P");
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

// A row of a data table through the indexed statements or the plain ones.
QTestData &row(const QString &asName, bool abPlain)
{
    return QTest::newRow(qPrintable(asName + (abPlain ? ", plain" : ""))) << abPlain;
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void createsTheFiveTablesOnce();
    void failuresAreLoggedAndShown();
    void changeLanguageOpensThatLanguagesFile();
    void documentsAndParallelTexts();
    void highlightsSearchWordsOnce();
    void numbering();
    void conditionTexts_data();
    void conditionTexts();
    void hitsAndCounts_data();
    void hitsAndCounts();
    void countedPagesAsTheWindowsPages();
    void failedStatementsStillFinish();
    void requestsFromBothThreads();
};

void TestDatabase::createsTheFiveTablesOnce()
{
    TempAppDir vApp(languages());
    LogCapture vLog;
    // An empty file is no data store yet.
    const QString vsFile = Application::databaseFilePath();
    QVERIFY(TestSupport::writeFile(vsFile, QByteArray()));
    QVERIFY(!Database::databaseExists(vsFile));
    {
        Database vDatabase("ru", *Application::storeEnvironment());
        QVERIFY(Database::databaseExists(vsFile));
        QCOMPARE(vLog.linesContaining("Create table").size(), 5);
        // A new file's data version is nought, so that every update applies.
        QCOMPARE(Application::settings()->value("Version-ru").toInt(), 0);
    }
    // A file that has its tables keeps them and its recorded version.
    Application::settings()->setValue("Version-ru", 7);
    Database vAgain("ru", *Application::storeEnvironment());
    QCOMPARE(vLog.linesContaining("Create table").size(), 5);
    QCOMPARE(Application::settings()->value("Version-ru").toInt(), 7);
}

void TestDatabase::failuresAreLoggedAndShown()
{
    Store vStore;
    // A table of the right name but the wrong shape makes the parallel statement fail.
    QVERIFY(vStore.fill("en", {"DROP TABLE verses;", "CREATE TABLE verses (x);"}));
    LogCapture vLog;
    BoxRecorder vBoxes;
    QVERIFY(!vStore.mDatabase.execQuery(
        QStringList{"INSERT INTO bibles (book, name) VALUES (1, 'First');",
                    "INSERT INTO no_such_table VALUES (1);",
                    "INSERT INTO bibles (book, name) VALUES (2, 'Second');"}));
    const QStringList vcErrors = vLog.linesContaining("SQL Error:");
    QCOMPARE(vcErrors.size(), 1);
    QVERIFY(vcErrors.first().contains("no_such_table"));
    // The statements around the failure were committed: a connection of its
    // own sees them (the store's connection would see its own open transaction).
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM bibles ORDER BY book;"),
             (QStringList{"First", "Second"}));
    // The failure is also put in front of the user, once.
    QTRY_COMPARE(vBoxes.count(), 1);

    // So is the failure of a single statement.
    QVERIFY(!vStore.mDatabase.execQuery("SELEKT 1;"));
    QTRY_COMPARE(vBoxes.count(), 2);

    // A failing parallel request goes back to the page's language.
    QSignalSpy vReady(&vStore.mDatabase, &Database::translationReady);
    vStore.mDatabase.openBibleAddLanguage("en", fakePage(5), "1", "1");
    QCOMPARE(vReady.size(), 0);
    QCOMPARE(vStore.mDatabase.currentLanguage(), QString("ru"));
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QString("ru"));
    QTRY_COMPARE(vBoxes.count(), 3);
    // And the connection is on the Russian file again.
    QVERIFY(vStore.mDatabase.execQuery("SELECT count(*) FROM chapters;"));
}

void TestDatabase::changeLanguageOpensThatLanguagesFile()
{
    Store vStore;
    Database &vDatabase = vStore.mDatabase;
    vDatabase.changeLanguage("en");
    // Statements reach the file of the language switched to, and only that.
    QVERIFY(vDatabase.execQuery("INSERT INTO bibles (book, name) VALUES (1, 'Genesis');"));
    vDatabase.changeLanguage("ru");
    QVERIFY(vDatabase.execQuery("INSERT INTO bibles (book, name) VALUES (1, 'Бытие');"));
    QCOMPARE(TestSupport::readRows("en", "SELECT name FROM bibles;"), QStringList{"Genesis"});
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM bibles;"), QStringList{"Бытие"});
}

void TestDatabase::documentsAndParallelTexts()
{
    Store vStore;
    Database &vDatabase = vStore.mDatabase;
    QVERIFY(
        vDatabase.execQuery(sermonStatements("63-0317", "Первая", {"Один.", "Два."}, "Иванов")));
    QSignalSpy vParagraphs(&vDatabase, &Database::foundParagraph);
    QSignalSpy vAll(&vDatabase, &Database::foundAllArticles);
    vDatabase.openQuotesParagraph(fakePage(7), 1);
    QCOMPARE(vParagraphs.size(), 2);
    QCOMPARE(vParagraphs.at(0).at(0).value<TabArea *>(), fakePage(7));
    QCOMPARE(vParagraphs.at(0).at(1).toString(),
             QString("Иванов\ta.pdf\ta.mp3\t1:02\tTown\t63-0317\t1\tОдин."));
    QCOMPARE(vAll.size(), 1);
    // A rowid that matches nothing gives only the completion.
    vDatabase.openQuotesParagraph(fakePage(8), 99);
    QCOMPARE(vParagraphs.size(), 2);
    QCOMPARE(vAll.size(), 2);

    // Titles, dates and translators with an apostrophe used to break the statements.
    vDatabase.changeLanguage("en");
    QVERIFY(vDatabase.execQuery(
        QStringList{"INSERT INTO bibles (book, name) VALUES (40, 'Matthew''s Gospel');",
                    "INSERT INTO chapters (book, chapter, name) VALUES (40, 1, 'Matthew 1');",
                    "INSERT INTO verses (book, chapter, verse, text) VALUES (40, 1, 1, 'Text');"} +
        sermonStatements("63-0317", "Dawn", {"One."}, "-")));
    QSignalSpy vVerses(&vDatabase, &Database::foundChapter);
    vDatabase.openBibleChapter(fakePage(1), QString("Matthew's Gospel"), 1);
    QCOMPARE(vVerses.size(), 1);
    QCOMPARE(vVerses.at(0).at(5).toString(), QString("Text"));

    QVERIFY(vStore.fill("fr", sermonStatements("64'0101", "L'aube", {"Texte."}, "D'Arc")));
    vDatabase.changeLanguage("ru");
    QSignalSpy vOther(&vDatabase, &Database::foundOtherParagraph);
    QSignalSpy vReady(&vDatabase, &Database::translationReady);
    vDatabase.openQuotesParagraphAddLanguage("fr", fakePage(2), "D'Arc", "64'0101 *");
    // Beside English the translator asked for does not matter, nor the " *" mark.
    vDatabase.openQuotesParagraphAddLanguage("en", fakePage(3), "Иванов", "63-0317 *");
    QCOMPARE(vOther.size(), 2);
    QCOMPARE(vOther.at(0).at(1).toString(), QString("L'aube\t64'0101\tTown\tD'Arc\t1\tTexte."));
    QCOMPARE(vOther.at(1).at(1).toString(), QString("Dawn\t63-0317\tTown\t-\t1\tOne."));
    QCOMPARE(vReady.size(), 2);
    QCOMPARE(vDatabase.currentLanguage(), QString("ru"));
}

void TestDatabase::highlightsSearchWordsOnce()
{
    // A word that also occurs in the inserted mark must not break the mark.
    QCOMPARE(Database::searchConditionsHL("a span of yellow", "span yellow"),
             QString("a <span style='background-color: yellow;'>span</span> of "
                     "<span style='background-color: yellow;'>yellow</span>"));
    // Empty words (two blanks) mark nothing.
    QCOMPARE(Database::searchConditionsHL("text", "  "), QString("text"));
}

void TestDatabase::numbering()
{
    const QVector<PsalmRecord> vcTable = PsalmTable::build();
    const auto psalm = [&vcTable](int anChapter, int anVerse, const char *apFrom,
                                  const char *apTo) {
        return PsalmTable::convertPsalm(vcTable, anChapter, anVerse, apFrom, apTo);
    };
    QCOMPARE(psalm(9, 25, "ru", "en"), qMakePair(10, 5));
    QCOMPARE(psalm(50, 3, "ru", "fr"), qMakePair(51, 3));
    QCOMPARE(psalm(113, 10, "ru", "en"), qMakePair(115, 2));
    QCOMPARE(psalm(147, 5, "en", "ru"), qMakePair(146, 5));
    QCOMPARE(psalm(147, 13, "en", "ru"), qMakePair(147, 2)); // the last match wins
    QCOMPARE(psalm(10, 3, "en", "ru"), qMakePair(9, 23));
    QCOMPARE(psalm(10, 3, "en", "fr"), qMakePair(10, 3));
    QCOMPARE(psalm(200, 1, "ru", "en"), qMakePair(200, 1)); // unknown psalm

    const auto book = &Database::convertBookNumber;
    QCOMPARE(book(45, "ru", "en"), QString("59"));
    QCOMPARE(book(52, "ru", "en"), QString("45"));
    QCOMPARE(book(45, "en", "ru"), QString("52"));
    QCOMPARE(book(65, "en", "ru"), QString("51"));
    QCOMPARE(book(66, "en", "ru"), QString("66")); // outside the moved range
    QCOMPARE(book(50, "en", "de"), QString());     // unknown pair
}

void TestDatabase::conditionTexts_data()
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
    // Flags -1: a restriction. Only a list of keys passes, tidied; anything
    // more restricts to nothing.
    QTest::newRow("no restriction") << "" << -1 << "";
    QTest::newRow("list of keys") << " ( 12 , 57 ) " << -1 << "(12,57)";
    QTest::newRow("keys without parentheses") << "1,2" << -1 << "(NULL)";
    QTest::newRow("restriction with SQL") << "(1) OR 1=1" << -1 << "(NULL)";
}

void TestDatabase::conditionTexts()
{
    QFETCH(QString, text);
    QFETCH(int, flags);
    QTEST(flags < 0 ? SearchStatements::restrictionList(text)
                    : SearchStatements::condition(text, AdvancedSearchFlags(flags)),
          "expected");
}

void TestDatabase::hitsAndCounts_data()
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

void TestDatabase::hitsAndCounts()
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
    // The command-line tool's request, page and count from one pass where
    // the statement allows: the same, and in the same order of signals.
    if (!bible) {
        const QStringList vcHits = vRecorder.mcHits, vcEvents = vRecorder.mcEvents;
        Recorder vCounted(vpDatabase);
        vpDatabase->searchMessagesCounted(fakePage(1), text, restriction,
                                          AdvancedSearchFlags(flags), 0, 100);
        QCOMPARE(vCounted.mcHits, vcHits);
        QCOMPARE(vCounted.mcEvents, vcEvents);
    }
    QVERIFY(vLog.linesContaining("SQL Error").isEmpty());
}

void TestDatabase::countedPagesAsTheWindowsPages()
{
    TempAppDir vApp(settings(false));
    Database *vpDatabase = filledDatabase(corpus());
    // Five hits of "вера" without the further translation, in pages of two:
    // the last one half full, the next one past the end, the count exact on
    // each.
    for (int vnOffset = 0; vnOffset <= 6; vnOffset += 2) {
        QStringList vcPage;
        {
            Recorder vPage(vpDatabase);
            vpDatabase->searchMessages(fakePage(1), "вера", QString(), AdvancedSearchFlags(),
                                       vnOffset, 2);
            vcPage = vPage.mcHits;
        }
        Recorder vCounted(vpDatabase);
        vpDatabase->searchMessagesCounted(fakePage(2), "вера", QString(), AdvancedSearchFlags(),
                                          vnOffset, 2);
        QCOMPARE(vCounted.mcHits.size(), std::max(0, std::min(2, 5 - vnOffset)));
        QCOMPARE(vCounted.mcHits, vcPage);
        QCOMPARE(vCounted.mcCounted, (QList<QPair<TabArea *, int>>{{fakePage(2), 5}}));
    }
}

void TestDatabase::failedStatementsStillFinish()
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

void TestDatabase::requestsFromBothThreads()
{
    TempAppDir vApp(settings()); // six hits of "вера"
    Database *vpDatabase = filledDatabase(corpus());
    QVERIFY(vpDatabase->thread() != QThread::currentThread());
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(sermonStatements("63-0317", "T", {"c"}, "-")));
    vpDatabase->changeLanguage("ru");
    LogCapture vLog;
    Recorder vRecorder(vpDatabase);
    // Documents are counted on the GUI thread, where they are delivered queued.
    int vnAll = 0;
    int vnOther = 0;
    connect(vpDatabase, &Database::foundAllArticles, &vRecorder, [&vnAll] { ++vnAll; });
    connect(vpDatabase, &Database::foundOtherParagraph, &vRecorder, [&vnOther] { ++vnOther; });
    const int vnRequests = 20;
    for (int i = 0; i < vnRequests; ++i) {
        // Requests queued as the window sends them run on the worker thread ...
        QMetaObject::invokeMethod(vpDatabase, [vpDatabase, i] {
            vpDatabase->searchMessages(fakePage(100 + i), "вера", QString(), AdvancedSearchFlags(),
                                       0, 3);
        });
        QVERIFY(QMetaObject::invokeMethod(vpDatabase, "openQuotesParagraph", Qt::QueuedConnection,
                                          Q_ARG(TabArea *, fakePage(200 + i)), Q_ARG(int, 1)));
        QVERIFY(QMetaObject::invokeMethod(vpDatabase, "openQuotesParagraphAddLanguage",
                                          Qt::QueuedConnection, Q_ARG(QString, "en"),
                                          Q_ARG(TabArea *, fakePage(300 + i)), Q_ARG(QString, "X"),
                                          Q_ARG(QString, "63-0317")));
        // ... while the GUI thread asks for a next page and runs statements on
        // the same connection.
        vpDatabase->searchMessages(fakePage(1), "вера", QString(), AdvancedSearchFlags(), 3, 3, 6);
        QVERIFY(vpDatabase->execQuery("SELECT count(*) FROM paragraphs;"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(vRecorder.mcCounted.size(), vnRequests, 60000);
    for (int i = 0; i < vnRequests; ++i)
        QVERIFY(vRecorder.mcCounted.contains(qMakePair(fakePage(100 + i), 6)));
    QCOMPARE(vRecorder.mcHits.size(), 6 * vnRequests);
    QTRY_COMPARE_WITH_TIMEOUT(vnAll, 2 * vnRequests, 60000);
    QCOMPARE(vnOther, vnRequests);
    for (const char *vpProblem : {"SQL Error", "thread", "without the data store's lock"})
        QVERIFY2(vLog.linesContaining(vpProblem).isEmpty(), vpProblem);
    QCOMPARE(vpDatabase->currentLanguage(), QString("ru"));
}

QUILLMARK_TEST_MAIN(TestDatabase)
#include "test_database.moc"
