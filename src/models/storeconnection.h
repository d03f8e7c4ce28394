#pragma once

#include "models/fileproblem.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The data store's one SQLite connection: it opens a data language's file,
// creates the five full-text tables a new file lacks, asks for the large
// page cache, and keeps the indexes the document and search statements use.
// It does no locking of its own: the data store serialises every use.
//
// Readers keep their files for years and copy them from one another, so a
// file is looked at before anything is written to it: only a missing or
// empty file, or one of the program's own, is ever changed. A damaged,
// foreign or locked file is left closed and untouched, with the reason in
// problem(); a write-protected one is opened for reading only.
class StoreConnection
{
public:
    StoreConnection();
    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    QSqlDatabase &database() { return mConnection; }
    bool isOpenOn(const QString &asPath) const;
    // Opens the file (closing any other). False when it cannot be opened or
    // its tables cannot be read (both logged, the reason in problem());
    // *apCreated tells whether tables had to be created.
    bool open(const QString &asPath, bool *apCreated);
    void close();
    // Why the last opening failed; None after a successful one.
    FileProblem problem() const { return mProblem; }
    bool isReadOnly() const { return mbReadOnly; }

    // How long a statement waits for another process's lock on the file
    // before it fails: long enough for a short write, short enough that the
    // reader is told soon when another program keeps the file.
    static const int cnBusyTimeoutMs = 3000;

    // Merges each full-text table's index into one segment, then VACUUM;
    // false when a step fails (logged; each step is all or nothing).
    bool compact();

    bool hasTransactions() const { return mbTransactions; }
    // Whether the open file has the program's document and search indexes.
    bool hasDocumentIndexes() const { return mbDocumentIndexes; }
    bool hasSearchIndexes() const { return mbSearchIndexes; }

private:
    bool fail(FileProblem aProblem, const QString &asDetail);
    bool readTables(QStringList *apcNames);
    bool probeTables(const QStringList &acNames);
    bool createMissingTables(const QStringList &acNames, bool *apCreated);

    QSqlDatabase mConnection;
    bool mbTransactions = false;
    bool mbDocumentIndexes = false;
    bool mbSearchIndexes = false;
    bool mbReadOnly = false;
    FileProblem mProblem = FileProblem::None;
};
