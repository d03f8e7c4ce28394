#include "controllers/userfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {

const QString csSettings = QStringLiteral("setting.ini");

// Copies every file below asFrom that is missing below asTo, keeping the
// relative paths; the copies belong to the reader and may be written.
void copyMissing(const QString &asFrom, const QString &asTo)
{
    QDirIterator vFiles(asFrom, QDir::Files, QDirIterator::Subdirectories);
    while (vFiles.hasNext()) {
        const QString vsSource = vFiles.next();
        const QString vsTarget = asTo + QLatin1Char('/') + QDir(asFrom).relativeFilePath(vsSource);
        if (QFileInfo::exists(vsTarget))
            continue;
        QDir().mkpath(QFileInfo(vsTarget).absolutePath());
        if (QFile::copy(vsSource, vsTarget))
            QFile::setPermissions(vsTarget, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
        else
            qWarning("Cannot copy %s to %s", qPrintable(vsSource), qPrintable(vsTarget));
    }
}

} // namespace

namespace UserFolder {

QString templateFolder(const QString &asExecutableFolder)
{
    const QString vsTemplate =
        QDir::cleanPath(asExecutableFolder + QStringLiteral("/../share/quillmark"));
    return QFileInfo::exists(vsTemplate + QLatin1Char('/') + csSettings) ? vsTemplate : QString();
}

bool isInstalled(const QString &asExecutableFolder)
{
    // access() rather than the permission bits: what matters is whether
    // this process may write there.
    return !templateFolder(asExecutableFolder).isEmpty() ||
           ::access(QFile::encodeName(asExecutableFolder).constData(), W_OK) != 0;
}

QString prepare(const QString &asTemplate)
{
    const QString vsFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/quillmark");
    QDir().mkpath(vsFolder);
    if (!asTemplate.isEmpty() && !QFileInfo::exists(vsFolder + QLatin1Char('/') + csSettings))
        copyMissing(asTemplate, vsFolder);
    return vsFolder;
}

} // namespace UserFolder
