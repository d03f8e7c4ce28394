#pragma once

#include "models/catalogue.h"

#include <QSqlQuery>

#include <functional>

// Reads the catalogue of the open database: sermons grouped by the first
// letter of their title or by year (with or without further translations),
// or the Bible's books with their chapters. A new group starts whenever the
// grouping key changes in the sorted rows. A failed statement is logged and
// leaves the catalogue (or that book) empty.
class CatalogueReader
{
public:
    using QueryFactory = std::function<QSqlQuery()>;

    explicit CatalogueReader(QueryFactory aNewQuery);

    Catalogue byName(bool abDuplicates) const;
    Catalogue byYear(bool abDuplicates) const;
    Catalogue bible() const;

    // The status-bar texts of a hovered item: a Bible book's name (by its
    // row in the Bible catalogue), or a sermon's date, title, translator and
    // length (one per record of that date).
    QStringList statusTexts(bool abBible, const QString &asDate, int anBookRow) const;
    // Sermon records, all or first translations only; -1 when the count fails.
    int countSermons(bool abDuplicates) const;

private:
    QueryFactory mNewQuery;
};
