#pragma once

#include <QSqlQuery>

#include <functional>

class CatalogueTree;

// Reads the catalogue of the open database into the catalogue tree: sermons
// grouped by the first letter of their title or by year (with or without
// further translations), or the Bible's books with their chapters. A new
// group starts whenever the grouping key changes in the sorted rows.
class CatalogueFill
{
public:
    using QueryFactory = std::function<QSqlQuery()>;

    CatalogueFill(CatalogueTree &aTree, QueryFactory aNewQuery);

    void byName(bool abDuplicates);
    void byYear(bool abDuplicates);
    void bible();

private:
    CatalogueTree &mTree;
    QueryFactory mNewQuery;
};
