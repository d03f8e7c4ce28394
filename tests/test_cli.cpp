// The command-line companion, run as a process on an application folder whose
// databases it converted itself; it must print what the program's window shows.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/plaintext.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"
#include "widgets/navigationwidget.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSettings>
#include <QStandardItemModel>
#include <QToolButton>

#include <unistd.h>

#include <memory>

namespace {

using CliRun = TestSupport::ProgramRun;

CliRun runCli(const QStringList &acArguments)
{
    return TestSupport::runProgram(QUILLMARK_CLI, acArguments);
}

// The tool on one application folder (named right after the command).
CliRun runIn(const QString &asApp, const QStringList &acArguments)
{
    return runCli(acArguments.mid(0, 1) + QStringList{"--app-dir", asApp} + acArguments.mid(1));
}

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},    {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},     {"DBLangName2", "En"},
            {"DBLang3", "fr"},      {"DBLangName3", "Fr"}, {"ShowDuplicates", true},
            {"ParagraphCount", 2},  {"VersesCount", 2}};
}

// A sermon's header lines and paragraphs, separated by "|".
QString sermonFile(const QString &asFields)
{
    const QStringList vcFields = asFields.split('|');
    QString vsText = vcFields.mid(0, 7).join('\n') + '\n';
    for (int i = 7; i < vcFields.size(); ++i)
        vsText += QString("E-%1 %2\n").arg(i - 6).arg(vcFields.at(i));
    return vsText + '\n';
}

// Eighteen books before the Psalms, so that the Psalms are book 19 in both
// Bibles; psalms 1 to 10, of which 9 (and in English 10) have the verses
// ("psalm|verse|text") the two numberings pair differently.
QString bibleFile(const QString &asBook, const QString &asPsalms, const QString &asLight,
                  const QStringList &acVerses)
{
    QStringList vcLines{asBook + " 1\t1\t1\t" + asLight};
    for (int vnBook = 2; vnBook <= 18; ++vnBook)
        vcLines << QString("%1 %2\t1\t1\tWord %2.").arg(asBook).arg(vnBook);
    for (int vnPsalm = 1; vnPsalm <= 10; ++vnPsalm) {
        QStringList vcVerses = acVerses.filter(QRegularExpression(QString("^%1\\|").arg(vnPsalm)));
        if (vcVerses.isEmpty())
            vcVerses << QString("%1|1|%2 %1.").arg(vnPsalm).arg(asPsalms);
        for (const QString &vsVerse : vcVerses)
            vcLines << asPsalms + "\t" + QString(vsVerse).replace('|', '\t');
    }
    return vcLines.join('\n') + '\n';
}

bool writeSources(const QString &asRoot)
{
    const QMap<QString, QString> vcFiles{
        {"ru-quotes/47-0412.txt",
         sermonFile("47-0412|Терпение зимы|Н. Воронцова|-|47-0412.mp3|0:52|Город|"
                    "Свет приходит утром, и свет остаётся с нами.|"
                    "Зима долгая, но <i>терпение</i> сильнее холода.|"
                    "Якорь держит лодку, когда приходит буря.")},
        {"ru-quotes/51-0923.txt",
         sermonFile("51-0923|Надежда — якорь|Н. Воронцова|ru-51-0923.pdf|-|0:47|Ривертон|"
                    "Надежда подобна якорю для души.|"
                    "Свет &amp; тьма: «свет» в окне виден издалека.|"
                    "Светлый день начинается с тихой молитвы.")},
        {"ru-quotes/51-0923-b.txt",
         sermonFile("51-0923 *|Надежда как якорь|П. Ильин|-|-|0:47|Ривертон|"
                    "Надежда есть якорь души, надёжный и крепкий.|Свет в окне виден издалека.|"
                    "Третий абзац этого перевода.")},
        {"en-quotes/51-0923.txt",
         sermonFile("51-0923|Hope Is an Anchor|-|-|-|0:47|Riverton|"
                    "Hope is an anchor of the soul.|Light and darkness.|A bright day.")},
        {"ru-bible/bible.txt",
         bibleFile("Книга", "Псалтирь", "Да будет свет.",
                   {"9|1|Хвалю Тебя, свет мой.", "9|2|Радуюсь о Тебе.",
                    "9|21|Зачем, Господи, стоишь вдали?", "9|22|По гордости своей нечестивый."})},
        {"en-bible/bible.txt",
         bibleFile("Book", "Psalms", "Let there be light.",
                   {"9|1|I will praise thee, my light.", "9|2|I will be glad.",
                    "10|1|Why standest thou afar off?", "10|2|The wicked in his pride."})}};
    bool vbOk = true;
    for (auto it = vcFiles.cbegin(); it != vcFiles.cend(); ++it)
        vbOk &= TestSupport::writeFile(asRoot + "/" + it.key(), it.value().toUtf8());
    return vbOk;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void helpAndRefusals_data();
    void helpAndRefusals();
    void conversionAddsReplacesAndRefuses();
    void searchOptions_data();
    void searchOptions();
    void catalogue();
    void searchAsTheWindowShowsIt();
    void documentsAsTheWindowShowsThem_data();
    void documentsAsTheWindowShowsThem();
    void plainText();

private:
    // The tool on the test's folder. Reading commands must leave the settings
    // file exactly as it was, whatever language they work in (a program
    // running beside the tool must not find its data language changed):
    // cleanup() reports those that did not.
    CliRun cli(const QStringList &acArguments)
    {
        const QString vsSettings = mpApp->filePath("setting.ini");
        const QByteArray vaBefore = TestSupport::readFile(vsSettings);
        const CliRun vRun = runIn(mpApp->path(), acArguments);
        if (acArguments.first() != "convert" && TestSupport::readFile(vsSettings) != vaBefore)
            mcChangedSettings << acArguments.join(' ');
        return vRun;
    }
    // "@text" in the arguments replaced by the key of the catalogue item so named.
    void resolveKeys(QStringList &acArguments, const QString &asLanguage, const QString &asBy);
    // A copy of the application folder, settings and databases.
    QString copyOfApp() const;
    bool openWindow();

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<QTemporaryDir> mpSources;
    std::unique_ptr<QTemporaryDir> mpScratch;
    std::unique_ptr<MainWindow> mpWindow;
    QStringList mcChangedSettings;
};

void TestCli::initTestCase()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    mpSources = std::make_unique<QTemporaryDir>();
    mpScratch = std::make_unique<QTemporaryDir>();
    QVERIFY(writeSources(mpSources->path()));
    // The databases are made by the tool itself.
    for (const QStringList &vcRun : {QStringList{"ru", "quotes", "3"},
                                     {"en", "quotes", "1"},
                                     {"ru", "bible", "1"},
                                     {"en", "bible", "1"}}) {
        const CliRun vConverted = cli({"convert", "--lang", vcRun[0], "--type", vcRun[1],
                                       mpSources->filePath(vcRun[0] + "-" + vcRun[1])});
        QVERIFY2(vConverted.mnStatus == 0, qPrintable(vConverted.describe()));
        QCOMPARE(vConverted.rows("converted"),
                 (QList<QStringList>{{vcRun[2], vcRun[0], vcRun[1]}}));
    }
}

void TestCli::cleanupTestCase()
{
    mpWindow.reset();
    mpApp.reset();
}

void TestCli::cleanup()
{
    const QStringList vcChanged = std::exchange(mcChangedSettings, {});
    QVERIFY2(vcChanged.isEmpty(), qPrintable("settings changed by: " + vcChanged.join("; ")));
    if (mpWindow) {
        TabWidget *vpTabs = mpWindow->tabWidget();
        while (vpTabs->count() > 0)
            vpTabs->closeTab(0);
        QVERIFY(TestSupport::roundTrip());
        QVERIFY(TestSupport::roundTrip());
    }
}

void TestCli::resolveKeys(QStringList &acArguments, const QString &asLanguage, const QString &asBy)
{
    static const QRegularExpression scName("@([^,()]+)");
    for (QString &vsArgument : acArguments)
        for (QRegularExpressionMatch vName; (vName = scName.match(vsArgument)).hasMatch();) {
            QString vsKey;
            for (const QStringList &vcItem :
                 cli({"catalogue", "--lang", asLanguage, "--by", asBy}).rows("item"))
                if (vsKey.isEmpty() && vcItem.value(1).contains(vName.captured(1)))
                    vsKey = vcItem.value(0);
            vsArgument.replace(vName.capturedStart(), vName.capturedLength(), vsKey);
        }
}

QString TestCli::copyOfApp() const
{
    static int snCopies = 0;
    const QString vsRoot = mpScratch->filePath(QString("app-%1").arg(++snCopies));
    QDir().mkpath(vsRoot + "/sql/data");
    QFile::copy(mpApp->filePath("setting.ini"), vsRoot + "/setting.ini");
    for (const QString &vsName : QDir(mpApp->filePath("sql/data")).entryList(QDir::Files))
        QFile::copy(mpApp->filePath("sql/data/" + vsName), vsRoot + "/sql/data/" + vsName);
    return vsRoot;
}

bool TestCli::openWindow()
{
    if (!mpWindow) {
        mpWindow = std::make_unique<MainWindow>();
        mpWindow->resize(1000, 700);
        mpWindow->show();
    }
    return QTest::qWaitForWindowExposed(mpWindow.get());
}

void TestCli::helpAndRefusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@text": the key of the sermon so named
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // on standard output for help, else standard error
    auto row = [](const char *asName, const QStringList &acArguments, int anStatus,
                  const QString &asMessage) {
        QTest::newRow(asName) << acArguments << anStatus << asMessage;
    };

    row("general help", {"--help"}, 0, "Usage: quillmark-cli COMMAND");

    row("no search text", {"search"}, 2, "Search text is too short");
    row("flags too large", {"search", "--flags", "32", "x"}, 2, "--flags");
    row("restriction with SQL", {"search", "--restrict", "1) OR (1=1", "x"}, 2, "--restrict");
    row("language with a path", {"search", "--lang", "../ru", "x"}, 2, "not a language code");
    row("open, key not a number", {"open", "first"}, 2, "sermon key");
    row("parallel not a language", {"open", "--parallel", "../en", "1"}, 2, "not a language code");
    row("convert without a language", {"convert", "--type", "quotes", "/tmp"}, 2, "needs --lang");
    row("convert of another type", {"convert", "--lang", "ru", "--type", "hymns", "/tmp"}, 2,
        "--type");

    // No database for the language: a database error, and no empty file left
    // behind for the program to take for a real database.
    row("no database", {"search", "--lang", "fr", "ancre"}, 3,
        "no database for the language \"fr\"");
    // Whatever the search text holds, it can only make the full-text query fail.
    row("search text is never SQL", {"search", "--lang", "ru", "свет'); DROP TABLE quotes; --"}, 3,
        "database error: malformed MATCH expression");
    row("no parallel database", {"open", "--lang", "ru", "--parallel", "fr", "1"}, 3,
        "no database for the language \"fr\"");

    // Parallel texts that are not there, or not parallels.
    row("the sermon's own translation is not a parallel",
        {"open", "--lang", "ru", "--parallel", "ru", "--translator", "Н. Воронцова", "@Надежда —"},
        2, "own translation");
    row("several translations need a choice", {"open", "--lang", "en", "--parallel", "ru", "@Hope"},
        2, "several translations in ru (П. Ильин, Н. Воронцова)");
    row("a translator there is not",
        {"open", "--lang", "en", "--parallel", "ru", "--translator", "Nobody", "@Hope"}, 1,
        "no \"Nobody\" translation");
    row("no translation in that language", {"open", "--lang", "en", "--parallel", "en", "@Hope"}, 1,
        "no other translation of this sermon in en");
    row("no such chapter", {"chapter", "--lang", "en", "Psalms", "11"}, 1,
        "no chapter 11 of \"Psalms\" in en");
}

void TestCli::helpAndRefusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    resolveKeys(arguments, arguments.value(2), "year");
    const CliRun vRun = arguments.first() == "--help" ? runCli(arguments) : cli(arguments);
    QVERIFY2(vRun.mnStatus == status, qPrintable(vRun.describe()));
    if (status == 0) {
        QVERIFY(vRun.msOut.contains(message));
        QVERIFY(vRun.msErr.isEmpty());
        return;
    }
    // Nothing on standard output, and one clear line for a refusal (a failing
    // database may say more).
    QVERIFY(vRun.msOut.isEmpty());
    QVERIFY(status == 3 || vRun.errLines().size() == 1);
    QVERIFY(vRun.msErr.startsWith("quillmark-cli: ") && vRun.msErr.contains(message));
    QVERIFY(!QFileInfo::exists(mpApp->filePath("sql/data/kvr_main_fr.sqlite")));
}

void TestCli::conversionAddsReplacesAndRefuses()
{
    const QString vsApp = copyOfApp();
    auto run = [&vsApp](const QStringList &acArguments) { return runIn(vsApp, acArguments); };
    // Catalogue items for the sermons and books, hits of one word for their texts.
    auto counts = [&run]() {
        const CliRun vBible = run({"catalogue", "--lang", "ru", "--by", "bible"});
        return QString("%1 sermons, %2 paragraphs, %3 books, %4 chapters, %5 verses")
            .arg(run({"catalogue", "--lang", "ru"}).rows("item").size())
            .arg(run({"search", "--lang", "ru", "свет"}).rows("found").value(0).value(0))
            .arg(vBible.rows("group").size())
            .arg(vBible.rows("item").size())
            .arg(
                run({"search", "--lang", "ru", "--bible", "свет"}).rows("found").value(0).value(0));
    };
    const QString vsSermons = mpSources->filePath("ru-quotes");
    const QString vsBible = mpSources->filePath("ru-bible");
    const QString vsAsConverted = "3 sermons, 4 paragraphs, 19 books, 28 chapters, 2 verses";
    QCOMPARE(counts(), vsAsConverted);
    const QString vsEmpty = mpScratch->filePath("empty");
    QVERIFY(TestSupport::writeFile(vsEmpty + "/notes.md", "not a source file"));
    auto convert = [&](const QStringList &acArguments, int anStatus, const QString &asMessage,
                       const QString &asCounts) {
        const CliRun vRun = run(QStringList{"convert", "--lang", "ru", "--type"} + acArguments);
        QVERIFY2(vRun.mnStatus == anStatus && vRun.msErr.contains(asMessage),
                 qPrintable(vRun.describe()));
        QCOMPARE(counts(), asCounts);
    };
    // Without --replace the files are added to what is there; with it, the
    // sermons (only they) are replaced, then the Bible (only it).
    convert({"quotes", vsSermons}, 0, "",
            "6 sermons, 8 paragraphs, 19 books, 28 chapters, 2 verses");
    convert({"quotes", "--replace", vsSermons}, 0, "", vsAsConverted);
    convert({"bible", "--replace", vsBible}, 0, "", vsAsConverted);
    // A second Bible would number its books from 1 again and mix with the
    // first: refused unless it replaces it.
    convert({"bible", vsBible}, 2, "already has a Bible", vsAsConverted);
    // Folders that cannot be read change nothing, even with --replace: a
    // missing one and one without source files.
    convert({"quotes", "--replace", vsApp + "/missing"}, 4, "cannot read the folder",
            vsAsConverted);
    convert({"quotes", "--replace", vsEmpty}, 1, "no source files", vsAsConverted);

    // A source file that cannot be read: the others are converted, and the
    // status says that not everything was.
    const QString vsPartial = mpScratch->filePath("partial");
    QDir().mkpath(vsPartial);
    for (const QString vsName : {"/47-0412.txt", "/51-0923.txt"})
        QVERIFY(QFile::copy(vsSermons + vsName, vsPartial + vsName));
    if (geteuid() != 0) {
        QFile::setPermissions(vsPartial + "/51-0923.txt", QFileDevice::Permissions());
        QCOMPARE(
            run({"convert", "--lang", "en", "--type", "quotes", "--replace", vsPartial}).mnStatus,
            4);
        QCOMPARE(run({"catalogue", "--lang", "en"}).rows("item").size(), 1);
    } else {
        qInfo("Running as root: unreadable files cannot be made here; skipped");
    }

    // A new language's database is created, and the program learns of it
    // through its settings (version 0), while its data language stays.
    const CliRun vFrench =
        run({"convert", "--lang", "fr", "--type", "quotes", mpSources->filePath("en-quotes")});
    QVERIFY2(vFrench.mnStatus == 0, qPrintable(vFrench.describe()));
    QVERIFY(QFileInfo(vsApp + "/sql/data/kvr_main_fr.sqlite").size() > 0);
    QSettings vSettings(vsApp + "/setting.ini", QSettings::IniFormat);
    QCOMPARE(vSettings.value("Version-fr").toString(), QString("0"));
    QCOMPARE(vSettings.value("DataLanguage").toString(), QString("ru"));

    // A file that is not a database: the failure is told in "database error"
    // lines, with no log noise, and nothing is printed as if it had worked.
    QVERIFY(TestSupport::writeFile(vsApp + "/sql/data/kvr_main_ru.sqlite", QByteArray(4096, 'x')));
    const CliRun vBroken = run({"search", "--lang", "ru", "свет"});
    QVERIFY2(vBroken.mnStatus == 3 && vBroken.msOut.isEmpty(), qPrintable(vBroken.describe()));
    QVERIFY(!vBroken.errLines().isEmpty());
    for (const QString &vsLine : vBroken.errLines())
        QVERIFY2(vsLine.startsWith("quillmark-cli: database error: "), qPrintable(vsLine));
    // And no folder at all: none is made.
    const CliRun vNoFolder = runIn(vsApp + "/nowhere", {"search", "--lang", "ru", "свет"});
    QVERIFY2(vNoFolder.mnStatus == 2 && vNoFolder.msErr.contains("no application folder"),
             qPrintable(vNoFolder.describe()));
    QVERIFY(!QFileInfo::exists(vsApp + "/nowhere"));
}

void TestCli::searchOptions_data()
{
    QTest::addColumn<QStringList>("options"); // "@text": the catalogue items so named
    QTest::addColumn<QString>("text");        // given to the tool word by word
    QTest::addColumn<QStringList>("hits");    // "date/number" or "book chapter:verse"
    auto row = [](const char *asName, const QStringList &acOptions, const QString &asText,
                  const QStringList &acHits) {
        QTest::newRow(asName) << acOptions << asText << acHits;
    };

    // Each option is told from the plain search (four hits of "свет", one of
    // "души якорь", none of "буря молитвы"; searchAsTheWindowShowsIt).
    row("whole words, by number", {"--flags", "2"}, "свет",
        {"47-0412/1", "51-0923 */2", "51-0923/2"});
    row("whole words, by name", {"--whole-words"}, "свет",
        {"47-0412/1", "51-0923 */2", "51-0923/2"});
    row("case as written", {"--case-sensitive"}, "свет", {"47-0412/1", "51-0923/2"});
    row("phrase", {"--phrase"}, "души якорь", {});
    row("any word", {"--any-word"}, "буря молитвы", {"47-0412/3", "51-0923/3"});
    row("an apostrophe is only text", {}, "д'Арк", {});
    row("restricted to one sermon", {"--restrict", "@Надежда как якорь"}, "свет", {"51-0923 */2"});
    row("restricted to two, parenthesised", {"--restrict", "(@Терпение,@Надежда —)"}, "свет",
        {"47-0412/1", "51-0923/2", "51-0923/3"});
    row("Bible", {"--bible"}, "свет", {"1 1:1", "19 9:1"});
    row("Bible, restricted to a chapter", {"--bible", "--restrict", "@Псалтирь 9"}, "свет",
        {"19 9:1"});
}

void TestCli::searchOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, text);
    QFETCH(QStringList, hits);
    const bool vbBible = options.contains("--bible");
    resolveKeys(options, "ru", vbBible ? "bible" : "year");
    const CliRun vRun =
        cli(QStringList{"search", "--lang", "ru", "--page-size", "50"} + options + text.split(' '));
    QVERIFY2(vRun.mnStatus == (hits.isEmpty() ? 1 : 0), qPrintable(vRun.describe()));
    QCOMPARE(vRun.rows("found"),
             (QList<QStringList>{{QString::number(hits.size()), hits.isEmpty() ? "0" : "1", "1"}}));
    QStringList vcPrinted;
    for (const QStringList &vcHit : vRun.rows("hit"))
        vcPrinted << (vbBible
                          ? QString("%1 %2:%3").arg(vcHit.value(0), vcHit.value(1), vcHit.value(2))
                          : vcHit.value(0) + "/" + vcHit.value(1));
    vcPrinted.sort();
    QCOMPARE(vcPrinted, hits);
}

void TestCli::catalogue()
{
    // The tree's grouping and order are checked in test_treeview; here, that
    // the options reach it and every item's marks are printed.
    auto items = [this](const QStringList &acOptions) {
        QStringList vcItems; // key, text, details, mp3 or "-", further or "-"
        for (const QStringList &vcItem :
             cli(QStringList{"catalogue", "--lang", "ru"} + acOptions).rows("item"))
            vcItems << vcItem.value(1) + (vcItem.value(3) == "mp3" ? " [mp3]" : "") +
                           (vcItem.value(4) == "further" ? " [further]" : "");
        return vcItems;
    };
    const QString vsWinter = "Терпение зимы (47-0412) [mp3]";
    const QString vsHope = "Надежда — якорь (51-0923)";
    QCOMPARE(items({}), (QStringList{vsWinter, vsHope, "Надежда как якорь (51-0923 *) [further]"}));
    QCOMPARE(items({"--by", "name", "--no-duplicates"}), (QStringList{vsHope, vsWinter}));
}

void TestCli::searchAsTheWindowShowsIt()
{
    QVERIFY(openWindow());
    Application::database()->setByYear();
    mpWindow->searchWidget()->lineEdit()->setText("свет");
    mpWindow->searchWidget()->startSearch(AdvancedSearchFlags());
    auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
    QVERIFY(vpPage);
    QTRY_VERIFY(mpWindow->tabWidget()->tabText(0).contains("(found:"));
    QVERIFY(TestSupport::roundTrip());
    // Every page of the window, by its forward button: pages of two hits
    // (ParagraphCount).
    QList<QStringList> vcShown;
    for (int vnPage = 1;; ++vnPage) {
        for (const ArticleRecord &vHit : vpPage->articles())
            vcShown << QStringList{vHit.msExtra1, vHit.msNumber, vHit.msLeftTitle,
                                   PlainText::fromHtml(vHit.msLeftText)};
        if (vnPage >= vpPage->navigationWidget()->pagesCount())
            break;
        vpPage->navigationWidget()->findChildren<QToolButton *>().at(1)->click();
        QVERIFY(TestSupport::roundTrip());
    }
    QCOMPARE(vcShown.size(), 4);

    // The tool, every hit on one page: the window's, in its order, one line
    // each without markup.
    const QStringList vcSearch{"search", "--lang", "ru", "свет"};
    const CliRun vRun = cli(vcSearch + QStringList{"--page-size", "50"});
    QCOMPARE(vRun.rows("found"), (QList<QStringList>{{"4", "1", "1"}}));
    QCOMPARE(vRun.rows("hit"), vcShown);
    QVERIFY2(!vRun.msOut.contains('<') && !vRun.msOut.contains("&amp;"), qPrintable(vRun.msOut));
    // Pages of the program's size (ParagraphCount 2), then of a chosen size,
    // up to one past the last one: nothing there, and a word why.
    for (const QStringList &vcSize : {QStringList(), QStringList{"--page-size", "3"}}) {
        QList<QStringList> vcPaged;
        for (const QString vsPage : {"1", "2", "3"}) {
            const CliRun vPage = cli(vcSearch + vcSize + QStringList{"--page", vsPage});
            QCOMPARE(vPage.rows("found"), (QList<QStringList>{{"4", "2", vsPage}}));
            QCOMPARE(vPage.mnStatus, vsPage == "3" ? 1 : 0);
            QCOMPARE(vPage.msErr.contains("past the last page (2)"), vsPage == "3");
            vcPaged << vPage.rows("hit");
        }
        QCOMPARE(vcPaged, vcShown);
    }
    // As JSON, one object per line.
    const QStringList vcJson = cli(vcSearch + QStringList{"--json", "--page", "2"}).outLines();
    QCOMPARE(QJsonDocument::fromJson(vcJson.value(2).toUtf8()).object().value("text").toString(),
             vcShown.at(3).last());
}

void TestCli::documentsAsTheWindowShowsThem_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("item"); // the catalogue text of a sermon or chapter
    QTest::addColumn<QString>("parallel");
    QTest::addColumn<QString>("translator");
    QTest::addColumn<QStringList>("chapter"); // the tool's book and chapter; none for a sermon
    auto row = [](const char *asName, const QString &asLanguage, const QString &asItem,
                  const QString &asParallel, const QString &asTranslator,
                  const QStringList &acChapter) {
        QTest::newRow(asName) << asLanguage << asItem << asParallel << asTranslator << acChapter;
    };

    // The pairing itself is checked in test_paralleltexts.
    row("sermon with markup, its English original", "ru", "Надежда — якорь", "en", "", {});
    row("sermon with its other Russian translation", "ru", "Надежда — якорь", "ru", "П. Ильин", {});
    row("English sermon, the chosen one of several translations", "en", "Hope Is an Anchor", "ru",
        "П. Ильин", {});
    row("Russian psalm 9 is English psalms 9 and 10", "ru", "Псалтирь 9", "en", "", {"19", "9"});
}

void TestCli::documentsAsTheWindowShowsThem()
{
    QFETCH(QString, language);
    QFETCH(QString, item);
    QFETCH(QString, parallel);
    QFETCH(QString, translator);
    QFETCH(QStringList, chapter);
    QVERIFY(openWindow());
    const bool vbBible = !chapter.isEmpty();

    // The window: the item double-clicked in the tree, then the translation
    // chosen in the page's menu.
    Application::sharedOptions()->setLanguage(language, SharedOptions::Data);
    vbBible ? Application::database()->setBible() : Application::database()->setByYear();
    QStandardItem *vpItem = nullptr;
    for (QStandardItem *vpCandidate : TestSupport::catalogueItems(mpWindow->treeView()))
        if (!vpItem && vpCandidate->text().startsWith(item))
            vpItem = vpCandidate;
    QVERIFY(vpItem);
    const QString vsKey = vpItem->whatsThis();
    mpWindow->treeView()->itemDoubleClicked(vpItem->index());
    auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
    QVERIFY(vpPage);
    QVERIFY(TestSupport::roundTrip());
    vpPage->openTranslation(parallel, translator);
    QVERIFY(TestSupport::roundTrip());
    QList<QStringList> vcShown;
    for (const ArticleRecord &vRecord : vpPage->articles())
        vcShown << QStringList{
            vRecord.msNumber, vRecord.msLeftTitle, PlainText::fromHtml(vRecord.msLeftText),
            PlainText::oneLine(vRecord.msRightTitle), PlainText::fromHtml(vRecord.msRightText)};
    Application::sharedOptions()->setLanguage("ru", SharedOptions::Data);
    QVERIFY(!vcShown.isEmpty());

    // The tool, asked the same. In the sermon's own language the window's
    // menu names the other translation; the tool takes the one there is by
    // itself.
    QStringList vcArguments{vbBible ? "chapter" : "open", "--lang", language, "--parallel",
                            parallel};
    if (!translator.isEmpty() && parallel != language)
        vcArguments << "--translator" << translator;
    const CliRun vRun = cli(vcArguments + (vbBible ? chapter : QStringList{vsKey}));
    QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));
    const QList<QStringList> vcPrinted = vRun.rows(vbBible ? "verse" : "paragraph");
    QCOMPARE(vcPrinted, vcShown);
    QVERIFY(!vcShown.first().value(3).isEmpty()); // a parallel caption
    if (!vbBible) {                               // key, title, date, translator, …
        const QStringList vcSermon = vRun.rows("sermon").value(0);
        QVERIFY(vcSermon.value(1).startsWith(item));
        QCOMPARE(vcSermon.mid(2, 2), (QStringList{vpPage->dateInfo(), vpPage->translator()}));
    }
}

void TestCli::plainText()
{
    // Marks inside a word leave it whole, block tags separate words,
    // references are decoded, and what is not markup stays text.
    QCOMPARE(
        PlainText::fromHtml("w<span style='background-color: yellow;'>or</span>d<br><b>bold</b>"
                            " a < b &amp; c > d &#1057;&#x432; &bogus; &#0; &#xD800;"),
        QString("word bold a < b & c > d Св &bogus; &#0; &#xD800;"));
}

QUILLMARK_TEST_MAIN(TestCli)
#include "test_cli.moc"
