#pragma once

#include <QSqlDatabase>
#include <QString>

// The data store's one SQLite connection: it opens a data language's file,
// creates the five full-text tables a new file lacks, asks for the large
// page cache, and keeps the indexes the document and search statements use.
// It does no locking of its own: the data store serialises every use.
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
    // its tables cannot be listed (both logged); *apCreated tells whether
    // tables had to be created.
    bool open(const QString &asPath, bool *apCreated);
    void close();

    bool hasTransactions() const { return mbTransactions; }
    // Whether the open file has the program's document and search indexes.
    bool hasDocumentIndexes() const { return mbDocumentIndexes; }
    bool hasSearchIndexes() const { return mbSearchIndexes; }

private:
    bool createMissingTables(bool *apCreated);

    QSqlDatabase mConnection;
    bool mbTransactions = false;
    bool mbDocumentIndexes = false;
    bool mbSearchIndexes = false;
};
