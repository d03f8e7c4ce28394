// export and delete: the catalogue tree's maintenance commands for scripts.
#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/session.h"
#include "models/database.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

namespace {

void addOptions(QCommandLineParser &aParser)
{
    aParser.addOption({QStringLiteral("bible"),
                       QStringLiteral("The keys are Bible chapters' (default: sermons').")});
}

// The keys as one list "(12,57)": every argument a key or keys separated by
// commas. False when there is none, or anything but whole numbers.
bool keyList(const QStringList &acArguments, QString *apList)
{
    static const QRegularExpression scKey(QStringLiteral("^\\d{1,18}$"));
    QStringList vcKeys;
    for (const QString &vsArgument : acArguments)
        for (const QString &vsKey : vsArgument.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!scKey.match(vsKey.trimmed()).hasMatch())
                return false;
            vcKeys.append(vsKey.trimmed());
        }
    *apList = QStringLiteral("(%0)").arg(vcKeys.join(QLatin1Char(',')));
    return !vcKeys.isEmpty();
}

int runMaintenance(bool abExport, const QCommandLineParser &aParser, Session &aSession)
{
    const QString vsName = abExport ? QStringLiteral("export") : QStringLiteral("delete");
    QString vsList;
    if (!keyList(aParser.positionalArguments(), &vsList))
        return aSession.fail(
            BadArguments,
            QStringLiteral("%0 takes catalogue keys (see the catalogue command), e.g. 12,57")
                .arg(vsName));
    const bool vbBible = aParser.isSet(QStringLiteral("bible"));
    const QString vsLanguage = aSession.language();
    int vnStatus = aSession.openDatabase(vsLanguage, false);
    if (vnStatus != Success)
        return vnStatus;

    if (!abExport) {
        const DocumentRemoval::Report vReport =
            aSession.database().deleteSql(vsLanguage, vbBible, vsList);
        if (vReport.mStatus != DocumentRemoval::Report::Deleted)
            return aSession.fail(DatabaseError,
                                 QStringLiteral("nothing deleted: %0").arg(vReport.msProblem));
        aSession.out().write(QStringLiteral("deleted"),
                             {{QStringLiteral("count"), QString::number(vReport.mnDeleted)}});
        return aSession.finish(vReport.mnDeleted > 0 ? Success : NothingFound);
    }

    const DocumentExport::Report vReport =
        aSession.database().exportSql(vsLanguage, vbBible, vsList);
    const QString vsPath = QDir::toNativeSeparators(vReport.msPath);
    switch (vReport.mStatus) {
    case DocumentExport::Report::Written:
        aSession.out().write(QStringLiteral("archive"), {{QStringLiteral("path"), vsPath}});
        return aSession.finish(Success);
    case DocumentExport::Report::ReadFailed:
        return aSession.fail(DatabaseError,
                             QStringLiteral("nothing exported: %0").arg(vReport.msProblem));
    case DocumentExport::Report::FolderNotWritable:
    case DocumentExport::Report::WriteFailed:
        return aSession.fail(
            WriteError,
            QStringLiteral("nothing exported: cannot write %0: %1").arg(vsPath, vReport.msProblem));
    case DocumentExport::Report::NothingSelected:
    case DocumentExport::Report::NotAKeyList:
        break;
    }
    return aSession.fail(BadArguments, QStringLiteral("no keys to export"));
}

} // namespace

Command exportCommand()
{
    return {QStringLiteral("export"),
            QStringLiteral("Export sermons or Bible chapters to an archive for the update "
                           "server."),
            QStringLiteral("KEYS..."),
            QStringLiteral(
                "Writes the documents with these catalogue keys (as the catalogue command "
                "prints them) into \"<language>_<n>.zip\" in the application folder, n counting "
                "the exports of that language, and prints one line \"archive\" with its path. "
                "Keys of documents that are not there are passed over.\n\n"
                "Examples:\n"
                "  quillmark-cli export --lang ru 12,57\n"
                "  quillmark-cli export --lang en --bible 3 4 5"),
            addOptions,
            [](const QCommandLineParser &aParser, Session &aSession) {
                return runMaintenance(true, aParser, aSession);
            }};
}

Command deleteCommand()
{
    return {QStringLiteral("delete"),
            QStringLiteral("Delete sermons (with their paragraphs) or Bible chapters (with "
                           "their verses)."),
            QStringLiteral("KEYS..."),
            QStringLiteral(
                "Deletes the documents with these catalogue keys, all or none, and prints one "
                "line \"deleted\" with how many sermon records or chapters went (status 1 when "
                "none of the keys was there). A book goes with its last chapter.\n\n"
                "Examples:\n"
                "  quillmark-cli delete --lang ru 12,57\n"
                "  quillmark-cli delete --lang en --bible 7"),
            addOptions,
            [](const QCommandLineParser &aParser, Session &aSession) {
                return runMaintenance(false, aParser, aSession);
            }};
}
