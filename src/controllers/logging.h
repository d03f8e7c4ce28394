#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The process-wide log handler. Every line goes to the standard error stream
// as "(II) text (file:line, function)" ("(WW)", "(CC)", "(FF)" for warnings,
// critical and fatal messages). A line that reports an SQL error is also
// handed to the SQL error notice, when one is set (the window's "Debug" box,
// see DebugBox); a fatal line aborts the process once it is written.
namespace Logging {

void install();

QString formatLine(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText);

void messageHandler(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText);

// Called, on the logging thread, for every line that reports an SQL error;
// null for none.
using SqlErrorNotice = void (*)(const QString &asText, const QMessageLogContext &aContext);
void setSqlErrorNotice(SqlErrorNotice aNotice);

// An extra receiver of every formatted line, for tests and tools; empty removes it.
// It is called on the logging thread, outside any lock held by the handler.
void setLineObserver(std::function<void(const QString &asLine)> aObserver);

} // namespace Logging
