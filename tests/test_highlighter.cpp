// The search highlighter: which characters of a page's text get the highlight
// format for a search text and its advanced options (ё/е, whole words, case,
// literal text versus expressions, exact phrases, apostrophes in their SQL
// form), and that bad or degenerate searches mark nothing and never hang.
#include "support/testsupport.h"

#include "widgets/searchhighlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

const QColor cMark(0xc0, 0xc0, 0xc0);

QTextCharFormat markFormat()
{
    QTextCharFormat vFormat;
    vFormat.setBackground(QBrush(cMark));
    return vFormat;
}

// The document's text with every highlighted range in brackets, paragraphs
// joined by a line break: "[свет] светильник".
QString marked(const QTextDocument &aDocument)
{
    QStringList vcBlocks;
    for (QTextBlock vBlock = aDocument.firstBlock(); vBlock.isValid(); vBlock = vBlock.next()) {
        QString vsText = vBlock.text();
        const QVector<QTextLayout::FormatRange> vcRanges = vBlock.layout()->formats();
        // From the last range back, so that the earlier positions still hold.
        for (auto it = vcRanges.crbegin(); it != vcRanges.crend(); ++it)
            if (it->format.background().color() == cMark)
                vsText.insert(it->start + it->length, ']').insert(it->start, '[');
        vcBlocks << vsText;
    }
    return vcBlocks.join('\n');
}

QString highlight(const QString &asText, const QString &asSearch, int anFlags)
{
    QTextDocument vDocument(asText);
    SearchHighlighter vHighlighter(nullptr);
    vHighlighter.setDocument(&vDocument);
    vHighlighter.setSearch(asSearch, markFormat(), AdvancedSearchFlags(QFlag(anFlags)));
    return marked(vDocument);
}

void add(const char *asName, const QString &asText, const QString &asSearch, int anFlags,
         const QString &asExpected)
{
    QTest::newRow(asName) << asText << asSearch << anFlags << asExpected;
}

} // namespace

class TestHighlighter : public QObject
{
    Q_OBJECT

private slots:
    void marksMatches_data();
    void marksMatches();
    void everyParagraphAndLatestSearch();
};

void TestHighlighter::marksMatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");

    // е stands for ё as well, in both cases; ё stands only for itself.
    add("е marks ё", "ещё еще", "еще", 0, "[ещё] [еще]");
    add("ё marks only ё", "ещё еще", "ещё", 0, "[ещё] еще");
    add("Е marks Ё", "Ёлка Елка", "Елка", 1, "[Ёлка] [Елка]");
    add("е and ё as literal text", "всё. все. всех", "все.", 0, "[всё.] [все.] всех");
    // Inside a user's character class ё has to join the class, not nest one.
    add("е in a regex class", "ель ёль яль аль", "[ея]ль", 16, "[ель] [ёль] [яль] аль");
    add("е in a negated class", "ель ёль аль", "[^ея]ль", 16, "ель ёль [аль]");
    add("е in a quoted regex", "не. нё. нет", "\\Qне.\\E", 16, "[не.] [нё.] нет");

    add("parts of words", "свет светильник рассвет", "свет", 0, "[свет] [свет]ильник рас[свет]");
    add("whole words", "свет светильник рассвет", "свет", 2, "[свет] светильник рассвет");
    add("whole words, regex alternatives", "cat catalogue dog", "cat|dog", 18,
        "[cat] catalogue [dog]");

    add("exact case, Cyrillic", "Бог бог БОГ", "бог", 1, "Бог [бог] БОГ");
    add("any case, Cyrillic", "Бог бог БОГ", "бог", 0, "[Бог] [бог] [БОГ]");

    add("exact phrase", "он сказал так. Так сказал он", "сказал так", 4,
        "он [сказал так]. Так сказал он");
    add("exact phrase, ё", "сказал ещё", "сказал еще", 4, "[сказал ещё]");
    add("runs of blanks between words", "вера и надежда", "  вера \t надежда ", 0,
        "[вера] и [надежда]");

    // The search line hands over the SQL form of the text.
    add("apostrophe", "don't stop, dont", "don''t", 0, "[don't] stop, dont");

    // Each word is an expression of its own; together "a)" and "(b" would
    // form the valid "(a)|(b)".
    add("invalid regex words", "ab", "a) (b", 16, "ab");
    add("invalid regex phrase", "a[b", "a[b", 20, "a[b");
    add("blank", "a   b", "   ", 0, "a   b");

    // Expressions that match the empty string must neither hang nor lose the
    // real matches that follow.
    add("star", "axxbx", "x*", 16, "a[xx]b[x]");
}

void TestHighlighter::marksMatches()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(int, flags);
    QTEST(highlight(text, search, flags), "expected");
}

void TestHighlighter::everyParagraphAndLatestSearch()
{
    // The page may set the search first and attach its view's document after;
    // the options set before the document count too.
    QTextDocument vDocument(
        QStringLiteral("Вера и дела.\nБез дел вера мертва, верами.\nИ ещё дела"));
    SearchHighlighter vHighlighter(nullptr);
    vHighlighter.setSearch(QStringLiteral("вера"), markFormat(), WholeWords);
    vHighlighter.setDocument(&vDocument);
    QTRY_COMPARE(marked(vDocument),
                 QStringLiteral("[Вера] и дела.\nБез дел [вера] мертва, верами.\nИ ещё дела"));

    // A new search replaces the marks of the old one.
    vHighlighter.setSearch(QStringLiteral("дела еще"), markFormat(), AdvancedSearchFlags());
    QCOMPARE(marked(vDocument),
             QStringLiteral("Вера и [дела].\nБез дел вера мертва, верами.\nИ [ещё] [дела]"));

    vHighlighter.setSearch(QString(), markFormat(), AdvancedSearchFlags());
    QCOMPARE(marked(vDocument), vDocument.toPlainText());
}

QUILLMARK_TEST_MAIN(TestHighlighter)

#include "test_highlighter.moc"
