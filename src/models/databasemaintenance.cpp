// The data store's maintenance operations: exporting checked documents for
// the update server and deleting them, and the one transaction of a
// conversion run.
#include "models/database.h"
#include "models/databaseguards.h"
#include "models/searchstatements.h"
#include "models/sqlerror.h"
#include "models/storeconnection.h"
#include "models/storeenvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>

DocumentExport::Report Database::exportSql(const QString &asLanguage, bool abBible,
                                           const QString &asKeys)
{
    Lock vLock(*this);
    LanguageSwitch vSwitch(*this, asLanguage);
    QSettings *vpSettings = mEnvironment.settings();
    const QString vsCounter = QStringLiteral("expVer%0").arg(msCurrentLanguage);

    DocumentExport::Request vRequest;
    vRequest.msLanguage = msCurrentLanguage;
    vRequest.mbBible = abBible;
    vRequest.msKeys = asKeys;
    vRequest.msFolder = mEnvironment.exportFolder();
    vRequest.mbIndexed = mpConnection->hasDocumentIndexes();
    vRequest.mnNumber = qMax(0, vpSettings->value(vsCounter, 0).toInt()) + 1;
    // A number whose archive is still there (the counter was reset, or the
    // settings file replaced) is passed over rather than written over.
    while (
        QFileInfo::exists(QStringLiteral("%0/%1.zip")
                              .arg(vRequest.msFolder, DocumentExport::baseName(vRequest.msLanguage,
                                                                               vRequest.mnNumber))))
        ++vRequest.mnNumber;

    const DocumentExport::Report vReport = DocumentExport::exportArchive(queryFactory(), vRequest);
    if (vReport.mStatus == DocumentExport::Report::Written) {
        vpSettings->setValue(vsCounter, vReport.mnNumber);
        vpSettings->sync();
    } else if (vReport.mStatus != DocumentExport::Report::NothingSelected) {
        qDebug().noquote() << "Export to" << QDir::toNativeSeparators(vReport.msPath)
                           << "failed:" << vReport.msProblem;
    }
    if (vReport.mnDropped > 0)
        qDebug().noquote() << "Export" << QDir::toNativeSeparators(vReport.msPath) << "left out"
                           << vReport.mnDropped << "characters that XML does not allow";
    return vReport;
}

DocumentRemoval::Report Database::deleteSql(const QString &asLanguage, bool abBible,
                                            const QString &asKeys)
{
    DocumentRemoval::Report vReport;
    const QString vsKeys = asKeys.trimmed();
    if (vsKeys.isEmpty())
        return vReport;
    // The keys go into the statements as text: nothing but numbers may.
    if (!SearchStatements::isKeyList(vsKeys)) {
        vReport.mStatus = DocumentRemoval::Report::NotAKeyList;
        vReport.msProblem = vsKeys;
        return vReport;
    }
    const QStringList vcStatements =
        DocumentRemoval::statements(abBible, SearchStatements::restrictionList(vsKeys));

    Lock vLock(*this);
    LanguageSwitch vSwitch(*this, asLanguage);
    QSqlDatabase &vConnection = mpConnection->database();
    const bool vbTransaction = mpConnection->hasTransactions() && vConnection.transaction();
    QSqlQuery vQuery = newQuery();
    auto fail = [&](const QString &asStatement) {
        // All or nothing: a sermon without its paragraphs, or verses
        // without their chapter, would be worse than no deletion.
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError()) << "in" << asStatement;
        vReport.mStatus = DocumentRemoval::Report::Failed;
        vReport.msProblem = vQuery.lastError().text();
        if (vbTransaction)
            vConnection.rollback();
        return vReport;
    };
    // Counted first: what a full-text table reports as changed rows is not
    // to be relied on.
    const QString vsCount =
        QStringLiteral("SELECT count(*) FROM %0_content WHERE docid IN %1;")
            .arg(abBible ? QStringLiteral("chapters") : QStringLiteral("quotes"),
                 SearchStatements::restrictionList(vsKeys));
    if (!vQuery.exec(vsCount) || !vQuery.next())
        return fail(vsCount);
    vReport.mnDeleted = vQuery.value(0).toInt();
    for (const QString &vsStatement : vcStatements)
        if (!vQuery.exec(vsStatement))
            return fail(vsStatement);
    if (vbTransaction && !vConnection.commit()) {
        QUILLMARK_LOG_SQL_ERROR(vConnection.lastError());
        vReport.mStatus = DocumentRemoval::Report::Failed;
        vReport.msProblem = vConnection.lastError().text();
        vConnection.rollback();
        return vReport;
    }
    vReport.mStatus = DocumentRemoval::Report::Deleted;
    return vReport;
}

bool Database::beginBatch()
{
    Lock vLock(*this);
    if (mbInBatch)
        return false;
    QSqlQuery vQuery = newQuery();
    if (!vQuery.exec(QStringLiteral("BEGIN;"))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    mbInBatch = true;
    mbBatchBroken = false;
    return true;
}

bool Database::compact()
{
    Lock vLock(*this);
    if (mbInBatch)
        return false;
    return mpConnection->compact();
}

bool Database::batchBroken() const
{
    Lock vLock(*this);
    return mbBatchBroken;
}

bool Database::breaksBatch(const QSqlError &aError)
{
    if (!mbInBatch || FileProblems::ofError(aError) == FileProblem::None)
        return false;
    mbBatchBroken = true;
    return true;
}

bool Database::endBatch()
{
    Lock vLock(*this);
    if (!mbInBatch)
        return false;
    mbInBatch = false;
    QSqlQuery vQuery = newQuery();
    // The commit as a statement, so that a full disk shows with its code.
    if (!mbBatchBroken && vQuery.exec(QStringLiteral("COMMIT;")))
        return true;
    if (!mbBatchBroken)
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
    mbBatchBroken = false;
    // SQLite may have ended the transaction itself on a full disk.
    if (mpConnection->database().isOpen() && !vQuery.exec(QStringLiteral("ROLLBACK;")))
        qDebug().noquote() << "Roll-back of the conversion:" << vQuery.lastError().text();
    return false;
}
