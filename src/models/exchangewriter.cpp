#include "models/exchangewriter.h"

#include <QIODevice>

namespace {

// Appends asText to *apOut without what XML 1.0 does not allow, handing
// each kept character to aKeep (which may write it differently).
template<typename Keep>
void filtered(const QString &asText, int *apDropped, QString *apOut, Keep aKeep)
{
    const int vnSize = asText.size();
    for (int i = 0; i < vnSize; ++i) {
        const QChar vChar = asText.at(i);
        const ushort vnCode = vChar.unicode();
        if (vChar.isHighSurrogate() && i + 1 < vnSize && asText.at(i + 1).isLowSurrogate()) {
            apOut->append(vChar);
            apOut->append(asText.at(++i));
            continue;
        }
        const bool vbAllowed =
            (vnCode >= 0x20 && !vChar.isSurrogate() && vnCode != 0xFFFE && vnCode != 0xFFFF) ||
            vnCode == 0x9 || vnCode == 0xA || vnCode == 0xD;
        if (vbAllowed)
            aKeep(vChar, apOut);
        else
            ++*apDropped;
    }
}

} // namespace

ExchangeWriter::ExchangeWriter(QIODevice *apDevice) : mStream(apDevice)
{
    mStream.setCodec("UTF-8");
}

QString ExchangeWriter::attribute(const QString &asValue, int *apDropped)
{
    QString vsOut;
    vsOut.reserve(asValue.size());
    filtered(asValue, apDropped, &vsOut, [](QChar aChar, QString *apOut) {
        switch (aChar.unicode()) {
        case '&':
            apOut->append(QLatin1String("&amp;"));
            break;
        case '<':
            apOut->append(QLatin1String("&lt;"));
            break;
        case '>':
            apOut->append(QLatin1String("&gt;"));
            break;
        case '"':
            apOut->append(QLatin1String("&quot;"));
            break;
        // A reader turns these into blanks inside an attribute value.
        case '\t':
            apOut->append(QLatin1String("&#9;"));
            break;
        case '\n':
            apOut->append(QLatin1String("&#10;"));
            break;
        case '\r':
            apOut->append(QLatin1String("&#13;"));
            break;
        default:
            apOut->append(aChar);
        }
    });
    return vsOut;
}

QString ExchangeWriter::characterData(const QString &asText, int *apDropped)
{
    QString vsOut;
    vsOut.reserve(asText.size());
    filtered(asText, apDropped, &vsOut, [](QChar aChar, QString *apOut) {
        if (aChar == QLatin1Char('\r')) {
            // A reader turns a carriage return into a line feed even inside
            // CDATA; as a reference outside the section it survives.
            apOut->append(QLatin1String("]]>&#13;<![CDATA["));
        } else if (aChar == QLatin1Char('>') && apOut->endsWith(QLatin1String("]]"))) {
            // "]]>" would end the section early: end it after "]]" and
            // open a new one for the ">".
            apOut->append(QLatin1String("]]><![CDATA[>"));
        } else {
            apOut->append(aChar);
        }
    });
    return vsOut;
}

void ExchangeWriter::line(const QString &asLine)
{
    if (!mbFirstLine)
        mStream << '\n';
    mbFirstLine = false;
    mStream << asLine;
}

void ExchangeWriter::begin(const QString &asLanguage, bool abBible)
{
    mbBible = abBible;
    line(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    line(QStringLiteral("<Documents>"));
    // Escaped as an attribute value is, which is also valid character data.
    line(QStringLiteral("<Language>%0</Language>").arg(attr(asLanguage)));
    line(abBible ? QStringLiteral("<Bibles>") : QStringLiteral("<Quotes>"));
}

void ExchangeWriter::quote(const QString &asDate, const QString &asName,
                           const QString &asTranslator, const QString &asPdf, const QString &asMp3,
                           const QString &asLength, const QString &asPlace)
{
    line(QStringLiteral("<quote date=\"%0\" name=\"%1\" translator=\"%2\" pdf=\"%3\" mp3=\"%4\" "
                        "length=\"%5\" place=\"%6\" />")
             .arg(attr(asDate), attr(asName), attr(asTranslator), attr(asPdf), attr(asMp3),
                  attr(asLength), attr(asPlace)));
}

void ExchangeWriter::paragraph(const QString &asDate, const QString &asId, const QString &asText)
{
    line(QStringLiteral("<paragraph date=\"%0\" id=\"%1\"><![CDATA[%2]]></paragraph>")
             .arg(attr(asDate), attr(asId), characterData(asText, &mnDropped)));
}

void ExchangeWriter::book(const QString &asBook, const QString &asName)
{
    line(QStringLiteral("<bible book=\"%0\" name=\"%1\"/>").arg(attr(asBook), attr(asName)));
}

void ExchangeWriter::chapter(const QString &asBook, const QString &asChapter, const QString &asName)
{
    line(QStringLiteral("<chapter book=\"%0\" chapter=\"%1\" name=\"%2\"/>")
             .arg(attr(asBook), attr(asChapter), attr(asName)));
}

void ExchangeWriter::verse(const QString &asBook, const QString &asChapter, const QString &asVerse,
                           const QString &asText)
{
    line(QStringLiteral("<verse book=\"%0\" chapter=\"%1\" verse=\"%2\"><![CDATA[%3]]></verse>")
             .arg(attr(asBook), attr(asChapter), attr(asVerse), characterData(asText, &mnDropped)));
}

bool ExchangeWriter::finish()
{
    line(mbBible ? QStringLiteral("</Bibles>") : QStringLiteral("</Quotes>"));
    line(QStringLiteral("</Documents>"));
    mStream.flush();
    return mStream.status() == QTextStream::Ok;
}
