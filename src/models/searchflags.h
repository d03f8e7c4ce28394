#pragma once

#include <QFlags>
#include <QMetaType>

// Advanced search options, as chosen in the advanced-search panel. The first
// five choose how the words are matched (the search's mode, one at a time);
// the two above them are modifiers that widen what a word matches and leave
// every search without them as it was.
enum AdvancedSearchFlag
{
    NoOption = 0,
    CaseSensitive = 1,
    WholeWords = 2,
    ExactPhrase = 4,
    AnyWord = 8,
    RegularExpression = 16,
    // Each word of a plain or any-word search stands for its forms: its stem
    // is searched as a prefix.
    WordForms = 32,
    // The letters е and ё are taken as one in full-text searches.
    YoAlike = 64
};
Q_DECLARE_FLAGS(AdvancedSearchFlags, AdvancedSearchFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(AdvancedSearchFlags)
Q_DECLARE_METATYPE(AdvancedSearchFlags)

// The flags without the modifiers.
inline AdvancedSearchFlags searchMode(AdvancedSearchFlags aFlags)
{
    return aFlags & ~AdvancedSearchFlags(WordForms | YoAlike);
}
