#pragma once

#include <QFlags>
#include <QMetaType>

// Advanced search options, as chosen in the advanced-search panel.
enum AdvancedSearchFlag
{
    NoOption = 0,
    CaseSensitive = 1,
    WholeWords = 2,
    ExactPhrase = 4,
    AnyWord = 8,
    RegularExpression = 16
};
Q_DECLARE_FLAGS(AdvancedSearchFlags, AdvancedSearchFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(AdvancedSearchFlags)
Q_DECLARE_METATYPE(AdvancedSearchFlags)
