#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a process set up once (offscreen GUI
// application, silent log, a temporary application folder), the splitting of
// the fuzzer's bytes into fields, and a check that stops the run with a
// message (a plain assert would vanish in a release build).
namespace FuzzSupport {

// Idempotent; every target calls it first.
void init();
// Ends what init() set up, its temporary folder included (the replay's end;
// a fuzzing run never ends on its own).
void shutdown();
// A folder of this process's own that lives until it ends.
QString tempPath();

// The bytes as UTF-8 (invalid sequences become replacement characters) or,
// with abWindows1251, as windows-1251 text.
QString decode(const uint8_t *apData, size_t anSize, bool abWindows1251 = false);
// The text split at "␞" (U+241E) into exactly anCount fields: missing ones
// are empty, the last one keeps any further separators.
QStringList fields(const QString &asText, int anCount);

[[noreturn]] void fail(const char *apCondition, const char *apFile, int anLine,
                       const QString &asDetail);

} // namespace FuzzSupport

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzSupport::fail(#condition, __FILE__, __LINE__, detail);                             \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize);
