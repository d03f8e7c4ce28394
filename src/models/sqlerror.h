#pragma once

#include "models/fileproblem.h"

#include <QDebug>
#include <QSqlError>

// Logs a failed statement as "SQL Error: <driver text>" with the location of
// the code that ran it (the log handler raises the "Debug" box for such
// lines). A fault of the file rather than of the statement gets another mark
// (see FileProblems::logMark): the data store tells the reader about it once.
#define QUILLMARK_LOG_SQL_ERROR(aSqlError)                                                         \
    QMessageLogger(QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC).debug().noquote()   \
        << FileProblems::logMark(aSqlError) << (aSqlError).text()
