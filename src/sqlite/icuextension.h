#pragma once

struct sqlite3;
struct sqlite3_api_routines;

// Makes the "icu" full-text tokenizer known to one SQLite connection. The name
// follows SQLite's convention, so the same function is the entry point of the
// loadable extension (".load libquillmarkicu" in the sqlite3 shell) and, in the
// program, the automatic extension that every new connection runs.
extern "C" __attribute__((visibility("default"))) int
sqlite3_quillmarkicu_init(sqlite3 *apDb, char **apErrorMessage, const sqlite3_api_routines *apApi);
