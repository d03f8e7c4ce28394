#include "models/pagerecords.h"

#include <QStringList>

namespace {
const int cnPsalms = 19;
} // namespace

void PageRecords::clearParallel()
{
    for (ArticleRecord &vRecord : mcRecords) {
        vRecord.msRightTitle.clear();
        vRecord.msRightText.clear();
    }
}

bool PageRecords::addSermonParagraph(const QString &asRecord, SermonDetails *apDetails)
{
    const QStringList vcParts = asRecord.split(QLatin1Char('\t'));
    if (vcParts.size() < 8)
        return false;
    const SermonDetails vDetails{vcParts.at(0), vcParts.at(1), vcParts.at(2),
                                 vcParts.at(3), vcParts.at(4), vcParts.at(5)};
    if (apDetails)
        *apDetails = vDetails;
    mcRecords.append(
        {QString(), QString(), vcParts.at(6),
         QStringLiteral("%0, %1, %2").arg(msTitle, vDetails.msPlace, vDetails.msTranslator),
         vcParts.mid(7).join(QLatin1Char('\t')), QString(), QString()});
    return true;
}

bool PageRecords::addParallelParagraph(const QString &asRecord)
{
    const QStringList vcParts = asRecord.split(QLatin1Char('\t'));
    if (vcParts.size() < 6)
        return false;
    setParallel(vcParts.at(4),
                QStringLiteral("%0, (%1), %2, (%3)")
                    .arg(vcParts.at(0), vcParts.at(1), vcParts.at(2), vcParts.at(3)),
                vcParts.mid(5).join(QLatin1Char('\t')));
    return true;
}

void PageRecords::addVerse(const QString &asVerse, const QString &asText)
{
    mcRecords.append({QString(), QString(), asVerse, QStringLiteral("%0:%1").arg(msTitle, asVerse),
                      asText, QString(), QString()});
}

void PageRecords::addParallelVerse(const QString &asName, const QString &asVerse,
                                   const QString &asText, const QString &asChapter, int anPageBook,
                                   int anPageChapter, const PsalmPlacement &aPsalmPlacement)
{
    QString vsKey = asVerse;
    if (anPageBook == cnPsalms && aPsalmPlacement) {
        const QPair<int, int> vPlace = aPsalmPlacement(asChapter.toInt(), asVerse.toInt());
        if (vPlace.first != anPageChapter)
            return;
        vsKey = QString::number(vPlace.second);
    }
    setParallel(vsKey, QStringLiteral("%0:%1").arg(asName, asVerse), asText + QStringLiteral("\n"));
}

void PageRecords::addHit(const QString &asTitle, const QString &asNumber, const QString &asText,
                         const QString &asKey, const QString &asChapter)
{
    mcRecords.append({asKey, asChapter, asNumber, asTitle, asText, QString(), QString()});
}

void PageRecords::setParallel(const QString &asNumber, const QString &asTitle,
                              const QString &asText)
{
    for (ArticleRecord &vRecord : mcRecords) {
        if (vRecord.msNumber == asNumber) {
            vRecord.msRightTitle = asTitle;
            vRecord.msRightText = asText;
        }
    }
}
