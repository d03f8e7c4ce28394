#include "models/sermonfile.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextCodec>
#include <QTextStream>

namespace {

// readLine() takes "\r\n" for a line end but keeps a further "\r" before it:
// a CRLF file converted once more ends its lines with "\r\r\n", and every
// field and paragraph would be stored with a carriage return at its end.
QString readLine(QTextStream &aStream)
{
    QString vsLine = aStream.readLine();
    while (vsLine.endsWith(QLatin1Char('\r')))
        vsLine.chop(1);
    return vsLine;
}

} // namespace

SermonFile SermonFile::parse(const QString &asText, bool abReplaceMarker)
{
    QString vsText = asText;
    QTextStream vStream(&vsText, QIODevice::ReadOnly);
    vStream.skipWhiteSpace();

    // Past the end of the text readLine() gives empty strings: a short file
    // leaves the missing fields empty, and the end ends the paragraphs like an
    // empty line.
    SermonFile vSermon;
    vSermon.msDate = readLine(vStream);
    if (abReplaceMarker && vSermon.msDate.startsWith(QLatin1Char('R'))) {
        vSermon.mbReplace = true;
        vSermon.msDate.remove(0, 1);
    }
    vSermon.msName = readLine(vStream);
    vSermon.msTranslator = readLine(vStream);
    vSermon.msPdf = readLine(vStream);
    vSermon.msMp3 = readLine(vStream);
    vSermon.msLength = readLine(vStream);
    vSermon.msPlace = readLine(vStream);

    Paragraph vHeld;
    for (QString vsLine = readLine(vStream); !vsLine.isEmpty(); vsLine = readLine(vStream)) {
        if (!vsLine.startsWith(QLatin1String("E-"))) {
            vHeld.msText += vsLine;
            continue;
        }
        if (!vHeld.msId.isEmpty())
            vSermon.mcParagraphs.append(vHeld);
        const int vnBlank = vsLine.indexOf(QLatin1Char(' '));
        vHeld.msId = vnBlank < 0 ? vsLine : vsLine.left(vnBlank);
        vHeld.msText = vnBlank < 0 ? QString() : vsLine.mid(vnBlank);
    }
    if (vHeld.msId.isEmpty())
        vHeld.msText.clear();
    vSermon.mcParagraphs.append(vHeld);
    return vSermon;
}

QString SermonFile::text() const
{
    QStringList vcLines{(mbReplace ? QStringLiteral("R") : QString()) + msDate,
                        msName,
                        msTranslator,
                        msPdf,
                        msMp3,
                        msLength,
                        msPlace};
    for (const Paragraph &vParagraph : mcParagraphs)
        vcLines << vParagraph.msId + vParagraph.msText;
    return vcLines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool SermonFile::readText(const QString &asPath, QString *apText)
{
    QFile vFile(asPath);
    if (!vFile.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Cannot read" << asPath << vFile.errorString();
        return false;
    }
    const QByteArray vaData = vFile.readAll();
    if (vFile.error() != QFileDevice::NoError) {
        qDebug().noquote() << "Cannot read" << asPath << vFile.errorString();
        return false;
    }

    // The format is windows-1251, which has no room for French accented
    // letters, so a French file could not be written at all. A file whose
    // bytes are valid UTF-8 (with or without a byte order mark) is read as
    // UTF-8 instead. Real windows-1251 Cyrillic is practically never valid
    // UTF-8: its letters would all have to be followed by bytes from
    // 0x80-0xBF, which in windows-1251 are rare symbols. Plain ASCII reads the
    // same either way.
    QTextCodec::ConverterState vState;
    const QString vsUtf8 =
        QTextCodec::codecForName("UTF-8")->toUnicode(vaData.constData(), vaData.size(), &vState);
    if (vState.invalidChars == 0 && vState.remainingChars == 0)
        *apText = vsUtf8;
    else
        *apText = QTextCodec::codecForName("windows-1251")->toUnicode(vaData);
    return true;
}
