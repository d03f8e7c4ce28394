#include "controllers/application.h"
#include "controllers/downloadmanager.h"
#include "controllers/logging.h"
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include <QNetworkProxy>
#include <QSignalSpy>

#include <functional>
#include <initializer_list>

#include <unistd.h>

namespace {

const QString gsNoFileText = QStringLiteral("No file or Internet is not connected");

// Two data languages, and an "en" update already fetched up to version 3.
QVariantMap languageSettings()
{
    return {{QStringLiteral("DBLang1"), QStringLiteral("ru")},
            {QStringLiteral("DBLang2"), QStringLiteral("en")},
            {QStringLiteral("Version-ru"), 3},
            {QStringLiteral("Version-en"), 3}};
}

// Binary content large enough to arrive in several pieces; CR, LF and NUL
// bytes show any text-mode mangling.
QByteArray sampleBody(int anSize = 256 * 1024)
{
    QByteArray vBody(anSize, '\0');
    for (int vnIndex = 0; vnIndex < anSize; ++vnIndex)
        vBody[vnIndex] = char((vnIndex * 7 + vnIndex / 251) % 256);
    return vBody;
}

QStringList textList(std::initializer_list<const char *> acTexts)
{
    QStringList vcList;
    for (const char *vpText : acTexts)
        vcList.append(QString::fromUtf8(vpText));
    return vcList;
}

QByteArray fileContent(const QString &asPath)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::ReadOnly) ? vFile.readAll() : QByteArray();
}

bool writeFile(const QString &asPath, const QByteArray &aContent)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::WriteOnly) && vFile.write(aContent) == aContent.size();
}

QVariant storedVersion(const QString &asKey)
{
    return Application::settings()->value(QStringLiteral("Version-") + asKey);
}

// Starts a download the way the program's callers do: they connect to done()
// after download() returned and then wait for it, so it must come later, and
// exactly once. aWhileRunning acts on the running download first.
void runDownload(DownloadManager &aManager, DownloadManager::DownloadType aType,
                 const std::function<void(QNetworkReply *)> &aWhileRunning = {})
{
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

    void parseLine_data();
    void parseLine();
    void wantedUpdates_data();
    void wantedUpdates();

    void versionList_data();
    void versionList();

    void savesDataFile_data();
    void savesDataFile();
    void failureKeepsTarget_data();
    void failureKeepsTarget();
    void followsRedirect_data();
    void followsRedirect();
    void writeFailureRecordsNoVersion_data();
    void writeFailureRecordsNoVersion();
};

void TestDownloadManager::initTestCase()
{
    // QTest puts its own message handler in place; the program's handler
    // feeds LogCapture.
    Logging::install();
    // Only the loopback server may ever be reached, whatever the environment says.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestDownloadManager::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("version");

    QTest::newRow("plain") << QStringLiteral("ru_12.txt") << QStringLiteral("ru") << 12;
    QTest::newRow("extension in capitals")
        << QStringLiteral("en_5.TXT") << QStringLiteral("en") << 5;
    // QString::toInt() alone would accept these two.
    QTest::newRow("carriage return") << QStringLiteral("en_5.txt\r") << QStringLiteral("en") << 0;
    QTest::newRow("blank before number")
        << QStringLiteral("en_ 5.txt") << QStringLiteral("en") << 0;
    QTest::newRow("not a number") << QStringLiteral("en_new.txt") << QStringLiteral("en") << 0;
    QTest::newRow("second underscore")
        << QStringLiteral("pt_br_3.txt") << QStringLiteral("pt") << 0;
    QTest::newRow("no underscore") << QStringLiteral("ru") << QStringLiteral("ru") << 0;
    QTest::newRow("empty key") << QStringLiteral("_4.txt") << QString() << 4;
}

void TestDownloadManager::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(int, version);

    QCOMPARE(DownloadManager::lineKey(line), key);
    QCOMPARE(DownloadManager::lineVersion(line), version);
}

void TestDownloadManager::wantedUpdates_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("wanted");

    const QVariantMap vcRuEn{{QStringLiteral("DBLang1"), QStringLiteral("ru")},
                             {QStringLiteral("DBLang2"), QStringLiteral("en")},
                             {QStringLiteral("Version-ru"), 3}};

    QTest::newRow("only the newer version")
        << vcRuEn << textList({"ru_2.txt", "ru_3.txt", "en_5.txt"}) << textList({"en_5.txt"});
    QTest::newRow("several wanted, in list order")
        << vcRuEn << textList({"en_1.txt", "ru_4.TXT"}) << textList({"en_1.txt", "ru_4.TXT"});
    QTest::newRow("language not configured")
        << vcRuEn << textList({"de_99.txt", "fr_1.txt"}) << QStringList{};
    QTest::newRow("language behind an empty slot")
        << QVariantMap{{QStringLiteral("DBLang1"), QStringLiteral("ru")},
                       {QStringLiteral("DBLang2"), QString()},
                       {QStringLiteral("DBLang3"), QStringLiteral("en")}}
        << textList({"en_5.txt", "ru_1.txt"}) << textList({"ru_1.txt"});
    QTest::newRow("empty and unreadable lines")
        << vcRuEn << textList({"", "en", "en_new.txt", "en_5b.txt", "en_"}) << QStringList{};
}

void TestDownloadManager::wantedUpdates()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, wanted);

    TempAppDir vApp(settings);
    QCOMPARE(DownloadManager::wantedUpdates(lines), wanted);
}

void TestDownloadManager::versionList_data()
{
    QTest::addColumn<int>("status"); // 0: the connection drops midway
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<int>("error");

    QTest::newRow("blank lines around updates")
        << 200 << QByteArray("\nen_5.txt\n\nru_4.txt\n") << textList({"en_5.txt", "ru_4.txt"}) << 0;
    QTest::newRow("CRLF list") << 200 << QByteArray("ru_4.txt\r\nen_5.txt\r\n") << QStringList{}
                               << 0;
    QTest::newRow("empty list") << 200 << QByteArray() << QStringList{} << 0;
    QTest::newRow("not found") << 404 << QByteArray() << QStringList{}
                               << int(QNetworkReply::ContentNotFoundError);
    // A cut list must not be taken for the whole one. Qt 5 often ends such a
    // reply without any error when much of the announced length is missing.
    QTest::newRow("dropped connection") << 0 << QByteArray("ru_4.txt\nen_5.txt\n") << QStringList{}
                                        << int(QNetworkReply::RemoteHostClosedError);
}

void TestDownloadManager::versionList()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, wanted);
    QFETCH(int, error);

    TempAppDir vApp(languageSettings());
    // Fault guarded: the settings file was made writable for group and others.
    const QString vsSettings = Application::settingsFilePath();
    const QFileDevice::Permissions vAll = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(vsSettings, vAll));
    const QString vsPath = QStringLiteral("/zudoru26/version.txt");
    LoopbackHttpServer vServer;
    if (status == 200)
        vServer.setResponse(vsPath, 200, body);
    else if (status == 0)
        vServer.setDroppedBody(vsPath, body, 1024 * 1024);
    BoxRecorder vBoxes;

    DownloadManager vManager;
    QSignalSpy vUpdates(&vManager, &DownloadManager::updatesAvailable);
    vManager.setUrl(vServer.url(vsPath));
    runDownload(vManager, DownloadManager::VersionList);

    QCOMPARE(vManager.fileList(), wanted);
    QCOMPARE(vUpdates.count(), wanted.isEmpty() ? 0 : 1);
    if (!wanted.isEmpty())
        QCOMPARE(vUpdates.at(0).at(0).toStringList(), wanted);
    QCOMPARE(int(vManager.error()), error);
    QCOMPARE(vBoxes.count(), error ? 1 : 0);
    if (error) {
        QCOMPARE(vBoxes.requests().at(0).title, QStringLiteral("Error"));
        QCOMPARE(vBoxes.requests().at(0).text, gsNoFileText);
    } else {
        QCOMPARE(QFile::permissions(vsSettings) & vAll,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

void TestDownloadManager::savesDataFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("compressed");

    // The caller's number counts, not the one in the file name.
    QTest::newRow("update file, caller's version")
        << "sql/import/en_5.txt" << 7 << QByteArray() << "en" << false;
    QTest::newRow("extension in capitals, replacing a file")
        << "sql/import/ru_12.TXT" << 12 << QByteArray("stale content") << "ru" << false;
    // The announced length is that of the compressed bytes; the completeness
    // check must not reject the larger, unpacked body.
    QTest::newRow("compressed transfer")
        << "sql/import/en_5.txt" << 5 << QByteArray() << "en" << true;
    QTest::newRow("media file") << "asset/en/sermon.mp3" << 9 << QByteArray() << QString() << false;
    QTest::newRow("media file in a folder named like an update")
        << "asset/notes.txt/sermon.pdf" << 9 << QByteArray() << QString() << false;
}

void TestDownloadManager::savesDataFile()
{
    QFETCH(QString, target);
    QFETCH(int, version);
    QFETCH(QByteArray, earlier);
    QFETCH(QString, key);
    QFETCH(bool, compressed);

    TempAppDir vApp(languageSettings());
    const QString vsTarget = vApp.filePath(target);
    QVERIFY(QDir().mkpath(QFileInfo(vsTarget).path()));
    if (!earlier.isEmpty())
        QVERIFY(writeFile(vsTarget, earlier));
    const QByteArray vBody = sampleBody();
    LoopbackHttpServer vServer;
    if (compressed)
        // qCompress() puts a 4-byte size before a zlib stream.
        vServer.setResponse(
            QStringLiteral("/zudoru26/update"), 200, qCompress(vBody).mid(4),
            {{QByteArrayLiteral("Content-Encoding"), QByteArrayLiteral("deflate")}});
    else
        vServer.setResponse(QStringLiteral("/zudoru26/update"), 200, vBody);
    const QStringList vcKeysBefore = Application::settings()->allKeys();

    DownloadManager vManager;
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/update")));
    vManager.setFileName(vsTarget);
    vManager.setVersion(version);
    runDownload(vManager, DownloadManager::DataFile);

    QCOMPARE(vManager.error(), QNetworkReply::NoError);
    QVERIFY(fileContent(vsTarget) == vBody);
    // Nothing but the file itself is left in its folder.
    QCOMPARE(QDir(QFileInfo(vsTarget).path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(vsTarget).fileName()});
    if (key.isEmpty()) {
        QCOMPARE(Application::settings()->allKeys(), vcKeysBefore);
    } else {
        // Recorded as soon as the file is saved, before any import happens.
        QCOMPARE(storedVersion(key).toInt(), version);
        // Written through to the file: the program may end right after this.
        QVERIFY(fileContent(Application::settingsFilePath())
                    .contains(QStringLiteral("Version-%1=%2").arg(key).arg(version).toUtf8()));
    }
}

void TestDownloadManager::failureKeepsTarget_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("earlier");

    const QByteArray vEarlier("complete earlier update");
    QTest::newRow("404, no earlier file") << "404" << QByteArray();
    QTest::newRow("404, earlier file") << "404" << vEarlier;
    QTest::newRow("dropped connection, no earlier file") << "dropped" << QByteArray();
    QTest::newRow("dropped connection, earlier file") << "dropped" << vEarlier;
    QTest::newRow("cancelled, no earlier file") << "cancelled" << QByteArray();
    // Fault guarded: cancelling deleted this file, losing an update already
    // fetched whose version was already recorded.
    QTest::newRow("cancelled, earlier file") << "cancelled" << vEarlier;
}

void TestDownloadManager::failureKeepsTarget()
{
    QFETCH(QString, failure);
    QFETCH(QByteArray, earlier);
    const bool vbCancelled = failure == QLatin1String("cancelled");

    TempAppDir vApp(languageSettings());
    const QString vsTarget = Application::importPath() + QStringLiteral("/en_5.txt");
    if (!earlier.isEmpty())
        QVERIFY(writeFile(vsTarget, earlier));
    const QString vsPath = QStringLiteral("/zudoru26/en_5.txt");
    LoopbackHttpServer vServer;
    if (failure == QLatin1String("dropped"))
        vServer.setDroppedBody(vsPath, sampleBody(64 * 1024), 1024 * 1024);
    else if (vbCancelled)
        vServer.setStalledBody(vsPath, sampleBody(64 * 1024), 1024 * 1024);
    BoxRecorder vBoxes;
    LogCapture vLog;

    DownloadManager vManager;
    vManager.setUrl(vServer.url(vsPath));
    vManager.setFileName(vsTarget);
    vManager.setVersion(5);
    if (vbCancelled) {
        runDownload(vManager, DownloadManager::DataFile, [&](QNetworkReply *apReply) {
            // Some of the body has reached the manager before the user cancels.
            // (downloadProgress is throttled by Qt and may never come for a stalled body.)
            QSignalSpy vArrived(apReply, &QNetworkReply::readyRead);
            QVERIFY(vArrived.wait(10000));
            // A second download is refused while this one runs.
            QVERIFY(vManager.isBusy());
            QVERIFY(!vManager.download(DownloadManager::DataFile));
            QVERIFY(vManager.isBusy());
            apReply->abort();
        });
        QCOMPARE(vManager.error(), QNetworkReply::OperationCanceledError);
        QCOMPARE(vBoxes.count(), 0);
        const QStringList vcLines = vLog.linesContaining(QStringLiteral("Download cancelled:"));
        QCOMPARE(vcLines.size(), 1);
        QVERIFY2(vcLines.at(0).contains(vsTarget), qPrintable(vcLines.at(0)));
        QCOMPARE(vServer.requestedPaths(), QStringList{vsPath});
    } else {
        runDownload(vManager, DownloadManager::DataFile);
        QVERIFY(vManager.error() != QNetworkReply::NoError);
        QCOMPARE(vBoxes.count(), 1);
        QCOMPARE(vBoxes.requests().at(0).icon, QMessageBox::Warning);
        QCOMPARE(vBoxes.requests().at(0).title, QStringLiteral("Error"));
        QCOMPARE(vBoxes.requests().at(0).text, gsNoFileText);
    }
    QCOMPARE(QFileInfo::exists(vsTarget), !earlier.isEmpty());
    QCOMPARE(fileContent(vsTarget), earlier);
    QCOMPARE(QDir(Application::importPath()).entryList(QDir::Files).size(),
             earlier.isEmpty() ? 0 : 1);
    QCOMPARE(storedVersion(QStringLiteral("en")).toInt(), 3);
}

void TestDownloadManager::followsRedirect_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("absolute");

    QTest::newRow("302 to an absolute address") << 302 << true;
    QTest::newRow("301 to a relative path") << 301 << false;
}

void TestDownloadManager::followsRedirect()
{
    QFETCH(int, status);
    QFETCH(bool, absolute);

    TempAppDir vApp(languageSettings());
    const QString vsTarget = Application::importPath() + QStringLiteral("/en_5.txt");
    const QString vsNewPath = QStringLiteral("/mirror/en_5.txt");
    const QByteArray vBody = sampleBody(32 * 1024);
    LoopbackHttpServer vServer;
    vServer.setRedirect(QStringLiteral("/zudoru26/en_5.txt"),
                        absolute ? vServer.url(vsNewPath) : vsNewPath, status);
    vServer.setResponse(vsNewPath, 200, vBody);

    DownloadManager vManager;
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/en_5.txt")));
    vManager.setFileName(vsTarget);
    vManager.setVersion(5);
    runDownload(vManager, DownloadManager::DataFile);

    QCOMPARE(vServer.requestedPaths(),
             (QStringList{QStringLiteral("/zudoru26/en_5.txt"), vsNewPath}));
    QCOMPARE(vManager.error(), QNetworkReply::NoError);
    // Not the redirect's own "moved" page.
    QVERIFY(fileContent(vsTarget) == vBody);
    QCOMPARE(storedVersion(QStringLiteral("en")).toInt(), 5);
}

void TestDownloadManager::writeFailureRecordsNoVersion_data()
{
    QTest::addColumn<QString>("obstacle");

    QTest::newRow("folder missing") << "missing";
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("read-only folder") << "read-only";
    // The temporary file is written, but cannot take the target's place.
    QTest::newRow("folder removed during the download") << "removed";
}

void TestDownloadManager::writeFailureRecordsNoVersion()
{
    QFETCH(QString, obstacle);

    TempAppDir vApp(languageSettings());
    const QString vsFolder = vApp.filePath(QStringLiteral("updates"));
    const QString vsTarget = vsFolder + QStringLiteral("/en_5.txt");
    if (obstacle == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(vsTarget));
    } else if (obstacle == QLatin1String("read-only")) {
        if (geteuid() == 0)
            QSKIP("Permission bits do not stop the superuser from writing");
        QVERIFY(QDir().mkpath(vsFolder));
        QVERIFY(QFile::setPermissions(vsFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const bool vbRemoved = obstacle == QLatin1String("removed");
    const QByteArray vBody = sampleBody();
    const int vnHalf = vBody.size() / 2;
    LoopbackHttpServer vServer;
    if (vbRemoved) {
        QVERIFY(QDir().mkpath(vsFolder));
        vServer.setStalledBody(QStringLiteral("/zudoru26/en_5.txt"), vBody.left(vnHalf),
                               vBody.size());
    } else {
        vServer.setResponse(QStringLiteral("/zudoru26/en_5.txt"), 200, vBody);
    }
    BoxRecorder vBoxes;
    LogCapture vLog;

    DownloadManager vManager;
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/en_5.txt")));
    vManager.setFileName(vsTarget);
    vManager.setVersion(5);
    runDownload(vManager, DownloadManager::DataFile, [&](QNetworkReply *apReply) {
        if (!vbRemoved)
            return;
        QSignalSpy vArrived(apReply, &QNetworkReply::readyRead);
        QVERIFY(vArrived.wait(10000));
        QVERIFY(QDir(vsFolder).removeRecursively());
        vServer.completeStalledBodies(vBody.mid(vnHalf));
    });
    if (obstacle == QLatin1String("read-only"))
        QFile::setPermissions(vsFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);

    // Logged, not shown: the network part did nothing wrong.
    QCOMPARE(vBoxes.count(), 0);
    const QStringList vcLines = vLog.linesContaining(QStringLiteral("Cannot save"));
    QCOMPARE(vcLines.size(), 1);
    QVERIFY2(vcLines.at(0).contains(vsTarget), qPrintable(vcLines.at(0)));
    QCOMPARE(storedVersion(QStringLiteral("en")).toInt(), 3);
    QVERIFY(!QFileInfo(vsTarget).isFile());
    if (obstacle == QLatin1String("folder"))
        QCOMPARE(QDir(vsFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("en_5.txt")});
}

QUILLMARK_TEST_MAIN(TestDownloadManager)
#include "test_downloadmanager.moc"
