#include "models/plaintext.h"

#include <QHash>
#include <QRegularExpression>

namespace {

QString decodeReference(const QString &asName)
{
    static const QHash<QString, QString> scNamed{
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("laquo"), QString(QChar(0xAB))},
        {QStringLiteral("raquo"), QString(QChar(0xBB))},
        {QStringLiteral("mdash"), QString(QChar(0x2014))},
        {QStringLiteral("ndash"), QString(QChar(0x2013))},
        {QStringLiteral("hellip"), QString(QChar(0x2026))}};
    if (asName.startsWith(QLatin1Char('#'))) {
        bool vbOk = false;
        const bool vbHex = asName.size() > 1 &&
                           (asName.at(1) == QLatin1Char('x') || asName.at(1) == QLatin1Char('X'));
        const uint vnCode = vbHex ? asName.mid(2).toUInt(&vbOk, 16) : asName.mid(1).toUInt(&vbOk);
        if (!vbOk || vnCode == 0 || vnCode > 0x10FFFF || (vnCode >= 0xD800 && vnCode <= 0xDFFF))
            return QString();
        return QString::fromUcs4(&vnCode, 1);
    }
    return scNamed.value(asName);
}

} // namespace

namespace PlainText {

QString fromHtml(const QString &asHtml)
{
    // A tag starts with a letter, "/" or "!" right after "<"; a lone "<" in
    // the text ("a < b") is text, as the rich-text view shows it.
    static const QRegularExpression scTag(QStringLiteral("<(?:!--.*?--|[/!]?[A-Za-z][^>]*)>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression scReference(
        QStringLiteral("&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+);"));
    // Inline tags go without a trace, so that a mark inside a word
    // ("w<b>or</b>d") does not split it; the others (paragraphs, line
    // breaks) leave a blank.
    static const QRegularExpression scInline(
        QStringLiteral("</?(?:b|i|u|s|em|strong|span|font|sup|sub|small|big|a)\\b[^>]*>"),
        QRegularExpression::CaseInsensitiveOption);
    QString vsText = asHtml;
    vsText.remove(scInline);
    vsText.replace(scTag, QStringLiteral(" "));

    QString vsDecoded;
    vsDecoded.reserve(vsText.size());
    int vnFrom = 0;
    QRegularExpressionMatchIterator vMatches = scReference.globalMatch(vsText);
    while (vMatches.hasNext()) {
        const QRegularExpressionMatch vMatch = vMatches.next();
        const QString vsCharacter = decodeReference(vMatch.captured(1));
        vsDecoded += vsText.midRef(vnFrom, vMatch.capturedStart() - vnFrom);
        vsDecoded += vsCharacter.isNull() ? vMatch.captured(0) : vsCharacter;
        vnFrom = vMatch.capturedEnd();
    }
    vsDecoded += vsText.midRef(vnFrom);
    return oneLine(vsDecoded);
}

QString oneLine(const QString &asText)
{
    return asText.simplified();
}

} // namespace PlainText
