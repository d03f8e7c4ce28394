#pragma once

#include "cli/recordwriter.h"
#include "controllers/folderenvironment.h"
#include "models/fileproblem.h"

#include <QByteArray>
#include <QString>
#include <QTranslator>

#include <memory>

class Database;
class QCommandLineParser;

// What every command shares: the application folder and its settings, the
// output, and the data store opened on one data language's database.
//
// The data store is the program's own, given the application folder as its
// environment (FolderEnvironment); the tool makes no application object,
// window options or worker thread around it, and its requests run on the
// calling thread.
//
// The data store picks its file through the "DataLanguage" setting, which
// the program also reads. So that a command never changes, even for a moment,
// the data language of a program running beside it, the tool works on a
// private copy of the settings file; when it ends, the settings the data
// store or the converter changed (a new database's version, the date of the
// last update) are carried back into the real file, the language choices are
// not.
class Session
{
public:
    explicit Session(const QCommandLineParser &aParser);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Checks the application folder (--app-dir, or the tool's own folder)
    // and makes it the program's; BadArguments when it is not a folder.
    int prepare();

    // --lang, or else the program's data language.
    QString language() const;

    // Opens the data store on asLanguage's database. A missing or empty file
    // is a DatabaseError unless abCreate (the converter creates it).
    int openDatabase(const QString &asLanguage, bool abCreate);
    // Success when asLanguage has a database to read, DatabaseError (with a
    // message) when not; nothing is opened or created.
    int requireDatabase(const QString &asLanguage);
    Database &database();
    const FolderEnvironment &environment() const { return mEnvironment; }

    RecordWriter &out() { return mOut; }
    // Writes the message to standard error and gives back aStatus.
    int fail(int aStatus, const QString &asMessage);
    // The status a command ends with after its statements ran: DatabaseError
    // when any of them failed (they reported on standard error, a damaged or
    // locked file in one line here), aStatus otherwise.
    int finish(int aStatus) const;

    static bool isLanguageCode(const QString &asCode);

private:
    void useSettingsCopy();
    void carrySettingsBack();
    // The program's words for a file problem, in the interface language of
    // the settings; the translation is loaded only for such a message.
    QString describe(const QString &asPath, FileProblem aProblem) const;

    QString msApplicationDirectory;
    QString msLanguage;
    QString msSettingsFile;
    QString msOpenPath;
    QString msCopyFile;
    // The settings file as the command found it.
    QByteArray maSettingsBefore;
    RecordWriter mOut;
    FolderEnvironment mEnvironment;
    std::unique_ptr<Database> mpDatabase;
    mutable QTranslator mTranslator;
    mutable bool mbTranslated = false;
};
