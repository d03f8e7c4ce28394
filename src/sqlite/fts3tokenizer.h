#pragma once

// The interface between SQLite's full-text search (FTS3/FTS4) and a tokenizer
// supplied at run time, as documented for custom tokenizers. SQLite's public
// headers do not declare it, so the layout lives here; it must match what
// fts3_tokenizer() expects behind the pointer it is given.
//
// SQLite calls these functions from C: they must never let an exception escape.

struct sqlite3_tokenizer_module;

// A tokenizer instance; implementations derive from it.
struct sqlite3_tokenizer
{
    const sqlite3_tokenizer_module *pModule;
};

// One pass over one input text; implementations derive from it.
struct sqlite3_tokenizer_cursor
{
    sqlite3_tokenizer *pTokenizer;
};

struct sqlite3_tokenizer_module
{
    // 0: no xLanguageid member follows.
    int iVersion;
    int (*xCreate)(int argc, const char *const *argv, sqlite3_tokenizer **ppTokenizer);
    int (*xDestroy)(sqlite3_tokenizer *pTokenizer);
    // nBytes < 0: pInput ends at its first NUL byte.
    int (*xOpen)(sqlite3_tokenizer *pTokenizer, const char *pInput, int nBytes,
                 sqlite3_tokenizer_cursor **ppCursor);
    int (*xClose)(sqlite3_tokenizer_cursor *pCursor);
    // The token stays valid until the next call on the same cursor; SQLITE_DONE
    // ends the text.
    int (*xNext)(sqlite3_tokenizer_cursor *pCursor, const char **ppToken, int *pnBytes,
                 int *piStartOffset, int *piEndOffset, int *piPosition);
};
