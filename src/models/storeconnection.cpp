#include "models/storeconnection.h"

#include "models/documentstatements.h"
#include "models/searchstatements.h"
#include "models/sqlerror.h"

#include <QDebug>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

struct TableDefinition
{
    const char *name;
    const char *statement;
    const char *label;
};

const TableDefinition cTables[] = {
    {"quotes",
     "CREATE VIRTUAL TABLE IF NOT EXISTS quotes USING fts4(uid INTEGER PRIMARY KEY ASC,date "
     "TEXT,name TEXT,translator TEXT,pdf TEXT,mp3 TEXT,length TEXT,place TEXT);",
     "Create table 'quotes'"},
    {"paragraphs",
     "CREATE VIRTUAL TABLE IF NOT EXISTS paragraphs USING fts4 (uid INTEGER PRIMARY KEY ASC,id "
     "TEXT,date TEXT,text TEXT,  tokenize=icu ru_RU);",
     "Create table 'paragraphs'"},
    {"bibles",
     "CREATE VIRTUAL TABLE IF NOT EXISTS bibles USING fts4 (uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,name TEXT);",
     "Create table 'bibles'"},
    {"chapters",
     "CREATE VIRTUAL TABLE IF NOT EXISTS chapters USING fts4(uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,chapter INTEGER,name TEXT);",
     "Create table 'chapters'"},
    {"verses",
     "CREATE VIRTUAL TABLE IF NOT EXISTS verses USING fts4(uid INTEGER PRIMARY KEY ASC,book "
     "INTEGER,chapter INTEGER,verse INTEGER,text TEXT,  tokenize=icu ru_RU);",
     "Create table 'verses'"},
};

} // namespace

StoreConnection::StoreConnection()
    : mConnection(QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"),
                                            QLatin1String(QSqlDatabase::defaultConnection)))
{
    mbTransactions =
        mConnection.driver() && mConnection.driver()->hasFeature(QSqlDriver::Transactions);
}

StoreConnection::~StoreConnection()
{
    mConnection.close();
    mConnection = QSqlDatabase();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

bool StoreConnection::isOpenOn(const QString &asPath) const
{
    return mConnection.databaseName() == asPath && mConnection.isOpen();
}

void StoreConnection::close()
{
    mConnection.close();
}

bool StoreConnection::open(const QString &asPath, bool *apCreated)
{
    *apCreated = false;
    mProblem = FileProblem::None;
    mbDocumentIndexes = mbSearchIndexes = false;
    if (mConnection.isOpen())
        mConnection.close();
    mConnection.setDatabaseName(asPath);
    bool vbNew = false;
    const FileProblem vProblem = FileProblems::ofFile(asPath, &vbNew);
    if (vProblem != FileProblem::None)
        return fail(vProblem, QStringLiteral("seen in the file itself"));
    mbReadOnly = FileProblems::isWriteProtected(asPath);
    QString vsOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%0").arg(cnBusyTimeoutMs);
    if (mbReadOnly)
        vsOptions += QStringLiteral(";QSQLITE_OPEN_READONLY");
    mConnection.setConnectOptions(vsOptions);
    if (!mConnection.open())
        return fail(FileProblem::Unreadable, mConnection.lastError().text());
    QSqlQuery vQuery(mConnection);
    if (vbNew && !mbReadOnly)
        vQuery.exec(QStringLiteral("PRAGMA encoding = 'UTF-8';"));
    // The tables are read first: they are the one wait for another
    // program's lock (the cache size needs them too).
    QStringList vcNames;
    if (!readTables(&vcNames) || !probeTables(vcNames))
        return false;
    // Every opening is a new SQLite connection, with SQLite's small default
    // cache: the 128 MiB page cache is asked for each time, or every search
    // after a parallel text or a language switch would run without it.
    vQuery.exec(QStringLiteral("PRAGMA cache_size = -131072;"));
    vQuery.finish();
    if (!createMissingTables(vcNames, apCreated))
        return false;
    // Asking for an index that is there writes nothing; one that is missing
    // cannot be made in a write-protected file, and the statements then do
    // without it.
    mbDocumentIndexes = DocumentStatements::ensureIndexes(mConnection);
    mbSearchIndexes = SearchStatements::ensureIndexes(mConnection);
    return true;
}

bool StoreConnection::fail(FileProblem aProblem, const QString &asDetail)
{
    mProblem = aProblem;
    qDebug().noquote() << "Error:" << mConnection.databaseName() << "cannot be used ("
                       << static_cast<int>(aProblem) << asDetail << ")";
    mConnection.close();
    return false;
}

bool StoreConnection::readTables(QStringList *apcNames)
{
    QSqlQuery vQuery(mConnection);
    if (!vQuery.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table';"))) {
        const FileProblem vProblem = FileProblems::ofError(vQuery.lastError());
        return fail(vProblem == FileProblem::None ? FileProblem::Damaged : vProblem,
                    vQuery.lastError().text());
    }
    while (vQuery.next())
        apcNames->append(vQuery.value(0).toString());
    return true;
}

bool StoreConnection::probeTables(const QStringList &acNames)
{
    // The ends of each table's trees: a few pages, however large the file,
    // so a file damaged at its start is known before the window asks for
    // anything. Damage further in shows in the statement that meets it.
    // One statement for all tables: it is run at every opening.
    QStringList vcProbes;
    for (const TableDefinition &vTable : cTables) {
        const QString vsName = QLatin1String(vTable.name);
        if (acNames.contains(vsName + QStringLiteral("_content")))
            vcProbes << QStringLiteral("(SELECT max(docid) FROM %0_content), (SELECT max(level) "
                                       "FROM %0_segdir), (SELECT max(blockid) FROM %0_segments)")
                            .arg(vsName);
    }
    if (vcProbes.isEmpty())
        return true;
    QSqlQuery vQuery(mConnection);
    if (!vQuery.exec(QStringLiteral("SELECT %0;").arg(vcProbes.join(QStringLiteral(", ")))) ||
        !vQuery.next()) {
        const FileProblem vProblem = FileProblems::ofError(vQuery.lastError());
        return fail(vProblem == FileProblem::None ? FileProblem::Damaged : vProblem,
                    vQuery.lastError().text());
    }
    return true;
}

bool StoreConnection::compact()
{
    QSqlQuery vQuery(mConnection);
    bool vbResult = true;
    for (const TableDefinition &vTable : cTables) {
        // A table already in one segment is left as it is.
        const QString vsMerge = QStringLiteral("INSERT INTO %1(%1) VALUES('optimize');")
                                    .arg(QLatin1String(vTable.name));
        if (!vQuery.exec(vsMerge)) {
            QUILLMARK_LOG_SQL_ERROR(vQuery.lastError()) << "in" << vsMerge;
            vbResult = false;
        }
    }
    if (!vQuery.exec(QStringLiteral("VACUUM;"))) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError()) << "in VACUUM";
        vbResult = false;
    }
    return vbResult;
}

bool StoreConnection::createMissingTables(const QStringList &acNames, bool *apCreated)
{
    bool vbOwn = false;
    for (const TableDefinition &vTable : cTables)
        vbOwn = vbOwn || acNames.contains(QLatin1String(vTable.name));
    // Tables of some other program's: its file is not ours to add to.
    if (!vbOwn && !acNames.isEmpty())
        return fail(FileProblem::NotDatabase, acNames.join(QLatin1Char(' ')));
    if (mbReadOnly) {
        if (!vbOwn)
            return fail(FileProblem::NotDatabase, QStringLiteral("empty and write-protected"));
        return true;
    }
    QSqlQuery vQuery(mConnection);
    for (const TableDefinition &vTable : cTables) {
        if (acNames.contains(QLatin1String(vTable.name)))
            continue;
        *apCreated = true;
        qDebug().noquote() << QLatin1String(vTable.label);
        if (!vQuery.exec(QLatin1String(vTable.statement)))
            qDebug().noquote() << vQuery.lastError().text();
    }
    return true;
}
