// Zipped update files: any bytes unpack without harm, only into the target
// folder, only under plain entry names, and never beyond the size limit. A
// failed unpacking leaves the archive as it was.
#include "fuzzsupport.h"

#include "controllers/archiveunpacker.h"
#include "controllers/filename.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 cnLimit = 64 * 1024;

// Every file below asFolder, with its size.
QStringList listing(const QString &asFolder, qint64 *apTotal = nullptr)
{
    QStringList vcFiles;
    QDirIterator vFiles(asFolder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
    while (vFiles.hasNext()) {
        vcFiles.append(vFiles.next());
        if (apTotal)
            *apTotal += vFiles.fileInfo().size();
    }
    vcFiles.sort();
    return vcFiles;
}

void writeArchive(const QString &asPath, const QByteArray &aBytes)
{
    QFile vFile(asPath);
    FUZZ_CHECK(vFile.open(QIODevice::WriteOnly) && vFile.write(aBytes) == aBytes.size(), asPath);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    const QString vsRoot = FuzzSupport::tempPath() + QStringLiteral("/archive");
    const QString vsFolder = vsRoot + QStringLiteral("/import");
    QDir(vsRoot).removeRecursively();
    QDir().mkpath(vsFolder);
    const QString vsArchive = vsFolder + QStringLiteral("/ru_12.txt");
    const QByteArray vaBytes(reinterpret_cast<const char *>(apData), int(anSize));

    writeArchive(vsArchive, vaBytes);
    if (!ArchiveUnpacker::extractNamedEntry(vsArchive)) {
        QFile vFile(vsArchive);
        FUZZ_CHECK(vFile.open(QIODevice::ReadOnly) && vFile.readAll() == vaBytes,
                   QStringLiteral("a refused archive was changed"));
    }

    writeArchive(vsArchive, vaBytes);
    const QStringList vcWritten = ArchiveUnpacker::extractAll(vsArchive, vsFolder, cnLimit);
    qint64 vnTotal = 0;
    QStringList vcFiles = listing(vsRoot, &vnTotal);
    for (const QString &vsPath : vcWritten) {
        const QFileInfo vFile(vsPath);
        FUZZ_CHECK(vFile.absolutePath() == QFileInfo(vsFolder).absoluteFilePath(), vsPath);
        FUZZ_CHECK(FileName::isPlain(vFile.fileName()), vsPath);
        FUZZ_CHECK(vcFiles.contains(vsPath), vsPath);
    }
    if (vcWritten.isEmpty()) {
        FUZZ_CHECK(vcFiles == QStringList{vsArchive}, vcFiles.join(QLatin1Char('\n')));
    } else {
        vcFiles.removeAll(vsArchive); // still there when no entry replaced it and removal failed
        FUZZ_CHECK(vcFiles.size() <= vcWritten.size(), vcFiles.join(QLatin1Char('\n')));
        FUZZ_CHECK(vnTotal <= cnLimit, QString::number(vnTotal));
    }
    return 0;
}
