#pragma once

#include <QString>

class QSettings;

// The application folder and what lies below it: the settings file and the
// data folders (sql/, sql/import, sql/data, asset/, style/). The window's
// application object and the command-line tool both find their files here,
// so they agree on every path without either knowing the other.
//
// Threads: settings() hands each thread its own QSettings on the one
// settings file (a QSettings object must not be shared between threads;
// objects on the same file see each other's changes at once).
namespace ProgramFolder {

// The folder that holds the settings file and the data folders: the
// executable's directory (for an installed program the reader's own folder,
// see UserFolder) unless a tool or a test chose another one.
QString applicationDirectory();
void setApplicationDirectory(const QString &asPath);

// The settings file: setting.ini in the application folder, unless a tool
// chose another file (an empty path restores the usual one).
QString settingsFilePath();
void setSettingsFilePath(const QString &asPath);
// The calling thread's settings object on the settings file.
QSettings *settings();
// Writes and drops the calling thread's settings object; the next
// settings() call makes a new one.
void releaseSettings();

// The data folders, made when missing.
QString sqlPath();
QString importPath();
QString dataPath();
QString assetPath();
QString stylePath();

// The database file of a data language.
QString databaseFilePath(const QString &asLanguage);

} // namespace ProgramFolder
