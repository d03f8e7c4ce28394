#include "models/fileproblem.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>

namespace {

// SQLite's primary result codes that are about the file, not the statement.
enum SqliteCode
{
    cnBusy = 5,
    cnLocked = 6,
    cnReadOnly = 8,
    cnIoError = 10,
    cnCorrupt = 11,
    cnFull = 13,
    cnCantOpen = 14,
    cnNotADatabase = 26
};

thread_local FileProblem tStatementProblem = FileProblem::None;

quint32 bigEndian(const QByteArray &aBytes, int anOffset, int anSize)
{
    quint32 vnValue = 0;
    for (int i = 0; i < anSize; ++i)
        vnValue = (vnValue << 8) | static_cast<quint8>(aBytes.at(anOffset + i));
    return vnValue;
}

} // namespace

namespace FileProblems {

FileProblem ofFile(const QString &asPath, bool *apNew)
{
    *apNew = false;
    const QFileInfo vInfo(asPath);
    if (vInfo.isDir())
        return FileProblem::Folder;
    if (!vInfo.exists()) {
        *apNew = true;
        return FileProblem::None;
    }
    QFile vFile(asPath);
    if (!vFile.open(QIODevice::ReadOnly))
        return FileProblem::Unreadable;
    const qint64 vnSize = vFile.size();
    if (vnSize == 0) {
        *apNew = true;
        return FileProblem::None;
    }
    const QByteArray vaHeader = vFile.read(100);
    static const QByteArray scMagic("SQLite format 3\0", 16);
    if (!vaHeader.startsWith(scMagic))
        return vaHeader.size() < scMagic.size() && scMagic.startsWith(vaHeader)
                   ? FileProblem::Damaged
                   : FileProblem::NotDatabase;
    if (vaHeader.size() < 100)
        return FileProblem::Damaged;
    quint32 vnPageSize = bigEndian(vaHeader, 16, 2);
    if (vnPageSize == 1)
        vnPageSize = 65536;
    if (vnPageSize < 512 || vnPageSize > 65536 || (vnPageSize & (vnPageSize - 1)) != 0)
        return FileProblem::Damaged;
    // With a write-ahead log beside it the file may lag behind its pages.
    if (QFileInfo::exists(asPath + QStringLiteral("-wal")))
        return FileProblem::None;
    if (vnSize % vnPageSize != 0)
        return FileProblem::Damaged;
    // The page count is only trustworthy when the version it was written
    // with matches the change counter.
    const quint32 vnPages = bigEndian(vaHeader, 28, 4);
    if (vnPages > 0 && bigEndian(vaHeader, 24, 4) == bigEndian(vaHeader, 92, 4) &&
        vnSize < static_cast<qint64>(vnPages) * vnPageSize)
        return FileProblem::Damaged;
    return FileProblem::None;
}

bool isWriteProtected(const QString &asPath)
{
    const QFileInfo vInfo(asPath);
    if (!vInfo.exists())
        return false;
    const QFile::Permissions vAnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return (vInfo.permissions() & vAnyWrite) == 0 || !vInfo.isWritable();
}

FileProblem ofError(const QSqlError &aError)
{
    bool vbNumber = false;
    const int vnCode = aError.nativeErrorCode().toInt(&vbNumber) & 0xff;
    if (!vbNumber)
        return FileProblem::None;
    switch (vnCode) {
    case cnBusy:
    case cnLocked:
        return FileProblem::Locked;
    case cnReadOnly:
        return FileProblem::ReadOnly;
    case cnIoError:
    case cnCorrupt:
        return FileProblem::Damaged;
    case cnCantOpen:
        return FileProblem::Unreadable;
    case cnFull:
        return FileProblem::Full;
    case cnNotADatabase:
        return FileProblem::NotDatabase;
    default:
        return FileProblem::None;
    }
}

const char *logMark(const QSqlError &aError)
{
    const FileProblem vProblem = ofError(aError);
    if (vProblem != FileProblem::None) {
        tStatementProblem = vProblem;
        return "Database file problem:";
    }
    // A statement on a connection that could not be opened fails without
    // an error of its own; the opening has told about the file already.
    if (aError.type() == QSqlError::NoError)
        return "No database open:";
    return "SQL Error:";
}

FileProblem takeStatementProblem()
{
    const FileProblem vProblem = tStatementProblem;
    tStatementProblem = FileProblem::None;
    return vProblem;
}

} // namespace FileProblems
