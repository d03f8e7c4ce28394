#include "models/catalogue.h"

const Catalogue::Entry *Catalogue::findItem(const QString &asKey) const
{
    for (const Group &vGroup : mcGroups)
        for (const Entry &vItem : vGroup.mcItems)
            if (vItem.msKey == asKey)
                return &vItem;
    return nullptr;
}

void Catalogue::fill(CatalogueTree &aTree) const
{
    aTree.clearTree();
    aTree.setKind(mnKind);
    for (const Group &vGroup : mcGroups) {
        const Entry &vTop = vGroup.mEntry;
        QStandardItem *vpGroup =
            aTree.addTopItem(vTop.msText, vTop.msKey, vTop.mbFurtherTranslation, vTop.msDetails);
        for (const Entry &vItem : vGroup.mcItems)
            aTree.addChildItem(vItem.msText, vpGroup, vItem.msKey, vItem.mbFurtherTranslation,
                               vItem.msDetails, vItem.mbHasMp3);
    }
}
