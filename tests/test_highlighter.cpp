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
        QVector<QTextLayout::FormatRange> vcRanges = vBlock.layout()->formats();
        std::sort(vcRanges.begin(), vcRanges.end(),
                  [](const QTextLayout::FormatRange &a, const QTextLayout::FormatRange &b) {
                      return a.start > b.start;
                  });
        for (const QTextLayout::FormatRange &vRange : vcRanges) {
            if (vRange.format.background().color() != cMark || vRange.length <= 0)
                continue;
            vsText.insert(vRange.start + vRange.length, QLatin1Char(']'));
            vsText.insert(vRange.start, QLatin1Char('['));
        }
        vcBlocks.append(vsText);
    }
    return vcBlocks.join(QLatin1Char('\n'));
}

QString highlight(const QString &asText, const QString &asSearch, int anFlags)
{
    QTextDocument vDocument(asText);
    SearchHighlighter vHighlighter(nullptr);
    vHighlighter.setDocument(&vDocument);
    vHighlighter.setSearch(asSearch, markFormat(), AdvancedSearchFlags(QFlag(anFlags)));
    return marked(vDocument);
}

} // namespace

class TestHighlighter : public QObject
{
    Q_OBJECT

private slots:
    void marksMatches_data();
    void marksMatches();
    void everyParagraphAndLatestSearch();
    void searchSetBeforeDocument();
};

void TestHighlighter::marksMatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");

    // е stands for ё as well, in both cases; ё stands only for itself.
    QTest::newRow("е marks ё") << "ещё еще"
                               << "еще" << 0 << "[ещё] [еще]";
    QTest::newRow("ё marks only ё") << "ещё еще"
                                    << "ещё" << 0 << "[ещё] еще";
    QTest::newRow("Е marks Ё") << "Ёлка Елка"
                               << "Елка" << 1 << "[Ёлка] [Елка]";
    QTest::newRow("Ё marks only Ё") << "Ёлка Елка"
                                    << "Ёлка" << 1 << "[Ёлка] Елка";
    QTest::newRow("е marks Ё ignoring case") << "Ёлка елка"
                                             << "елка" << 0 << "[Ёлка] [елка]";
    QTest::newRow("е and ё as literal text") << "всё. все. всех"
                                             << "все." << 0 << "[всё.] [все.] всех";
    // Inside a user's character class ё has to join the class, not nest one.
    QTest::newRow("е in a regex class") << "ель ёль яль аль"
                                        << "[ея]ль" << 16 << "[ель] [ёль] [яль] аль";
    QTest::newRow("е in a negated class") << "ель ёль аль"
                                          << "[^ея]ль" << 16 << "ель ёль [аль]";
    QTest::newRow("е in a quoted regex") << "не. нё. нет"
                                         << "\\Qне.\\E" << 16 << "[не.] [нё.] нет";

    QTest::newRow("parts of words") << "свет светильник рассвет"
                                    << "свет" << 0 << "[свет] [свет]ильник рас[свет]";
    QTest::newRow("whole words") << "свет светильник рассвет"
                                 << "свет" << 2 << "[свет] светильник рассвет";
    QTest::newRow("whole words, regex alternatives") << "cat catalogue dog"
                                                     << "cat|dog" << 18 << "[cat] catalogue [dog]";

    QTest::newRow("any case by default") << "Grace grace GRACE"
                                         << "grace" << 0 << "[Grace] [grace] [GRACE]";
    QTest::newRow("exact case") << "Grace grace GRACE"
                                << "grace" << 1 << "Grace [grace] GRACE";
    QTest::newRow("exact case, Cyrillic") << "Бог бог БОГ"
                                          << "бог" << 1 << "Бог [бог] БОГ";
    QTest::newRow("any case, Cyrillic") << "Бог бог БОГ"
                                        << "бог" << 0 << "[Бог] [бог] [БОГ]";

    QTest::newRow("plus as text") << "a+b aab"
                                  << "a+b" << 0 << "[a+b] aab";
    QTest::newRow("plus as expression") << "a+b aab"
                                        << "a+b" << 16 << "a+b [aab]";
    QTest::newRow("dot as text") << "a.c abc"
                                 << "a.c" << 0 << "[a.c] abc";

    QTest::newRow("words in any order") << "так он сказал"
                                        << "сказал так" << 0 << "[так] он [сказал]";
    QTest::newRow("exact phrase") << "он сказал так. Так сказал он"
                                  << "сказал так" << 4 << "он [сказал так]. Так сказал он";
    QTest::newRow("exact phrase, other spacing") << "сказал  так"
                                                 << "сказал так" << 4 << "сказал  так";
    QTest::newRow("exact phrase, ё") << "сказал ещё"
                                     << "сказал еще" << 4 << "[сказал ещё]";
    QTest::newRow("any word") << "вера и надежда"
                              << "вера надежда" << 8 << "[вера] и [надежда]";
    QTest::newRow("runs of blanks between words")
        << "вера и надежда"
        << "  вера \t надежда " << 0 << "[вера] и [надежда]";

    // The search line hands over the SQL form of the text.
    QTest::newRow("apostrophe") << "don't stop, dont"
                                << "don''t" << 0 << "[don't] stop, dont";
    QTest::newRow("apostrophe, whole words") << "don't stop"
                                             << "don''t" << 2 << "[don't] stop";
    QTest::newRow("apostrophe, phrase") << "don't stop"
                                        << "don''t stop" << 4 << "[don't stop]";

    QTest::newRow("invalid regex") << "a(b"
                                   << "(b" << 16 << "a(b";
    // Each word is an expression of its own; together "a)" and "(b" would
    // form the valid "(a)|(b)".
    QTest::newRow("invalid regex words") << "ab"
                                         << "a) (b" << 16 << "ab";
    QTest::newRow("invalid regex phrase") << "a[b"
                                          << "a[b" << 20 << "a[b";
    QTest::newRow("empty") << "some text"
                           << "" << 0 << "some text";
    QTest::newRow("blank") << "a   b"
                           << "   " << 0 << "a   b";
    QTest::newRow("blank phrase") << "a   b"
                                  << "   " << 4 << "a   b";
    QTest::newRow("blank regex phrase") << "a   b"
                                        << " +" << 20 << "a[   ]b";

    // Expressions that match the empty string must neither hang nor lose the
    // real matches that follow.
    QTest::newRow("star") << "axxbx"
                          << "x*" << 16 << "a[xx]b[x]";
    QTest::newRow("lookahead only") << "abab"
                                    << "(?=b)" << 16 << "abab";
    QTest::newRow("empty alternative") << "bab"
                                       << "a|" << 16 << "b[a]b";
    QTest::newRow("word boundary") << "a b"
                                   << "\\b" << 16 << "a b";
}

void TestHighlighter::marksMatches()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(int, flags);
    QFETCH(QString, expected);

    QCOMPARE(highlight(text, search, flags), expected);
}

void TestHighlighter::everyParagraphAndLatestSearch()
{
    QTextDocument vDocument(QStringLiteral("Вера и дела.\nБез дел вера мертва.\nИ ещё дела"));
    SearchHighlighter vHighlighter(nullptr);
    vHighlighter.setDocument(&vDocument);

    vHighlighter.setSearch(QStringLiteral("вера"), markFormat(), AdvancedSearchFlags());
    QCOMPARE(marked(vDocument),
             QStringLiteral("[Вера] и дела.\nБез дел [вера] мертва.\nИ ещё дела"));

    // A new search replaces the marks of the old one.
    vHighlighter.setSearch(QStringLiteral("дела еще"), markFormat(), AdvancedSearchFlags());
    QCOMPARE(marked(vDocument),
             QStringLiteral("Вера и [дела].\nБез дел вера мертва.\nИ [ещё] [дела]"));

    vHighlighter.setSearch(QString(), markFormat(), AdvancedSearchFlags());
    QCOMPARE(marked(vDocument), vDocument.toPlainText());
}

void TestHighlighter::searchSetBeforeDocument()
{
    // The page may set the search first and attach its view's document after.
    QTextDocument vDocument(QStringLiteral("Свет во тьме светит"));
    SearchHighlighter vHighlighter(nullptr);
    vHighlighter.setSearch(QStringLiteral("свет"), markFormat(), WholeWords);
    vHighlighter.setDocument(&vDocument);
    QTRY_COMPARE(marked(vDocument), QStringLiteral("[Свет] во тьме светит"));
}

QUILLMARK_TEST_MAIN(TestHighlighter)

#include "test_highlighter.moc"
