// The shared options: what they read from the settings file, the two
// language switches, the progress text, and the resolution of media file
// names into cached files, downloads (from a loopback server) or remote URLs.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"

#include <functional>

namespace {

// A media player stand-in: a QObject that shows download progress and may
// be closed (destroyed) while the download runs.
class ProgressProbe : public QObject, public DownloadProgressView
{
public:
    void showDownloadProgress(const QString &asPercent) override
    {
        mcTexts.append(asPercent);
        if (mOnProgress)
            mOnProgress();
    }

    QStringList mcTexts;
    std::function<void()> mOnProgress;
};

const char cNotice[] = "База будет обновлена, программа закроется автоматически";

// Russian data whose media files are fetched from asBase.
QVariantMap mediaSettings(const QString &asBase, bool abPlayRemote = false)
{
    return {{"DataLanguage", "ru"},
            {"URL_mp3_ru", asBase},
            {"URL_pdf_ru", asBase},
            {"PlayRemote", abPlayRemote}};
}

} // namespace

class TestSharedOptions : public QObject
{
    Q_OBJECT

private slots:
    void constructionReadsOptions();
    void interfaceLanguageInstallsTranslation();

    void progressText();

    void mediaUrlNeedsAnAddress();
    void mediaUrlFetches_data();
    void mediaUrlFetches();
    void unsafeNameIsRefused();
    void progressAndNestedRequests();
};

void TestSharedOptions::constructionReadsOptions()
{
    TempAppDir vApp({{"Language", "ru"},
                     {"DataLanguage", "fr"},
                     {"PlayRemote", true},
                     {"ParagraphCount", 50},
                     {"OnePage", true},
                     {"VersesCount", 7},
                     {"BibleOnePage", true}});
    SharedOptions *vpOptions = Application::sharedOptions();
    const QVariantList vcRead{vpOptions->interfaceLanguage(), vpOptions->dataLanguage(),
                              vpOptions->playRemote(),        vpOptions->paragraphCount(),
                              vpOptions->onePage(),           vpOptions->versesCount(),
                              vpOptions->bibleOnePage()};
    QCOMPARE(vcRead, (QVariantList{"ru", "fr", true, 50, true, 7, true}));
    QCOMPARE(Application::database()->currentLanguage(), QString("fr"));
    // playRemote is read at start only, so setting it must reach the file.
    vpOptions->setPlayRemote(false);
    Application::releaseSingletons();
    QCOMPARE(Application::sharedOptions()->playRemote(), false);
}

// The source texts are Russian; the interface shows them when no shipped
// translation applies.
void TestSharedOptions::interfaceLanguageInstallsTranslation()
{
    const QString vsSource = QString::fromUtf8(cNotice);
    const auto shown = [] { return QCoreApplication::translate("Application", cNotice); };
    TempAppDir vApp({{"Language", "en"}});
    SharedOptions *vpOptions = Application::sharedOptions();
    QVERIFY(shown() != vsSource);
    // A language that is not shipped leaves the interface untranslated rather
    // than in the previous language.
    vpOptions->setLanguage("xx", SharedOptions::Interface);
    QCOMPARE(Application::settings()->value("Language").toString(), QString("xx"));
    QCOMPARE(shown(), vsSource);
    vpOptions->setLanguage("en", SharedOptions::Interface);
    QVERIFY(shown() != vsSource);
    // Releasing the options takes their translation away with them.
    Application::releaseSingletons();
    QCOMPARE(shown(), vsSource);
}

void TestSharedOptions::progressText()
{
    const qint64 vnGiB = qint64(1024) * 1024 * 1024;
    QCOMPARE(SharedOptions::progressText(3 * vnGiB, 6 * vnGiB), QString("  50")); // beyond 32 bits
    QCOMPARE(SharedOptions::progressText(1, 8), QString("  13"));                 // half up
    // The size is unknown: the received amount in KiB instead.
    QCOMPARE(SharedOptions::progressText(5 * 1024 + 100, -1), QString("   5 KiB"));
}

// Without an address for the data language's media (none, or an empty one)
// nothing is played or fetched, and the reader is told which setting is
// missing; a file already in the media folder still opens.
void TestSharedOptions::mediaUrlNeedsAnAddress()
{
    const QList<QPair<QString, QString>> vcUrls{{"URL_mp3_en", "http://mp3.test/"},
                                                {"URL_mp3_ru", ""}};
    for (const auto &vUrl : vcUrls) {
        TempAppDir vApp({{"DataLanguage", "ru"}, {"PlayRemote", true}, {vUrl.first, vUrl.second}});
        SharedOptions *vpOptions = Application::sharedOptions();
        QCOMPARE(vpOptions->mediaUrl("a.mp3", nullptr), QString());
        QVERIFY2(vpOptions->mediaProblem().contains("URL_mp3_ru"),
                 qPrintable(vpOptions->mediaProblem()));
        QVERIFY(TestSupport::writeFile(vApp.filePath("asset/ru/a.mp3"), "cached"));
        QCOMPARE(vpOptions->mediaUrl("a.mp3", nullptr), vApp.filePath("asset/ru/a.mp3"));
        QCOMPARE(vpOptions->mediaProblem(), QString());
    }
}

void TestSharedOptions::mediaUrlFetches_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("playRemote");
    QTest::addColumn<QByteArray>("cached");
    QTest::addColumn<QString>("result"); // "local", "remote" or "" (none, and not served)
    QTest::addColumn<bool>("requested");
    const auto row = [](const char *apTag, const char *apName, bool abPlayRemote,
                        const QByteArray &aCached, const char *apResult, bool abRequested) {
        QTest::newRow(apTag) << QString(apName) << abPlayRemote << aCached << QString(apResult)
                             << abRequested;
    };
    row("download", "65-0725M.mp3", false, QByteArray(), "local", true);
    row("cached file needs no network", "65-0725M.mp3", false, "cached", "local", false);
    row("remote play streams MP3", "65-0725M.mp3", true, QByteArray(), "remote", false);
    row("remote play still downloads PDF", "65-0725M.pdf", true, QByteArray(), "local", true);
    row("missing on the server", "missing.pdf", false, QByteArray(), "", true);
    row("not media", "notes.txt", true, QByteArray(), "", false);
    row("a name with both kinds is an MP3", "pdf-65-0725M.MP3", true, QByteArray(), "remote",
        false);
}

void TestSharedOptions::mediaUrlFetches()
{
    QFETCH(QString, name);
    QFETCH(bool, playRemote);
    QFETCH(QByteArray, cached);
    QFETCH(QString, result);
    QFETCH(bool, requested);

    LoopbackHttpServer vServer;
    const QString vsPath = "/media/" + name;
    const QByteArray vaBody = TestSupport::sampleBytes(50000);
    if (!result.isEmpty())
        vServer.setResponse(vsPath, 200, vaBody);
    TempAppDir vApp(mediaSettings(vServer.url("/media/"), playRemote));
    const QString vsFolder = vApp.filePath("asset/ru");
    const QString vsLocal = vsFolder + QLatin1Char('/') + name;
    if (!cached.isEmpty())
        QVERIFY(TestSupport::writeFile(vsLocal, cached));
    BoxRecorder vBoxes;

    const QString vsResult = Application::sharedOptions()->mediaUrl(name, nullptr);
    QCOMPARE(vServer.requestedPaths(), requested ? QStringList{vsPath} : QStringList());
    const bool vbLocal = result == "local";
    QCOMPARE(vsResult, vbLocal ? vsLocal : result == "remote" ? vServer.url(vsPath) : QString());
    QCOMPARE(vBoxes.count(), requested && result.isEmpty() ? 1 : 0);
    if (vbLocal)
        QCOMPARE(TestSupport::readFile(vsLocal), cached.isEmpty() ? vaBody : cached);
    else
        QVERIFY(!QFileInfo::exists(vsLocal));
}

// Media file names come from the database: only a plain file name may be
// used, and one with a path in it must not make the program write (or hand
// out) a file outside the media folder.
void TestSharedOptions::unsafeNameIsRefused()
{
    QVERIFY(SharedOptions::isSafeMediaName("65-0725M Слово.pdf"));
    for (const char *vpName : {"a/b.mp3", "/tmp/b.mp3", "a\\b.pdf", "..", ".b.pdf", ""})
        QVERIFY2(!SharedOptions::isSafeMediaName(vpName), vpName);

    LoopbackHttpServer vServer;
    // Whatever path a client might ask for, the server would deliver a file.
    for (const char *vpPath : {"/media/escape.pdf", "/escape.pdf", "/media/sub/escape.mp3"})
        vServer.setResponse(vpPath, 200, "payload");
    TempAppDir vApp(mediaSettings(vServer.url("/media/")));
    // A file already at the escaped place must not be handed out either.
    QVERIFY(QDir(vApp.path()).mkpath("asset/ru"));
    QVERIFY(TestSupport::writeFile(vApp.filePath("asset/escape.pdf"), "outside"));
    QCOMPARE(Application::sharedOptions()->mediaUrl("../escape.pdf", nullptr), QString());
    QCOMPARE(Application::sharedOptions()->mediaUrl("sub/escape.mp3", nullptr), QString());
    QCOMPARE(vServer.requestedPaths(), QStringList());
}

// Progress reaches the view; while one download waits in its local loop the
// user can ask for another file, and the busy download manager must not be
// reused for it; a view closed during its download is not touched.
void TestSharedOptions::progressAndNestedRequests()
{
    LoopbackHttpServer vServer;
    vServer.setResponse("/mp3/first.mp3", 200, TestSupport::sampleBytes(40000));
    vServer.setResponse("/mp3/second.mp3", 200, TestSupport::sampleBytes(40000));
    TempAppDir vApp(mediaSettings(vServer.url("/mp3/")));
    SharedOptions *vpOptions = Application::sharedOptions();
    const QString vsSecond = vApp.filePath("asset/ru/second.mp3");

    ProgressProbe vProbe;
    QStringList vcNestedResults;
    vProbe.mOnProgress = [&] {
        if (vcNestedResults.isEmpty())
            vcNestedResults.append(vpOptions->mediaUrl("second.mp3", nullptr));
    };
    const QString vsFirst = vpOptions->mediaUrl("first.mp3", &vProbe);
    QCOMPARE(vcNestedResults, QStringList{QString()});
    QCOMPARE(vProbe.mcTexts.constLast(), QString(" 100"));
    QCOMPARE(vsFirst, vApp.filePath("asset/ru/first.mp3"));
    QCOMPARE(TestSupport::readFile(vsFirst), TestSupport::sampleBytes(40000));
    QCOMPARE(vServer.requestedPaths(), QStringList{"/mp3/first.mp3"});
    QVERIFY(!QFileInfo::exists(vsSecond));

    // The answer arrives after the player has gone.
    auto *vpClosed = new ProgressProbe;
    connect(&vServer, &LoopbackHttpServer::requestReceived, vpClosed,
            [vpClosed] { delete vpClosed; });
    QCOMPARE(vpOptions->mediaUrl("second.mp3", vpClosed), vsSecond);
    QCOMPARE(TestSupport::readFile(vsSecond), TestSupport::sampleBytes(40000));
}

QUILLMARK_TEST_MAIN(TestSharedOptions)
#include "test_sharedoptions.moc"
