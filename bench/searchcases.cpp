// Searching: a search's results in a tab, measured from the request to what
// the reader sees. A real, shown TabWidget wired to the data store as the main
// window wires it, and a search line (SearchWidget) whose signals reach the
// data store's thread as in the program; a search restricted to checked
// sermons is sent through the page's own signal with the list the tree would
// give, "(rowid,rowid,…)". Two clocks per search:
//
//   "… first page"  the request until the first page of hits has rendered;
//   "… count"       the request until the tab title shows "(found: n)".
//
// "… chart after first page" is a figure, not a time: the milliseconds from
// the first page's arrival to the arrival of the hits per year or book (which
// the count's pass yields; the "… count" cases include it).
//
// "… page 2" runs the search untimed, then times the navigation to the
// second page (a request from the GUI thread) until it has rendered. The
// "gui gap" cases time nothing: their figure is the longest interval between
// two ticks of a 10 ms timer on the GUI thread while the search runs (first
// page and count), i.e. how long the window could not paint.
//
// The words come from the corpus generator's vocabulary by frequency rank
// (the corpus is made with its default seed); the phrase is the most
// frequent word and the word after it in the first paragraph that has both
// (for the Bible, in the first verse that has both).
// The cases "… with yo" and "… word forms" add the search modifiers (е and ё
// as one; word forms with е and ё as one); every other case runs without
// them, whatever the settings say.
// Every run closes its tab and waits until the page is destroyed, which is
// also after its count has been answered, so no work piles up between runs.

#include "benchcase.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "controllers/storerequests.h"
#include "corpusgenerator.h"
#include "models/catalogue.h"
#include "models/cataloguetree.h"
#include "models/database.h"
#include "models/searchstatements.h"
#include "views/treeview.h"
#include "widgets/navigationwidget.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"
#include "widgets/toolbar.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// A run that has not rendered by then counts as failed instead of hanging.
const int cnTimeoutMs = 120000;

const int cnMidRank = 300;

struct Samples
{
    QString msFrequent;
    QString msMiddle;
    QString msYoWord; // the first word from the middle rank on with е or ё
    QString msPhrase;
    QString msBiblePhrase;
    QString msSermons; // five sermons' rowids, "(a,b,c,d,e)"
};

// The phrase and the sermons are read through a connection of its own, so
// the data store's connection starts untouched. The sermons are five first
// translations spread over the catalogue.
Samples findSamples(const QString &asFile)
{
    Samples vSamples;
    const CorpusGenerator vGenerator{CorpusGenerator::Options()};
    vSamples.msFrequent = vGenerator.word(0);
    vSamples.msMiddle = vGenerator.word(std::min(cnMidRank, vGenerator.vocabularySize() - 1));
    for (int i = cnMidRank; i < vGenerator.vocabularySize() && vSamples.msYoWord.isEmpty(); ++i)
        if (vGenerator.word(i).contains(QChar(0x0435)) ||
            vGenerator.word(i).contains(QChar(0x0451)))
            vSamples.msYoWord = vGenerator.word(i);
    const QString vsName = QStringLiteral("bench-search");
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), vsName);
        vConnection.setDatabaseName(asFile);
        vConnection.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (vConnection.open()) {
            QSqlQuery vQuery(vConnection);
            QStringList vcKeys;
            if (vQuery.exec(QStringLiteral(
                    "SELECT docid FROM quotes_content WHERE c1date NOT LIKE '%*' ORDER BY docid")))
                while (vQuery.next())
                    vcKeys.append(vQuery.value(0).toString());
            QStringList vcChosen;
            for (int i = 0; i < 5 && vcKeys.size() >= 5; ++i)
                vcChosen.append(vcKeys.at(vcKeys.size() * (2 * i + 1) / 10));
            if (!vcChosen.isEmpty())
                vSamples.msSermons = QStringLiteral("(%1)").arg(vcChosen.join(QLatin1Char(',')));

            const QRegularExpression vPair(
                QStringLiteral("(?<![\\w])%1 (\\w{3,})").arg(vSamples.msFrequent),
                QRegularExpression::UseUnicodePropertiesOption);
            auto vFirstPair = [&](const QString &asStatement) {
                if (vQuery.exec(asStatement))
                    while (vQuery.next()) {
                        const QRegularExpressionMatch vMatch =
                            vPair.match(vQuery.value(0).toString());
                        if (vMatch.hasMatch() && vMatch.captured(1) != vSamples.msFrequent)
                            return vMatch.captured(0);
                    }
                return QString();
            };
            vSamples.msPhrase = vFirstPair(
                QStringLiteral("SELECT c3text FROM paragraphs_content ORDER BY docid LIMIT 1000"));
            vSamples.msBiblePhrase = vFirstPair(
                QStringLiteral("SELECT c4text FROM verses_content ORDER BY docid LIMIT 1000"));
        }
    }
    QSqlDatabase::removeDatabase(vsName);
    return vSamples;
}

// What the last run left on its page, recorded before the page is closed.
struct Outcome
{
    bool mbTimedOut = false;
    bool mbRendered = false;
    int mnHits = 0;
    int mnCharacters = 0;
    int mnCount = -1;
    int mnGroups = 0;
    qint64 mnGroupedHits = 0;
    double mnChartAfterPage = -1; // ms
    QString msTitle;
    QString msFirstHit;
    QString msEarlierFirstHit; // before the second page was asked for
};

struct Search
{
    QString msText;
    AdvancedSearchFlags mFlags = NoOption;
    bool mbBible = false;
    QString msRestriction; // sent through the page when not empty
};

class SearchBench
{
public:
    explicit SearchBench(BenchContext &aContext)
        : mContext(aContext), mbShowDuplicates(Application::sharedOptions()->showDuplicates()),
          mbYoAlike(Application::sharedOptions()->yoAlike())
    {
        // The cases name their modifiers; the setting adds none.
        Application::sharedOptions()->setYoAlike(false);
        // The tab container in a window of the size of the main window's
        // document pane; a tree of its own decides sermons or Bible.
        mpWindow = std::make_unique<QWidget>();
        auto *vpLayout = new QVBoxLayout(mpWindow.get());
        vpLayout->setContentsMargins(0, 0, 0, 0);
        mpTree = new TreeView(mpWindow.get());
        mpTree->hide();
        mpSearch = new SearchWidget(mpWindow.get());
        mpTabs = new TabWidget(mpWindow.get());
        mpTabs->setTreeView(mpTree);
        // The tree tool bar switches the catalogue as in the window (its
        // questions go to the data store wired below).
        mpToolBar = new ToolBar(QString(), mpWindow.get());
        mpToolBar->setTreeView(mpTree);
        mpToolBar->createActions();
        mpToolBar->hide();
        mpSearch->setTabWidget(mpTabs);
        mpSearch->setTreeView(mpTree);
        vpLayout->addWidget(mpSearch);
        vpLayout->addWidget(mpTabs);
        mpWindow->resize(960, 900);
        mpWindow->show();
        BenchContext::settle();
    }

    // The option is the user's: the cases set the one they need, and it is
    // put back at the end.
    ~SearchBench()
    {
        Application::sharedOptions()->setShowDuplicates(mbShowDuplicates);
        Application::sharedOptions()->setYoAlike(mbYoAlike);
    }

    const Outcome &outcome() const { return mOutcome; }
    double guiGap() const { return mnGuiGap; }

    void wire()
    {
        Database *vpDatabase = mContext.database();
        if (mpWired == vpDatabase)
            return;
        mpWired = vpDatabase;
        // Asked on the data store's thread, shown in the tree when it arrives.
        delete mpRequests;
        mpRequests = new StoreRequests(vpDatabase, mpWindow.get());
        mpToolBar->setStoreRequests(mpRequests);
        QObject::connect(mpRequests, &StoreRequests::catalogueLoaded, mpTree,
                         [this](const Catalogue &aCatalogue) {
                             mpTree->showCatalogue(aCatalogue);
                             mnLastCatalogue = aCatalogue.mnKind;
                         });
        QObject::connect(mpSearch, &SearchWidget::searchMessages, vpDatabase,
                         QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags,
                                   int, int>::of(&Database::searchMessages));
        QObject::connect(mpSearch, &SearchWidget::searchBible, vpDatabase,
                         QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags,
                                   int, int>::of(&Database::searchBible));
        QObject::connect(vpDatabase, &Database::finishSearchArticles, mpTabs,
                         &TabWidget::finishSearchArticles);
        QObject::connect(vpDatabase, &Database::addSearchMessage, mpTabs,
                         &TabWidget::addSearchMessage);
        QObject::connect(vpDatabase, &Database::addSearchBible, mpTabs, &TabWidget::addSearchBible);
        QObject::connect(vpDatabase, &Database::setNavigationParams, mpTabs,
                         &TabWidget::setNavigationParams);
        QObject::connect(vpDatabase, &Database::setFoundPagesCount, mpTabs,
                         &TabWidget::setFoundPagesCount);
        QObject::connect(vpDatabase, &Database::hitsPerGroup, mpTabs, &TabWidget::showHitGroups);
    }

    // Sends the search and runs the event loop until its first page has
    // rendered or, with abCount, until the count is shown as well, and with
    // abChart, until the hits per year or book have arrived too.
    void search(const Search &aSearch, bool abCount, const std::function<void()> &aMeanwhile = {},
                bool abChart = false)
    {
        mpTree->setKind(aSearch.mbBible ? CatalogueTree::Bible : CatalogueTree::ByYear);
        mOutcome = Outcome();
        mpPage = nullptr;
        mbCatalogues = bool(aMeanwhile);
        mbChart = abChart;
        wait(abCount, [this, aSearch, aMeanwhile] {
            if (aMeanwhile)
                aMeanwhile();
            if (aSearch.msRestriction.isEmpty()) {
                mpSearch->lineEdit()->setText(aSearch.msText);
                mpSearch->startSearch(aSearch.mFlags);
                mpPage = qobject_cast<TabArea *>(mpTabs->currentWidget());
                return;
            }
            // As the search line does it, with the tree's list of the
            // checked sermons.
            const QString vsTitle = QStringLiteral("<%0>").arg(aSearch.msText);
            mpTabs->closeTabsWithTitle(vsTitle);
            TabArea *vpPage = mpTabs->openTab(vsTitle);
            mpPage = vpPage;
            const QString vsSql = SearchStatements::fromUserText(aSearch.msText);
            vpPage->clearArticles();
            vpPage->setSearchQuery(vsSql, aSearch.msRestriction, aSearch.mFlags);
            if (aSearch.mbBible)
                emit vpPage->searchBible(vpPage, vsSql, aSearch.msRestriction, aSearch.mFlags, 0,
                                         -1, -1);
            else
                emit vpPage->searchMessages(vpPage, vsSql, aSearch.msRestriction, aSearch.mFlags, 0,
                                            -1, -1);
        });
    }

    // The search, and while it runs the catalogue switched to the Bible and
    // back to sermons by year from the tool bar, as a reader might; done when
    // the count is shown and the last catalogue asked for has arrived (the
    // Bible's is skipped when the second click comes before its turn).
    void searchWhileSwitching(const Search &aSearch)
    {
        mnLastCatalogue = -1;
        search(aSearch, true, [this] {
            QTimer::singleShot(5, mpToolBar, [this] { mpToolBar->biblesClicked(); });
            QTimer::singleShot(15, mpToolBar, [this] { mpToolBar->sortByYearClicked(); });
        });
    }
    int lastCatalogue() const { return mnLastCatalogue; }

    // The second page of the page searched last, as its navigation asks.
    void nextPage()
    {
        if (!mpPage)
            return;
        mOutcome.mbRendered = false;
        mOutcome.msEarlierFirstHit = mOutcome.msFirstHit;
        TabArea *vpPage = mpPage;
        // As the page combo box's second entry chosen.
        wait(false, [vpPage] { vpPage->navigationWidget()->pageSelected(1); });
    }

    void closePage()
    {
        BenchContext::closePage(mpTabs, mpPage, cnTimeoutMs);
        mpPage = nullptr;
    }

private:
    // Connected after the tabs' own slots, the loop's handlers run once the
    // page has handled the data store's signal. A 10 ms timer records the
    // longest interval the GUI thread left between two of its ticks.
    void wait(bool abCount, const std::function<void()> &aRequest)
    {
        Database *vpDatabase = mContext.database();
        QEventLoop vLoop;
        QElapsedTimer vClock;
        bool vbPage = false, vbCount = false, vbChart = false;
        qint64 vnPageAt = 0;
        auto vDone = [&] {
            if (vbPage && (vbCount || !abCount) && (vbChart || !mbChart) &&
                (!mbCatalogues || mnLastCatalogue == CatalogueTree::ByYear))
                vLoop.quit();
        };
        const QMetaObject::Connection vChart =
            QObject::connect(vpDatabase, &Database::hitsPerGroup, &vLoop,
                             [&](TabArea *apTab, const HitGroups &acGroups) {
                                 if (apTab != mpPage)
                                     return;
                                 mOutcome.mnChartAfterPage =
                                     double(vClock.nsecsElapsed() - vnPageAt) / 1e6;
                                 mOutcome.mnGroups = acGroups.size();
                                 for (const HitGroup &vGroup : acGroups)
                                     mOutcome.mnGroupedHits += vGroup.mnHits;
                                 vbChart = true;
                                 vDone();
                             });
        const QMetaObject::Connection vCatalogue = QObject::connect(
            mpRequests, &StoreRequests::catalogueLoaded, &vLoop, [&] { vDone(); },
            Qt::QueuedConnection);
        const QMetaObject::Connection vPage = QObject::connect(
            vpDatabase, &Database::finishSearchArticles, &vLoop, [&](TabArea *apTab) {
                if (apTab != mpPage)
                    return;
                mOutcome.mbRendered = true;
                vnPageAt = vClock.nsecsElapsed();
                vbPage = true;
                vDone();
            });
        const QMetaObject::Connection vCount = QObject::connect(
            vpDatabase, &Database::setFoundPagesCount, &vLoop, [&](TabArea *apTab, int anCount) {
                if (apTab != mpPage)
                    return;
                mOutcome.mnCount = anCount;
                vbCount = true;
                vDone();
            });
        qint64 vnLast = 0, vnGap = 0;
        QTimer vTicks;
        vTicks.setInterval(10);
        QObject::connect(&vTicks, &QTimer::timeout, [&] {
            const qint64 vnNow = vClock.nsecsElapsed();
            vnGap = std::max(vnGap, vnNow - vnLast);
            vnLast = vnNow;
        });
        QTimer::singleShot(cnTimeoutMs, &vLoop, [&] {
            mOutcome.mbTimedOut = true;
            vLoop.quit();
        });
        vClock.start();
        vTicks.start();
        aRequest();
        vLoop.exec();
        QObject::disconnect(vPage);
        QObject::disconnect(vCount);
        QObject::disconnect(vCatalogue);
        QObject::disconnect(vChart);
        BenchContext::settle();
        vTicks.stop();
        mnGuiGap = double(std::max(vnGap, vClock.nsecsElapsed() - vnLast)) / 1e6;
        record();
    }

    void record()
    {
        if (!mpPage)
            return;
        mOutcome.mnHits = mpPage->articles().size();
        if (!mpPage->articles().isEmpty())
            mOutcome.msFirstHit = QStringLiteral("%1 %2").arg(mpPage->articles().first().msExtra1,
                                                              mpPage->articles().first().msNumber);
        mOutcome.mnCharacters = mpPage->leftView()->document()->characterCount();
        mOutcome.msTitle = mpTabs->tabText(mpTabs->indexOf(mpPage));
    }

    BenchContext &mContext;
    const bool mbShowDuplicates;
    const bool mbYoAlike;
    std::unique_ptr<QWidget> mpWindow;
    TreeView *mpTree = nullptr;
    SearchWidget *mpSearch = nullptr;
    TabWidget *mpTabs = nullptr;
    StoreRequests *mpRequests = nullptr;
    ToolBar *mpToolBar = nullptr;
    int mnLastCatalogue = -1;
    bool mbCatalogues = false;
    bool mbChart = false;
    QPointer<Database> mpWired;
    QPointer<TabArea> mpPage;
    Outcome mOutcome;
    double mnGuiGap = 0;
};

// The page shows hits, rendered; with abCount the title shows their number.
std::function<QString()> expectHits(const SearchBench &aBench, bool abCount)
{
    return [&aBench, abCount] {
        const Outcome &vOutcome = aBench.outcome();
        if (vOutcome.mbTimedOut)
            return QStringLiteral("no answer within %1 s").arg(cnTimeoutMs / 1000);
        if (!vOutcome.mbRendered)
            return QStringLiteral("the page was not rendered");
        if (vOutcome.mnHits <= 0 || vOutcome.mnCharacters <= vOutcome.mnHits)
            return QStringLiteral("%1 hits, %2 characters shown")
                .arg(vOutcome.mnHits)
                .arg(vOutcome.mnCharacters);
        if (abCount && (vOutcome.mnCount < vOutcome.mnHits ||
                        !vOutcome.msTitle.contains(QString::number(vOutcome.mnCount))))
            return QStringLiteral("count %1 for %2 hits, title \"%3\"")
                .arg(vOutcome.mnCount)
                .arg(vOutcome.mnHits)
                .arg(vOutcome.msTitle);
        if (vOutcome.msFirstHit == vOutcome.msEarlierFirstHit)
            return QStringLiteral("the page still starts with hit %1").arg(vOutcome.msFirstHit);
        std::fprintf(stderr, "#   %d hits shown%s, first \"%s\"\n", vOutcome.mnHits,
                     abCount ? qPrintable(QStringLiteral(" of %1").arg(vOutcome.mnCount)) : "",
                     qPrintable(vOutcome.msFirstHit));
        return QString();
    };
}

// As expectHits with the count, and the groups add up to it.
std::function<QString()> expectChart(const SearchBench &aBench)
{
    return [&aBench] {
        const Outcome &vOutcome = aBench.outcome();
        if (vOutcome.mnGroups < 2 || vOutcome.mnGroupedHits != vOutcome.mnCount)
            return QStringLiteral("%1 groups of %2 hits for a count of %3")
                .arg(vOutcome.mnGroups)
                .arg(vOutcome.mnGroupedHits)
                .arg(vOutcome.mnCount);
        return expectHits(aBench, true)();
    };
}

} // namespace

void addSearchCases(BenchContext &aContext, BenchCases &acCases)
{
    const QString vsLanguage = aContext.database()->currentLanguage();
    const QDir vData(QDir(aContext.folder()).absoluteFilePath(QStringLiteral("sql/data")));
    const Samples vSamples =
        findSamples(vData.absoluteFilePath(QStringLiteral("kvr_main_%1.sqlite").arg(vsLanguage)));
    std::fprintf(stderr,
                 "# search words: frequent \"%s\", rank %d \"%s\", with е or ё \"%s\", "
                 "phrase \"%s\", Bible phrase \"%s\", sermons %s\n",
                 qPrintable(vSamples.msFrequent), cnMidRank, qPrintable(vSamples.msMiddle),
                 qPrintable(vSamples.msYoWord), qPrintable(vSamples.msPhrase),
                 qPrintable(vSamples.msBiblePhrase), qPrintable(vSamples.msSermons));

    auto vpBench = std::make_shared<SearchBench>(aContext);
    const SearchBench &vBench = *vpBench;
    BenchContext *vpContext = &aContext;

    auto vSetup = [vpBench, vpContext](bool abShowDuplicates, bool abStart) {
        return [vpBench, vpContext, abShowDuplicates, abStart] {
            Application::sharedOptions()->setShowDuplicates(abShowDuplicates);
            if (abStart)
                vpContext->reopenDatabase();
            vpBench->wire();
        };
    };
    auto vClose = [vpBench] { vpBench->closePage(); };

    // Adds "<name> first page" and "<name> count".
    auto vAdd = [&](const QString &asName, const Search &aSearch, bool abShowDuplicates) {
        acCases.append({asName + QStringLiteral(" first page"),
                        [vpBench, aSearch] { vpBench->search(aSearch, false); },
                        vSetup(abShowDuplicates, false), expectHits(vBench, false), vClose});
        acCases.append({asName + QStringLiteral(" count"),
                        [vpBench, aSearch] { vpBench->search(aSearch, true); },
                        vSetup(abShowDuplicates, false), expectHits(vBench, true), vClose});
    };

    const Search vFrequent{vSamples.msFrequent, NoOption, false, QString()};
    vAdd(QStringLiteral("search frequent word"), vFrequent, false);
    vAdd(QStringLiteral("search frequent word with duplicates"), vFrequent, true);
    acCases.append({QStringLiteral("search frequent word count after opening"),
                    [vpBench, vFrequent] { vpBench->search(vFrequent, true); }, vSetup(false, true),
                    expectHits(vBench, true), vClose});
    vAdd(QStringLiteral("search mid-frequency word"),
         {vSamples.msMiddle, NoOption, false, QString()}, false);
    if (!vSamples.msPhrase.isEmpty())
        vAdd(QStringLiteral("search phrase"), {vSamples.msPhrase, ExactPhrase, false, QString()},
             false);
    if (!vSamples.msSermons.isEmpty()) {
        vAdd(QStringLiteral("search frequent word in 5 sermons"),
             {vSamples.msFrequent, NoOption, false, vSamples.msSermons}, false);
        vAdd(QStringLiteral("search mid-frequency word in 5 sermons"),
             {vSamples.msMiddle, NoOption, false, vSamples.msSermons}, false);
    }
    // The modifiers: е and ё as one, and word forms (with е and ё as one, as
    // the window searches by default).
    vAdd(QStringLiteral("search frequent word with yo"),
         {vSamples.msFrequent, YoAlike, false, QString()}, false);
    vAdd(QStringLiteral("search mid-frequency word with yo"),
         {vSamples.msYoWord, YoAlike, false, QString()}, false);
    vAdd(QStringLiteral("search mid-frequency word strict yo"),
         {vSamples.msYoWord, NoOption, false, QString()}, false);
    vAdd(QStringLiteral("search frequent word forms"),
         {vSamples.msFrequent, WordForms | YoAlike, false, QString()}, false);
    vAdd(QStringLiteral("search mid-frequency word forms"),
         {vSamples.msMiddle, WordForms | YoAlike, false, QString()}, false);
    if (!vSamples.msPhrase.isEmpty())
        vAdd(QStringLiteral("search phrase with yo"),
             {vSamples.msPhrase, ExactPhrase | YoAlike, false, QString()}, false);
    vAdd(QStringLiteral("search bible mid-frequency word forms"),
         {vSamples.msMiddle, WordForms | YoAlike, true, QString()}, false);
    vAdd(QStringLiteral("search bible frequent word"),
         {vSamples.msFrequent, NoOption, true, QString()}, false);

    // The chart of a search: its figure is its arrival after the first page.
    auto vAddChart = [&](const QString &asName, const Search &aSearch) {
        if (aSearch.msText.isEmpty())
            return;
        BenchCase vCase{asName + QStringLiteral(" chart after first page"),
                        [vpBench, aSearch] { vpBench->search(aSearch, true, {}, true); },
                        vSetup(false, false), expectChart(vBench), vClose};
        vCase.mFigure = [vpBench] { return vpBench->outcome().mnChartAfterPage; };
        acCases.append(vCase);
    };
    vAddChart(QStringLiteral("search frequent word"), vFrequent);
    vAddChart(QStringLiteral("search mid-frequency word"),
              {vSamples.msMiddle, NoOption, false, QString()});
    vAddChart(QStringLiteral("search phrase"), {vSamples.msPhrase, ExactPhrase, false, QString()});
    vAddChart(QStringLiteral("search bible frequent word"),
              {vSamples.msFrequent, NoOption, true, QString()});
    vAddChart(QStringLiteral("search bible mid-frequency word"),
              {vSamples.msMiddle, NoOption, true, QString()});
    vAddChart(QStringLiteral("search bible phrase"),
              {vSamples.msBiblePhrase, ExactPhrase, true, QString()});

    // The second page: the search and its count untimed, then the
    // navigation's request timed.
    auto vSearched = [vSetup, vpBench](const Search &aSearch) {
        auto vStart = vSetup(false, false);
        return [vStart, vpBench, aSearch] {
            vStart();
            vpBench->search(aSearch, true);
        };
    };
    acCases.append({QStringLiteral("search frequent word page 2"),
                    [vpBench] { vpBench->nextPage(); }, vSearched(vFrequent),
                    expectHits(vBench, false), vClose});

    const Search vLike{vSamples.msMiddle, CaseSensitive, false, QString()};
    vAdd(QStringLiteral("search like mode"), vLike, false);
    acCases.append({QStringLiteral("search like mode page 2"), [vpBench] { vpBench->nextPage(); },
                    vSearched(vLike), expectHits(vBench, false), vClose});

    // Not timed: the figure is the window's longest pause.
    BenchCase vGap{QStringLiteral("search like mode gui gap"),
                   [vpBench, vLike] { vpBench->search(vLike, true); }, vSetup(false, false),
                   expectHits(vBench, true), vClose};
    vGap.mFigure = [vpBench] { return vpBench->guiGap(); };
    acCases.append(vGap);
    BenchCase vPageGap{QStringLiteral("search like mode page 2 gui gap"),
                       [vpBench] { vpBench->nextPage(); }, vSearched(vLike),
                       expectHits(vBench, false), vClose};
    vPageGap.mFigure = [vpBench] { return vpBench->guiGap(); };
    acCases.append(vPageGap);
    BenchCase vFrequentGap{QStringLiteral("search frequent word gui gap"),
                           [vpBench, vFrequent] { vpBench->search(vFrequent, true); },
                           vSetup(false, false), expectHits(vBench, true), vClose};
    vFrequentGap.mFigure = [vpBench] { return vpBench->guiGap(); };
    acCases.append(vFrequentGap);
    // The catalogue switched to the Bible and back while a full scan runs:
    // the window must keep painting (its longest pause, under 50 ms).
    BenchCase vSwitchGap{
        QStringLiteral("search like mode kind switch gui gap"),
        [vpBench, vLike] { vpBench->searchWhileSwitching(vLike); }, vSetup(false, false),
        [vpBench] {
            if (vpBench->lastCatalogue() != CatalogueTree::ByYear)
                return QStringLiteral("the last catalogue to arrive was of kind %1")
                    .arg(vpBench->lastCatalogue());
            return expectHits(*vpBench, true)();
        },
        vClose};
    vSwitchGap.mFigure = [vpBench] { return vpBench->guiGap(); };
    acCases.append(vSwitchGap);
}
