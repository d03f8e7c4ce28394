#include "models/cataloguefill.h"

#include "models/cataloguetree.h"
#include "models/sqlerror.h"

#include <QStandardItem>

namespace {

// Further translations of a sermon carry " *" after their date.
bool isFurtherTranslation(const QString &asDate)
{
    return asDate.endsWith(QLatin1Char('*'));
}

int lastTopRow(CatalogueTree &aTree)
{
    return aTree.topLevelCount() - 1;
}

} // namespace

CatalogueFill::CatalogueFill(CatalogueTree &aTree, QueryFactory aNewQuery)
    : mTree(aTree), mNewQuery(std::move(aNewQuery))
{
}

void CatalogueFill::byName(bool abDuplicates)
{
    mTree.clearTree();
    mTree.setKind(CatalogueTree::ByName);
    QSqlQuery vQuery = mNewQuery();
    const QString vsStatement =
        abDuplicates
            ? QStringLiteral("SELECT name, date, rowid, length, translator, mp3 FROM quotes "
                             "ORDER BY name ASC;")
            : QStringLiteral("SELECT name, date, rowid, length, translator, mp3 FROM quotes "
                             "WHERE length(date) < 9  ORDER BY name ASC;");
    if (!vQuery.exec(vsStatement)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return;
    }
    QString vsLastLetter;
    bool vbFirst = true;
    while (vQuery.next()) {
        const QString vsName = vQuery.value(0).toString();
        const QString vsDate = vQuery.value(1).toString();
        const QString vsRowid = vQuery.value(2).toString();
        const QString vsLetter = vsName.left(1);
        if (vbFirst || vsLetter != vsLastLetter) {
            vbFirst = false;
            vsLastLetter = vsLetter;
            mTree.addTopItem(QStringLiteral("%0 ").arg(vsLetter), vsRowid, false, QString());
        }
        mTree.addItem(QStringLiteral("%0 (%1)").arg(vsName, vsDate), lastTopRow(mTree), vsRowid,
                      isFurtherTranslation(vsDate),
                      QStringLiteral("19%0, %1, %2")
                          .arg(vsDate, vQuery.value(4).toString(), vQuery.value(3).toString()),
                      vQuery.value(5).toString() != QLatin1String("-"));
    }
}

void CatalogueFill::byYear(bool abDuplicates)
{
    mTree.clearTree();
    mTree.setKind(CatalogueTree::ByYear);
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
        return;
    }
    int vnLastYear = -1;
    while (vQuery.next()) {
        const int vnYear = 1900 + vQuery.value(0).toString().toInt();
        const QString vsDate = vQuery.value(2).toString();
        const QString vsRowid = vQuery.value(3).toString();
        if (vnYear != vnLastYear) {
            vnLastYear = vnYear;
            mTree.addTopItem(QString::number(vnYear), vsRowid, false, QString());
        }
        mTree.addItem(QStringLiteral("%0 (%1)").arg(vQuery.value(1).toString(), vsDate),
                      lastTopRow(mTree), vsRowid, isFurtherTranslation(vsDate),
                      QStringLiteral("%0, %1, %2")
                          .arg(vsDate, vQuery.value(5).toString(), vQuery.value(4).toString()),
                      vQuery.value(6).toString() != QLatin1String("-"));
    }
}

void CatalogueFill::bible()
{
    mTree.clearTree();
    mTree.setKind(CatalogueTree::Bible);
    QSqlQuery vBooks = mNewQuery();
    if (!vBooks.exec(QStringLiteral("SELECT book, name FROM bibles ORDER BY book;"))) {
        QUILLMARK_LOG_SQL_ERROR(vBooks.lastError());
        return;
    }
    // A chapter's key is its rowid: the program's own inserts never fill uid,
    // and a restricted Bible search looks the checked chapters up by rowid.
    QSqlQuery vChapters = mNewQuery();
    vChapters.prepare(QStringLiteral(
        "SELECT rowid, name, chapter FROM chapters WHERE book = ? ORDER BY chapter;"));
    while (vBooks.next()) {
        const int vnBook = vBooks.value(0).toInt();
        QStandardItem *vpBook = mTree.addTopItem(
            vBooks.value(1).toString(),
            vBooks.value(0).toString().rightJustified(3, QLatin1Char('0')), false, QString());
        vChapters.bindValue(0, vnBook);
        if (!vChapters.exec()) {
            QUILLMARK_LOG_SQL_ERROR(vChapters.lastError());
            continue;
        }
        while (vChapters.next())
            mTree.addChildItem(vChapters.value(1).toString(), vpBook, vChapters.value(0).toString(),
                               false, QString(), false);
    }
}
