#include "sqlite/icuextension.h"

#include "sqlite/icutokenizer.h"

// Every SQLite call in this file goes through the routine table that SQLite
// hands to the entry point: a loadable extension must not link libsqlite3
// itself, and the program's copy of this code reaches the same library anyway.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

int sqlite3_quillmarkicu_init(sqlite3 *apDb, char **apErrorMessage,
                              const sqlite3_api_routines *apApi)
{
    // Builds without extension support pass no routine table.
    if (!apApi)
        return SQLITE_ERROR;
    // Connections opening on several threads at once all bring the same table;
    // storing it only when it differs keeps them from writing the global together.
    if (sqlite3_api != apApi) {
        SQLITE_EXTENSION_INIT2(apApi)
    }

    // fts3_tokenizer() may take a function table pointer only while this is on.
    // Afterwards it returns to what the SQLite build chose: SQL from a database
    // file (a view, a trigger) must not gain a way to plant pointers of its own.
    int vnWasEnabled = 0;
    sqlite3_db_config(apDb, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, -1, &vnWasEnabled);
    sqlite3_db_config(apDb, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 1, nullptr);

    const sqlite3_tokenizer_module *vpModule = SqliteIcu::icuTokenizerModule();
    sqlite3_stmt *vpStatement = nullptr;
    int vnResult =
        sqlite3_prepare_v2(apDb, "SELECT fts3_tokenizer('icu', ?1)", -1, &vpStatement, nullptr);
    if (vnResult == SQLITE_OK) {
        vnResult = sqlite3_bind_blob(vpStatement, 1, &vpModule, static_cast<int>(sizeof(vpModule)),
                                     SQLITE_STATIC);
    }
    if (vnResult == SQLITE_OK) {
        vnResult = sqlite3_step(vpStatement);
        if (vnResult == SQLITE_ROW)
            vnResult = SQLITE_OK;
    }
    if (vnResult != SQLITE_OK && apErrorMessage)
        *apErrorMessage =
            sqlite3_mprintf("cannot register the icu tokenizer: %s", sqlite3_errmsg(apDb));
    sqlite3_finalize(vpStatement);

    sqlite3_db_config(apDb, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, vnWasEnabled, nullptr);

    // The program's case-sensitive search compares with LIKE, and SQLite's
    // LIKE ignores the case of Latin letters (and only of those). With this,
    // LIKE tells capital from lower-case letters in every script, on every
    // connection of the program and in the shell with the loadable extension.
    if (vnResult == SQLITE_OK) {
        char *vpPragmaError = nullptr;
        vnResult = sqlite3_exec(apDb, "PRAGMA case_sensitive_like = ON;", nullptr, nullptr,
                                &vpPragmaError);
        if (vnResult != SQLITE_OK && apErrorMessage)
            *apErrorMessage = sqlite3_mprintf("cannot make LIKE case-sensitive: %s",
                                              vpPragmaError ? vpPragmaError : "");
        sqlite3_free(vpPragmaError);
    }
    return vnResult;
}
