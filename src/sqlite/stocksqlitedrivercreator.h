#pragma once

#include <QSqlDatabase>

// Gives Qt's own SQLite driver under another driver name. The driver is made by
// the QSQLITE plug-in, which links the same libsqlite3 as the program, so the
// tokenizer installed into that library serves its connections too. Without the
// plug-in it makes nothing, and QSqlDatabase reports an invalid connection.
class StockSqliteDriverCreator : public QSqlDriverCreatorBase
{
public:
    QSqlDriver *createObject() const override;
};
