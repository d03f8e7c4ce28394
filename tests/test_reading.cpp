// Reading documents in tabs against a real data store on its worker thread.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
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
#include <QToolButton>

#include <memory>

namespace {

const int cnFontSize = 13;
const QString csFontName = "DejaVu Serif";

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"},  {"Language", "en"},    {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},   {"DBLang2", "en"},     {"DBLangName2", "En"},
            {"DBLang3", "fr"},       {"DBLangName3", "Fr"}, {"fontName", csFontName},
            {"fontSize", cnFontSize}};
}

QStringList numbered(const QString &asPrefix, int anCount)
{
    QStringList vcTexts;
    for (int i = 1; i <= anCount; ++i)
        vcTexts << asPrefix + QString(" %1, a paragraph long enough to fill a line or two.").arg(i);
    return vcTexts;
}

// A psalm's chapter row and its verses, each verse's text "<prefix> <chapter>:<verse>".
QStringList psalm(int anChapter, const QString &asName, const QString &asPrefix,
                  const QVector<int> &acVerses)
{
    const QString vsChapter = QString::number(anChapter);
    QStringList vcStatements{
        QString("INSERT INTO chapters (book, chapter, name) VALUES (19, %1, %2);")
            .arg(vsChapter, TestSupport::sqlText(asName))};
    for (int vnVerse : acVerses)
        vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES "
                                "(19, %1, %2, '%3 %1:%2');")
                            .arg(vsChapter, QString::number(vnVerse), asPrefix);
    return vcStatements;
}

// The corpus: the same sermons in three languages (two Russian translators
// for 63-0317), and Psalms in the Russian and the English numbering.
bool fillCorpus(Database *apDatabase)
{
    using TestSupport::sermonStatements;
    QStringList vcRu;
    vcRu << sermonStatements("63-0317", "Первая печать",
                             {"Первый абзац.", "Второй <i>абзац</i>.", "Третий\tабзац."}, "Иванов",
                             "Джефферсонвилл", 1)
         << sermonStatements("63-0317 *", "Первая печать",
                             {"Петров один.", "Петров два.", "Петров три."}, "Петров",
                             "Джефферсонвилл", 2)
         << sermonStatements("64-0101", "Вторая", {"Один.", "Два."}, "Иванов", "Тусон", 3)
         << sermonStatements("65-0101", "Долгая", numbered("Абзац", 40), "Иванов", "Тусон", 4)
         << psalm(9, "Псалом 9", "ру", {1, 2, 21, 22}) << psalm(114, "Псалом 114", "ру", {1, 2})
         << psalm(115, "Псалом 115", "ру", {1});
    QStringList vcEn;
    vcEn << sermonStatements("63-0317", "The First Seal",
                             {"First paragraph.", "Second paragraph.", "Third\tparagraph."}, "-",
                             "Jeffersonville", 1)
         << sermonStatements("64-0101", "The Second", {"One.", "Two."}, "-", "Tucson", 2)
         << sermonStatements("65-0101", "Long", numbered("Paragraph", 40), "-", "Tucson", 3)
         << psalm(9, "Psalm 9", "en", {1, 2}) << psalm(10, "Psalm 10", "en", {1, 2})
         << psalm(116, "Psalm 116", "en", {1, 2, 10, 11});
    const QStringList vcFr =
        sermonStatements("63-0317", "Le premier sceau", {"Premier.", "Deuxième.", "Troisième."},
                         "Dupont", "Jeffersonville", 1);

    bool vbOk = apDatabase->execQuery(vcRu);
    apDatabase->changeLanguage("en");
    vbOk = apDatabase->execQuery(vcEn) && vbOk;
    apDatabase->changeLanguage("fr");
    vbOk = apDatabase->execQuery(vcFr) && vbOk;
    apDatabase->changeLanguage("ru");
    return vbOk;
}

// One rendered record: the caption block and the block of number and text,
// with the anchors of both as "names>href".
struct Rendered
{
    QString msCaption, msCaptionAnchor, msNumber, msNumberAnchor, msText;
    QTextCharFormat mCaptionFormat, mNumberFormat, mTextFormat;
};

QVector<Rendered> renderedRecords(const QTextDocument *apDocument)
{
    QVector<Rendered> vcRecords;
    Rendered vCurrent;
    for (QTextBlock vBlock = apDocument->begin(); vBlock.isValid(); vBlock = vBlock.next()) {
        bool vbNumberBlock = false;
        for (auto it = vBlock.begin(); !it.atEnd(); ++it) {
            const QTextFragment vFragment = it.fragment();
            const QTextCharFormat vFormat = vFragment.charFormat();
            const bool vbAnchor = vFormat.isAnchor() && !vFormat.anchorNames().isEmpty();
            const QString vsAnchor = vFormat.anchorNames().join(',') + ">" + vFormat.anchorHref();
            if (!vbNumberBlock && vbAnchor && vFormat.anchorNames().first().startsWith('a')) {
                vbNumberBlock = true;
                vCurrent.msNumber = vFragment.text();
                vCurrent.msNumberAnchor = vsAnchor;
                vCurrent.mNumberFormat = vFormat;
            } else if (vbNumberBlock) {
                if (vCurrent.msText.isEmpty())
                    vCurrent.mTextFormat = vFormat;
                vCurrent.msText += vFragment.text();
            } else if (vbAnchor) {
                vCurrent.msCaption += vFragment.text();
                vCurrent.msCaptionAnchor = vsAnchor;
                vCurrent.mCaptionFormat = vFormat;
            }
        }
        if (vbNumberBlock) {
            vcRecords << vCurrent;
            vCurrent = Rendered();
        }
    }
    return vcRecords;
}

// "number|caption|text" per record; a document's anchors must be named by
// the number (caption "n", number "an") for the two views to scroll together.
QStringList summary(const TextBrowser *apView)
{
    QStringList vcLines;
    for (const Rendered &vRecord : renderedRecords(apView->document())) {
        const QString vsNumber = vRecord.msNumber.trimmed();
        vcLines
            << QString("%1|%2|%3").arg(vsNumber, vRecord.msCaption, vRecord.msText.simplified());
        if ((!vRecord.msCaption.isEmpty() &&
             vRecord.msCaptionAnchor != QString("%1>#%1").arg(vsNumber)) ||
            vRecord.msNumber != QString(" %1\t").arg(vsNumber) ||
            vRecord.msNumberAnchor != QString("a%1>#a%1").arg(vsNumber))
            vcLines.last() += " !anchors";
    }
    return vcLines;
}

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

// Each entry of a page's language menu: code, on/off, and its translators
// (+ enabled, - disabled) when it has a sub-menu.
QString menuState(TabArea *apPage)
{
    QStringList vcEntries;
    for (QAction *vpAction : apPage->translationMenu()->menu()->actions()) {
        QString vsEntry =
            vpAction->objectName().section('_', 1) + ":" + (vpAction->isEnabled() ? "on" : "off");
        if (QMenu *vpSub = vpAction->menu()) {
            QStringList vcChoices;
            for (QAction *vpChoice : vpSub->actions())
                vcChoices << vpChoice->text() + (vpChoice->isEnabled() ? "+" : "-");
            vsEntry += "(" + vcChoices.join(',') + ")";
        }
        vcEntries << vsEntry;
    }
    return vcEntries.join(' ');
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

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void documentsBesideTheirTranslations_data();
    void documentsBesideTheirTranslations();
    void translationMenuStates_data();
    void translationMenuStates();
    void pagesClosedWhileTheirResultsTravel();
    void jumpAnchorScrollsOnce();
    void clickBringsBothPanesToTheParagraph();
    void closeTabsWithTitle_data();
    void closeTabsWithTitle();

private:
    TabArea *openSermon(const QString &asTitle, int anDocId);
    TabArea *openPsalm(const QString &asTitle, int anChapter);
    bool closeAll();

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<LogCapture> mpLog;
    std::unique_ptr<TreeView> mpTree;
    std::unique_ptr<TabWidget> mpTabs;
    int mnRetired = 0;
};

void TestReading::init()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    mpLog = std::make_unique<LogCapture>();
    Database *vpDatabase = Application::database();
    QVERIFY(fillCorpus(vpDatabase));
    QCOMPARE(Application::sharedOptions()->dataLanguage(), QString("ru"));

    mpTree = std::make_unique<TreeView>();
    mpTabs = std::make_unique<TabWidget>();
    mpTabs->setTreeView(mpTree.get());
    mnRetired = 0;
    connect(mpTabs.get(), &TabWidget::pageRetired, this, [this] { ++mnRetired; });
    TabWidget *vpTabs = mpTabs.get();
    // As the main window wires them.
    connect(vpDatabase, &Database::foundAllArticles, vpTabs, &TabWidget::finishArticles);
    connect(vpDatabase, &Database::translationReady, vpTabs, &TabWidget::showRightText);
    connect(vpDatabase, &Database::foundChapter, vpTabs, &TabWidget::addChapter);
    connect(vpDatabase, &Database::foundOtherChapter, vpTabs, &TabWidget::addOtherChapter);
    connect(vpDatabase, &Database::foundParagraph, vpTabs, &TabWidget::addParagraph);
    connect(vpDatabase, &Database::foundOtherParagraph, vpTabs, &TabWidget::addOtherParagraph);
    mpTabs->resize(800, 600);
    mpTabs->show();
    QVERIFY(QTest::qWaitForWindowExposed(mpTabs.get()));
}

void TestReading::cleanup()
{
    if (mpTabs)
        QVERIFY(closeAll());
    mpTabs.reset();
    mpTree.reset();
    const QStringList vcProblems = mpLog->linesContaining("SQL Error") +
                                   mpLog->linesContaining("without the data store's lock");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.join('\n')));
}

TabArea *TestReading::openSermon(const QString &asTitle, int anDocId)
{
    mpTree->setKind(CatalogueTree::ByYear);
    TabArea *vpPage = mpTabs->openTab(asTitle);
    emit vpPage->openQuotesParagraph(vpPage, anDocId);
    return vpPage;
}

TabArea *TestReading::openPsalm(const QString &asTitle, int anChapter)
{
    mpTree->setKind(CatalogueTree::Bible);
    TabArea *vpPage = mpTabs->openTab(asTitle);
    mpTree->setKind(CatalogueTree::ByYear);
    emit vpPage->openBibleChapter(vpPage, 19, anChapter);
    return vpPage;
}

bool TestReading::closeAll()
{
    const int vnExpected = mnRetired + mpTabs->count();
    while (mpTabs->count() > 0)
        mpTabs->closeTab(0);
    return QTest::qWaitFor([&] { return mnRetired >= vnExpected; }, 20000);
}

void TestReading::documentsBesideTheirTranslations_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("mainLanguage");
    QTest::addColumn<QString>("otherLanguage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("document"); // a sermon's key, or a psalm
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");
    QTest::addColumn<QString>("menu");

    // The third paragraph holds a tab, which used to cut its text short: the
    // records are tab-separated and only the field up to the tab was kept.
    // The English translation has the six-field record's caption.
    const QString vsCaption = "Первая печать, Джефферсонвилл, Иванов";
    const QString vsOther = "The First Seal, (63-0317), Jeffersonville, (-)";
    QTest::newRow("sermon beside its English original")
        << false << QString("ru") << "en" << QString("Первая печать") << 1
        << QStringList{"1|" + vsCaption + "|Первый абзац.", "2|" + vsCaption + "|Второй абзац.",
                       "3|" + vsCaption + "|Третий абзац."}
        << QStringList{"1|" + vsOther + "|First paragraph.", "2|" + vsOther + "|Second paragraph.",
                       "3|" + vsOther + "|Third paragraph."}
        << "ru:on(Иванов-,Петров+) en:on fr:on";
    // The data language changes to English before the parallel text is
    // asked for; the page stays Russian: its parallel text is converted from
    // the Russian numbering (it used to be converted from the new current
    // language, which found nothing), and its menu leaves Russian out.
    QTest::newRow("ru 9 beside en 9 and 10")
        << true << QString("ru") << "en" << QString("Псалом 9") << 9
        << QStringList{"1|Псалом 9:1|ру 9:1", "2|Псалом 9:2|ру 9:2", "21|Псалом 9:21|ру 9:21",
                       "22|Псалом 9:22|ру 9:22"}
        << QStringList{"1|Psalm 9:1|en 9:1", "2|Psalm 9:2|en 9:2", "21|Psalm 10:1|en 10:1",
                       "22|Psalm 10:2|en 10:2"}
        << "ru:off en:on fr:on";
    // English 116:10-11 are Russian 115:1-2: they must not overwrite 114:1-2.
    QTest::newRow("ru 114 beside part of en 116")
        << true << QString("ru") << "en" << QString("Псалом 114") << 114
        << QStringList{"1|Псалом 114:1|ру 114:1", "2|Псалом 114:2|ру 114:2"}
        << QStringList{"1|Psalm 116:1|en 116:1", "2|Psalm 116:2|en 116:2"} << "ru:off en:on fr:on";
    QTest::newRow("en 116 beside ru 114 and 115")
        << true << QString("en") << "ru" << QString("Psalm 116") << 116
        << QStringList{"1|Psalm 116:1|en 116:1", "2|Psalm 116:2|en 116:2",
                       "10|Psalm 116:10|en 116:10", "11|Psalm 116:11|en 116:11"}
        << QStringList{"1|Псалом 114:1|ру 114:1", "2|Псалом 114:2|ру 114:2",
                       "10|Псалом 115:1|ру 115:1", "11||"}
        << "ru:on en:off fr:on";
}

void TestReading::documentsBesideTheirTranslations()
{
    QFETCH(bool, bible);
    QFETCH(QString, mainLanguage);
    QFETCH(QString, otherLanguage);
    QFETCH(QString, title);
    QFETCH(int, document);
    QFETCH(QStringList, left);

    Application::sharedOptions()->setLanguage(mainLanguage, SharedOptions::Data);
    TabArea *vpPage = bible ? openPsalm(title, document) : openSermon(title, document);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpPage->leftView()), left);
    QVERIFY(vpPage->rightView()->isHidden());
    QCOMPARE(vpPage->dateInfo(), bible ? QString("19") : QString("63-0317"));
    QCOMPARE(vpPage->chapterInfo(), bible ? QString::number(document) : QString());
    // Sizes and family from the options: caption and text at the font size,
    // numbers one point larger, the document two.
    const Rendered vFirst = renderedRecords(vpPage->leftView()->document()).first();
    for (const QTextCharFormat &vFormat : {vFirst.mCaptionFormat, vFirst.mNumberFormat})
        QCOMPARE(vFormat.fontFamily(), csFontName);
    QCOMPARE(vFirst.mCaptionFormat.fontPointSize(), qreal(cnFontSize));
    QCOMPARE(vFirst.mTextFormat.fontPointSize(), qreal(cnFontSize));
    QCOMPARE(vFirst.mNumberFormat.fontPointSize(), qreal(cnFontSize + 1));
    QCOMPARE(vpPage->leftView()->document()->defaultFont(), QFont(csFontName, cnFontSize + 2));

    if (document == 9)
        Application::sharedOptions()->setLanguage("en", SharedOptions::Data);
    vpPage->openTranslation(otherLanguage, QString());
    QVERIFY(TestSupport::roundTrip());
    QVERIFY(vpPage->rightView()->isVisible());
    QTEST(summary(vpPage->rightView()), "right");
    QCOMPARE(summary(vpPage->leftView()), left);
    QCOMPARE(vpPage->language(), mainLanguage);
    emit vpPage->translationMenu()->menu()->aboutToShow();
    QVERIFY(TestSupport::roundTrip());
    QTEST(menuState(vpPage), "menu");
    if (bible)
        return;
    // The parallel paragraphs' statement shows in the log with its date.
    QVERIFY(mpLog->contains("paragraphs_content WHERE c2date = '63-0317'"));
    // A page opened for Russian asks for its documents in Russian whatever
    // the data language is now.
    Application::sharedOptions()->setLanguage("en", SharedOptions::Data);
    TabArea *vpRussian = mpTabs->openTab("Первая печать", {CatalogueTree::ByYear, "ru"});
    emit vpRussian->openQuotesParagraph(vpRussian, 1);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpRussian->leftView()), left);
    QCOMPARE(Application::database()->currentLanguage(), QString("en"));
}

void TestReading::translationMenuStates_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<int>("document");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("choices");

    QTest::newRow("two Russian translators")
        << false << 1 << "ru:on(Иванов-,Петров+) en:on fr:on"
        << QStringList{"sermon ru Петров 63-0317", "sermon en  63-0317",
                       "sermon fr Dupont 63-0317"};
    QTest::newRow("one Russian translator, none in French")
        << false << 3 << "ru:off en:on fr:off" << QStringList{"sermon en  64-0101"};
    QTest::newRow("Bible page") << true << 9 << "ru:off en:on fr:on"
                                << QStringList{"bible en 19 9", "bible fr 19 9"};
}

void TestReading::translationMenuStates()
{
    QFETCH(bool, bible);
    QFETCH(int, document);

    TabArea *vpPage = bible ? openPsalm("Псалом 9", document) : openSermon("Документ", document);
    // Every page hears every translator list; only the asking page may use
    // it. This one, of the other kind, hears the lists after the asking page.
    TabArea *vpOther = bible ? openSermon("Первая печать", 1) : openPsalm("Псалом 9", 9);
    QVERIFY(TestSupport::roundTrip());
    const QString vsUntouched = "ru:on en:on fr:on";
    QCOMPARE(menuState(vpPage), vsUntouched);

    QStringList vcChosen;
    QObject vContext;
    connect(vpPage, &TabArea::openQuotesParagraphAddLanguage, &vContext,
            [&vcChosen](QString asLocale, TabArea *, QString asTranslator, QString asDate) {
                vcChosen << QString("sermon %1 %2 %3").arg(asLocale, asTranslator, asDate);
            });
    connect(vpPage, &TabArea::openBibleAddLanguage, &vContext,
            [&vcChosen](QString asLocale, TabArea *, QString asBook, QString asChapter) {
                vcChosen << QString("bible %1 %2 %3").arg(asLocale, asBook, asChapter);
            });

    QMenu *vpMenu = vpPage->translationMenu()->menu();
    emit vpMenu->aboutToShow();
    QVERIFY(TestSupport::roundTrip());
    QTEST(menuState(vpPage), "expected");
    QCOMPARE(menuState(vpOther), vsUntouched);

    // What the reader can choose: the enabled entries and translators.
    for (QAction *vpEntry : vpMenu->actions()) {
        const QList<QAction *> vcLeaves =
            vpEntry->menu() ? vpEntry->menu()->actions() : QList<QAction *>{vpEntry};
        for (QAction *vpChoice : vcLeaves)
            if (vpEntry->isEnabled() && vpChoice->isEnabled())
                vpChoice->trigger();
    }
    QTEST(vcChosen, "choices");
    QVERIFY(vpPage->translationButton()->isChecked());
    QVERIFY(TestSupport::roundTrip());
}

void TestReading::pagesClosedWhileTheirResultsTravel()
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

void TestReading::jumpAnchorScrollsOnce()
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

void TestReading::clickBringsBothPanesToTheParagraph()
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

void TestReading::closeTabsWithTitle_data()
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

void TestReading::closeTabsWithTitle()
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

QUILLMARK_TEST_MAIN(TestReading)
#include "test_reading.moc"
