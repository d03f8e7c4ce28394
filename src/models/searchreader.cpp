#include "models/searchreader.h"

#include "models/sqlerror.h"

#include <QHash>
#include <QStringList>

namespace {

QString text(const QSqlQuery &aQuery, int anColumn)
{
    return aQuery.value(anColumn).toString();
}

} // namespace

SearchReader::SearchReader(QueryFactory aNewQuery, bool abIndexed)
    : mNewQuery(std::move(aNewQuery)), mbIndexed(abIndexed)
{
}

bool SearchReader::sermonHits(const SearchStatements::Search &aSearch, const QString &asHighlight,
                              int anLimit, int anOffset, QVector<Hit> *apHits) const
{
    QSqlQuery vQuery = mNewQuery();
    if (!vQuery.exec(SearchStatements::sermonPage(mbIndexed, aSearch, anLimit, anOffset))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    readSermonHits(vQuery, aSearch, asHighlight, apHits);
    return true;
}

qint64 SearchReader::sermonHitsCounted(const SearchStatements::Search &aSearch,
                                       const QString &asHighlight, int anLimit, int anOffset,
                                       QVector<Hit> *apHits) const
{
    const QString vsMatches = SearchStatements::sermonMatches(mbIndexed, aSearch);
    if (vsMatches.isEmpty()) {
        sermonHits(aSearch, asHighlight, anLimit, anOffset, apHits);
        return -1;
    }
    QSqlQuery vQuery = mNewQuery();
    vQuery.setForwardOnly(true);
    if (!vQuery.exec(vsMatches)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return -1;
    }
    qint64 vnCount = 0;
    QStringList vcPage;
    while (vQuery.next()) {
        if (vnCount >= anOffset && vnCount - anOffset < anLimit)
            vcPage.append(vQuery.value(0).toString());
        ++vnCount;
    }
    // A file damaged further in stops the matches part-way.
    if (vQuery.lastError().isValid()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return -1;
    }
    vQuery.finish();
    if (vcPage.isEmpty())
        return vnCount;
    QSqlQuery vRows = mNewQuery();
    if (!vRows.exec(SearchStatements::sermonRows(vcPage.join(QLatin1Char(','))))) {
        QUILLMARK_LOG_SQL_ERROR(vRows.lastError());
        return -1;
    }
    readSermonHits(vRows, aSearch, asHighlight, apHits);
    return vnCount;
}

void SearchReader::readSermonHits(QSqlQuery &aQuery, const SearchStatements::Search &aSearch,
                                  const QString &asHighlight, QVector<Hit> *apHits) const
{
    QSqlQuery vDetail = mNewQuery();
    vDetail.prepare(SearchStatements::sermonDetail(mbIndexed));
    bool vbDetailFailed = false;
    while (aQuery.next()) {
        const QString vsDate = text(aQuery, 2);
        // Bound, not spliced: a date may hold an apostrophe.
        vDetail.bindValue(0, vsDate);
        QString vsTranslator, vsName, vsPlace;
        // A failed look-up is reported (once: it would fail for every hit),
        // not passed over in silence with hits that lack their titles.
        if (!vDetail.exec()) {
            if (!vbDetailFailed)
                QUILLMARK_LOG_SQL_ERROR(vDetail.lastError());
            vbDetailFailed = true;
        } else if (vDetail.next()) {
            vsTranslator = text(vDetail, 0);
            vsName = text(vDetail, 1);
            vsPlace = text(vDetail, 2);
        }
        vDetail.finish();
        apHits->append(
            {QStringLiteral("%1, 19%2, %3 (%4)").arg(vsName, vsDate, vsTranslator, vsPlace),
             text(aQuery, 1).mid(2),
             aSearch.marks.pattern().isEmpty()
                 ? SearchStatements::highlight(text(aQuery, 0), asHighlight)
                 : SearchStatements::highlight(text(aQuery, 0), aSearch.marks),
             vsDate, QString()});
    }
}

bool SearchReader::bibleHits(const SearchStatements::Search &aSearch, int anLimit, int anOffset,
                             QVector<Hit> *apHits) const
{
    QSqlQuery vQuery = mNewQuery();
    if (!vQuery.exec(SearchStatements::biblePage(mbIndexed, aSearch, anLimit, anOffset))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next()) {
        const QString vsChapter = text(vQuery, 1);
        const QString vsVerse = text(vQuery, 2);
        apHits->append({QStringLiteral("%1 %2:%3").arg(text(vQuery, 0), vsChapter, vsVerse),
                        vsVerse, text(vQuery, 3), text(vQuery, 4), vsChapter});
    }
    return true;
}

qint64 SearchReader::count(bool abBible, const SearchStatements::Search &aSearch) const
{
    QSqlQuery vQuery = mNewQuery();
    if (!vQuery.exec(abBible ? SearchStatements::bibleCount(mbIndexed, aSearch)
                             : SearchStatements::sermonCount(mbIndexed, aSearch))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return -1;
    }
    qint64 vnCount = 0;
    while (vQuery.next())
        vnCount += vQuery.value(0).toLongLong();
    return vnCount;
}

bool SearchReader::groups(bool abBible, const SearchStatements::Search &aSearch,
                          HitGroups *apGroups) const
{
    QSqlQuery vQuery = mNewQuery();
    vQuery.setForwardOnly(true);
    if (!vQuery.exec(SearchStatements::groupKeys(abBible, aSearch))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    QHash<QString, QStringList> vcKeys;
    while (vQuery.next())
        vcKeys[text(vQuery, 0)].append(text(vQuery, 1));

    if (!vQuery.exec(abBible ? SearchStatements::bibleGroups(mbIndexed, aSearch)
                             : SearchStatements::sermonGroups(mbIndexed, aSearch))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next()) {
        HitGroup vGroup;
        vGroup.msKey = text(vQuery, 0);
        // Sermon dates are "yy-mmdd" of the 1900s; a book without a name
        // record goes by its number.
        if (abBible)
            vGroup.msLabel = vQuery.isNull(1) ? vGroup.msKey : text(vQuery, 1);
        else
            vGroup.msLabel =
                vGroup.msKey.size() == 2 ? QStringLiteral("19") + vGroup.msKey : vGroup.msKey;
        vGroup.mnHits = vQuery.value(abBible ? 2 : 1).toLongLong();
        const QStringList vcGroupKeys = vcKeys.value(vGroup.msKey);
        if (!vcGroupKeys.isEmpty())
            vGroup.msKeys =
                QLatin1Char('(') + vcGroupKeys.join(QLatin1Char(',')) + QLatin1Char(')');
        apGroups->append(vGroup);
    }
    return true;
}
