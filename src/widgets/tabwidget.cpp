#include "widgets/tabwidget.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/coverwidget.h"
#include "widgets/tabarea.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QTabBar>

namespace {
// Tab texts treat "&" as a shortcut mark; titles show it as written.
QString tabLabel(const QString &asTitle)
{
    return QString(asTitle).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

TabWidget::TabWidget(QWidget *parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("tabWidget"));
    setTabsClosable(true);
    setMovable(true);
    setDocumentMode(true);
    // A page's translator request takes its language menu's action along to
    // the data store's thread.
    qRegisterMetaType<QAction *>("QAction*");
    connect(this, &QTabWidget::currentChanged, this, &TabWidget::currentChange);
    connect(this, &QTabWidget::tabCloseRequested, this, &TabWidget::closeTab);
    mpCover = new CoverWidget(this);
    mpCover->setObjectName(QStringLiteral("cover"));
    updateCover();
}

void TabWidget::setTreeView(TreeView *apTreeView)
{
    mpTreeView = apTreeView;
}

TabArea *TabWidget::openTab(const QString &asTitle)
{
    return openTab(asTitle, mpTreeView
                                ? mpTreeView->pageContext()
                                : PageContext{0, Application::sharedOptions()->dataLanguage()});
}

TabArea *TabWidget::openTab(const QString &asTitle, const PageContext &aContext)
{
    Database *vpDatabase = Application::database();
    auto *vpPage = new TabArea(mpTreeView, this, aContext);
    vpDatabase->addressPage(vpPage, vpPage->language());
    vpPage->setTitle(asTitle);
    vpPage->setPageOpener(this);
    mcOpenPages.insert(vpPage);
    addTab(vpPage, tabLabel(asTitle));
    setTabToolTip(count() - 1, asTitle);
    setCurrentIndex(count() - 1);

    connect(vpPage, QOverload<TabArea *, int, int>::of(&TabArea::openBibleChapter), vpDatabase,
            QOverload<TabArea *, int, int>::of(&Database::openBibleChapter));
    connect(vpPage, QOverload<TabArea *, QString, int>::of(&TabArea::openBibleChapter), vpDatabase,
            QOverload<TabArea *, QString, int>::of(&Database::openBibleChapter));
    connect(vpPage, &TabArea::openQuotesParagraph, vpDatabase, &Database::openQuotesParagraph);
    connect(vpPage, &TabArea::openQuotesParagraphST, vpDatabase, &Database::openQuotesParagraphST);
    connect(vpPage, &TabArea::openSermonOfHit, vpDatabase, &Database::openSermonOfHit);
    connect(vpPage, &TabArea::openQuotesParagraphAddLanguage, vpDatabase,
            &Database::openQuotesParagraphAddLanguage);
    connect(vpPage, &TabArea::openBibleAddLanguage, vpDatabase, &Database::openBibleAddLanguage);
    connect(vpPage, &TabArea::setTranslatorList, vpDatabase, &Database::setTranslatorList);
    connect(vpPage, &TabArea::searchMessages, vpDatabase,
            QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags, int, int,
                      int>::of(&Database::searchMessages));
    connect(vpPage, &TabArea::searchBible, vpDatabase,
            QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags, int, int,
                      int>::of(&Database::searchBible));
    connect(vpDatabase, &Database::translatorListReady, vpPage, &TabArea::useTranslatorList);
    connect(vpDatabase, &Database::searchModeStarting, vpPage, &TabArea::prepareSearchMode);
    return vpPage;
}

void TabWidget::setDocumentId(TabArea *apPage, int anDocumentId)
{
    if (isOpen(apPage))
        apPage->setDocumentId(anDocumentId);
}

void TabWidget::closeTabsWithTitle(QString asTitle)
{
    asTitle.replace(QRegularExpression(QStringLiteral(">\\.*$")), QStringLiteral(">"));
    const QString vsLabel = tabLabel(asTitle);
    for (int i = count() - 1; i >= 0; --i)
        if (tabText(i).contains(vsLabel))
            retirePage(qobject_cast<TabArea *>(widget(i)));
}

bool TabWidget::coverVisible() const
{
    return mpCover->isVisible();
}

void TabWidget::currentChange(int /*anIndex*/)
{
}

void TabWidget::closeTab(int anIndex)
{
    retirePage(qobject_cast<TabArea *>(widget(anIndex)));
}

void TabWidget::retirePage(TabArea *apPage)
{
    if (!apPage || !mcOpenPages.remove(apPage))
        return;
    removeTab(indexOf(apPage));
    apPage->hide();
    apPage->close();
    // Once the data store's thread reaches this call it has answered every
    // earlier request of the page, and its answers are queued here ahead of
    // the reply below.
    QPointer<TabWidget> vpSelf(this);
    QPointer<TabArea> vpPage(apPage);
    Database *vpDatabase = Application::database();
    QMetaObject::invokeMethod(
        vpDatabase,
        [vpSelf, vpPage, vpDatabase, apPage] {
            vpDatabase->forgetPage(apPage);
            // Back through the application object: the guarded pointers are
            // only read on the GUI thread, where their objects live.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [vpSelf, vpPage] {
                    delete vpPage.data();
                    if (vpSelf)
                        emit vpSelf->pageRetired();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TabWidget::addChapter(TabArea *apTab, QString asDateInfo, QString asChapterInfo,
                           QString /*asTitle*/, QString asNumber, QString asText)
{
    if (isOpen(apTab))
        apTab->addVerse(asDateInfo, asChapterInfo, asNumber, asText);
}

void TabWidget::addOtherChapter(TabArea *apTab, QString asName, QString asVerse, QString asText,
                                QString asChapter)
{
    if (isOpen(apTab))
        apTab->addParallelVerse(asName, asVerse, asText, asChapter);
}

void TabWidget::finishArticles(TabArea *apTab)
{
    if (isOpen(apTab))
        apTab->showArticles(0, QString(), NoOption, false);
}

void TabWidget::finishSearchArticles(TabArea *apTab, QString asText, AdvancedSearchFlags aFlags,
                                     int anParagraphsOnPage)
{
    if (isOpen(apTab))
        apTab->showHits(asText, aFlags, anParagraphsOnPage != -1);
}

void TabWidget::addParagraph(TabArea *apTab, QString asParameter)
{
    if (isOpen(apTab))
        apTab->addSermonParagraph(asParameter);
}

void TabWidget::addOtherParagraph(TabArea *apTab, QString asParameter)
{
    if (isOpen(apTab))
        apTab->addParallelParagraph(asParameter);
}

void TabWidget::showRightText(TabArea *apTab)
{
    if (isOpen(apTab))
        apTab->showRightText();
}

void TabWidget::addSearchMessage(TabArea *apTab, QString asTitle, QString asNumber,
                                 QString asSearchText, QString asDateInfo)
{
    if (isOpen(apTab))
        apTab->addHit(asTitle, asNumber, asSearchText, asDateInfo, QString());
}

void TabWidget::addSearchBible(TabArea *apTab, QString asTitle, QString asNumber,
                               QString asSearchText, QString asBook, QString asChapter)
{
    if (isOpen(apTab))
        apTab->addHit(asTitle, asNumber, asSearchText, asBook, asChapter);
}

void TabWidget::setNavigationParams(TabArea *apTab, int anValue)
{
    if (isOpen(apTab))
        apTab->setNavigationParams(anValue);
}

void TabWidget::setFoundPagesCount(TabArea *apTab, int anCount)
{
    if (isOpen(apTab))
        apTab->setFoundPagesCount(anCount);
}

void TabWidget::showHitGroups(TabArea *apTab, HitGroups acGroups)
{
    if (isOpen(apTab))
        apTab->setHitGroups(acGroups);
}

void TabWidget::updateCover()
{
    mpCover->setGeometry(rect());
    mpCover->setVisible(count() == 0);
    if (mpCover->isVisible())
        mpCover->raise();
}

void TabWidget::resizeEvent(QResizeEvent *apEvent)
{
    QTabWidget::resizeEvent(apEvent);
    updateCover();
}

void TabWidget::tabInserted(int anIndex)
{
    QTabWidget::tabInserted(anIndex);
    // The bar's close button shows only a cross.
    const QString vsName =
        tr("Close %1").arg(tabText(anIndex).replace(QStringLiteral("&&"), QStringLiteral("&")));
    for (QTabBar::ButtonPosition vSide : {QTabBar::LeftSide, QTabBar::RightSide})
        if (QWidget *vpButton = tabBar()->tabButton(anIndex, vSide))
            vpButton->setAccessibleName(vsName);
    updateCover();
}

void TabWidget::tabRemoved(int anIndex)
{
    QTabWidget::tabRemoved(anIndex);
    updateCover();
}
