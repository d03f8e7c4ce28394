#pragma once

#include "models/cataloguetree.h"

#include <QString>
#include <QVector>

#include <memory>
#include <vector>

class Database;
class QStandardItem;

// The catalogue as the tree shows it, filled by the data store's own
// catalogue reads, kept as plain groups and items for printing and lookups.
class CatalogueListing : public CatalogueTree
{
public:
    struct Entry
    {
        QString msText;
        QString msKey;
        QString msDetails; // an item's tool tip: date, translator, length
        bool mbFurtherTranslation = false;
        bool mbHasMp3 = false;
    };
    struct Group
    {
        Entry mEntry;
        QVector<Entry> mcItems;
    };

    CatalogueListing();
    ~CatalogueListing() override;

    // Reads the catalogue of the data store's database: anKind a
    // CatalogueTree kind; abDuplicates keeps further translations.
    void fill(Database &aDatabase, int anKind, bool abDuplicates);

    const QVector<Group> &groups() const { return mcGroups; }
    // The item with the key, or null.
    const Entry *findItem(const QString &asKey) const;

    void clearTree() override;
    void setKind(int anKind) override { mnKind = anKind; }
    int kind() const override { return mnKind; }
    int topLevelCount() const override { return mcGroups.size(); }
    QStandardItem *addTopItem(const QString &asText, const QString &asData, bool abItalic,
                              const QString &asToolTip) override;
    QStandardItem *addItem(const QString &asText, int anParentRow, const QString &asData,
                           bool abItalic, const QString &asToolTip, bool abHasMp3) override;
    QStandardItem *addChildItem(const QString &asText, QStandardItem *apParent,
                                const QString &asData, bool abItalic, const QString &asToolTip,
                                bool abHasMp3) override;

private:
    int mnKind = ByYear;
    QVector<Group> mcGroups;
    // One handle per group, for the data store to name a group by.
    std::vector<std::unique_ptr<QStandardItem>> mcHandles;
};
