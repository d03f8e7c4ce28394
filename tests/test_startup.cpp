// The program's start-up, run as the program runs it: one Application object,
// start() and showMainWindow(), against a temporary application folder. Run
// under a virtual X server, so the main window is a real window.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"

#include <JlCompress.h>

#include <QSqlQuery>
#include <QStyle>

#include <memory>

class TestStartup : public QObject
{
    Q_OBJECT

public:
    explicit TestStartup(TempAppDir &aApp, LogCapture &aLog) : mApp(aApp), mLog(aLog) {}

private slots:
    void cleanup();
    void constructionSetsIdentityAndDataStore();
    void mainWindowIsShownMaximised();
    void styleSheetNameIsLowerCased();
    void missingStyleSheetGivesNone();
    void waitingArchivesAreUnpackedWithOneNotice();
    void versionCheckAsksTheConfiguredServer();
    void versionCheckIsSkippedWithoutServer();

private:
    TempAppDir &mApp;
    LogCapture &mLog;
};

void TestStartup::cleanup()
{
    // Update files left by one test would be unpacked again by the next start().
    QDir vImport(Application::importPath());
    for (const QString &vsName : vImport.entryList(QDir::Files))
        vImport.remove(vsName);
}

void TestStartup::constructionSetsIdentityAndDataStore()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("KVR"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("2.6"));
    QCOMPARE(QDir::currentPath(), QDir(mApp.path()).canonicalPath());
    // Lines logged while the application object was built.
    QCOMPARE(mLog.linesContaining(QStringLiteral("Create table")).size(), 5);
    // The shared options switched the data store to the configured language.
    QCOMPARE(Application::sharedOptions()->dataLanguage(), QStringLiteral("fr"));
    QCOMPARE(Application::database()->currentLanguage(), QStringLiteral("fr"));
    QVERIFY(Application::database()->thread() != QThread::currentThread());
}

void TestStartup::mainWindowIsShownMaximised()
{
    auto *vpApp = qobject_cast<Application *>(QCoreApplication::instance());
    vpApp->start();
    // Read-only while update files may still be imported.
    QCOMPARE(TestSupport::fileMode(Application::settingsFilePath()), 0444);
    vpApp->showMainWindow();

    QWidget *vpWindow = nullptr;
    for (QWidget *vpWidget : QApplication::topLevelWidgets())
        if (vpWidget->objectName() == QLatin1String("vpWindow"))
            vpWindow = vpWidget;
    QVERIFY(vpWindow);
    QVERIFY(QTest::qWaitForWindowExposed(vpWindow));
    QVERIFY(vpWindow->windowState() & Qt::WindowMaximized);
    // Writable again, for its owner only.
    QCOMPARE(TestSupport::fileMode(Application::settingsFilePath()), 0600);

    QSqlDatabase vCheck =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), QStringLiteral("check"));
    vCheck.setDatabaseName(mApp.filePath(QStringLiteral("sql/data/kvr_main_fr.sqlite")));
    QVERIFY(vCheck.open());
    {
        QSqlQuery vQuery(vCheck);
        QVERIFY(vQuery.exec(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND sql IS NOT NULL "
                           "AND sql LIKE 'CREATE VIRTUAL%' ORDER BY name;")));
        QStringList vcTables;
        while (vQuery.next())
            vcTables << vQuery.value(0).toString();
        QCOMPARE(vcTables, (QStringList{QStringLiteral("bibles"), QStringLiteral("chapters"),
                                        QStringLiteral("paragraphs"), QStringLiteral("quotes"),
                                        QStringLiteral("verses")}));
    }
    vCheck.close();
    vCheck = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

void TestStartup::styleSheetNameIsLowerCased()
{
    QDir().mkpath(Application::stylePath());
    QFile vSheet(Application::stylePath() + QStringLiteral("/dark.qss"));
    QVERIFY(vSheet.open(QIODevice::WriteOnly));
    vSheet.write("QWidget { color: #123456; }");
    vSheet.close();
    Application::setSettingsFileWritable();
    Application::settings()->setValue(QStringLiteral("styleSheet"), QStringLiteral("Dark"));
    qobject_cast<Application *>(QCoreApplication::instance())->start();
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QWidget { color: #123456; }"));
}

void TestStartup::missingStyleSheetGivesNone()
{
    Application::setSettingsFileWritable();
    Application::settings()->setValue(QStringLiteral("styleSheet"), QStringLiteral("nothere"));
    Application::settings()->setValue(QStringLiteral("style"), QStringLiteral("Fusion"));
    qobject_cast<Application *>(QCoreApplication::instance())->start();
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(qApp->style()->objectName().toLower(), QStringLiteral("fusion"));
}

void TestStartup::waitingArchivesAreUnpackedWithOneNotice()
{
    // One update file arrived zipped under its own name, one as plain text.
    QTemporaryDir vScratch;
    const QString vsEntry = vScratch.filePath(QStringLiteral("ru_8.txt"));
    QFile vText(vsEntry);
    QVERIFY(vText.open(QIODevice::WriteOnly));
    vText.write("63-0317\nTitle\n");
    vText.close();
    const QString vsZipped = Application::importPath() + QStringLiteral("/ru_8.txt");
    QVERIFY(JlCompress::compressFile(vScratch.filePath(QStringLiteral("packed.zip")), vsEntry));
    QVERIFY(QFile::rename(vScratch.filePath(QStringLiteral("packed.zip")), vsZipped));
    QFile vPlain(Application::importPath() + QStringLiteral("/en_3.txt"));
    QVERIFY(vPlain.open(QIODevice::WriteOnly));
    vPlain.write("plain update\n");
    vPlain.close();

    LogCapture vLog;
    BoxRecorder vBoxes;
    qobject_cast<Application *>(QCoreApplication::instance())->start();

    QCOMPARE(vBoxes.count(), 1);
    // Shown in the interface language (English here).
    QCOMPARE(vBoxes.requests().first().text,
             QCoreApplication::translate(
                 "Application", "База будет обновлена, программа закроется автоматически"));
    QCOMPARE(vBoxes.requests().first().text,
             QStringLiteral("The database will be updated; the program will close automatically"));
    QCOMPARE(vLog.linesContaining(QStringLiteral("Unpack successful")).size(), 1);
    QCOMPARE(vLog.linesContaining(QStringLiteral("Unpack failed")).size(), 1);
    QFile vUnpacked(vsZipped);
    QVERIFY(vUnpacked.open(QIODevice::ReadOnly));
    QCOMPARE(vUnpacked.readAll(), QByteArray("63-0317\nTitle\n"));
    QFile vUntouched(Application::importPath() + QStringLiteral("/en_3.txt"));
    QVERIFY(vUntouched.open(QIODevice::ReadOnly));
    QCOMPARE(vUntouched.readAll(), QByteArray("plain update\n"));
}

void TestStartup::versionCheckAsksTheConfiguredServer()
{
    LoopbackHttpServer vServer;
    // Nothing newer than what is installed: no dialog, no box.
    vServer.setResponse(QStringLiteral("/zudoru26/version.txt"), 200, "fr_0.txt\n");
    Application::setSettingsFileWritable();
    Application::settings()->setValue(QStringLiteral("UpdateServer"),
                                      QStringLiteral("127.0.0.1:%1").arg(vServer.port()));
    qobject_cast<Application *>(QCoreApplication::instance())->start();
    QCOMPARE(vServer.requestedPaths(), QStringList{QStringLiteral("/zudoru26/version.txt")});
}

void TestStartup::versionCheckIsSkippedWithoutServer()
{
    Application::setSettingsFileWritable();
    Application::settings()->setValue(QStringLiteral("UpdateServer"), QString());
    LogCapture vLog;
    qobject_cast<Application *>(QCoreApplication::instance())->start();
    QCOMPARE(vLog.linesContaining(QStringLiteral("version check skipped")).size(), 1);
}

int main(int argc, char **argv)
{
    TestSupport::initProcess();
    LogCapture vLog;
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("fr")},
                     {QStringLiteral("Language"), QStringLiteral("en")},
                     {QStringLiteral("DBLang1"), QStringLiteral("fr")}});
    Application vApplication(argc, argv);
    TestStartup vTest(vApp, vLog);
    QTEST_SET_MAIN_SOURCE_PATH
    const int vnResult = QTest::qExec(&vTest, argc, argv);
    return vnResult != 0 ? vnResult : (TestSupport::unexpectedBoxes() > 0 ? 1 : 0);
}

#include "test_startup.moc"
