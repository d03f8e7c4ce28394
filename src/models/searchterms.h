#pragma once

#include "models/searchflags.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The words of a search widened by its modifiers: every form of a word (its
// stem as a prefix) and its spellings with е and ё taken as one. Gives the
// full-text query that finds them and the pattern that marks them in a text
// found. The stored index is never changed: the query holds the variants.
namespace SearchTerms {

// A word yields at most this many spellings, a whole query at most
// cnMaxTerms terms; further words are searched as typed.
constexpr int cnMaxVariants = 8;
constexpr int cnMaxTerms = 64;

// The two letters, lower and upper case.
constexpr QChar cLowerE{0x0435};
constexpr QChar cLowerYo{0x0451};
constexpr QChar cUpperE{0x0415};
constexpr QChar cUpperYo{0x0401};
inline bool isE(QChar aChar)
{
    return aChar == cLowerE || aChar == cUpperE;
}

// Whether the modifiers in aFlags can change a search of its mode: word
// forms widen plain and any-word searches, е/ё those and whole-word and
// phrase searches. The case-sensitive scan and the regular expression take
// neither.
bool widens(AdvancedSearchFlags aFlags);

// The beginning the forms of a word share: the Snowball stem of the data
// language (ru, en, fr) cut back to a prefix of the word in lower case
// ("happy" has the stem "happi" and gives "happ"). The word in lower case
// where the language has no stemmer, the word holds anything but letters, or
// the stem would be shorter than three letters.
QString stem(const QString &asWord, const QString &asLanguage);

// The spellings of a word with е and ё taken as one: as typed, with every ё
// as е, and with each single е as ё (a Russian word holds one ё at most).
// Never more than cnMaxVariants; a word without either letter is alone.
QStringList yoVariants(const QString &asWord);

// The MATCH condition of a search text (apostrophes doubled, nothing that can
// leave the literal) under its modifiers; empty when they change nothing, so
// that the plain condition stands.
QString condition(const QString &asText, AdvancedSearchFlags aFlags, const QString &asLanguage);

// What such a search marks in a text it found, case-insensitive: with word
// forms every word beginning with one of the stems, otherwise the words as
// typed with е and ё alike. An empty pattern when there is nothing to mark.
QRegularExpression marks(const QString &asText, AdvancedSearchFlags aFlags,
                         const QString &asLanguage);

} // namespace SearchTerms
