#pragma once

#include <QString>

// The command-line tool's log: the data store logs as it does in the program,
// but a terminal gets only what matters to its user. Failed statements become
// one "database error" line each and are remembered, so that the command ends
// with a failure status; everything else is shown only when asked for
// (--verbose), in the program's own log format.
namespace CliLog {

void install(bool abVerbose);
// Whether a statement failed since install().
bool sqlErrorSeen();
// The driver's text of the first statement that failed on a fault of the
// file rather than of the statement (such failures print nothing by
// themselves); empty when there was none since the last call.
QString takeFileProblem();
// Writes "quillmark-cli: <text>" to standard error.
void error(const QString &asText);

} // namespace CliLog
