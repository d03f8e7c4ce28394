#include "models/psalmtable.h"

#include <QStringList>

namespace {

bool isRussian(const QString &asLanguage)
{
    return asLanguage == QLatin1String("ru");
}

bool isWestern(const QString &asLanguage)
{
    return asLanguage == QLatin1String("en") || asLanguage == QLatin1String("fr");
}

} // namespace

namespace PsalmTable {

QVector<PsalmRecord> build()
{
    QVector<PsalmRecord> vcTable;
    for (int n = 1; n <= 150; ++n) {
        if (n <= 8 || n >= 148) {
            vcTable.append({n, 0, n, 0});
        } else if (n == 9) {
            for (int v = 1; v <= 39; ++v)
                vcTable.append(v < 21 ? PsalmRecord{9, v, 9, v} : PsalmRecord{9, v, 10, v - 20});
        } else if (n == 113) {
            for (int v = 1; v <= 26; ++v)
                vcTable.append(v < 9 ? PsalmRecord{113, v, 114, v}
                                     : PsalmRecord{113, v, 115, v - 8});
        } else if (n == 114) {
            for (int v = 1; v <= 9; ++v)
                vcTable.append({114, v, 116, v});
        } else if (n == 115) {
            for (int v = 1; v <= 10; ++v)
                vcTable.append({115, v, 116, v + 9});
        } else if (n == 147) {
            for (int v = 1; v <= 9; ++v)
                vcTable.append({147, v, 147, v + 11});
        } else {
            // 10-112 and 116-146 are one ahead in the other numbering.
            vcTable.append({n, 0, n + 1, 0});
        }
    }
    return vcTable;
}

QPair<int, int> convertPsalm(const QVector<PsalmRecord> &acTable, int anChapter, int anVerse,
                             const QString &asFrom, const QString &asTo)
{
    QPair<int, int> vResult(anChapter, anVerse);
    // When several records match, the last one in table order wins.
    if (isRussian(asFrom) && isWestern(asTo)) {
        for (const PsalmRecord &vRecord : acTable)
            if (vRecord.mnRussianChapter == anChapter &&
                (vRecord.mnRussianVerse == 0 || vRecord.mnRussianVerse == anVerse))
                vResult = {vRecord.mnOtherChapter,
                           vRecord.mnRussianVerse != 0 ? vRecord.mnOtherVerse : anVerse};
    } else if (isWestern(asFrom) && isRussian(asTo)) {
        for (const PsalmRecord &vRecord : acTable)
            if (vRecord.mnOtherChapter == anChapter &&
                (vRecord.mnOtherVerse == 0 || vRecord.mnOtherVerse == anVerse))
                vResult = {vRecord.mnRussianChapter,
                           vRecord.mnOtherVerse != 0 ? vRecord.mnRussianVerse : anVerse};
    }
    return vResult;
}

QString convertPsalmChapters(const QVector<PsalmRecord> &acTable, int anChapter,
                             const QString &asFrom, const QString &asTo)
{
    QString vsChapters;
    if (isRussian(asFrom) && isWestern(asTo)) {
        for (const PsalmRecord &vRecord : acTable)
            if (vRecord.mnRussianChapter == anChapter)
                vsChapters += QStringLiteral("%0,").arg(vRecord.mnOtherChapter);
    } else if (isWestern(asFrom) && isRussian(asTo)) {
        for (const PsalmRecord &vRecord : acTable)
            if (vRecord.mnOtherChapter == anChapter)
                vsChapters += QStringLiteral("%0,").arg(vRecord.mnRussianChapter);
    } else {
        vsChapters += QStringLiteral("%0,").arg(anChapter);
    }
    vsChapters.chop(1);
    return vsChapters;
}

QString convertBookNumber(int anBook, const QString &asFrom, const QString &asTo)
{
    if (anBook < 45 || anBook > 65)
        return QString::number(anBook);
    if (isRussian(asFrom) && isWestern(asTo))
        return QString::number(anBook >= 52 ? anBook - 7 : anBook + 14);
    if (isWestern(asFrom) && isRussian(asTo))
        return QString::number(anBook <= 58 ? anBook + 7 : anBook - 14);
    return QString();
}

bool parallelPlace(const QVector<PsalmRecord> &acTable, const QString &asBook,
                   const QString &asChapter, const QString &asFrom, const QString &asTo,
                   int *apBook, QVector<int> *apChapters)
{
    bool vbNumber = false;
    const int vnBook = asBook.toInt(&vbNumber);
    const QString vsBook = convertBookNumber(vnBook, asFrom, asTo);
    const QStringList vcChapters =
        vnBook == 19 ? convertPsalmChapters(acTable, asChapter.toInt(), asFrom, asTo)
                           .split(QLatin1Char(','), Qt::SkipEmptyParts)
                     : QStringList{asChapter};
    if (!vbNumber || vsBook.isEmpty() || vcChapters.isEmpty())
        return false;
    *apBook = vsBook.toInt();
    for (const QString &vsChapter : vcChapters) {
        const int vnChapter = vsChapter.trimmed().toInt(&vbNumber);
        if (!vbNumber)
            return false;
        if (!apChapters->contains(vnChapter))
            apChapters->append(vnChapter);
    }
    return true;
}

} // namespace PsalmTable
