#include "sqlite/sqliteicu.h"

#include "sqlite/icuextension.h"
#include "sqlite/icutokenizer.h"
#include "sqlite/stocksqlitedrivercreator.h"

#include <QSqlDatabase>
#include <QString>

#include <sqlite3.h>

#include <mutex>

namespace SqliteIcu {

namespace {

void installOnce()
{
    const int vnInstalled =
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&sqlite3_quillmarkicu_init));
    if (vnInstalled != SQLITE_OK) {
        qWarning("The icu tokenizer cannot be installed into SQLite: %s",
                 sqlite3_errstr(vnInstalled));
    } else {
        // The first connection runs the registration here, before any other thread
        // opens one, and reveals at once whether it works.
        sqlite3 *vpDb = nullptr;
        if (sqlite3_open_v2(":memory:", &vpDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            qWarning("The icu tokenizer does not register with SQLite: %s", sqlite3_errmsg(vpDb));
        }
        sqlite3_close(vpDb);
    }
    QSqlDatabase::registerSqlDriver(QStringLiteral("QSQLITEICU"), new StockSqliteDriverCreator);
}

} // namespace

void install()
{
    static std::once_flag sOnce;
    std::call_once(sOnce, installOnce);
}

QVector<Token> tokenize(const QByteArray &aUtf8, const QByteArray &aLocale)
{
    QVector<Token> vcTokens;
    const sqlite3_tokenizer_module *vpModule = icuTokenizerModule();
    const char *vpLocale = aLocale.constData();
    sqlite3_tokenizer *vpTokenizer = nullptr;
    if (vpModule->xCreate(aLocale.isEmpty() ? 0 : 1, &vpLocale, &vpTokenizer) != SQLITE_OK)
        return vcTokens;
    vpTokenizer->pModule = vpModule;

    sqlite3_tokenizer_cursor *vpCursor = nullptr;
    if (vpModule->xOpen(vpTokenizer, aUtf8.constData(), aUtf8.size(), &vpCursor) == SQLITE_OK) {
        vpCursor->pTokenizer = vpTokenizer;
        const char *vpText = nullptr;
        int vnBytes = 0;
        Token vToken{};
        while (vpModule->xNext(vpCursor, &vpText, &vnBytes, &vToken.start, &vToken.end,
                               &vToken.position) == SQLITE_OK) {
            vToken.text = QByteArray(vpText, vnBytes);
            vcTokens.append(vToken);
        }
        vpModule->xClose(vpCursor);
    }
    vpModule->xDestroy(vpTokenizer);
    return vcTokens;
}

} // namespace SqliteIcu
