// The shared options: what they read from the settings file, the two
// language switches, the progress text, and the resolution of media file
// names into cached files, downloads (from a loopback server) or remote URLs.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"

#include <QDate>
#include <QDir>
#include <QSettings>
#include <QTranslator>

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
QString translatedWith(const QString &asLanguage, const char *apContext, const char *apSource)
{
    QTranslator vTranslator;
    if (vTranslator.load(QStringLiteral(":/i18n/i18n_") + asLanguage + QStringLiteral(".qm"))) {
        const QString vsText = vTranslator.translate(apContext, apSource);
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
    void showDuplicatesIsNotCached();
    void databaseLastUpdated_data();
    void databaseLastUpdated();
    void playRemoteIsStored();

    void progressText_data();
    void progressText();
    void isSafeMediaName_data();
    void isSafeMediaName();

    void mediaUrlWithoutDownload_data();
    void mediaUrlWithoutDownload();
    void playRemoteStillDownloadsPdf();
    void cachedFileNeedsNoNetwork();
    void unsafeNameIsRefused_data();
    void unsafeNameIsRefused();
    void downloadSavesFile();
    void missingFileGivesEmptyResult();
    void progressReachesViewUntilItGoes();
    void requestDuringDownloadIsRefused();
};

void TestSharedOptions::constructionReadsOptions_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("interfaceLanguage");
    QTest::addColumn<QString>("dataLanguage");
    QTest::addColumn<bool>("playRemote");
    QTest::addColumn<int>("paragraphCount");
    QTest::addColumn<bool>("onePage");
    QTest::addColumn<int>("versesCount");
    QTest::addColumn<bool>("bibleOnePage");

    QTest::newRow("defaults") << QVariantMap() << QStringLiteral("en") << QStringLiteral("en")
                              << false << 20 << false << 20 << false;
    QTest::newRow("given") << QVariantMap{{QStringLiteral("Language"), QStringLiteral("fr")},
                                          {QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                                          {QStringLiteral("PlayRemote"), true},
                                          {QStringLiteral("ParagraphCount"), 50},
                                          {QStringLiteral("OnePage"), true},
                                          {QStringLiteral("VersesCount"), 7},
                                          {QStringLiteral("BibleOnePage"), true}}
                           << QStringLiteral("fr") << QStringLiteral("ru") << true << 50 << true
                           << 7 << true;
}

void TestSharedOptions::constructionReadsOptions()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, interfaceLanguage);
    QFETCH(QString, dataLanguage);
    QFETCH(bool, playRemote);
    QFETCH(int, paragraphCount);
    QFETCH(bool, onePage);
    QFETCH(int, versesCount);
    QFETCH(bool, bibleOnePage);

    TempAppDir vApp(settings);
    SharedOptions *vpOptions = Application::sharedOptions();
    QCOMPARE(vpOptions->interfaceLanguage(), interfaceLanguage);
    QCOMPARE(vpOptions->dataLanguage(), dataLanguage);
    QCOMPARE(vpOptions->playRemote(), playRemote);
    QCOMPARE(vpOptions->paragraphCount(), paragraphCount);
    QCOMPARE(vpOptions->onePage(), onePage);
    QCOMPARE(vpOptions->versesCount(), versesCount);
    QCOMPARE(vpOptions->bibleOnePage(), bibleOnePage);

    QCOMPARE(Application::database()->currentLanguage(), dataLanguage);
    QVERIFY(QFileInfo::exists(Application::dataPath() + QStringLiteral("/kvr_main_") +
                              dataLanguage + QStringLiteral(".sqlite")));
}

void TestSharedOptions::interfaceLanguageInstallsTranslation_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("language");

    QTest::newRow("ru") << QStringLiteral("en") << QStringLiteral("ru");
    QTest::newRow("en") << QStringLiteral("ru") << QStringLiteral("en");
    QTest::newRow("fr") << QStringLiteral("en") << QStringLiteral("fr");
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
    QCOMPARE(QCoreApplication::translate("Application", cNotice),
             translatedWith(initial, "Application", cNotice));

    vpOptions->setLanguage(language, SharedOptions::Interface);
    QCOMPARE(vpOptions->interfaceLanguage(), language);
    QCOMPARE(Application::settings()->value(QStringLiteral("Language")).toString(), language);
    QCOMPARE(QCoreApplication::translate("Application", cNotice),
             translatedWith(language, "Application", cNotice));
    QCOMPARE(QCoreApplication::translate("Application", "Quillmark"),
             translatedWith(language, "Application", "Quillmark"));
    // The source texts are Russian; the other shipped languages must change them.
    if (language == QLatin1String("en") || language == QLatin1String("fr"))
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

void TestSharedOptions::showDuplicatesIsNotCached()
{
    TempAppDir vApp;
    SharedOptions *vpOptions = Application::sharedOptions();
    QCOMPARE(vpOptions->showDuplicates(), true);

    vpOptions->setShowDuplicates(false);
    QCOMPARE(vpOptions->showDuplicates(), false);
    QCOMPARE(Application::settings()->value(QStringLiteral("ShowDuplicates")).toBool(), false);

    Application::settings()->setValue(QStringLiteral("ShowDuplicates"), true);
    QCOMPARE(vpOptions->showDuplicates(), true);
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

void TestSharedOptions::playRemoteIsStored()
{
    TempAppDir vApp;
    Application::sharedOptions()->setPlayRemote(true);
    QCOMPARE(Application::sharedOptions()->playRemote(), true);

    // A fresh start reads it back from the file.
    Application::releaseSingletons();
    QCOMPARE(Application::sharedOptions()->playRemote(), true);
    QCOMPARE(QSettings(Application::settingsFilePath(), QSettings::IniFormat)
                 .value(QStringLiteral("PlayRemote"))
                 .toBool(),
             true);
}

void TestSharedOptions::progressText_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing yet") << qint64(0) << qint64(100) << QStringLiteral("   0");
    QTest::newRow("one eighth, half up") << qint64(1) << qint64(8) << QStringLiteral("  13");
    QTest::newRow("three eighths, half up") << qint64(3) << qint64(8) << QStringLiteral("  38");
    QTest::newRow("one third, down") << qint64(1) << qint64(3) << QStringLiteral("  33");
    QTest::newRow("two thirds, up") << qint64(2) << qint64(3) << QStringLiteral("  67");
    QTest::newRow("almost") << qint64(999) << qint64(1000) << QStringLiteral(" 100");
    QTest::newRow("complete") << qint64(1000) << qint64(1000) << QStringLiteral(" 100");
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
    QTest::newRow("deeper") << QStringLiteral("../../asset.pdf") << false;
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
    QTest::newRow("mp3 remote") << vcRemote << QStringLiteral("65-0725M.mp3")
                                << QStringLiteral("http://mp3.test/65-0725M.mp3") << false;
    QTest::newRow("upper-case MP3") << vcRemote << QStringLiteral("65-0725M.MP3")
                                    << QStringLiteral("http://mp3.test/65-0725M.MP3") << false;
    QTest::newRow("names both, MP3 wins")
        << vcRemote << QStringLiteral("pdf-65-0725M.mp3")
        << QStringLiteral("http://mp3.test/pdf-65-0725M.mp3") << false;

    QVariantMap vcTwoKeys = vcRemote;
    vcTwoKeys.insert(QStringLiteral("URL_mp3_ru2"), QStringLiteral("http://second.test/"));
    QTest::newRow("two matching keys")
        << vcTwoKeys << QStringLiteral("a.mp3") << QStringLiteral("http://mp3.test/a.mp3") << false;

    QTest::newRow("no URL key") << QVariantMap{{QStringLiteral("DataLanguage"),
                                                QStringLiteral("ru")}}
                                << QStringLiteral("a.pdf") << QString() << true;
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

void TestSharedOptions::playRemoteStillDownloadsPdf()
{
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/pdf/65-0725M.pdf"), 200, fileBody(3000));
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("PlayRemote"), true},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/mp3/"))},
                     {QStringLiteral("URL_pdf_ru"), vServer.url(QStringLiteral("/pdf/"))}});
    SharedOptions *vpOptions = Application::sharedOptions();

    QCOMPARE(vpOptions->mediaUrl(QStringLiteral("65-0725M.mp3"), nullptr),
             vServer.url(QStringLiteral("/mp3/65-0725M.mp3")));
    QCOMPARE(vServer.requestedPaths(), QStringList());

    const QString vsLocal = vApp.filePath(QStringLiteral("asset/ru/65-0725M.pdf"));
    QCOMPARE(vpOptions->mediaUrl(QStringLiteral("65-0725M.pdf"), nullptr), vsLocal);
    QCOMPARE(vServer.requestedPaths(), QStringList{QStringLiteral("/pdf/65-0725M.pdf")});
    QCOMPARE(readFile(vsLocal), fileBody(3000));
}

void TestSharedOptions::cachedFileNeedsNoNetwork()
{
    LoopbackHttpServer vServer;
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/mp3/"))}});
    QVERIFY(QDir(vApp.path()).mkpath(QStringLiteral("asset/ru")));
    const QString vsLocal = vApp.filePath(QStringLiteral("asset/ru/65-0725M.mp3"));
    QFile vFile(vsLocal);
    QVERIFY(vFile.open(QIODevice::WriteOnly));
    vFile.write("cached");
    vFile.close();

    QCOMPARE(Application::sharedOptions()->mediaUrl(QStringLiteral("65-0725M.mp3"), nullptr),
             vsLocal);
    QCOMPARE(vServer.requestedPaths(), QStringList());
    QCOMPARE(readFile(vsLocal), QByteArray("cached"));
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

void TestSharedOptions::downloadSavesFile()
{
    LoopbackHttpServer vServer;
    const QByteArray vaBody = fileBody(50000);
    vServer.setResponse(QStringLiteral("/media/ru/65-0725M.mp3"), 200, vaBody);
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/media/ru/"))}});

    const QString vsResult =
        Application::sharedOptions()->mediaUrl(QStringLiteral("65-0725M.mp3"), nullptr);
    QCOMPARE(vsResult, vApp.filePath(QStringLiteral("asset/ru/65-0725M.mp3")));
    QVERIFY(QFileInfo(vsResult).isAbsolute());
    QCOMPARE(readFile(vsResult), vaBody);
    QCOMPARE(QDir(vApp.filePath(QStringLiteral("asset/ru"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("65-0725M.mp3")});
}

void TestSharedOptions::missingFileGivesEmptyResult()
{
    LoopbackHttpServer vServer;
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_pdf_ru"), vServer.url(QStringLiteral("/pdf/"))}});
    SharedOptions *vpOptions = Application::sharedOptions();

    BoxRecorder vRecorder;
    QCOMPARE(vpOptions->mediaUrl(QStringLiteral("missing.pdf"), nullptr), QString());
    QCOMPARE(vServer.requestedPaths(), QStringList{QStringLiteral("/pdf/missing.pdf")});
    QCOMPARE(vRecorder.count(), 1);
    QCOMPARE(vRecorder.requests().constFirst().icon, QMessageBox::Warning);
    QCOMPARE(QDir(vApp.filePath(QStringLiteral("asset/ru"))).entryList(QDir::Files | QDir::Hidden),
             QStringList());
}

void TestSharedOptions::progressReachesViewUntilItGoes()
{
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/mp3/first.mp3"), 200, fileBody(40000));
    vServer.setResponse(QStringLiteral("/mp3/second.mp3"), 200, fileBody(40000));
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/mp3/"))}});
    SharedOptions *vpOptions = Application::sharedOptions();

    ProgressProbe vProbe;
    QVERIFY(!vpOptions->mediaUrl(QStringLiteral("first.mp3"), &vProbe).isEmpty());
    QVERIFY(!vProbe.mcTexts.isEmpty());
    QCOMPARE(vProbe.mcTexts.constLast(), QStringLiteral(" 100"));

    // The player is closed while its download is on the way: the answer
    // arrives after it has gone.
    auto *vpClosed = new ProgressProbe;
    connect(&vServer, &LoopbackHttpServer::requestReceived, vpClosed,
            [vpClosed] { delete vpClosed; });
    const QString vsSecond = vpOptions->mediaUrl(QStringLiteral("second.mp3"), vpClosed);
    QCOMPARE(vsSecond, vApp.filePath(QStringLiteral("asset/ru/second.mp3")));
    QCOMPARE(readFile(vsSecond), fileBody(40000));
}

// While one download waits in its local loop the user can ask for another
// file; the busy download manager must not be reused for it.
void TestSharedOptions::requestDuringDownloadIsRefused()
{
    LoopbackHttpServer vServer;
    vServer.setResponse(QStringLiteral("/mp3/first.mp3"), 200, fileBody(40000));
    vServer.setResponse(QStringLiteral("/mp3/second.mp3"), 200, fileBody(100));
    TempAppDir vApp({{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                     {QStringLiteral("URL_mp3_ru"), vServer.url(QStringLiteral("/mp3/"))}});
    SharedOptions *vpOptions = Application::sharedOptions();

    ProgressProbe vProbe;
    QStringList vcNestedResults;
    vProbe.mOnProgress = [&] {
        if (vcNestedResults.isEmpty())
            vcNestedResults.append(vpOptions->mediaUrl(QStringLiteral("second.mp3"), nullptr));
    };
    const QString vsFirst = vpOptions->mediaUrl(QStringLiteral("first.mp3"), &vProbe);

    QCOMPARE(vcNestedResults, QStringList{QString()});
    QCOMPARE(vsFirst, vApp.filePath(QStringLiteral("asset/ru/first.mp3")));
    QCOMPARE(readFile(vsFirst), fileBody(40000));
    QCOMPARE(vServer.requestedPaths(), QStringList{QStringLiteral("/mp3/first.mp3")});
    QVERIFY(!QFileInfo::exists(vApp.filePath(QStringLiteral("asset/ru/second.mp3"))));
}

QUILLMARK_TEST_MAIN(TestSharedOptions)
#include "test_sharedoptions.moc"
