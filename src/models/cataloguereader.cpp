#include "models/cataloguereader.h"

#include "models/sqlerror.h"

namespace {

// Further translations of a sermon carry " *" after their date.
bool isFurtherTranslation(const QString &asDate)
{
    return asDate.endsWith(QLatin1Char('*'));
}

Catalogue::Group group(const QString &asText, const QString &asKey)
{
    Catalogue::Group vGroup;
    vGroup.mEntry.msText = asText;
    vGroup.mEntry.msKey = asKey;
    return vGroup;
}

Catalogue::Entry item(const QString &asText, const QString &asKey, const QString &asDetails = {},
                      bool abFurther = false, bool abHasMp3 = false)
{
    return Catalogue::Entry{asText, asKey, asDetails, abFurther, abHasMp3};
}

} // namespace

CatalogueReader::CatalogueReader(QueryFactory aNewQuery) : mNewQuery(std::move(aNewQuery))
{
}

Catalogue CatalogueReader::byName(bool abDuplicates) const
{
    Catalogue vCatalogue;
    vCatalogue.mnKind = CatalogueTree::ByName;
    QSqlQuery vQuery = mNewQuery();
    const QString vsStatement =
        abDuplicates
            ? QStringLiteral("SELECT name, date, rowid, length, translator, mp3 FROM quotes "
                             "ORDER BY name ASC;")
            : QStringLiteral("SELECT name, date, rowid, length, translator, mp3 FROM quotes "
                             "WHERE length(date) < 9  ORDER BY name ASC;");
    if (!vQuery.exec(vsStatement)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return vCatalogue;
    }
    QString vsLastLetter;
    while (vQuery.next()) {
        const QString vsName = vQuery.value(0).toString();
        const QString vsDate = vQuery.value(1).toString();
        const QString vsRowid = vQuery.value(2).toString();
        const QString vsLetter = vsName.left(1);
        if (vCatalogue.mcGroups.isEmpty() || vsLetter != vsLastLetter) {
            vsLastLetter = vsLetter;
            vCatalogue.mcGroups.append(group(QStringLiteral("%0 ").arg(vsLetter), vsRowid));
        }
        vCatalogue.mcGroups.last().mcItems.append(
            item(QStringLiteral("%0 (%1)").arg(vsName, vsDate), vsRowid,
                 QStringLiteral("19%0, %1, %2")
                     .arg(vsDate, vQuery.value(4).toString(), vQuery.value(3).toString()),
                 isFurtherTranslation(vsDate), vQuery.value(5).toString() != QLatin1String("-")));
    }
    return vCatalogue;
}

Catalogue CatalogueReader::byYear(bool abDuplicates) const
{
    Catalogue vCatalogue;
    vCatalogue.mnKind = CatalogueTree::ByYear;
    QSqlQuery vQuery = mNewQuery();
    const QString vsStatement =
        abDuplicates
            ? QStringLiteral(
                  "SELECT SUBSTR(date,1,2) AS year, name, date, rowid, length, translator, "
                  "mp3 FROM quotes ORDER BY date;")
            : QStringLiteral(
                  "SELECT SUBSTR(date,1,2) AS year, name, date, rowid, length, translator, "
                  "mp3 FROM quotes WHERE length(date) < 9 ORDER BY date;");
    if (!vQuery.exec(vsStatement)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return vCatalogue;
    }
    int vnLastYear = -1;
    while (vQuery.next()) {
        const int vnYear = 1900 + vQuery.value(0).toString().toInt();
        const QString vsDate = vQuery.value(2).toString();
        const QString vsRowid = vQuery.value(3).toString();
        if (vnYear != vnLastYear) {
            vnLastYear = vnYear;
            vCatalogue.mcGroups.append(group(QString::number(vnYear), vsRowid));
        }
        vCatalogue.mcGroups.last().mcItems.append(
            item(QStringLiteral("%0 (%1)").arg(vQuery.value(1).toString(), vsDate), vsRowid,
                 QStringLiteral("%0, %1, %2")
                     .arg(vsDate, vQuery.value(5).toString(), vQuery.value(4).toString()),
                 isFurtherTranslation(vsDate), vQuery.value(6).toString() != QLatin1String("-")));
    }
    return vCatalogue;
}

Catalogue CatalogueReader::bible() const
{
    Catalogue vCatalogue;
    vCatalogue.mnKind = CatalogueTree::Bible;
    QSqlQuery vBooks = mNewQuery();
    if (!vBooks.exec(QStringLiteral("SELECT book, name FROM bibles ORDER BY book;"))) {
        QUILLMARK_LOG_SQL_ERROR(vBooks.lastError());
        return vCatalogue;
    }
    // A chapter's key is its rowid: the program's own inserts never fill uid,
    // and a restricted Bible search looks the checked chapters up by rowid.
    QSqlQuery vChapters = mNewQuery();
    vChapters.prepare(QStringLiteral(
        "SELECT rowid, name, chapter FROM chapters WHERE book = ? ORDER BY chapter;"));
    while (vBooks.next()) {
        vCatalogue.mcGroups.append(
            group(vBooks.value(1).toString(),
                  vBooks.value(0).toString().rightJustified(3, QLatin1Char('0'))));
        vChapters.bindValue(0, vBooks.value(0).toInt());
        if (!vChapters.exec()) {
            QUILLMARK_LOG_SQL_ERROR(vChapters.lastError());
            continue;
        }
        while (vChapters.next())
            vCatalogue.mcGroups.last().mcItems.append(
                item(vChapters.value(1).toString(), vChapters.value(0).toString()));
    }
    return vCatalogue;
}

QStringList CatalogueReader::statusTexts(bool abBible, const QString &asDate, int anBookRow) const
{
    QSqlQuery vQuery = mNewQuery();
    if (abBible) {
        vQuery.prepare(QStringLiteral("SELECT `name` FROM `bibles` WHERE `book` = ?;"));
        vQuery.addBindValue(anBookRow + 1);
    } else {
        // Bound, not spliced: a date may hold an apostrophe.
        vQuery.prepare(QStringLiteral("SELECT name, length, translator, date FROM quotes WHERE "
                                      "`date` = ?;"));
        vQuery.addBindValue(asDate);
    }
    QStringList vcTexts;
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return vcTexts;
    }
    while (vQuery.next()) {
        if (abBible)
            vcTexts.append(vQuery.value(0).toString());
        else
            vcTexts.append(QStringLiteral("%0 %1 (%2, %3)")
                               .arg(vQuery.value(3).toString(), vQuery.value(0).toString(),
                                    vQuery.value(2).toString(), vQuery.value(1).toString()));
    }
    return vcTexts;
}

int CatalogueReader::countSermons(bool abDuplicates) const
{
    QSqlQuery vQuery = mNewQuery();
    if (!vQuery.exec(abDuplicates
                         ? QStringLiteral("SELECT count(*) FROM quotes")
                         : QStringLiteral("SELECT count(*) FROM quotes WHERE length(date) < 9"))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return -1;
    }
    int vnResult = -1;
    while (vQuery.next())
        vnResult = vQuery.value(0).toInt();
    return vnResult;
}
