// The import of update files, in the program and by the command-line tool,
// including an import killed at random moments.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"

#include <QDate>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlQuery>
#include <QTextCodec>

#include <memory>

#include <unistd.h>

namespace {

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}, {"DBLang2", "en"}};
}

// Update files are windows-1251.
bool writeUpdate(const QString &asName, const QString &asText)
{
    return TestSupport::writeFile(Application::importPath() + "/" + asName,
                                  QTextCodec::codecForName("windows-1251")->fromUnicode(asText));
}

QString sermonText(const QString &asDate, const QString &asName, const QStringList &acParagraphs)
{
    QString vsText = asDate + "\n" + asName + "\nTr\n-\n-\n1:00\nTown\n";
    for (int i = 0; i < acParagraphs.size(); ++i)
        vsText += QString("E-%1 %2\n").arg(i + 1).arg(acParagraphs.at(i));
    return vsText;
}

QStringList importFolder()
{
    return QDir(Application::importPath()).entryList(QDir::Files, QDir::Name);
}

TestSupport::ProgramRun importWithTool(const QString &asFolder)
{
    return TestSupport::runProgram(QUILLMARK_CLI, {"import", "--app-dir", asFolder});
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lineFormat_data();
    void lineFormat();
    void twoLanguagesThroughTheStartUpSignals();
    void failedFilesAreSetAside();
    void fullDiskKeepsTheUpdate();
    void toolImportsAndReports();
    void killedImportLosesNothing();

private:
    Database::ImportReport import() { return Application::database()->importUpdateFiles(); }

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<LogCapture> mpLog;
};

void TestImport::init()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    mpLog = std::make_unique<LogCapture>();
}

void TestImport::cleanup()
{
    // The program's own statements never raise the "Debug" box at start-up.
    const QStringList vcErrors = mpLog->linesContaining("SQL Error");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcErrors.isEmpty(), qPrintable(vcErrors.join('\n')));
}

void TestImport::lineFormat_data()
{
    QTest::addColumn<QStringList>("texts"); // imported one after the other
    QTest::addColumn<QStringList>("quotes");
    QTest::addColumn<QStringList>("paragraphs");

    QTest::newRow("continuation, and the empty line ends the sermon")
        << QStringList{"\n  47-0412\nFaith\nTr\n-\n-\n1:00\nTown\nstray\nE-1 First\ncontinued\n"
                       "E-2 Second\n\nE-3 After\n"}
        << QStringList{"47-0412|Faith|Tr|-|-|1:00|Town"}
        << QStringList{"47-0412|E-1| Firstcontinued", "47-0412|E-2| Second"};
    // Missing header lines are empty; the held paragraph is written anyway.
    QTest::newRow("short header") << QStringList{"47-0412\nFaith\n"}
                                  << QStringList{"47-0412|Faith|||||"} << QStringList{"47-0412||"};
    QTest::newRow("apostrophes and Cyrillic")
        << QStringList{sermonText("47'0412", "Вера O'Hara", {"Слово d'or"})}
        << QStringList{"47'0412|Вера O'Hara|Tr|-|-|1:00|Town"}
        << QStringList{"47'0412|E-1| Слово d'or"};
    // Without the replace marker a second copy is added; with it every record
    // of the date goes and the new one takes its place.
    const QStringList vcTwo{sermonText("47-0412", "First", {"one"}),
                            sermonText("47-0412", "Copy", {"two"})};
    QTest::newRow("a second copy")
        << vcTwo << QStringList{"47-0412|First|Tr|-|-|1:00|Town", "47-0412|Copy|Tr|-|-|1:00|Town"}
        << QStringList{"47-0412|E-1| one", "47-0412|E-1| two"};
    QTest::newRow("replace marker")
        << vcTwo + QStringList{"R" + sermonText("47-0412", "Corrected", {"new", "newer"})}
        << QStringList{"47-0412|Corrected|Tr|-|-|1:00|Town"}
        << QStringList{"47-0412|E-1| new", "47-0412|E-2| newer"};
}

void TestImport::lineFormat()
{
    QFETCH(QStringList, texts);
    for (int i = 0; i < texts.size(); ++i) {
        const QString vsName = QString("ru_%1.txt").arg(i + 1);
        QVERIFY(writeUpdate(vsName, texts.at(i)));
        QCOMPARE(import().mcImported, QStringList{vsName});
    }
    QTEST(TestSupport::readRows("ru", "SELECT date, name, translator, pdf, mp3, length, place "
                                      "FROM quotes;"),
          "quotes");
    QTEST(TestSupport::readRows("ru", "SELECT date, id, text FROM paragraphs ORDER BY rowid;"),
          "paragraphs");
    QCOMPARE(importFolder(), QStringList());
}

void TestImport::twoLanguagesThroughTheStartUpSignals()
{
    Database *vpDatabase = Application::database();
    QSignalSpy vStarted(vpDatabase, &Database::importStarted);
    QSignalSpy vFiles(vpDatabase, &Database::totalUpdated);
    QSignalSpy vCompleted(vpDatabase, &Database::importCompleted);
    QSignalSpy vFinished(vpDatabase, &Database::importFinished);
    auto startUp = [vpDatabase] {
        QMetaObject::invokeMethod(vpDatabase, &Database::importSql, Qt::QueuedConnection);
    };

    // Nothing waiting: no splash, and the start goes on.
    startUp();
    QVERIFY(vFinished.wait());
    QCOMPARE(vStarted.count(), 0);
    QCOMPARE(vCompleted.first(), (QList<QVariant>{0, 0}));

    // Unpacked updates are read-only; they go all the same once imported.
    QVERIFY(writeUpdate("ru_7.txt", sermonText("63-0317", "Печати", {"Первая"})));
    QVERIFY(writeUpdate("en_9.txt", sermonText("63-0317", "Seals", {"First", "Second"})));
    QVERIFY(QFile::setPermissions(Application::importPath() + "/en_9.txt",
                                  QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther));
    startUp();
    QVERIFY(vFinished.wait());
    QCOMPARE(vStarted.count(), 1);
    QCOMPARE(vFiles.count(), 2);
    QCOMPARE(vFiles.last(), (QList<QVariant>{2, 2}));
    QCOMPARE(vCompleted.last(), (QList<QVariant>{2, 0}));
    QCOMPARE(importFolder(), QStringList());
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM quotes;"), QStringList{"Печати"});
    QCOMPARE(TestSupport::readRows("en", "SELECT count(*) FROM paragraphs;"), QStringList{"2"});
    // The data language is the last file's; the date of the update is kept.
    const QString vsLast = vpDatabase->currentLanguage();
    QVERIFY(vsLast == "ru" || vsLast == "en");
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), vsLast);
    QCOMPARE(Application::settings()->value("DatabaseLastUpdated").toString(),
             QDate::currentDate().toString("yyyy-MM-dd"));
}

void TestImport::failedFilesAreSetAside()
{
    // A French database whose paragraphs refuse a text: the statements of a
    // file fail half-way, after its sermon record and its first paragraph.
    Application::database(); // the driver
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase("QSQLITEICU", "prepare");
        vDatabase.setDatabaseName(Application::dataPath() + "/kvr_main_fr.sqlite");
        QVERIFY(vDatabase.open());
        QSqlQuery vQuery(vDatabase);
        QVERIFY(vQuery.exec("CREATE TABLE paragraphs (uid INTEGER, id TEXT, date TEXT, text TEXT "
                            "CHECK (text NOT LIKE '%refused%'));"));
        vDatabase.close();
    }
    QSqlDatabase::removeDatabase("prepare");
    QVERIFY(writeUpdate("fr_1.txt", sermonText("47-0412", "Old", {"kept"})));
    QCOMPARE(import().mcImported, QStringList{"fr_1.txt"});

    // A failing replacement must leave the old sermon whole: the deletion
    // and the new rows were one transaction.
    QVERIFY(writeUpdate("fr_2.txt", "R" + sermonText("47-0412", "New", {"fine", "refused"})));
    QVERIFY(writeUpdate("fr_3.txt", sermonText("48-0101", "Next", {"fine"})));
    QVERIFY(writeUpdate("12.txt", sermonText("48-0102", "No language", {"lost?"})));
    QVERIFY(TestSupport::writeFile(Application::importPath() + "/fr_5.txt",
                                   QByteArray("PK\x03\x04\x14\0\0\0\x08\0zipped", 16)));
    const Database::ImportReport vReport = import();
    QCOMPARE(vReport.mcImported, QStringList{"fr_3.txt"});
    QCOMPARE(vReport.mcSetAside.size(), 3);
    QCOMPARE(importFolder(), (QStringList{"12.txt.failed", "fr_2.txt.failed", "fr_5.txt.failed"}));
    const QString vsFile = Application::dataPath() + "/kvr_main_fr.sqlite";
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT date, name FROM quotes ORDER BY date;"),
             (QStringList{"47-0412|Old", "48-0101|Next"}));
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT date, text FROM paragraphs ORDER BY rowid;"),
             (QStringList{"47-0412| kept", "48-0101| fine"}));
    // Set aside files are not tried again.
    QCOMPARE(import().mcImported.size() + import().mcSetAside.size(), 0);

    // A file that cannot be read is kept too (root reads anything).
    if (geteuid() != 0) {
        QVERIFY(writeUpdate("fr_4.txt", sermonText("49-0101", "Locked", {"x"})));
        QVERIFY(QFile::setPermissions(Application::importPath() + "/fr_4.txt", {}));
        QCOMPARE(import().mcSetAside.size(), 1);
        QVERIFY(importFolder().contains("fr_4.txt.failed"));
    }
}

void TestImport::fullDiskKeepsTheUpdate()
{
    // A file system of 400 KiB under the data folder, full half-way
    // through a sermon; mounting one needs the administrator.
    const QString vsData = Application::dataPath();
    SmallDisk vDisk(vsData, 400);
    if (!vDisk.problem().isEmpty())
        QSKIP(qPrintable(vDisk.problem()));
    QVERIFY(writeUpdate("ru_1.txt", sermonText("47-0412", "Small", {"fits"})));
    QCOMPARE(import().mcImported, QStringList{"ru_1.txt"});

    QStringList vcLong;
    for (int i = 0; i < 400; ++i)
        vcLong << QString("слово %1 ").arg(i).repeated(60);
    QVERIFY(writeUpdate("ru_2.txt", sermonText("47-0413", "Large", vcLong)));
    const Database::ImportReport vReport = import();
    QCOMPARE(vReport.mcImported, QStringList());
    // Kept as it is for a later start (it used to be set aside as failed),
    // and the database as it was.
    QCOMPARE(importFolder(), QStringList{"ru_2.txt"});
    QVERIFY2(vReport.mcSetAside.value(0).contains("kept for the next start"),
             qPrintable(vReport.mcSetAside.join('\n')));
    const QString vsFile = vsData + "/kvr_main_ru.sqlite";
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT name FROM quotes;"), QStringList{"Small"});
    QCOMPARE(TestSupport::fileRows(vsFile, "PRAGMA integrity_check;"), QStringList{"ok"});
}

void TestImport::toolImportsAndReports()
{
    const QString vsFolder = mpApp->path();
    QCOMPARE(importWithTool(vsFolder).mnStatus, 1);
    QVERIFY(writeUpdate("ru_1.txt", sermonText("47-0412", "Вера", {"Слово"})));
    QVERIFY(writeUpdate("12.txt", "not an update"));
    Application::releaseSingletons();
    const TestSupport::ProgramRun vRun = importWithTool(vsFolder);
    QCOMPARE(vRun.mnStatus, 4);
    QCOMPARE(vRun.errLines(), (QStringList{"imported ru_1.txt",
                                           "set aside 12.txt: its name names no data language"}));
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM quotes;"), QStringList{"Вера"});
    // The program's data language is the tool's to keep.
    QSettings vSettings(Application::settingsFilePath(), QSettings::IniFormat);
    QCOMPARE(vSettings.value("DataLanguage").toString(), QString("ru"));
    QCOMPARE(vSettings.value("DatabaseLastUpdated").toString(),
             QDate::currentDate().toString("yyyy-MM-dd"));
}

void TestImport::killedImportLosesNothing()
{
    // Ten sermons to be replaced, ten new ones to be added; the import is
    // killed (SIGKILL) at a random moment, twenty times over.
    const int cnFiles = 20;
    const int cnParagraphs = 400;
    for (int k = 0; k < cnFiles / 2; ++k)
        QVERIFY(writeUpdate(QString("ru_%1.txt").arg(k + 1),
                            sermonText(QString("50-%1").arg(k, 4, 10, QChar('0')),
                                       QString("Old %1").arg(k), {"old a", "old b"})));
    QCOMPARE(import().mcImported.size(), cnFiles / 2);
    Application::releaseSingletons();
    QTemporaryDir vPristine;
    QVERIFY(QFile::copy(Application::dataPath() + "/kvr_main_ru.sqlite",
                        vPristine.filePath("kvr_main_ru.sqlite")));
    QStringList vcNames;
    QStringList vcNew;
    for (int i = 1; i <= cnParagraphs; ++i)
        vcNew << QString("new %1").arg(i);
    for (int k = 0; k < cnFiles; ++k) {
        const QString vsDate = QString("50-%1").arg(k, 4, 10, QChar('0'));
        const QString vsName = QString("ru_%1.txt").arg(100 + k);
        vcNames << vsName;
        QVERIFY(TestSupport::writeFile(
            vPristine.filePath(vsName),
            ((k < cnFiles / 2 ? "R" : "") + sermonText(vsDate, QString("New %1").arg(k), vcNew))
                .toUtf8()));
    }

    // One copy of the folder per run, from the same pristine state.
    auto prepare = [&](const QString &asFolder) {
        QDir().mkpath(asFolder + "/sql/data");
        QDir().mkpath(asFolder + "/sql/import");
        bool vbOk = QFile::copy(Application::settingsFilePath(), asFolder + "/setting.ini") &&
                    QFile::copy(vPristine.filePath("kvr_main_ru.sqlite"),
                                asFolder + "/sql/data/kvr_main_ru.sqlite");
        for (const QString &vsName : vcNames)
            vbOk =
                vbOk && QFile::copy(vPristine.filePath(vsName), asFolder + "/sql/import/" + vsName);
        return vbOk;
    };
    // A whole run first: every file goes in, and it tells how long the import takes.
    QTemporaryDir vWhole;
    QVERIFY(prepare(vWhole.path()));
    QElapsedTimer vClock;
    vClock.start();
    const TestSupport::ProgramRun vRun = importWithTool(vWhole.path());
    const int vnRunMs = int(vClock.elapsed());
    QCOMPARE(vRun.mnStatus, 0);
    QCOMPARE(vRun.errLines().size(), cnFiles);

    QRandomGenerator vRandom(20261206);
    int vnInterrupted = 0;
    for (int vnRound = 0; vnRound < 20; ++vnRound) {
        QTemporaryDir vFolder;
        QVERIFY(prepare(vFolder.path()));
        QProcess vProcess;
        // A killed tool cannot remove its temporary folder; it leaves it
        // inside the round's folder instead of the system's.
        QProcessEnvironment vEnvironment = QProcessEnvironment::systemEnvironment();
        vEnvironment.insert("TMPDIR", vFolder.path());
        vProcess.setProcessEnvironment(vEnvironment);
        vProcess.start(QUILLMARK_CLI, {"import", "--app-dir", vFolder.path()});
        QVERIFY(vProcess.waitForStarted());
        // The random moment of the kill; the wait ends early if the import does.
        if (!vProcess.waitForFinished(int(vRandom.bounded(vnRunMs + 1)))) {
            ++vnInterrupted;
            vProcess.kill();
            vProcess.waitForFinished();
        }
        const QString vsFile = vFolder.filePath("sql/data/kvr_main_ru.sqlite");
        QCOMPARE(TestSupport::fileRows(vsFile, "PRAGMA integrity_check;"), QStringList{"ok"});
        for (const char *vsTable : {"quotes", "paragraphs"})
            QCOMPARE(
                TestSupport::fileRows(
                    vsFile, QString("INSERT INTO %1(%1) VALUES('integrity-check');").arg(vsTable)),
                QStringList());
        const QStringList vcLeft = QDir(vFolder.filePath("sql/import")).entryList(QDir::Files);
        for (int k = 0; k < cnFiles; ++k) {
            const QString vsDate = QString("50-%1").arg(k, 4, 10, QChar('0'));
            const QString vsState =
                TestSupport::fileRows(
                    vsFile,
                    QString("SELECT group_concat(name), (SELECT count(*) || '/' || "
                            "ifnull(sum(text LIKE ' new%'), 0) FROM paragraphs WHERE date = "
                            "'%1') FROM quotes WHERE date = '%1';")
                        .arg(vsDate))
                    .join(' ');
            const QString vsNew = QString("New %1|%2/%2").arg(k).arg(cnParagraphs);
            const QString vsOld = k < cnFiles / 2 ? QString("Old %1|2/0").arg(k) : QString("|0/0");
            QVERIFY2(vsState == vsNew || vsState == vsOld,
                     qPrintable(QString("round %1, %2: %3").arg(vnRound).arg(vsDate, vsState)));
            // Until its sermon is in, an update file stays where it was.
            if (vsState != vsNew)
                QVERIFY2(vcLeft.contains(vcNames.at(k)), qPrintable(vcNames.at(k)));
        }
        QCOMPARE(vcLeft.filter(".failed"), QStringList());
    }
    QVERIFY(vnInterrupted > 10);
}

QUILLMARK_TEST_MAIN(TestImport)
#include "test_import.moc"
