#pragma once

#include "sqlite/fts3tokenizer.h"

namespace SqliteIcu {

// The "icu" full-text tokenizer. Its one argument is an ICU locale name (an
// unusable or missing one means the root locale). The text is cut at ICU's word
// boundaries for that locale; pieces that start with white space are dropped,
// every other piece - word, number or punctuation mark - is one token, stored
// case-folded (full folding, so "Straße" and "STRASSE" meet). Offsets are byte
// offsets into the UTF-8 input even when it is malformed.
//
// The module uses no SQLite function, only its result codes, so it can live in
// a loadable extension as well as in the program.
const sqlite3_tokenizer_module *icuTokenizerModule();

} // namespace SqliteIcu
