#include "widgets/tabarea.h"

#include "controllers/application.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/hitchart.h"
#include "widgets/navigationwidget.h"
#include "widgets/pageactions.h"
#include "widgets/searchhighlighter.h"
#include "widgets/textbrowser.h"
#include "widgets/translationmenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Results a one-page page loads at a time.
const int cnChunk = 10;

PageContext contextOf(const TreeView *apTreeView)
{
    return apTreeView ? apTreeView->pageContext()
                      : PageContext{0, Application::sharedOptions()->dataLanguage()};
}
} // namespace

TabArea::TabArea(TreeView *apTreeView, QWidget *parent)
    : TabArea(apTreeView, parent, contextOf(apTreeView))
{
}

TabArea::TabArea(TreeView * /*apTreeView*/, QWidget *parent, const PageContext &aContext)
    : QWidget(parent), mnMode(aContext.mnKind),
      msLanguage(aContext.msLanguage.isEmpty() ? Application::sharedOptions()->dataLanguage()
                                               : aContext.msLanguage),
      mFormats(ArticleFormats::fromSettings())
{
    setAutoFillBackground(true);
    auto *vpLayout = new QVBoxLayout(this);
    vpLayout->setContentsMargins(0, 0, 0, 0);

    mpControlToolbar = new QToolBar(this);
    mpControlToolbar->setObjectName(QStringLiteral("mpControlToolbar"));
    mpControlToolbar->setStyleSheet(QStringLiteral("QToolBar { border-width: 0px; }"));
    vpLayout->addWidget(mpControlToolbar);
    mpPlayerToolbar = new QToolBar(this);
    mpPlayerToolbar->setObjectName(QStringLiteral("mpPlayerToolbar"));
    mpPlayerToolbar->setStyleSheet(QStringLiteral("QToolBar { border-width: 0px; }"));
    vpLayout->addWidget(mpPlayerToolbar);
    mpActions = new PageActions(this, mpControlToolbar, mpPlayerToolbar);
    mpActions->addEditingTools();

    mpNavigation = new NavigationWidget(mnMode, this);
    // The option may start the page in one-page mode; leaving it must then
    // bring the pages back.
    mbOnePage = mpNavigation->isOnePage();
    connect(mpNavigation, &NavigationWidget::currentPageChanged, this, &TabArea::navigation);
    connect(mpNavigation, &NavigationWidget::onePageChanged, this, &TabArea::setOnePage);
    mpControlToolbar->addWidget(mpNavigation);

    mpTranslationMenu = new TranslationMenu(this);
    mpTranslationButton = new QToolButton(this);
    mpTranslationButton->setIcon(Resources::icon(QStringLiteral(":/icons/view_left_right.png")));
    mpTranslationButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mpTranslationButton->setPopupMode(QToolButton::InstantPopup);
    mpTranslationButton->setCheckable(true);
    mpTranslationButton->setMenu(mpTranslationMenu->menu());
    mpTranslationButton->installEventFilter(this);
    mpControlToolbar->addWidget(mpTranslationButton);
    mpActions->addShareTool();
    connect(mpTranslationMenu, &TranslationMenu::translatorListsWanted, this,
            [this](const QList<QAction *> &acActions) {
                mpTranslationButton->setChecked(true);
                for (QAction *vpAction : acActions)
                    emit setTranslatorList(vpAction->objectName().section(QLatin1Char('_'), 1),
                                           this, msDateInfo, vpAction);
            });
    connect(mpTranslationMenu, &TranslationMenu::translationChosen, this,
            [this](const QString &asLocale, const QString &asTranslator) {
                mpTranslationButton->setChecked(true);
                openTranslation(asLocale, asTranslator);
            });

    mpHitChart = new HitChart(this);
    connect(mpHitChart, &HitChart::restrictionChosen, this, &TabArea::narrowSearch);
    vpLayout->addWidget(mpHitChart);

    auto *vpViews = new QHBoxLayout;
    mpLeftTextBrowser = makeView(QStringLiteral("mpLeftTextBrowser"));
    mpRightTextBrowser = makeView(QStringLiteral("mpRightTextBrowser"));
    mpRightTextBrowser->hide();
    for (TextBrowser *vpView : {mpLeftTextBrowser, mpRightTextBrowser}) {
        vpView->setContextMenuPolicy(Qt::ActionsContextMenu);
        vpView->addActions(mpActions->viewActions());
    }
    mpLeftTextBrowser->viewport()->installEventFilter(this);
    connect(mpLeftTextBrowser, &TextBrowser::cursorPositionChanged, mpActions,
            &PageActions::cursorPositionChanged);
    vpViews->addWidget(mpLeftTextBrowser);
    vpViews->addWidget(mpRightTextBrowser);
    vpLayout->addLayout(vpViews);
    retranslate();
    mpActions->orderFocus();
}

TabArea::~TabArea() = default;

TextBrowser *TabArea::makeView(const QString &asName)
{
    auto *vpView = new TextBrowser(this);
    vpView->setObjectName(asName);
    vpView->setOpenLinks(false);
    vpView->setUndoRedoEnabled(false);
    vpView->setTabStopDistance(40);
    vpView->installEventFilter(this);
    connect(vpView, &TextBrowser::anchorClicked, this, &TabArea::nextArticle);
    connect(vpView, &TextBrowser::bottomReached, mpNavigation, &NavigationWidget::navigate);
    return vpView;
}

bool TabArea::isDocumentPage() const
{
    return msSearchText.isEmpty();
}

ArticleRenderer::PageKind TabArea::pageKind() const
{
    if (isDocumentPage())
        return ArticleRenderer::PageKind::Document;
    return isBible() ? ArticleRenderer::PageKind::BibleResults
                     : ArticleRenderer::PageKind::SermonResults;
}

int TabArea::pageSize(bool abOnePage) const
{
    if (abOnePage)
        return cnChunk;
    const SharedOptions *vpOptions = Application::sharedOptions();
    return isBible() ? vpOptions->versesCount() : vpOptions->paragraphCount();
}

void TabArea::addSermonParagraph(const QString &asRecord)
{
    PageRecords::SermonDetails vDetails;
    if (!mRecords.addSermonParagraph(asRecord, &vDetails))
        return;
    msTranslator = vDetails.msTranslator;
    msPdf = vDetails.msPdf;
    msMp3 = vDetails.msMp3;
    msLength = vDetails.msLength;
    msPlace = vDetails.msPlace;
    msDateInfo = vDetails.msDate;
    recordAdded(true);
}

void TabArea::addParallelParagraph(const QString &asRecord)
{
    if (mRecords.addParallelParagraph(asRecord))
        recordAdded(false);
}

void TabArea::addVerse(const QString &asBook, const QString &asChapter, const QString &asVerse,
                       const QString &asText)
{
    msDateInfo = asBook;
    msChapterInfo = asChapter;
    mRecords.addVerse(asVerse, asText);
    recordAdded(true);
}

void TabArea::addParallelVerse(const QString &asName, const QString &asVerse, const QString &asText,
                               const QString &asChapter)
{
    mRecords.addParallelVerse(
        asName, asVerse, asText, asChapter, msDateInfo.toInt(), msChapterInfo.toInt(),
        Application::database()->psalmPlacement(msParallelLocale, msLanguage));
    recordAdded(false);
}

void TabArea::addHit(const QString &asTitle, const QString &asNumber, const QString &asText,
                     const QString &asKey, const QString &asChapter)
{
    mRecords.addHit(asTitle, asNumber, asText, asKey, asChapter);
    recordAdded(true);
}

void TabArea::recordAdded(bool abMain)
{
    mbMainSide = abMain;
    if (mpTranslationButton->isEnabled() && abMain && isBible())
        mpNavigation->setPagesCount(1);
}

void TabArea::showArticles(int anFrom, const QString &asText, AdvancedSearchFlags aFlags,
                           bool abAppend)
{
    mpTranslationButton->setEnabled(asText.isEmpty());
    msSearchText = asText;
    const int vnPageSize = pageSize(abAppend);
    TextBrowser *vpView = mbMainSide ? mpLeftTextBrowser : mpRightTextBrowser;
    vpView->disableReachBottomTracking();
    if (!abAppend)
        vpView->clear();
    vpView->setUpdatesEnabled(false);
    vpView->document()->setDefaultFont(mFormats.mText.font());

    const QVector<ArticleRecord> &vcRecords = mRecords.records();
    int vnLimit = (isBible() && asText.isEmpty()) ? vcRecords.size() : vnPageSize + anFrom;
    vnLimit = qMin(vnLimit, vcRecords.size());
    if (vcRecords.isEmpty()) {
        ArticleRenderer::renderNothingFound(vpView, mFormats);
        mpNavigation->setPagesCount(1);
    } else {
        if (asText.isEmpty()) {
            // A document always shows all its records.
            vnLimit = vcRecords.size();
            mpNavigation->hideControls();
        }
        mnLastCursorPosition = ArticleRenderer::render(vpView, vcRecords, anFrom, vnLimit,
                                                       mbMainSide, pageKind(), mFormats);
        if (!asText.isEmpty())
            highlightSearch(asText, aFlags);
    }

    mpActions->setResultPage(!asText.isEmpty());
    if (!isBible() && asText.isEmpty() && mbMainSide && !vcRecords.isEmpty())
        mpActions->addMediaButtons(msPdf, msMp3, msLength);
    if (mpActions->captionsHidden())
        mpActions->showCaption();
    vpView->setUpdatesEnabled(true);
    vpView->enableReachBottomTracking();
    if (mnJumpAnchor >= 0) {
        mpLeftTextBrowser->scrollToAnchor(QString::number(mnJumpAnchor));
        mnJumpAnchor = -1;
    }
}

void TabArea::showHits(const QString &asText, AdvancedSearchFlags aFlags, bool abAppend)
{
    mbMainSide = true;
    if (!abAppend)
        mnShownRecords = 0;
    // A chunk goes below the hits shown so far; the records of all chunks
    // stay, so that any hit on the page can be opened.
    showArticles(mnShownRecords, asText, aFlags, abAppend);
    mnShownRecords = mRecords.records().size();
    mbAwaitingHits = false;
    if (mPendingNarrowing) {
        const QPair<QString, QString> vChoice = *mPendingNarrowing;
        mPendingNarrowing.reset();
        narrowSearch(vChoice.first, vChoice.second);
        return;
    }
    continueOnePage();
}

int TabArea::firstRequestSize() const
{
    return mpNavigation->isOnePage() ? cnChunk : -1;
}

void TabArea::continueOnePage()
{
    if (isDocumentPage() || !mpNavigation->isOnePage())
        return;
    // Laid out first: the scroll range is known only then.
    QTimer::singleShot(0, this, [this] {
        if (mpNavigation->isOnePage() && mpNavigation->currentPage() < mpNavigation->pagesCount() &&
            mpLeftTextBrowser->verticalScrollBar()->maximum() == 0)
            mpNavigation->loadNextChunk();
    });
}

void TabArea::clearArticles()
{
    mRecords.clear();
}

void TabArea::setNavigationParams(int anValue)
{
    mpNavigation->setPagesCount(anValue);
    continueOnePage();
}

void TabArea::setFoundPagesCount(int anCount)
{
    mnFoundCount = anCount;
    QWidget *vpStack = parentWidget();
    auto *vpTabs = vpStack ? qobject_cast<QTabWidget *>(vpStack->parentWidget()) : nullptr;
    if (!vpTabs)
        return;
    const int vnIndex = vpTabs->indexOf(this);
    if (vnIndex < 0)
        return;
    QString vsTitle =
        QRegularExpression(QStringLiteral("^\\<.*\\>")).match(vpTabs->tabText(vnIndex)).captured(0);
    if (!msNarrowLabel.isEmpty())
        vsTitle += QLatin1Char(' ') + msNarrowLabel;
    vpTabs->setTabText(vnIndex, tr("%0 (found: %1)").arg(vsTitle, QString::number(anCount)));
}

void TabArea::showRightText()
{
    mpRightTextBrowser->show();
}

void TabArea::openTranslation(const QString &asLocale, const QString &asTranslator)
{
    msParallelLocale = asLocale;
    // A new translation replaces the previous one entirely.
    mRecords.clearParallel();
    if (isBible())
        emit openBibleAddLanguage(asLocale, this, msDateInfo, msChapterInfo);
    else
        emit openQuotesParagraphAddLanguage(asLocale, this, asTranslator, msDateInfo);
}

void TabArea::useTranslatorList(QStringList acList, QObject *apLanguageAction)
{
    mpTranslationMenu->useTranslatorList(acList, qobject_cast<QAction *>(apLanguageAction),
                                         isBible(), msTranslator, msLanguage);
}

void TabArea::prepareSearchMode(bool abYes)
{
    // Every page hears this: a search in another tab must not leave this
    // document's translation button switched off.
    mpTranslationButton->setEnabled(!abYes && isDocumentPage());
    mpNavigation->setBackEnabled(!abYes && mpNavigation->currentPage() > 1);
    mpNavigation->setForwardEnabled(!abYes &&
                                    mpNavigation->currentPage() < mpNavigation->pagesCount());
}

void TabArea::nextArticle(QUrl aUrl)
{
    if (!isDocumentPage()) {
        openHit(aUrl.toString());
        return;
    }
    // The views never follow links themselves: both are brought to the
    // clicked paragraph, the one clicked in as well as the other.
    const QString vsAnchor = aUrl.fragment();
    mpLeftTextBrowser->scrollToAnchor(vsAnchor);
    if (mpRightTextBrowser->isVisible())
        mpRightTextBrowser->scrollToAnchor(vsAnchor);
}

void TabArea::openHit(const QString &asLink)
{
    // Hit links read "#<sermon date>@<n>" / "#a<sermon date>@<n>", or for the
    // Bible "#<book> <chapter>:<verse>@<n>" / "#a<book> <chapter>:<verse>@<n>".
    const int vnAt = asLink.indexOf(QLatin1Char('@'));
    if (vnAt < 0)
        return;
    QString vsHead = asLink.left(vnAt);
    const int vnNumber = asLink.mid(vnAt + 1).toInt();
    vsHead.remove(QLatin1Char('#'));
    // The number link carries an "a" before the date or title.
    if (vsHead.startsWith(QLatin1Char('a')))
        vsHead.remove(0, 1);
    if (!mpOpener)
        return;

    if (isBible()) {
        const QString vsTitle = vsHead.section(QLatin1Char(':'), 0, 0);
        static const QRegularExpression sChapter(QStringLiteral("\\s\\d+$"));
        QString vsBook = vsTitle;
        vsBook.remove(sChapter);
        const int vnChapter = vsTitle.mid(vsBook.size()).trimmed().toInt();
        TabArea *vpPage = mpOpener->openTab(vsTitle, context());
        if (!vpPage)
            return;
        emit vpPage->openBibleChapter(vpPage, vsBook, vnChapter);
        vpPage->highlightSearch(msSearchText, mSearchFlags);
        vpPage->jumpTo(vnNumber);
        return;
    }
    QString vsTitle;
    for (const ArticleRecord &vRecord : mRecords.records())
        if (vRecord.msExtra1 == vsHead)
            vsTitle = vRecord.msLeftTitle;
    vsTitle = vsTitle.contains(QLatin1Char('(')) ? vsTitle.section(QLatin1Char('('), 0, 0).trimmed()
                                                 : QString();
    // The hit names its sermon by date, in this page's data language: the
    // catalogue may show another language or the Bible by now.
    TabArea *vpPage = mpOpener->openTab(vsTitle, context());
    if (!vpPage)
        return;
    emit vpPage->openSermonOfHit(vpPage, vsHead, msSearchText, mSearchFlags);
    vpPage->highlightSearch(msSearchText, mSearchFlags);
    vpPage->jumpTo(vnNumber);
}

void TabArea::setSearchQuery(const QString &asText, const QString &asRestriction,
                             AdvancedSearchFlags aFlags)
{
    msQueryText = asText;
    msRestriction = asRestriction;
    msNarrowing.clear();
    msNarrowLabel.clear();
    mSearchFlags = aFlags;
}

void TabArea::requestResultPage(int anOffset, int anPageSize)
{
    // Through the data store's thread, like the first page: a slow search
    // (a full scan in case-sensitive mode) must not stop the window painting.
    const QString &vsRestriction = msNarrowing.isEmpty() ? msRestriction : msNarrowing;
    mbAwaitingHits = true;
    if (isBible())
        emit searchBible(this, msQueryText, vsRestriction, mSearchFlags, anOffset, anPageSize,
                         mnFoundCount);
    else
        emit searchMessages(this, msQueryText, vsRestriction, mSearchFlags, anOffset, anPageSize,
                            mnFoundCount);
}

void TabArea::setHitGroups(const HitGroups &acGroups)
{
    mpHitChart->setGroups(acGroups, isBible());
}

void TabArea::narrowSearch(const QString &asKeys, const QString &asLabel)
{
    if (mbAwaitingHits) {
        mPendingNarrowing = qMakePair(asKeys, asLabel);
        return;
    }
    msNarrowing = asKeys;
    msNarrowLabel = asLabel;
    // As a new search: counted again, and in one-page mode its first chunk
    // starts an empty view.
    mnFoundCount = -1;
    mnShownRecords = 0;
    mbMainSide = true;
    clearArticles();
    mpLeftTextBrowser->clear();
    requestResultPage(0, firstRequestSize());
}

void TabArea::navigation(int anPage, bool abOnePage)
{
    mbMainSide = true;
    const int vnFrom = (anPage - 1) * pageSize(abOnePage);
    if (isDocumentPage()) {
        showArticles(vnFrom, msSearchText, NoOption, abOnePage);
        if (mpRightTextBrowser->isVisible()) {
            mbMainSide = false;
            showArticles(vnFrom, msSearchText, NoOption, abOnePage);
        }
        return;
    }
    // A one-page page keeps the hits of its earlier chunks; anything else
    // starts over.
    if (!abOnePage || anPage <= 1)
        clearArticles();
    requestResultPage(vnFrom, abOnePage ? cnChunk : -1);
}

void TabArea::print()
{
    mpActions->print();
}

void TabArea::save()
{
    mpActions->save();
}

void TabArea::mp3()
{
    mpActions->mp3();
}

void TabArea::pdf()
{
    mpActions->pdf();
}

void TabArea::setOnePage(bool abValue)
{
    if (abValue == mbOnePage)
        return;
    mbOnePage = abValue;
    mnFoundCount = -1;
    if (abValue)
        (mbMainSide ? mpLeftTextBrowser : mpRightTextBrowser)->clear();
    navigation(abValue ? 1 : mpNavigation->currentPage(), abValue);
}

void TabArea::highlightSearch(const QString &asText, AdvancedSearchFlags aFlags)
{
    if (asText.isEmpty())
        return;
    // One highlighter per page: a new search text replaces the old marks.
    delete mpHighlighter;
    mpHighlighter = new SearchHighlighter(this);
    QTextCharFormat vFormat;
    vFormat.setBackground(
        QColor(Application::settings()
                   ->value(QStringLiteral("searchColor"), QStringLiteral("#c0c0c0"))
                   .toString()));
    mpHighlighter->setSearch(asText, vFormat, aFlags, msLanguage);
    mpHighlighter->setDocument(mpLeftTextBrowser->document());
}

bool TabArea::eventFilter(QObject *apWatched, QEvent *apEvent)
{
    // A right click puts the cursor where it was made, so that the context
    // menu's Context opens the hit clicked on; a selection stays for Copy.
    if (apEvent->type() == QEvent::ContextMenu && mpLeftTextBrowser &&
        apWatched == mpLeftTextBrowser->viewport()) {
        const QPoint vAt = static_cast<QContextMenuEvent *>(apEvent)->pos();
        if (!mpLeftTextBrowser->textCursor().hasSelection())
            mpLeftTextBrowser->setTextCursor(mpLeftTextBrowser->cursorForPosition(vAt));
    }
    if (apWatched == mpTranslationButton && apEvent->type() == QEvent::MouseButtonPress) {
        // A press while the translation shows turns it off; otherwise it opens
        // the language menu.
        if (mpRightTextBrowser->isVisible()) {
            mpRightTextBrowser->hide();
            mpTranslationButton->setMenu(nullptr);
        } else {
            mpTranslationButton->setMenu(mpTranslationMenu->menu());
        }
    }
    return QWidget::eventFilter(apWatched, apEvent);
}

void TabArea::retranslate()
{
    mpActions->retranslate();
    mpTranslationButton->setText(tr("Translation"));
    mpTranslationButton->setToolTip(tr("Translation"));
    mpLeftTextBrowser->setAccessibleName(tr("Text"));
    mpRightTextBrowser->setAccessibleName(tr("Translation"));
}

void TabArea::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(apEvent);
}
