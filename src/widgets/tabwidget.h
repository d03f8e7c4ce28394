#pragma once

#include "models/hitgroups.h"
#include "models/searchflags.h"
#include "views/pageopener.h"

#include <QSet>
#include <QTabWidget>

class CoverWidget;
class TabArea;
class TreeView;

// The document tabs. It creates pages, wires them to the data store, shows
// the cover while no tab is open, and hands the data store's results to the
// page they name.
//
// Page lifetime: results travel to the GUI thread as queued signals carrying
// the page pointer, so a page the reader closes may still be named by
// results on their way. A closed page therefore leaves the tabs at once but
// is destroyed only after a round trip through the data store's thread: by
// then every request it made has been answered, and every answer has been
// delivered (and dropped, since the page is no longer open). No result ever
// reaches a destroyed page, and no new page can take a closed page's address
// while results for it are still on their way.
class TabWidget : public QTabWidget, public PageOpener
{
    Q_OBJECT

public:
    explicit TabWidget(QWidget *parent = nullptr);

    void setTreeView(TreeView *apTreeView);

    // PageOpener. The page's requests run on the data store in its data
    // language (see Database::addressPage).
    TabArea *openTab(const QString &asTitle, const PageContext &aContext) override;
    // A page of what the tree shows now.
    TabArea *openTab(const QString &asTitle);
    void setDocumentId(TabArea *apPage, int anDocumentId) override;

    void closeTabsWithTitle(QString asTitle);
    bool isOpen(TabArea *apPage) const { return mcOpenPages.contains(apPage); }
    bool coverVisible() const;

public slots:
    void currentChange(int anIndex);
    void closeTab(int anIndex);
    void addChapter(TabArea *apTab, QString asDateInfo, QString asChapterInfo, QString asTitle,
                    QString asNumber, QString asText);
    void addOtherChapter(TabArea *apTab, QString asName, QString asVerse, QString asText,
                         QString asChapter);
    void finishArticles(TabArea *apTab);
    void finishSearchArticles(TabArea *apTab, QString asText, AdvancedSearchFlags aFlags,
                              int anParagraphsOnPage);
    void addParagraph(TabArea *apTab, QString asParameter);
    void addOtherParagraph(TabArea *apTab, QString asParameter);
    void showRightText(TabArea *apTab);
    void addSearchMessage(TabArea *apTab, QString asTitle, QString asNumber, QString asSearchText,
                          QString asDateInfo);
    void addSearchBible(TabArea *apTab, QString asTitle, QString asNumber, QString asSearchText,
                        QString asBook, QString asChapter);
    void setNavigationParams(TabArea *apTab, int anValue);
    void setFoundPagesCount(TabArea *apTab, int anCount);
    void showHitGroups(TabArea *apTab, HitGroups acGroups);

signals:
    // A closed page has been destroyed (after its results were drained).
    void pageRetired();

protected:
    void resizeEvent(QResizeEvent *apEvent) override;
    void tabInserted(int anIndex) override;
    void tabRemoved(int anIndex) override;

private:
    void retirePage(TabArea *apPage);
    void updateCover();

    TreeView *mpTreeView = nullptr;
    CoverWidget *mpCover = nullptr;
    QSet<TabArea *> mcOpenPages;
};
