#pragma once

#include <QMainWindow>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class SearchWidget;
class StoreRequests;
class QSplitter;
class QToolBar;
class TabWidget;
class ToolBar;
class TreeView;

// The program's only top-level window: menus (data and interface language,
// settings, help), the catalogue tree with its tool bars, the document tabs and the
// status bar with the sermon totals. It wires the catalogue and the tabs to
// the data store and keeps its layout across sessions.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    TreeView *treeView() const { return mpTreeView; }
    TabWidget *tabWidget() const { return mpTabs; }
    SearchWidget *searchWidget() const { return mpSearchWidget; }
    QWidget *advancedPanel() const { return mpAdvancedPanel; }
    QList<QRadioButton *> advancedOptions() const { return mcOptionButtons; }
    QCheckBox *wordFormsOption() const { return mpWordFormsBox; }
    ToolBar *toolBar() const { return mpToolBar; }
    QLabel *sermonCountLabel() const { return mpSermonCountLabel; }
    StoreRequests *storeRequests() const { return mpRequests; }

public slots:
    void help();
    void setLanguage();
    void updateStatus();

protected:
    void changeEvent(QEvent *apEvent) override;
    void resizeEvent(QResizeEvent *apEvent) override;
    void showEvent(QShowEvent *apEvent) override;

private slots:
    void advanceSearchClick();
    void moveAdvancedSearch();
    void openSettings();

private:
    void createMenus();
    void createToolBars();
    QMenu *createLanguageMenu(const QString &asTitle, const QString &asCodeKey,
                              const QString &asNameKey, const QString &asObjectPrefix);
    void restoreLayout();
    void createAdvancedPanel();
    void retranslateAdvancedPanel();
    void nameControls();
    void orderFocus();
    void showSermonCounts();

    QMenu *mpLanguageMenu = nullptr;
    QMenu *mpServiceMenu = nullptr;
    QMenu *mpAboutMenu = nullptr;
    TreeView *mpTreeView = nullptr;
    TabWidget *mpTabs = nullptr;
    ToolBar *mpToolBar = nullptr;
    QToolBar *mpTreeToolBar = nullptr;
    QLabel *mpSermonCountLabel = nullptr;
    QSplitter *vpSplitter = nullptr;
    SearchWidget *mpSearchWidget = nullptr;
    QToolBar *mpSearchToolBar = nullptr;
    QWidget *mpAdvancedPanel = nullptr;
    QList<QRadioButton *> mcOptionButtons;
    StoreRequests *mpRequests = nullptr;
    // The last sermon totals, shown again in a new interface language.
    int mnFirstTranslations = 0;
    int mnAllSermons = 0;
    QPushButton *mpAdvancedSearchButton = nullptr;
    QCheckBox *mpWordFormsBox = nullptr;
    // Whether the data store was asked for the files it could not use.
    bool mbFileProblemsAsked = false;
};
