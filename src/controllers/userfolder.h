#pragma once

#include <QString>

// Where an installed program keeps its application folder. Run from its build
// folder the program works in the folder of its executable; installed under
// a prefix (its folder not writable, or the installed template beside it in
// <prefix>/share/quillmark) it works in the reader's own data folder
// (~/.local/share/quillmark), which the first start fills from the template:
// the settings file, the style sheets and the demo databases. Nothing is
// ever written under the prefix. Both executables resolve the folder alike.
namespace UserFolder {

// The installed template for an executable in asExecutableFolder, or an
// empty string when there is none.
QString templateFolder(const QString &asExecutableFolder);

// Whether the executable in asExecutableFolder is an installed one.
bool isInstalled(const QString &asExecutableFolder);

// The reader's own application folder (made when missing), its first start
// seeded from asTemplate: what the template has and the folder lacks is
// copied, writable for the reader; an existing settings file means the
// folder was seeded before, and nothing is copied again.
QString prepare(const QString &asTemplate);

} // namespace UserFolder
