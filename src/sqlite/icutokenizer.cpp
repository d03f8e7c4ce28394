#include "sqlite/icutokenizer.h"

// Only for the result codes; the module calls no SQLite function.
#include <sqlite3.h>

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

// A tokenizer belongs to one full-text table of one connection, and SQLite never
// runs one connection on two threads at once, so its members need no lock.
struct IcuTokenizer : sqlite3_tokenizer
{
    // Opening a break iterator loads and resolves the locale's rules; cloning
    // this one per text is much cheaper.
    UBreakIterator *mpTemplate = nullptr;
    // The iterator of the last closed cursor. Indexing opens one cursor per
    // column value, one after the other, so this nearly always saves the clone.
    UBreakIterator *mpSpare = nullptr;
};

struct IcuCursor : sqlite3_tokenizer_cursor
{
    IcuTokenizer *mpOwner = nullptr;
    UBreakIterator *mpIterator = nullptr;
    // The input as UTF-16, and for each of its code units the byte offset in the
    // input of the character it came from; one more entry holds the input size.
    std::vector<UChar> mcText;
    std::vector<int> mcByteOffsets;
    std::vector<UChar> mcFolded;
    std::string msToken;
    int32_t mnBoundary = 0;
    int mnPosition = 0;
};

UBreakIterator *openWordIterator(const char *apLocale)
{
    UErrorCode vStatus = U_ZERO_ERROR;
    UBreakIterator *vpIterator = ubrk_open(UBRK_WORD, apLocale, nullptr, 0, &vStatus);
    if (U_FAILURE(vStatus)) {
        if (vpIterator)
            ubrk_close(vpIterator);
        return nullptr;
    }
    return vpIterator;
}

int createTokenizer(int anArgc, const char *const *apArgv, sqlite3_tokenizer **appTokenizer)
{
    const char *vpLocale = anArgc > 0 && apArgv[0] ? apArgv[0] : "";
    UBreakIterator *vpTemplate = openWordIterator(vpLocale);
    if (!vpTemplate)
        vpTemplate = openWordIterator("");
    if (!vpTemplate)
        return SQLITE_ERROR;
    auto *vpTokenizer = new (std::nothrow) IcuTokenizer;
    if (!vpTokenizer) {
        ubrk_close(vpTemplate);
        return SQLITE_NOMEM;
    }
    vpTokenizer->pModule = SqliteIcu::icuTokenizerModule();
    vpTokenizer->mpTemplate = vpTemplate;
    *appTokenizer = vpTokenizer;
    return SQLITE_OK;
}

int destroyTokenizer(sqlite3_tokenizer *apTokenizer)
{
    auto *vpTokenizer = static_cast<IcuTokenizer *>(apTokenizer);
    if (vpTokenizer->mpSpare)
        ubrk_close(vpTokenizer->mpSpare);
    ubrk_close(vpTokenizer->mpTemplate);
    delete vpTokenizer;
    return SQLITE_OK;
}

UBreakIterator *takeIterator(IcuTokenizer *apTokenizer)
{
    if (UBreakIterator *vpSpare = apTokenizer->mpSpare) {
        apTokenizer->mpSpare = nullptr;
        return vpSpare;
    }
    UErrorCode vStatus = U_ZERO_ERROR;
    UBreakIterator *vpIterator = ubrk_clone(apTokenizer->mpTemplate, &vStatus);
    if (U_FAILURE(vStatus)) {
        if (vpIterator)
            ubrk_close(vpIterator);
        return nullptr;
    }
    return vpIterator;
}

void returnIterator(IcuTokenizer *apTokenizer, UBreakIterator *apIterator)
{
    if (!apIterator)
        return;
    if (apTokenizer->mpSpare)
        ubrk_close(apIterator);
    else
        apTokenizer->mpSpare = apIterator;
}

// Malformed sequences become U+FFFD, one per maximal ill-formed part, so the
// text stays segmentable and every code unit still knows its byte offset.
void decodeUtf8(const char *apInput, int anBytes, IcuCursor *apCursor)
{
    const auto *vpBytes = reinterpret_cast<const uint8_t *>(apInput);
    // Never more UTF-16 code units than input bytes.
    apCursor->mcText.resize(static_cast<size_t>(anBytes) + 1);
    apCursor->mcByteOffsets.resize(static_cast<size_t>(anBytes) + 1);
    UChar *vpUnits = apCursor->mcText.data();
    int *vpOffsets = apCursor->mcByteOffsets.data();
    int32_t vnUnits = 0;
    int32_t vnByte = 0;
    while (vnByte < anBytes) {
        const int32_t vnStart = vnByte;
        UChar32 vCharacter;
        U8_NEXT(vpBytes, vnByte, anBytes, vCharacter);
        if (vCharacter < 0)
            vCharacter = 0xFFFD;
        if (U_IS_BMP(vCharacter)) {
            vpOffsets[vnUnits] = vnStart;
            vpUnits[vnUnits++] = static_cast<UChar>(vCharacter);
        } else {
            vpOffsets[vnUnits] = vnStart;
            vpUnits[vnUnits++] = U16_LEAD(vCharacter);
            vpOffsets[vnUnits] = vnStart;
            vpUnits[vnUnits++] = U16_TRAIL(vCharacter);
        }
    }
    vpOffsets[vnUnits] = anBytes;
    apCursor->mcText.resize(static_cast<size_t>(vnUnits));
    apCursor->mcByteOffsets.resize(static_cast<size_t>(vnUnits) + 1);
}

int openCursor(sqlite3_tokenizer *apTokenizer, const char *apInput, int anBytes,
               sqlite3_tokenizer_cursor **appCursor)
{
    try {
        auto *vpTokenizer = static_cast<IcuTokenizer *>(apTokenizer);
        if (!apInput)
            anBytes = 0;
        else if (anBytes < 0)
            anBytes = static_cast<int>(std::strlen(apInput));

        auto vpCursor = std::make_unique<IcuCursor>();
        vpCursor->pTokenizer = apTokenizer;
        vpCursor->mpOwner = vpTokenizer;
        decodeUtf8(apInput, anBytes, vpCursor.get());

        vpCursor->mpIterator = takeIterator(vpTokenizer);
        if (!vpCursor->mpIterator)
            return SQLITE_ERROR;
        // An empty vector may have no storage, and ICU wants a real pointer.
        static const UChar scEmpty[1] = {0};
        const UChar *vpText = vpCursor->mcText.empty() ? scEmpty : vpCursor->mcText.data();
        UErrorCode vStatus = U_ZERO_ERROR;
        ubrk_setText(vpCursor->mpIterator, vpText, static_cast<int32_t>(vpCursor->mcText.size()),
                     &vStatus);
        if (U_FAILURE(vStatus)) {
            ubrk_close(vpCursor->mpIterator);
            return SQLITE_ERROR;
        }
        vpCursor->mnBoundary = ubrk_first(vpCursor->mpIterator);
        *appCursor = vpCursor.release();
        return SQLITE_OK;
    } catch (const std::bad_alloc &) {
        return SQLITE_NOMEM;
    }
}

int closeCursor(sqlite3_tokenizer_cursor *apCursor)
{
    auto *vpCursor = static_cast<IcuCursor *>(apCursor);
    returnIterator(vpCursor->mpOwner, vpCursor->mpIterator);
    delete vpCursor;
    return SQLITE_OK;
}

// Full case folding of one segment into msToken, as UTF-8.
bool foldSegment(IcuCursor *apCursor, int32_t anStart, int32_t anEnd)
{
    const UChar *vpSource = apCursor->mcText.data() + anStart;
    const int32_t vnLength = anEnd - anStart;
    // Full folding turns one code unit into at most three in Unicode's data; the
    // retry covers data that might one day go further.
    if (apCursor->mcFolded.size() < static_cast<size_t>(vnLength) * 3)
        apCursor->mcFolded.resize(static_cast<size_t>(vnLength) * 3);
    UErrorCode vStatus = U_ZERO_ERROR;
    int32_t vnFolded =
        u_strFoldCase(apCursor->mcFolded.data(), static_cast<int32_t>(apCursor->mcFolded.size()),
                      vpSource, vnLength, U_FOLD_CASE_DEFAULT, &vStatus);
    if (vStatus == U_BUFFER_OVERFLOW_ERROR) {
        apCursor->mcFolded.resize(static_cast<size_t>(vnFolded));
        vStatus = U_ZERO_ERROR;
        vnFolded = u_strFoldCase(apCursor->mcFolded.data(), vnFolded, vpSource, vnLength,
                                 U_FOLD_CASE_DEFAULT, &vStatus);
    }
    if (U_FAILURE(vStatus))
        return false;

    // At most three UTF-8 bytes per UTF-16 code unit.
    std::string &vsToken = apCursor->msToken;
    vsToken.resize(static_cast<size_t>(vnFolded) * 3);
    int32_t vnBytes = 0;
    u_strToUTF8WithSub(&vsToken[0], static_cast<int32_t>(vsToken.size()), &vnBytes,
                       apCursor->mcFolded.data(), vnFolded, 0xFFFD, nullptr, &vStatus);
    if (U_FAILURE(vStatus))
        return false;
    vsToken.resize(static_cast<size_t>(vnBytes));
    return true;
}

int nextToken(sqlite3_tokenizer_cursor *apCursor, const char **appToken, int *apnBytes,
              int *apnStartOffset, int *apnEndOffset, int *apnPosition)
{
    try {
        auto *vpCursor = static_cast<IcuCursor *>(apCursor);
        for (;;) {
            const int32_t vnStart = vpCursor->mnBoundary;
            const int32_t vnEnd = ubrk_next(vpCursor->mpIterator);
            if (vnEnd == UBRK_DONE)
                return SQLITE_DONE;
            vpCursor->mnBoundary = vnEnd;

            int32_t vnIndex = vnStart;
            UChar32 vFirst;
            U16_NEXT(vpCursor->mcText.data(), vnIndex, vnEnd, vFirst);
            if (u_isspace(vFirst))
                continue;
            if (!foldSegment(vpCursor, vnStart, vnEnd))
                return SQLITE_ERROR;

            *appToken = vpCursor->msToken.data();
            *apnBytes = static_cast<int>(vpCursor->msToken.size());
            *apnStartOffset = vpCursor->mcByteOffsets[static_cast<size_t>(vnStart)];
            *apnEndOffset = vpCursor->mcByteOffsets[static_cast<size_t>(vnEnd)];
            *apnPosition = vpCursor->mnPosition++;
            return SQLITE_OK;
        }
    } catch (const std::bad_alloc &) {
        return SQLITE_NOMEM;
    }
}

const sqlite3_tokenizer_module scModule = {
    0, createTokenizer, destroyTokenizer, openCursor, closeCursor, nextToken,
};

} // namespace

namespace SqliteIcu {

const sqlite3_tokenizer_module *icuTokenizerModule()
{
    return &scModule;
}

} // namespace SqliteIcu
