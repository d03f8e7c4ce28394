#include "models/updateimport.h"

#include "models/documentstatements.h"
#include "models/fileproblem.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>

namespace {

// How often, in paragraphs, a file's progress is reported.
const int cnProgressStep = 16;

bool run(QSqlQuery &aQuery, QSqlError *apError)
{
    if (aQuery.exec())
        return true;
    *apError = aQuery.lastError();
    return false;
}

// A file is removed even when it is read-only (the update dialog unpacks
// files read-only; some systems refuse to delete those). One that still
// cannot go is renamed so that it is not imported a second time.
void removeImported(const QString &asPath)
{
    QFile::setPermissions(asPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (QFile::remove(asPath))
        return;
    const QString vsDone = asPath + QStringLiteral(".imported");
    if (!QFile::rename(asPath, vsDone))
        qCritical().noquote() << "An imported update file cannot be removed:" << asPath;
}

} // namespace

QStringList UpdateImport::pendingFiles(const QString &asFolder)
{
    return QDir(asFolder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Unsorted);
}

QString UpdateImport::languageOf(const QString &asFileName)
{
    static const QRegularExpression scCode(QStringLiteral("^[a-z]{2}"));
    return scCode.match(asFileName).captured(0);
}

UpdateImport::Report UpdateImport::importFolder(const QString &asFolder, const Opener &aOpen,
                                                const FileStarted &aFileStarted,
                                                const Progress &aProgress)
{
    const QStringList vcFiles = pendingFiles(asFolder);
    Report vReport;
    for (int i = 0; i < vcFiles.size(); ++i) {
        const QString &vsName = vcFiles.at(i);
        const QString vsPath = QStringLiteral("%1/%2").arg(asFolder, vsName);
        aFileStarted(i + 1, vcFiles.size());
        qDebug() << "-----------------------";
        qDebug().noquote() << "vsFullFilename" << vsPath;
        const QString vsLanguage = languageOf(vsName);
        Result vResult;
        if (vsLanguage.isEmpty()) {
            vResult.msReason = QStringLiteral("its name names no data language");
            setAside(vsPath, vResult.msReason);
        } else {
            vResult = aOpen(vsLanguage).importFile(vsPath, aProgress);
        }
        if (vResult.mbImported)
            vReport.mcImported.append(vsName);
        else
            vReport.mcSetAside.append(QStringLiteral("%1: %2").arg(vsName, vResult.msReason));
    }
    return vReport;
}

UpdateImport::UpdateImport(QSqlDatabase &aConnection, QueryFactory aNewQuery, bool abTransactions,
                           bool abIndexed)
    : mConnection(aConnection), mNewQuery(std::move(aNewQuery)), mbTransactions(abTransactions),
      mbIndexed(abIndexed)
{
}

UpdateImport::Result UpdateImport::importFile(const QString &asPath, const Progress &aProgress)
{
    Result vResult;
    QString vsText;
    if (!SermonFile::readText(asPath, &vsText)) {
        vResult.msReason = QStringLiteral("it cannot be read");
    } else if (vsText.startsWith(QLatin1String("PK\x03\x04"))) {
        // An archive never unpacked: its bytes are no sermon.
        vResult.msReason = QStringLiteral("it is a zip archive");
    } else if (QSqlError vError;
               !importSermon(SermonFile::parse(vsText, true), aProgress, &vError)) {
        // A full disk, a lock or a damaged file is no fault of the update
        // file: it stays as it is, to go in at a later start. The line's mark
        // keeps the problem for the data store, which tells the reader.
        if (FileProblems::ofError(vError) != FileProblem::None) {
            vResult.msReason =
                QStringLiteral("kept for the next start: the database refused it: %1")
                    .arg(vError.text());
            qDebug().noquote() << FileProblems::logMark(vError) << "update file" << asPath
                               << vResult.msReason;
            return vResult;
        }
        vResult.msReason = QStringLiteral("its statements failed: %1").arg(vError.text());
    } else {
        vResult.mbImported = true;
        removeImported(asPath);
        return vResult;
    }
    setAside(asPath, vResult.msReason);
    return vResult;
}

void UpdateImport::setAside(const QString &asPath, const QString &asReason)
{
    QString vsAside = asPath + QStringLiteral(".failed");
    for (int n = 2; QFileInfo::exists(vsAside); ++n)
        vsAside = asPath + QStringLiteral(".failed.%1").arg(n);
    if (QFile::rename(asPath, vsAside))
        qDebug().noquote() << "Update file set aside as" << vsAside << "because" << asReason;
    else
        qCritical().noquote() << "Update file not imported, and it cannot be set aside:" << asPath
                              << "because" << asReason;
}

bool UpdateImport::importSermon(const SermonFile &aSermon, const Progress &aProgress,
                                QSqlError *apError)
{
    if (!begin()) {
        *apError = mConnection.lastError();
        return false;
    }
    bool vbOk = true;
    if (aSermon.mbReplace) {
        for (const QString &vsStatement : DocumentStatements::sermonRemoval(mbIndexed)) {
            QSqlQuery vDelete = mNewQuery();
            vDelete.prepare(vsStatement);
            vDelete.addBindValue(aSermon.msDate);
            vbOk = vbOk && run(vDelete, apError);
        }
    }
    QSqlQuery vQuery = mNewQuery();
    vbOk = vbOk && importQuote(aSermon, vQuery);
    if (!vbOk && !apError->isValid())
        *apError = vQuery.lastError();
    const qint64 vnTotal = aSermon.mcParagraphs.size();
    for (qint64 i = 0; vbOk && i < vnTotal; ++i) {
        const SermonFile::Paragraph &vParagraph = aSermon.mcParagraphs.at(int(i));
        if (!importParagraph(aSermon.msDate, vParagraph.msId, vParagraph.msText, vQuery)) {
            *apError = vQuery.lastError();
            vbOk = false;
        } else if (aProgress && ((i + 1) % cnProgressStep == 0 || i + 1 == vnTotal)) {
            aProgress(i + 1, vnTotal);
        }
    }
    vQuery.finish();
    if (vbOk && commit(apError))
        return true;
    rollBack();
    return false;
}

bool UpdateImport::importQuote(const SermonFile &aSermon, QSqlQuery &aQuery)
{
    qDebug().noquote() << aSermon.msDate << aSermon.msName << aSermon.msTranslator << aSermon.msPdf
                       << aSermon.msMp3 << aSermon.msLength << aSermon.msPlace;
    aQuery.prepare(QStringLiteral("INSERT INTO quotes (date, name, translator, pdf, mp3, length, "
                                  "place) VALUES(:date, :name, :translator, :pdf, :mp3,    "
                                  ":length, :place);"));
    aQuery.bindValue(QStringLiteral(":pdf"), aSermon.msPdf);
    aQuery.bindValue(QStringLiteral(":mp3"), aSermon.msMp3);
    aQuery.bindValue(QStringLiteral(":length"), aSermon.msLength);
    aQuery.bindValue(QStringLiteral(":date"), aSermon.msDate);
    aQuery.bindValue(QStringLiteral(":translator"), aSermon.msTranslator);
    aQuery.bindValue(QStringLiteral(":name"), aSermon.msName);
    aQuery.bindValue(QStringLiteral(":place"), aSermon.msPlace);
    return aQuery.exec();
}

bool UpdateImport::importParagraph(const QString &asDate, const QString &asId,
                                   const QString &asText, QSqlQuery &aQuery)
{
    // Prepared once for all the paragraphs of a file.
    static const QString scStatement =
        QStringLiteral("INSERT INTO paragraphs (date, id, text) VALUES (:date, :id, :text);");
    if (aQuery.lastQuery() != scStatement)
        aQuery.prepare(scStatement);
    aQuery.bindValue(QStringLiteral(":date"), asDate);
    aQuery.bindValue(QStringLiteral(":text"), asText);
    aQuery.bindValue(QStringLiteral(":id"), asId);
    return aQuery.exec();
}

bool UpdateImport::begin()
{
    if (mbTransactions)
        return mConnection.transaction();
    QSqlQuery vQuery = mNewQuery();
    return vQuery.exec(QStringLiteral("BEGIN;"));
}

bool UpdateImport::commit(QSqlError *apError)
{
    // As a statement even where the driver has transactions: its error then
    // carries SQLite's code (a full disk shows at the commit), which the
    // driver's own commit leaves out.
    QSqlQuery vQuery = mNewQuery();
    if (vQuery.exec(QStringLiteral("COMMIT;")))
        return true;
    *apError = vQuery.lastError();
    return false;
}

void UpdateImport::rollBack()
{
    if (mbTransactions) {
        mConnection.rollback();
        return;
    }
    QSqlQuery vQuery = mNewQuery();
    vQuery.exec(QStringLiteral("ROLLBACK;"));
}
