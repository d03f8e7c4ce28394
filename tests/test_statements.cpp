// The statements the program runs in place of slower ones give exactly the
// rows of those, in the same order: the indexed search and document
// statements against the plain full-text ones, on a corpus with the cases
// their joins have to get right.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/documentexport.h"
#include "models/documentstatements.h"
#include "models/exchangewriter.h"
#include "models/searchreader.h"
#include "models/searchstatements.h"

#include <QBuffer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

using TestSupport::filledDatabase;

using TestSupport::sermonStatements;

QMap<QString, QVariant> settings(bool abShowDuplicates = true)
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},  {"DBLang1", "ru"},
            {"ParagraphCount", 20}, {"VersesCount", 20}, {"ShowDuplicates", abShowDuplicates}};
}

// A corpus with the cases the joins have to get right: further translations,
// a sermon date that two sermon records share (rowids 2 and 8), paragraphs
// without a date or without a sermon record, and in the Bible a book with two
// names, a chapter recorded twice, a chapter recorded after a later book's,
// and verses of chapters without a record.
QStringList comparisonCorpus()
{
    const QStringList vcWords{"и", "вера", "слово", "и", "свет", "Вера", "мир", "l'eau", "дело"};
    int vnWord = 0;
    auto text = [&] {
        QStringList vcText;
        for (int i = 3 + vnWord % 8; i > 0; --i)
            vcText << vcWords.at(vnWord++ * 7 % vcWords.size());
        return vcText.join(' ');
    };
    QStringList vcStatements;
    const QStringList vcDates{"60-0101", "60-0202",   "61-0303",   "62-0404",
                              "63-0505", "60-0101 *", "61-0303 *", "60-0202"};
    for (int vnSermon = 0; vnSermon < vcDates.size(); ++vnSermon) {
        QStringList vcParagraphs;
        // The second record of 60-0202 brings no paragraphs of its own.
        for (int i = 0; i < (vnSermon == 7 ? 0 : 12); ++i)
            vcParagraphs << text();
        vcStatements << sermonStatements(vcDates.at(vnSermon), "N", vcParagraphs, "T", "P");
    }
    vcStatements
        << "INSERT INTO paragraphs (id, date, text) VALUES ('E-1', NULL, 'и вера'), ('E-1', "
           "'99-9999 *', 'и слово');"
        << "INSERT INTO bibles (book, name) VALUES (1, 'Бытие'), (2, 'Исход'), (2, 'Исход II');"
        << "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'x'), (1, 2, 'x'), (2, 1, "
           "'x'), (2, 1, 'x'), (1, 3, 'x');";
    for (const char *vsChapter : {"1, 1", "1, 2", "2, 1", "3, 1", "1, 3"})
        for (int vnVerse = 1; vnVerse <= 6; ++vnVerse)
            vcStatements << QString(
                                "INSERT INTO verses (book, chapter, verse, text) VALUES (%1, %2, "
                                "%3);")
                                .arg(vsChapter)
                                .arg(vnVerse)
                                .arg(TestSupport::sqlText(text()));
    return vcStatements;
}

// The rows of a statement, each value with its type.
QStringList rows(QSqlDatabase aConnection, const QString &asStatement,
                 const QVariantList &acValues = {})
{
    QStringList vcRows;
    QSqlQuery vQuery(aConnection);
    vQuery.prepare(asStatement);
    for (const QVariant &vValue : acValues)
        vQuery.addBindValue(vValue);
    if (!vQuery.exec())
        return {"failed: " + vQuery.lastError().text() + " in " + asStatement};
    while (vQuery.next()) {
        QStringList vcColumns;
        for (int i = 0; i < vQuery.record().count(); ++i)
            vcColumns << (vQuery.isNull(i) ? QString("NULL")
                                           : QString(vQuery.value(i).typeName()) + ":" +
                                                 vQuery.value(i).toString());
        vcRows << vcColumns.join(" | ");
    }
    return vcRows;
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void indexedStatementsGiveThePlainRows_data();
    void indexedStatementsGiveThePlainRows();
    void groupsAddUpAndRestrictToTheirHits_data();
    void groupsAddUpAndRestrictToTheirHits();
    void indexedDocumentStatementsGiveThePlainRows_data();
    void indexedDocumentStatementsGiveThePlainRows();
    void indexedExportGivesThePlainFile_data();
    void indexedExportGivesThePlainFile();
};

void TestStatements::indexedStatementsGiveThePlainRows_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<bool>("hideDuplicates");
    QTest::addColumn<int>("offset"); // of a page of seven
    QTest::newRow("duplicates hidden, a later page") << false << "и" << 0 << "" << true << 28;
    QTest::newRow("LIKE, duplicates hidden") << false << "Вера и" << 1 << "" << true << 0;
    // Rowids 2 and 8 share the date 60-0202; 6 is a further translation.
    QTest::newRow("restricted to both records of a date")
        << false << "и" << 0 << "(8,2,6)" << false << 7;
    QTest::newRow("restricted to one record of a date") << false << "и" << 0 << "(2)" << false << 7;
    QTest::newRow("restricted, LIKE") << false << "и" << 1 << "(2,8,5)" << false << 0;
    QTest::newRow("Bible, a later page") << true << "и" << 0 << "" << false << 7;
    QTest::newRow("Bible, restricted to a chapter recorded twice")
        << true << "и" << 0 << "(3,4)" << false << 0;
    QTest::newRow("Bible, restricted, LIKE") << true << "и" << 1 << "(1,4)" << false << 0;
}

void TestStatements::indexedStatementsGiveThePlainRows()
{
    QFETCH(bool, bible);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, restriction);
    QFETCH(bool, hideDuplicates);
    QFETCH(int, offset);
    TempAppDir vApp(settings());
    filledDatabase(comparisonCorpus());
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "compare");
        vConnection.setDatabaseName(Application::databaseFilePath());
        QVERIFY(vConnection.open());
        QVERIFY(SearchStatements::ensureIndexes(vConnection));

        SearchStatements::Search vSearch;
        vSearch.condition = SearchStatements::condition(text, AdvancedSearchFlags(flags));
        vSearch.like = SearchStatements::isLikeSearch(AdvancedSearchFlags(flags));
        vSearch.restriction = restriction;
        vSearch.hideDuplicates = hideDuplicates;
        const auto vPage = bible ? &SearchStatements::biblePage : &SearchStatements::sermonPage;
        const auto vCount = bible ? &SearchStatements::bibleCount : &SearchStatements::sermonCount;

        // The same rows in the same order, paged alike and counted alike.
        const QStringList vcAll = rows(vConnection, vPage(false, vSearch, 100000, 0));
        QVERIFY(vcAll.size() > offset + 1);
        QCOMPARE(rows(vConnection, vPage(true, vSearch, 100000, 0)), vcAll);
        for (const bool vbIndexed : {false, true}) {
            QCOMPARE(rows(vConnection, vPage(vbIndexed, vSearch, 7, offset)), vcAll.mid(offset, 7));
            QCOMPARE(rows(vConnection, vCount(vbIndexed, vSearch)),
                     QStringList{"qlonglong:" + QString::number(vcAll.size())});
        }

        // The full-text index is the only thing read from start to end.
        if (!vSearch.like) {
            for (const QString &vsStatement :
                 {vPage(true, vSearch, 7, offset), vCount(true, vSearch)}) {
                for (const QString &vsStep :
                     rows(vConnection, "EXPLAIN QUERY PLAN " + vsStatement)) {
                    const QString vsDetail = vsStep.section(" | ", 3).section(':', 1);
                    QVERIFY2(!vsDetail.contains("TEMP B-TREE") &&
                                 (!vsDetail.startsWith("SCAN") ||
                                  (vsDetail.contains("VIRTUAL TABLE INDEX") &&
                                   !vsDetail.contains("INDEX 0:"))),
                             qPrintable(vsDetail));
                }
            }
        }
    }
    QSqlDatabase::removeDatabase("compare");
}

void TestStatements::groupsAddUpAndRestrictToTheirHits_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<bool>("hideDuplicates");
    QTest::addColumn<QString>("labels");
    // Further translations, paragraphs without a sermon record (99) or a date.
    QTest::newRow("duplicates shown")
        << false << "и" << 0 << "" << false << "|1960|1961|1962|1963|1999";
    QTest::newRow("duplicates hidden") << false << "и" << 0 << "" << true << "1960|1961|1962|1963";
    QTest::newRow("LIKE, duplicates hidden")
        << false << "Вера и" << 1 << "" << true << "1960|1961|1962|1963";
    // 2 and 8 share a date; 7 is a further translation.
    QTest::newRow("restricted") << false << "и" << 0 << "(8,2,4,7)" << false << "1960|1961|1962";
    QTest::newRow("restricted, LIKE")
        << false << "и" << 1 << "(8,2,4,7)" << false << "1960|1961|1962";
    // A book with two names, a chapter recorded twice, verses without a chapter record.
    QTest::newRow("Bible") << true << "и" << 0 << "" << false << "Бытие|Исход|3";
    QTest::newRow("Bible, LIKE") << true << "и" << 1 << "" << false << "Бытие|Исход|3";
    QTest::newRow("Bible, restricted") << true << "и" << 0 << "(1,4)" << false << "Бытие|Исход";
}

// The bars of a search's chart: the groups add up to its count, the plain
// and indexed files give the same, and a search restricted to a group's keys
// finds exactly the group's hits.
void TestStatements::groupsAddUpAndRestrictToTheirHits()
{
    QFETCH(bool, bible);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, restriction);
    QFETCH(bool, hideDuplicates);
    TempAppDir vApp(settings());
    filledDatabase(comparisonCorpus());
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "compare");
        vConnection.setDatabaseName(Application::databaseFilePath());
        QVERIFY(vConnection.open());
        QVERIFY(SearchStatements::ensureIndexes(vConnection));
        const auto vQueries = [&] { return QSqlQuery(vConnection); };

        SearchStatements::Search vSearch;
        vSearch.condition = SearchStatements::condition(text, AdvancedSearchFlags(flags));
        vSearch.like = SearchStatements::isLikeSearch(AdvancedSearchFlags(flags));
        vSearch.restriction = restriction;
        vSearch.hideDuplicates = hideDuplicates;
        QStringList vcGroups[2]; // plain, indexed
        for (const bool vbIndexed : {false, true}) {
            const SearchReader vReader(vQueries, vbIndexed);
            HitGroups vcFound;
            QVERIFY(vReader.groups(bible, vSearch, &vcFound));
            qint64 vnSum = 0;
            for (const HitGroup &vGroup : qAsConst(vcFound)) {
                vcGroups[vbIndexed] << QString("%1 %2 %3 %4")
                                           .arg(vGroup.msKey, vGroup.msLabel)
                                           .arg(vGroup.mnHits)
                                           .arg(vGroup.msKeys);
                vnSum += vGroup.mnHits;
                if (vGroup.msKeys.isEmpty())
                    continue;
                SearchStatements::Search vNarrowed = vSearch;
                vNarrowed.restriction = vGroup.msKeys;
                vNarrowed.hideDuplicates = false;
                QCOMPARE(vReader.count(bible, vNarrowed), vGroup.mnHits);
            }
            QCOMPARE(vnSum, vReader.count(bible, vSearch));
            QStringList vcLabels;
            for (const HitGroup &vGroup : qAsConst(vcFound))
                vcLabels << vGroup.msLabel;
            QTEST(vcLabels.join('|'), "labels");
        }
        QCOMPARE(vcGroups[1], vcGroups[0]);

        // Only the full-text index is read from start to end.
        if (!vSearch.like)
            for (const QString &vsStep :
                 rows(vConnection, "EXPLAIN QUERY PLAN " +
                                       (bible ? SearchStatements::bibleGroups(true, vSearch)
                                              : SearchStatements::sermonGroups(true, vSearch)))) {
                const QString vsDetail = vsStep.section(" | ", 3).section(':', 1);
                QVERIFY2(!vsDetail.startsWith("SCAN") ||
                             (vsDetail.contains("VIRTUAL TABLE INDEX") &&
                              !vsDetail.contains("INDEX 0:")),
                         qPrintable(vsDetail));
            }
    }
    QSqlDatabase::removeDatabase("compare");
}

void TestStatements::indexedDocumentStatementsGiveThePlainRows_data()
{
    // 0 sermon paragraphs, 1 chapter verses, 2 verses by book title, 3 parallel chapters.
    QTest::addColumn<int>("statement");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("rows");

    QTest::newRow("paragraphs of a date, inserted out of order")
        << 0 << QVariantList{"70-0202"} << 3;
    QTest::newRow("paragraphs of a further translation") << 0 << QVariantList{"70-0202 *"} << 2;
    QTest::newRow("paragraphs of a date with an apostrophe") << 0 << QVariantList{"70'0303"} << 1;
    QTest::newRow("paragraphs of a missing date") << 0 << QVariantList{"99-9999"} << 0;
    QTest::newRow("verses of a chapter") << 1 << QVariantList{40, 2} << 3;
    QTest::newRow("verses of a book stored as text") << 1 << QVariantList{42, 1} << 1;
    QTest::newRow("verses by book title") << 2 << QVariantList{"Matthew's", 1} << 2;
    QTest::newRow("parallel chapters, several, one without verses")
        << 3 << QVariantList{40, 3, 1, 2} << 6;
    QTest::newRow("parallel chapters, one") << 3 << QVariantList{41, 2} << 1;
}

void TestStatements::indexedDocumentStatementsGiveThePlainRows()
{
    QFETCH(int, statement);
    QFETCH(QVariantList, values);
    TempAppDir vApp(settings());
    // Rows go in out of date, book and chapter order, interleaved.
    filledDatabase(QStringList{
        "INSERT INTO paragraphs (id, date, text) VALUES ('E-3', '70-0202', 'c'), "
        "('E-1', '70''0303', 'q'), ('E-1', '70-0202', 'a'), ('E-2', '70-0202 *', 'y'), "
        "('E-1', '70-0202 *', 'x'), ('E-2', '70-0202', 'b');",
        "INSERT INTO bibles (book, name) VALUES (40, 'Matthew''s'), (41, 'Mark');",
        "INSERT INTO chapters (book, chapter, name) VALUES (40, 2, 'Matthew 2'), "
        "(41, 2, 'Mark 2'), (40, 3, 'Matthew 3'), (40, 1, 'Matthew 1');",
        "INSERT INTO verses (book, chapter, verse, text) VALUES (40, 2, 3, 'm2:3'), "
        "(40, 1, 2, 'm1:2'), (40, 2, 1, 'm2:1'), (41, 2, 1, 'k2:1'), (40, 1, 1, 'm1:1'), "
        "(40, 2, 2, 'm2:2'), ('42', 1, 1, 'book as text'), (42, 1, 2, 'book as number');"});
    QStringList vcRows[2]; // plain, indexed
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "compare");
        vConnection.setDatabaseName(Application::databaseFilePath());
        QVERIFY(vConnection.open());
        QVERIFY(DocumentStatements::ensureIndexes(vConnection));
        for (const bool vbIndexed : {false, true})
            vcRows[vbIndexed] =
                rows(vConnection,
                     statement == 0   ? DocumentStatements::sermonParagraphs(vbIndexed)
                     : statement == 1 ? DocumentStatements::chapterVerses(vbIndexed)
                     : statement == 2
                         ? DocumentStatements::chapterVersesByTitle(vbIndexed)
                         : DocumentStatements::parallelChapters(vbIndexed, values.size() - 1),
                     values);
    }
    QSqlDatabase::removeDatabase("compare");
    QCOMPARE(vcRows[1], vcRows[0]);
    QTEST(int(vcRows[0].size()), "rows");
}
void TestStatements::indexedExportGivesThePlainFile_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("lines");
    // Records 2 and 8 share the date 60-0202 (8 has no paragraphs of its
    // own, and the same values as 2); 6 is a further translation.
    QTest::newRow("sermons, keys out of order") << false << "(5,2,6)" << 3 + 36 + 6;
    QTest::newRow("both records of a date") << false << "(8,2)" << 1 + 24 + 6;
    // 8's paragraphs (those of 2) come before 5's.
    QTest::newRow("a record without paragraphs of its own") << false << "(8,5)" << 2 + 24 + 6;
    // Chapters 3 and 4 are the same chapter recorded twice; book 2 has two names.
    QTest::newRow("a chapter recorded twice, a book with two names")
        << true << "(4,3,1)" << 3 + 3 + 18 + 6;
    QTest::newRow("chapters of one book") << true << "(2,1)" << 1 + 2 + 12 + 6;
    QTest::newRow("a book's chapter recorded after a later book's")
        << true << "(5,3)" << 3 + 2 + 12 + 6;
}

// The rows the exchange file is made of, and their order, are those of the
// statements the format was defined with.
void TestStatements::indexedExportGivesThePlainFile()
{
    QFETCH(bool, bible);
    QFETCH(QString, keys);
    TempAppDir vApp(settings());
    filledDatabase(comparisonCorpus());
    QByteArray vaFiles[2]; // plain, indexed
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "compare");
        vConnection.setDatabaseName(Application::databaseFilePath());
        QVERIFY(vConnection.open());
        QVERIFY(DocumentStatements::ensureIndexes(vConnection));
        for (const bool vbIndexed : {false, true}) {
            QBuffer vBuffer(&vaFiles[vbIndexed]);
            vBuffer.open(QIODevice::WriteOnly);
            ExchangeWriter vWriter(&vBuffer);
            vWriter.begin("ru", bible);
            QString vsError;
            QVERIFY2(DocumentExport::writeDocuments([&] { return QSqlQuery(vConnection); }, vWriter,
                                                    bible, keys, vbIndexed, &vsError),
                     qPrintable(vsError));
            QVERIFY(vWriter.finish());
        }
    }
    QSqlDatabase::removeDatabase("compare");
    QCOMPARE(vaFiles[1], vaFiles[0]);
    QTEST(int(vaFiles[0].count('\n') + 1), "lines");
}

QUILLMARK_TEST_MAIN(TestStatements)
#include "test_statements.moc"
