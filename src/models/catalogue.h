#pragma once

#include "models/cataloguetree.h"

#include <QMetaType>
#include <QString>
#include <QVector>

// One catalogue as the tree shows it, read from a data language's file: the
// groups (years, title letters or Bible books) with their items (sermons or
// chapters). A plain value, so it can be read on the data store's thread and
// shown on the GUI thread, or printed by the command-line tool.
struct Catalogue
{
    struct Entry
    {
        QString msText;
        QString msKey;     // the item's key (see CatalogueTree)
        QString msDetails; // a sermon's tool tip: date, translator, length
        bool mbFurtherTranslation = false;
        bool mbHasMp3 = false;
    };
    struct Group
    {
        Entry mEntry;
        QVector<Entry> mcItems;
    };

    int mnKind = CatalogueTree::ByYear;
    // The data language of the file it was read from.
    QString msLanguage;
    QVector<Group> mcGroups;

    // The item with the key, or null.
    const Entry *findItem(const QString &asKey) const;
    // Replaces what the tree shows with this catalogue.
    void fill(CatalogueTree &aTree) const;
};

Q_DECLARE_METATYPE(Catalogue)
