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

// What a translation loaded from the program's own resources makes of a text
// (the text itself when that language is not shipped or lacks it).
QString translatedWith(const QString &asLanguage, const char *apSource)
{
    QTranslator vTranslator;
    if (vTranslator.load(QStringLiteral(":/i18n/i18n_") + asLanguage + QStringLiteral(".qm"))) {
        const QString vsText = vTranslator.translate("Application", apSource);
        if (!vsText.isEmpty())
            return vsText;
    }
    return QString::fromUtf8(apSource);
}

QByteArray readFile(const QString &asPath)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::ReadOnly) ? vFile.readAll() : QByteArray();
}

QByteArray fileBody(int anSize)
{
    QByteArray vaBody;
    vaBody.reserve(anSize);
    for (int i = 0; i < anSize; ++i)
        vaBody.append(static_cast<char>('a' + i * 31 % 26));
    return vaBody;
}

} // namespace

class TestSharedOptions : public QObject
{
    Q_OBJECT

private slots:
    void constructionReadsOptions_data();
    void constructionReadsOptions();
    void interfaceLanguageInstallsTranslation_data();
    void interfaceLanguageInstallsTranslation();
    void dataLanguageSwitchesDataStore();
    void settersWriteThrough();
    void databaseLastUpdated_data();
    void databaseLastUpdated();

    void progressText_data();
    void progressText();
    void isSafeMediaName_data();
    void isSafeMediaName();

    void mediaUrlWithoutDownload_data();
    void mediaUrlWithoutDownload();
    void mediaUrlFetches_data();
    void mediaUrlFetches();
    void unsafeNameIsRefused_data();
    void unsafeNameIsRefused();
    void progressAndNestedRequests();
};

void TestSharedOptions::constructionReadsOptions_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QVariantMap>("expected");

    const QVariantMap vcGiven{{QStringLiteral("Language"), QStringLiteral("fr")},
                              {QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                              {QStringLiteral("PlayRemote"), true},
                              {QStringLiteral("ParagraphCount"), 50},
                              {QStringLiteral("OnePage"), true},
                              {QStringLiteral("VersesCount"), 7},
                              {QStringLiteral("BibleOnePage"), true}};
    QTest::newRow("defaults") << QVariantMap()
                              << QVariantMap{{QStringLiteral("Language"), QStringLiteral("en")},
                                             {QStringLiteral("DataLanguage"), QStringLiteral("en")},
                                             {QStringLiteral("PlayRemote"), false},
                                             {QStringLiteral("ParagraphCount"), 20},
                                             {QStringLiteral("OnePage"), false},
                                             {QStringLiteral("VersesCount"), 20},
                                             {QStringLiteral("BibleOnePage"), false}};
    QTest::newRow("given") << vcGiven << vcGiven;
}

void TestSharedOptions::constructionReadsOptions()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QVariantMap, expected);

    TempAppDir vApp(settings);
    SharedOptions *vpOptions = Application::sharedOptions();
    const QVariantMap vcRead{{QStringLiteral("Language"), vpOptions->interfaceLanguage()},
                             {QStringLiteral("DataLanguage"), vpOptions->dataLanguage()},
                             {QStringLiteral("PlayRemote"), vpOptions->playRemote()},
                             {QStringLiteral("ParagraphCount"), vpOptions->paragraphCount()},
                             {QStringLiteral("OnePage"), vpOptions->onePage()},
                             {QStringLiteral("VersesCount"), vpOptions->versesCount()},
                             {QStringLiteral("BibleOnePage"), vpOptions->bibleOnePage()}};
    QCOMPARE(vcRead, expected);

    const QString vsData = expected.value(QStringLiteral("DataLanguage")).toString();
    QCOMPARE(Application::database()->currentLanguage(), vsData);
    QVERIFY(QFileInfo::exists(Application::dataPath() + QStringLiteral("/kvr_main_") + vsData +
                              QStringLiteral(".sqlite")));
}

void TestSharedOptions::interfaceLanguageInstallsTranslation_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("language");

    QTest::newRow("ru") << QStringLiteral("en") << QStringLiteral("ru");
    QTest::newRow("en") << QStringLiteral("ru") << QStringLiteral("en");
    // A language that is not shipped leaves the interface untranslated rather
    // than in the previous language.
    QTest::newRow("not shipped") << QStringLiteral("fr") << QStringLiteral("xx");
}

void TestSharedOptions::interfaceLanguageInstallsTranslation()
{
    QFETCH(QString, initial);
    QFETCH(QString, language);

    TempAppDir vApp({{QStringLiteral("Language"), initial}});
    SharedOptions *vpOptions = Application::sharedOptions();
    QCOMPARE(QCoreApplication::translate("Application", cNotice), translatedWith(initial, cNotice));

    vpOptions->setLanguage(language, SharedOptions::Interface);
    QCOMPARE(vpOptions->interfaceLanguage(), language);
    QCOMPARE(Application::settings()->value(QStringLiteral("Language")).toString(), language);
    QCOMPARE(QCoreApplication::translate("Application", cNotice),
             translatedWith(language, cNotice));
    // The source texts are Russian; the other shipped languages must change them.
    if (language == QLatin1String("en"))
        QVERIFY(QCoreApplication::translate("Application", cNotice) != QString::fromUtf8(cNotice));

    // Releasing the options takes their translation away with them.
    Application::releaseSingletons();
    QCOMPARE(QCoreApplication::translate("Application", cNotice), QString::fromUtf8(cNotice));
}

void TestSharedOptions::dataLanguageSwitchesDataStore()
{
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")}});
    SharedOptions *vpOptions = Application::sharedOptions();
    const QString vsEnglishFile = Application::dataPath() + QStringLiteral("/kvr_main_en.sqlite");
    QVERIFY(!QFileInfo::exists(vsEnglishFile));

    vpOptions->setLanguage(QStringLiteral("en"), SharedOptions::Data);
    QCOMPARE(vpOptions->dataLanguage(), QStringLiteral("en"));
    QCOMPARE(Application::database()->currentLanguage(), QStringLiteral("en"));
    QCOMPARE(Application::settings()->value(QStringLiteral("DataLanguage")).toString(),
             QStringLiteral("en"));
    QVERIFY(QFileInfo::exists(vsEnglishFile));
    QCOMPARE(Application::databaseFilePath(), vsEnglishFile);
    // The interface stays as it was.
    QCOMPARE(vpOptions->interfaceLanguage(), QStringLiteral("en"));
}

// showDuplicates is read anew each time; playRemote is read at start and must
// reach the file when set.
void TestSharedOptions::settersWriteThrough()
{
    TempAppDir vApp;
    SharedOptions *vpOptions = Application::sharedOptions();
    QCOMPARE(vpOptions->showDuplicates(), true);
    vpOptions->setShowDuplicates(false);
    QCOMPARE(vpOptions->showDuplicates(), false);
    QCOMPARE(Application::settings()->value(QStringLiteral("ShowDuplicates")).toBool(), false);
    Application::settings()->setValue(QStringLiteral("ShowDuplicates"), true);
    QCOMPARE(vpOptions->showDuplicates(), true);

    vpOptions->setPlayRemote(true);
    QCOMPARE(vpOptions->playRemote(), true);
    Application::releaseSingletons();
    QCOMPARE(Application::sharedOptions()->playRemote(), true);
}

void TestSharedOptions::databaseLastUpdated_data()
{
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("missing") << QVariant();
    QTest::newRow("empty") << QVariant(QString());
    QTest::newRow("set") << QVariant(QStringLiteral("2019-03-04"));
}

void TestSharedOptions::databaseLastUpdated()
{
    QFETCH(QVariant, stored);

    TempAppDir vApp;
    if (stored.isValid())
        vApp.writeSettings({{QStringLiteral("DatabaseLastUpdated"), stored}});
    SharedOptions *vpOptions = Application::sharedOptions();

    const QString vsBefore = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString vsResult = vpOptions->databaseLastUpdated();
    const QString vsAfter = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

    if (!stored.toString().isEmpty()) {
        QCOMPARE(vsResult, stored.toString());
    } else {
        // Midnight may pass between the two readings of the clock.
        QVERIFY2(vsResult == vsBefore || vsResult == vsAfter, qPrintable(vsResult));
    }
    QCOMPARE(Application::settings()->value(QStringLiteral("DatabaseLastUpdated")).toString(),
             vsResult);
}

void TestSharedOptions::progressText_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing yet") << qint64(0) << qint64(100) << QStringLiteral("   0");
    QTest::newRow("one eighth, half up") << qint64(1) << qint64(8) << QStringLiteral("  13");
    QTest::newRow("one third, down") << qint64(1) << qint64(3) << QStringLiteral("  33");
    QTest::newRow("two thirds, up") << qint64(2) << qint64(3) << QStringLiteral("  67");
    QTest::newRow("almost") << qint64(999) << qint64(1000) << QStringLiteral(" 100");
    QTest::newRow("beyond 32 bits") << qint64(3) * 1024 * 1024 * 1024
                                    << qint64(6) * 1024 * 1024 * 1024 << QStringLiteral("  50");
    // The size is unknown: the received amount in KiB instead.
    QTest::newRow("unknown total") << qint64(2048) << qint64(0) << QStringLiteral("2 KiB");
    QTest::newRow("negative total")
        << qint64(5 * 1024 + 100) << qint64(-1) << QStringLiteral("5 KiB");
}

void TestSharedOptions::progressText()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(QString, expected);

    const QString vsText = SharedOptions::progressText(received, total);
    if (total > 0)
        QCOMPARE(vsText, expected);
    else
        QCOMPARE(vsText.simplified(), expected);
}

void TestSharedOptions::isSafeMediaName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("mp3") << QStringLiteral("65-0725M.mp3") << true;
    QTest::newRow("pdf with blanks and Cyrillic") << QStringLiteral("65-0725M Слово.pdf") << true;
    QTest::newRow("parent folder") << QStringLiteral("../x.mp3") << false;
    QTest::newRow("sub folder") << QStringLiteral("a/b.mp3") << false;
    QTest::newRow("absolute") << QStringLiteral("/tmp/b.mp3") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b.pdf") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestSharedOptions::isSafeMediaName()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);

    QCOMPARE(SharedOptions::isSafeMediaName(name), safe);
}

void TestSharedOptions::mediaUrlWithoutDownload_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("noConfigLogged");

    const QVariantMap vcRemote{{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                               {QStringLiteral("PlayRemote"), true},
                               {QStringLiteral("URL_mp3_ru"), QStringLiteral("http://mp3.test/")},
                               {QStringLiteral("URL_pdf_ru"), QStringLiteral("http://pdf.test/")}};
    QTest::newRow("not media") << vcRemote << QStringLiteral("notes.txt") << QString() << false;
    QTest::newRow("upper-case MP3") << vcRemote << QStringLiteral("65-0725M.MP3")
                                    << QStringLiteral("http://mp3.test/65-0725M.MP3") << false;
    QTest::newRow("names both, MP3 wins")
        << vcRemote << QStringLiteral("pdf-65-0725M.mp3")
        << QStringLiteral("http://mp3.test/pdf-65-0725M.mp3") << false;

    QVariantMap vcTwoKeys = vcRemote;
    vcTwoKeys.insert(QStringLiteral("URL_mp3_ru2"), QStringLiteral("http://second.test/"));
    QTest::newRow("two matching keys")
        << vcTwoKeys << QStringLiteral("a.mp3") << QStringLiteral("http://mp3.test/a.mp3") << false;

    QTest::newRow("other language only")
        << QVariantMap{{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                       {QStringLiteral("PlayRemote"), true},
                       {QStringLiteral("URL_mp3_en"), QStringLiteral("http://mp3.test/")}}
        << QStringLiteral("a.mp3") << QString() << true;
    QTest::newRow("key in other case")
        << QVariantMap{{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                       {QStringLiteral("PlayRemote"), true},
                       {QStringLiteral("url_mp3_ru"), QStringLiteral("http://mp3.test/")}}
        << QStringLiteral("a.mp3") << QString() << true;
    QTest::newRow("empty URL") << QVariantMap{{QStringLiteral("DataLanguage"),
                                               QStringLiteral("ru")},
                                              {QStringLiteral("URL_pdf_ru"), QString()}}
                               << QStringLiteral("a.pdf") << QString() << true;
}

void TestSharedOptions::mediaUrlWithoutDownload()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QFETCH(bool, noConfigLogged);

    TempAppDir vApp(settings);
    LogCapture vLog;
    QCOMPARE(Application::sharedOptions()->mediaUrl(name, nullptr), expected);
    QCOMPARE(vLog.contains(QStringLiteral("No configs for URL!")), noConfigLogged);
    // Nothing was fetched, so nothing was cached.
    QCOMPARE(QDir(vApp.filePath(QStringLiteral("asset/ru"))).entryList(QDir::Files), QStringList());
}

void TestSharedOptions::mediaUrlFetches_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("playRemote");
    QTest::addColumn<QByteArray>("cached");
    QTest::addColumn<bool>("served");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("requested");

    const QString vsMp3 = QStringLiteral("65-0725M.mp3");
    QTest::newRow("download") << vsMp3 << false << QByteArray() << true << "local" << true;
    QTest::newRow("cached file needs no network")
        << vsMp3 << false << QByteArray("cached") << true << "local" << false;
    QTest::newRow("remote play streams MP3")
        << vsMp3 << true << QByteArray() << true << "remote" << false;
    QTest::newRow("remote play still downloads PDF")
        << QStringLiteral("65-0725M.pdf") << true << QByteArray() << true << "local" << true;
    QTest::newRow("missing on the server")
        << QStringLiteral("missing.pdf") << false << QByteArray() << false << "" << true;
}

void TestSharedOptions::mediaUrlFetches()
{
    QFETCH(QString, name);
    QFETCH(bool, playRemote);
    QFETCH(QByteArray, cached);
    QFETCH(bool, served);
    QFETCH(QString, result);
    QFETCH(bool, requested);

    LoopbackHttpServer vServer;
    const QString vsPath = QStringLiteral("/media/") + name;
    const QByteArray vaBody = fileBody(50000);
    if (served)
        vServer.setResponse(vsPath, 200, vaBody);
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("PlayRemote"), playRemote},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/media/"))},
                     {QStringLiteral("URL_pdf_ru"), vServer.url(QStringLiteral("/media/"))}});
    const QString vsFolder = vApp.filePath(QStringLiteral("asset/ru"));
    const QString vsLocal = vsFolder + QLatin1Char('/') + name;
    if (!cached.isEmpty()) {
        QVERIFY(QDir().mkpath(vsFolder));
        QFile vFile(vsLocal);
        QVERIFY(vFile.open(QIODevice::WriteOnly) && vFile.write(cached) == cached.size());
    }
    BoxRecorder vBoxes;

    const QString vsResult = Application::sharedOptions()->mediaUrl(name, nullptr);
    QCOMPARE(vServer.requestedPaths(), requested ? QStringList{vsPath} : QStringList());
    if (result == QLatin1String("remote"))
        QCOMPARE(vsResult, vServer.url(vsPath));
    else if (result == QLatin1String("local"))
        QCOMPARE(vsResult, vsLocal);
    else
        QCOMPARE(vsResult, QString());
    QCOMPARE(vBoxes.count(), result.isEmpty() ? 1 : 0);
    if (result.isEmpty())
        QCOMPARE(vBoxes.requests().constFirst().icon, QMessageBox::Warning);
    if (result == QLatin1String("local"))
        QCOMPARE(readFile(vsLocal), cached.isEmpty() ? vaBody : cached);
    // Nothing but the file itself is left in the media folder.
    QCOMPARE(QDir(vsFolder).entryList(QDir::Files | QDir::Hidden),
             result == QLatin1String("local") ? QStringList{name} : QStringList());
}

void TestSharedOptions::unsafeNameIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("escapedTo");

    QTest::newRow("parent folder")
        << QStringLiteral("../escape.pdf") << QStringLiteral("asset/escape.pdf");
    QTest::newRow("application folder")
        << QStringLiteral("../../escape.pdf") << QStringLiteral("escape.pdf");
    QTest::newRow("sub folder") << QStringLiteral("sub/escape.mp3")
                                << QStringLiteral("asset/ru/sub/escape.mp3");
    QTest::newRow("backslash") << QStringLiteral("..\\escape.pdf")
                               << QStringLiteral("asset/ru/..\\escape.pdf");
}

// Media file names come from the database: one with a path in it must not
// make the program write (or hand out) a file outside the media folder.
void TestSharedOptions::unsafeNameIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, escapedTo);

    LoopbackHttpServer vServer;
    // Whatever path a client might ask for, the server would deliver a file.
    const QStringList vcPaths{QStringLiteral("/media/escape.pdf"), QStringLiteral("/escape.pdf"),
                              QStringLiteral("/media/sub/escape.mp3"),
                              QStringLiteral("/media/..%5Cescape.pdf")};
    for (const QString &vsPath : vcPaths)
        vServer.setResponse(vsPath, 200, QByteArrayLiteral("payload"));
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/media/"))},
                     {QStringLiteral("URL_pdf_ru"), vServer.url(QStringLiteral("/media/"))}});
    // A file already at the escaped place must not be handed out either.
    QVERIFY(QDir(vApp.path()).mkpath(QStringLiteral("asset/ru")));

    QCOMPARE(Application::sharedOptions()->mediaUrl(name, nullptr), QString());
    QCOMPARE(vServer.requestedPaths(), QStringList());
    QVERIFY(!QFileInfo::exists(vApp.filePath(escapedTo)));
}

// Progress reaches the view; while one download waits in its local loop the
// user can ask for another file, and the busy download manager must not be
// reused for it; a view closed during its download is not touched.
void TestSharedOptions::progressAndNestedRequests()
{
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/mp3/first.mp3"), 200, fileBody(40000));
    vServer.setResponse(QStringLiteral("/mp3/second.mp3"), 200, fileBody(40000));
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/mp3/"))}});
    SharedOptions *vpOptions = Application::sharedOptions();
    const QString vsSecond = vApp.filePath(QStringLiteral("asset/ru/second.mp3"));

    ProgressProbe vProbe;
    QStringList vcNestedResults;
    vProbe.mOnProgress = [&] {
        if (vcNestedResults.isEmpty())
            vcNestedResults.append(vpOptions->mediaUrl(QStringLiteral("second.mp3"), nullptr));
    };
    const QString vsFirst = vpOptions->mediaUrl(QStringLiteral("first.mp3"), &vProbe);
    QCOMPARE(vcNestedResults, QStringList{QString()});
    QCOMPARE(vProbe.mcTexts.constLast(), QStringLiteral(" 100"));
    QCOMPARE(vsFirst, vApp.filePath(QStringLiteral("asset/ru/first.mp3")));
    QCOMPARE(readFile(vsFirst), fileBody(40000));
    QCOMPARE(vServer.requestedPaths(), QStringList{QStringLiteral("/mp3/first.mp3")});
    QVERIFY(!QFileInfo::exists(vsSecond));

    // The answer arrives after the player has gone.
    auto *vpClosed = new ProgressProbe;
    connect(&vServer, &LoopbackHttpServer::requestReceived, vpClosed,
            [vpClosed] { delete vpClosed; });
    QCOMPARE(vpOptions->mediaUrl(QStringLiteral("second.mp3"), vpClosed), vsSecond);
    QCOMPARE(readFile(vsSecond), fileBody(40000));
}

QUILLMARK_TEST_MAIN(TestSharedOptions)
#include "test_sharedoptions.moc"
