// The application object's static side: the folder layout below the
// application directory, the per-thread settings, the data store's worker
// thread, the settings file's permissions, the update server address, and
// the unpacking of update archives named like their entry.
//
// Application itself (start(), showMainWindow()) is not constructed here: the
// test program already owns the QApplication. The smoke test of the real
// program covers the start-up sequence.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/archiveunpacker.h"
#include "models/database.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QThread>

#include <JlCompress.h>

#include <functional>
#include <thread>

namespace {

QByteArray readFile(const QString &asPath)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::ReadOnly) ? vFile.readAll() : QByteArray();
}

bool writeFile(const QString &asPath, const QByteArray &aaContent)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::WriteOnly) && vFile.write(aaContent) == aaContent.size();
}

// Runs aWork on a thread of its own and returns once that thread has ended.
// A plain std::thread: its join() is a hand-over that ThreadSanitizer sees.
void runOnOtherThread(const std::function<void()> &aWork)
{
    std::thread vThread(aWork);
    vThread.join();
}

// Permission bits that do not depend on who runs the test: the "User" flags
// describe the current user's access, and root may write anything.
QFile::Permissions ownerGroupOther(const QString &asPath)
{
    return QFile::permissions(asPath) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

// An update file's text as it arrives: windows-1251 bytes and CRLF line ends,
// long enough to be compressed for real.
QByteArray updateFileContent()
{
    QByteArray vaContent;
    for (int i = 0; i < 200; ++i)
        vaContent += "INSERT INTO quotes VALUES(" + QByteArray::number(i) +
                     ",'\xcf\xf0\xe8\xec\xe5\xf0 " + QByteArray::number(i * 7919 % 1000) +
                     "');\r\n";
    return vaContent;
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void folderPaths_data();
    void folderPaths();
    void databaseFilePathFollowsDataLanguage_data();
    void databaseFilePathFollowsDataLanguage();

    void settingsArePerThreadAndShared();

    void databaseLivesOnItsOwnThread();

    void settingsFilePermissions();

    void updateServerBase_data();
    void updateServerBase();

    void extractNamedEntry_data();
    void extractNamedEntry();
};

void TestApplication::folderPaths_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("relative");

    QTest::newRow("sql") << QStringLiteral("sqlPath") << QStringLiteral("sql");
    QTest::newRow("import") << QStringLiteral("importPath") << QStringLiteral("sql/import");
    QTest::newRow("data") << QStringLiteral("dataPath") << QStringLiteral("sql/data");
    QTest::newRow("asset") << QStringLiteral("assetPath") << QStringLiteral("asset");
    QTest::newRow("style") << QStringLiteral("stylePath") << QStringLiteral("style");
}

void TestApplication::folderPaths()
{
    QFETCH(QString, operation);
    QFETCH(QString, relative);

    const QMap<QString, std::function<QString()>> vcOperations{
        {QStringLiteral("sqlPath"), &Application::sqlPath},
        {QStringLiteral("importPath"), &Application::importPath},
        {QStringLiteral("dataPath"), &Application::dataPath},
        {QStringLiteral("assetPath"), &Application::assetPath},
        {QStringLiteral("stylePath"), &Application::stylePath},
    };
    TempAppDir vApp;
    const QString vsExpected = vApp.filePath(relative);
    QVERIFY(!QFileInfo::exists(vsExpected));

    QCOMPARE(QDir::cleanPath(vcOperations.value(operation)()), vsExpected);
    QVERIFY(QFileInfo(vsExpected).isDir());
    // The settings file sits directly in the application folder and is never
    // created by asking for its path.
    QCOMPARE(Application::settingsFilePath(), vApp.filePath(QStringLiteral("setting.ini")));
}

void TestApplication::databaseFilePathFollowsDataLanguage_data()
{
    QTest::addColumn<QVariant>("dataLanguage");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("missing") << QVariant() << QStringLiteral("kvr_main_ru.sqlite");
    QTest::newRow("en") << QVariant(QStringLiteral("en")) << QStringLiteral("kvr_main_en.sqlite");
    QTest::newRow("fr") << QVariant(QStringLiteral("fr")) << QStringLiteral("kvr_main_fr.sqlite");
}

void TestApplication::databaseFilePathFollowsDataLanguage()
{
    QFETCH(QVariant, dataLanguage);
    QFETCH(QString, fileName);

    TempAppDir vApp;
    if (dataLanguage.isValid())
        vApp.writeSettings({{QStringLiteral("DataLanguage"), dataLanguage}});
    QCOMPARE(Application::databaseFilePath(),
             vApp.filePath(QStringLiteral("sql/data/") + fileName));
    QVERIFY(QFileInfo(vApp.filePath(QStringLiteral("sql/data"))).isDir());
}

void TestApplication::settingsArePerThreadAndShared()
{
    TempAppDir vApp;
    QSettings *vpGui = Application::settings();
    QCOMPARE(Application::settings(), vpGui);
    QCOMPARE(vpGui->fileName(), Application::settingsFilePath());

    QSettings *vpWorker = nullptr;
    QString vsSeenByWorker;
    vpGui->setValue(QStringLiteral("FromGui"), QStringLiteral("gui"));
    runOnOtherThread([&] {
        vpWorker = Application::settings();
        vsSeenByWorker = vpWorker->value(QStringLiteral("FromGui")).toString();
        vpWorker->setValue(QStringLiteral("FromWorker"), QStringLiteral("worker"));
    });

    QVERIFY(vpWorker != vpGui);
    QCOMPARE(vsSeenByWorker, QStringLiteral("gui"));
    QCOMPARE(vpGui->value(QStringLiteral("FromWorker")).toString(), QStringLiteral("worker"));
}

void TestApplication::databaseLivesOnItsOwnThread()
{
    TempAppDir vApp;
    QPointer<Database> vpDatabase = Application::database();
    QVERIFY(vpDatabase);
    QCOMPARE(Application::database(), vpDatabase.data());

    QPointer<QThread> vpThread = vpDatabase->thread();
    QVERIFY(vpThread);
    QVERIFY(vpThread != QCoreApplication::instance()->thread());
    QVERIFY(vpThread->isRunning());
    // The first use opens the default data language's file.
    QVERIFY(QFileInfo::exists(vApp.filePath(QStringLiteral("sql/data/kvr_main_ru.sqlite"))));

    // Destroying a QThread that still runs would be fatal, so a thread that
    // has gone has also stopped.
    Application::releaseSingletons();
    QVERIFY(vpDatabase.isNull());
    QVERIFY(vpThread.isNull());

    // Released singletons come back afresh on the next use.
    Database *vpAgain = Application::database();
    QVERIFY(vpAgain);
    QVERIFY(vpAgain->thread() != QCoreApplication::instance()->thread());
    QVERIFY(vpAgain->thread()->isRunning());
}

void TestApplication::settingsFilePermissions()
{
    TempAppDir vApp({{QStringLiteral("Language"), QStringLiteral("en")}});
    const QString vsFile = Application::settingsFilePath();
    QVERIFY(QFileInfo::exists(vsFile));

    Application::setSettingsFileReadOnly();
    QCOMPARE(ownerGroupOther(vsFile), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    // Making the file writable again once granted write access to group and
    // others (0x6222) as well; only its owner may write it.
    Application::setSettingsFileWritable();
    QCOMPARE(ownerGroupOther(vsFile), QFile::ReadOwner | QFile::WriteOwner);
}

void TestApplication::updateServerBase_data()
{
    QTest::addColumn<QVariant>("server");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing") << QVariant() << QString();
    QTest::newRow("empty") << QVariant(QString()) << QString();
    QTest::newRow("blank") << QVariant(QStringLiteral("  ")) << QString();
    QTest::newRow("host") << QVariant(QStringLiteral("updates.example.org"))
                          << QStringLiteral("http://updates.example.org/zudoru26");
    QTest::newRow("host and port") << QVariant(QStringLiteral("127.0.0.1:8080"))
                                   << QStringLiteral("http://127.0.0.1:8080/zudoru26");
}

void TestApplication::updateServerBase()
{
    QFETCH(QVariant, server);
    QFETCH(QString, expected);

    TempAppDir vApp;
    if (server.isValid())
        vApp.writeSettings({{QStringLiteral("UpdateServer"), server}});
    QCOMPARE(Application::updateServerBase(), expected);
}

void TestApplication::extractNamedEntry_data()
{
    QTest::addColumn<QString>("archiveKind");
    QTest::addColumn<bool>("extracted");

    QTest::newRow("archive holding its own name") << QStringLiteral("named") << true;
    QTest::newRow("plain update file") << QStringLiteral("plain") << false;
    QTest::newRow("archive lacking the entry") << QStringLiteral("other entry") << false;
    QTest::newRow("archive with damaged data") << QStringLiteral("damaged") << false;
    QTest::newRow("truncated archive") << QStringLiteral("truncated") << false;
}

void TestApplication::extractNamedEntry()
{
    QFETCH(QString, archiveKind);
    QFETCH(bool, extracted);

    QTemporaryDir vDir;
    QVERIFY(QDir(vDir.path()).mkpath(QStringLiteral("source")));
    QVERIFY(QDir(vDir.path()).mkpath(QStringLiteral("import")));
    const QByteArray vaContent = updateFileContent();
    const QString vsTarget = vDir.filePath(QStringLiteral("import/ru_7.txt"));

    if (archiveKind == QLatin1String("plain")) {
        QVERIFY(writeFile(vsTarget, vaContent));
    } else {
        const QString vsEntry = archiveKind == QLatin1String("other entry")
                                    ? QStringLiteral("ru_8.txt")
                                    : QStringLiteral("ru_7.txt");
        const QString vsSource = vDir.filePath(QStringLiteral("source/") + vsEntry);
        const QString vsZip = vDir.filePath(QStringLiteral("import/ru_7.zip"));
        QVERIFY(writeFile(vsSource, vaContent));
        QVERIFY(JlCompress::compressFile(vsZip, vsSource));
        QVERIFY(QFile::rename(vsZip, vsTarget));

        QByteArray vaZip = readFile(vsTarget);
        if (archiveKind == QLatin1String("damaged")) {
            // Past the local header (30 bytes + name): garbles the compressed data.
            for (int i = 60; i < 90; ++i)
                vaZip[i] = static_cast<char>(~vaZip.at(i));
            QVERIFY(writeFile(vsTarget, vaZip));
        } else if (archiveKind == QLatin1String("truncated")) {
            QVERIFY(writeFile(vsTarget, vaZip.left(vaZip.size() / 2)));
        }
    }
    const QByteArray vaBefore = readFile(vsTarget);

    QCOMPARE(ArchiveUnpacker::extractNamedEntry(vsTarget), extracted);

    QCOMPARE(readFile(vsTarget), extracted ? vaContent : vaBefore);
    // No temporary file is left beside the update file.
    QCOMPARE(QDir(vDir.filePath(QStringLiteral("import"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("ru_7.txt")});
}

QUILLMARK_TEST_MAIN(TestApplication)
#include "test_application.moc"
