#pragma once

#include <QString>
#include <QStringList>

// Update files may arrive zipped under their own name: "ru_12.txt" is then an
// archive holding the entry "ru_12.txt".
//
// An archive is read completely, and every entry checked, before anything is
// written; each file is then replaced in one step. A damaged archive, or one
// that is not an archive at all, leaves everything as it was.
namespace ArchiveUnpacker {

// The most an archive may expand to when all its entries are extracted.
constexpr qint64 cnMaxExtractedSize = qint64(256) * 1024 * 1024;

// Replaces the archive at asArchivePath by its entry of the same file name.
// Returns false, touching nothing, for a file that is no archive or lacks
// that entry.
bool extractNamedEntry(const QString &asArchivePath);

// Extracts every entry of the archive at asArchivePath into asFolder; an
// entry named like the archive replaces it. An entry whose name is not a
// plain file name (a path, "..", a leading dot) is skipped, and an archive
// that would expand to more than anSizeLimit bytes is refused whole. Returns
// the paths of the files written: none for a refused archive or a file that
// is no archive.
QStringList extractAll(const QString &asArchivePath, const QString &asFolder,
                       qint64 anSizeLimit = cnMaxExtractedSize);

} // namespace ArchiveUnpacker
