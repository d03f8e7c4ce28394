#include "models/sermonfile.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextCodec>
#include <QTextStream>

SermonFile SermonFile::parse(const QString &asText, bool abReplaceMarker)
{
    QString vsText = asText;
    QTextStream vStream(&vsText, QIODevice::ReadOnly);
    vStream.skipWhiteSpace();

    // Past the end of the text readLine() gives empty strings: a short file
    // leaves the missing fields empty, and the end ends the paragraphs like an
    // empty line.
    SermonFile vSermon;
    vSermon.msDate = vStream.readLine();
    if (abReplaceMarker && vSermon.msDate.startsWith(QLatin1Char('R'))) {
        vSermon.mbReplace = true;
        vSermon.msDate.remove(0, 1);
    }
    vSermon.msName = vStream.readLine();
    vSermon.msTranslator = vStream.readLine();
    vSermon.msPdf = vStream.readLine();
    vSermon.msMp3 = vStream.readLine();
    vSermon.msLength = vStream.readLine();
    vSermon.msPlace = vStream.readLine();

    Paragraph vHeld;
    for (QString vsLine = vStream.readLine(); !vsLine.isEmpty(); vsLine = vStream.readLine()) {
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
