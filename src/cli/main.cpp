// quillmark-cli: the program's searches, documents, catalogue and converter
// from a terminal, on the same application folder, settings and databases.
#include "cli/clilog.h"
#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/session.h"
#include "controllers/translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

const QString csTool = QStringLiteral("quillmark-cli");

QVector<Command> allCommands()
{
    return {searchCommand(),  openCommand(),   chapterCommand(), catalogueCommand(),
            convertCommand(), importCommand(), exportCommand(),  deleteCommand()};
}

void print(FILE *apStream, const QString &asText)
{
    const QByteArray vaText = asText.toUtf8();
    std::fwrite(vaText.constData(), 1, static_cast<size_t>(vaText.size()), apStream);
    std::fflush(apStream);
}

QString exitStatuses()
{
    return QStringLiteral("Exit status:\n"
                          "  0  success\n"
                          "  1  nothing found (no hits, no such document, page or translation)\n"
                          "  2  bad arguments\n"
                          "  3  database error (missing or unreadable database, failed statement)\n"
                          "  4  convert: source folder or files that cannot be read;\n"
                          "     import: update files set aside\n"
                          "  5  export: the archive cannot be written\n");
}

QString generalHelp()
{
    QString vsText;
    QTextStream vOut(&vsText);
    vOut
        << "Usage: " << csTool << " COMMAND [options] [arguments]\n\n"
        << "Searches, documents, the catalogue, the converter and the update import of Quillmark,\n"
        << "without a window.\n"
        << "Works on the program's application folder: the one this tool is in, or, when it is\n"
           "installed, ~/.local/share/quillmark; --app-dir names another.\n\n"
        << "Commands:\n";
    for (const Command &vCommand : allCommands())
        vOut << "  " << vCommand.msName.leftJustified(11) << vCommand.msSummary << '\n';
    vOut << "\nOptions of every command:\n"
         << "  --lang CODE     the data language (default: the program's)\n"
         << "  --app-dir DIR   another application folder\n"
         << "  --json          one JSON object per line instead of tab-separated lines\n"
         << "  --verbose       show the program's log on standard error\n"
         << "  --help          help on the command\n\n"
         << "Run \"" << csTool << " COMMAND --help\" for a command's options and output.\n\n"
         << exitStatuses();
    return vsText;
}

void addCommonOptions(QCommandLineParser &aParser)
{
    aParser.addOption({QStringLiteral("lang"),
                       QStringLiteral("The data language (default: the program's)."),
                       QStringLiteral("CODE")});
    aParser.addOption({QStringLiteral("app-dir"), QStringLiteral("Another application folder."),
                       QStringLiteral("DIR")});
    aParser.addOption({QStringLiteral("json"), QStringLiteral("One JSON object per line.")});
    aParser.addOption(
        {QStringLiteral("verbose"), QStringLiteral("Show the program's log on standard error.")});
    aParser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Help on this command.")});
}

// Paragraphs of running text broken into lines of at most 79 characters;
// indented lines (examples) stay as they are.
QString wrapped(const QString &asText)
{
    QStringList vcLines;
    for (const QString &vsLine : asText.split(QLatin1Char('\n'))) {
        if (vsLine.startsWith(QLatin1Char(' ')) || vsLine.size() < 80) {
            vcLines << vsLine;
            continue;
        }
        QString vsCurrent;
        for (const QString &vsWord : vsLine.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!vsCurrent.isEmpty() && vsCurrent.size() + 1 + vsWord.size() > 79) {
                vcLines << vsCurrent;
                vsCurrent.clear();
            }
            vsCurrent += (vsCurrent.isEmpty() ? QString() : QStringLiteral(" ")) + vsWord;
        }
        vcLines << vsCurrent;
    }
    return vcLines.join(QLatin1Char('\n'));
}

QString commandHelp(const Command &aCommand, const QCommandLineParser &aParser)
{
    // Qt's help starts with a usage line naming the executable's path; ours
    // names the command.
    QString vsOptions = aParser.helpText();
    vsOptions = vsOptions.mid(vsOptions.indexOf(QLatin1Char('\n')) + 1).trimmed();
    return QStringLiteral("Usage: %0 %1 [options] %2\n\n%3\n\n%4\n\n%5\n\n%6")
        .arg(csTool, aCommand.msName, aCommand.msArguments, aCommand.msSummary,
             wrapped(aCommand.msDetails), vsOptions, exitStatuses());
}

int runCommand(const Command &aCommand, const QStringList &acArguments)
{
    QCommandLineParser vParser;
    vParser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addCommonOptions(vParser);
    aCommand.mAddOptions(vParser);
    if (!vParser.parse(QStringList{csTool} + acArguments)) {
        CliLog::error(QStringLiteral("%0 (see \"%1 %2 --help\")")
                          .arg(vParser.errorText(), csTool, aCommand.msName));
        return BadArguments;
    }
    if (vParser.isSet(QStringLiteral("help"))) {
        print(stdout, commandHelp(aCommand, vParser));
        return Success;
    }
    CliLog::install(vParser.isSet(QStringLiteral("verbose")));
    Session vSession(vParser);
    const int vnStatus = vSession.prepare();
    return vnStatus != Success ? vnStatus : aCommand.mRun(vParser, vSession);
}

} // namespace

namespace Arguments {

bool number(const QString &asText, int anMinimum, int anMaximum, int *apValue)
{
    bool vbOk = false;
    const qlonglong vnValue = asText.trimmed().toLongLong(&vbOk);
    if (!vbOk || vnValue < anMinimum || vnValue > anMaximum)
        return false;
    *apValue = static_cast<int>(vnValue);
    return true;
}

} // namespace Arguments

int main(int argc, char *argv[])
{
    Translations::registerBundle();
    // Quiet until a command says otherwise: nothing the data store logs while
    // starting belongs on a terminal.
    CliLog::install(false);
    QCoreApplication vApplication(argc, argv);
    QCoreApplication::setApplicationName(csTool);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));

    const QStringList vcArguments = QCoreApplication::arguments().mid(1);
    if (vcArguments.isEmpty()) {
        print(stderr, generalHelp());
        return BadArguments;
    }
    const QString vsFirst = vcArguments.first();
    if (vsFirst == QLatin1String("--help") || vsFirst == QLatin1String("-h") ||
        vsFirst == QLatin1String("help")) {
        print(stdout, generalHelp());
        return Success;
    }
    if (vsFirst == QLatin1String("--version")) {
        print(stdout,
              QStringLiteral("%0 %1\n").arg(csTool, QCoreApplication::applicationVersion()));
        return Success;
    }
    for (const Command &vCommand : allCommands())
        if (vCommand.msName == vsFirst)
            return runCommand(vCommand, vcArguments.mid(1));
    CliLog::error(
        QStringLiteral("unknown command \"%0\" (see \"%1 --help\")").arg(vsFirst, csTool));
    return BadArguments;
}
