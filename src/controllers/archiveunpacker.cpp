#include "controllers/archiveunpacker.h"

#include "controllers/filename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QSaveFile>

#include <quazip.h>
#include <quazipfile.h>

namespace ArchiveUnpacker {

namespace {

// Reads the current entry of an open archive whole into aContent, checking
// its size and CRC; more than anBudget bytes fail the read, whatever size
// the archive declares.
bool readCurrentEntry(QuaZip &aZip, qint64 anBudget, QByteArray &aContent,
                      const QString &asArchivePath)
{
    QuaZipFile vEntry(&aZip);
    if (!vEntry.open(QIODevice::ReadOnly)) {
        qDebug() << "Damaged archive:" << asArchivePath;
        return false;
    }
    aContent.clear();
    for (;;) {
        const QByteArray vPiece = vEntry.read(64 * 1024);
        if (vPiece.isEmpty())
            break;
        if (vPiece.size() > anBudget - aContent.size()) {
            qDebug() << "Archive too large:" << asArchivePath;
            return false;
        }
        aContent.append(vPiece);
    }
    // A read error is forgotten by close(), which checks the CRC only after a complete read.
    const bool vbReadOk = vEntry.getZipError() == UNZ_OK && aContent.size() == vEntry.usize();
    vEntry.close();
    if (!vbReadOk || vEntry.getZipError() != UNZ_OK) {
        qDebug() << "Damaged archive:" << asArchivePath;
        return false;
    }
    return true;
}

bool writeWhole(const QString &asPath, const QByteArray &aContent)
{
    QSaveFile vTarget(asPath);
    if (!vTarget.open(QIODevice::WriteOnly) || vTarget.write(aContent) != aContent.size() ||
        !vTarget.commit()) {
        qDebug() << "Cannot write" << asPath << vTarget.errorString();
        return false;
    }
    return true;
}

// Whether the entries' declared sizes add up to anLimit bytes at most.
bool declaredSizeWithin(QuaZip &aZip, qint64 anLimit)
{
    quint64 vnLeft = quint64(qMax<qint64>(anLimit, 0));
    const QList<QuaZipFileInfo64> vcInfo = aZip.getFileInfoList64();
    for (const QuaZipFileInfo64 &vInfo : vcInfo) {
        if (vInfo.uncompressedSize > vnLeft)
            return false;
        vnLeft -= vInfo.uncompressedSize;
    }
    return true;
}

} // namespace

bool extractNamedEntry(const QString &asArchivePath)
{
    QByteArray vaContent;
    {
        QuaZip vZip(asArchivePath);
        if (!vZip.open(QuaZip::mdUnzip) ||
            !vZip.setCurrentFile(QFileInfo(asArchivePath).fileName()))
            return false;
        if (!readCurrentEntry(vZip, cnMaxExtractedSize, vaContent, asArchivePath))
            return false;
    }
    return writeWhole(asArchivePath, vaContent);
}

QStringList extractAll(const QString &asArchivePath, const QString &asFolder, qint64 anSizeLimit)
{
    QList<QPair<QString, QByteArray>> vcEntries;
    {
        QuaZip vZip(asArchivePath);
        if (!vZip.open(QuaZip::mdUnzip))
            return {};
        // The declared sizes refuse a bomb before anything is inflated; the
        // budget below holds even where they lie.
        if (!declaredSizeWithin(vZip, anSizeLimit)) {
            qDebug() << "Archive too large:" << asArchivePath;
            return {};
        }
        qint64 vnBudget = anSizeLimit;
        for (bool vbMore = vZip.goToFirstFile(); vbMore; vbMore = vZip.goToNextFile()) {
            const QString vsName = vZip.getCurrentFileName();
            if (!FileName::isPlain(vsName)) {
                qDebug() << "Refused archive entry:" << vsName << "in" << asArchivePath;
                continue;
            }
            QByteArray vaContent;
            if (!readCurrentEntry(vZip, vnBudget, vaContent, asArchivePath))
                return {};
            vnBudget -= vaContent.size();
            vcEntries.append({vsName, vaContent});
        }
        if (vZip.getZipError() != UNZ_OK) {
            qDebug() << "Damaged archive:" << asArchivePath;
            return {};
        }
    }
    QStringList vcWritten;
    const QDir vFolder(asFolder);
    const QString vsArchive = QFileInfo(asArchivePath).absoluteFilePath();
    bool vbReplaced = false;
    for (const auto &vEntry : qAsConst(vcEntries)) {
        const QString vsPath = vFolder.filePath(vEntry.first);
        if (writeWhole(vsPath, vEntry.second)) {
            vcWritten.append(vsPath);
            vbReplaced = vbReplaced || QFileInfo(vsPath).absoluteFilePath() == vsArchive;
        }
    }
    // An archive named "*.txt" that no entry replaced would be read as an
    // update file at the next start; once unpacked it has done its work.
    if (!vcWritten.isEmpty() && !vbReplaced && !QFile::remove(asArchivePath))
        qDebug() << "Cannot remove the unpacked archive" << asArchivePath;
    return vcWritten;
}

} // namespace ArchiveUnpacker
