// The icu tokenizer as SQLite drives it: any bytes (invalid UTF-8, NULs,
// huge tokens) give tokens whose byte offsets lie within the input, in order,
// with positions counting up from 0.
#include "fuzzsupport.h"

#include "sqlite/icutokenizer.h"

#include <cstring>
#include <memory>

namespace {

void tokenize(const sqlite3_tokenizer_module *apModule, const char *apLocale, const char *apInput,
              int anBytes)
{
    const char *vpArgv[] = {apLocale};
    sqlite3_tokenizer *vpTokenizer = nullptr;
    FUZZ_CHECK(apModule->xCreate(apLocale ? 1 : 0, vpArgv, &vpTokenizer) == 0 && vpTokenizer,
               QString::fromUtf8(apLocale ? apLocale : "(none)"));
    vpTokenizer->pModule = apModule;
    sqlite3_tokenizer_cursor *vpCursor = nullptr;
    FUZZ_CHECK(apModule->xOpen(vpTokenizer, apInput, anBytes, &vpCursor) == 0 && vpCursor,
               QString());
    vpCursor->pTokenizer = vpTokenizer;
    const int vnLength = anBytes < 0 ? int(std::strlen(apInput)) : anBytes;
    int vnExpected = 0;
    int vnLastEnd = 0;
    const char *vpToken = nullptr;
    int vnBytes = 0, vnStart = 0, vnEnd = 0, vnPosition = 0;
    while (apModule->xNext(vpCursor, &vpToken, &vnBytes, &vnStart, &vnEnd, &vnPosition) == 0) {
        const QString vsWhere = QStringLiteral("token %1: %2-%3 of %4, after %5")
                                    .arg(vnPosition)
                                    .arg(vnStart)
                                    .arg(vnEnd)
                                    .arg(vnLength)
                                    .arg(vnLastEnd);
        FUZZ_CHECK(vnStart >= vnLastEnd && vnStart <= vnEnd && vnEnd <= vnLength, vsWhere);
        FUZZ_CHECK(vnPosition == vnExpected, vsWhere);
        FUZZ_CHECK(vnBytes >= 0 && (vnBytes == 0 || vpToken), vsWhere);
        // Every byte of the token must be readable (ASan checks the copy).
        const QByteArray vaToken(vpToken, vnBytes);
        Q_UNUSED(vaToken);
        vnLastEnd = vnEnd;
        ++vnExpected;
    }
    apModule->xClose(vpCursor);
    apModule->xDestroy(vpTokenizer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    if (anSize == 0)
        return 0;
    static const char *const scLocales[] = {"ru_RU", "en_US", "fr", "", "no_such@locale=x", "th"};
    const char *vpLocale = apData[0] < 6 * 40 ? scLocales[apData[0] / 40] : nullptr;
    // An exact-size copy, so that any read past the end is caught.
    const QByteArray vaInput(reinterpret_cast<const char *>(apData) + 1, int(anSize) - 1);
    std::unique_ptr<char[]> vpExact(new char[vaInput.size() ? vaInput.size() : 1]);
    std::memcpy(vpExact.get(), vaInput.constData(), size_t(vaInput.size()));
    const sqlite3_tokenizer_module *vpModule = SqliteIcu::icuTokenizerModule();
    tokenize(vpModule, vpLocale, vpExact.get(), vaInput.size());
    // nBytes < 0: up to the first NUL, as SQLite may call it.
    tokenize(vpModule, vpLocale, vaInput.constData(), -1);
    return 0;
}
