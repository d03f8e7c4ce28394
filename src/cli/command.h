#pragma once

#include <QString>
#include <QVector>

#include <functional>

class QCommandLineParser;
class Session;

// One sub-command of the tool: its name, what the general help says of it,
// its own options and positional arguments, and what it does.
struct Command
{
    QString msName;
    QString msSummary;
    // The positional part of the usage line ("TEXT...").
    QString msArguments;
    // A paragraph for the command's own help (examples, output).
    QString msDetails;
    std::function<void(QCommandLineParser &)> mAddOptions;
    // Returns the exit status.
    std::function<int(const QCommandLineParser &, Session &)> mRun;
};

Command searchCommand();
Command openCommand();
Command chapterCommand();
Command catalogueCommand();
Command convertCommand();
Command importCommand();
Command exportCommand();
Command deleteCommand();

// Small argument checks shared by the commands.
namespace Arguments {
// A whole number from anMinimum to anMaximum; false for anything else.
bool number(const QString &asText, int anMinimum, int anMaximum, int *apValue);
} // namespace Arguments
