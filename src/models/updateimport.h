#pragma once

#include "models/sermonfile.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>

// Imports update files into the open database. Each file adds one sermon
// (or, with the replace marker, replaces every record of its date) in one
// transaction: either the whole sermon is there afterwards or the database
// is as before. A file is deleted only once its transaction has committed; a
// file that cannot be read or whose statements fail is kept in the folder as
// "<name>.failed", which is never imported again, so no update is lost. When
// the database file is at fault (its disk full, locked, damaged) the update
// file stays as it is, to be imported at a later start.
// Values are bound, never spliced into the statements.
class UpdateImport
{
public:
    using QueryFactory = std::function<QSqlQuery()>;
    // Paragraphs written so far and their number, for the current file.
    using Progress = std::function<void(qint64 anDone, qint64 anTotal)>;

    struct Result
    {
        bool mbImported = false;
        QString msReason; // why a file was set aside
    };
    // What an import of a folder did.
    struct Report
    {
        QStringList mcImported;
        QStringList mcSetAside; // "<file>: <reason>"
    };
    // Opens the database of a data language and gives the import into it.
    using Opener = std::function<UpdateImport(const QString &asLanguage)>;
    // A file of the folder is about to be imported (1-based, of all).
    using FileStarted = std::function<void(int anFile, int anFiles)>;

    // Imports every update file of the folder into the database of its
    // language; files whose names name no language are set aside.
    static Report importFolder(const QString &asFolder, const Opener &aOpen,
                               const FileStarted &aFileStarted, const Progress &aProgress);

    // The update files waiting in a folder: "*.txt", files only.
    static QStringList pendingFiles(const QString &asFolder);
    // The data language an update file is for (the first two letters of its
    // name), or empty when its name does not start with a language code.
    static QString languageOf(const QString &asFileName);

    // abTransactions: whether the driver has transactions (else the
    // statements BEGIN, COMMIT and ROLLBACK are run); abIndexed: whether the
    // file has the document indexes.
    UpdateImport(QSqlDatabase &aConnection, QueryFactory aNewQuery, bool abTransactions,
                 bool abIndexed);

    // Imports the file into the open database, then deletes it, or sets it
    // aside when it cannot be read or imported.
    Result importFile(const QString &asPath, const Progress &aProgress = {});
    // Keeps a file that was not imported under a name that is not imported again.
    static void setAside(const QString &asPath, const QString &asReason);

    // The two insert statements of an update file's sermon.
    static bool importQuote(const SermonFile &aSermon, QSqlQuery &aQuery);
    static bool importParagraph(const QString &asDate, const QString &asId, const QString &asText,
                                QSqlQuery &aQuery);

private:
    bool importSermon(const SermonFile &aSermon, const Progress &aProgress, QSqlError *apError);
    bool begin();
    bool commit(QSqlError *apError);
    void rollBack();

    QSqlDatabase &mConnection;
    QueryFactory mNewQuery;
    bool mbTransactions = false;
    bool mbIndexed = false;
};
