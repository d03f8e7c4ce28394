#pragma once

#include <QString>

// Update files may arrive zipped under their own name: "ru_12.txt" is then an
// archive holding the entry "ru_12.txt".
namespace ArchiveUnpacker {

// Replaces the archive at asArchivePath by its entry of the same file name.
// The entry is read completely before the archive is replaced, and the
// replacement happens in one step, so a failure leaves the archive as it was.
// Returns false, touching nothing, for a file that is no archive or lacks
// that entry.
bool extractNamedEntry(const QString &asArchivePath);

} // namespace ArchiveUnpacker
