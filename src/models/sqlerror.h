#pragma once

#include <QDebug>
#include <QSqlError>

// Logs a failed statement as "SQL Error: <driver text>" with the location of
// the code that ran it (the log handler raises the "Debug" box for such lines).
#define QUILLMARK_LOG_SQL_ERROR(aSqlError)                                                         \
    QMessageLogger(QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC).debug().noquote()   \
        << "SQL Error:" << (aSqlError).text()
