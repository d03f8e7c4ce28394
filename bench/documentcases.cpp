// Reading: a document opened in a tab, measured from the request to the
// rendered page as the reader meets it. A real, shown TabWidget whose slots
// are connected to the data store's signals as the main window connects
// them; the request leaves through the page's own signal, queued to the data
// store's thread, as the tree's double-click and the translation menu send
// it; the clock stops once the page has rendered the results (its last
// signal delivered) and the window has been laid out and painted. Every run
// closes its tab and waits until the page is destroyed, so pages never pile
// up between runs.
//
// The "after opening" cases start from a new data store and connection, as
// after a program start. The translation cases need the corpus in a second
// data language with the same sermons (generate-corpus --lang en with the
// same seed); without that file they are left out.

#include "benchcase.h"

#include "controllers/application.h"
#include "models/cataloguetree.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <memory>

namespace {

// A run that has not rendered by then counts as failed instead of hanging.
const int cnTimeoutMs = 60000;

// The documents measured, looked up in the corpus before any case runs.
struct Samples
{
    QString msSermonTitle;
    int mnSermonKey = -1; // the sermon's rowid, as the tree's item carries it
    int mnSermonParagraphs = 0;
    QString msPsalmTitle;
    int mnPsalmBook = 19; // the book number the program treats as the Psalms
    int mnPsalmChapter = -1;
    int mnPsalmVerses = 0;
};

// What the last run left on its page, recorded before the page is closed so
// that the check after the warm-up run can judge it.
struct Outcome
{
    bool mbRendered = false;
    int mnRecords = 0;
    int mnRightTexts = 0;
    int mnLeftCharacters = 0;
    int mnRightCharacters = 0;
    bool mbRightShown = false;
};

// Read through a connection of its own, so the data store's connection
// starts untouched. Documents of further translations (" *") are left out:
// the translation cases ask the other language for the first translation.
Samples findSamples(const QString &asFile)
{
    Samples vSamples;
    const QString vsName = QStringLiteral("bench-documents");
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), vsName);
        vConnection.setDatabaseName(asFile);
        vConnection.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (vConnection.open()) {
            QSqlQuery vQuery(vConnection);
            QString vsDate;
            if (vQuery.exec(QStringLiteral(
                    "SELECT c2date, count(*) AS n FROM paragraphs_content WHERE c2date NOT "
                    "LIKE '%*' GROUP BY c2date ORDER BY n DESC, c2date LIMIT 1")) &&
                vQuery.next()) {
                vsDate = vQuery.value(0).toString();
                vSamples.mnSermonParagraphs = vQuery.value(1).toInt();
            }
            vQuery.prepare(
                QStringLiteral("SELECT docid, c2name FROM quotes_content WHERE c1date = ?"));
            vQuery.addBindValue(vsDate);
            if (vQuery.exec() && vQuery.next()) {
                vSamples.mnSermonKey = vQuery.value(0).toInt();
                vSamples.msSermonTitle = vQuery.value(1).toString();
            }
            vQuery.prepare(QStringLiteral(
                "SELECT v.c2chapter, count(*) AS n, c.c3name FROM verses_content v JOIN "
                "chapters_content c ON c.c1book = v.c1book AND c.c2chapter = v.c2chapter WHERE "
                "v.c1book = ? GROUP BY v.c2chapter ORDER BY n DESC, v.c2chapter LIMIT 1"));
            vQuery.addBindValue(vSamples.mnPsalmBook);
            if (vQuery.exec() && vQuery.next()) {
                vSamples.mnPsalmChapter = vQuery.value(0).toInt();
                vSamples.mnPsalmVerses = vQuery.value(1).toInt();
                vSamples.msPsalmTitle = vQuery.value(2).toString();
            }
        }
    }
    QSqlDatabase::removeDatabase(vsName);
    return vSamples;
}

class DocumentBench
{
public:
    DocumentBench(BenchContext &aContext, const Samples &aSamples)
        : mContext(aContext), mSamples(aSamples)
    {
        // The tab container in a window of the size of the main window's
        // document pane. The page takes its kind (sermon or Bible) from a tree
        // of its own, so the catalogue cases' fills do not change it.
        mpWindow = std::make_unique<QWidget>();
        auto *vpLayout = new QVBoxLayout(mpWindow.get());
        vpLayout->setContentsMargins(0, 0, 0, 0);
        mpTree = new TreeView(mpWindow.get());
        mpTree->hide();
        mpTabs = new TabWidget(mpWindow.get());
        mpTabs->setTreeView(mpTree);
        vpLayout->addWidget(mpTabs);
        mpWindow->resize(960, 900);
        mpWindow->show();
        BenchContext::settle();
    }

    const Outcome &outcome() const { return mOutcome; }

    // The data store changes with every reopening; its signals reach the
    // tabs as the main window connects them.
    void wire()
    {
        Database *vpDatabase = mContext.database();
        if (mpWired == vpDatabase)
            return;
        mpWired = vpDatabase;
        route(vpDatabase, &Database::foundAllArticles, &TabWidget::finishArticles);
        route(vpDatabase, &Database::translationReady, &TabWidget::showRightText);
        route(vpDatabase, &Database::foundChapter, &TabWidget::addChapter);
        route(vpDatabase, &Database::foundOtherChapter, &TabWidget::addOtherChapter);
        route(vpDatabase, &Database::foundParagraph, &TabWidget::addParagraph);
        route(vpDatabase, &Database::foundOtherParagraph, &TabWidget::addOtherParagraph);
        route(vpDatabase, &Database::finishSearchArticles, &TabWidget::finishSearchArticles);
        route(vpDatabase, &Database::addSearchMessage, &TabWidget::addSearchMessage);
        route(vpDatabase, &Database::addSearchBible, &TabWidget::addSearchBible);
        route(vpDatabase, &Database::setNavigationParams, &TabWidget::setNavigationParams);
        route(vpDatabase, &Database::setFoundPagesCount, &TabWidget::setFoundPagesCount);
    }

    void openSermon()
    {
        mpTree->setKind(CatalogueTree::ByYear);
        TabArea *vpPage = mpTabs->openTab(mSamples.msSermonTitle);
        const int vnKey = mSamples.mnSermonKey;
        mpTabs->setDocumentId(vpPage, vnKey);
        request(vpPage, [vpPage, vnKey] { emit vpPage->openQuotesParagraph(vpPage, vnKey); });
    }

    void openPsalm()
    {
        mpTree->setKind(CatalogueTree::Bible);
        TabArea *vpPage = mpTabs->openTab(mSamples.msPsalmTitle);
        const int vnBook = mSamples.mnPsalmBook, vnChapter = mSamples.mnPsalmChapter;
        request(vpPage, [vpPage, vnBook, vnChapter] {
            emit vpPage->openBibleChapter(vpPage, vnBook, vnChapter);
        });
    }

    // The page opened last gains the document in another data language, as
    // chosen in its translation menu.
    void openTranslation(const QString &asLocale)
    {
        TabArea *vpPage = mpPage;
        if (!vpPage)
            return;
        request(vpPage,
                [vpPage, asLocale] { vpPage->openTranslation(asLocale, vpPage->translator()); });
    }

    void closePage()
    {
        BenchContext::closePage(mpTabs, mpPage, cnTimeoutMs);
        mpPage = nullptr;
    }

private:
    template<typename Signal, typename Slot>
    void route(Database *apSender, Signal aSignal, Slot aSlot)
    {
        QObject::connect(apSender, aSignal, mpTabs, aSlot);
    }

    // Sends the request and runs the event loop until the data store's last
    // signal for the page has been handled: connected after the tabs' own
    // slot, the loop's handler runs once the page has rendered.
    void request(TabArea *apPage, const std::function<void()> &aRequest)
    {
        mpPage = apPage;
        mOutcome = Outcome();
        QEventLoop vLoop;
        const QMetaObject::Connection vDone =
            QObject::connect(mContext.database(), &Database::foundAllArticles, &vLoop,
                             [this, apPage, &vLoop](TabArea *apTab) {
                                 if (apTab != apPage)
                                     return;
                                 mOutcome.mbRendered = true;
                                 vLoop.quit();
                             });
        QTimer::singleShot(cnTimeoutMs, &vLoop, &QEventLoop::quit);
        aRequest();
        vLoop.exec();
        QObject::disconnect(vDone);
        BenchContext::settle();
        record(apPage);
    }

    void record(TabArea *apPage)
    {
        mOutcome.mnRecords = apPage->articles().size();
        for (const ArticleRecord &vRecord : apPage->articles())
            mOutcome.mnRightTexts += vRecord.msRightText.isEmpty() ? 0 : 1;
        mOutcome.mnLeftCharacters = apPage->leftView()->document()->characterCount();
        mOutcome.mnRightCharacters = apPage->rightView()->document()->characterCount();
        mOutcome.mbRightShown = apPage->rightView()->isVisible();
    }

    BenchContext &mContext;
    const Samples mSamples;
    std::unique_ptr<QWidget> mpWindow;
    TreeView *mpTree = nullptr;
    TabWidget *mpTabs = nullptr;
    QPointer<Database> mpWired;
    QPointer<TabArea> mpPage;
    Outcome mOutcome;
};

// The page shows every record the document has, rendered.
std::function<QString()> expectDocument(const DocumentBench &aBench, int anRecords)
{
    return [&aBench, anRecords] {
        const Outcome &vOutcome = aBench.outcome();
        if (!vOutcome.mbRendered)
            return QStringLiteral("the page was not rendered");
        if (anRecords <= 0 || vOutcome.mnRecords != anRecords ||
            vOutcome.mnLeftCharacters <= anRecords)
            return QStringLiteral("%1 records of %2, %3 characters shown")
                .arg(vOutcome.mnRecords)
                .arg(anRecords)
                .arg(vOutcome.mnLeftCharacters);
        return QString();
    };
}

// Every record has its translation beside it, in the right view.
std::function<QString()> expectTranslation(const DocumentBench &aBench, int anRecords)
{
    return [&aBench, anRecords] {
        const Outcome &vOutcome = aBench.outcome();
        if (!vOutcome.mbRendered || !vOutcome.mbRightShown)
            return QStringLiteral("the translation was not shown");
        if (vOutcome.mnRightTexts != anRecords || vOutcome.mnRightCharacters <= anRecords)
            return QStringLiteral("%1 of %2 records translated, %3 characters shown")
                .arg(vOutcome.mnRightTexts)
                .arg(anRecords)
                .arg(vOutcome.mnRightCharacters);
        return QString();
    };
}

} // namespace

void addDocumentCases(BenchContext &aContext, BenchCases &acCases)
{
    const QString vsLanguage = aContext.database()->currentLanguage();
    const QString vsOther =
        vsLanguage == QLatin1String("en") ? QStringLiteral("ru") : QStringLiteral("en");
    const QDir vData(QDir(aContext.folder()).absoluteFilePath(QStringLiteral("sql/data")));
    const Samples vSamples =
        findSamples(vData.absoluteFilePath(QStringLiteral("kvr_main_%1.sqlite").arg(vsLanguage)));
    // Shared by the cases, and destroyed with them before the context.
    auto vpBench = std::make_shared<DocumentBench>(aContext, vSamples);
    DocumentBench &vBench = *vpBench;
    BenchContext *vpContext = &aContext;

    auto vWarm = [vpBench] { vpBench->wire(); };
    auto vStart = [vpBench, vpContext] {
        vpContext->reopenDatabase();
        vpBench->wire();
    };
    auto vClose = [vpBench] { vpBench->closePage(); };
    auto vSermon = [vpBench] { vpBench->openSermon(); };
    auto vPsalm = [vpBench] { vpBench->openPsalm(); };
    const int vnParagraphs = vSamples.mnSermonParagraphs, vnVerses = vSamples.mnPsalmVerses;

    acCases.append({QStringLiteral("open largest sermon"), vSermon, vWarm,
                    expectDocument(vBench, vnParagraphs), vClose});
    acCases.append({QStringLiteral("open largest sermon after opening"), vSermon, vStart,
                    expectDocument(vBench, vnParagraphs), vClose});
    acCases.append({QStringLiteral("open longest psalm"), vPsalm, vWarm,
                    expectDocument(vBench, vnVerses), vClose});
    acCases.append({QStringLiteral("open longest psalm after opening"), vPsalm, vStart,
                    expectDocument(vBench, vnVerses), vClose});

    if (QFileInfo(vData.absoluteFilePath(QStringLiteral("kvr_main_%1.sqlite").arg(vsOther)))
            .size() <= 0) {
        std::fprintf(stderr, "# no %s database: the translation cases are left out\n",
                     qPrintable(vsOther));
        return;
    }
    // The page is opened untimed; the clock runs from the translation's
    // request to its rendering beside the document.
    auto vTranslate = [vpBench, vsOther] { vpBench->openTranslation(vsOther); };
    auto vOpened = [](std::function<void()> aStart, std::function<void()> aOpen) {
        return [aStart, aOpen] {
            aStart();
            aOpen();
        };
    };
    const QString vsSermon =
        QStringLiteral("open %1 translation beside largest sermon").arg(vsOther);
    const QString vsPsalm = QStringLiteral("open %1 translation beside longest psalm").arg(vsOther);
    acCases.append({vsSermon, vTranslate, vOpened(vWarm, vSermon),
                    expectTranslation(vBench, vnParagraphs), vClose});
    acCases.append({vsSermon + QStringLiteral(" after opening"), vTranslate,
                    vOpened(vStart, vSermon), expectTranslation(vBench, vnParagraphs), vClose});
    acCases.append(
        {vsPsalm, vTranslate, vOpened(vWarm, vPsalm), expectTranslation(vBench, vnVerses), vClose});
    acCases.append({vsPsalm + QStringLiteral(" after opening"), vTranslate, vOpened(vStart, vPsalm),
                    expectTranslation(vBench, vnVerses), vClose});
}
