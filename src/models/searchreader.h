#pragma once

#include "models/hitgroups.h"
#include "models/searchstatements.h"

#include <QSqlQuery>
#include <QString>
#include <QVector>

#include <functional>

// Runs the statements of one search on the open database: one page of
// sermon or Bible hits, the number of hits, and their number per year or
// book. A failed statement is logged as an SQL error; the data store turns
// the hits into its signals.
class SearchReader
{
public:
    using QueryFactory = std::function<QSqlQuery()>;

    // What a page is sent for one hit.
    struct Hit
    {
        QString msTitle;   // "name, 19date, translator (place)" or "book chapter:verse"
        QString msNumber;  // paragraph or verse number
        QString msText;    // a sermon hit's text is highlighted, a verse's is not
        QString msKey;     // the sermon's date, or the verse's book
        QString msChapter; // a verse's chapter
    };

    // abIndexed: whether the open file has the search indexes.
    SearchReader(QueryFactory aNewQuery, bool abIndexed);

    // anLimit hits after anOffset; false when the page statement failed.
    bool sermonHits(const SearchStatements::Search &aSearch, const QString &asHighlight,
                    int anLimit, int anOffset, QVector<Hit> *apHits) const;
    // The same page with the number of hits, from one pass over the matches
    // where the search allows (see SearchStatements::sermonMatches): the
    // count, or -1 when it is still to be made (count()).
    qint64 sermonHitsCounted(const SearchStatements::Search &aSearch, const QString &asHighlight,
                             int anLimit, int anOffset, QVector<Hit> *apHits) const;
    bool bibleHits(const SearchStatements::Search &aSearch, int anLimit, int anOffset,
                   QVector<Hit> *apHits) const;
    // The number of hits, or -1 when the count failed.
    qint64 count(bool abBible, const SearchStatements::Search &aSearch) const;
    // The hits per year of the sermons or per Bible book, each with the
    // catalogue keys that restrict a search to it; false when a statement
    // failed.
    bool groups(bool abBible, const SearchStatements::Search &aSearch, HitGroups *apGroups) const;

private:
    // The hits of the rows of a sermon page statement (text, id, date).
    void readSermonHits(QSqlQuery &aQuery, const SearchStatements::Search &aSearch,
                        const QString &asHighlight, QVector<Hit> *apHits) const;

    QueryFactory mNewQuery;
    bool mbIndexed = false;
};
