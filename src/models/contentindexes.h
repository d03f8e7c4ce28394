#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The program's plain indexes on the full-text tables' content tables.
namespace ContentIndexes {

// Runs the CREATE INDEX IF NOT EXISTS statements in order; false (with one
// log line naming asPurpose) when one fails. Not an error the reader can act
// on: the callers then keep to the plain full-text statements.
bool create(QSqlDatabase &aConnection, const QStringList &acStatements, const QString &asPurpose);

} // namespace ContentIndexes
