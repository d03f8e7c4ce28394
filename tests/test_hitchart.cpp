// The chart over a search's results in a real main window: its bars add up
// to the hit count, and choosing a bar shows exactly what a search
// restricted to that year's sermons (that book's chapters) finds.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "widgets/hitchart.h"
#include "widgets/mainwindow.h"
#include "widgets/navigationwidget.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/toolbar.h"

#include <QLineEdit>
#include <QToolButton>

#include <memory>

namespace {

const QString csWord = "маяк";

// Five sermons of 15 paragraphs, the word in the odd ones (8 hits each); the
// second is a further translation of the first, hidden by the settings. Two
// Bible books, the word in three verses of the first and two of the second.
// A word of one year only.
QStringList corpus()
{
    QStringList vcStatements{
        "INSERT INTO bibles (book, name) VALUES (1, 'Бытие'), (2, 'Исход');",
        "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'Бытие 1'), (1, 2, 'Бытие 2'), "
        "(2, 1, 'Исход 1');",
        "INSERT INTO verses (book, chapter, verse, text) VALUES (1, 1, 1, 'Был маяк.'), "
        "(1, 1, 2, 'Маяк светил.'), (1, 2, 1, 'И снова маяк.'), (2, 1, 1, 'Маяк у моря.'), "
        "(2, 1, 2, 'Там маяк.'), (2, 1, 3, 'Без слова.');"};
    const QStringList vcDates{"60-0101", "60-0101 *", "61-0202", "62-0303", "62-0404"};
    for (const QString &vsDate : vcDates) {
        QStringList vcParagraphs;
        for (int n = 1; n <= 15; ++n)
            vcParagraphs << (n % 2 ? QString("Абзац %1 про маяк у моря.").arg(n)
                                   : QString("Абзац %1 без него.").arg(n));
        if (vsDate == "61-0202")
            vcParagraphs << "Одинокий утёс.";
        vcStatements << TestSupport::sermonStatements(vsDate, "Проповедь " + vsDate, vcParagraphs);
    }
    return vcStatements;
}

QStringList hits(const TabArea *apPage)
{
    QStringList vcHits;
    for (const ArticleRecord &vRecord : apPage->articles())
        vcHits << vRecord.msLeftTitle + " " + vRecord.msNumber;
    return vcHits;
}

} // namespace

class TestHitChart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void barsRestrictTheSearch_data();
    void barsRestrictTheSearch();
    void keysChooseAndEscapeGoesBack();
    void oneGroupShowsNoChart();

private:
    // Searches from the search line (in the Bible when asked) and waits for
    // the chart's groups to arrive.
    TabArea *search(const QString &asText, bool abBible = false);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<LogCapture> mpLog;
    std::unique_ptr<MainWindow> mpWindow;
    int mnGroupArrivals = 0;
};

void TestHitChart::init()
{
    mpLog = std::make_unique<LogCapture>();
    mpApp = std::make_unique<TempAppDir>(QMap<QString, QVariant>{{"DataLanguage", "ru"},
                                                                 {"Language", "en"},
                                                                 {"DBLang1", "ru"},
                                                                 {"ParagraphCount", 20},
                                                                 {"VersesCount", 20},
                                                                 {"ShowDuplicates", false}});
    QVERIFY(Application::database()->execQuery(corpus()));
    mpWindow = TestSupport::shownWindow();
    QVERIFY(mpWindow);
    mnGroupArrivals = 0;
    connect(Application::database(), &Database::hitsPerGroup, mpWindow.get(),
            [this] { ++mnGroupArrivals; });
}

void TestHitChart::cleanup()
{
    QVERIFY(TestSupport::roundTrip());
    mpWindow.reset();
    QVERIFY(TestSupport::roundTrip());
    const QStringList vcProblems = mpLog->linesContaining("SQL Error");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.join('\n')));
}

TabArea *TestHitChart::search(const QString &asText, bool abBible)
{
    if (abBible) {
        for (QToolButton *vpButton : mpWindow->toolBar()->findChildren<QToolButton *>())
            if (vpButton->toolTip() == "Bible")
                vpButton->click();
        TestSupport::settle();
    }
    const int vnArrivals = mnGroupArrivals;
    mpWindow->searchWidget()->lineEdit()->setText(asText);
    QTest::keyClick(mpWindow->searchWidget()->lineEdit(), Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return mnGroupArrivals > vnArrivals; }, 20000))
        return nullptr;
    return qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
}

void TestHitChart::barsRestrictTheSearch_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("bars");
    QTest::addColumn<int>("bar");
    // The year's sermons or the book's chapters, as the catalogue lists them.
    QTest::addColumn<QString>("keys");
    QTest::newRow("a year") << false << "1960 8|1961 8|1962 16" << 2 << "(4,5)";
    // Not the further translation: its hits are hidden from the whole search.
    QTest::newRow("a year with a further translation")
        << false << "1960 8|1961 8|1962 16" << 0 << "(1)";
    QTest::newRow("a book") << true << "Бытие 3|Исход 2" << 1 << "(3)";
}

void TestHitChart::barsRestrictTheSearch()
{
    QFETCH(bool, bible);
    QFETCH(int, bar);
    QFETCH(QString, keys);
    TabWidget *vpTabs = mpWindow->tabWidget();
    TabArea *vpPage = search(csWord, bible);
    QVERIFY(vpPage);
    HitChart *vpChart = vpPage->hitChart();
    QTRY_VERIFY(vpChart->isVisible());
    QStringList vcBars;
    qint64 vnSum = 0;
    for (const HitGroup &vGroup : vpChart->groups()) {
        vcBars << QString("%1 %2").arg(vGroup.msLabel).arg(vGroup.mnHits);
        vnSum += vGroup.mnHits;
    }
    QTEST(vcBars.join('|'), "bars");
    QCOMPARE(vnSum, qint64(vpPage->foundCount()));
    const QString vsWhole = vpTabs->tabText(vpTabs->indexOf(vpPage));
    const QStringList vcWholeHits = hits(vpPage);

    // What the same search restricted to the group's documents finds, in a
    // page of its own.
    TabArea *vpReference = vpTabs->openTab("<reference>", vpPage->context());
    vpReference->setSearchQuery(csWord, keys, NoOption);
    if (bible)
        emit vpReference->searchBible(vpReference, csWord, keys, NoOption, 0, -1, -1);
    else
        emit vpReference->searchMessages(vpReference, csWord, keys, NoOption, 0, -1, -1);
    QTRY_VERIFY(vpReference->foundCount() >= 0);
    QVERIFY(!vpReference->articles().isEmpty());

    vpTabs->setCurrentWidget(vpPage);
    const HitGroup vGroup = vpChart->groups().at(bar);
    QTest::mouseClick(vpChart, Qt::LeftButton, {}, vpChart->barRect(bar).center());
    QCOMPARE(vpChart->chosen(), bar);
    QTRY_COMPARE(vpTabs->tabText(vpTabs->indexOf(vpPage)),
                 QString("<%1> %2 (found: %3)").arg(csWord, vGroup.msLabel).arg(vGroup.mnHits));
    QCOMPARE(vpPage->foundCount(), vpReference->foundCount());
    QCOMPARE(hits(vpPage), hits(vpReference));

    // The chosen bar again: the whole search, its pages too.
    QTest::mouseClick(vpChart, Qt::LeftButton, {}, vpChart->barRect(bar).center());
    QCOMPARE(vpChart->chosen(), -1);
    QTRY_COMPARE(vpTabs->tabText(vpTabs->indexOf(vpPage)), vsWhole);
    QTRY_COMPARE(hits(vpPage), vcWholeHits);
    if (!bible) {
        vpPage->navigationWidget()->pageSelected(1);
        QTRY_COMPARE(vpPage->articles().size(), 12);
    }
    // Neither the restricted searches nor the later page counted groups again.
    QVERIFY(TestSupport::settle());
    QCOMPARE(mnGroupArrivals, 1);
    QCOMPARE(vpChart->groups().size(), vcBars.size());
}

void TestHitChart::keysChooseAndEscapeGoesBack()
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    TabArea *vpPage = search(csWord);
    QVERIFY(vpPage);
    HitChart *vpChart = vpPage->hitChart();
    QTRY_VERIFY(vpChart->isVisible());
    vpChart->setFocus();
    // A second bar chosen before the first one's hits arrived: only its hits.
    QTest::keyClick(vpChart, Qt::Key_End);
    QTest::keyClick(vpChart, Qt::Key_Return);
    QTest::keyClick(vpChart, Qt::Key_Left);
    QTest::keyClick(vpChart, Qt::Key_Return);
    QCOMPARE(vpChart->chosen(), 1);
    QTRY_COMPARE(vpTabs->tabText(vpTabs->indexOf(vpPage)), QString("<маяк> 1961 (found: 8)"));
    QVERIFY(TestSupport::settle());
    QCOMPARE(vpPage->articles().size(), 8);
    // The link back is there only while a bar is chosen.
    QVERIFY(!vpChart->allLinkRect().isEmpty());
    QTest::keyClick(vpChart, Qt::Key_Escape);
    QCOMPARE(vpChart->chosen(), -1);
    QVERIFY(vpChart->allLinkRect().isEmpty());
    QTRY_COMPARE(vpTabs->tabText(vpTabs->indexOf(vpPage)), QString("<маяк> (found: 32)"));
}

void TestHitChart::oneGroupShowsNoChart()
{
    TabArea *vpPage = search("утёс");
    QVERIFY(vpPage);
    QCOMPARE(vpPage->hitChart()->groups().size(), 1);
    QVERIFY(!vpPage->hitChart()->isVisible());
}

QUILLMARK_TEST_MAIN(TestHitChart)
#include "test_hitchart.moc"
