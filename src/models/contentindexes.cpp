#include "models/contentindexes.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ContentIndexes {

bool create(QSqlDatabase &aConnection, const QStringList &acStatements, const QString &asPurpose)
{
    QSqlQuery vQuery(aConnection);
    for (const QString &vsStatement : acStatements) {
        if (!vQuery.exec(vsStatement)) {
            qDebug().noquote() << "No" << asPurpose << "index:" << vQuery.lastError().text();
            return false;
        }
    }
    return true;
}

} // namespace ContentIndexes
