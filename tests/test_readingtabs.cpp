// Pages in tabs: where a page scrolls, what reaches a closed one, and closing tabs by title.
#include "support/readingfixture.h"

#include "controllers/application.h"
#include "models/database.h"
#include "widgets/tabarea.h"
#include "widgets/textbrowser.h"
#include "widgets/translationmenu.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSemaphore>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace {

// The caption block of a document's paragraph or verse, and where it starts.
QTextBlock captionBlock(const TextBrowser *apView, int anNumber)
{
    for (QTextBlock b = apView->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(QString::number(anNumber)))
                return b;
    return QTextBlock();
}

qreal captionTop(const TextBrowser *apView, int anNumber)
{
    const QTextBlock vBlock = captionBlock(apView, anNumber);
    return vBlock.isValid() ? apView->document()->documentLayout()->blockBoundingRect(vBlock).top()
                            : -1;
}

// Whether a view is scrolled to a caption (or as near as its end allows).
bool atCaption(const TextBrowser *apView, int anNumber)
{
    const QScrollBar *vpBar = apView->verticalScrollBar();
    return qAbs(vpBar->value() - qMin<qreal>(captionTop(apView, anNumber), vpBar->maximum())) <= 2;
}

// A click on a caption as the reader makes it; true when it reached the link.
bool clickCaption(TextBrowser *apView, int anNumber)
{
    QTextCursor vCursor(apView->document());
    vCursor.setPosition(captionBlock(apView, anNumber).position() + 1);
    QSignalSpy vClicks(apView, &TextBrowser::anchorClicked);
    QTest::mouseClick(apView->viewport(), Qt::LeftButton, Qt::NoModifier,
                      apView->cursorRect(vCursor).center());
    return vClicks.count() == 1;
}

// The tab texts as the tab bar shows them (shortcut marks resolved).
QStringList shownTitles(TabWidget *apTabs)
{
    QStringList vcTitles;
    QAccessibleInterface *vpBar = QAccessible::queryAccessibleInterface(apTabs->tabBar());
    // Past the tabs come the scroll buttons.
    for (int i = 0; vpBar && i < apTabs->tabBar()->count(); ++i) {
        QAccessibleInterface *vpTab = vpBar->child(i);
        if (vpTab && vpTab->role() == QAccessible::PageTab)
            vcTitles << vpTab->text(QAccessible::Name);
    }
    return vcTitles;
}

} // namespace

class TestReadingTabs : public ReadingFixture
{
    Q_OBJECT

private slots:
    void pagesClosedWhileTheirResultsTravel();
    void jumpAnchorScrollsOnce();
    void clickBringsBothPanesToTheParagraph();
    void closeTabsWithTitle_data();
    void closeTabsWithTitle();
};

void TestReadingTabs::pagesClosedWhileTheirResultsTravel()
{
    // Results name their page by pointer; a page closed before they arrive
    // used to be open to results meant for it after it was gone.
    QHash<TabArea *, QPointer<TabArea>> vcClosed;
    int vnToClosed = 0;
    int vnAfterDestruction = 0;
    int vnRecordsInClosed = 0;
    auto observe = [&](TabArea *apTab) {
        if (!vcClosed.contains(apTab))
            return;
        ++vnToClosed;
        const QPointer<TabArea> &vpPage = vcClosed[apTab];
        if (vpPage.isNull()) {
            ++vnAfterDestruction;
            return;
        }
        vnRecordsInClosed += vpPage->articles().size();
        if (!vpPage->leftView()->document()->isEmpty() || !vpPage->rightView()->isHidden())
            ++vnRecordsInClosed;
    };
    Database *vpDatabase = Application::database();
    QObject vContext;
    connect(vpDatabase, &Database::foundParagraph, &vContext, observe);
    connect(vpDatabase, &Database::foundOtherParagraph, &vContext, observe);
    connect(vpDatabase, &Database::foundChapter, &vContext, observe);
    connect(vpDatabase, &Database::foundOtherChapter, &vContext, observe);
    connect(vpDatabase, &Database::translationReady, &vContext, observe);
    connect(vpDatabase, &Database::foundAllArticles, &vContext, observe);

    // The data store's thread is held until the pages are closed and the GUI
    // has run its pending events, so that every answer arrives afterwards.
    auto vpGate = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        vpDatabase, [vpGate] { vpGate->acquire(); }, Qt::QueuedConnection);
    const auto vRelease = qScopeGuard([vpGate] { vpGate->release(); });

    TabArea *vpKept = openSermon("Первая печать", 1);
    QList<TabArea *> vcPages;
    for (int i = 0; i < 6; ++i) {
        TabArea *vpPage = nullptr;
        if (i % 3 == 2) {
            vpPage = openPsalm("Псалом 9", 9);
            emit vpPage->openBibleAddLanguage("en", vpPage, "19", "9");
        } else {
            vpPage = openSermon("Документ", i % 3 == 0 ? 1 : 4);
            emit vpPage->openQuotesParagraphAddLanguage("en", vpPage, QString(),
                                                        i % 3 == 0 ? "63-0317" : "65-0101");
            QAction *vpEnglish = vpPage->translationMenu()->menu()->actions().at(1);
            emit vpPage->setTranslatorList("en", vpPage, "63-0317", vpEnglish);
        }
        vcPages << vpPage;
    }
    for (TabArea *vpPage : qAsConst(vcPages)) {
        vcClosed.insert(vpPage, vpPage);
        mpTabs->closeTab(mpTabs->indexOf(vpPage));
    }
    QCOMPARE(mpTabs->count(), 1);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A page opened now must not receive what the closed ones asked for (a
    // page destroyed too early would leave its address free for this one).
    TabArea *vpAfter = openPsalm("Псалом 114", 114);
    vpGate->release();

    QTRY_COMPARE(mnRetired, 6);
    QVERIFY(TestSupport::roundTrip());
    for (const QPointer<TabArea> &vpPage : qAsConst(vcClosed))
        QVERIFY(vpPage.isNull());
    QVERIFY(vnToClosed > 0);
    QCOMPARE(vnAfterDestruction, 0);
    QCOMPARE(vnRecordsInClosed, 0);

    QCOMPARE(summary(vpKept->leftView()).size(), 3);
    QCOMPARE(vpKept->articles().size(), 3);
    QVERIFY(vpKept->rightView()->isHidden());
    QCOMPARE(summary(vpAfter->leftView()),
             (QStringList{"1|Псалом 114:1|ру 114:1", "2|Псалом 114:2|ру 114:2"}));
    QCOMPARE(vpAfter->articles().size(), 2);
}

void TestReadingTabs::jumpAnchorScrollsOnce()
{
    // Another page's document arrives first; the jump is not for that one.
    // Two pages wait for their jumps at once: a second jump used to replace
    // the first, which then never scrolled.
    TabArea *vpEarlier = openSermon("Долгая", 4);
    TabArea *vpOther = mpTabs->openTab("Долгая");
    vpOther->jumpTo(30);
    TabArea *vpPage = mpTabs->openTab("Долгая");
    vpPage->jumpTo(20);
    emit vpOther->openQuotesParagraph(vpOther, 4);
    emit vpPage->openQuotesParagraph(vpPage, 4);
    QVERIFY(TestSupport::roundTrip());

    QScrollBar *vpBar = vpPage->leftView()->verticalScrollBar();
    QVERIFY(captionTop(vpPage->leftView(), 20) > 0);
    QTRY_VERIFY(atCaption(vpPage->leftView(), 20));
    QVERIFY(vpBar->value() < vpBar->maximum());

    // The jump was for that render only: neither a translation arriving on
    // the same page nor a later page's render scrolls again. (It used to stay
    // set for good, so every later render jumped to the old number.)
    vpBar->setValue(0);
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::roundTrip());
    const auto rendered = [](const TextBrowser *apView) {
        return QString("%1 records, at %2")
            .arg(summary(apView).size())
            .arg(apView->verticalScrollBar()->value());
    };
    QCOMPARE(rendered(vpPage->rightView()), QString("40 records, at 0"));
    QCOMPARE(vpBar->value(), 0);
    TabArea *vpLater = openSermon("Долгая", 4);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(rendered(vpLater->leftView()), QString("40 records, at 0"));
    mpTabs->setCurrentWidget(vpEarlier);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(rendered(vpEarlier->leftView()), QString("40 records, at 0"));
    // The page that rendered behind another tab is at its paragraph once shown.
    mpTabs->setCurrentWidget(vpOther);
    QTRY_VERIFY(vpOther->leftView()->verticalScrollBar()->value() > 0 &&
                atCaption(vpOther->leftView(), 30));
}

void TestReadingTabs::clickBringsBothPanesToTheParagraph()
{
    // The views never follow links themselves: a click on a caption used to
    // scroll only the other pane, so the two stood apart unless the caption
    // was already at the top of its own.
    TabArea *vpPage = openSermon("Долгая", 4);
    QVERIFY(TestSupport::roundTrip());
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::roundTrip());
    TextBrowser *vpLeft = vpPage->leftView();
    TextBrowser *vpRight = vpPage->rightView();
    QVERIFY(vpRight->isVisible());
    const qreal vnLeftTop = captionTop(vpLeft, 30);
    QVERIFY(vnLeftTop > 0 && captionTop(vpRight, 30) > 0);
    QTRY_VERIFY(vpLeft->verticalScrollBar()->maximum() > vnLeftTop);

    // Caption 30 shown near the bottom of the left pane, and clicked there.
    vpLeft->verticalScrollBar()->setValue(int(vnLeftTop) - vpLeft->viewport()->height() + 40);
    QVERIFY(clickCaption(vpLeft, 30));
    QTRY_VERIFY(atCaption(vpLeft, 30) && atCaption(vpRight, 30));
    // And from the right pane, to paragraph 10.
    vpRight->verticalScrollBar()->setValue(int(captionTop(vpRight, 10)));
    QVERIFY(clickCaption(vpRight, 10));
    QTRY_VERIFY(atCaption(vpLeft, 10) && atCaption(vpRight, 10));
}

void TestReadingTabs::closeTabsWithTitle_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("found"); // a title whose tab is retitled with a hit count
    QTest::addColumn<QString>("close");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("remaining");

    QTest::newRow("whole title and found suffix")
        << QStringList{"<faith>", "<faith>", "<hope>"} << QString("<faith>") << "<faith>"
        << QStringList{"<faith> (found: 3)", "<faith> (found: 3)", "<hope>"}
        << QStringList{"<hope>"};
    QTest::newRow("trailing dots are dropped")
        << QStringList{"<faith>", "<hope>"} << QString() << "<faith>..."
        << QStringList{"<faith>", "<hope>"} << QStringList{"<hope>"};
    QTest::newRow("any tab containing the title")
        << QStringList{"Faith", "Great Faith", "faith", "Hope"} << QString() << "Faith"
        << QStringList{"Faith", "Great Faith", "faith", "Hope"} << QStringList{"faith", "Hope"};
    QTest::newRow("ampersand shown and matched as written")
        << QStringList{"<Tom & Jerry>", "<Tom>", "Salt && Light"} << QString("<Tom & Jerry>")
        << "<Tom & Jerry>" << QStringList{"<Tom & Jerry> (found: 3)", "<Tom>", "Salt && Light"}
        << QStringList{"<Tom>", "Salt && Light"};
    QTest::newRow("the only tab") << QStringList{"<faith>"} << QString() << "<faith>"
                                  << QStringList{"<faith>"} << QStringList();
}

void TestReadingTabs::closeTabsWithTitle()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, found);
    QFETCH(QString, close);
    QFETCH(QStringList, remaining);
    // The cover fills the tab area while no tab is open, whatever its size,
    // and stays as it is when the closed pages go later.
    QWidget *vpCover = mpTabs->findChild<QWidget *>("cover");
    QVERIFY(mpTabs->coverVisible());
    QCOMPARE(vpCover->geometry(), mpTabs->rect());

    for (const QString &vsTitle : qAsConst(titles)) {
        TabArea *vpPage = mpTabs->openTab(vsTitle);
        if (vsTitle == found)
            mpTabs->setFoundPagesCount(vpPage, 3);
    }
    QVERIFY(!mpTabs->coverVisible());
    QTEST(shownTitles(mpTabs.get()), "shown");
    const int vnClosed = titles.size() - remaining.size();
    mpTabs->closeTabsWithTitle(close);
    QCOMPARE(mpTabs->count(), remaining.size());
    QCOMPARE(shownTitles(mpTabs.get()), remaining);
    QCOMPARE(mpTabs->coverVisible(), remaining.isEmpty());
    QTRY_COMPARE(mnRetired, vnClosed);
    QCOMPARE(mpTabs->coverVisible(), remaining.isEmpty());
    mpTabs->resize(640, 480);
    QTRY_COMPARE(vpCover->geometry(), mpTabs->rect());
}

QUILLMARK_TEST_MAIN(TestReadingTabs)
#include "test_readingtabs.moc"
