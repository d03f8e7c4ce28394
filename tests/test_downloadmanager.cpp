// The download manager against a loopback server: the version list and the
// updates it names, data files saved whole or not at all, redirects, and the
// failures of the network and of the disk.
#include "controllers/application.h"
#include "controllers/debugbox.h"
#include "controllers/downloadmanager.h"
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include <QSignalSpy>

#include <functional>

#include <sys/stat.h>

using TestSupport::readFile;
using TestSupport::sampleBytes;

namespace {

const QString gsUpdatePath = "/zudoru26/en_5.txt";

// Two data languages, and an "en" update already fetched up to version 3.
QVariantMap languageSettings()
{
    return {{"DBLang1", "ru"}, {"DBLang2", "en"}, {"Version-ru", 3}, {"Version-en", 3}};
}

// Starts a download the way the program's callers do: they connect to done()
// after download() returned and then wait for it, so it must come later, and
// exactly once. aWhileRunning acts on the running download first.
void runDownload(DownloadManager &aManager, DownloadManager::DownloadType aType,
                 const QString &asUrl,
                 const std::function<void(QNetworkReply *)> &aWhileRunning = {})
{
    aManager.setUrl(asUrl);
    QSignalSpy vDone(&aManager, &DownloadManager::done);
    QNetworkReply *vpReply = aManager.download(aType);
    QVERIFY(vpReply);
    QCOMPARE(vDone.count(), 0);
    if (aWhileRunning)
        aWhileRunning(vpReply);
    if (vDone.isEmpty())
        vDone.wait(10000);
    // A second done() would show up here.
    QCoreApplication::processEvents();
    QCOMPARE(vDone.count(), 1);
    QVERIFY(!aManager.isBusy());
}

} // namespace

class TestDownloadManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void versionList_data();
    void versionList();

    void dataFile_data();
    void dataFile();
};

void TestDownloadManager::initTestCase()
{
    // QTest puts its own message handler in place; the program's handler
    // feeds LogCapture.
    DebugBox::install();
}

void TestDownloadManager::versionList_data()
{
    QTest::addColumn<int>("status"); // 0: the connection drops midway
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<int>("error");
    const auto list = [](const char *apTag, const QByteArray &aBody, const QStringList &acWanted) {
        QTest::newRow(apTag) << 200 << aBody << acWanted << 0;
    };
    list("only the newer version", "ru_2.txt\nru_3.txt\nen_5.txt", {"en_5.txt"});
    list("several wanted, in list order", "en_1.txt\nru_4.TXT", {"en_1.txt", "ru_4.TXT"});
    // "fr" comes after an empty slot, which ends the list of languages.
    list("language not configured", "de_99.txt\nfr_1.txt", {});
    // QString::toInt() alone would accept a blank before or after the number.
    list("unreadable lines", "\nen\nen_new.txt\nen_5b.txt\nen_\nen_ 5.txt\nru_ 4.txt", {});
    list("CRLF list", "ru_4.txt\r\nen_5.txt\r\n", {});
    QTest::newRow("not found") << 404 << QByteArray() << QStringList()
                               << int(QNetworkReply::ContentNotFoundError);
    // A cut list must not be taken for the whole one. Qt 5 often ends such a
    // reply without any error when much of the announced length is missing.
    QTest::newRow("dropped connection") << 0 << QByteArray("ru_4.txt\nen_5.txt\n") << QStringList()
                                        << int(QNetworkReply::RemoteHostClosedError);
}

void TestDownloadManager::versionList()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, wanted);
    QFETCH(int, error);

    TempAppDir vApp({{"DBLang1", "ru"},
                     {"DBLang2", "en"},
                     {"DBLang3", ""},
                     {"DBLang4", "fr"},
                     {"Version-ru", 3}});
    // Fault guarded: the settings file was made writable for group and others.
    QCOMPARE(::chmod(QFile::encodeName(Application::settingsFilePath()).constData(), 0666), 0);
    const QString vsPath = "/zudoru26/version.txt";
    LoopbackHttpServer vServer;
    if (status == 200)
        vServer.setResponse(vsPath, 200, body);
    else if (status == 0)
        vServer.setPartialBody(vsPath, body, 1024 * 1024);
    BoxRecorder vBoxes;

    DownloadManager vManager;
    QSignalSpy vUpdates(&vManager, &DownloadManager::updatesAvailable);
    runDownload(vManager, DownloadManager::VersionList, vServer.url(vsPath));

    QCOMPARE(vManager.fileList(), wanted);
    QCOMPARE(vUpdates.count(), wanted.isEmpty() ? 0 : 1);
    if (!wanted.isEmpty())
        QCOMPARE(vUpdates.at(0).at(0).toStringList(), wanted);
    QCOMPARE(int(vManager.error()), error);
    QCOMPARE(vBoxes.count(), error ? 1 : 0);
    if (!error)
        QCOMPARE(TestSupport::fileMode(Application::settingsFilePath()), 0600);
}

void TestDownloadManager::dataFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("transfer"); // how the body comes, or how the download fails
    QTest::addColumn<QString>("recorded"); // in the settings file; none for a media file

    // The caller's number (7) counts, not the one in the file name.
    QTest::newRow("update file, caller's version")
        << "sql/import/en_5.txt" << QByteArray() << "whole"
        << "Version-en=7";
    QTest::newRow("extension in capitals, replacing a file")
        << "sql/import/ru_12.TXT" << QByteArray("stale content") << "whole"
        << "Version-ru=7";
    // The announced length is that of the compressed bytes; the completeness
    // check must not reject the larger, unpacked body.
    QTest::newRow("compressed transfer") << "sql/import/en_5.txt" << QByteArray() << "compressed"
                                         << "Version-en=7";
    QTest::newRow("media file in a folder named like an update")
        << "asset/notes.txt/sermon.pdf" << QByteArray() << "whole" << QString();
    // The file is the one redirected to, not the redirect's own "moved" page.
    QTest::newRow("301 to a relative path") << "sql/import/en_5.txt" << QByteArray() << "redirected"
                                            << "Version-en=7";

    // A failure keeps the target, and the version recorded before.
    const QByteArray vaEarlier("complete earlier update");
    const auto failure = [](const char *apTag, const char *apFailure, const QByteArray &aEarlier) {
        QTest::newRow(apTag) << "updates/en_5.txt" << aEarlier << QString(apFailure) << QString();
    };
    failure("404", "404", QByteArray());
    failure("dropped, no earlier file", "dropped", QByteArray());
    failure("dropped, earlier file", "dropped", vaEarlier);
    failure("cancelled, no earlier file", "cancelled", QByteArray());
    // Fault guarded: cancelling deleted this file, losing an update already
    // fetched whose version was already recorded.
    failure("cancelled, earlier file", "cancelled", vaEarlier);
    // The file arrives but cannot be saved; "folder removed": the temporary
    // file is written, but cannot take the target's place.
    failure("folder missing", "folder missing", QByteArray());
    failure("folder removed", "folder removed", QByteArray());
}

void TestDownloadManager::dataFile()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, earlier);
    QFETCH(QString, transfer);
    QFETCH(QString, recorded);
    const bool vbSaved = QStringList{"whole", "compressed", "redirected"}.contains(transfer);
    const bool vbNetwork = transfer == "404" || transfer == "dropped";
    const bool vbCancelled = transfer == "cancelled";
    const bool vbRemoved = transfer == "folder removed";

    TempAppDir vApp(languageSettings());
    const QString vsTarget = vApp.filePath(target);
    const QString vsFolder = QFileInfo(vsTarget).path();
    if (transfer != "folder missing")
        QVERIFY(QDir().mkpath(vsFolder));
    if (!earlier.isEmpty())
        QVERIFY(TestSupport::writeFile(vsTarget, earlier));
    const QByteArray vBody = sampleBytes(256 * 1024);
    const int vnHalf = vBody.size() / 2;
    LoopbackHttpServer vServer;
    QStringList vcPaths{gsUpdatePath};
    if (transfer == "redirected") {
        vcPaths << "/mirror/update";
        vServer.setRedirect(vcPaths.first(), vcPaths.last(), 301);
    }
    if (transfer == "compressed") // qCompress() puts a 4-byte size before a zlib stream.
        vServer.setResponse(vcPaths.last(), 200, qCompress(vBody).mid(4),
                            {{"Content-Encoding", "deflate"}});
    else if (transfer == "dropped")
        vServer.setPartialBody(gsUpdatePath, vBody.left(vnHalf), 1024 * 1024);
    else if (vbCancelled || vbRemoved)
        vServer.setPartialBody(gsUpdatePath, vBody.left(vnHalf), vBody.size(), true);
    else if (transfer != "404")
        vServer.setResponse(vcPaths.last(), 200, vBody);
    const QStringList vcKeysBefore = Application::settings()->allKeys();
    BoxRecorder vBoxes;
    LogCapture vLog;

    DownloadManager vManager;
    vManager.setFileName(vsTarget);
    vManager.setVersion(7);
    runDownload(vManager, DownloadManager::DataFile, vServer.url(gsUpdatePath),
                [&](QNetworkReply *apReply) {
                    if (!vbCancelled && !vbRemoved)
                        return;
                    // Some of the body has reached the manager first. (downloadProgress is
                    // throttled by Qt and may never come for a stalled body.)
                    QSignalSpy vArrived(apReply, &QNetworkReply::readyRead);
                    QVERIFY(vArrived.wait(10000));
                    if (vbRemoved) {
                        QVERIFY(QDir(vsFolder).removeRecursively());
                        vServer.completeStalledBodies(vBody.mid(vnHalf));
                        return;
                    }
                    // A second download is refused while this one runs; then the user cancels.
                    QVERIFY(!vManager.download(DownloadManager::DataFile));
                    apReply->abort();
                });

    // No temporary file is left beside the target.
    QCOMPARE(QDir(vsFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             vbSaved || !earlier.isEmpty() ? QStringList{QFileInfo(vsTarget).fileName()}
                                           : QStringList());
    if (vbSaved) {
        QCOMPARE(vServer.requestedPaths(), vcPaths);
        QVERIFY(readFile(vsTarget) == vBody);
        QCOMPARE(vBoxes.count(), 0);
        // Recorded as soon as the file is saved, before any import happens, and
        // written through to the file: the program may end right after this.
        if (recorded.isEmpty())
            QCOMPARE(Application::settings()->allKeys(), vcKeysBefore);
        else
            QVERIFY(readFile(Application::settingsFilePath()).contains(recorded.toUtf8()));
        return;
    }
    // A network failure is shown; a cancel or a failure to save is only logged.
    QCOMPARE(vBoxes.count(), vbNetwork ? 1 : 0);
    if (vbNetwork)
        QVERIFY(vManager.error() != QNetworkReply::NoError);
    else
        QCOMPARE(vLog.linesContaining(vbCancelled ? "Download cancelled:" : "Cannot save").size(),
                 1);
    QCOMPARE(Application::settings()->value("Version-en").toInt(), 3);
    QCOMPARE(readFile(vsTarget), earlier);
}

QUILLMARK_TEST_MAIN(TestDownloadManager)
#include "test_downloadmanager.moc"
