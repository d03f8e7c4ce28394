#pragma once

#include "models/searchflags.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QStringListModel;
class TabArea;
class TabWidget;
class TreeView;

// The search line: a text field, a search button and the button that opens
// the advanced options. A search opens a result tab titled "<text>" (closing
// an older one of the same text) and asks the data store to search the
// sermons or, when the catalogue shows the Bible, the Bible, limited to the
// checked items.
class SearchWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SearchWidget(QWidget *parent = nullptr);

    void setTabWidget(TabWidget *apTabs) { mpTabs = apTabs; }
    void setTreeView(TreeView *apTreeView) { mpTreeView = apTreeView; }
    QLineEdit *lineEdit() const { return mpLineEdit; }
    QPushButton *searchButton() const { return mpSearchButton; }
    QPushButton *advancedButton() const { return mpAdvancedButton; }
    // The searches the line completes from, newest first.
    QStringListModel *history() const { return mpHistory; }
    // Whether every search looks for the forms of its words.
    void setWordForms(bool abOn);
    bool wordForms() const { return mbWordForms; }

signals:
    void searchMessages(TabArea *apTab, QString asText, QString asDates, AdvancedSearchFlags aFlags,
                        int anOffset, int anParagraphsOnPage = -1);
    void searchBible(TabArea *apTab, QString asText, QString asChapters, AdvancedSearchFlags aFlags,
                     int anOffset, int anParagraphsOnPage = -1);

public slots:
    void search();
    void startSearch(AdvancedSearchFlags aFlags);

protected:
    void changeEvent(QEvent *apEvent) override;

private:
    void retranslate();

    QLineEdit *mpLineEdit = nullptr;
    QPushButton *mpSearchButton = nullptr;
    QPushButton *mpAdvancedButton = nullptr;
    QStringListModel *mpHistory = nullptr;
    TabWidget *mpTabs = nullptr;
    TreeView *mpTreeView = nullptr;
    bool mbWordForms = false;
};
