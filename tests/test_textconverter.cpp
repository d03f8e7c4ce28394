// The text import: sermon and Bible source files turned into statements, the
// encodings they may come in, and whole folders run into a language's
// database, including the demo corpus shipped with the program.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextCodec>

namespace {

QMap<QString, QVariant> languages()
{
    return {{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
            {QStringLiteral("DBLang1"), QStringLiteral("ru")},
            {QStringLiteral("DBLang2"), QStringLiteral("en")},
            {QStringLiteral("DBLang3"), QStringLiteral("fr")}};
}

void writeFile(const QString &asPath, const QByteArray &aaBytes)
{
    QDir().mkpath(QFileInfo(asPath).path());
    QFile vFile(asPath);
    QVERIFY2(vFile.open(QIODevice::WriteOnly), qPrintable(asPath));
    vFile.write(aaBytes);
}

QByteArray windows1251(const QString &asText)
{
    return QTextCodec::codecForName("windows-1251")->fromUnicode(asText);
}

const QString csSermonHeader = QStringLiteral("58-0302\nLet's go\n-\nen-58-0302.pdf\n-\n0:41:10\n"
                                              "Hillcrest\n");

QString record(const QString &asValues)
{
    return QStringLiteral("INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) "
                          "VALUES(%1);")
        .arg(asValues);
}

QString paragraph(const QString &asValues)
{
    return QStringLiteral("INSERT INTO paragraphs (date, id, text) VALUES(%1);").arg(asValues);
}

} // namespace

class TestTextConverter : public QObject
{
    Q_OBJECT

private slots:
    void bibleStatements_data();
    void bibleStatements();
    void sermonStatements_data();
    void sermonStatements();
    void encodings_data();
    void encodings();
    void unreadableFileGivesNothing_data();
    void unreadableFileGivesNothing();
    void apostrophesSurviveTheDatabase();
    void bibleFilesOfOneRunEachStartAtBookOne();
    void replaceEmptiesTheTablesFirst_data();
    void replaceEmptiesTheTablesFirst();
    void runReadsSogFilesInNameOrder();
    void missingFolderTouchesNothing();
    void demoSermonsConvertCleanly_data();
    void demoSermonsConvertCleanly();
    void demoSermonsExistInSeveralLanguages();

private:
    QTemporaryDir mDir;
};

void TestTextConverter::bibleStatements_data()
{
    QTest::addColumn<QByteArray>("aaFile");
    QTest::addColumn<QStringList>("acStatements");
    QTest::addColumn<QStringList>("acBooks");

    const QString vsBook = QStringLiteral("INSERT INTO bibles (book, name) VALUES(%1);");
    const QString vsChapter =
        QStringLiteral("INSERT INTO chapters(book, chapter, name) VALUES(%1);");
    const QString vsVerse =
        QStringLiteral("INSERT INTO verses(book, chapter, verse, text) VALUES(%1);");

    QTest::newRow("books and chapters numbered in order of appearance")
        << QByteArray("Genesis\t1\t1\tIn the beginning\n"
                      "Genesis\t1\t2\tAnd the earth\n"
                      "Genesis\t2\t1\tThus the heavens\n"
                      "Exodus\t1\t1\tNow these are\n")
        << QStringList{vsBook.arg("1, 'Genesis'"),
                       vsChapter.arg("1, 1, 'Genesis 1'"),
                       vsVerse.arg("1, 1, 1, 'In the beginning'"),
                       vsVerse.arg("1, 1, 2, 'And the earth'"),
                       vsChapter.arg("1, 2, 'Genesis 2'"),
                       vsVerse.arg("1, 2, 1, 'Thus the heavens'"),
                       vsBook.arg("2, 'Exodus'"),
                       vsChapter.arg("2, 1, 'Exodus 1'"),
                       vsVerse.arg("2, 1, 1, 'Now these are'")}
        << QStringList{"Genesis", "Exodus"};

    // Chapter labels are names, not numbers: the chapter number counts them.
    QTest::newRow("labels kept, fields trimmed, apostrophes doubled")
        << QByteArray("\n\n  Song of Solomon \t Prologue \t 1 \t The song of songs \r\n"
                      "Song of Solomon\tII\t1\tI'm the rose\n")
        << QStringList{vsBook.arg("1, 'Song of Solomon'"),
                       vsChapter.arg("1, 1, 'Song of Solomon Prologue'"),
                       vsVerse.arg("1, 1, 1, 'The song of songs'"),
                       vsChapter.arg("1, 2, 'Song of Solomon II'"),
                       vsVerse.arg("1, 2, 1, 'I''m the rose'")}
        << QStringList{"Song of Solomon"};

    QTest::newRow("lines without four fields skipped")
        << QByteArray("Ruth\t1\t1\tFirst\n"
                      "Ruth\t1\tno verse\n"
                      "Job\t1\t1\tone\ttoo many\n"
                      "a title line\n"
                      "Ruth\t2\t1\tSecond\n")
        << QStringList{vsBook.arg("1, 'Ruth'"), vsChapter.arg("1, 1, 'Ruth 1'"),
                       vsVerse.arg("1, 1, 1, 'First'"), vsChapter.arg("1, 2, 'Ruth 2'"),
                       vsVerse.arg("1, 2, 1, 'Second'")}
        << QStringList{"Ruth"};

    QTest::newRow("first empty line ends the file")
        << QByteArray("Jude\t1\t1\tKept\n\nJude\t1\t2\tNever read\n")
        << QStringList{vsBook.arg("1, 'Jude'"), vsChapter.arg("1, 1, 'Jude 1'"),
                       vsVerse.arg("1, 1, 1, 'Kept'")}
        << QStringList{"Jude"};

    // Values are filled in one pass, so "%1" in a text is never taken for a
    // placeholder of the next value.
    QTest::newRow("percent signs in the text")
        << QByteArray("A%1\t%2\t7\t100% of %1\n")
        << QStringList{vsBook.arg("1, 'A%1'"), vsChapter.arg("1, 1, 'A%1 %2'"),
                       vsVerse.arg("1, 1, 7, '100% of %1'")}
        << QStringList{"A%1"};

    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
}

void TestTextConverter::bibleStatements()
{
    QFETCH(QByteArray, aaFile);
    QFETCH(QStringList, acStatements);
    QFETCH(QStringList, acBooks);

    const QString vsPath = mDir.filePath(QStringLiteral("bible.txt"));
    writeFile(vsPath, aaFile);
    QStringList vcBooks;
    const QStringList vcStatements = TextConverter::convertBibleFile(
        vsPath, [&vcBooks](const QString &asBook) { vcBooks << asBook; });
    QCOMPARE(vcStatements, acStatements);
    QCOMPARE(vcBooks, acBooks);
}

void TestTextConverter::sermonStatements_data()
{
    QTest::addColumn<QByteArray>("aaFile");
    QTest::addColumn<QStringList>("acStatements");
    QTest::addColumn<QString>("asTitle");

    const QString vsRecord =
        record("'58-0302', 'Let''s go', '-', 'en-58-0302.pdf', '-', '0:41:10', 'Hillcrest'");

    // A line that does not start with "E-" continues the paragraph as it stands.
    QTest::newRow("continued paragraphs")
        << (csSermonHeader + "E-1 First\n and continued\nE-2 Second\n").toUtf8()
        << QStringList{vsRecord, paragraph("'58-0302', 'E-1', ' First and continued'"),
                       paragraph("'58-0302', 'E-2', ' Second'")}
        << "Let's go (58-0302)";

    QTest::newRow("empty line ends the sermon")
        << (csSermonHeader + "E-1 Kept\n\nE-2 Never read\n").toUtf8()
        << QStringList{vsRecord, paragraph("'58-0302', 'E-1', ' Kept'")} << "Let's go (58-0302)";

    QTest::newRow("lines before the first paragraph dropped")
        << (csSermonHeader + "a stray note\nE-1 It's here\n").toUtf8()
        << QStringList{vsRecord, paragraph("'58-0302', 'E-1', ' It''s here'")}
        << "Let's go (58-0302)";

    QTest::newRow("paragraph label without text")
        << (csSermonHeader + "E-9\n").toUtf8()
        << QStringList{vsRecord, paragraph("'58-0302', 'E-9', ''")} << "Let's go (58-0302)";

    // The held paragraph is always written, so a sermon without any gets one
    // empty row, as the update import does with the same format.
    QTest::newRow("no paragraphs")
        << (csSermonHeader + "only a stray note\n").toUtf8()
        << QStringList{vsRecord, paragraph("'58-0302', '', ''")} << "Let's go (58-0302)";

    QTest::newRow("short header") << QByteArray("  \n\n47-0412\nPatience\n")
                                  << QStringList{record(
                                                     "'47-0412', 'Patience', '', '', '', '', ''"),
                                                 paragraph("'47-0412', '', ''")}
                                  << "Patience (47-0412)";

    QTest::newRow("ampersand, quotes and percent signs verbatim")
        << QByteArray("54-0606\nThe \"Small\" & 100%1\n-\n-\n-\n1:00\nPlace\nE-1 50% %2\n")
        << QStringList{record("'54-0606', 'The \"Small\" & 100%1', '-', '-', '-', '1:00', "
                              "'Place'"),
                       paragraph("'54-0606', 'E-1', ' 50% %2'")}
        << "The \"Small\" & 100%1 (54-0606)";
}

void TestTextConverter::sermonStatements()
{
    QFETCH(QByteArray, aaFile);
    QFETCH(QStringList, acStatements);
    QFETCH(QString, asTitle);

    const QString vsPath = mDir.filePath(QStringLiteral("sermon.txt"));
    writeFile(vsPath, aaFile);
    QStringList vcTitles{QStringLiteral("earlier title")};
    QCOMPARE(TextConverter::convertSermonFile(vsPath, &vcTitles), acStatements);
    QCOMPARE(vcTitles, (QStringList{QStringLiteral("earlier title"), asTitle}));
}

void TestTextConverter::encodings_data()
{
    QTest::addColumn<QString>("asEncoding");
    QTest::addColumn<QString>("asTitle");
    QTest::addColumn<QString>("asText");

    const QString vsRussian = QStringLiteral("О терпении «долгой» зимы — ёлка");
    const QString vsFrench = QStringLiteral("L'espérance d'un cœur à l'écoute, où ça ?");
    QTest::newRow("windows-1251 Cyrillic") << "windows-1251" << vsRussian << vsRussian;
    QTest::newRow("UTF-8 French") << "UTF-8" << vsFrench << vsFrench;
    QTest::newRow("UTF-8 with byte order mark") << "UTF-8 BOM" << vsFrench << vsFrench;
    QTest::newRow("UTF-8 Cyrillic") << "UTF-8" << vsRussian << vsRussian;
    // One byte that cannot be UTF-8 decides for the whole file.
    QTest::newRow("windows-1251, Cyrillic only at the end") << "windows-1251"
                                                            << "Plain"
                                                            << "ж";
}

void TestTextConverter::encodings()
{
    QFETCH(QString, asEncoding);
    QFETCH(QString, asTitle);
    QFETCH(QString, asText);

    const auto encoded = [&asEncoding](const QString &asContent) {
        if (asEncoding == "windows-1251")
            return windows1251(asContent);
        return (asEncoding == "UTF-8 BOM" ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
               asContent.toUtf8();
    };
    const QString vsEscaped = QString(asText).replace("'", "''");

    const QString vsSermon = mDir.filePath(QStringLiteral("encoded.txt"));
    writeFile(
        vsSermon,
        encoded(QStringLiteral("62-0805\n%1\n-\n-\n-\n1:00\nX\nE-1 %2\n").arg(asTitle, asText)));
    QStringList vcTitles;
    const QStringList vcStatements = TextConverter::convertSermonFile(vsSermon, &vcTitles);
    QCOMPARE(vcTitles, QStringList{asTitle + QStringLiteral(" (62-0805)")});
    QCOMPARE(vcStatements.value(1),
             paragraph(QStringLiteral("'62-0805', 'E-1', ' %1'").arg(vsEscaped)));

    const QString vsBible = mDir.filePath(QStringLiteral("encoded-bible.txt"));
    writeFile(vsBible, encoded(QStringLiteral("%1\t1\t1\t%2\n").arg(asTitle, asText)));
    QStringList vcBooks;
    const QStringList vcVerses = TextConverter::convertBibleFile(
        vsBible, [&vcBooks](const QString &asBook) { vcBooks << asBook; });
    QCOMPARE(vcBooks, QStringList{asTitle});
    QVERIFY2(vcVerses.value(2).endsWith(QStringLiteral("'%1');").arg(vsEscaped)),
             qPrintable(vcVerses.value(2)));
}

void TestTextConverter::unreadableFileGivesNothing_data()
{
    QTest::addColumn<QString>("asPath");
    QTest::newRow("missing file") << mDir.filePath(QStringLiteral("no-such-file.txt"));
    QTest::newRow("folder") << mDir.path();
}

void TestTextConverter::unreadableFileGivesNothing()
{
    QFETCH(QString, asPath);
    QStringList vcTitles;
    bool vbBookSeen = false;
    QCOMPARE(TextConverter::convertSermonFile(asPath, &vcTitles), QStringList());
    QCOMPARE(TextConverter::convertBibleFile(asPath, [&](const QString &) { vbBookSeen = true; }),
             QStringList());
    QVERIFY(vcTitles.isEmpty());
    QVERIFY(!vbBookSeen);
}

void TestTextConverter::apostrophesSurviveTheDatabase()
{
    TempAppDir vApp(languages());
    writeFile(vApp.filePath(QStringLiteral("source/let.txt")),
              (csSermonHeader + "E-1 We'll see, won't we?\n").toUtf8());
    QStringList vcTitles;
    QVERIFY(TextConverter::importDirectory({vApp.filePath(QStringLiteral("source")),
                                            QStringLiteral("en"), TextConverter::ImportRun::Quotes,
                                            false},
                                           {}, &vcTitles));

    QCOMPARE(TestSupport::readRows("en", "SELECT name, pdf, place FROM quotes;"),
             QStringList{"Let's go|en-58-0302.pdf|Hillcrest"});
    QCOMPARE(TestSupport::readRows("en", "SELECT date, id, text FROM paragraphs;"),
             QStringList{"58-0302|E-1| We'll see, won't we?"});
    // The catalogue finds the item by the text it shows, which has one apostrophe.
    QCOMPARE(vcTitles, QStringList{"Let's go (58-0302)"});
}

void TestTextConverter::bibleFilesOfOneRunEachStartAtBookOne()
{
    TempAppDir vApp(languages());
    writeFile(vApp.filePath("bibles/a.txt"), "Genesis\t1\t1\tA\nExodus\t1\t1\tB\n");
    writeFile(vApp.filePath("bibles/b.txt"), "Matthew\t1\t1\tC\nMatthew\t2\t1\tD\n");
    QStringList vcBooks;
    QVERIFY(TextConverter::importDirectory(
        {vApp.filePath("bibles"), "fr", TextConverter::ImportRun::Bible, false}, {}, nullptr,
        [&vcBooks](const QString &asBook) { vcBooks << asBook; }));

    QCOMPARE(vcBooks, (QStringList{"Genesis", "Exodus", "Matthew"}));
    QCOMPARE(TestSupport::readRows("fr", "SELECT book, name FROM bibles ORDER BY rowid;"),
             (QStringList{"1|Genesis", "2|Exodus", "1|Matthew"}));
    QCOMPARE(
        TestSupport::readRows("fr", "SELECT book, chapter, name FROM chapters ORDER BY rowid;"),
        (QStringList{"1|1|Genesis 1", "2|1|Exodus 1", "1|1|Matthew 1", "1|2|Matthew 2"}));
    QCOMPARE(TestSupport::readRows("fr",
                                   "SELECT book, chapter, verse, text FROM verses ORDER BY rowid;"),
             (QStringList{"1|1|1|A", "2|1|1|B", "1|1|1|C", "1|2|1|D"}));
}

void TestTextConverter::replaceEmptiesTheTablesFirst_data()
{
    QTest::addColumn<int>("aType");
    QTest::addColumn<bool>("abReplace");
    QTest::addColumn<QString>("asTables");

    // Only the tables of the imported type are emptied.
    QTest::newRow("quotes replaced")
        << int(TextConverter::ImportRun::Quotes) << true
        << "quotes: New; paragraphs:  New; bibles: Old; chapters: Old 1; verses: Old";
    QTest::newRow("quotes added")
        << int(TextConverter::ImportRun::Quotes) << false
        << "quotes: Old, New; paragraphs:  Old,  New; bibles: Old; chapters: Old 1; verses: Old";
    QTest::newRow("Bible replaced")
        << int(TextConverter::ImportRun::Bible) << true
        << "quotes: Old; paragraphs:  Old; bibles: New; chapters: New 1; verses: New";
    QTest::newRow("Bible added")
        << int(TextConverter::ImportRun::Bible) << false
        << "quotes: Old; paragraphs:  Old; bibles: Old, New; chapters: Old 1, New 1; verses: Old, "
           "New";
}

void TestTextConverter::replaceEmptiesTheTablesFirst()
{
    QFETCH(int, aType);
    QFETCH(bool, abReplace);
    QFETCH(QString, asTables);

    TempAppDir vApp(languages());
    writeFile(vApp.filePath("old/quotes/a.txt"), "47-0412\nOld\n-\n-\n-\n1:00\nX\nE-1 Old\n");
    writeFile(vApp.filePath("old/bible/a.txt"), "Old\t1\t1\tOld\n");
    writeFile(vApp.filePath("new/quotes/a.txt"), "51-0923\nNew\n-\n-\n-\n1:00\nX\nE-1 New\n");
    writeFile(vApp.filePath("new/bible/a.txt"), "New\t1\t1\tNew\n");
    QVERIFY(TextConverter::importDirectory(
        {vApp.filePath("old/quotes"), "ru", TextConverter::ImportRun::Quotes, false}));
    QVERIFY(TextConverter::importDirectory(
        {vApp.filePath("old/bible"), "ru", TextConverter::ImportRun::Bible, false}));

    const auto vType = static_cast<TextConverter::ImportRun::Type>(aType);
    const QString vsNew =
        vApp.filePath(vType == TextConverter::ImportRun::Bible ? "new/bible" : "new/quotes");
    QVERIFY(TextConverter::importDirectory({vsNew, "ru", vType, abReplace}));

    QStringList vcTables;
    for (const QString &vsTable : QStringList{"quotes: name", "paragraphs: text", "bibles: name",
                                              "chapters: name", "verses: text"}) {
        const QStringList vcParts = vsTable.split(": ");
        vcTables << vcParts.at(0) + ": " +
                        TestSupport::readRows("ru",
                                              QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid;")
                                                  .arg(vcParts.at(1), vcParts.at(0)))
                            .join(", ");
    }
    QCOMPARE(vcTables.join("; "), asTables);
}

void TestTextConverter::runReadsSogFilesInNameOrder()
{
    TempAppDir vApp(languages());
    writeFile(vApp.filePath("src/b.sog"), "51-0923\nSecond\n-\n-\n-\n1:00\nX\nE-1 b\n");
    writeFile(vApp.filePath("src/a.txt"), "47-0412\nFirst\n-\n-\n-\n1:00\nX\nE-1 a\n");
    writeFile(vApp.filePath("src/c.md"), "65-0117\nIgnored\n-\n-\n-\n1:00\nX\nE-1 c\n");
    QStringList vcProgress;
    QStringList vcTitles;
    QVERIFY(TextConverter::importDirectory(
        {vApp.filePath("src"), "en", TextConverter::ImportRun::Quotes, false},
        [&vcProgress](int anDone, int anTotal, const QString &asFile) {
            vcProgress << QStringLiteral("%1/%2 %3").arg(anDone).arg(anTotal).arg(asFile);
        },
        &vcTitles));

    QCOMPARE(vcProgress, (QStringList{"1/2 a.txt", "2/2 b.sog"}));
    QCOMPARE(vcTitles, (QStringList{"First (47-0412)", "Second (51-0923)"}));
    QCOMPARE(TestSupport::readRows("en", "SELECT name FROM quotes ORDER BY rowid;"),
             (QStringList{"First", "Second"}));
    // The run leaves its language as the current one and notes the update.
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QStringLiteral("en"));
    QCOMPARE(Application::settings()->value("DatabaseLastUpdated").toString(),
             QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void TestTextConverter::missingFolderTouchesNothing()
{
    TempAppDir vApp(languages());
    QVERIFY(!TextConverter::importDirectory(
        {vApp.filePath("nowhere"), "fr", TextConverter::ImportRun::Quotes, true}));
    QVERIFY(
        !TextConverter::importDirectory({QString(), "fr", TextConverter::ImportRun::Bible, true}));
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QStringLiteral("ru"));
    QVERIFY(!QFileInfo::exists(vApp.filePath("sql/data/kvr_main_fr.sqlite")));
}

void TestTextConverter::demoSermonsConvertCleanly_data()
{
    QTest::addColumn<QString>("asLanguage");
    QTest::newRow("ru") << "ru";
    QTest::newRow("en") << "en";
    QTest::newRow("fr") << "fr";
}

void TestTextConverter::demoSermonsConvertCleanly()
{
    QFETCH(QString, asLanguage);
    const QString vsFolder =
        QStringLiteral(QUILLMARK_SOURCE_DIR "/demo/%1/sermons").arg(asLanguage);
    const int vnFiles = QDir(vsFolder).entryList({"*.txt"}, QDir::Files).size();
    QVERIFY2(vnFiles >= 5, qPrintable(vsFolder));

    TempAppDir vApp(languages());
    LogCapture vLog;
    QStringList vcTitles;
    QVERIFY(TextConverter::importDirectory(
        {vsFolder, asLanguage, TextConverter::ImportRun::Quotes, false}, {}, &vcTitles));
    QCOMPARE(vLog.linesContaining("SQL Error:"), QStringList());
    QCOMPARE(vcTitles.size(), vnFiles);

    // Every sermon has a real body: enough paragraphs, none of them empty, and
    // no character that a wrong decoding would leave behind.
    const QStringList vcCounts = TestSupport::readRows(
        asLanguage, "SELECT q.date, count(p.rowid), min(length(p.text)) FROM quotes q "
                    "LEFT JOIN paragraphs p ON p.date = q.date GROUP BY q.date;");
    QCOMPARE(vcCounts.size(), vnFiles);
    for (const QString &vsRow : vcCounts) {
        const QStringList vcColumns = vsRow.split('|');
        QVERIFY2(vcColumns.at(1).toInt() >= 15, qPrintable(vsRow));
        QVERIFY2(vcColumns.at(2).toInt() > 20, qPrintable(vsRow));
    }
    const QStringList vcTexts =
        TestSupport::readRows(asLanguage, "SELECT name || ' ' || place || ' ' || text "
                                          "FROM quotes q JOIN paragraphs p "
                                          "ON p.date = q.date;");
    for (const QString &vsText : vcTexts) {
        QVERIFY2(!vsText.contains(QChar::ReplacementCharacter), qPrintable(vsText));
        // UTF-8 read as windows-1251 turns "é" into "Г©", "а" into "Р°", "т" into "С‚".
        QVERIFY2(!vsText.contains(QRegularExpression("[©°‚]")), qPrintable(vsText));
        if (asLanguage == "ru")
            QVERIFY2(vsText.contains(QRegularExpression("[а-яё]{4}")), qPrintable(vsText));
    }
    if (asLanguage == "fr")
        QVERIFY(vcTexts.join(' ').contains(QRegularExpression("[éèàçê]")));
}

void TestTextConverter::demoSermonsExistInSeveralLanguages()
{
    // A parallel translation needs the same date in another language; further
    // translations carry " *" and another translator than the first one.
    QMap<QString, QStringList> vcLanguagesByDate;
    QMap<QString, QString> vcTranslators;
    QStringList vcFurther;
    for (const QString &vsLanguage : QStringList{"ru", "en", "fr"}) {
        const QString vsFolder =
            QStringLiteral(QUILLMARK_SOURCE_DIR "/demo/%1/sermons").arg(vsLanguage);
        for (const QString &vsName : QDir(vsFolder).entryList({"*.txt"}, QDir::Files)) {
            QString vsText;
            QVERIFY(TextConverter::readSourceFile(vsFolder + "/" + vsName, &vsText));
            const QStringList vcLines = vsText.trimmed().split('\n');
            const QString vsDate = vcLines.value(0).trimmed();
            const QString vsTranslator = vcLines.value(2).trimmed();
            QVERIFY2(QRegularExpression("^\\d\\d-\\d{4}( \\*)?$").match(vsDate).hasMatch(),
                     qPrintable(vsName));
            vcTranslators.insert(vsLanguage + vsDate, vsTranslator);
            if (vsDate.endsWith(" *")) {
                vcFurther << vsLanguage + vsDate;
                continue;
            }
            vcLanguagesByDate[vsDate] << vsLanguage;
            if (vsLanguage == "en")
                QCOMPARE(vsTranslator, QStringLiteral("-"));
        }
    }
    QVERIFY(vcFurther.size() >= 2);
    for (const QString &vsFurther : vcFurther) {
        const QString vsFirst = vsFurther.chopped(2);
        QVERIFY2(vcTranslators.contains(vsFirst), qPrintable(vsFurther));
        QVERIFY2(vcTranslators.value(vsFirst) != vcTranslators.value(vsFurther),
                 qPrintable(vsFurther));
    }
    for (auto it = vcLanguagesByDate.cbegin(); it != vcLanguagesByDate.cend(); ++it)
        QVERIFY2(it.value().size() >= 2, qPrintable(it.key()));
}

QUILLMARK_TEST_MAIN(TestTextConverter)
#include "test_textconverter.moc"
