// The data store: schema creation, statement execution and its error
// reporting, language switching, document retrieval with parallel texts,
// and the use of the one connection from the GUI and the worker thread.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"

#include <QSettings>
#include <QThread>

namespace {

// Pages are only passed through and never touched by the data store.
TabArea *fakePage(quintptr anId)
{
    return reinterpret_cast<TabArea *>(anId);
}

QString quote(const QString &asValue)
{
    return "'" + QString(asValue).replace("'", "''") + "'";
}

QVariantMap languages(const QString &asData = "ru")
{
    return {{"DataLanguage", asData}, {"DBLang1", "ru"}, {"DBLang2", "en"}};
}

QStringList sermonStatements(const QString &asDate, const QString &asName,
                             const QString &asTranslator, const QStringList &acParagraphs)
{
    QStringList vcStatements{
        QString("INSERT INTO quotes (date, name, translator, pdf, mp3, length, "
                "place) VALUES (%1, %2, %3, 'a.pdf', 'a.mp3', '1:02', 'Town');")
            .arg(quote(asDate), quote(asName), quote(asTranslator))};
    for (int i = 0; i < acParagraphs.size(); ++i)
        vcStatements << QString("INSERT INTO paragraphs (id, date, text) VALUES ('E-%1', %2, %3);")
                            .arg(i + 1)
                            .arg(quote(asDate), quote(acParagraphs.at(i)));
    return vcStatements;
}

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

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void createsTheFiveTablesOnce();
    void failuresAreLoggedAndShown();
    void changeLanguageOpensThatLanguagesFile();
    void opensSermonParagraphsAsRecords();
    void apostrophesAndParallelSermons();
    void highlightsSearchWordsOnce();
    void parallelRequestSwitchesBackAfterAFailure();
    void numbering();
    void bothThreadsShareTheConnection();
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

void TestDatabase::opensSermonParagraphsAsRecords()
{
    Store vStore;
    Database &vDatabase = vStore.mDatabase;
    QVERIFY(
        vDatabase.execQuery(sermonStatements("63-0317", "Первая", "Иванов", {"Один.", "Два."})));
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
}

void TestDatabase::apostrophesAndParallelSermons()
{
    // Titles, dates and translators with an apostrophe used to break the statements.
    Store vStore("en");
    Database &vDatabase = vStore.mDatabase;
    QVERIFY(vDatabase.execQuery(
        QStringList{"INSERT INTO bibles (book, name) VALUES (40, 'Matthew''s Gospel');",
                    "INSERT INTO chapters (book, chapter, name) VALUES (40, 1, 'Matthew 1');",
                    "INSERT INTO verses (book, chapter, verse, text) VALUES (40, 1, 1, 'Text');"} +
        sermonStatements("63-0317", "Dawn", "-", {"One."})));
    QSignalSpy vVerses(&vDatabase, &Database::foundChapter);
    vDatabase.openBibleChapter(fakePage(1), QString("Matthew's Gospel"), 1);
    QCOMPARE(vVerses.size(), 1);
    QCOMPARE(vVerses.at(0).at(5).toString(), QString("Text"));

    QVERIFY(vStore.fill("fr", sermonStatements("64'0101", "L'aube", "D'Arc", {"Texte."})));
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

void TestDatabase::parallelRequestSwitchesBackAfterAFailure()
{
    Store vStore;
    // A table of the right name but the wrong shape makes the parallel statement fail.
    QVERIFY(vStore.fill("en", {"DROP TABLE verses;", "CREATE TABLE verses (x);"}));
    LogCapture vLog;
    BoxRecorder vBoxes;
    QSignalSpy vReady(&vStore.mDatabase, &Database::translationReady);
    vStore.mDatabase.openBibleAddLanguage("en", fakePage(5), "1", "1");
    QCOMPARE(vReady.size(), 0);
    QCOMPARE(vStore.mDatabase.currentLanguage(), QString("ru"));
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QString("ru"));
    QTRY_COMPARE(vBoxes.count(), 1);
    // And the connection is on the Russian file again.
    QVERIFY(vStore.mDatabase.execQuery("SELECT count(*) FROM chapters;"));
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

void TestDatabase::bothThreadsShareTheConnection()
{
    TempAppDir vApp(languages());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->thread() != QThread::currentThread());
    QVERIFY(vpDatabase->execQuery(sermonStatements("60-0101", "T", "X", {"a", "b"})));
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(sermonStatements("60-0101", "T", "-", {"c"})));
    vpDatabase->changeLanguage("ru");

    // Results are counted on the GUI thread, where they are delivered queued.
    QObject vReceiver;
    int vnAll = 0;
    int vnOther = 0;
    connect(vpDatabase, &Database::foundAllArticles, &vReceiver, [&vnAll] { ++vnAll; });
    connect(vpDatabase, &Database::foundOtherParagraph, &vReceiver, [&vnOther] { ++vnOther; });
    LogCapture vLog;
    const int vnRequests = 40;
    for (int i = 0; i < vnRequests; ++i) {
        // Queued requests run on the worker thread ...
        QVERIFY(QMetaObject::invokeMethod(vpDatabase, "openQuotesParagraph", Qt::QueuedConnection,
                                          Q_ARG(TabArea *, fakePage(100 + i)), Q_ARG(int, 1)));
        QVERIFY(QMetaObject::invokeMethod(vpDatabase, "openQuotesParagraphAddLanguage",
                                          Qt::QueuedConnection, Q_ARG(QString, "en"),
                                          Q_ARG(TabArea *, fakePage(200 + i)), Q_ARG(QString, "X"),
                                          Q_ARG(QString, "60-0101")));
        // ... while the GUI thread uses the same connection directly.
        QVERIFY(vpDatabase->execQuery("SELECT count(*) FROM paragraphs;"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(vnAll, 2 * vnRequests, 60000);
    QCOMPARE(vnOther, vnRequests);
    for (const char *vpProblem : {"SQL Error", "thread", "without the data store's lock"})
        QCOMPARE(vLog.linesContaining(vpProblem), QStringList());
    QCOMPARE(vpDatabase->currentLanguage(), QString("ru"));
}

QUILLMARK_TEST_MAIN(TestDatabase)
#include "test_database.moc"
