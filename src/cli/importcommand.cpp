#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/session.h"
#include "controllers/programfolder.h"
#include "models/database.h"
#include "models/updateimport.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {

void line(const QString &asText)
{
    std::fprintf(stderr, "%s\n", asText.toUtf8().constData());
    std::fflush(stderr);
}

int run(const QCommandLineParser &aParser, Session &aSession)
{
    if (!aParser.positionalArguments().isEmpty())
        return aSession.fail(BadArguments,
                             QStringLiteral("import takes no arguments: it imports the update "
                                            "files of the application folder's import folder"));
    const QString vsFolder = ProgramFolder::importPath();
    if (UpdateImport::pendingFiles(vsFolder).isEmpty())
        return aSession.fail(NothingFound, QStringLiteral("no update files (*.txt) in %0")
                                               .arg(QDir::toNativeSeparators(vsFolder)));
    // The data store opens the file of each update's own language.
    const int vnStatus = aSession.openDatabase(aSession.language(), true);
    if (vnStatus != Success)
        return vnStatus;
    const Database::ImportReport vReport = aSession.database().importUpdateFiles();
    for (const QString &vsFile : vReport.mcImported)
        line(QStringLiteral("imported %0").arg(vsFile));
    for (const QString &vsFile : vReport.mcSetAside)
        line(QStringLiteral("set aside %0").arg(vsFile));
    return aSession.finish(vReport.mcSetAside.isEmpty() ? Success : SourceError);
}

} // namespace

Command importCommand()
{
    return {
        QStringLiteral("import"),
        QStringLiteral("Import the update files waiting in the import folder."),
        QString(),
        QStringLiteral(
            "Imports every update file (*.txt) of the application folder's import folder "
            "(sql/import) into the database of its language (the first two letters of its "
            "name), exactly as the program does when it starts: one sermon per file, in one "
            "transaction; a first line starting with \"R\" replaces the sermon of that date. "
            "An imported file is deleted; a file that cannot be read or imported is kept as "
            "\"<name>.failed\" and is not imported again. One line per file on standard "
            "error: \"imported <file>\" or \"set aside <file>: <why>\". Unlike the program, "
            "the tool leaves the program's data language as it was.\n\n"
            "Examples:\n"
            "  cp ru_12.txt build/src/sql/import/ && quillmark-cli import\n"
            "  quillmark-cli import --app-dir ~/quillmark-test\n\n"
            "Exit status 4 when some files were set aside; 1 when there was nothing to import."),
        [](QCommandLineParser &) {},
        run};
}
