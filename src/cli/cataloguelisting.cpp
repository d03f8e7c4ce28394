#include "cli/cataloguelisting.h"

#include "models/database.h"

#include <QStandardItem>

CatalogueListing::CatalogueListing() = default;
CatalogueListing::~CatalogueListing() = default;

void CatalogueListing::fill(Database &aDatabase, int anKind, bool abDuplicates)
{
    aDatabase.setTreeView(this);
    switch (anKind) {
    case Bible:
        aDatabase.setBible();
        break;
    case ByName:
        abDuplicates ? aDatabase.setByName() : aDatabase.setByNameDist();
        break;
    default:
        abDuplicates ? aDatabase.setByYear() : aDatabase.setByYearDist();
        break;
    }
    aDatabase.setTreeView(nullptr);
}

const CatalogueListing::Entry *CatalogueListing::findItem(const QString &asKey) const
{
    for (const Group &vGroup : mcGroups)
        for (const Entry &vItem : vGroup.mcItems)
            if (vItem.msKey == asKey)
                return &vItem;
    return nullptr;
}

void CatalogueListing::clearTree()
{
    mcGroups.clear();
    mcHandles.clear();
}

QStandardItem *CatalogueListing::addTopItem(const QString &asText, const QString &asData,
                                            bool abItalic, const QString &asToolTip)
{
    mcGroups.append(Group{{asText, asData, asToolTip, abItalic, false}, {}});
    auto vpHandle = std::make_unique<QStandardItem>();
    vpHandle->setData(mcGroups.size() - 1, Qt::UserRole);
    mcHandles.push_back(std::move(vpHandle));
    return mcHandles.back().get();
}

QStandardItem *CatalogueListing::addItem(const QString &asText, int anParentRow,
                                         const QString &asData, bool abItalic,
                                         const QString &asToolTip, bool abHasMp3)
{
    if (anParentRow >= 0 && anParentRow < mcGroups.size())
        mcGroups[anParentRow].mcItems.append(Entry{asText, asData, asToolTip, abItalic, abHasMp3});
    return nullptr;
}

QStandardItem *CatalogueListing::addChildItem(const QString &asText, QStandardItem *apParent,
                                              const QString &asData, bool abItalic,
                                              const QString &asToolTip, bool abHasMp3)
{
    return addItem(asText, apParent ? apParent->data(Qt::UserRole).toInt() : -1, asData, abItalic,
                   asToolTip, abHasMp3);
}
