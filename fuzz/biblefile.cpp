// Bible source files: every statement made from any text is one complete
// INSERT that adds one row. The one failure allowed is the documented one: a
// verse number that is not a number fails its own statement.
#include "fuzzsupport.h"

#include "controllers/textconverter.h"

#include <sqlite3.h>

namespace {

sqlite3 *database()
{
    static sqlite3 *spDatabase = [] {
        sqlite3 *vpDatabase = nullptr;
        sqlite3_open(":memory:", &vpDatabase);
        // The tables as the data store creates them.
        const char *vpCreate =
            "CREATE VIRTUAL TABLE bibles USING fts4(uid INTEGER PRIMARY KEY ASC, book INTEGER, "
            "name TEXT);"
            "CREATE VIRTUAL TABLE chapters USING fts4(uid INTEGER PRIMARY KEY ASC, book INTEGER, "
            "chapter INTEGER, name TEXT);"
            "CREATE VIRTUAL TABLE verses USING fts4(uid INTEGER PRIMARY KEY ASC, book INTEGER, "
            "chapter INTEGER, verse INTEGER, text TEXT, tokenize=icu ru_RU);";
        if (sqlite3_exec(vpDatabase, vpCreate, nullptr, nullptr, nullptr) != SQLITE_OK)
            FuzzSupport::fail("create", __FILE__, __LINE__,
                              QString::fromUtf8(sqlite3_errmsg(vpDatabase)));
        return vpDatabase;
    }();
    return spDatabase;
}

// Changes to full-text tables do not show in sqlite3_total_changes().
int rows(sqlite3 *apDatabase)
{
    sqlite3_stmt *vpCount = nullptr;
    sqlite3_prepare_v2(apDatabase,
                       "SELECT (SELECT count(*) FROM bibles) + (SELECT count(*) FROM chapters) + "
                       "(SELECT count(*) FROM verses)",
                       -1, &vpCount, nullptr);
    const int vnRows = sqlite3_step(vpCount) == SQLITE_ROW ? sqlite3_column_int(vpCount, 0) : -1;
    sqlite3_finalize(vpCount);
    return vnRows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    sqlite3 *vpDatabase = database();
    const QString vsText = FuzzSupport::decode(apData, anSize, anSize > 0 && apData[0] >= 0x80);
    int vnBooks = 0;
    int vnInserted = 0;
    const QStringList vcStatements =
        TextConverter::convertBibleText(vsText, [&vnBooks](const QString &) { ++vnBooks; });
    sqlite3_exec(vpDatabase, "BEGIN", nullptr, nullptr, nullptr);
    for (const QString &vsStatement : vcStatements) {
        const QByteArray vaStatement = vsStatement.toUtf8();
        sqlite3_stmt *vpStatement = nullptr;
        const char *vpTail = nullptr;
        const int vnPrepared =
            sqlite3_prepare_v2(vpDatabase, vaStatement.constData(), int(vaStatement.size()) + 1,
                               &vpStatement, &vpTail);
        const QString vsError = QString::fromUtf8(sqlite3_errmsg(vpDatabase));
        if (vnPrepared != SQLITE_OK) {
            FUZZ_CHECK(vsStatement.startsWith(QLatin1String("INSERT INTO verses")) &&
                           vsError.startsWith(QLatin1String("no such column")),
                       vsError + QLatin1Char('\n') + vsStatement);
            continue;
        }
        FUZZ_CHECK(vpTail && QByteArray(vpTail).trimmed().isEmpty(), vsStatement);
        FUZZ_CHECK(!sqlite3_stmt_readonly(vpStatement), vsStatement);
        const int vnStep = sqlite3_step(vpStatement);
        sqlite3_finalize(vpStatement);
        FUZZ_CHECK(vnStep == SQLITE_DONE,
                   QString::fromUtf8(sqlite3_errmsg(vpDatabase)) + QLatin1Char('\n') + vsStatement);
        ++vnInserted;
    }
    FUZZ_CHECK(rows(vpDatabase) == vnInserted, vsText);
    sqlite3_exec(vpDatabase, "ROLLBACK", nullptr, nullptr, nullptr);
    FUZZ_CHECK(vnBooks <= vcStatements.size(), vsText);
    return 0;
}
