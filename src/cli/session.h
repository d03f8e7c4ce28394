#pragma once

#include "cli/recordwriter.h"

#include <QString>
#include <QVariant>

class Database;
class QCommandLineParser;

// What every command shares: the application folder and its settings, the
// output, and the data store opened on one data language's database.
//
// The data store picks its file through the "DataLanguage" setting, and the
// program reads that setting at start. The tool sets it for the language it
// works on and puts the earlier value back when it ends, so running a command
// never changes the program's data language.
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

    RecordWriter &out() { return mOut; }
    // Writes the message to standard error and gives back aStatus.
    int fail(int aStatus, const QString &asMessage);
    // The status a command ends with after its statements ran: DatabaseError
    // when any of them failed (they reported on standard error), aStatus
    // otherwise.
    int finish(int aStatus) const;

    static bool isLanguageCode(const QString &asCode);

private:
    QString msApplicationDirectory;
    QString msLanguage;
    bool mbLanguageSaved = false;
    QVariant mPreviousLanguage;
    RecordWriter mOut;
};
