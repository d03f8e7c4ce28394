#include "controllers/archiveunpacker.h"

#include <QDebug>
#include <QFileInfo>
#include <QSaveFile>

#include <quazip.h>
#include <quazipfile.h>

namespace ArchiveUnpacker {

bool extractNamedEntry(const QString &asArchivePath)
{
    const QString vsEntry = QFileInfo(asArchivePath).fileName();
    QByteArray vaContent;
    {
        QuaZip vZip(asArchivePath);
        if (!vZip.open(QuaZip::mdUnzip))
            return false;
        if (!vZip.setCurrentFile(vsEntry))
            return false;
        QuaZipFile vEntry(&vZip);
        if (!vEntry.open(QIODevice::ReadOnly))
            return false;
        vaContent = vEntry.readAll();
        // A read error is forgotten by close(), which checks the CRC only after a complete read.
        const bool vbReadOk = vEntry.getZipError() == UNZ_OK && vaContent.size() == vEntry.usize();
        vEntry.close();
        if (!vbReadOk || vEntry.getZipError() != UNZ_OK) {
            qDebug() << "Damaged archive:" << asArchivePath;
            return false;
        }
    }
    QSaveFile vTarget(asArchivePath);
    if (!vTarget.open(QIODevice::WriteOnly) || vTarget.write(vaContent) != vaContent.size() ||
        !vTarget.commit()) {
        qDebug() << "Cannot write" << asArchivePath << vTarget.errorString();
        return false;
    }
    return true;
}

} // namespace ArchiveUnpacker
