// The search path from typed text to executed statements: whatever is typed,
// under any flags and restriction list, every statement built is one
// read-only statement, and running the searches changes no table.
#include "fuzzsupport.h"

#include "models/searchreader.h"
#include "models/searchstatements.h"
#include "models/storeconnection.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace {

QString gsWrite;

int authorize(void *, int anAction, const char *apOne, const char *apTwo, const char *,
              const char *)
{
    switch (anAction) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        if (gsWrite.isEmpty())
            gsWrite = QStringLiteral("action %1 on %2 %3")
                          .arg(anAction)
                          .arg(QString::fromUtf8(apOne ? apOne : ""),
                               QString::fromUtf8(apTwo ? apTwo : ""));
        return SQLITE_DENY;
    }
}

QString checksum(QSqlDatabase &aDatabase)
{
    QSqlQuery vQuery(aDatabase);
    vQuery.exec(QStringLiteral(
        "SELECT (SELECT count(*) || ':' || total(length(text)) FROM paragraphs) || '/' || "
        "(SELECT count(*) || ':' || total(length(name)) FROM quotes) || '/' || "
        "(SELECT count(*) FROM bibles) || '/' || (SELECT count(*) FROM chapters) || '/' || "
        "(SELECT count(*) || ':' || total(length(text)) FROM verses);"));
    return vQuery.next() ? vQuery.value(0).toString() : QString();
}

StoreConnection &store(QString *apChecksum)
{
    static QString ssChecksum;
    static StoreConnection *spStore = [] {
        auto *vpStore = new StoreConnection;
        bool vbCreated = false;
        if (!vpStore->open(FuzzSupport::tempPath() + QStringLiteral("/search.sqlite"), &vbCreated))
            FuzzSupport::fail("open", __FILE__, __LINE__, QString());
        QSqlQuery vQuery(vpStore->database());
        for (const char *vpStatement :
             {"INSERT INTO quotes (docid, date, name) VALUES(1, '47-0412', 'Вера есть')",
              "INSERT INTO quotes (docid, date, name) VALUES(2, '47-0412E', 'Faith is')",
              "INSERT INTO paragraphs (date, id, text) VALUES('47-0412', 'E-1', ' Вера — это "
              "уверенность в ожидаемом, ''чудо'' и ёлка.')",
              "INSERT INTO paragraphs (date, id, text) VALUES('47-0412E', 'E-1', ' Faith is "
              "the substance of things hoped for, it's \"real\".')",
              "INSERT INTO bibles (book, name) VALUES(1, 'Бытие')",
              "INSERT INTO chapters (book, chapter, name) VALUES(1, 1, 'Бытие 1')",
              "INSERT INTO verses (book, chapter, verse, text) VALUES(1, 1, 1, 'В начале "
              "сотворил Бог небо и землю.')"})
            vQuery.exec(QString::fromUtf8(vpStatement));
        ssChecksum = checksum(vpStore->database());
        sqlite3 *vpHandle =
            *static_cast<sqlite3 *const *>(vpStore->database().driver()->handle().data());
        sqlite3_set_authorizer(vpHandle, authorize, nullptr);
        return vpStore;
    }();
    *apChecksum = ssChecksum;
    return *spStore;
}

void checkStatement(sqlite3 *apHandle, const QString &asStatement)
{
    const QByteArray vaStatement = asStatement.toUtf8();
    sqlite3_stmt *vpStatement = nullptr;
    const char *vpTail = nullptr;
    const int vnPrepared = sqlite3_prepare_v2(apHandle, vaStatement.constData(),
                                              int(vaStatement.size()) + 1, &vpStatement, &vpTail);
    FUZZ_CHECK(vnPrepared == SQLITE_OK,
               QString::fromUtf8(sqlite3_errmsg(apHandle)) + QLatin1Char('\n') + asStatement);
    FUZZ_CHECK(vpTail && QByteArray(vpTail).trimmed().isEmpty(), asStatement);
    FUZZ_CHECK(sqlite3_stmt_readonly(vpStatement), asStatement);
    sqlite3_finalize(vpStatement);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    if (anSize < 2)
        return 0;
    QString vsChecksum;
    StoreConnection &vStore = store(&vsChecksum);
    QSqlDatabase &vDatabase = vStore.database();
    sqlite3 *vpHandle = *static_cast<sqlite3 *const *>(vDatabase.driver()->handle().data());

    // The mode, then the two modifiers in the top bits (Russian stems).
    AdvancedSearchFlags vFlags(apData[0] & 0x1F);
    if (apData[0] & 0x40)
        vFlags |= WordForms;
    if (apData[0] & 0x80)
        vFlags |= YoAlike;
    const QStringList vcFields =
        FuzzSupport::fields(FuzzSupport::decode(apData + 2, anSize - 2), 2);
    const int vnLimit = 1 + apData[1] % 8;
    const int vnOffset = apData[1] / 8;
    const QString vsTyped = vcFields.at(0);
    // A careless caller hands the text over without doubling its apostrophes.
    for (const QString &vsText : {SearchStatements::fromUserText(vsTyped), vsTyped}) {
        SearchStatements::Search vSearch;
        vSearch.condition = SearchStatements::condition(vsText, vFlags, QStringLiteral("ru"));
        vSearch.like = SearchStatements::isLikeSearch(vFlags);
        vSearch.restriction = SearchStatements::restrictionList(vcFields.at(1));
        vSearch.hideDuplicates = apData[0] & 0x20;
        for (const bool vbIndexed : {false, true}) {
            checkStatement(vpHandle,
                           SearchStatements::sermonPage(vbIndexed, vSearch, vnLimit, vnOffset));
            checkStatement(vpHandle, SearchStatements::sermonCount(vbIndexed, vSearch));
            checkStatement(vpHandle,
                           SearchStatements::biblePage(vbIndexed, vSearch, vnLimit, vnOffset));
            checkStatement(vpHandle, SearchStatements::bibleCount(vbIndexed, vSearch));
            const SearchReader vReader([&vDatabase] { return QSqlQuery(vDatabase); }, vbIndexed);
            QVector<SearchReader::Hit> vcHits;
            vReader.sermonHits(vSearch, vsText, vnLimit, vnOffset, &vcHits);
            vReader.bibleHits(vSearch, vnLimit, vnOffset, &vcHits);
            vReader.count(false, vSearch);
            vReader.count(true, vSearch);
        }
    }
    FUZZ_CHECK(gsWrite.isEmpty(), gsWrite);
    FUZZ_CHECK(checksum(vDatabase) == vsChecksum, checksum(vDatabase));
    return 0;
}
