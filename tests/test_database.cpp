// The data store: schema creation, statement execution and its error
// reporting, language switching, document retrieval with parallel texts,
// and the use of the one connection from the GUI and the worker thread.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"

#include <QMetaMethod>
#include <QSettings>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

namespace {

TabArea *fakePage(quintptr anId)
{
    // Pages are only passed through and never touched by the data store.
    return reinterpret_cast<TabArea *>(anId);
}

QMap<QString, QVariant> languages(const QString &asData = QStringLiteral("ru"))
{
    return {{QStringLiteral("DataLanguage"), asData},
            {QStringLiteral("DBLang1"), QStringLiteral("ru")},
            {QStringLiteral("DBLang2"), QStringLiteral("en")}};
}

QString quote(const QString &asValue)
{
    return QStringLiteral("'") + QString(asValue).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QStringLiteral("'");
}

QStringList sermonStatements(const QString &asDate, const QString &asName,
                             const QString &asTranslator, const QStringList &acParagraphs)
{
    QStringList vcStatements{
        QStringLiteral("INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) "
                       "VALUES (%1, %2, %3, 'a.pdf', 'a.mp3', '1:02', 'Town');")
            .arg(quote(asDate), quote(asName), quote(asTranslator))};
    for (int i = 0; i < acParagraphs.size(); ++i)
        vcStatements << QStringLiteral(
                            "INSERT INTO paragraphs (id, date, text) VALUES (%1, %2, %3);")
                            .arg(quote(QStringLiteral("E-%1").arg(i + 1)), quote(asDate),
                                 quote(acParagraphs.at(i)));
    return vcStatements;
}

QStringList chapterStatements(int anBook, int anChapter, const QString &asName, int anVerses)
{
    QStringList vcStatements{
        QStringLiteral("INSERT INTO chapters (book, chapter, name) VALUES (%1, %2, %3);")
            .arg(anBook)
            .arg(anChapter)
            .arg(quote(asName))};
    for (int v = 1; v <= anVerses; ++v)
        vcStatements
            << QStringLiteral(
                   "INSERT INTO verses (book, chapter, verse, text) VALUES (%1, %2, %3, %4);")
                   .arg(anBook)
                   .arg(anChapter)
                   .arg(v)
                   .arg(quote(QStringLiteral("%1:%2:%3").arg(anBook).arg(anChapter).arg(v)));
    return vcStatements;
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void createsTheFiveTablesOnce();
    void batchCarriesOnAfterAFailure();
    void singleStatementReportsFailure();
    void databaseExistsNeedsANonEmptyFile();
    void readEscapedLineDoublesApostrophes();
    void changeLanguageOpensThatLanguagesFile();
    void signalsAndSlotsKeepTheirOrderAndNames();
    void opensSermonParagraphsAsRecords();
    void valuesWithApostrophesWork();
    void highlightsSearchWordsOnce();
    void parallelSermonBesideEnglishUsesItsOwnTranslator();
    void parallelPsalmsAreRenumbered_data();
    void parallelPsalmsAreRenumbered();
    void parallelRequestSwitchesBackAfterAFailure();
    void translatorListOfASermon();
    void psalmConversion_data();
    void psalmConversion();
    void bookConversion_data();
    void bookConversion();
    void bothThreadsShareTheConnection();
};

void TestDatabase::createsTheFiveTablesOnce()
{
    TempAppDir vApp(languages());
    LogCapture vLog;
    {
        Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
        const QStringList vcCreated = vLog.linesContaining(QStringLiteral("Create table"));
        QCOMPARE(vcCreated.size(), 5);
        const QStringList vcOrder{QStringLiteral("quotes"), QStringLiteral("paragraphs"),
                                  QStringLiteral("bibles"), QStringLiteral("chapters"),
                                  QStringLiteral("verses")};
        for (int i = 0; i < 5; ++i)
            QVERIFY2(vcCreated.at(i).startsWith(
                         QStringLiteral("(II) Create table '%1'").arg(vcOrder.at(i))),
                     qPrintable(vcCreated.at(i)));
        QCOMPARE(Application::settings()->value(QStringLiteral("Version-ru")).toInt(), 0);
        // Asking again for the open file does nothing.
        QVERIFY(vDatabase.connectCurrentDatabase());
        QCOMPARE(vLog.linesContaining(QStringLiteral("Create table")).size(), 5);
    }
    QVERIFY(QFileInfo(vApp.filePath(QStringLiteral("sql/data/kvr_main_ru.sqlite"))).size() > 0);

    // A file that has its tables keeps them and its recorded version.
    Application::settings()->setValue(QStringLiteral("Version-ru"), 7);
    Database vAgain(QStringLiteral("ru"), *Application::storeEnvironment());
    QCOMPARE(vLog.linesContaining(QStringLiteral("Create table")).size(), 5);
    QCOMPARE(Application::settings()->value(QStringLiteral("Version-ru")).toInt(), 7);
    QVERIFY(vLog.linesContaining(QStringLiteral("SQL Error:")).isEmpty());
}

void TestDatabase::batchCarriesOnAfterAFailure()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    LogCapture vLog;
    BoxRecorder vBoxes;
    const bool vbResult = vDatabase.execQuery(
        QStringList{QStringLiteral("INSERT INTO bibles (book, name) VALUES (1, 'First');"),
                    QStringLiteral("INSERT INTO no_such_table VALUES (1);"),
                    QStringLiteral("INSERT INTO bibles (book, name) VALUES (2, 'Second');")});
    QVERIFY(!vbResult);
    const QStringList vcErrors = vLog.linesContaining(QStringLiteral("SQL Error:"));
    QCOMPARE(vcErrors.size(), 1);
    QVERIFY(vcErrors.first().contains(QStringLiteral("no_such_table")));
    // The statements around the failure were committed.
    QSqlQuery vQuery(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    QVERIFY(vQuery.exec(QStringLiteral("SELECT name FROM bibles ORDER BY book;")));
    QStringList vcNames;
    while (vQuery.next())
        vcNames << vQuery.value(0).toString();
    QCOMPARE(vcNames, (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
    // The failure is also put in front of the user, once.
    QTRY_COMPARE(vBoxes.count(), 1);
    QCOMPARE(vBoxes.requests().first().title, QStringLiteral("Debug"));
    QVERIFY(vBoxes.requests().first().text.startsWith(QStringLiteral("SQL Error:")));
}

void TestDatabase::singleStatementReportsFailure()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    LogCapture vLog;
    BoxRecorder vBoxes;
    QVERIFY(
        vDatabase.execQuery(QStringLiteral("INSERT INTO bibles (book, name) VALUES (3, 'x');")));
    QVERIFY(!vDatabase.execQuery(QStringLiteral("SELEKT 1;")));
    QTRY_COMPARE(vBoxes.count(), 1);
}

void TestDatabase::databaseExistsNeedsANonEmptyFile()
{
    TempAppDir vApp(languages(QStringLiteral("fr")));
    QVERIFY(!Database::databaseExists(Application::databaseFilePath()));
    QFile vEmpty(Application::databaseFilePath());
    QVERIFY(vEmpty.open(QIODevice::WriteOnly));
    vEmpty.close();
    QVERIFY(!Database::databaseExists(Application::databaseFilePath()));
    QFile::remove(Application::databaseFilePath());
    Database vDatabase(QStringLiteral("fr"), *Application::storeEnvironment());
    QVERIFY(Database::databaseExists(Application::databaseFilePath()));
}

void TestDatabase::readEscapedLineDoublesApostrophes()
{
    QString vsText = QStringLiteral("l'homme d'esprit\nplain\n");
    QTextStream vStream(&vsText);
    QCOMPARE(Database::readEscapedLine(&vStream), QStringLiteral("l''homme d''esprit"));
    QCOMPARE(Database::readEscapedLine(&vStream), QStringLiteral("plain"));
    QCOMPARE(Database::readEscapedLine(&vStream), QString());
    QCOMPARE(Database::readEscapedLine(nullptr), QString());
}

void TestDatabase::changeLanguageOpensThatLanguagesFile()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    vDatabase.changeLanguage(QStringLiteral("en"));
    QCOMPARE(vDatabase.currentLanguage(), QStringLiteral("en"));
    QCOMPARE(Application::settings()->value(QStringLiteral("DataLanguage")).toString(),
             QStringLiteral("en"));
    QVERIFY(QFileInfo::exists(vApp.filePath(QStringLiteral("sql/data/kvr_main_en.sqlite"))));
    // Statements now reach the English file.
    QVERIFY(vDatabase.execQuery(
        QStringLiteral("INSERT INTO bibles (book, name) VALUES (1, 'Genesis');")));
    vDatabase.changeLanguage(QStringLiteral("ru"));
    QSqlQuery vQuery(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    QVERIFY(vQuery.exec(QStringLiteral("SELECT count(*) FROM bibles;")));
    QVERIFY(vQuery.next());
    QCOMPARE(vQuery.value(0).toInt(), 0);
}

void TestDatabase::signalsAndSlotsKeepTheirOrderAndNames()
{
    // Other code connects to these by signature; their order is part of the interface.
    const QStringList vcExpected{
        QStringLiteral("currentUpdated(qlonglong,qlonglong)"),
        QStringLiteral("totalUpdated(qlonglong,qlonglong)"),
        QStringLiteral("statusTextUpdated(QString)"),
        QStringLiteral("importStarted()"),
        QStringLiteral("importFinished()"),
        QStringLiteral("foundChapter(TabArea*,QString,QString,QString,QString,QString)"),
        QStringLiteral("foundOtherChapter(TabArea*,QString,QString,QString,QString)"),
        QStringLiteral("foundParagraph(TabArea*,QString)"),
        QStringLiteral("foundOtherParagraph(TabArea*,QString)"),
        QStringLiteral("finishSearchArticles(TabArea*,QString,AdvancedSearchFlags,int)"),
        QStringLiteral("addSearchMessage(TabArea*,QString,QString,QString,QString)"),
        QStringLiteral("addSearchBible(TabArea*,QString,QString,QString,QString,QString)"),
        QStringLiteral("foundAllArticles(TabArea*)"),
        QStringLiteral("foundAllSearchArticles(TabArea*)"),
        QStringLiteral("translationReady(TabArea*)"),
        QStringLiteral("translatorListReady(QStringList,QAction*)"),
        QStringLiteral("searchModeStarting(bool)"),
        QStringLiteral("setNavigationParams(TabArea*,int)"),
        QStringLiteral("setFoundPagesCount(TabArea*,int)"),
        QStringLiteral("openBibleChapter(TabArea*,int,int)"),
        QStringLiteral("openBibleChapter(TabArea*,QString,int)"),
        QStringLiteral("openQuotesParagraph(TabArea*,int)"),
        QStringLiteral("openQuotesParagraphST(TabArea*,int,QString)"),
        QStringLiteral("openQuotesParagraphAddLanguage(QString,TabArea*,QString,QString)"),
        QStringLiteral("openBibleAddLanguage(QString,TabArea*,QString,QString)"),
        QStringLiteral("openSermonOfHit(TabArea*,QString,QString)")};
    const QMetaObject &vMeta = Database::staticMetaObject;
    QCOMPARE(vMeta.methodCount() - vMeta.methodOffset(), vcExpected.size());
    for (int i = 0; i < vcExpected.size(); ++i) {
        const QMetaMethod vMethod = vMeta.method(vMeta.methodOffset() + i);
        QCOMPARE(QString::fromLatin1(vMethod.methodSignature()), vcExpected.at(i));
        QCOMPARE(vMethod.methodType(), i < 19 ? QMetaMethod::Signal : QMetaMethod::Slot);
    }
    const QMetaMethod vFound = vMeta.method(vMeta.methodOffset() + 5);
    QCOMPARE(vFound.parameterNames(), (QList<QByteArray>{"apTab", "asDateInfo", "asChapterInfo",
                                                         "asTitle", "asNumber", "asText"}));
}

void TestDatabase::opensSermonParagraphsAsRecords()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    QVERIFY(vDatabase.execQuery(sermonStatements(
        QStringLiteral("63-0317"), QStringLiteral("Первая"), QStringLiteral("Иванов"),
        {QStringLiteral("Один."), QStringLiteral("Два.")})));
    QSignalSpy vParagraphs(&vDatabase, &Database::foundParagraph);
    QSignalSpy vAll(&vDatabase, &Database::foundAllArticles);
    vDatabase.openQuotesParagraph(fakePage(7), 1);
    QCOMPARE(vParagraphs.size(), 2);
    QCOMPARE(vParagraphs.at(0).at(0).value<TabArea *>(), fakePage(7));
    QCOMPARE(vParagraphs.at(0).at(1).toString(),
             QStringLiteral("Иванов\ta.pdf\ta.mp3\t1:02\tTown\t63-0317\t1\tОдин."));
    QCOMPARE(vParagraphs.at(1).at(1).toString().section(QLatin1Char('\t'), 6),
             QStringLiteral("2\tДва."));
    QCOMPARE(vAll.size(), 1);

    // A rowid that matches nothing gives only the completion.
    vDatabase.openQuotesParagraph(fakePage(8), 99);
    QCOMPARE(vParagraphs.size(), 2);
    QCOMPARE(vAll.size(), 2);
}

void TestDatabase::valuesWithApostrophesWork()
{
    // Titles, dates and translators with an apostrophe used to break the statements.
    TempAppDir vApp(languages());
    LogCapture vLog;
    BoxRecorder vNoBox;
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    vDatabase.changeLanguage(QStringLiteral("en"));
    QVERIFY(vDatabase.execQuery(
        QStringLiteral("INSERT INTO bibles (book, name) VALUES (40, 'Matthew''s Gospel');")));
    QVERIFY(vDatabase.execQuery(chapterStatements(40, 1, QStringLiteral("Matthew 1"), 3)));
    QSignalSpy vVerses(&vDatabase, &Database::foundChapter);
    vDatabase.openBibleChapter(fakePage(1), QStringLiteral("Matthew's Gospel"), 1);
    QCOMPARE(vVerses.size(), 3);
    QCOMPARE(vVerses.at(2).at(5).toString(), QStringLiteral("40:1:3"));

    vDatabase.changeLanguage(QStringLiteral("fr"));
    QVERIFY(
        vDatabase.execQuery(sermonStatements(QStringLiteral("64'0101"), QStringLiteral("L'aube"),
                                             QStringLiteral("D'Arc"), {QStringLiteral("Texte.")})));
    vDatabase.changeLanguage(QStringLiteral("ru"));
    QSignalSpy vOther(&vDatabase, &Database::foundOtherParagraph);
    vDatabase.openQuotesParagraphAddLanguage(QStringLiteral("fr"), fakePage(2),
                                             QStringLiteral("D'Arc"), QStringLiteral("64'0101 *"));
    QCOMPARE(vOther.size(), 1);
    QCOMPARE(vOther.first().at(1).toString(),
             QStringLiteral("L'aube\t64'0101\tTown\tD'Arc\t1\tTexte."));
    QVERIFY(vLog.linesContaining(QStringLiteral("SQL Error")).isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(vNoBox.count(), 0);
}

void TestDatabase::highlightsSearchWordsOnce()
{
    const QString vsOpen = QStringLiteral("<span style='background-color: yellow;'>");
    const QString vsClose = QStringLiteral("</span>");
    QCOMPARE(
        Database::searchConditionsHL(QStringLiteral("Faith and faith"), QStringLiteral("faith")),
        QStringLiteral("Faith and ") + vsOpen + QStringLiteral("faith") + vsClose);
    // A word that also occurs in the inserted mark must not break the mark.
    QCOMPARE(Database::searchConditionsHL(QStringLiteral("a span of yellow"),
                                          QStringLiteral("span yellow")),
             QStringLiteral("a ") + vsOpen + QStringLiteral("span") + vsClose +
                 QStringLiteral(" of ") + vsOpen + QStringLiteral("yellow") + vsClose);
    // Empty words (two blanks) mark nothing.
    QCOMPARE(Database::searchConditionsHL(QStringLiteral("text"), QStringLiteral("  ")),
             QStringLiteral("text"));
}

void TestDatabase::parallelSermonBesideEnglishUsesItsOwnTranslator()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("en"), *Application::storeEnvironment());
    QVERIFY(vDatabase.execQuery(sermonStatements(QStringLiteral("63-0317"), QStringLiteral("Dawn"),
                                                 QStringLiteral("-"), {QStringLiteral("One.")})));
    vDatabase.changeLanguage(QStringLiteral("ru"));
    QSignalSpy vOther(&vDatabase, &Database::foundOtherParagraph);
    QSignalSpy vReady(&vDatabase, &Database::translationReady);
    // Beside English the translator asked for does not matter, nor the " *" mark.
    vDatabase.openQuotesParagraphAddLanguage(QStringLiteral("en"), fakePage(3),
                                             QStringLiteral("Иванов"), QStringLiteral("63-0317 *"));
    QCOMPARE(vOther.size(), 1);
    QCOMPARE(vOther.first().at(1).toString(), QStringLiteral("Dawn\t63-0317\tTown\t-\t1\tOne."));
    QCOMPARE(vReady.size(), 1);
    QCOMPARE(vDatabase.currentLanguage(), QStringLiteral("ru"));
    QCOMPARE(Application::settings()->value(QStringLiteral("DataLanguage")).toString(),
             QStringLiteral("ru"));
}

void TestDatabase::parallelPsalmsAreRenumbered_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("book");
    QTest::addColumn<int>("chapter");
    QTest::addColumn<QStringList>("expectedChapters");
    QTest::newRow("ru 9 is en 9 and 10") << "ru"
                                         << "en" << 19 << 9 << QStringList{"9", "10"};
    QTest::newRow("ru 113 is en 114 and 115") << "ru"
                                              << "en" << 19 << 113 << QStringList{"114", "115"};
    QTest::newRow("ru 114 is en 116") << "ru"
                                      << "en" << 19 << 114 << QStringList{"116"};
    QTest::newRow("ru 147 is en 147") << "ru"
                                      << "en" << 19 << 147 << QStringList{"147"};
    QTest::newRow("en 116 is ru 114 and 115") << "en"
                                              << "ru" << 19 << 116 << QStringList{"114", "115"};
    QTest::newRow("en 147 is ru 146 and 147") << "en"
                                              << "ru" << 19 << 147 << QStringList{"146", "147"};
}

void TestDatabase::parallelPsalmsAreRenumbered()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, book);
    QFETCH(int, chapter);
    QFETCH(QStringList, expectedChapters);
    TempAppDir vApp(languages(from));
    Database vDatabase(from, *Application::storeEnvironment());
    vDatabase.changeLanguage(to);
    QStringList vcAll;
    for (int n = 1; n <= 150; ++n)
        vcAll << chapterStatements(book, n, QStringLiteral("Psalm %1").arg(n), 2);
    QVERIFY(vDatabase.execQuery(vcAll));
    vDatabase.changeLanguage(from);

    QSignalSpy vOther(&vDatabase, &Database::foundOtherChapter);
    vDatabase.openBibleAddLanguage(to, fakePage(4), QString::number(book),
                                   QString::number(chapter));
    QStringList vcChapters;
    for (const QList<QVariant> &vRow : qAsConst(vOther))
        if (!vcChapters.contains(vRow.at(4).toString()))
            vcChapters << vRow.at(4).toString();
    QCOMPARE(vcChapters, expectedChapters);
    QCOMPARE(vOther.size(), 2 * expectedChapters.size());
    QCOMPARE(vDatabase.currentLanguage(), from);
}

void TestDatabase::parallelRequestSwitchesBackAfterAFailure()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    vDatabase.changeLanguage(QStringLiteral("en"));
    // A table of the right name but the wrong shape makes the parallel statement fail.
    QVERIFY(vDatabase.execQuery(QStringList{QStringLiteral("DROP TABLE verses;"),
                                            QStringLiteral("CREATE TABLE verses (x);")}));
    vDatabase.changeLanguage(QStringLiteral("ru"));
    LogCapture vLog;
    BoxRecorder vBoxes;
    QSignalSpy vReady(&vDatabase, &Database::translationReady);
    vDatabase.openBibleAddLanguage(QStringLiteral("en"), fakePage(5), QStringLiteral("1"),
                                   QStringLiteral("1"));
    QCOMPARE(vReady.size(), 0);
    QCOMPARE(vDatabase.currentLanguage(), QStringLiteral("ru"));
    QCOMPARE(Application::settings()->value(QStringLiteral("DataLanguage")).toString(),
             QStringLiteral("ru"));
    QTRY_COMPARE(vBoxes.count(), 1);
    // And the connection is on the Russian file again.
    QVERIFY(vDatabase.execQuery(QStringLiteral("SELECT count(*) FROM chapters;")));
}

void TestDatabase::translatorListOfASermon()
{
    TempAppDir vApp(languages());
    Database vDatabase(QStringLiteral("ru"), *Application::storeEnvironment());
    QStringList vcStatements = sermonStatements(QStringLiteral("65-1127"), QStringLiteral("A"),
                                                QStringLiteral("Petrov"), {});
    vcStatements << sermonStatements(QStringLiteral("65-1127 *"), QStringLiteral("A"),
                                     QStringLiteral("Sidorov"), {});
    vcStatements << sermonStatements(QStringLiteral("65-1128"), QStringLiteral("B"),
                                     QStringLiteral("Other"), {});
    vDatabase.changeLanguage(QStringLiteral("fr"));
    QVERIFY(vDatabase.execQuery(vcStatements));
    vDatabase.changeLanguage(QStringLiteral("ru"));
    QSignalSpy vList(&vDatabase, &Database::translatorListReady);
    vDatabase.setTranslatorList(QStringLiteral("fr"), fakePage(6), QStringLiteral("65-1127 *"),
                                nullptr);
    QCOMPARE(vList.size(), 1);
    QStringList vcTranslators = vList.first().at(0).toStringList();
    vcTranslators.sort();
    QCOMPARE(vcTranslators, (QStringList{QStringLiteral("Petrov"), QStringLiteral("Sidorov")}));
    QCOMPARE(vDatabase.currentLanguage(), QStringLiteral("ru"));
}

void TestDatabase::psalmConversion_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("verse");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("expectedChapter");
    QTest::addColumn<int>("expectedVerse");
    QTest::newRow("ru 9:5") << 9 << 5 << "ru"
                            << "en" << 9 << 5;
    QTest::newRow("ru 9:25") << 9 << 25 << "ru"
                             << "en" << 10 << 5;
    QTest::newRow("ru 50:3") << 50 << 3 << "ru"
                             << "fr" << 51 << 3;
    QTest::newRow("ru 113:10") << 113 << 10 << "ru"
                               << "en" << 115 << 2;
    QTest::newRow("ru 115:1") << 115 << 1 << "ru"
                              << "en" << 116 << 10;
    QTest::newRow("en 147:5") << 147 << 5 << "en"
                              << "ru" << 146 << 5;
    QTest::newRow("en 147:13, last match wins") << 147 << 13 << "en"
                                                << "ru" << 147 << 2;
    QTest::newRow("en 10:3") << 10 << 3 << "en"
                             << "ru" << 9 << 23;
    QTest::newRow("en to fr unchanged") << 10 << 3 << "en"
                                        << "fr" << 10 << 3;
    QTest::newRow("unknown psalm unchanged") << 200 << 1 << "ru"
                                             << "en" << 200 << 1;
}

void TestDatabase::psalmConversion()
{
    QFETCH(int, chapter);
    QFETCH(int, verse);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, expectedChapter);
    QFETCH(int, expectedVerse);
    const QVector<PsalmRecord> vcTable = PsalmTable::build();
    QCOMPARE(PsalmTable::convertPsalm(vcTable, chapter, verse, from, to),
             qMakePair(expectedChapter, expectedVerse));
    QCOMPARE(
        PsalmTable::convertPsalmChapters(vcTable, 9, QStringLiteral("ru"), QStringLiteral("en")),
        QString("9,").repeated(20) + QString("10,").repeated(18) + "10");
}

void TestDatabase::bookConversion_data()
{
    QTest::addColumn<int>("book");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ru 45 is en 59") << 45 << "ru"
                                    << "en"
                                    << "59";
    QTest::newRow("ru 51 is fr 65") << 51 << "ru"
                                    << "fr"
                                    << "65";
    QTest::newRow("ru 52 is en 45") << 52 << "ru"
                                    << "en"
                                    << "45";
    QTest::newRow("en 45 is ru 52") << 45 << "en"
                                    << "ru"
                                    << "52";
    QTest::newRow("en 65 is ru 51") << 65 << "en"
                                    << "ru"
                                    << "51";
    QTest::newRow("outside the moved range") << 19 << "ru"
                                             << "en"
                                             << "19";
    QTest::newRow("last book") << 66 << "en"
                               << "ru"
                               << "66";
    QTest::newRow("unknown pair") << 50 << "en"
                                  << "de"
                                  << "";
}

void TestDatabase::bookConversion()
{
    QFETCH(int, book);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    QCOMPARE(Database::convertBookNumber(book, from, to), expected);
}

void TestDatabase::bothThreadsShareTheConnection()
{
    TempAppDir vApp(languages());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->thread() != QThread::currentThread());
    QVERIFY(vpDatabase->execQuery(sermonStatements(QStringLiteral("60-0101"), QStringLiteral("T"),
                                                   QStringLiteral("X"),
                                                   {QStringLiteral("a"), QStringLiteral("b")})));
    vpDatabase->changeLanguage(QStringLiteral("en"));
    QVERIFY(vpDatabase->execQuery(sermonStatements(QStringLiteral("60-0101"), QStringLiteral("T"),
                                                   QStringLiteral("-"), {QStringLiteral("c")})));
    vpDatabase->changeLanguage(QStringLiteral("ru"));

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
        QMetaObject::invokeMethod(vpDatabase, "openQuotesParagraph", Qt::QueuedConnection,
                                  Q_ARG(TabArea *, fakePage(100 + i)), Q_ARG(int, 1));
        QMetaObject::invokeMethod(
            vpDatabase, "openQuotesParagraphAddLanguage", Qt::QueuedConnection,
            Q_ARG(QString, QStringLiteral("en")), Q_ARG(TabArea *, fakePage(200 + i)),
            Q_ARG(QString, QStringLiteral("X")), Q_ARG(QString, QStringLiteral("60-0101")));
        // ... while the GUI thread uses the same connection directly.
        QVERIFY(vpDatabase->execQuery(QStringLiteral("SELECT count(*) FROM paragraphs;")));
    }
    QTRY_COMPARE_WITH_TIMEOUT(vnAll, 2 * vnRequests, 60000);
    QCOMPARE(vnOther, vnRequests);
    QVERIFY(vLog.linesContaining(QStringLiteral("SQL Error")).isEmpty());
    QVERIFY(vLog.linesContaining(QStringLiteral("thread")).isEmpty());
    QVERIFY(vLog.linesContaining(QStringLiteral("without the data store's lock")).isEmpty());
    QCOMPARE(vpDatabase->currentLanguage(), QStringLiteral("ru"));
}

QUILLMARK_TEST_MAIN(TestDatabase)
#include "test_database.moc"
