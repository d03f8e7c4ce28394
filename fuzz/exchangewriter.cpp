// The exchange file: whatever the stored titles and texts hold, an XML reader
// reads the file without error and gets every value back, less the characters
// XML does not allow, which the writer leaves out and counts.
#include "fuzzsupport.h"

#include "models/exchangewriter.h"

#include <QBuffer>
#include <QXmlStreamReader>

namespace {

// XML 1.0's Char production, applied to UTF-16.
QString allowedOnly(const QString &asText, int *apRemoved)
{
    QString vsKept;
    for (int i = 0; i < asText.size(); ++i) {
        const QChar vChar = asText.at(i);
        if (vChar.isHighSurrogate() && i + 1 < asText.size() && asText.at(i + 1).isLowSurrogate()) {
            vsKept += vChar;
            vsKept += asText.at(++i);
            continue;
        }
        const uint vnCode = vChar.unicode();
        if (vChar.isSurrogate() || vnCode == 0xFFFE || vnCode == 0xFFFF ||
            (vnCode < 0x20 && vnCode != 0x9 && vnCode != 0xA && vnCode != 0xD))
            ++*apRemoved;
        else
            vsKept += vChar;
    }
    return vsKept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    if (anSize < 1)
        return 0;
    const bool vbBible = apData[0] & 1;
    // UTF-16 reaches the unpaired surrogates that UTF-8 cannot carry.
    const QString vsInput = apData[0] & 2
                                ? QString::fromUtf16(reinterpret_cast<const char16_t *>(apData + 1),
                                                     int((anSize - 1) / 2))
                                : FuzzSupport::decode(apData + 1, anSize - 1);
    const QStringList vcValues = FuzzSupport::fields(vsInput, 7);

    QBuffer vBuffer;
    vBuffer.open(QIODevice::WriteOnly);
    ExchangeWriter vWriter(&vBuffer);
    vWriter.begin(vcValues.at(0), vbBible);
    QStringList vcWritten; // in the order the reader meets them
    if (vbBible) {
        vWriter.book(vcValues.at(1), vcValues.at(2));
        vWriter.chapter(vcValues.at(1), vcValues.at(3), vcValues.at(4));
        vWriter.verse(vcValues.at(1), vcValues.at(3), vcValues.at(5), vcValues.at(6));
        vcWritten = QStringList{vcValues.at(0), vcValues.at(1), vcValues.at(2), vcValues.at(1),
                                vcValues.at(3), vcValues.at(4), vcValues.at(1), vcValues.at(3),
                                vcValues.at(5), vcValues.at(6)};
    } else {
        vWriter.quote(vcValues.at(1), vcValues.at(2), vcValues.at(3), vcValues.at(4),
                      vcValues.at(5), vcValues.at(0), vcValues.at(6));
        vWriter.paragraph(vcValues.at(1), vcValues.at(2), vcValues.at(6));
        vcWritten = QStringList{vcValues.at(0), vcValues.at(1), vcValues.at(2), vcValues.at(3),
                                vcValues.at(4), vcValues.at(5), vcValues.at(0), vcValues.at(6),
                                vcValues.at(1), vcValues.at(2), vcValues.at(6)};
    }
    FUZZ_CHECK(vWriter.finish(), QString());

    int vnRemoved = 0;
    QStringList vcExpected;
    for (const QString &vsValue : qAsConst(vcWritten))
        vcExpected.append(allowedOnly(vsValue, &vnRemoved));
    FUZZ_CHECK(
        vWriter.droppedCharacters() == vnRemoved,
        QStringLiteral("%1 dropped, %2 expected").arg(vWriter.droppedCharacters()).arg(vnRemoved));

    QStringList vcRead;
    QXmlStreamReader vReader(vBuffer.data());
    while (vReader.readNextStartElement()) {
        if (vReader.name() == QLatin1String("Documents") ||
            vReader.name() == QLatin1String("Quotes") || vReader.name() == QLatin1String("Bibles"))
            continue;
        for (const QXmlStreamAttribute &vAttribute : vReader.attributes())
            vcRead.append(vAttribute.value().toString());
        vcRead.append(vReader.readElementText());
    }
    const QString vsFile = QString::fromUtf8(vBuffer.data());
    FUZZ_CHECK(!vReader.hasError(), vReader.errorString() + QLatin1Char('\n') + vsFile);
    // Empty elements read as an empty text after their attributes.
    vcRead.removeAll(QString());
    vcExpected.removeAll(QString());
    FUZZ_CHECK(vcRead == vcExpected, vsFile);
    return 0;
}
