// The text import: sermon and Bible source files turned into statements, the
// encodings they may come in, and whole folders run into a language's
// database, including the demo corpus shipped with the program.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

QMap<QString, QVariant> languages()
{
    return {{"DataLanguage", "ru"}, {"DBLang1", "ru"}, {"DBLang2", "en"}, {"DBLang3", "fr"}};
}

// Statements written short: "B values", "C …", "V …", "Q …" and "P …" stand
// for the insertion of a book, chapter, verse, sermon or paragraph.
QStringList statements(const QStringList &acShort)
{
    static const QMap<QChar, QString> scTemplates{
        {'B', "INSERT INTO bibles (book, name) VALUES(%1);"},
        {'C', "INSERT INTO chapters(book, chapter, name) VALUES(%1);"},
        {'V', "INSERT INTO verses(book, chapter, verse, text) VALUES(%1);"},
        {'Q', "INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) VALUES(%1);"},
        {'P', "INSERT INTO paragraphs (date, id, text) VALUES(%1);"}};
    QStringList vcStatements;
    for (const QString &vsShort : acShort)
        vcStatements << scTemplates.value(vsShort.at(0)).arg(vsShort.mid(2));
    return vcStatements;
}

const QString csSermonHeader = "58-0302\nLet's go\n-\nen-58-0302.pdf\n-\n0:41:10\nHillcrest\n";
const QString csLetsGo = "Q '58-0302', 'Let''s go', '-', 'en-58-0302.pdf', '-', '0:41:10', "
                         "'Hillcrest'";

} // namespace

class TestTextConverter : public QObject
{
    Q_OBJECT

private slots:
    void fileStatements_data();
    void fileStatements();
    void folderRuns();
    void demoSermonsConvertCleanly();

private:
    QTemporaryDir mDir;
};

void TestTextConverter::fileStatements_data()
{
    QTest::addColumn<bool>("abBible");
    QTest::addColumn<QByteArray>("aaFile");
    QTest::addColumn<QStringList>("acStatements"); // as statements() takes them
    QTest::addColumn<QStringList>("acNames");      // books met, or the catalogue titles
    auto row = [](const QString &asName, bool abBible, const QByteArray &aaFile,
                  const QStringList &acStatements, const QStringList &acNames) {
        QTest::newRow(qPrintable(asName)) << abBible << aaFile << acStatements << acNames;
    };

    // Lines without four fields are skipped; the first empty line ends the file.
    row("books and chapters numbered in order of appearance", true,
        "Genesis\t1\t1\tIn the beginning\nGenesis\t1\tno verse\nGenesis\t2\t1\tone\ttoo many\n"
        "Genesis\t2\t1\tThus the heavens\nExodus\t1\t1\tNow these are\n\nJude\t1\t1\tNever read\n",
        {"B 1, 'Genesis'", "C 1, 1, 'Genesis 1'", "V 1, 1, 1, 'In the beginning'",
         "C 1, 2, 'Genesis 2'", "V 1, 2, 1, 'Thus the heavens'", "B 2, 'Exodus'",
         "C 2, 1, 'Exodus 1'", "V 2, 1, 1, 'Now these are'"},
        {"Genesis", "Exodus"});
    // Chapter labels are names, not numbers: the chapter number counts them.
    // Values are filled in one pass, so "%1" in a text is never taken for a
    // placeholder of the next value.
    row("labels kept, fields trimmed, apostrophes doubled, percent signs verbatim", true,
        "\n\n  Song of Solomon \t Prologue \t 1 \t The song of songs \r\n"
        "Song of Solomon\tII\t1\tI'm the rose\nA%1\t%2\t7\t100% of %1\n",
        {"B 1, 'Song of Solomon'", "C 1, 1, 'Song of Solomon Prologue'",
         "V 1, 1, 1, 'The song of songs'", "C 1, 2, 'Song of Solomon II'",
         "V 1, 2, 1, 'I''m the rose'", "B 2, 'A%1'", "C 2, 1, 'A%1 %2'", "V 2, 1, 7, '100% of %1'"},
        {"Song of Solomon", "A%1"});

    // Lines before the first paragraph are dropped; a line that does not
    // start with "E-" continues the paragraph as it stands; the first empty
    // line ends the sermon.
    row("paragraphs", false,
        csSermonHeader.toUtf8() +
            "a stray note\nE-1 It's\n here\nE-9\nE-2 Kept\n\nE-3 Never read\n",
        {csLetsGo, "P '58-0302', 'E-1', ' It''s here'", "P '58-0302', 'E-9', ''",
         "P '58-0302', 'E-2', ' Kept'"},
        {"Let's go (58-0302)"});
    // The held paragraph is always written, so a sermon without any gets one
    // empty row, as the update import does with the same format.
    row("short header, no paragraphs", false, "  \n\n47-0412\nPatience\n",
        {"Q '47-0412', 'Patience', '', '', '', '', ''", "P '47-0412', '', ''"},
        {"Patience (47-0412)"});
    row("ampersand, quotes and percent signs verbatim", false,
        "54-0606\nThe \"Small\" & 100%1\n-\n-\n-\n1:00\nPlace\nE-1 50% %2\n",
        {"Q '54-0606', 'The \"Small\" & 100%1', '-', '-', '-', '1:00', 'Place'",
         "P '54-0606', 'E-1', ' 50% %2'"},
        {"The \"Small\" & 100%1 (54-0606)"});

    // Encodings: one byte that cannot be UTF-8 decides for the whole file, be
    // it a lone lead byte at the very end of a Bible file.
    const auto encodedRow = [&row](const char *asName, const char *asCodec, const QString &asBook,
                                   const QString &asText,
                                   const QByteArray &aaPrefix = QByteArray()) {
        row(asName, true,
            aaPrefix + QTextCodec::codecForName(asCodec)->fromUnicode(asBook + "\t1\t1\t" + asText),
            {"B 1, '" + asBook + "'", "C 1, 1, '" + asBook + " 1'", "V 1, 1, 1, '" + asText + "'"},
            {asBook});
    };
    const QString vsRussian = "О терпении «долгой» зимы — ёлка";
    const QString vsFrench = "L’espérance du cœur à l’écoute, où ça ?";
    encodedRow("windows-1251 Cyrillic", "windows-1251", vsRussian, vsRussian);
    encodedRow("UTF-8 French", "UTF-8", vsFrench, vsFrench);
    encodedRow("UTF-8 with byte order mark", "UTF-8", vsFrench, vsFrench, "\xEF\xBB\xBF");
    encodedRow("windows-1251, Cyrillic only at the end", "windows-1251", "Plain", "ж");
    // No file (a null one), nothing.
    row("missing sermon file", false, QByteArray(), {}, {});
    row("missing Bible file", true, QByteArray(), {}, {});
}

void TestTextConverter::fileStatements()
{
    QFETCH(bool, abBible);
    QFETCH(QByteArray, aaFile);
    QFETCH(QStringList, acStatements);
    QFETCH(QStringList, acNames);

    const QString vsPath = mDir.filePath(aaFile.isNull() ? "no-such-file.txt" : "source.txt");
    QVERIFY(aaFile.isNull() || TestSupport::writeFile(vsPath, aaFile));
    // Names are added to those already there.
    QStringList vcNames{"earlier"};
    const QStringList vcStatements =
        abBible ? TextConverter::convertBibleFile(
                      vsPath, [&vcNames](const QString &asBook) { vcNames << asBook; })
                : TextConverter::convertSermonFile(vsPath, &vcNames);
    QCOMPARE(vcStatements, statements(acStatements));
    QCOMPARE(vcNames, QStringList{"earlier"} + acNames);
}

void TestTextConverter::folderRuns()
{
    TempAppDir vApp(languages());
    // A folder that is not there changes nothing, not even the data language.
    QVERIFY(!TextConverter::importDirectory(
        *Application::database(), *Application::storeEnvironment(),
        {vApp.filePath("nowhere"), "fr", TextConverter::ImportRun::Quotes, true}));
    QVERIFY(
        !TextConverter::importDirectory(*Application::database(), *Application::storeEnvironment(),
                                        {QString(), "fr", TextConverter::ImportRun::Bible, true}));
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QString("ru"));
    QVERIFY(!QFileInfo::exists(vApp.filePath("sql/data/kvr_main_fr.sqlite")));

    // "*.txt" and "*.sog" files, in name order; apostrophes reach the
    // database as written.
    QVERIFY(TestSupport::writeFile(vApp.filePath("src/b.sog"),
                                   "51-0923\nSecond\n-\n-\n-\n1:00\nX\nE-1 b\n"));
    QVERIFY(TestSupport::writeFile(vApp.filePath("src/a.txt"),
                                   (csSermonHeader + "E-1 We'll see, won't we?\n").toUtf8()));
    QVERIFY(TestSupport::writeFile(vApp.filePath("src/c.md"),
                                   "65-0117\nIgnored\n-\n-\n-\n1:00\nX\nE-1 c\n"));
    QStringList vcTitles;
    QVERIFY(TextConverter::importDirectory(
        *Application::database(), *Application::storeEnvironment(),
        {vApp.filePath("src"), "en", TextConverter::ImportRun::Quotes, false}, {}, &vcTitles));
    // The catalogue finds an item by the text it shows, which has one apostrophe.
    QCOMPARE(vcTitles, (QStringList{"Let's go (58-0302)", "Second (51-0923)"}));
    QCOMPARE(TestSupport::readRows("en", "SELECT date, id, text FROM paragraphs ORDER BY rowid;"),
             (QStringList{"58-0302|E-1| We'll see, won't we?", "51-0923|E-1| b"}));
    // The run leaves its language as the current one and notes the update.
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QString("en"));
    QCOMPARE(Application::settings()->value("DatabaseLastUpdated").toString(),
             QDate::currentDate().toString("yyyy-MM-dd"));

    // A second run adds its own piece to each index; the run's end merges
    // them, and a phrase across both runs' texts is still found.
    QVERIFY(TestSupport::writeFile(vApp.filePath("more/d.txt"),
                                   "53-0405\nThird\n-\n-\n-\n1:00\nX\nE-1 we see\n"));
    QVERIFY(TextConverter::importDirectory(
        *Application::database(), *Application::storeEnvironment(),
        {vApp.filePath("more"), "en", TextConverter::ImportRun::Quotes, false}));
    QCOMPARE(TestSupport::readRows("en", "SELECT (SELECT count(*) FROM paragraphs_segdir) || ' ' "
                                         "|| (SELECT count(*) FROM quotes_segdir);"),
             QStringList{"1 1"});
    QCOMPARE(TestSupport::readRows("en", "SELECT date FROM paragraphs WHERE text MATCH "
                                         "'\"we see\" OR \"won''t we\"' ORDER BY docid;"),
             (QStringList{"58-0302", "53-0405"}));
}

void TestTextConverter::demoSermonsConvertCleanly()
{
    TempAppDir vApp(languages());
    LogCapture vLog;
    QMap<QString, int> vcLanguagesByDate; // of first translations
    for (const QString vsLanguage : {"ru", "en", "fr"}) {
        const QString vsFolder = QString(QUILLMARK_SOURCE_DIR "/demo/%1/sermons").arg(vsLanguage);
        const int vnFiles = QDir(vsFolder).entryList({"*.txt"}, QDir::Files).size();
        QVERIFY2(vnFiles >= 5, qPrintable(vsFolder));
        QStringList vcTitles;
        QVERIFY(TextConverter::importDirectory(
            *Application::database(), *Application::storeEnvironment(),
            {vsFolder, vsLanguage, TextConverter::ImportRun::Quotes, false}, {}, &vcTitles));
        QCOMPARE(vcTitles.size(), vnFiles);
        // Sermons whose key is not of the catalogue's form, whose body is thin
        // or has an empty paragraph, and further translations (" *") without
        // a first one by another translator.
        for (const char *vsFaults :
             {"SELECT date FROM quotes WHERE NOT (date GLOB '[0-9][0-9]-[0-9][0-9][0-9][0-9]' "
              "OR date GLOB '[0-9][0-9]-[0-9][0-9][0-9][0-9] [*]');",
              "SELECT q.date FROM quotes q LEFT JOIN paragraphs p ON p.date = q.date "
              "GROUP BY q.date HAVING count(p.rowid) < 15 OR min(length(p.text)) <= 20;",
              "SELECT f.date FROM quotes f LEFT JOIN quotes q ON q.date || ' *' = f.date "
              "WHERE f.date LIKE '% *' AND (q.date IS NULL OR q.translator = f.translator);"})
            QCOMPARE(TestSupport::readRows(vsLanguage, vsFaults), QStringList());
        for (const QString &vsDate : TestSupport::readRows(
                 vsLanguage, "SELECT date FROM quotes WHERE date NOT LIKE '% *';"))
            ++vcLanguagesByDate[vsDate];
        // No character that a wrong decoding leaves behind: UTF-8 read as
        // windows-1251 turns "é" into "Г©", "а" into "Р°", "т" into "С‚".
        const QString vsTexts =
            TestSupport::readRows(vsLanguage, "SELECT name || ' ' || place || ' ' || text "
                                              "FROM quotes q JOIN paragraphs p ON p.date = q.date;")
                .join('\n');
        QVERIFY(!vsTexts.contains(QRegularExpression("[\\x{FFFD}©°‚]")));
        QVERIFY(vsLanguage != "fr" || vsTexts.contains(QRegularExpression("[éèàçê]")));
    }
    QCOMPARE(vLog.linesContaining("SQL Error:"), QStringList());
    // A parallel translation needs the same date in another language.
    QCOMPARE(vcLanguagesByDate.keys(1), QList<QString>());
}

QUILLMARK_TEST_MAIN(TestTextConverter)
#include "test_textconverter.moc"
