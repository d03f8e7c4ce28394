// The command-line companion, run as a process on an application folder whose
// databases it converted itself: its arguments and exit statuses, conversion
// with and without replacing, missing and broken databases, searches (every
// option, restrictions, paging, the duplicates rule), parallel texts with the
// psalm numbering, the catalogue, and above all that it prints what the
// program's window shows for the same request.
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
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QToolButton>

#include <unistd.h>

#include <atomic>
#include <memory>

namespace {

struct CliRun
{
    int mnStatus = -1;
    QString msOut;
    QString msErr;

    QStringList outLines() const { return msOut.split('\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return msErr.split('\n', Qt::SkipEmptyParts); }
    // The tab-separated lines of one kind, without the kind.
    QList<QStringList> rows(const QString &asKind) const
    {
        QList<QStringList> vcRows;
        for (const QString &vsLine : outLines()) {
            QStringList vcFields = vsLine.split('\t');
            if (vcFields.takeFirst() == asKind)
                vcRows << vcFields;
        }
        return vcRows;
    }
    // The JSON lines of one kind (every line must be one JSON object).
    QList<QJsonObject> objects(const QString &asKind) const
    {
        QList<QJsonObject> vcObjects;
        for (const QString &vsLine : outLines()) {
            const QJsonObject vObject = QJsonDocument::fromJson(vsLine.toUtf8()).object();
            if (vObject.value("kind").toString() == asKind)
                vcObjects << vObject;
        }
        return vcObjects;
    }
    QString describe() const
    {
        return QString("status %1\n--- out\n%2--- err\n%3").arg(mnStatus).arg(msOut, msErr);
    }
};

CliRun runCli(const QStringList &acArguments)
{
    QProcess vProcess;
    vProcess.start(QUILLMARK_CLI, acArguments);
    CliRun vRun;
    if (!vProcess.waitForFinished(120000) || vProcess.exitStatus() != QProcess::NormalExit) {
        vProcess.kill();
        vRun.msErr = "the tool did not finish normally";
        return vRun;
    }
    vRun.mnStatus = vProcess.exitCode();
    vRun.msOut = QString::fromUtf8(vProcess.readAllStandardOutput());
    vRun.msErr = QString::fromUtf8(vProcess.readAllStandardError());
    return vRun;
}

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},    {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},     {"DBLangName2", "En"},
            {"DBLang3", "fr"},      {"DBLangName3", "Fr"}, {"ShowDuplicates", true},
            {"ParagraphCount", 2},  {"VersesCount", 2}};
}

bool writeFile(const QString &asPath, const QString &asText)
{
    QDir().mkpath(QFileInfo(asPath).path());
    QFile vFile(asPath);
    return vFile.open(QIODevice::WriteOnly) && vFile.write(asText.toUtf8()) > 0;
}

QString sermonFile(const QStringList &acHeader, const QStringList &acParagraphs)
{
    QString vsText = acHeader.join('\n') + '\n';
    for (int i = 0; i < acParagraphs.size(); ++i)
        vsText += QString("E-%1 %2\n").arg(i + 1).arg(acParagraphs.at(i));
    return vsText + '\n';
}

// Eighteen books before the Psalms, so that the Psalms are book 19 in both
// Bibles; psalms 1 to 10, of which 9 (and in English 10) have the verses the
// two numberings pair differently.
QString bibleFile(const QString &asBookPrefix, const QString &asPsalms, const QString &asLight,
                  const QMap<int, QStringList> &acPsalmVerses)
{
    QStringList vcLines;
    for (int vnBook = 1; vnBook <= 18; ++vnBook)
        vcLines << QString("%1 %2\t1\t1\t%3")
                       .arg(asBookPrefix)
                       .arg(vnBook)
                       .arg(vnBook == 1 ? asLight : QString("Word %1.").arg(vnBook));
    for (int vnPsalm = 1; vnPsalm <= 10; ++vnPsalm) {
        const QStringList vcVerses =
            acPsalmVerses.value(vnPsalm, {QString("1|%1 %2.").arg(asPsalms).arg(vnPsalm)});
        for (const QString &vsVerse : vcVerses)
            vcLines << QString("%1\t%2\t%3\t%4")
                           .arg(asPsalms)
                           .arg(vnPsalm)
                           .arg(vsVerse.section('|', 0, 0), vsVerse.section('|', 1));
    }
    return vcLines.join('\n') + '\n';
}

bool writeSources(const QString &asRoot)
{
    bool vbOk = true;
    vbOk &= writeFile(asRoot + "/ru-quotes/47-0412.txt",
                      sermonFile({"47-0412", "Терпение зимы", "Н. Воронцова", "-", "47-0412.mp3",
                                  "0:52", "Город"},
                                 {"Свет приходит утром, и свет остаётся с нами.",
                                  "Зима долгая, но <i>терпение</i> сильнее холода.",
                                  "Якорь держит лодку, когда приходит буря."}));
    vbOk &= writeFile(asRoot + "/ru-quotes/51-0923.txt",
                      sermonFile({"51-0923", "Надежда — якорь", "Н. Воронцова", "ru-51-0923.pdf",
                                  "-", "0:47", "Ривертон"},
                                 {"Надежда подобна якорю для души.",
                                  "Свет &amp; тьма: «свет» в окне виден издалека.",
                                  "Светлый день начинается с тихой молитвы."}));
    vbOk &= writeFile(
        asRoot + "/ru-quotes/51-0923-b.txt",
        sermonFile({"51-0923 *", "Надежда как якорь", "П. Ильин", "-", "-", "0:47", "Ривертон"},
                   {"Надежда есть якорь души, надёжный и крепкий.", "Свет в окне виден издалека.",
                    "Третий абзац этого перевода."}));
    vbOk &= writeFile(
        asRoot + "/en-quotes/47-0412.txt",
        sermonFile({"47-0412", "Patience of Winter", "-", "-", "-", "0:52", "Town"},
                   {"Light comes in the morning.", "Winter is long.", "An anchor holds."}));
    vbOk &= writeFile(
        asRoot + "/en-quotes/51-0923.txt",
        sermonFile({"51-0923", "Hope Is an Anchor", "-", "-", "-", "0:47", "Riverton"},
                   {"Hope is an anchor of the soul.", "Light and darkness.", "A bright day."}));
    vbOk &= writeFile(
        asRoot + "/ru-bible/bible.txt",
        bibleFile("Книга", "Псалтирь", "Да будет свет.",
                  {{9,
                    {"1|Хвалю Тебя, свет мой.", "2|Радуюсь о Тебе.",
                     "21|Зачем, Господи, стоишь вдали?", "22|По гордости своей нечестивый."}}}));
    vbOk &= writeFile(
        asRoot + "/en-bible/bible.txt",
        bibleFile("Book", "Psalms", "Let there be light.",
                  {{9, {"1|I will praise thee, my light.", "2|I will be glad."}},
                   {10, {"1|Why standest thou afar off?", "2|The wicked in his pride."}}}));
    return vbOk;
}

// A page's record and a printed one, in one comparable line.
QString pageLine(const ArticleRecord &aRecord, bool abParallel)
{
    QString vsLine =
        QStringList{aRecord.msNumber, aRecord.msLeftTitle, PlainText::fromHtml(aRecord.msLeftText)}
            .join(" | ");
    if (abParallel)
        vsLine += " || " + PlainText::oneLine(aRecord.msRightTitle) + " | " +
                  PlainText::fromHtml(aRecord.msRightText);
    return vsLine;
}

QString printedLine(const QJsonObject &aRecord, const QString &asNumberKey, bool abParallel)
{
    QString vsLine =
        QStringList{aRecord.value(asNumberKey).toString(), aRecord.value("title").toString(),
                    aRecord.value("text").toString()}
            .join(" | ");
    if (abParallel)
        vsLine += " || " + aRecord.value("parallelTitle").toString() + " | " +
                  aRecord.value("parallelText").toString();
    return vsLine;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void usageAndBadArguments_data();
    void usageAndBadArguments();
    void missingAndBrokenDatabases();
    void conversionAddsReplacesAndRefuses();
    void searchOptionsAndRestrictions_data();
    void searchOptionsAndRestrictions();
    void searchTextIsNeverSql();
    void pagingCoversEveryHitOnce();
    void duplicatesRule();
    void parallelTexts_data();
    void parallelTexts();
    void catalogueAsTheTreeShowsIt_data();
    void catalogueAsTheTreeShowsIt();
    void searchesMatchThePage_data();
    void searchesMatchThePage();
    void documentsMatchThePage_data();
    void documentsMatchThePage();
    void settingsAreLeftAlone();
    void plainText_data();
    void plainText();

private:
    CliRun cli(QStringList acArguments) const
    {
        return runCli(QStringList{acArguments.takeFirst(), "--app-dir", mpApp->path()} +
                      acArguments);
    }
    QString keyOf(const QString &asLanguage, const QString &asTextPart) const;
    // A copy of the application folder with other settings.
    QString copyOfApp(const QMap<QString, QVariant> &acSettings) const;
    TabArea *search(const QString &asText, AdvancedSearchFlags aFlags);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<QTemporaryDir> mpSources;
    std::unique_ptr<QTemporaryDir> mpScratch;
    std::unique_ptr<MainWindow> mpWindow;
};

void TestCli::initTestCase()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    mpSources = std::make_unique<QTemporaryDir>();
    mpScratch = std::make_unique<QTemporaryDir>();
    QVERIFY(writeSources(mpSources->path()));
    // The databases are made by the tool itself.
    struct Conversion
    {
        QString language, type, folder;
        int files;
    };
    for (const Conversion &vRun :
         {Conversion{"ru", "quotes", "ru-quotes", 3}, Conversion{"en", "quotes", "en-quotes", 2},
          Conversion{"ru", "bible", "ru-bible", 1}, Conversion{"en", "bible", "en-bible", 1}}) {
        const CliRun vConverted = cli({"convert", "--lang", vRun.language, "--type", vRun.type,
                                       mpSources->filePath(vRun.folder)});
        QVERIFY2(vConverted.mnStatus == 0, qPrintable(vConverted.describe()));
        QCOMPARE(vConverted.rows("converted"),
                 (QList<QStringList>{{QString::number(vRun.files), vRun.language, vRun.type}}));
        // A progress line per file on standard error.
        QCOMPARE(vConverted.errLines().size(), vRun.files);
        QVERIFY(vConverted.errLines().last().startsWith(
            QString("converted %1 of %1: ").arg(vRun.files)));
    }
}

void TestCli::cleanupTestCase()
{
    mpWindow.reset();
    mpApp.reset();
}

void TestCli::cleanup()
{
    if (mpWindow) {
        TabWidget *vpTabs = mpWindow->tabWidget();
        while (vpTabs->count() > 0)
            vpTabs->closeTab(0);
        QVERIFY(TestSupport::roundTrip());
        QVERIFY(TestSupport::roundTrip());
    }
}

QString TestCli::keyOf(const QString &asLanguage, const QString &asTextPart) const
{
    const CliRun vRun = cli({"catalogue", "--lang", asLanguage, "--by", "year"});
    for (const QStringList &vcItem : vRun.rows("item"))
        if (vcItem.value(1).contains(asTextPart))
            return vcItem.value(0);
    return QString();
}

QString TestCli::copyOfApp(const QMap<QString, QVariant> &acSettings) const
{
    static int snCopies = 0;
    const QString vsRoot = mpScratch->filePath(QString("app-%1").arg(++snCopies));
    QDir().mkpath(vsRoot + "/sql/data");
    for (const QString &vsName : QDir(mpApp->filePath("sql/data")).entryList(QDir::Files))
        QFile::copy(mpApp->filePath("sql/data/" + vsName), vsRoot + "/sql/data/" + vsName);
    QSettings vSettings(vsRoot + "/setting.ini", QSettings::IniFormat);
    vSettings.setIniCodec("UTF-8");
    QMap<QString, QVariant> vcAll = settings();
    for (auto it = acSettings.cbegin(); it != acSettings.cend(); ++it)
        vcAll.insert(it.key(), it.value());
    for (auto it = vcAll.cbegin(); it != vcAll.cend(); ++it)
        vSettings.setValue(it.key(), it.value());
    return vsRoot;
}

void TestCli::usageAndBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // on standard output for help, else standard error

    QTest::newRow("general help") << QStringList{"--help"} << 0 << "Usage: quillmark-cli COMMAND";
    for (const QString vsCommand : {"search", "open", "chapter", "catalogue", "convert"})
        QTest::newRow(qPrintable(vsCommand + " help"))
            << QStringList{vsCommand, "--help"} << 0 << "Usage: quillmark-cli " + vsCommand;

    QTest::newRow("unknown command") << QStringList{"find", "x"} << 2 << "unknown command \"find\"";
    QTest::newRow("unknown option")
        << QStringList{"search", "--fast", "x"} << 2 << "Unknown option 'fast'";
    QTest::newRow("no search text") << QStringList{"search"} << 2 << "Search text is too short";
    QTest::newRow("blank search text") << QStringList{"search", " \t"} << 2 << "too short";
    QTest::newRow("flags too large")
        << QStringList{"search", "--flags", "32", "x"} << 2 << "--flags";
    QTest::newRow("flags not a number")
        << QStringList{"search", "--flags", "two", "x"} << 2 << "--flags";
    QTest::newRow("page zero") << QStringList{"search", "--page", "0", "x"} << 2 << "--page";
    QTest::newRow("page size zero")
        << QStringList{"search", "--page-size", "0", "x"} << 2 << "--page-size";
    QTest::newRow("restriction with SQL")
        << QStringList{"search", "--restrict", "1) OR (1=1", "x"} << 2 << "--restrict";
    QTest::newRow("language with a path")
        << QStringList{"search", "--lang", "../ru", "x"} << 2 << "not a language code";
    QTest::newRow("open without a key") << QStringList{"open"} << 2 << "sermon key";
    QTest::newRow("open, key not a number") << QStringList{"open", "first"} << 2 << "sermon key";
    QTest::newRow("translator without parallel") << QStringList{"open", "--translator", "X", "1"}
                                                 << 2 << "--translator goes with --parallel";
    QTest::newRow("parallel not a language")
        << QStringList{"open", "--parallel", "English", "1"} << 2 << "not a language code";
    QTest::newRow("chapter without a chapter")
        << QStringList{"chapter", "19"} << 2 << "chapter number";
    QTest::newRow("chapter parallel in its own language")
        << QStringList{"chapter", "--lang", "ru", "--parallel", "ru", "19", "9"} << 2
        << "another language";
    QTest::newRow("catalogue by decade")
        << QStringList{"catalogue", "--by", "decade"} << 2 << "--by";
    QTest::newRow("catalogue with an argument")
        << QStringList{"catalogue", "year"} << 2 << "no arguments";
    QTest::newRow("convert without a language")
        << QStringList{"convert", "--type", "quotes", "/tmp"} << 2 << "needs --lang";
    QTest::newRow("convert of another type")
        << QStringList{"convert", "--lang", "ru", "--type", "hymns", "/tmp"} << 2 << "--type";
    QTest::newRow("convert without a folder")
        << QStringList{"convert", "--lang", "ru", "--type", "quotes"} << 2 << "one folder";
}

void TestCli::usageAndBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const CliRun vRun = runCli(arguments.first() == "--help"
                                   ? arguments
                                   : arguments.mid(0, 1) + QStringList{"--app-dir", mpApp->path()} +
                                         arguments.mid(1));
    QVERIFY2(vRun.mnStatus == status, qPrintable(vRun.describe()));
    if (status == 0) {
        QVERIFY2(vRun.msOut.contains(message), qPrintable(vRun.describe()));
        QVERIFY(vRun.msOut.contains("Exit status:"));
        QVERIFY(vRun.msErr.isEmpty());
        return;
    }
    // One clear line, nothing on standard output.
    QVERIFY(vRun.msOut.isEmpty());
    QCOMPARE(vRun.errLines().size(), 1);
    QVERIFY2(vRun.msErr.startsWith("quillmark-cli: ") && vRun.msErr.contains(message),
             qPrintable(vRun.msErr));
}

void TestCli::missingAndBrokenDatabases()
{
    // No database for the language: a database error, and no empty file left
    // behind for the program to take for a real database.
    const QString vsFrench = mpApp->filePath("sql/data/kvr_main_fr.sqlite");
    for (const QStringList &vcArguments :
         {QStringList{"search", "--lang", "fr", "ancre"}, QStringList{"open", "--lang", "fr", "1"},
          QStringList{"catalogue", "--lang", "fr"},
          QStringList{"chapter", "--lang", "fr", "1", "1"},
          QStringList{"open", "--lang", "ru", "--parallel", "fr", "1"}}) {
        const CliRun vRun = cli(vcArguments);
        QVERIFY2(vRun.mnStatus == 3, qPrintable(vRun.describe()));
        QVERIFY(vRun.msErr.contains("no database for the language \"fr\""));
        QVERIFY(!QFileInfo::exists(vsFrench));
    }

    const CliRun vNoFolder =
        runCli({"search", "--app-dir", mpScratch->filePath("nowhere"), "--lang", "ru", "свет"});
    QCOMPARE(vNoFolder.mnStatus, 2);
    QVERIFY(vNoFolder.msErr.contains("no application folder"));
    QVERIFY(!QFileInfo::exists(mpScratch->filePath("nowhere")));

    // A file that is not a database, and one whose sermon table is not the
    // program's: each failure is one "database error" line, with no log
    // noise, and nothing printed as if it had worked.
    const QString vsBroken = copyOfApp({});
    QFile vGarbage(vsBroken + "/sql/data/kvr_main_ru.sqlite");
    QVERIFY(vGarbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
    vGarbage.write(QByteArray(4096, 'x'));
    vGarbage.close();
    const CliRun vGarbageRun = runCli({"search", "--app-dir", vsBroken, "--lang", "ru", "свет"});
    QVERIFY2(vGarbageRun.mnStatus == 3, qPrintable(vGarbageRun.describe()));
    QVERIFY(vGarbageRun.msOut.isEmpty());

    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase("QSQLITE", "wrongSchema");
        vDatabase.setDatabaseName(vsBroken + "/sql/data/kvr_main_en.sqlite");
        QVERIFY(vDatabase.open());
        QSqlQuery vQuery(vDatabase);
        QVERIFY(vQuery.exec("DROP TABLE quotes"));
        QVERIFY(vQuery.exec("CREATE TABLE quotes (title TEXT)"));
        vDatabase.close();
    }
    QSqlDatabase::removeDatabase("wrongSchema");
    for (const QStringList &vcArguments :
         {QStringList{"catalogue", "--lang", "en"}, QStringList{"search", "--lang", "en", "light"},
          QStringList{"open", "--lang", "en", "1"}}) {
        const CliRun vRun =
            runCli(vcArguments.mid(0, 1) + QStringList{"--app-dir", vsBroken} + vcArguments.mid(1));
        QVERIFY2(vRun.mnStatus == 3, qPrintable(vRun.describe()));
        QVERIFY(vRun.msOut.isEmpty());
        QVERIFY(!vRun.errLines().isEmpty());
        for (const QString &vsLine : vRun.errLines())
            QVERIFY2(vsLine.startsWith("quillmark-cli: database error: "), qPrintable(vsLine));
    }
    // With --verbose the program's own log lines come too.
    const CliRun vVerbose =
        runCli({"catalogue", "--app-dir", vsBroken, "--lang", "en", "--verbose"});
    QCOMPARE(vVerbose.mnStatus, 3);
    QVERIFY2(vVerbose.msErr.contains("(II) SQL Error:"), qPrintable(vVerbose.msErr));
}

void TestCli::conversionAddsReplacesAndRefuses()
{
    const QString vsApp = copyOfApp({});
    auto run = [&vsApp](QStringList acArguments) {
        return runCli(acArguments.mid(0, 1) + QStringList{"--app-dir", vsApp} + acArguments.mid(1));
    };
    auto counts = [&run]() {
        const CliRun vSermons = run({"catalogue", "--lang", "ru"});
        const CliRun vBible = run({"catalogue", "--lang", "ru", "--by", "bible"});
        return QString("%1 sermons, %2 books, %3 chapters")
            .arg(vSermons.rows("item").size())
            .arg(vBible.rows("group").size())
            .arg(vBible.rows("item").size());
    };
    const QString vsSermons = mpSources->filePath("ru-quotes");
    const QString vsBible = mpSources->filePath("ru-bible");
    QCOMPARE(counts(), QString("3 sermons, 19 books, 28 chapters"));

    // Without --replace the files are added to what is there.
    QCOMPARE(run({"convert", "--lang", "ru", "--type", "quotes", vsSermons}).mnStatus, 0);
    QCOMPARE(counts(), QString("6 sermons, 19 books, 28 chapters"));
    // With it, the sermons (only they) are replaced.
    QCOMPARE(run({"convert", "--lang", "ru", "--type", "quotes", "--replace", vsSermons}).mnStatus,
             0);
    QCOMPARE(counts(), QString("3 sermons, 19 books, 28 chapters"));
    QCOMPARE(run({"convert", "--lang", "ru", "--type", "bible", "--replace", vsBible}).mnStatus, 0);
    QCOMPARE(counts(), QString("3 sermons, 19 books, 28 chapters"));
    // A second Bible would number its books from 1 again and mix with the
    // first: refused unless it replaces it.
    const CliRun vSecondBible = run({"convert", "--lang", "ru", "--type", "bible", vsBible});
    QCOMPARE(vSecondBible.mnStatus, 2);
    QVERIFY2(vSecondBible.msErr.contains("already has a Bible"), qPrintable(vSecondBible.msErr));
    QCOMPARE(counts(), QString("3 sermons, 19 books, 28 chapters"));

    // Folders that cannot be read change nothing, even with --replace: a
    // missing one, a file, and one without source files.
    const QString vsFile = mpSources->filePath("ru-quotes/47-0412.txt");
    const QString vsEmpty = mpScratch->filePath("empty");
    QDir().mkpath(vsEmpty);
    writeFile(vsEmpty + "/notes.md", "not a source file");
    struct Refusal
    {
        QString folder;
        int status;
        QString message;
    };
    for (const Refusal &vCase :
         {Refusal{mpScratch->filePath("missing"), 4, "cannot read the folder"},
          Refusal{vsFile, 4, "cannot read the folder"}, Refusal{vsEmpty, 1, "no source files"}}) {
        const CliRun vRun =
            run({"convert", "--lang", "ru", "--type", "quotes", "--replace", vCase.folder});
        QVERIFY2(vRun.mnStatus == vCase.status, qPrintable(vRun.describe()));
        QVERIFY2(vRun.msErr.contains(vCase.message), qPrintable(vRun.msErr));
        QCOMPARE(counts(), QString("3 sermons, 19 books, 28 chapters"));
    }

    // A source file that cannot be read: the others are converted, and the
    // status says that not everything was.
    const QString vsPartial = mpScratch->filePath("partial");
    QDir().mkpath(vsPartial);
    QVERIFY(QFile::copy(mpSources->filePath("en-quotes/47-0412.txt"), vsPartial + "/47-0412.txt"));
    QVERIFY(QFile::copy(mpSources->filePath("en-quotes/51-0923.txt"), vsPartial + "/51-0923.txt"));
    if (geteuid() != 0) {
        QFile::setPermissions(vsPartial + "/51-0923.txt", QFileDevice::Permissions());
        const CliRun vRun =
            run({"convert", "--lang", "en", "--type", "quotes", "--replace", vsPartial});
        QVERIFY2(vRun.mnStatus == 4, qPrintable(vRun.describe()));
        QCOMPARE(run({"catalogue", "--lang", "en"}).rows("item").size(), 1);

        QFile::setPermissions(vsPartial, QFileDevice::Permissions());
        const CliRun vLocked =
            run({"convert", "--lang", "en", "--type", "quotes", "--replace", vsPartial});
        QFile::setPermissions(vsPartial, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
        QVERIFY2(vLocked.mnStatus == 4, qPrintable(vLocked.describe()));
        QCOMPARE(run({"catalogue", "--lang", "en"}).rows("item").size(), 1);
    } else {
        qInfo("Running as root: unreadable files and folders cannot be made here; skipped");
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
}

void TestCli::searchOptionsAndRestrictions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("hits"); // "date/number" or "book chapter:verse"

    const QString vsWinter = "47-0412", vsHope = "51-0923", vsHope2 = "51-0923 *";
    QTest::newRow("prefixes, all translations")
        << QStringList{"свет"}
        << QStringList{vsWinter + "/1", vsHope2 + "/2", vsHope + "/2", vsHope + "/3"};
    QTest::newRow("whole words, by number")
        << QStringList{"--flags", "2", "свет"}
        << QStringList{vsWinter + "/1", vsHope2 + "/2", vsHope + "/2"};
    QTest::newRow("whole words, by name")
        << QStringList{"--whole-words", "свет"}
        << QStringList{vsWinter + "/1", vsHope2 + "/2", vsHope + "/2"};
    QTest::newRow("case as written")
        << QStringList{"--case-sensitive", "свет"} << QStringList{vsWinter + "/1", vsHope + "/2"};
    QTest::newRow("case as written, by number")
        << QStringList{"--flags", "1", "Свет"}
        << QStringList{vsWinter + "/1", vsHope2 + "/2", vsHope + "/2", vsHope + "/3"};
    QTest::newRow("phrase") << QStringList{"--phrase", "якорь", "души"}
                            << QStringList{vsHope2 + "/1"};
    QTest::newRow("any word") << QStringList{"--any-word", "буря молитвы"}
                              << QStringList{vsWinter + "/3", vsHope + "/3"};
    QTest::newRow("all words") << QStringList{"буря молитвы"} << QStringList{};
    QTest::newRow("regular expression option")
        << QStringList{"--regex", "терп"} << QStringList{vsWinter + "/2"};
    QTest::newRow("an apostrophe is only text") << QStringList{"д'Арк"} << QStringList{};
    QTest::newRow("restricted to one sermon")
        << QStringList{"--restrict", "@Надежда как якорь", "свет"} << QStringList{vsHope2 + "/2"};
    QTest::newRow("restricted to two, parenthesised")
        << QStringList{"--restrict", "(@Терпение,@Надежда —)", "свет"}
        << QStringList{vsWinter + "/1", vsHope + "/2", vsHope + "/3"};
    QTest::newRow("Bible") << QStringList{"--bible", "свет"} << QStringList{"1 1:1", "19 9:1"};
    QTest::newRow("Bible, restricted to a chapter")
        << QStringList{"--bible", "--restrict", "@Псалтирь 9", "свет"} << QStringList{"19 9:1"};
    QTest::newRow("Bible, whole words")
        << QStringList{"--bible", "--whole-words", "све"} << QStringList{};
}

void TestCli::searchOptionsAndRestrictions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, hits);
    const bool vbBible = arguments.contains("--bible");
    // "@text" names catalogue items; the tool takes their keys.
    for (QString &vsArgument : arguments) {
        if (!vsArgument.contains('@'))
            continue;
        const CliRun vCatalogue =
            cli({"catalogue", "--lang", "ru", "--by", vbBible ? "bible" : "year"});
        const bool vbParenthesised = vsArgument.startsWith('(');
        QStringList vcKeys;
        for (QString vsName : vsArgument.remove('(').remove(')').split(',')) {
            vsName.remove('@');
            for (const QStringList &vcItem : vCatalogue.rows("item"))
                if (vcItem.value(1).startsWith(vsName))
                    vcKeys << vcItem.value(0);
        }
        QVERIFY(!vcKeys.isEmpty());
        vsArgument = vbParenthesised ? "(" + vcKeys.join(", ") + ")" : vcKeys.join(',');
    }
    const CliRun vRun = cli(QStringList{"search", "--lang", "ru", "--page-size", "50"} + arguments);
    QVERIFY2(vRun.mnStatus == (hits.isEmpty() ? 1 : 0), qPrintable(vRun.describe()));
    QCOMPARE(vRun.rows("found"),
             (QList<QStringList>{{QString::number(hits.size()), hits.isEmpty() ? "0" : "1", "1"}}));
    QStringList vcPrinted;
    for (const QStringList &vcHit : vRun.rows("hit")) {
        vcPrinted << (vbBible
                          ? QString("%1 %2:%3").arg(vcHit.value(0), vcHit.value(1), vcHit.value(2))
                          : vcHit.value(0) + "/" + vcHit.value(1));
        // No markup and no tab inside a field: a hit line has its columns.
        QCOMPARE(vcHit.size(), vbBible ? 5 : 4);
        QVERIFY2(!vcHit.last().contains('<') && !vcHit.last().contains("&amp;"),
                 qPrintable(vcHit.last()));
    }
    vcPrinted.sort();
    hits.sort();
    QCOMPARE(vcPrinted, hits);
}

void TestCli::searchTextIsNeverSql()
{
    // Whatever the text holds, it can only make the full-text query fail.
    const CliRun vRun = cli({"search", "--lang", "ru", "свет'); DROP TABLE quotes; --"});
    QVERIFY2(vRun.mnStatus == 3, qPrintable(vRun.describe()));
    QVERIFY2(vRun.msErr.startsWith("quillmark-cli: database error: malformed MATCH expression"),
             qPrintable(vRun.msErr));
    QCOMPARE(cli({"catalogue", "--lang", "ru"}).rows("item").size(), 3);
}

void TestCli::pagingCoversEveryHitOnce()
{
    const CliRun vAll = cli({"search", "--lang", "ru", "--page-size", "100", "--json", "свет"});
    QCOMPARE(vAll.mnStatus, 0);
    const QList<QJsonObject> vcAll = vAll.objects("hit");
    QCOMPARE(vcAll.size(), 4);

    // Pages of the program's size (ParagraphCount 2), then of a chosen size.
    for (const QStringList &vcSize : {QStringList{}, QStringList{"--page-size", "3"}}) {
        const int vnSize = vcSize.isEmpty() ? 2 : 3;
        const int vnPages = (vcAll.size() + vnSize - 1) / vnSize;
        QList<QJsonObject> vcPaged;
        for (int vnPage = 1; vnPage <= vnPages; ++vnPage) {
            const CliRun vRun = cli(QStringList{"search", "--lang", "ru", "--json", "--page",
                                                QString::number(vnPage), "свет"} +
                                    vcSize);
            QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));
            const QJsonObject vFound = vRun.objects("found").value(0);
            QCOMPARE(vFound.value("hits").toInt(), vcAll.size());
            QCOMPARE(vFound.value("pages").toInt(), vnPages);
            QCOMPARE(vFound.value("page").toInt(), vnPage);
            vcPaged << vRun.objects("hit");
        }
        QCOMPARE(vcPaged, vcAll);

        const CliRun vPast = cli(
            QStringList{"search", "--lang", "ru", "--page", QString::number(vnPages + 1), "свет"} +
            vcSize);
        QCOMPARE(vPast.mnStatus, 1);
        QVERIFY(vPast.rows("hit").isEmpty());
        QVERIFY2(vPast.msErr.contains(QString("past the last page (%1)").arg(vnPages)),
                 qPrintable(vPast.msErr));
    }
}

void TestCli::duplicatesRule()
{
    // With further translations hidden, an unrestricted search leaves them
    // out; a search restricted to one still finds it.
    const QString vsHidden = copyOfApp({{"ShowDuplicates", false}});
    auto hitDates = [](const CliRun &aRun) {
        QStringList vcDates;
        for (const QStringList &vcHit : aRun.rows("hit"))
            vcDates << vcHit.value(0);
        return vcDates;
    };
    const CliRun vHidden =
        runCli({"search", "--app-dir", vsHidden, "--lang", "ru", "--page-size", "9", "свет"});
    QCOMPARE(hitDates(vHidden), (QStringList{"47-0412", "51-0923", "51-0923"}));
    const CliRun vShown = cli({"search", "--lang", "ru", "--page-size", "9", "свет"});
    QCOMPARE(hitDates(vShown).size(), 4);
    const QString vsFurther = keyOf("ru", "Надежда как якорь");
    const CliRun vRestricted =
        runCli({"search", "--app-dir", vsHidden, "--lang", "ru", "--restrict", vsFurther, "свет"});
    QCOMPARE(hitDates(vRestricted), QStringList{"51-0923 *"});
}

void TestCli::parallelTexts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    // "number|parallel caption" per record, or the message on standard error.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("sermon with its English original")
        << QStringList{"open", "--lang", "ru", "--parallel", "en", "@Терпение"} << 0
        << QStringList{"1|Patience of Winter, (47-0412), Town, (-)",
                       "2|Patience of Winter, (47-0412), Town, (-)",
                       "3|Patience of Winter, (47-0412), Town, (-)"};
    QTest::newRow("sermon with its other Russian translation")
        << QStringList{"open", "--lang", "ru", "--parallel", "ru", "@Надежда —"} << 0
        << QStringList{"1|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)",
                       "2|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)",
                       "3|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)"};
    QTest::newRow("the sermon's own translation is not a parallel")
        << QStringList{"open", "--lang",       "ru",           "--parallel",
                       "ru",   "--translator", "Н. Воронцова", "@Надежда —"}
        << 2 << QStringList{"own translation"};
    QTest::newRow("several translations need a choice")
        << QStringList{"open", "--lang", "en", "--parallel", "ru", "@Hope"} << 2
        << QStringList{"several translations in ru (П. Ильин, Н. Воронцова)"};
    QTest::newRow("the chosen one of several")
        << QStringList{"open", "--lang",       "en",       "--parallel",
                       "ru",   "--translator", "П. Ильин", "@Hope"}
        << 0
        << QStringList{"1|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)",
                       "2|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)",
                       "3|Надежда как якорь, (51-0923 *), Ривертон, (П. Ильин)"};
    QTest::newRow("a translator there is not")
        << QStringList{"open", "--lang",       "en",     "--parallel",
                       "ru",   "--translator", "Nobody", "@Hope"}
        << 1 << QStringList{"no \"Nobody\" translation"};
    QTest::newRow("no translation in that language")
        << QStringList{"open", "--lang", "en", "--parallel", "en", "@Hope"} << 1
        << QStringList{"no other translation of this sermon in en"};
    QTest::newRow("Russian psalm 9 is English psalms 9 and 10")
        << QStringList{"chapter", "--lang", "ru", "--parallel", "en", "19", "9"} << 0
        << QStringList{"1|Psalms 9:1", "2|Psalms 9:2", "21|Psalms 10:1", "22|Psalms 10:2"};
    QTest::newRow("English psalm 10 is the end of Russian psalm 9")
        << QStringList{"chapter", "--lang", "en", "--parallel", "ru", "Psalms", "10"} << 0
        << QStringList{"1|Псалтирь 9:21", "2|Псалтирь 9:22"};
    QTest::newRow("a book by its name, case aside")
        << QStringList{"chapter", "--lang", "en", "--parallel", "ru", "book", "1", "1"} << 0
        << QStringList{"1|Книга 1 1:1"};
    QTest::newRow("no such chapter") << QStringList{"chapter", "--lang", "en", "Psalms", "11"} << 1
                                     << QStringList{"no chapter 11 of \"Psalms\" in en"};
    QTest::newRow("no such sermon") << QStringList{"open", "--lang", "en", "999"} << 1
                                    << QStringList{"no sermon with the key 999 in en"};
}

void TestCli::parallelTexts()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, expected);
    QString &vsLast = arguments.last();
    if (vsLast.startsWith('@'))
        vsLast = keyOf(arguments.at(2), vsLast.mid(1));
    const CliRun vRun = cli(arguments);
    QVERIFY2(vRun.mnStatus == status, qPrintable(vRun.describe()));
    if (status != 0) {
        QVERIFY(vRun.msOut.isEmpty());
        QVERIFY2(vRun.msErr.contains(expected.first()), qPrintable(vRun.msErr));
        return;
    }
    QStringList vcPairs;
    const QString vsKind = arguments.first() == "open" ? "paragraph" : "verse";
    for (const QStringList &vcRecord : vRun.rows(vsKind)) {
        QCOMPARE(vcRecord.size(), 5);
        if (!vcRecord.value(3).isEmpty())
            vcPairs << vcRecord.value(0) + "|" + vcRecord.value(3);
    }
    QCOMPARE(vcPairs, expected);
}

void TestCli::catalogueAsTheTreeShowsIt_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("by");
    QTest::addColumn<bool>("duplicates");
    QTest::addColumn<QString>("expected"); // groups and items, for the smaller cases

    QTest::newRow("ru by year") << "ru"
                                << "year" << true
                                << "1947: Терпение зимы (47-0412) [mp3]; 1951: Надежда — якорь "
                                   "(51-0923), Надежда как якорь (51-0923 *) [further]";
    QTest::newRow("ru by year, no further translations")
        << "ru"
        << "year" << false
        << "1947: Терпение зимы (47-0412) [mp3]; 1951: Надежда — якорь (51-0923)";
    QTest::newRow("ru by name") << "ru"
                                << "name" << true
                                << "Н: Надежда как якорь (51-0923 *) [further], Надежда — якорь "
                                   "(51-0923); Т: Терпение зимы (47-0412) [mp3]";
    QTest::newRow("ru by name, no further translations")
        << "ru"
        << "name" << false << "Н: Надежда — якорь (51-0923); Т: Терпение зимы (47-0412) [mp3]";
    QTest::newRow("en Bible") << "en"
                              << "bible" << true << QString();
}

void TestCli::catalogueAsTheTreeShowsIt()
{
    QFETCH(QString, language);
    QFETCH(QString, by);
    QFETCH(bool, duplicates);
    QFETCH(QString, expected);
    QStringList vcArguments{"catalogue", "--lang", language, "--by", by, "--json"};
    if (!duplicates)
        vcArguments << "--no-duplicates";
    const CliRun vRun = cli(vcArguments);
    QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));

    // The same catalogue in a tree of the program's.
    Application::sharedOptions()->setLanguage(language, SharedOptions::Data);
    TreeView vTree(nullptr);
    Database *vpDatabase = Application::database();
    vpDatabase->setTreeView(&vTree);
    if (by == "bible")
        vpDatabase->setBible();
    else if (by == "name")
        duplicates ? vpDatabase->setByName() : vpDatabase->setByNameDist();
    else
        duplicates ? vpDatabase->setByYear() : vpDatabase->setByYearDist();
    vpDatabase->setTreeView(nullptr);
    Application::sharedOptions()->setLanguage("ru", SharedOptions::Data);

    QStringList vcTree, vcPrinted;
    QStandardItemModel *vpModel = vTree.itemModel();
    for (int r = 0; r < vpModel->rowCount(); ++r) {
        const QStandardItem *vpGroup = vpModel->item(r);
        vcTree << "group|" + vpGroup->whatsThis() + "|" + vpGroup->text().trimmed();
        for (int c = 0; c < vpGroup->rowCount(); ++c) {
            const QStandardItem *vpItem = vpGroup->child(c);
            vcTree << "item|" + vpItem->whatsThis() + "|" + vpItem->text() + "|" +
                          vpItem->toolTip() + "|" + (vpItem->font().italic() ? "further" : "");
        }
    }
    QStringList vcGroupTexts;
    for (const QString &vsLine : vRun.outLines()) {
        const QJsonObject vObject = QJsonDocument::fromJson(vsLine.toUtf8()).object();
        const QString vsKind = vObject.value("kind").toString();
        if (vsKind == "group") {
            vcPrinted << "group|" + vObject.value("key").toString() + "|" +
                             vObject.value("text").toString();
            vcGroupTexts << vObject.value("text").toString() + ":";
        } else {
            QCOMPARE(vsKind, QString("item"));
            vcPrinted << "item|" + vObject.value("key").toString() + "|" +
                             vObject.value("text").toString() + "|" +
                             vObject.value("details").toString() + "|" +
                             (vObject.value("further").toBool() ? "further" : "");
            QString vsItem = vObject.value("text").toString();
            if (vObject.value("mp3").toBool())
                vsItem += " [mp3]";
            if (vObject.value("further").toBool())
                vsItem += " [further]";
            vcGroupTexts.last() += (vcGroupTexts.last().endsWith(':') ? " " : ", ") + vsItem;
        }
    }
    QCOMPARE(vcPrinted, vcTree);
    if (!expected.isEmpty())
        QCOMPARE(vcGroupTexts.join("; "), expected);
    else
        QCOMPARE(vRun.objects("group").size(), 19);
}

TabArea *TestCli::search(const QString &asText, AdvancedSearchFlags aFlags)
{
    mpWindow->searchWidget()->lineEdit()->setText(asText);
    mpWindow->searchWidget()->startSearch(aFlags);
    return qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
}

void TestCli::searchesMatchThePage_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("checked"); // catalogue items checked in the tree
    QTest::addColumn<int>("page");

    QTest::newRow("sermons") << false << "свет" << 0 << QStringList{} << 1;
    QTest::newRow("sermons, second page") << false << "свет" << 0 << QStringList{} << 2;
    for (int vnFlag : {1, 2, 4, 8, 16, 3})
        QTest::newRow(qPrintable(QString("sermons, flags %1").arg(vnFlag)))
            << false
            << (vnFlag == 4   ? "якорь души"
                : vnFlag == 8 ? "буря свет"
                              : "свет")
            << vnFlag << QStringList{} << 1;
    QTest::newRow("sermons, checked")
        << false << "свет" << 0 << QStringList{"Надежда — якорь (51-0923)"} << 1;
    QTest::newRow("nothing found") << false << "несуществующее" << 0 << QStringList{} << 1;
    QTest::newRow("Bible") << true << "свет" << 0 << QStringList{} << 1;
    QTest::newRow("Bible, whole words") << true << "Тебя" << 2 << QStringList{} << 1;
    QTest::newRow("Bible, checked") << true << "свет" << 0 << QStringList{"Псалтирь 9"} << 1;
}

void TestCli::searchesMatchThePage()
{
    QFETCH(bool, bible);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QStringList, checked);
    QFETCH(int, page);
    if (!mpWindow) {
        mpWindow = std::make_unique<MainWindow>();
        mpWindow->resize(1000, 700);
        mpWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mpWindow.get()));
    }
    TreeView *vpTree = mpWindow->treeView();
    Database *vpDatabase = Application::database();
    bible ? vpDatabase->setBible() : vpDatabase->setByYear();
    QStringList vcKeys;
    QStandardItemModel *vpModel = vpTree->itemModel();
    for (int r = 0; r < vpModel->rowCount(); ++r)
        for (int c = 0; c < vpModel->item(r)->rowCount(); ++c) {
            QStandardItem *vpItem = vpModel->item(r)->child(c);
            if (checked.contains(vpItem->text())) {
                vpItem->setCheckState(Qt::Checked);
                vcKeys << vpItem->whatsThis();
            }
        }
    QCOMPARE(vcKeys.size(), checked.size());

    // The window: the search line, then the page's forward button.
    TabArea *vpPage = search(text, AdvancedSearchFlags(flags));
    QTRY_VERIFY(mpWindow->tabWidget()->tabText(0).contains("(found:"));
    QVERIFY(TestSupport::roundTrip());
    for (int i = 1; i < page; ++i) {
        const QList<QToolButton *> vcButtons =
            vpPage->navigationWidget()->findChildren<QToolButton *>();
        vcButtons.at(1)->click();
        QVERIFY(TestSupport::roundTrip());
    }
    QStringList vcShown;
    for (const ArticleRecord &vHit : vpPage->articles())
        vcShown << QStringList{vHit.msExtra1, vHit.msExtra2, vHit.msNumber, vHit.msLeftTitle,
                               PlainText::fromHtml(vHit.msLeftText)}
                       .join(" | ");

    // The tool, asked the same.
    QStringList vcArguments{"search",  "--lang",
                            "ru",      "--json",
                            "--flags", QString::number(flags),
                            "--page",  QString::number(page)};
    if (bible)
        vcArguments << "--bible";
    if (!vcKeys.isEmpty())
        vcArguments << "--restrict" << vcKeys.join(',');
    const CliRun vRun = cli(vcArguments << text);
    QVERIFY2(vRun.mnStatus == (vcShown.isEmpty() ? 1 : 0), qPrintable(vRun.describe()));
    QStringList vcPrinted;
    for (const QJsonObject &vHit : vRun.objects("hit"))
        vcPrinted << QStringList{bible ? QString::number(vHit.value("book").toInt())
                                       : vHit.value("date").toString(),
                                 bible ? QString::number(vHit.value("chapter").toInt()) : QString(),
                                 vHit.value(bible ? "verse" : "paragraph").toString(),
                                 vHit.value("title").toString(), vHit.value("text").toString()}
                         .join(" | ");
    QCOMPARE(vcPrinted, vcShown);
    const QJsonObject vFound = vRun.objects("found").value(0);
    QCOMPARE(vFound.value("hits").toInt(), vpPage->foundCount());
    QCOMPARE(vFound.value("pages").toInt(),
             vcShown.isEmpty() ? 0 : vpPage->navigationWidget()->pagesCount());
    QCOMPARE(vFound.value("page").toInt(), page);
}

void TestCli::documentsMatchThePage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("item"); // the catalogue text of a sermon or chapter
    QTest::addColumn<QString>("parallel");
    QTest::addColumn<QString>("translator");

    QTest::newRow("sermon") << "ru"
                            << "Терпение зимы (47-0412)" << QString() << QString();
    QTest::newRow("sermon with markup and a parallel") << "ru"
                                                       << "Надежда — якорь (51-0923)"
                                                       << "en" << QString();
    QTest::newRow("English sermon, a chosen translation") << "en"
                                                          << "Hope Is an Anchor (51-0923)"
                                                          << "ru"
                                                          << "П. Ильин";
    QTest::newRow("psalm across numberings") << "ru"
                                             << "Псалтирь 9"
                                             << "en" << QString();
    QTest::newRow("psalm the other way") << "en"
                                         << "Psalms 10"
                                         << "ru" << QString();
}

void TestCli::documentsMatchThePage()
{
    QFETCH(QString, language);
    QFETCH(QString, item);
    QFETCH(QString, parallel);
    QFETCH(QString, translator);
    if (!mpWindow) {
        mpWindow = std::make_unique<MainWindow>();
        mpWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mpWindow.get()));
    }
    const bool vbBible = item.startsWith("Псалтирь") || item.startsWith("Psalms");

    // The window: the item double-clicked in the tree, then the translation
    // chosen in the page's menu.
    Application::sharedOptions()->setLanguage(language, SharedOptions::Data);
    Database *vpDatabase = Application::database();
    vbBible ? vpDatabase->setBible() : vpDatabase->setByYear();
    QStandardItemModel *vpModel = mpWindow->treeView()->itemModel();
    QStandardItem *vpItem = nullptr;
    QString vsGroupKey;
    for (int r = 0; r < vpModel->rowCount(); ++r)
        for (int c = 0; c < vpModel->item(r)->rowCount(); ++c)
            if (vpModel->item(r)->child(c)->text() == item) {
                vpItem = vpModel->item(r)->child(c);
                vsGroupKey = vpModel->item(r)->whatsThis();
            }
    QVERIFY(vpItem);
    mpWindow->treeView()->itemDoubleClicked(vpItem->index());
    auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
    QVERIFY(vpPage);
    QVERIFY(TestSupport::roundTrip());
    if (!parallel.isEmpty()) {
        vpPage->openTranslation(parallel, translator);
        QVERIFY(TestSupport::roundTrip());
    }
    QStringList vcShown;
    for (const ArticleRecord &vRecord : vpPage->articles())
        vcShown << pageLine(vRecord, !parallel.isEmpty());
    Application::sharedOptions()->setLanguage("ru", SharedOptions::Data);
    QVERIFY(!vcShown.isEmpty());

    // The tool, asked the same.
    QStringList vcArguments{vbBible ? "chapter" : "open", "--lang", language, "--json"};
    if (!parallel.isEmpty())
        vcArguments << "--parallel" << parallel;
    if (!translator.isEmpty())
        vcArguments << "--translator" << translator;
    if (vbBible)
        vcArguments << vsGroupKey << item.section(' ', -1);
    else
        vcArguments << vpItem->whatsThis();
    const CliRun vRun = cli(vcArguments);
    QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));
    QStringList vcPrinted;
    for (const QJsonObject &vRecord : vRun.objects(vbBible ? "verse" : "paragraph"))
        vcPrinted << printedLine(vRecord, "number", !parallel.isEmpty());
    QCOMPARE(vcPrinted, vcShown);
    if (!vbBible) {
        const QJsonObject vSermon = vRun.objects("sermon").value(0);
        QCOMPARE(vSermon.value("title").toString(), item);
        QCOMPARE(vSermon.value("translator").toString(), vpPage->translator());
        QCOMPARE(vSermon.value("date").toString(), vpPage->dateInfo());
    }
}

void TestCli::settingsAreLeftAlone()
{
    // Reading commands leave the settings file exactly as it was, whatever
    // language they worked in: a program running beside the tool must not
    // find its data language changed.
    const QString vsApp = copyOfApp({});
    QFile vFile(vsApp + "/setting.ini");
    QVERIFY(vFile.open(QIODevice::ReadOnly));
    const QByteArray vaBefore = vFile.readAll();
    vFile.close();
    for (const QStringList &vcArguments :
         {QStringList{"search", "--lang", "en", "light"}, QStringList{"catalogue", "--lang", "en"},
          QStringList{"chapter", "--lang", "en", "--parallel", "ru", "19", "10"},
          QStringList{"open", "--lang", "en", "--parallel", "ru", "--translator", "П. Ильин",
                      "2"}}) {
        const CliRun vRun =
            runCli(vcArguments.mid(0, 1) + QStringList{"--app-dir", vsApp} + vcArguments.mid(1));
        QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));
        QVERIFY(vFile.open(QIODevice::ReadOnly));
        QCOMPARE(vFile.readAll(), vaBefore);
        vFile.close();
    }
}

void TestCli::plainText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("plain");

    QTest::newRow("highlight inside a word")
        << "w<span style='background-color: yellow;'>or</span>d and <b>bold</b>"
        << "word and bold";
    QTest::newRow("block tags separate") << "one<br>two<p>three</p>"
                                         << "one two three";
    QTest::newRow("references") << "Tom &amp; Jerry &lt;3 &#1057;&#x432;&#1077;&#1090; &nbsp;x"
                                << "Tom & Jerry <3 Свет x";
    QTest::newRow("unknown and broken references stay") << "&bogus; &#0; &#xD800; & alone"
                                                        << "&bogus; &#0; &#xD800; & alone";
    QTest::newRow("a lone angle bracket is text") << "a < b and c > d"
                                                  << "a < b and c > d";
    QTest::newRow("tabs and line breaks") << "a\tb\r\nc\n\n  d "
                                          << "a b c d";
    QTest::newRow("comments go") << "a<!-- note -->b"
                                 << "a b";
}

void TestCli::plainText()
{
    QFETCH(QString, html);
    QFETCH(QString, plain);
    QCOMPARE(PlainText::fromHtml(html), plain);
}

QUILLMARK_TEST_MAIN(TestCli)
#include "test_cli.moc"
