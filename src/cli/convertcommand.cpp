#include "cli/clilog.h"
#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/session.h"
#include "controllers/textconverter.h"
#include "models/catalogue.h"
#include "models/database.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

void addOptions(QCommandLineParser &aParser)
{
    aParser.addOption({QStringLiteral("type"),
                       QStringLiteral("What the files hold: quotes (sermons) or bible."),
                       QStringLiteral("TYPE")});
    aParser.addOption({QStringLiteral("replace"),
                       QStringLiteral("Empty the sermons (or the Bible) of that language first.")});
}

// One line per file; on a terminal the line is rewritten in place.
void showProgress(int anDone, int anTotal, const QString &asFile)
{
    static const bool sbTerminal = isatty(fileno(stderr)) != 0;
    const QByteArray vaLine =
        QStringLiteral("converted %0 of %1: %2").arg(anDone).arg(anTotal).arg(asFile).toUtf8();
    if (sbTerminal)
        std::fprintf(stderr, "\r\033[K%s%s", vaLine.constData(), anDone == anTotal ? "\n" : "");
    else
        std::fprintf(stderr, "%s\n", vaLine.constData());
    std::fflush(stderr);
}

int run(const QCommandLineParser &aParser, Session &aSession)
{
    const QStringList vcArguments = aParser.positionalArguments();
    if (vcArguments.size() != 1)
        return aSession.fail(BadArguments,
                             QStringLiteral("convert takes one folder of source files"));
    if (!aParser.isSet(QStringLiteral("lang")))
        return aSession.fail(
            BadArguments,
            QStringLiteral("convert needs --lang: the language of the database to fill"));
    const QString vsType = aParser.value(QStringLiteral("type"));
    if (vsType != QLatin1String("quotes") && vsType != QLatin1String("bible"))
        return aSession.fail(BadArguments, QStringLiteral("--type takes quotes or bible"));

    TextConverter::ImportRun vRun;
    vRun.msDirectory = QFileInfo(vcArguments.first()).absoluteFilePath();
    vRun.msLanguage = aSession.language();
    vRun.mType = vsType == QLatin1String("bible") ? TextConverter::ImportRun::Bible
                                                  : TextConverter::ImportRun::Quotes;
    vRun.mbReplace = aParser.isSet(QStringLiteral("replace"));

    // Checked before the database is touched: with --replace, a mistyped or
    // empty folder would otherwise empty the tables and put nothing back.
    const QFileInfo vFolder(vRun.msDirectory);
    const QString vsShown = QDir::toNativeSeparators(vcArguments.first());
    if (!vFolder.isDir() || !vFolder.isReadable() || !vFolder.isExecutable())
        return aSession.fail(SourceError, QStringLiteral("cannot read the folder %0").arg(vsShown));
    const QStringList vcFiles = TextConverter::sourceFiles(vRun.msDirectory);
    if (vcFiles.isEmpty())
        return aSession.fail(
            NothingFound,
            QStringLiteral("no source files (*.txt, *.sog) in %0; nothing changed").arg(vsShown));

    int vnStatus = aSession.openDatabase(vRun.msLanguage, true);
    if (vnStatus != Success)
        return vnStatus;
    const bool vbMix = TextConverter::wouldMixBibles(aSession.database(), vRun);
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    if (vbMix)
        return aSession.fail(BadArguments,
                             QStringLiteral("the %0 database already has a Bible; another one "
                                            "would mix with it (use --replace)")
                                 .arg(vRun.msLanguage));
    const bool vbComplete = TextConverter::importDirectory(
        aSession.database(), aSession.environment(), vRun, showProgress);
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    if (!vbComplete)
        return aSession.fail(SourceError,
                             QStringLiteral("some source files could not be read or held nothing; "
                                            "the others were converted"));
    aSession.out().write(QStringLiteral("converted"),
                         {{QStringLiteral("files"), vcFiles.size()},
                          {QStringLiteral("language"), vRun.msLanguage},
                          {QStringLiteral("type"), vsType}});
    return Success;
}

} // namespace

Command convertCommand()
{
    return {QStringLiteral("convert"),
            QStringLiteral("Convert a folder of source files into a language's database."),
            QStringLiteral("DIR"),
            QStringLiteral(
                "Converts every *.txt and *.sog file of DIR, in name order, into the database "
                "of --lang (created when missing), as the program's converter does. Sermon "
                "files hold seven header lines (date, title, translator, pdf, mp3, length, "
                "place) and then paragraphs starting \"E-<number>\"; Bible files hold lines "
                "\"book<TAB>chapter<TAB>verse<TAB>text\". Progress goes to standard error; at the "
                "end a line \"converted\" (files, language, type).\n\n"
                "Examples:\n"
                "  quillmark-cli convert --lang fr --type quotes ~/sources/fr\n"
                "  quillmark-cli convert --lang en --type bible --replace ~/sources/kjv\n\n"
                "A language holds one Bible: converting a Bible into a language that has one "
                "needs --replace."),
            addOptions,
            run};
}
