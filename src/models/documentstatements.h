#pragma once

#include <QString>

class QSqlDatabase;

// The statements that read one document's rows. A full-text table can only
// be searched by its text or its rowid: asking it for a sermon's paragraphs
// by date, or a chapter's verses by book and chapter, reads the whole table.
// The program therefore keeps plain indexes on those columns of the tables'
// content tables and reads documents from there: the same rows, in the same
// (rowid) order, without the scan. Files whose content tables cannot take
// the indexes are read through the full-text tables as before.
//
// setIndexesAllowed(false) is a benchmarking switch: the benchmark program
// turns the indexes off before any database opens, so that the same cases
// show the figures with and without them. The program never calls it.
namespace DocumentStatements {

// Creates the indexes where missing; true when they are there. Always false
// (and nothing is created) while indexes are not allowed.
bool ensureIndexes(QSqlDatabase &aConnection);
void setIndexesAllowed(bool abAllowed); // default true

// Each with positional placeholders, in the order given.
QString sermonParagraphs(bool abIndexed);     // date -> id, text
QString chapterVerses(bool abIndexed);        // book, chapter -> verse, text, book, chapter
QString chapterVersesByTitle(bool abIndexed); // book name, chapter -> same
QString parallelChapters(bool abIndexed,
                         int anCount); // book, chapters... -> verse, text, book, chapter, name
// Remove every record of a sermon date: the sermon records, then the
// paragraphs (through the date index where there is one: without it the
// full-text table is read whole for each removal). One bound value each.
QStringList sermonRemoval(bool abIndexed); // date

} // namespace DocumentStatements
