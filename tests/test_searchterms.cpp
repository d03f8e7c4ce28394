// Word forms and е/ё spellings: the full-text queries they make find what
// they promise on a real full-text table (and stay valid queries whatever is
// typed), the stems the stemmers give, and what the marks cover.
#include "models/searchstatements.h"
#include "models/searchterms.h"
#include "sqlite/sqliteicu.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

const char *const cConnection = "terms";

// One row per text, its docid its place in the list from 1.
const QStringList cTexts{
    "Он несёт свет",     // 1
    "они несут воду",    // 2
    "несет ли он",       // 3
    "ещё раз",           // 4
    "еще два раза",      // 5
    "светильник горит",  // 6
    "happy days",        // 7
    "such happiness",    // 8
    "Всё идёт хорошо",   // 9
    "все идет как было", // 10
    "l'eau vive"         // 11
};

QString run(const QString &asCondition)
{
    QSqlQuery vQuery(QSqlDatabase::database(cConnection));
    if (!vQuery.exec(QStringLiteral("SELECT docid FROM paragraphs WHERE text MATCH '%1' ORDER BY "
                                    "docid")
                         .arg(asCondition)))
        return "failed: " + vQuery.lastError().text();
    QStringList vcRows;
    while (vQuery.next())
        vcRows << vQuery.value(0).toString();
    return vcRows.join(' ');
}

} // namespace

class TestSearchTerms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void finds_data();
    void finds();
    void withoutModifiersNothingChanges();
    void variantsAreCapped();
    void stems();
    void marks();
};

void TestSearchTerms::initTestCase()
{
    SqliteIcu::install();
    QSqlDatabase vDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), cConnection);
    vDb.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(vDb.open());
    QSqlQuery vQuery(vDb);
    QVERIFY(vQuery.exec("CREATE VIRTUAL TABLE paragraphs USING fts4 (text TEXT, tokenize=icu "
                        "ru_RU);"));
    QVERIFY(vQuery.prepare("INSERT INTO paragraphs (docid, text) VALUES (?, ?)"));
    for (int i = 0; i < cTexts.size(); ++i) {
        vQuery.addBindValue(i + 1);
        vQuery.addBindValue(cTexts.at(i));
        QVERIFY(vQuery.exec());
    }
}

void TestSearchTerms::cleanupTestCase()
{
    QSqlDatabase::removeDatabase(cConnection);
}

void TestSearchTerms::finds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("rows");
    QTest::newRow("е strict") << "еще" << 0 << "ru"
                              << "5";
    QTest::newRow("е finds ё") << "еще" << int(YoAlike) << "ru"
                               << "4 5";
    QTest::newRow("ё finds е") << "ещё" << int(YoAlike) << "ru"
                               << "4 5";
    QTest::newRow("capital letters") << "ВСЕ" << int(YoAlike) << "ru"
                                     << "9 10";
    // Each word still has to be there: the variants of one word are grouped.
    QTest::newRow("two words, both needed") << "еще раз" << int(YoAlike) << "ru"
                                            << "4 5";
    QTest::newRow("two words, one missing") << "ещё свет" << int(YoAlike) << "ru"
                                            << "";
    QTest::newRow("any word") << "ещё светильник" << int(AnyWord | YoAlike) << "ru"
                              << "4 5 6";
    QTest::newRow("phrase") << "все идет" << int(ExactPhrase | YoAlike) << "ru"
                            << "9 10";
    QTest::newRow("phrase, strict") << "все идет" << int(ExactPhrase) << "ru"
                                    << "10";
    QTest::newRow("whole words") << "ещё" << int(WholeWords | YoAlike) << "ru"
                                 << "4 5";
    QTest::newRow("whole words stay whole") << "свет" << int(WholeWords | YoAlike) << "ru"
                                            << "1";
    QTest::newRow("forms, ё apart") << "несут" << int(WordForms) << "ru"
                                    << "2";
    QTest::newRow("forms with е and ё") << "несёт" << int(WordForms | YoAlike) << "ru"
                                        << "1 3";
    QTest::newRow("forms of a shorter stem") << "светит" << int(WordForms) << "ru"
                                             << "1 6";
    QTest::newRow("forms, English") << "happy" << int(WordForms) << "en"
                                    << "7 8";
    QTest::newRow("forms, no stemmer") << "happy" << int(WordForms) << "xx"
                                       << "7";
    QTest::newRow("forms, apostrophe kept") << "l''eau" << int(WordForms) << "fr"
                                            << "11";
    // Modes the modifiers leave alone.
    QTest::newRow("whole words, no forms") << "несут" << int(WholeWords | WordForms) << "ru"
                                           << "2";
}

void TestSearchTerms::finds()
{
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, language);
    QFETCH(QString, rows);
    const QString vsCondition =
        SearchStatements::condition(text, AdvancedSearchFlags(flags), language);
    QCOMPARE(run(vsCondition), rows);
}

void TestSearchTerms::withoutModifiersNothingChanges()
{
    // The same statements as before the modifiers existed, for every mode,
    // and for modifiers that have nothing to widen.
    for (const int vnMode : {0, 1, 2, 4, 8, 16})
        for (const QString &vsText : {QString("свет  мир"), QString("еще раз"), QString("a''b")}) {
            const QString vsPlain =
                SearchStatements::condition(vsText, AdvancedSearchFlags(vnMode));
            QCOMPARE(SearchStatements::condition(vsText, AdvancedSearchFlags(vnMode), "ru"),
                     vsPlain);
            if (vnMode == 1 || vnMode == 16)
                QCOMPARE(
                    SearchStatements::condition(vsText, AdvancedSearchFlags(vnMode | 96), "ru"),
                    vsPlain);
        }
    QCOMPARE(SearchStatements::condition("light days", AdvancedSearchFlags(YoAlike), "en"),
             SearchStatements::condition("light days", NoOption));
    QVERIFY(SearchStatements::isLikeSearch(CaseSensitive | YoAlike));
}

void TestSearchTerms::variantsAreCapped()
{
    const QStringList vcVariants = SearchTerms::yoVariants("еееееееееееее");
    QCOMPARE(vcVariants.size(), SearchTerms::cnMaxVariants);
    QCOMPARE(vcVariants.first(), QString("еееееееееееее"));
    QCOMPARE(SearchTerms::yoVariants("несёт"), QStringList({"несёт", "несет", "нёсет"}));
    // A long query keeps within the cap on terms and stays a valid query.
    QStringList vcWords;
    for (int i = 0; i < 40; ++i)
        vcWords << "еще";
    for (const int vnFlags :
         {int(YoAlike), int(ExactPhrase | YoAlike), int(AnyWord | YoAlike | WordForms)}) {
        const QString vsCondition =
            SearchStatements::condition(vcWords.join(' '), AdvancedSearchFlags(vnFlags), "ru");
        QVERIFY2(vsCondition.count("ещ") <=
                     SearchTerms::cnMaxTerms * (vnFlags & ExactPhrase ? 40 : 1),
                 qPrintable(vsCondition));
        QVERIFY(!run(vsCondition).startsWith("failed"));
    }
}

void TestSearchTerms::stems()
{
    QCOMPARE(SearchTerms::stem("Несёт", "ru"), QString("несёт"));
    QCOMPARE(SearchTerms::stem("верой", "ru"), QString("вер"));
    QCOMPARE(SearchTerms::stem("happy", "en"), QString("happ"));
    QCOMPARE(SearchTerms::stem("croyons", "fr"), QString("croyon"));
    // Too short a stem would find almost anything: the word stays.
    QCOMPARE(SearchTerms::stem("она", "ru"), QString("она"));
    QCOMPARE(SearchTerms::stem("Light", "de"), QString("light"));
}

void TestSearchTerms::marks()
{
    const auto marked = [](const QString &asText, const QString &asSearch, int anFlags) {
        return SearchStatements::highlight(
                   asText, SearchTerms::marks(asSearch, AdvancedSearchFlags(anFlags), "ru"))
            .replace("<span style='background-color: yellow;'>", "[")
            .replace("</span>", "]");
    };
    QCOMPARE(marked("Он несёт свет и несет ли", "несет", int(WordForms | YoAlike)),
             QString("Он [несёт] свет и [несет] ли"));
    QCOMPARE(marked("Вера верой, а светлый свет", "веры свет", WordForms),
             QString("[Вера] [верой], а [светлый] [свет]"));
    QCOMPARE(marked("ещё и еще", "ЕЩЕ", YoAlike), QString("[ещё] и [еще]"));
    QCOMPARE(marked("всё идёт, всё идет", "все идет", int(ExactPhrase | YoAlike)),
             QString("[всё идёт], [всё идет]"));
    QCOMPARE(marked("a (b) c", "(b)", YoAlike), QString("a [(b)] c"));
}

QTEST_GUILESS_MAIN(TestSearchTerms)
#include "test_searchterms.moc"
