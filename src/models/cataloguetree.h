#pragma once

#include <QString>

class QStandardItem;

// What the data store needs of the catalogue tree to fill it. The tree view
// implements it; the data store only ever calls it on the GUI thread.
class CatalogueTree
{
public:
    enum Kind
    {
        ByYear = 0,
        ByName = 1,
        Bible = 2
    };

    virtual ~CatalogueTree() = default;

    virtual void clearTree() = 0;
    virtual void setKind(int anKind) = 0;
    virtual int kind() const = 0;
    virtual int topLevelCount() const = 0;
    virtual QStandardItem *addTopItem(const QString &asText, const QString &asData, bool abItalic,
                                      const QString &asToolTip) = 0;
    virtual QStandardItem *addItem(const QString &asText, int anParentRow, const QString &asData,
                                   bool abItalic, const QString &asToolTip, bool abHasMp3) = 0;
    virtual QStandardItem *addChildItem(const QString &asText, QStandardItem *apParent,
                                        const QString &asData, bool abItalic,
                                        const QString &asToolTip, bool abHasMp3) = 0;
};
