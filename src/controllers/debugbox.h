#pragma once

// The window's answer to a log line that reports an SQL error: the "Debug"
// box, raised on the GUI thread whichever thread logged the line. Only where
// there is a QApplication; a process without windows is never interrupted.
namespace DebugBox {

// Installs the log handler (Logging::install()) with the box as its SQL
// error notice.
void install();

} // namespace DebugBox
