#pragma once

#include <QToolBar>

class QAction;
class QMenu;
class QToolButton;
class QWidgetAction;
class StoreRequests;
class TreeView;

// The top tool bar of the catalogue: which catalogue the tree shows (sermons
// by year or by name, or the Bible), whether further translations of a
// sermon are listed, and which data language is open. Every choice asks for
// the catalogue anew (the tree shows it when it arrives). It also owns the
// action that hides the tree.
class ToolBar : public QToolBar
{
    Q_OBJECT

public:
    ToolBar(const QString &title, QWidget *parent);

    void setTreeView(TreeView *apTreeView);
    // Where the catalogue is asked for; without it nothing is loaded.
    void setStoreRequests(StoreRequests *apRequests) { mpRequests = apRequests; }
    void createActions();
    // Asks again for the catalogue of the kind on show.
    void refreshCatalogue();
    void updateLanguageMenu();

    QAction *duplicatesAction() const { return mpDuplicatesAction; }
    QAction *hideTreeAction() const { return mpHideTreeAction; }
    QToolButton *languageButton() const { return mpLanguageButton; }
    bool showsDuplicates() const { return mbShowDuplicates; }

public slots:
    void changeLocale(QAction *apAction);
    void sortByYearClicked();
    void sortByNameClicked();
    void biblesClicked();
    void duplicatesClicked();
    void showTreeClicked();

protected:
    void changeEvent(QEvent *apEvent) override;

private:
    enum class Kind
    {
        None,
        ByYear,
        ByName,
        Bible
    };

    QToolButton *makeKindButton(const QString &asIcon, void (ToolBar::*aSlot)());
    void selectKind(Kind aKind);
    void retranslate();

    QToolButton *mpLanguageButton = nullptr;
    QWidgetAction *mpLanguageAction = nullptr;
    Kind mKind = Kind::None;
    QToolButton *mpByYearButton = nullptr;
    QToolButton *mpByNameButton = nullptr;
    QToolButton *mpBibleButton = nullptr;
    QAction *mpDuplicatesAction = nullptr;
    QAction *mpHideTreeAction = nullptr;
    TreeView *mpTreeView = nullptr;
    StoreRequests *mpRequests = nullptr;
    bool mbShowDuplicates = true;
};
