#pragma once

#include <QMetaType>
#include <QString>

class QSqlError;

// Why a data language's file cannot be used as it is. The data store finds
// it (before its first statement where it can, or from a statement's error)
// and leaves it to the window or the tool to say in the reader's words.
enum class FileProblem
{
    None,
    Folder,      // a folder stands where the file should be
    Unreadable,  // the file or its folder cannot be opened
    NotDatabase, // another kind of file, or someone else's database
    Damaged,     // cut short or partly overwritten
    Locked,      // another program holds it for longer than the data store waits
    ReadOnly,    // it can be read but not changed
    Full         // its disk has no room for what was to be written
};
Q_DECLARE_METATYPE(FileProblem)

namespace FileProblems {

// What a look at the file itself tells, without SQLite: a missing or empty
// file (*apNew) is a new database; anything else must carry the SQLite
// header and be as long as its header says. Reads at most its first 100 bytes.
FileProblem ofFile(const QString &asPath, bool *apNew);
// Whether the file's permissions forbid writing to it. Checked on the mode
// bits, not on what the process may do: an administrator may write to any
// file, but a file made read-only is not to be changed by this program.
bool isWriteProtected(const QString &asPath);
// The problem with the file that a failed statement shows; None for an
// ordinary error of the statement itself.
FileProblem ofError(const QSqlError &aError);

// The start of the log line of a failed statement: "SQL Error:" for a fault
// of the statement, which the log raises as a box for the developer; for a
// fault of the file a line of its own, and the problem is kept for
// takeStatementProblem() on this thread, so that the reader is told once.
const char *logMark(const QSqlError &aError);
FileProblem takeStatementProblem();

} // namespace FileProblems
