#pragma once

#include <QString>

// Names that come from outside (the update server's version list, the
// database, archive entries) and are joined to one of the program's folders.
namespace FileName {

// Whether asName may be joined to a folder without leaving it or hiding in
// it: not empty, no path separator ("/" or "\"), no "..", no NUL, and no
// leading dot.
bool isPlain(const QString &asName);

} // namespace FileName
