// Highlighting of search hits, in the statements' marked-up text and in a
// page's view: any text and search words under any flags end, without harm
// and in bounded time (libFuzzer's -timeout); the marks wrap words of the text
// and take nothing away from it.
#include "fuzzsupport.h"

#include "models/searchstatements.h"
#include "models/searchterms.h"
#include "widgets/searchhighlighter.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    if (anSize < 1)
        return 0;
    AdvancedSearchFlags vFlags(apData[0] & 0x1F);
    if (apData[0] & 0x40)
        vFlags |= WordForms;
    if (apData[0] & 0x80)
        vFlags |= YoAlike;
    const QStringList vcFields =
        FuzzSupport::fields(FuzzSupport::decode(apData + 1, anSize - 1), 2);
    const QString &vsText = vcFields.at(0);
    const QString &vsSearch = vcFields.at(1);

    const QString vsMarked = SearchStatements::highlight(vsText, vsSearch);
    const QString vsOpen = QStringLiteral("<span style='background-color: yellow;'>");
    const QString vsClose = QStringLiteral("</span>");
    // What a search with modifiers marks: the words it found, as whole marks.
    const QString vsFound = SearchStatements::highlight(
        vsText, SearchTerms::marks(vsSearch, vFlags | YoAlike, QStringLiteral("ru")));
    if (!vsText.contains(QLatin1String("<span")) && !vsText.contains(vsClose)) {
        for (const QString &vsResult : {vsMarked, vsFound}) {
            FUZZ_CHECK(!vsResult.contains(vsOpen + vsOpen), vsResult);
            FUZZ_CHECK(QString(vsResult).remove(vsOpen).remove(vsClose) == vsText, vsResult);
        }
    }

    static QTextDocument *spDocument = new QTextDocument;
    static SearchHighlighter *spHighlighter = new SearchHighlighter(spDocument);
    QTextCharFormat vFormat;
    vFormat.setBackground(Qt::yellow);
    spDocument->setPlainText(QString());
    spHighlighter->setSearch(vsSearch, vFormat, vFlags);
    spDocument->setPlainText(vsText);
    SearchHighlighter::pattern(vsSearch, vFlags);
    return 0;
}
