// The application object's static side: the per-thread settings, the data store's worker thread,
// the update server address, and the unpacking of update archives named like their entry. start()
// and the settings file's permissions are covered by test_startup, which runs the real program's
// start-up.
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

#include <thread>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {

// An update file's text as it arrives: windows-1251 bytes and CRLF line ends,
// long enough to be compressed for real.
const QByteArray caUpdate =
    QByteArray("INSERT INTO quotes VALUES(1,'\xcf\xf0\xe8\xec\xe5\xf0');\r\n").repeated(200);

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void settingsArePerThreadAndShared();
    void databaseLivesOnItsOwnThread();
    void updateServerBase();
    void extractNamedEntry_data();
    void extractNamedEntry();
};

void TestApplication::settingsArePerThreadAndShared()
{
    TempAppDir vApp;
    QSettings *vpGui = Application::settings();

    QSettings *vpWorker = nullptr;
    QString vsSeenByWorker;
    vpGui->setValue("FromGui", "gui");
    // A plain std::thread: its join() is a hand-over that ThreadSanitizer sees.
    std::thread([&] {
        vpWorker = Application::settings();
        vsSeenByWorker = vpWorker->value("FromGui").toString();
        vpWorker->setValue("FromWorker", "worker");
    }).join();

    QVERIFY(vpWorker != vpGui);
    QCOMPARE(vsSeenByWorker, QString("gui"));
    QCOMPARE(vpGui->value("FromWorker").toString(), QString("worker"));
}

void TestApplication::databaseLivesOnItsOwnThread()
{
    TempAppDir vApp;
    QPointer<Database> vpDatabase = Application::database();
    QPointer<QThread> vpThread = vpDatabase->thread();
    QVERIFY(vpThread != QCoreApplication::instance()->thread());
    QVERIFY(vpThread->isRunning());

    // Destroying a QThread that still runs would be fatal, so a thread that
    // has gone has also stopped.
    Application::releaseSingletons();
    QVERIFY(vpDatabase.isNull());
    QVERIFY(vpThread.isNull());

    // Released singletons come back afresh on the next use.
    QVERIFY(Application::database()->thread()->isRunning());
}

// A blank server means no version check (test_startup asks a configured one).
void TestApplication::updateServerBase()
{
    TempAppDir vApp({{"UpdateServer", "  "}});
    QCOMPARE(Application::updateServerBase(), QString());
}

void TestApplication::extractNamedEntry_data()
{
    QTest::addColumn<QString>("archiveKind");
    QTest::addColumn<bool>("extracted");

    QTest::newRow("archive holding its own name") << "named" << true;
    QTest::newRow("archive lacking the entry") << "other entry" << false;
    QTest::newRow("archive with damaged data") << "damaged" << false;
}

void TestApplication::extractNamedEntry()
{
    QFETCH(QString, archiveKind);
    QFETCH(bool, extracted);

    QTemporaryDir vDir;
    QVERIFY(QDir(vDir.path()).mkpath("source") && QDir(vDir.path()).mkpath("import"));
    const QString vsTarget = vDir.filePath("import/ru_7.txt");
    // A plain update file (no archive) is left as it is: see test_startup.
    const QString vsEntry = archiveKind == "other entry" ? "ru_8.txt" : "ru_7.txt";
    const QString vsSource = vDir.filePath("source/" + vsEntry);
    QVERIFY(writeFile(vsSource, caUpdate));
    QVERIFY(JlCompress::compressFile(vDir.filePath("import/ru_7.zip"), vsSource));
    QVERIFY(QFile::rename(vDir.filePath("import/ru_7.zip"), vsTarget));
    if (archiveKind == "damaged") {
        // Past the local header (30 bytes + name): garbles the compressed data.
        QByteArray vaZip = readFile(vsTarget);
        for (int i = 60; i < 90; ++i)
            vaZip[i] = static_cast<char>(~vaZip.at(i));
        QVERIFY(writeFile(vsTarget, vaZip));
    }
    const QByteArray vaBefore = readFile(vsTarget);

    QCOMPARE(ArchiveUnpacker::extractNamedEntry(vsTarget), extracted);
    QCOMPARE(readFile(vsTarget), extracted ? caUpdate : vaBefore);
    // No temporary file is left beside the update file.
    QCOMPARE(QDir(vDir.filePath("import")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"ru_7.txt"});
}

QUILLMARK_TEST_MAIN(TestApplication)
#include "test_application.moc"
