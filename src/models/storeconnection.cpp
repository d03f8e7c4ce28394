#include "models/storeconnection.h"

#include "models/documentstatements.h"
#include "models/searchstatements.h"

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
    if (mConnection.isOpen())
        mConnection.close();
    mConnection.setDatabaseName(asPath);
    if (!mConnection.open()) {
        qDebug().noquote() << mConnection.lastError().text();
        qDebug().noquote() << "Error:" << asPath << "is not accessible!";
        return false;
    }
    QSqlQuery vQuery(mConnection);
    vQuery.exec(QStringLiteral("PRAGMA encoding = 'UTF-8';"));
    // Every opening is a new SQLite connection, with SQLite's small default
    // cache: the 128 MiB page cache is asked for each time, or every search
    // after a parallel text or a language switch would run without it.
    vQuery.exec(QStringLiteral("PRAGMA cache_size = -131072;"));
    vQuery.finish();
    if (!createMissingTables(apCreated))
        return false;
    mbDocumentIndexes = DocumentStatements::ensureIndexes(mConnection);
    mbSearchIndexes = SearchStatements::ensureIndexes(mConnection);
    return true;
}

bool StoreConnection::createMissingTables(bool *apCreated)
{
    QSqlQuery vQuery(mConnection);
    if (!vQuery.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table';"))) {
        qDebug().noquote() << "Error:" << vQuery.lastError().text();
        return false;
    }
    QStringList vcNames;
    while (vQuery.next())
        vcNames.append(vQuery.value(0).toString());
    vQuery.finish();
    for (const TableDefinition &vTable : cTables) {
        if (vcNames.contains(QLatin1String(vTable.name)))
            continue;
        *apCreated = true;
        qDebug().noquote() << QLatin1String(vTable.label);
        if (!vQuery.exec(QLatin1String(vTable.statement)))
            qDebug().noquote() << vQuery.lastError().text();
    }
    return true;
}
