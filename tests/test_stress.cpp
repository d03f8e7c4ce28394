// A thousand cycles of what a restless reader does in the window, without
// waiting for any answer: documents, translations and result pages opened
// and closed while searches (full scans among them), further result pages
// and catalogues are still on their way, the data language and the
// catalogue's kind switched in between. Meant to run under the address and
// undefined-behaviour sanitizers as well as in the normal build: it checks
// that nothing goes wrong on the way, that the window still answers
// correctly afterwards, and that the cycles leave no memory behind.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"
#include "widgets/navigationwidget.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"
#include "widgets/toolbar.h"

#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QToolButton>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLMARK_UNDER_SANITIZER
// The sanitizer's own count; its header is not installed with every compiler.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <memory>

namespace {

const int cnSermons = 60;
const int cnParagraphs = 40;

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},  {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},   {"DBLangName2", "En"},
            {"ParagraphCount", 10}, {"VersesCount", 10}, {"ShowDuplicates", true}};
}

QString date(int anSermon)
{
    return QString("%1-%2")
        .arg(47 + anSermon / 12)
        .arg(anSermon % 12 * 100 + 101, 4, 10, QChar('0'));
}

// The same sermons in both languages, every third paragraph holding the
// searched word (with a capital letter in every other one of them), and a
// book of twenty chapters for the Bible catalogue and its searches.
QStringList corpus(const QString &asWord, const QString &asFiller)
{
    QStringList vcStatements{"INSERT INTO bibles (book, name) VALUES (1, 'Genesis');"};
    for (int c = 1; c <= 20; ++c) {
        vcStatements << QString("INSERT INTO chapters (book, chapter, name) VALUES (1, %1, "
                                "'Genesis %1');")
                            .arg(c);
        for (int v = 1; v <= 30; ++v)
            vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES "
                                    "(1, %1, %2, '%3 %1:%2 %4');")
                                .arg(c)
                                .arg(v)
                                .arg(v % 3 == 0 ? asWord : asFiller, asFiller);
    }
    for (int s = 0; s < cnSermons; ++s) {
        QStringList vcParagraphs;
        for (int p = 1; p <= cnParagraphs; ++p) {
            QString vsWord = p % 3 == 0 ? asWord : asFiller;
            if (p % 6 == 0)
                vsWord[0] = vsWord.at(0).toUpper();
            vcParagraphs << QString("%1 %2, %3 %4 %3.").arg(vsWord).arg(p).arg(asFiller).arg(s);
        }
        vcStatements += TestSupport::sermonStatements(
            date(s), QString("%1 %2").arg(asFiller).arg(s), vcParagraphs);
    }
    return vcStatements;
}

// What the program has allocated and not freed, in KiB: the allocator's
// count, which, unlike resident memory, leaves out the sanitizer's own
// bookkeeping (its quarantine of freed blocks, the allocation stacks it
// keeps) and what the C library keeps back for later.
qint64 heapKiB()
{
#ifdef QUILLMARK_UNDER_SANITIZER
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    const struct mallinfo2 vInfo = mallinfo2();
    return qint64((vInfo.uordblks + vInfo.hblkhd) / 1024);
#endif
}

// The resident memory of this process, in KiB (0 when it cannot be read).
qint64 residentKiB()
{
    QFile vFile("/proc/self/status");
    if (!vFile.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &vaLine : vFile.readAll().split('\n'))
        if (vaLine.startsWith("VmRSS:"))
            return vaLine.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

} // namespace

class TestStress : public QObject
{
    Q_OBJECT

private slots:
    void restlessReader();

private:
    void cycle(int anCycle);
    void openFromCatalogue();
    void search();
    void closeSome(int anKeep);
    TabArea *anyPage();

    MainWindow *mpWindow = nullptr;
    QRandomGenerator mRandom{20261206};
    int mnOpened = 0;
    int mnSearches = 0;
};

void TestStress::restlessReader()
{
    TempAppDir vApp(settings());
    LogCapture vLog;
    Database *vpDatabase = Application::database();
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(corpus("lighthouse", "harbour")));
    vpDatabase->changeLanguage("ru");
    QVERIFY(vpDatabase->execQuery(corpus("маяк", "гавань")));

    std::unique_ptr<MainWindow> vpWindow = TestSupport::shownWindow();
    QVERIFY(vpWindow);
    mpWindow = vpWindow.get();

    const int vnCycles = qEnvironmentVariableIntValue("QUILLMARK_STRESS_CYCLES") > 0
                             ? qEnvironmentVariableIntValue("QUILLMARK_STRESS_CYCLES")
                             : 1000;
    const int vnWarmUp = vnCycles / 10;
    qint64 vnWarm = 0;
    qint64 vnWarmHeap = 0;
    QElapsedTimer vTimer;
    vTimer.start();
    for (int i = 0; i < vnCycles; ++i) {
        cycle(i);
        if (QTest::currentTestFailed())
            return;
        if (i + 1 == vnWarmUp) {
            closeSome(0);
            QVERIFY(TestSupport::settle());
            malloc_trim(0);
            vnWarm = residentKiB();
            vnWarmHeap = heapKiB();
        }
    }
    closeSome(0);
    QVERIFY(TestSupport::settle());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    malloc_trim(0);
    const qint64 vnAfter = residentKiB();
    const qint64 vnAfterHeap = heapKiB();
    qInfo("%d cycles in %lld ms: %d pages opened, %d searches; after %d cycles and at the end: "
          "resident memory %lld and %lld KiB, allocated %lld and %lld KiB",
          vnCycles, vTimer.elapsed(), mnOpened, mnSearches, vnWarmUp, vnWarm, vnAfter, vnWarmHeap,
          vnAfterHeap);

    // Nothing went wrong on the way: no statement failed, the window never
    // waited for the data store, no box was raised (an unexpected one fails
    // the program), and every page closed was destroyed.
    const QStringList vcProblems = vLog.linesContaining("SQL Error") +
                                   vLog.linesContaining("waited for the data store") +
                                   vLog.linesContaining("(CC)");
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.mid(0, 10).join('\n')));
    QCOMPARE(mpWindow->tabWidget()->count(), 0);
    QCOMPARE(mpWindow->findChildren<TabArea *>().size(), 0);
    // The cycles leave nothing behind that grows with them: after the warm-up
    // has filled the caches, the remaining nine tenths of the cycles leave
    // less than 4 MiB more allocated (about nothing; each page's icons left
    // behind in the style's pixmap cache used to add 12 MiB per thousand
    // cycles), and resident memory grows by less than 8 MiB (about 1 MiB).
    // Under a sanitizer resident memory also holds what the sanitizer keeps
    // of every allocation and access (it grows by 8 to 10 MiB over the run),
    // so there the bound is 24 MiB.
#ifdef QUILLMARK_UNDER_SANITIZER
    const qint64 vnResidentBound = 24 * 1024;
#else
    const qint64 vnResidentBound = 8 * 1024;
#endif
    QVERIFY2(vnAfterHeap - vnWarmHeap < 4 * 1024,
             qPrintable(QString("allocated memory grew from %1 KiB to %2 KiB")
                            .arg(vnWarmHeap)
                            .arg(vnAfterHeap)));
    QVERIFY2(
        vnAfter - vnWarm < vnResidentBound,
        qPrintable(QString("resident memory grew from %1 KiB to %2 KiB").arg(vnWarm).arg(vnAfter)));

    // And the window still answers: the Russian sermons' catalogue in full,
    // and a search finds every hit of its word, its pages counted.
    if (Application::sharedOptions()->dataLanguage() != "ru") {
        mpWindow->findChild<QAction *>("DBLang_ru")->trigger();
        QVERIFY(TestSupport::settle());
    }
    for (QToolButton *vpButton : mpWindow->toolBar()->findChildren<QToolButton *>())
        if (vpButton->toolTip() == "Messages by Year")
            vpButton->click();
    QVERIFY(TestSupport::settle());
    QCOMPARE(TestSupport::catalogueItems(mpWindow->treeView()).size(), cnSermons);
    for (QStandardItem *vpItem : TestSupport::catalogueItems(mpWindow->treeView()))
        vpItem->setCheckState(Qt::Unchecked);
    mpWindow->searchWidget()->lineEdit()->setText("маяк");
    mpWindow->searchWidget()->search();
    QVERIFY(TestSupport::settle());
    auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
    QVERIFY(vpPage);
    const int vnHits = cnSermons * (cnParagraphs / 3);
    QCOMPARE(vpPage->navigationWidget()->labelText(), QString("1 from %1").arg((vnHits + 9) / 10));
    vpWindow.reset();
    QVERIFY(TestSupport::roundTrip());
}

void TestStress::cycle(int anCycle)
{
    const int vnStep = mRandom.bounded(100);
    if (vnStep < 30) {
        openFromCatalogue();
    } else if (vnStep < 55) {
        search();
    } else if (vnStep < 70) {
        // A translation beside whatever page is on show (a result page
        // has none; asking must do no harm all the same).
        if (TabArea *vpPage = anyPage())
            vpPage->openTranslation(mRandom.bounded(2) ? "en" : "ru", QString());
    } else if (vnStep < 82) {
        // The next page of a result while its count may still be running.
        if (TabArea *vpPage = anyPage()) {
            const QList<QToolButton *> vcButtons =
                vpPage->navigationWidget()->findChildren<QToolButton *>();
            if (vcButtons.size() > 1 && vcButtons.at(1)->isEnabled())
                vcButtons.at(1)->click();
        }
    } else if (vnStep < 90) {
        const QStringList vcKinds{"Messages by Year", "Messages by Name", "Bible"};
        const QString vsKind = vcKinds.at(mRandom.bounded(vcKinds.size()));
        for (QToolButton *vpButton : mpWindow->toolBar()->findChildren<QToolButton *>())
            if (vpButton->toolTip() == vsKind)
                vpButton->click();
    } else if (vnStep < 94) {
        const QString vsOther =
            Application::sharedOptions()->dataLanguage() == "ru" ? "DBLang_en" : "DBLang_ru";
        mpWindow->findChild<QAction *>(vsOther)->trigger();
    } else {
        closeSome(0);
    }
    closeSome(6);
    // Let some answers arrive, not all: the next cycle overlaps the rest.
    QCoreApplication::processEvents();
    if (anCycle % 50 == 49)
        QVERIFY(TestSupport::settle());
}

void TestStress::openFromCatalogue()
{
    const QList<QStandardItem *> vcItems = TestSupport::catalogueItems(mpWindow->treeView());
    if (vcItems.isEmpty())
        return;
    QStandardItem *vpItem = vcItems.at(mRandom.bounded(vcItems.size()));
    // Now and then an item checked, so that searches are restricted to it.
    if (mRandom.bounded(4) == 0)
        vpItem->setCheckState(vpItem->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    mpWindow->treeView()->itemDoubleClicked(vpItem->index());
    ++mnOpened;
}

void TestStress::search()
{
    const bool vbRussian = Application::sharedOptions()->dataLanguage() == "ru";
    const QStringList vcWords = vbRussian ? QStringList{"маяк", "Маяк", "гавань маяк", "м"}
                                          : QStringList{"lighthouse", "Lighthouse", "harbour", "l"};
    // Plain, or with an option of the advanced panel: case (a full scan of
    // the texts), whole words, phrase, any word.
    const AdvancedSearchFlag vcFlags[] = {NoOption, CaseSensitive, WholeWords, ExactPhrase,
                                          AnyWord};
    mpWindow->searchWidget()->lineEdit()->setText(vcWords.at(mRandom.bounded(vcWords.size())));
    mpWindow->searchWidget()->startSearch(vcFlags[mRandom.bounded(5)]);
    ++mnSearches;
}

TabArea *TestStress::anyPage()
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    if (vpTabs->count() == 0)
        return nullptr;
    return qobject_cast<TabArea *>(vpTabs->widget(mRandom.bounded(vpTabs->count())));
}

void TestStress::closeSome(int anKeep)
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    while (vpTabs->count() > anKeep)
        vpTabs->closeTab(anKeep == 0 ? 0 : mRandom.bounded(vpTabs->count()));
}

QUILLMARK_TEST_MAIN(TestStress)
#include "test_stress.moc"
