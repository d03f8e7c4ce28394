// The demo corpus's Russian-order Bible: it must come out of the program's own
// converter with the Russian book numbers and psalm numbering, and hold every
// psalm verse the correspondence table pairs with the other Bibles, so that a
// parallel psalm or epistle opened from the demo finds its counterpart.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"
#include "models/psalmtable.h"

#include <QMap>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace {

const QString csBibleFolder = QStringLiteral(QUILLMARK_SOURCE_DIR "/demo/ru/bible");

} // namespace

class TestDemoCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void booksStandInTheRussianOrder_data();
    void booksStandInTheRussianOrder();
    void chaptersAndVersesAreNumberedWithoutGaps();
    void psalmsFollowTheRussianNumbering();
    void everyPsalmOfTheCorrespondenceTableExists();

private:
    std::unique_ptr<TempAppDir> mpApp;
    // Psalm chapter → its verse numbers, from the converted database.
    QMap<int, QSet<int>> mcPsalmVerses;
};

void TestDemoCorpus::initTestCase()
{
    mpApp = std::make_unique<TempAppDir>(
        QMap<QString, QVariant>{{QStringLiteral("DataLanguage"), QStringLiteral("ru")},
                                {QStringLiteral("DBLang1"), QStringLiteral("ru")}});
    LogCapture vLog;
    QStringList vcBooks;
    QVERIFY(TextConverter::importDirectory(
        {csBibleFolder, "ru", TextConverter::ImportRun::Bible, false}, {}, nullptr,
        [&vcBooks](const QString &asBook) { vcBooks << asBook; }));
    QCOMPARE(vLog.linesContaining("SQL Error:"), QStringList());
    // One file, each book in one stretch: a book name met twice would count twice.
    QCOMPARE(vcBooks.size(), 66);
    QCOMPARE(TestSupport::readRows(QStringLiteral("ru"),
                                   "SELECT count(*), count(DISTINCT name) FROM bibles;"),
             QStringList{"66|66"});

    for (const QString &vsRow : TestSupport::readRows(
             QStringLiteral("ru"), "SELECT chapter, verse FROM verses WHERE book = 19;")) {
        const QStringList vcColumns = vsRow.split('|');
        mcPsalmVerses[vcColumns.at(0).toInt()].insert(vcColumns.at(1).toInt());
    }
}

void TestDemoCorpus::cleanupTestCase()
{
    mpApp.reset();
}

void TestDemoCorpus::booksStandInTheRussianOrder_data()
{
    QTest::addColumn<int>("anBook");
    QTest::addColumn<QString>("asName");

    QTest::newRow("first") << 1 << "Бытие";
    QTest::newRow("Psalms") << 19 << "Псалтирь";
    QTest::newRow("last Gospel") << 43 << "Иоанна";
    QTest::newRow("Acts") << 44 << "Деяния";
    // The general epistles follow Acts, Paul's epistles follow them.
    QTest::newRow("first general epistle") << 45 << "Иакова";
    QTest::newRow("last general epistle") << 51 << "Иуды";
    QTest::newRow("first Pauline epistle") << 52 << "Римлянам";
    QTest::newRow("last Pauline epistle") << 65 << "Евреям";
    QTest::newRow("last") << 66 << "Откровение";
}

void TestDemoCorpus::booksStandInTheRussianOrder()
{
    QFETCH(int, anBook);
    QFETCH(QString, asName);
    QCOMPARE(TestSupport::readRows(
                 QStringLiteral("ru"),
                 QStringLiteral("SELECT name FROM bibles WHERE book = %1;").arg(anBook)),
             QStringList{asName});
}

void TestDemoCorpus::chaptersAndVersesAreNumberedWithoutGaps()
{
    // The converter numbers chapters in order of appearance, so a chapter left
    // out of the file would shift every later one: its stored number would no
    // longer match its label (the name is "<book> <label>").
    QCOMPARE(TestSupport::readRows(QStringLiteral("ru"),
                                   "SELECT c.name, b.name || ' ' || c.chapter FROM chapters c "
                                   "JOIN bibles b ON b.book = c.book "
                                   "WHERE c.name <> b.name || ' ' || c.chapter;"),
             QStringList());
    // Every book opens at chapter 1, and every chapter has verses 1…n.
    QCOMPARE(TestSupport::readRows(QStringLiteral("ru"),
                                   "SELECT book FROM bibles WHERE book NOT IN "
                                   "(SELECT book FROM verses WHERE chapter = 1 AND verse = 1);"),
             QStringList());
    QCOMPARE(
        TestSupport::readRows(QStringLiteral("ru"),
                              "SELECT book, chapter, count(*), count(DISTINCT verse), min(verse), "
                              "max(verse) FROM verses GROUP BY book, chapter "
                              "HAVING min(verse) <> 1 OR max(verse) <> count(*) "
                              "OR count(DISTINCT verse) <> count(*);"),
        QStringList());
    QCOMPARE(TestSupport::readRows(
                 QStringLiteral("ru"),
                 "SELECT count(*) FROM chapters c WHERE NOT EXISTS (SELECT 1 FROM verses v "
                 "WHERE v.book = c.book AND v.chapter = c.chapter);"),
             QStringList{"0"});
}

void TestDemoCorpus::psalmsFollowTheRussianNumbering()
{
    QCOMPARE(mcPsalmVerses.size(), 150);
    QCOMPARE(mcPsalmVerses.firstKey(), 1);
    QCOMPARE(mcPsalmVerses.lastKey(), 150);
    // Russian 9 is the other Bibles' 9 and 10, Russian 113 their 114 and 115.
    QCOMPARE(mcPsalmVerses.value(9).size(), 39);
    QCOMPARE(mcPsalmVerses.value(113).size(), 26);
}

void TestDemoCorpus::everyPsalmOfTheCorrespondenceTableExists()
{
    // A record that names a verse needs that verse; a whole-chapter record
    // needs the chapter. A chapter the table splits verse by verse must have
    // no more verses than the table pairs, or the surplus has no parallel.
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
        QVERIFY2(mcPsalmVerses.value(it.key()).size() == it.value(),
                 qPrintable(QStringLiteral("psalm %1 has %2 verses, the table pairs %3")
                                .arg(it.key())
                                .arg(mcPsalmVerses.value(it.key()).size())
                                .arg(it.value())));
}

QUILLMARK_TEST_MAIN(TestDemoCorpus)
#include "test_democorpus.moc"
