#include "controllers/application.h"
#include "controllers/downloadmanager.h"
#include "controllers/logging.h"
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QSettings>
#include <QSignalSpy>

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

struct Outcome
{
    QNetworkReply *mpReply = nullptr;
    int mnDoneAtStart = -1;
    int mnDone = 0;
};

// Starts a download and waits for its end the way the program's callers do.
Outcome runDownload(DownloadManager &aManager, DownloadManager::DownloadType aType)
{
    QSignalSpy vDone(&aManager, &DownloadManager::done);
    Outcome vOutcome;
    vOutcome.mpReply = aManager.download(aType);
    vOutcome.mnDoneAtStart = vDone.count();
    if (vDone.isEmpty())
        vDone.wait(10000);
    // A second done() would show up here.
    QCoreApplication::processEvents();
    vOutcome.mnDone = vDone.count();
    return vOutcome;
}

// Callers connect to done() after download() returned and then wait for it,
// so it must come later, and exactly once.
void verifyEndedOnce(const Outcome &aOutcome, const DownloadManager &aManager)
{
    QVERIFY(aOutcome.mpReply);
    QCOMPARE(aOutcome.mnDoneAtStart, 0);
    QCOMPARE(aOutcome.mnDone, 1);
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
    void versionListFailure_data();
    void versionListFailure();

    void savesDataFile_data();
    void savesDataFile();
    void networkFailureKeepsTarget_data();
    void networkFailureKeepsTarget();
    void cancellationKeepsTarget_data();
    void cancellationKeepsTarget();
    void refusesSecondDownloadWhileBusy();
    void followsRedirect_data();
    void followsRedirect();
    void writeFailureRecordsNoVersion_data();
    void writeFailureRecordsNoVersion();
    void settingsFileOwnerOnly();
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

    QTest::newRow("plain") << "ru_12.txt"
                           << "ru" << 12;
    QTest::newRow("extension in capitals") << "en_5.TXT"
                                           << "en" << 5;
    QTest::newRow("no extension") << "fr_7"
                                  << "fr" << 7;
    // QString::toInt() alone would accept these two.
    QTest::newRow("carriage return") << "en_5.txt\r"
                                     << "en" << 0;
    QTest::newRow("blank before number") << "en_ 5.txt"
                                         << "en" << 0;
    QTest::newRow("not a number") << "en_new.txt"
                                  << "en" << 0;
    QTest::newRow("second underscore") << "pt_br_3.txt"
                                       << "pt" << 0;
    QTest::newRow("no underscore") << "ru"
                                   << "ru" << 0;
    QTest::newRow("empty") << ""
                           << "" << 0;
    QTest::newRow("empty key") << "_4.txt"
                               << "" << 4;
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
        << vcRuEn << textList({"ru_3.txt", "en_5.txt"}) << textList({"en_5.txt"});
    QTest::newRow("older and equal versions")
        << vcRuEn << textList({"ru_2.txt", "ru_3.txt"}) << QStringList{};
    QTest::newRow("several wanted, in list order")
        << vcRuEn << textList({"en_1.txt", "ru_4.TXT"}) << textList({"en_1.txt", "ru_4.TXT"});
    QTest::newRow("language not configured")
        << vcRuEn << textList({"de_99.txt", "fr_1.txt"}) << QStringList{};
    QTest::newRow("language behind an empty slot")
        << QVariantMap{{QStringLiteral("DBLang1"), QStringLiteral("ru")},
                       {QStringLiteral("DBLang2"), QString()},
                       {QStringLiteral("DBLang3"), QStringLiteral("en")}}
        << textList({"en_5.txt", "ru_1.txt"}) << textList({"ru_1.txt"});
    QTest::newRow("CRLF lines") << vcRuEn << textList({"ru_9.txt\r", "en_5.txt\r"})
                                << QStringList{};
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
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("wanted");

    QTest::newRow("one newer update") << QByteArray("ru_3.txt\nen_5.txt") << textList({"en_5.txt"});
    QTest::newRow("blank lines around it")
        << QByteArray("\nen_5.txt\n\nru_4.txt\n") << textList({"en_5.txt", "ru_4.txt"});
    QTest::newRow("nothing newer") << QByteArray("ru_3.txt\nen_2.txt\n") << QStringList{};
    QTest::newRow("CRLF list") << QByteArray("ru_4.txt\r\nen_5.txt\r\n") << QStringList{};
    QTest::newRow("empty list") << QByteArray() << QStringList{};
}

void TestDownloadManager::versionList()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, wanted);

    TempAppDir vApp(languageSettings());
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/zudoru26/version.txt"), 200, body);
    BoxRecorder vBoxes;

    DownloadManager vManager;
    QSignalSpy vUpdates(&vManager, &DownloadManager::updatesAvailable);
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/version.txt")));
    const Outcome vOutcome = runDownload(vManager, DownloadManager::VersionList);
    verifyEndedOnce(vOutcome, vManager);

    QCOMPARE(vManager.fileList(), wanted);
    if (wanted.isEmpty()) {
        QCOMPARE(vUpdates.count(), 0);
    } else {
        QCOMPARE(vUpdates.count(), 1);
        QCOMPARE(vUpdates.at(0).at(0).toStringList(), wanted);
    }
    QCOMPARE(vManager.error(), QNetworkReply::NoError);
    QCOMPARE(vBoxes.count(), 0);
}

void TestDownloadManager::versionListFailure_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<int>("error");

    QTest::newRow("not found") << false << int(QNetworkReply::ContentNotFoundError);
    // A cut list must not be taken for the whole one. Qt 5 often ends such a
    // reply without any error when much of the announced length is missing.
    QTest::newRow("dropped connection") << true << int(QNetworkReply::RemoteHostClosedError);
}

void TestDownloadManager::versionListFailure()
{
    QFETCH(bool, dropped);
    QFETCH(int, error);

    TempAppDir vApp(languageSettings());
    LoopbackHttpServer vServer;
    if (dropped)
        vServer.setDroppedBody(QStringLiteral("/zudoru26/version.txt"), "ru_4.txt\nen_5.txt\n",
                               1024 * 1024);
    BoxRecorder vBoxes;

    DownloadManager vManager;
    QSignalSpy vUpdates(&vManager, &DownloadManager::updatesAvailable);
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/version.txt")));
    const Outcome vOutcome = runDownload(vManager, DownloadManager::VersionList);
    verifyEndedOnce(vOutcome, vManager);

    QCOMPARE(int(vManager.error()), error);
    QCOMPARE(vUpdates.count(), 0);
    QVERIFY(vManager.fileList().isEmpty());
    QCOMPARE(vBoxes.count(), 1);
    QCOMPARE(vBoxes.requests().at(0).title, QStringLiteral("Error"));
    QCOMPARE(vBoxes.requests().at(0).text, gsNoFileText);
}

void TestDownloadManager::savesDataFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("compressed");

    QTest::newRow("update file") << "sql/import/en_5.txt" << 5 << QByteArray() << "en" << false;
    // The caller's number counts, not the one in the file name.
    QTest::newRow("caller's version")
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
    const Outcome vOutcome = runDownload(vManager, DownloadManager::DataFile);
    verifyEndedOnce(vOutcome, vManager);

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

void TestDownloadManager::networkFailureKeepsTarget_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<QByteArray>("earlier");

    QTest::newRow("404, no earlier file") << false << QByteArray();
    QTest::newRow("404, earlier file") << false << QByteArray("complete earlier update");
    QTest::newRow("dropped connection, no earlier file") << true << QByteArray();
    QTest::newRow("dropped connection, earlier file")
        << true << QByteArray("complete earlier update");
}

void TestDownloadManager::networkFailureKeepsTarget()
{
    QFETCH(bool, dropped);
    QFETCH(QByteArray, earlier);

    TempAppDir vApp(languageSettings());
    const QString vsTarget = Application::importPath() + QStringLiteral("/en_5.txt");
    if (!earlier.isEmpty())
        QVERIFY(writeFile(vsTarget, earlier));
    LoopbackHttpServer vServer;
    if (dropped)
        vServer.setDroppedBody(QStringLiteral("/zudoru26/en_5.txt"), sampleBody(64 * 1024),
                               1024 * 1024);
    BoxRecorder vBoxes;

    DownloadManager vManager;
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/en_5.txt")));
    vManager.setFileName(vsTarget);
    vManager.setVersion(5);
    const Outcome vOutcome = runDownload(vManager, DownloadManager::DataFile);
    verifyEndedOnce(vOutcome, vManager);

    QVERIFY(vManager.error() != QNetworkReply::NoError);
    QCOMPARE(vBoxes.count(), 1);
    QCOMPARE(vBoxes.requests().at(0).icon, QMessageBox::Warning);
    QCOMPARE(vBoxes.requests().at(0).title, QStringLiteral("Error"));
    QCOMPARE(vBoxes.requests().at(0).text, gsNoFileText);
    QCOMPARE(QFileInfo::exists(vsTarget), !earlier.isEmpty());
    QCOMPARE(fileContent(vsTarget), earlier);
    QCOMPARE(QDir(Application::importPath()).entryList(QDir::Files).size(),
             earlier.isEmpty() ? 0 : 1);
    QCOMPARE(storedVersion(QStringLiteral("en")).toInt(), 3);
}

void TestDownloadManager::cancellationKeepsTarget_data()
{
    QTest::addColumn<QByteArray>("earlier");

    QTest::newRow("no earlier file") << QByteArray();
    // Fault guarded: cancelling deleted this file, losing an update already
    // fetched whose version was already recorded.
    QTest::newRow("earlier complete file") << QByteArray("complete earlier update");
}

void TestDownloadManager::cancellationKeepsTarget()
{
    QFETCH(QByteArray, earlier);

    TempAppDir vApp(languageSettings());
    const QString vsTarget = Application::importPath() + QStringLiteral("/en_5.txt");
    if (!earlier.isEmpty())
        QVERIFY(writeFile(vsTarget, earlier));
    LoopbackHttpServer vServer;
    vServer.setStalledBody(QStringLiteral("/zudoru26/en_5.txt"), sampleBody(64 * 1024),
                           1024 * 1024);
    BoxRecorder vBoxes;
    LogCapture vLog;

    DownloadManager vManager;
    QSignalSpy vDone(&vManager, &DownloadManager::done);
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/en_5.txt")));
    vManager.setFileName(vsTarget);
    vManager.setVersion(5);
    QNetworkReply *vpReply = vManager.download(DownloadManager::DataFile);
    QVERIFY(vpReply);
    // Some of the body has reached the manager before the user cancels.
    // (downloadProgress is throttled by Qt and may never come for a stalled body.)
    QSignalSpy vArrived(vpReply, &QNetworkReply::readyRead);
    QVERIFY(vArrived.wait(10000));
    QVERIFY(vManager.isBusy());
    QCOMPARE(vDone.count(), 0);

    vpReply->abort();
    QCoreApplication::processEvents();

    QCOMPARE(vDone.count(), 1);
    QVERIFY(!vManager.isBusy());
    QCOMPARE(vManager.error(), QNetworkReply::OperationCanceledError);
    QCOMPARE(vBoxes.count(), 0);
    const QStringList vcLines = vLog.linesContaining(QStringLiteral("Download cancelled:"));
    QCOMPARE(vcLines.size(), 1);
    QVERIFY2(vcLines.at(0).contains(vsTarget), qPrintable(vcLines.at(0)));
    QCOMPARE(QFileInfo::exists(vsTarget), !earlier.isEmpty());
    QCOMPARE(fileContent(vsTarget), earlier);
    QCOMPARE(QDir(Application::importPath()).entryList(QDir::Files).size(),
             earlier.isEmpty() ? 0 : 1);
    QCOMPARE(storedVersion(QStringLiteral("en")).toInt(), 3);
}

void TestDownloadManager::refusesSecondDownloadWhileBusy()
{
    TempAppDir vApp(languageSettings());
    LoopbackHttpServer vServer;
    vServer.setStalledBody(QStringLiteral("/slow.mp3"), QByteArray("ID3"), 4096);
    const QString vsTarget = vApp.filePath(QStringLiteral("slow.mp3"));

    DownloadManager vManager;
    QSignalSpy vDone(&vManager, &DownloadManager::done);
    vManager.setUrl(vServer.url(QStringLiteral("/slow.mp3")));
    vManager.setFileName(vsTarget);
    QNetworkReply *vpReply = vManager.download(DownloadManager::DataFile);
    QVERIFY(vpReply);
    QTRY_COMPARE_WITH_TIMEOUT(vServer.requestedPaths().size(), 1, 10000);

    QVERIFY(vManager.isBusy());
    QVERIFY(!vManager.download(DownloadManager::DataFile));
    QVERIFY(vManager.isBusy());

    vpReply->abort();
    QCoreApplication::processEvents();
    QCOMPARE(vDone.count(), 1);
    QVERIFY(!vManager.isBusy());
    QCOMPARE(vServer.requestedPaths().size(), 1);
    QVERIFY(!QFileInfo::exists(vsTarget));
}

void TestDownloadManager::followsRedirect_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("absolute");

    QTest::newRow("302 to an absolute address") << 302 << true;
    QTest::newRow("301 to a relative path") << 301 << false;
    QTest::newRow("307 to a relative path") << 307 << false;
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
    const Outcome vOutcome = runDownload(vManager, DownloadManager::DataFile);
    verifyEndedOnce(vOutcome, vManager);

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
    QTest::newRow("folder is a file") << "file";
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
    if (obstacle == QLatin1String("file")) {
        QVERIFY(writeFile(vsFolder, "not a folder"));
    } else if (obstacle == QLatin1String("folder")) {
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
    Outcome vOutcome;
    if (vbRemoved) {
        QSignalSpy vDone(&vManager, &DownloadManager::done);
        vOutcome.mpReply = vManager.download(DownloadManager::DataFile);
        QVERIFY(vOutcome.mpReply);
        vOutcome.mnDoneAtStart = vDone.count();
        QSignalSpy vArrived(vOutcome.mpReply, &QNetworkReply::readyRead);
        QVERIFY(vArrived.wait(10000));
        QVERIFY(QDir(vsFolder).removeRecursively());
        vServer.completeStalledBodies(vBody.mid(vnHalf));
        QVERIFY(vDone.wait(10000));
        QCoreApplication::processEvents();
        vOutcome.mnDone = vDone.count();
    } else {
        vOutcome = runDownload(vManager, DownloadManager::DataFile);
    }
    if (obstacle == QLatin1String("read-only"))
        QFile::setPermissions(vsFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
    verifyEndedOnce(vOutcome, vManager);

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

void TestDownloadManager::settingsFileOwnerOnly()
{
    TempAppDir vApp(languageSettings());
    const QString vsSettings = Application::settingsFilePath();
    const QFileDevice::Permissions vAll = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(vsSettings, vAll));
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/zudoru26/version.txt"), 200, QByteArray());

    DownloadManager vManager;
    vManager.setUrl(vServer.url(QStringLiteral("/zudoru26/version.txt")));
    const Outcome vOutcome = runDownload(vManager, DownloadManager::VersionList);
    verifyEndedOnce(vOutcome, vManager);

    // Fault guarded: the file was made writable for group and others too.
    const QFileDevice::Permissions vPermissions = QFile::permissions(vsSettings);
    QCOMPARE(vPermissions & vAll, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QUILLMARK_TEST_MAIN(TestDownloadManager)
#include "test_downloadmanager.moc"
