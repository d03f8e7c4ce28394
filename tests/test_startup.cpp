// The program's start-up, run as the program runs it: one Application object,
// start() and showMainWindow(), against a temporary application folder. Run
// under a virtual X server, so the main window is a real window.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"

#include <JlCompress.h>

#include <QDate>
#include <QPushButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QStyle>

class TestStartup : public QObject
{
    Q_OBJECT

public:
    explicit TestStartup(TempAppDir &aApp) : mApp(aApp) {}

private slots:
    void cleanup();
    void constructionSetsFolderAndDataStore();
    void mainWindowIsShownMaximised();
    void styleSheetNameIsLowerCased();
    void waitingArchivesAreUnpackedWithOneNotice();
    void versionCheckAsksTheConfiguredServer();
    void updatesArriveAndAreImportedAtTheNextStart();
    void fullDiskKeepsTheUpdate();

private:
    // start() again, with these settings written first.
    static void startWith(const QVariantMap &acSettings);

    TempAppDir &mApp;
};

void TestStartup::cleanup()
{
    // Update files left by one test would be unpacked again by the next start().
    QDir vImport(Application::importPath());
    for (const QString &vsName : vImport.entryList(QDir::Files))
        vImport.remove(vsName);
}

void TestStartup::startWith(const QVariantMap &acSettings)
{
    Application::setSettingsFileWritable();
    for (auto it = acSettings.cbegin(); it != acSettings.cend(); ++it)
        Application::settings()->setValue(it.key(), it.value());
    qobject_cast<Application *>(QCoreApplication::instance())->start();
}

void TestStartup::constructionSetsFolderAndDataStore()
{
    QCOMPARE(QDir::currentPath(), QDir(mApp.path()).canonicalPath());
    // The shared options switched the data store to the configured language.
    QCOMPARE(Application::database()->currentLanguage(), QString("fr"));
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
        if (vpWidget->objectName() == "vpWindow")
            vpWindow = vpWidget;
    QVERIFY(vpWindow);
    QVERIFY(QTest::qWaitForWindowExposed(vpWindow));
    QVERIFY(vpWindow->windowState() & Qt::WindowMaximized);
    // Writable again, for its owner only.
    QCOMPARE(TestSupport::fileMode(Application::settingsFilePath()), 0600);
    QCOMPARE(TestSupport::readRows("fr", "SELECT name FROM sqlite_master WHERE type='table' AND "
                                         "sql LIKE 'CREATE VIRTUAL%' ORDER BY name;"),
             (QStringList{"bibles", "chapters", "paragraphs", "quotes", "verses"}));
}

void TestStartup::styleSheetNameIsLowerCased()
{
    QVERIFY(TestSupport::writeFile(Application::stylePath() + "/dark.qss",
                                   "QWidget { color: #123456; }"));
    startWith({{"styleSheet", "Dark"}});
    QCOMPARE(qApp->styleSheet(), QString("QWidget { color: #123456; }"));
    // A missing one leaves none, not the one before.
    startWith({{"styleSheet", "nothere"}, {"style", "Fusion"}});
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(qApp->style()->objectName().toLower(), QString("fusion"));
}

void TestStartup::waitingArchivesAreUnpackedWithOneNotice()
{
    // One update file arrived zipped under its own name, one as plain text.
    QTemporaryDir vScratch;
    const QString vsEntry = vScratch.filePath("ru_8.txt");
    const QString vsZipped = Application::importPath() + "/ru_8.txt";
    const QString vsPlain = Application::importPath() + "/en_3.txt";
    QVERIFY(TestSupport::writeFile(vsEntry, "63-0317\nTitle\n"));
    QVERIFY(JlCompress::compressFile(vScratch.filePath("packed.zip"), vsEntry));
    QVERIFY(QFile::rename(vScratch.filePath("packed.zip"), vsZipped));
    QVERIFY(TestSupport::writeFile(vsPlain, "plain update\n"));

    BoxRecorder vBoxes;
    qobject_cast<Application *>(QCoreApplication::instance())->start();

    QCOMPARE(vBoxes.count(), 1);
    // Shown in the interface language (English here).
    QCOMPARE(vBoxes.requests().first().text,
             QString("The database will be updated; the program will close automatically"));
    QCOMPARE(TestSupport::readFile(vsZipped), QByteArray("63-0317\nTitle\n"));
    QCOMPARE(TestSupport::readFile(vsPlain), QByteArray("plain update\n"));
}

void TestStartup::versionCheckAsksTheConfiguredServer()
{
    LoopbackHttpServer vServer;
    // Nothing newer than what is installed: no dialog, no box.
    vServer.setResponse("/zudoru26/version.txt", 200, "fr_0.txt\n");
    startWith({{"UpdateServer", QString("127.0.0.1:%1").arg(vServer.port())}});
    QCOMPARE(vServer.requestedPaths(), QStringList{"/zudoru26/version.txt"});
}

void TestStartup::updatesArriveAndAreImportedAtTheNextStart()
{
    // The server offers two updates, one zipped under its own name.
    QTemporaryDir vScratch;
    QVERIFY(TestSupport::writeFile(vScratch.filePath("fr_5.txt"),
                                   "47-0412\nFoi\nDupont\n-\n-\n1:00\nVille\nE-1 Premier\n"));
    QVERIFY(JlCompress::compressFile(vScratch.filePath("fr_5.zip"), vScratch.filePath("fr_5.txt")));
    LoopbackHttpServer vServer;
    vServer.setResponse("/zudoru26/version.txt", 200, "fr_5.txt\nfr_6.txt\n");
    vServer.setResponse("/zudoru26/fr_5.txt", 200,
                        TestSupport::readFile(vScratch.filePath("fr_5.zip")));
    vServer.setResponse("/zudoru26/fr_6.txt", 200,
                        "R63-0317\nSceaux\nDupont\n-\n-\n2:00\nVille\nE-1 Un\nE-2 Deux\n");
    // The update dialog opens during the version check: Update is pressed.
    QTimer vPress;
    connect(&vPress, &QTimer::timeout, [&vPress] {
        for (QWidget *vpWidget : QApplication::topLevelWidgets())
            if (auto *vpButton = vpWidget->findChild<QPushButton *>("vpUpdate");
                vpButton && vpWidget->isVisible()) {
                vPress.stop();
                vpButton->click();
            }
    });
    vPress.start(50);
    BoxRecorder vBoxes;
    startWith({{"UpdateServer", QString("127.0.0.1:%1").arg(vServer.port())}});
    QVERIFY(!vPress.isActive());
    QCOMPARE(Application::settings()->value("Version-fr").toInt(), 6);

    // The next start imports them behind its progress window and ends.
    auto *vpApp = qobject_cast<Application *>(QCoreApplication::instance());
    QSignalSpy vFiles(Application::database(), &Database::totalUpdated);
    QVERIFY(!vpApp->showMainWindow());
    QCOMPARE(vFiles.count(), 2);
    QCOMPARE(QDir(Application::importPath()).entryList(QDir::Files), QStringList());
    QSettings vWritten(Application::settingsFilePath(), QSettings::IniFormat);
    QCOMPARE(vWritten.value("DatabaseLastUpdated").toString(),
             QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(vWritten.value("DataLanguage").toString(), QString("fr"));

    // The start after that shows the new sermons.
    QVERIFY(vpApp->showMainWindow());
    QVERIFY(TestSupport::settle());
    QStringList vcTitles;
    for (QWidget *vpWidget : QApplication::topLevelWidgets())
        if (auto *vpTree = vpWidget->findChild<TreeView *>(); vpTree && vpWidget->isVisible())
            for (const QStandardItem *vpItem : TestSupport::catalogueItems(vpTree))
                vcTitles << vpItem->text();
    QCOMPARE(vcTitles, (QStringList{"Foi (47-0412)", "Sceaux (63-0317)"}));
}

void TestStartup::fullDiskKeepsTheUpdate()
{
    // An update larger than the 300 KiB file system under the data folder.
    Application::releaseSingletons();
    const QString vsData = Application::dataPath();
    SmallDisk vDisk(vsData, 300);
    if (!vDisk.problem().isEmpty())
        QSKIP(qPrintable(vDisk.problem()));
    QString vsText = "47-0412\nFoi\nDupont\n-\n-\n1:00\nVille\n";
    for (int i = 1; i <= 400; ++i)
        vsText += QString("E-%1 %2\n").arg(i).arg(QString("mot %1 ").arg(i).repeated(60));
    QVERIFY(TestSupport::writeFile(Application::importPath() + "/fr_7.txt", vsText.toUtf8()));

    BoxRecorder vBoxes;
    startWith({});
    auto *vpApp = qobject_cast<Application *>(QCoreApplication::instance());
    // Nothing went in, so the window opens on the data as it was ...
    QVERIFY(vpApp->showMainWindow());
    QVERIFY(TestSupport::settle());
    const QString vsFile = vsData + "/kvr_main_fr.sqlite";
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT count(*) FROM quotes;"), QStringList{"0"});
    QCOMPARE(TestSupport::fileRows(vsFile, "PRAGMA integrity_check;"), QStringList{"ok"});
    // ... the update waits under its own name for a start with room ...
    QCOMPARE(QDir(Application::importPath()).entryList(QDir::Files), QStringList{"fr_7.txt"});
    // ... and the reader is told why, once.
    QStringList vcTold;
    for (const ModalBox::Request &vRequest : vBoxes.requests())
        if (vRequest.title == "Data file")
            vcTold << vRequest.text;
    QCOMPARE(vcTold.size(), 1);
    QVERIFY2(vcTold.first().contains(QDir::toNativeSeparators(vsFile)) &&
                 vcTold.first().contains("is full"),
             qPrintable(vcTold.first()));
}

int main(int argc, char **argv)
{
    TestSupport::initProcess();
    // The program's log handler, with its boxes for SQL errors, throughout.
    LogCapture vLog;
    TempAppDir vApp({{"DataLanguage", "fr"}, {"Language", "en"}, {"DBLang1", "fr"}});
    Application vApplication(argc, argv);
    TestStartup vTest(vApp);
    QTEST_SET_MAIN_SOURCE_PATH
    const int vnResult = QTest::qExec(&vTest, argc, argv);
    return vnResult != 0 ? vnResult : (TestSupport::unexpectedBoxes() > 0 ? 1 : 0);
}

#include "test_startup.moc"
