// The demo corpus's Russian-order Bible: it must come out of the program's own
// converter with the Russian book numbers and psalm numbering, and hold every
// psalm verse the correspondence table pairs with the other Bibles, so that a
// parallel psalm or epistle opened from the demo finds its counterpart.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"
#include "models/database.h"
#include "models/psalmtable.h"

#include <QMap>
#include <QSet>

#include <memory>

class TestDemoCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void booksAndChaptersAsTheProgramNumbersThem();
    void psalmsFollowTheRussianNumbering();
    void toolBuildsWhatHoldsNoTexts();

private:
    std::unique_ptr<TempAppDir> mpApp;
    // Psalm chapter → its verse numbers, from the converted database.
    QMap<int, QSet<int>> mcPsalmVerses;
};

void TestDemoCorpus::initTestCase()
{
    mpApp = std::make_unique<TempAppDir>(
        QMap<QString, QVariant>{{"DataLanguage", "ru"}, {"DBLang1", "ru"}});
    LogCapture vLog;
    QVERIFY(TextConverter::importDirectory(
        *Application::database(), *Application::storeEnvironment(),
        {QUILLMARK_SOURCE_DIR "/demo/ru/bible", "ru", TextConverter::ImportRun::Bible, false}));
    QCOMPARE(vLog.linesContaining("SQL Error:"), QStringList());
    // One file, each book in one stretch: a book name met twice would count twice.
    QCOMPARE(TestSupport::readRows("ru", "SELECT count(*), count(DISTINCT name) FROM bibles;"),
             QStringList{"66|66"});

    for (const QString &vsRow :
         TestSupport::readRows("ru", "SELECT chapter, verse FROM verses WHERE book = 19;")) {
        const QStringList vcColumns = vsRow.split('|');
        mcPsalmVerses[vcColumns.at(0).toInt()].insert(vcColumns.at(1).toInt());
    }
}

void TestDemoCorpus::booksAndChaptersAsTheProgramNumbersThem()
{
    // The general epistles follow Acts (first and last: 45, 51), Paul's
    // epistles follow them (52 to 65).
    QCOMPARE(TestSupport::readRows("ru", "SELECT book || ' ' || name FROM bibles "
                                         "WHERE book IN (1, 19, 43, 44, 45, 51, 52, 65, 66) "
                                         "ORDER BY book;"),
             (QStringList{"1 Бытие", "19 Псалтирь", "43 Иоанна", "44 Деяния", "45 Иакова",
                          "51 Иуды", "52 Римлянам", "65 Евреям", "66 Откровение"}));

    // The converter numbers chapters in order of appearance, so a chapter left
    // out of the file would shift every later one: its stored number would no
    // longer match its label (the name is "<book> <label>"). Every book opens
    // at chapter 1, every chapter has verses 1…n, and none is empty.
    for (const char *vsFaults :
         {"SELECT c.name FROM chapters c JOIN bibles b ON b.book = c.book "
          "WHERE c.name <> b.name || ' ' || c.chapter;",
          "SELECT book FROM bibles WHERE book NOT IN "
          "(SELECT book FROM verses WHERE chapter = 1 AND verse = 1);",
          "SELECT book, chapter FROM verses GROUP BY book, chapter "
          "HAVING min(verse) <> 1 OR max(verse) <> count(*) OR count(DISTINCT verse) <> count(*);",
          "SELECT name FROM chapters c WHERE NOT EXISTS (SELECT 1 FROM verses v "
          "WHERE v.book = c.book AND v.chapter = c.chapter);"})
        QCOMPARE(TestSupport::readRows("ru", vsFaults), QStringList());
}

void TestDemoCorpus::psalmsFollowTheRussianNumbering()
{
    QCOMPARE(mcPsalmVerses.size(), 150);
    QCOMPARE(mcPsalmVerses.lastKey(), 150);

    // Every psalm of the correspondence table exists: a record that names a
    // verse needs that verse; a whole-chapter record needs the chapter. A
    // chapter the table splits verse by verse must have no more verses than
    // the table pairs, or the surplus has no parallel.
    QMap<int, int> vcPairedVerses;
    for (const PsalmRecord &vRecord : PsalmTable::build()) {
        const int vnChapter = vRecord.mnRussianChapter;
        const int vnVerse = vRecord.mnRussianVerse;
        QVERIFY2(mcPsalmVerses.contains(vnChapter), qPrintable(QString::number(vnChapter)));
        if (vnVerse == 0)
            continue;
        QVERIFY2(mcPsalmVerses.value(vnChapter).contains(vnVerse),
                 qPrintable(QStringLiteral("%1:%2").arg(vnChapter).arg(vnVerse)));
        vcPairedVerses[vnChapter] = qMax(vcPairedVerses.value(vnChapter), vnVerse);
    }
    QVERIFY(vcPairedVerses.contains(147));
    for (auto it = vcPairedVerses.cbegin(); it != vcPairedVerses.cend(); ++it)
        QCOMPARE(mcPsalmVerses.value(it.key()).size(), it.value());
}

void TestDemoCorpus::toolBuildsWhatHoldsNoTexts()
{
    // English has the empty tables a first start of the program gives a new
    // database; Russian and French hold a sermon of their own.
    TempAppDir vApp({{"DataLanguage", "en"}, {"DBLang1", "ru"}});
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Own", {"text"})));
    vpDatabase->changeLanguage("ru");
    QVERIFY(vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Своя", {"текст"})));
    vpDatabase->changeLanguage("fr");
    QVERIFY(vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Propre", {"texte"})));
    Application::releaseSingletons();
    const QByteArray vaRussian =
        TestSupport::readFile(vApp.filePath("sql/data/kvr_main_ru.sqlite"));
    QVERIFY(QFile::remove(vApp.filePath("sql/data/kvr_main_en.sqlite")));
    vpDatabase = Application::database();
    vpDatabase->changeLanguage("en");
    Application::releaseSingletons();
    QCOMPARE(TestSupport::readRows("en", "SELECT count(*) FROM quotes;"), QStringList{"0"});

    const TestSupport::ProgramRun vRun = TestSupport::runProgram(
        QUILLMARK_MAKE_DEMO_CORPUS, {QUILLMARK_SOURCE_DIR "/demo", vApp.path()});
    QVERIFY2(vRun.mnStatus == 0, qPrintable(vRun.describe()));
    QCOMPARE(TestSupport::readRows("en", "SELECT count(*) FROM quotes;"), QStringList{"7"});
    QCOMPARE(TestSupport::readFile(vApp.filePath("sql/data/kvr_main_ru.sqlite")), vaRussian);
    QCOMPARE(TestSupport::readRows("fr", "SELECT name FROM quotes;"), QStringList{"Propre"});
}

QUILLMARK_TEST_MAIN(TestDemoCorpus)
#include "test_democorpus.moc"
