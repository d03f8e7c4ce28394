#pragma once

#include <QString>

class QTranslator;

// The interface translations compiled into the program, one per interface
// language (":/i18n/i18n_<language>.qm"), with the language flags beside
// them. The window installs one for its texts; the command-line tool only
// when it has a message of the program's to print.
namespace Translations {

// Registers the bundle with the resource system.
void registerBundle();

// Loads the translation of asLanguage into aTranslator and installs it in
// the application; false, with nothing installed, when there is none.
bool install(QTranslator &aTranslator, const QString &asLanguage);

} // namespace Translations
