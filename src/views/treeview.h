#pragma once

#include "models/cataloguetree.h"
#include "views/pageopener.h"

#include <QModelIndex>
#include <QTreeView>

#include <atomic>

struct Catalogue;
class QAction;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class StoreRequests;
class TabArea;
class ToolBar;

// The checkable catalogue of the current data language: sermons by year or
// by title letter, or the Bible's books and chapters. The data store fills it
// (CatalogueTree), or hands it a whole catalogue read on its own thread
// (showCatalogue). Checking a group checks its sermons and a group shows
// whether all, some or none of its sermons are checked; the checked keys
// restrict searches, exports and deletions. Hovering reports an item's
// details through statusMessage(); a double-click opens the item in a page.
class TreeView : public QTreeView, public CatalogueTree
{
    Q_OBJECT

public:
    explicit TreeView(QWidget *parent = nullptr);

    // CatalogueTree
    void clearTree() override;
    void setKind(int anKind) override;
    int kind() const override;
    int topLevelCount() const override;
    QStandardItem *addTopItem(const QString &asText, const QString &asData, bool abItalic,
                              const QString &asToolTip) override;
    QStandardItem *addItem(const QString &asText, int anParentRow, const QString &asData,
                           bool abItalic, const QString &asToolTip, bool abHasMp3) override;
    QStandardItem *addChildItem(const QString &asText, QStandardItem *apParent,
                                const QString &asData, bool abItalic, const QString &asToolTip,
                                bool abHasMp3) override;

    // Shows a catalogue read by the data store; the tree remembers its
    // data language for the pages it opens.
    void showCatalogue(const Catalogue &aCatalogue);
    // The data language of the catalogue shown (empty before the first).
    QString catalogueLanguage() const { return msLanguage; }
    // What a page opened from the tree (or searching it) shows: the tree's
    // kind in the catalogue's data language, the program's when none is known.
    PageContext pageContext() const;

    QString checkedSermons() const;
    QString checkedChapters() const;
    void checkItems(const QStringList &acTitles);
    QString findDocumentKey(const QString &asText) const;
    void applyFont();
    void setToolBar(ToolBar *apToolBar);
    void setPageOpener(PageOpener *apOpener);
    // Where hovered items' details are asked for.
    void setStoreRequests(StoreRequests *apRequests) { mpRequests = apRequests; }

    QStandardItemModel *itemModel() const { return mpModel; }
    QAction *checkAllAction() const { return mpCheckAllAction; }
    QAction *uncheckAllAction() const { return mpUncheckAllAction; }
    QAction *checkInverseAction() const { return mpCheckInverseAction; }
    QAction *expandAction() const { return mpExpandAction; }
    QAction *exportAction() const { return mpExportAction; }
    QAction *deleteAction() const { return mpDeleteAction; }

signals:
    void openBibleChapter(TabArea *apTab, int anBible, int anChapter);
    void openQuotesParagraph(TabArea *apTab, int anParagraph);
    void kindChanged(int anKind);
    // A text for the status bar; empty clears it.
    void statusMessage(const QString &asText);
    // The user confirmed exporting or deleting the checked documents.
    void exportRequested(const QString &acList);
    void deleteRequested(const QString &acList);

public slots:
    void checkAll();
    void uncheckAll();
    void checkInverseAll();
    void collapseAll();
    void expandAll();
    void toggleTree(bool abExpand);
    void itemChanged(QStandardItem *apItem);
    void itemDoubleClicked(QModelIndex aIndex);
    void expandColumn(QModelIndex aIndex);

private slots:
    void exportSql();
    void deleteSql();

protected:
    bool eventFilter(QObject *apWatched, QEvent *apEvent) override;
    void changeEvent(QEvent *apEvent) override;

private:
    QStandardItem *prepareItem(const QString &asText, const QString &asData, bool abItalic,
                               const QString &asToolTip);
    QStringList checkedChildKeys() const;
    bool confirm(const QString &asQuestion) const;
    void setAllTopLevel(Qt::CheckState aState);
    void showHoverStatus(const QModelIndex &aIndex);
    void clearHoverStatus();
    void retranslate();

    QStandardItemModel *mpModel = nullptr;
    QSortFilterProxyModel *mpProxy = nullptr;
    bool mbPropagating = false;
    // Read by the data store's thread when it answers a hover.
    std::atomic<int> mnKind{ByYear};
    QString msLastHoverText;
    QAction *mpCheckAllAction = nullptr;
    QAction *mpUncheckAllAction = nullptr;
    QAction *mpCheckInverseAction = nullptr;
    QAction *mpExpandAction = nullptr;
    QAction *mpExportAction = nullptr;
    QAction *mpDeleteAction = nullptr;
    ToolBar *mpToolBar = nullptr;
    PageOpener *mpPageOpener = nullptr;
    StoreRequests *mpRequests = nullptr;
    QString msLanguage;
};
