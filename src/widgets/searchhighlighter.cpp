#include "widgets/searchhighlighter.h"

#include "models/searchterms.h"

namespace {

using SearchTerms::cLowerE;
using SearchTerms::cLowerYo;
using SearchTerms::cUpperE;
using SearchTerms::cUpperYo;
using SearchTerms::isE;

// Both letters, escaped the way QRegularExpression::escape escapes them; inside
// a character class they simply join it, elsewhere they form a class of their own.
QString yoAlternatives(QChar aLetter, bool abInClass)
{
    const bool vbLower = aLetter == cLowerE;
    const QString vsBoth = QString(QLatin1Char('\\')) + (vbLower ? cLowerE : cUpperE) +
                           QLatin1Char('\\') + (vbLower ? cLowerYo : cUpperYo);
    return abInClass ? vsBoth : QLatin1Char('[') + vsBoth + QLatin1Char(']');
}

} // namespace

SearchHighlighter::SearchHighlighter(QObject *parent) : QSyntaxHighlighter(parent)
{
}

void SearchHighlighter::setSearch(const QString &asText, const QTextCharFormat &aFormat,
                                  AdvancedSearchFlags aFlags, const QString &asLanguage)
{
    mFormat = aFormat;
    mPattern = pattern(asText, aFlags, asLanguage);
    rehighlight();
}

QRegularExpression SearchHighlighter::pattern(const QString &asText, AdvancedSearchFlags aFlags,
                                              const QString &asLanguage)
{
    // Word forms and е/ё variants mark what the widened search found.
    if (SearchTerms::widens(aFlags))
        return SearchTerms::marks(asText, aFlags, asLanguage);
    // The search line doubles apostrophes for SQL; the page text has single ones.
    QString vsText = asText;
    vsText.replace(QStringLiteral("''"), QStringLiteral("'"));
    if (vsText.trimmed().isEmpty())
        return QRegularExpression();

    const bool vbRegex = aFlags.testFlag(RegularExpression);
    QRegularExpression::PatternOptions vOptions = QRegularExpression::UseUnicodePropertiesOption;
    if (!aFlags.testFlag(CaseSensitive))
        vOptions |= QRegularExpression::CaseInsensitiveOption;

    if (aFlags.testFlag(ExactPhrase))
        return QRegularExpression(makeYoInsensitive(vsText, vbRegex), vOptions);

    QStringList vcWords;
    const QStringList vcParts =
        vsText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &vsPart : vcParts) {
        // A broken word must not turn valid by joining its neighbours, as "a)"
        // and "(b" would in "(a)|(b)".
        if (vbRegex) {
            const QRegularExpression vWord(vsPart, vOptions);
            if (!vWord.isValid())
                return vWord;
        }
        QString vsWord = makeYoInsensitive(vsPart, vbRegex);
        if (aFlags.testFlag(WholeWords))
            vsWord = QStringLiteral("\\b(?:%1)\\b").arg(vsWord);
        vcWords.append(vsWord);
    }
    return QRegularExpression(QStringLiteral("(%1)").arg(vcWords.join(QLatin1Char('|'))), vOptions);
}

QString SearchHighlighter::makeYoInsensitive(const QString &s, bool abRegex)
{
    const QString vsSource = abRegex ? s : QRegularExpression::escape(s);
    // A user's expression may hold е inside a class ("[ея]"), after a backslash or
    // within \Q…\E; the substitution has to stay correct in each of those places.
    QString vsResult;
    vsResult.reserve(vsSource.size() * 2);
    bool vbInClass = false;
    bool vbQuoted = false;
    const int vnSize = vsSource.size();
    for (int i = 0; i < vnSize; ++i) {
        const QChar c = vsSource.at(i);
        const QChar vNext = i + 1 < vnSize ? vsSource.at(i + 1) : QChar();
        if (vbQuoted) {
            if (c == QLatin1Char('\\') && vNext == QLatin1Char('E')) {
                vbQuoted = false;
                vsResult += QStringLiteral("\\E");
                ++i;
            } else if (isE(c)) {
                vsResult +=
                    QStringLiteral("\\E") + yoAlternatives(c, vbInClass) + QStringLiteral("\\Q");
            } else {
                vsResult += c;
            }
            continue;
        }
        if (c == QLatin1Char('\\') && !vNext.isNull()) {
            ++i;
            if (vNext == QLatin1Char('Q')) {
                vbQuoted = true;
                vsResult += QStringLiteral("\\Q");
            } else if (isE(vNext)) {
                vsResult += yoAlternatives(vNext, vbInClass);
            } else {
                vsResult += c;
                vsResult += vNext;
            }
            continue;
        }
        if (isE(c)) {
            vsResult += yoAlternatives(c, vbInClass);
            continue;
        }
        vsResult += c;
        if (!vbInClass && c == QLatin1Char('[')) {
            vbInClass = true;
            // A leading "^" negates and a "]" right after the opening bracket is
            // a member, not the end of the class.
            if (i + 1 < vnSize && vsSource.at(i + 1) == QLatin1Char('^'))
                vsResult += vsSource.at(++i);
            if (i + 1 < vnSize && vsSource.at(i + 1) == QLatin1Char(']'))
                vsResult += vsSource.at(++i);
        } else if (vbInClass && c == QLatin1Char('[') && vNext == QLatin1Char(':')) {
            // A POSIX class such as [:alpha:] holds no Cyrillic letters.
            const int vnEnd = vsSource.indexOf(QStringLiteral(":]"), i + 2);
            if (vnEnd >= 0) {
                vsResult += vsSource.mid(i + 1, vnEnd + 2 - (i + 1));
                i = vnEnd + 1;
            }
        } else if (vbInClass && c == QLatin1Char(']')) {
            vbInClass = false;
        }
    }
    return vsResult;
}

void SearchHighlighter::highlightBlock(const QString &text)
{
    if (mPattern.pattern().isEmpty() || !mPattern.isValid())
        return;
    // The iterator itself steps past empty matches; they would mark nothing anyway.
    QRegularExpressionMatchIterator vMatches = mPattern.globalMatch(text);
    while (vMatches.hasNext()) {
        const QRegularExpressionMatch vMatch = vMatches.next();
        if (vMatch.capturedLength() > 0)
            setFormat(vMatch.capturedStart(), vMatch.capturedLength(), mFormat);
    }
}
