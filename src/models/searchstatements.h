#pragma once

#include "models/searchflags.h"

#include <QRegularExpression>
#include <QString>

class QSqlDatabase;

// The statements of the sermon and Bible searches. The plain statements join
// the full-text tables by date, book and chapter, which a full-text table can
// only answer by reading all its rows: each hit of a search restricted to a
// few sermons scanned every sermon record, each Bible hit every chapter, and
// hiding further translations read every hit's date from the stored text.
// With plain indexes on the content tables behind the full-text tables, the
// same statements are written so that the full-text index only yields docids
// and everything else is looked up: the same rows, with the same
// multiplicities (a sermon date that occurs twice among the sermon records
// doubles its hits, as the plain joins do) and in the same order. Files whose
// content tables cannot take the indexes are searched the plain way.
//
// setIndexesAllowed(false) is a benchmarking switch, as for the document
// statements: set before any database opens, it keeps the indexes away so
// that the benchmark can show both figures. The program never calls it.
namespace SearchStatements {

// Creates the indexes where missing; true when they are there. Always false
// (and nothing is created) while indexes are not allowed.
bool ensureIndexes(QSqlDatabase &aConnection);
void setIndexesAllowed(bool abAllowed); // default true

// The condition a search text gives under the flags, to go between the
// single quotes of "text MATCH '...'" or, for CaseSensitive alone, of
// "text LIKE '...'". The mode counts as a whole: only exactly
// CaseSensitive, WholeWords, ExactPhrase or AnyWord (several words joined
// with OR: hits need one of them, not all) have modes of their own.
//
// The text arrives with its apostrophes doubled; whatever else it holds can
// only change the full-text query (or the LIKE pattern), never the statement:
// control characters are dropped, and a run of apostrophes of odd length
// (an undoubled one from a careless caller) gets one more.
// The modifiers (WordForms, YoAlike) are left out here; the overload with the
// data language applies them (see SearchTerms).
QString condition(const QString &asText, AdvancedSearchFlags aFlags);
QString condition(const QString &asText, AdvancedSearchFlags aFlags, const QString &asLanguage);

// A search text as typed, as the searches take it: apostrophes doubled, and
// no control characters (they have no meaning in a search).
QString fromUserText(const QString &asText);
bool isLikeSearch(AdvancedSearchFlags aFlags);

// asText with every word of asSearch (split at single blanks) wrapped in a
// highlight span, in one pass: longer words first, no word marked twice.
QString highlight(const QString &asText, const QString &asSearch);
// asText with every match of aMarks wrapped in the same span.
QString highlight(const QString &asText, const QRegularExpression &aMarks);

// A restriction list "(12, 57)" as the statements take it: "(12,57)", or
// empty for no restriction. Anything but a parenthesised list of integers
// restricts to nothing, "(NULL)".
QString restrictionList(const QString &asList);
// Whether asList is such a parenthesised list of integers.
bool isKeyList(const QString &asList);

struct Search
{
    QString condition;   // from condition()
    bool like = false;   // from isLikeSearch()
    QString restriction; // from restrictionList(): sermon or chapter rowids
    // Leaves out further translations ("length(date) < 9"); unrestricted
    // sermon searches only.
    bool hideDuplicates = false;
    // What a sermon hit's text marks when the search has modifiers (see
    // SearchTerms::marks); without a pattern the searched words are marked.
    QRegularExpression marks;
};

// Page statements read anLimit hits after skipping anOffset, counts read one
// row with the number of hits.
QString sermonPage(bool abIndexed, const Search &aSearch, int anLimit,
                   int anOffset);                           // -> text, id, date
QString sermonCount(bool abIndexed, const Search &aSearch); // -> count
// The page and the count from one pass over the matches, for a caller that
// wants both at once (counting passes over them all, and the page statement
// over the first ones again): every match's docid in docid order, the page
// picked from them, and the page's rows read by their docids. Empty for a
// search that has no such form (restricted, LIKE, or a file without the
// search indexes).
QString sermonMatches(bool abIndexed, const Search &aSearch); // -> docid
QString sermonRows(const QString &asDocids);                  // -> text, id, date
// One bound value, the hit's date; the first row is the sermon's record.
QString sermonDetail(bool abIndexed); // -> translator, name, place

// A restricted Bible search keeps to the verses of the listed chapters, in
// its page and in its count alike.
QString biblePage(bool abIndexed, const Search &aSearch, int anLimit,
                  int anOffset); // -> book name, chapter, verse, text, book
QString bibleCount(bool abIndexed, const Search &aSearch); // -> count

// The rows of the count, grouped: by the year of the sermon date (its first
// two characters) or by the Bible book, in their order. The counts of a
// search's groups add up to its count.
QString sermonGroups(bool abIndexed, const Search &aSearch); // -> year, count
QString bibleGroups(bool abIndexed, const Search &aSearch);  // -> book, book name, count
// The catalogue keys that restrict the search to one year's sermons (one
// book's chapters) with that group's hits: within its restriction, without
// the further translations it leaves out and, unrestricted, one sermon
// record per date.
QString groupKeys(bool abBible, const Search &aSearch); // -> year or book, key

} // namespace SearchStatements
