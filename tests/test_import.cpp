// The import of update files: the line format as it reaches the tables, the
// replace marker, files of two languages, files set aside instead of lost,
// the command-line import, and an import killed at random moments that must
// leave every sermon whole and every unimported file in place.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"

#include <QDate>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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

QStringList numbered(const QString &asPrefix, int anCount)
{
    QStringList vcTexts;
    for (int i = 1; i <= anCount; ++i)
        vcTexts << QString("%1 %2").arg(asPrefix).arg(i);
    return vcTexts;
}

QStringList importFolder()
{
    return QDir(Application::importPath()).entryList(QDir::Files, QDir::Name);
}

// Rows of a statement on a database file, through a connection of the
// test's own ("failed: ..." when it fails).
QStringList rowsOf(const QString &asFile, const QString &asStatement)
{
    QStringList vcRows;
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase("QSQLITEICU", "check");
        vDatabase.setDatabaseName(asFile);
        QSqlQuery vQuery(vDatabase);
        if (!vDatabase.open() || !vQuery.exec(asStatement))
            vcRows << "failed: " + vQuery.lastError().text();
        while (vQuery.next()) {
            QStringList vcColumns;
            for (int i = 0; i < vQuery.record().count(); ++i)
                vcColumns << vQuery.value(i).toString();
            vcRows << vcColumns.join('|');
        }
    }
    QSqlDatabase::removeDatabase("check");
    return vcRows;
}

struct CliRun
{
    int mnStatus = -1;
    QStringList mcLines; // standard error
};

CliRun importWithTool(const QString &asFolder)
{
    QProcess vProcess;
    vProcess.start(QUILLMARK_CLI, {"import", "--app-dir", asFolder});
    vProcess.waitForFinished(60000);
    return {vProcess.exitCode(),
            QString::fromUtf8(vProcess.readAllStandardError()).split('\n', Qt::SkipEmptyParts)};
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
    void replaceMarker();
    void twoLanguagesThroughTheStartUpSignals();
    void failedFilesAreSetAside();
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("quotes");
    QTest::addColumn<QStringList>("paragraphs");

    QTest::newRow("continuation, and the empty line ends the sermon")
        << "\n  47-0412\nFaith\nTr\n-\n-\n1:00\nTown\nstray\nE-1 First\ncontinued\nE-2 "
           "Second\n\nE-3 After\n"
        << QStringList{"47-0412|Faith|Tr|-|-|1:00|Town"}
        << QStringList{"E-1| Firstcontinued", "E-2| Second"};
    // Missing header lines are empty; the held paragraph is written anyway.
    QTest::newRow("short header") << "47-0412\nFaith\n"
                                  << QStringList{"47-0412|Faith|||||"} << QStringList{"|"};
    QTest::newRow("apostrophes and Cyrillic")
        << sermonText("47'0412", "Вера O'Hara", {"Слово d'or"})
        << QStringList{"47'0412|Вера O'Hara|Tr|-|-|1:00|Town"} << QStringList{"E-1| Слово d'or"};
}

void TestImport::lineFormat()
{
    QFETCH(QString, text);
    QVERIFY(writeUpdate("ru_1.txt", text));
    QCOMPARE(import().mcImported, QStringList{"ru_1.txt"});
    QTEST(TestSupport::readRows("ru", "SELECT date, name, translator, pdf, mp3, length, place "
                                      "FROM quotes;"),
          "quotes");
    QTEST(TestSupport::readRows("ru", "SELECT id, text FROM paragraphs ORDER BY rowid;"),
          "paragraphs");
    QCOMPARE(importFolder(), QStringList());
}

void TestImport::replaceMarker()
{
    // Without the marker a second copy is added; with it every record of the
    // date goes and the new one takes its place.
    QVERIFY(writeUpdate("ru_1.txt", sermonText("47-0412", "First", {"one"})));
    QVERIFY(writeUpdate("ru_2.txt", sermonText("47-0412", "Copy", {"two"})));
    QCOMPARE(import().mcImported.size(), 2);
    QCOMPARE(TestSupport::readRows("ru", "SELECT count(*) FROM quotes WHERE date = '47-0412';"),
             QStringList{"2"});
    QVERIFY(writeUpdate("ru_3.txt", "R" + sermonText("47-0412", "Corrected", {"new", "newer"})));
    QCOMPARE(import().mcImported.size(), 1);
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM quotes;"), QStringList{"Corrected"});
    QCOMPARE(TestSupport::readRows("ru", "SELECT date, text FROM paragraphs ORDER BY rowid;"),
             (QStringList{"47-0412| new", "47-0412| newer"}));
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
    QCOMPARE(rowsOf(vsFile, "SELECT date, name FROM quotes ORDER BY date;"),
             (QStringList{"47-0412|Old", "48-0101|Next"}));
    QCOMPARE(rowsOf(vsFile, "SELECT date, text FROM paragraphs ORDER BY rowid;"),
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

void TestImport::toolImportsAndReports()
{
    const QString vsFolder = mpApp->path();
    QCOMPARE(importWithTool(vsFolder).mnStatus, 1);
    QVERIFY(writeUpdate("ru_1.txt", sermonText("47-0412", "Вера", {"Слово"})));
    QVERIFY(writeUpdate("12.txt", "not an update"));
    Application::releaseSingletons();
    const CliRun vRun = importWithTool(vsFolder);
    QCOMPARE(vRun.mnStatus, 4);
    QCOMPARE(vRun.mcLines, (QStringList{"imported ru_1.txt",
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
    for (int k = 0; k < cnFiles; ++k) {
        const QString vsDate = QString("50-%1").arg(k, 4, 10, QChar('0'));
        const QString vsName = QString("ru_%1.txt").arg(100 + k);
        vcNames << vsName;
        QVERIFY(TestSupport::writeFile(
            vPristine.filePath(vsName),
            ((k < cnFiles / 2 ? "R" : "") +
             sermonText(vsDate, QString("New %1").arg(k), numbered("new", cnParagraphs)))
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
    const CliRun vRun = importWithTool(vWhole.path());
    const int vnRunMs = int(vClock.elapsed());
    QCOMPARE(vRun.mnStatus, 0);
    QCOMPARE(vRun.mcLines.size(), cnFiles);

    QRandomGenerator vRandom(20261206);
    int vnInterrupted = 0;
    for (int vnRound = 0; vnRound < 20; ++vnRound) {
        QTemporaryDir vFolder;
        QVERIFY(prepare(vFolder.path()));
        QProcess vProcess;
        vProcess.start(QUILLMARK_CLI, {"import", "--app-dir", vFolder.path()});
        QVERIFY(vProcess.waitForStarted());
        // The random moment of the kill; the wait ends early if the import does.
        if (!vProcess.waitForFinished(int(vRandom.bounded(vnRunMs + 1)))) {
            ++vnInterrupted;
            vProcess.kill();
            vProcess.waitForFinished();
        }
        const QString vsFile = vFolder.filePath("sql/data/kvr_main_ru.sqlite");
        QCOMPARE(rowsOf(vsFile, "PRAGMA integrity_check;"), QStringList{"ok"});
        for (const char *vsTable : {"quotes", "paragraphs"})
            QCOMPARE(rowsOf(vsFile,
                            QString("INSERT INTO %1(%1) VALUES('integrity-check');").arg(vsTable)),
                     QStringList());
        const QStringList vcLeft = QDir(vFolder.filePath("sql/import")).entryList(QDir::Files);
        for (int k = 0; k < cnFiles; ++k) {
            const QString vsDate = QString("50-%1").arg(k, 4, 10, QChar('0'));
            const QString vsState =
                rowsOf(vsFile,
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
