// Reading documents in tabs against a real data store on its worker thread:
// the cover of the empty tab area, how sermons and chapters render (anchors,
// formats), parallel psalms across the two numberings, the translation menu,
// pages closed while their results are on their way, the one-time jump to a
// number, the two forms of the document statements, and closing by title.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "models/documentstatements.h"
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
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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

QString quote(const QString &asValue)
{
    return "'" + QString(asValue).replace('\'', "''") + "'";
}

QStringList sermon(int anDocId, const QString &asDate, const QString &asName,
                   const QString &asTranslator, const QString &asPlace,
                   const QStringList &acParagraphs)
{
    QStringList vcStatements{
        QString("INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, place) "
                "VALUES (%1, %2, %3, %4, '-', '-', '1:02', %5);")
            .arg(anDocId)
            .arg(quote(asDate), quote(asName), quote(asTranslator), quote(asPlace))};
    for (int i = 0; i < acParagraphs.size(); ++i)
        vcStatements << QString("INSERT INTO paragraphs (id, date, text) VALUES (%1, %2, %3);")
                            .arg(quote(QString("E-%1").arg(i + 1)), quote(asDate),
                                 quote(acParagraphs.at(i)));
    return vcStatements;
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
            .arg(vsChapter, quote(asName))};
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
    QStringList vcRu;
    vcRu << sermon(1, "63-0317", "Первая печать", "Иванов", "Джефферсонвилл",
                   {"Первый абзац.", "Второй <i>абзац</i>.", "Третий\tабзац."})
         << sermon(2, "63-0317 *", "Первая печать", "Петров", "Джефферсонвилл",
                   {"Петров один.", "Петров два.", "Петров три."})
         << sermon(3, "64-0101", "Вторая", "Иванов", "Тусон", {"Один.", "Два."})
         << sermon(4, "65-0101", "Долгая", "Иванов", "Тусон", numbered("Абзац", 40))
         << psalm(9, "Псалом 9", "ру", {1, 2, 21, 22}) << psalm(114, "Псалом 114", "ру", {1, 2})
         << psalm(115, "Псалом 115", "ру", {1});
    QStringList vcEn;
    vcEn << sermon(1, "63-0317", "The First Seal", "-", "Jeffersonville",
                   {"First paragraph.", "Second paragraph.", "Third\tparagraph."})
         << sermon(2, "64-0101", "The Second", "-", "Tucson", {"One.", "Two."})
         << sermon(3, "65-0101", "Long", "-", "Tucson", numbered("Paragraph", 40))
         << psalm(9, "Psalm 9", "en", {1, 2}) << psalm(10, "Psalm 10", "en", {1, 2})
         << psalm(116, "Psalm 116", "en", {1, 2, 10, 11});
    QStringList vcFr;
    vcFr << sermon(1, "63-0317", "Le premier sceau", "Dupont", "Jeffersonville",
                   {"Premier.", "Deuxième.", "Troisième."});

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

    void coverShowsWhileNoTabIsOpen();
    void sermonRendersWithAnchorsAndFormats();
    void parallelPsalmsFollowThePageNumbering_data();
    void parallelPsalmsFollowThePageNumbering();
    void translationMenuStates_data();
    void translationMenuStates();
    void pagesClosedWhileTheirResultsTravel();
    void jumpAnchorScrollsOnce();
    void clickBringsBothPanesToTheParagraph();
    void pageKeepsItsOwnLanguage();
    void indexedAndFullTextStatementsAgree_data();
    void indexedAndFullTextStatementsAgree();
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
    const QStringList vcErrors = mpLog->linesContaining("SQL Error");
    const QStringList vcLock = mpLog->linesContaining("without the data store's lock");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcErrors.isEmpty(), qPrintable(vcErrors.join('\n')));
    QVERIFY2(vcLock.isEmpty(), qPrintable(vcLock.join('\n')));
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

void TestReading::coverShowsWhileNoTabIsOpen()
{
    QVERIFY(mpTabs->coverVisible());
    QCOMPARE(mpTabs->findChild<QWidget *>("cover")->geometry(), mpTabs->rect());
    QPointer<TabArea> vpFirst = openSermon("Вторая", 3);
    QVERIFY(!mpTabs->coverVisible());
    QPointer<TabArea> vpSecond = openSermon("Первая печать", 1);
    QVERIFY(TestSupport::roundTrip());

    mpTabs->closeTab(mpTabs->indexOf(vpFirst));
    QVERIFY(!mpTabs->coverVisible());
    QTRY_COMPARE(mnRetired, 1);
    QVERIFY(vpFirst.isNull());
    QVERIFY(!mpTabs->coverVisible());

    mpTabs->closeTab(0);
    QCOMPARE(mpTabs->count(), 0);
    QVERIFY(mpTabs->coverVisible());
    QTRY_COMPARE(mnRetired, 2);
    QVERIFY(vpSecond.isNull());
    QVERIFY(mpTabs->coverVisible());

    // The cover keeps filling the area when it is resized.
    mpTabs->resize(640, 480);
    QTRY_COMPARE(mpTabs->findChild<QWidget *>("cover")->geometry(), mpTabs->rect());
}

void TestReading::sermonRendersWithAnchorsAndFormats()
{
    TabArea *vpPage = openSermon("Первая печать", 1);
    QVERIFY(TestSupport::roundTrip());
    const QString vsCaption = "Первая печать, Джефферсонвилл, Иванов";
    // The third paragraph holds a tab, which used to cut its text short: the
    // records are tab-separated and only the field up to the tab was kept.
    QCOMPARE(summary(vpPage->leftView()),
             (QStringList{"1|" + vsCaption + "|Первый абзац.", "2|" + vsCaption + "|Второй абзац.",
                          "3|" + vsCaption + "|Третий абзац."}));
    QVERIFY(vpPage->rightView()->isHidden());

    // Sizes and family from the options: caption and text at the font size,
    // numbers one point larger, the document two.
    const QVector<Rendered> vcRecords = renderedRecords(vpPage->leftView()->document());
    const Rendered &vFirst = vcRecords.first();
    for (const QTextCharFormat &vFormat : {vFirst.mCaptionFormat, vFirst.mNumberFormat})
        QCOMPARE(vFormat.fontFamily(), csFontName);
    QCOMPARE(vFirst.mCaptionFormat.fontPointSize(), qreal(cnFontSize));
    QCOMPARE(vFirst.mTextFormat.fontPointSize(), qreal(cnFontSize));
    QCOMPARE(vFirst.mNumberFormat.fontPointSize(), qreal(cnFontSize + 1));
    QCOMPARE(vpPage->leftView()->document()->defaultFont(), QFont(csFontName, cnFontSize + 2));
    // The paragraph text is markup, not shown literally.
    QVERIFY(vcRecords.at(1).msText.contains("Второй"));
    QVERIFY(!vcRecords.at(1).msText.contains("<i>"));

    // The English translation beside it, in the six-field record's caption.
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::roundTrip());
    QVERIFY(vpPage->rightView()->isVisible());
    // The parallel paragraphs' statement shows in the log with its date.
    QVERIFY(mpLog->contains("paragraphs_content WHERE c2date = '63-0317'"));
    const QString vsOther = "The First Seal, (63-0317), Jeffersonville, (-)";
    QCOMPARE(summary(vpPage->rightView()), (QStringList{"1|" + vsOther + "|First paragraph.",
                                                        "2|" + vsOther + "|Second paragraph.",
                                                        "3|" + vsOther + "|Third paragraph."}));
    QCOMPARE(summary(vpPage->leftView()).size(), 3);
}

void TestReading::parallelPsalmsFollowThePageNumbering_data()
{
    QTest::addColumn<QString>("mainLanguage");
    QTest::addColumn<QString>("otherLanguage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("psalm");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");

    QTest::newRow("ru 9 beside en 9 and 10")
        << QString("ru") << "en" << QString("Псалом 9") << 9
        << QStringList{"1|Псалом 9:1|ру 9:1", "2|Псалом 9:2|ру 9:2", "21|Псалом 9:21|ру 9:21",
                       "22|Псалом 9:22|ру 9:22"}
        << QStringList{"1|Psalm 9:1|en 9:1", "2|Psalm 9:2|en 9:2", "21|Psalm 10:1|en 10:1",
                       "22|Psalm 10:2|en 10:2"};
    // English 116:10-11 are Russian 115:1-2: they must not overwrite 114:1-2.
    QTest::newRow("ru 114 beside part of en 116")
        << QString("ru") << "en" << QString("Псалом 114") << 114
        << QStringList{"1|Псалом 114:1|ру 114:1", "2|Псалом 114:2|ру 114:2"}
        << QStringList{"1|Psalm 116:1|en 116:1", "2|Psalm 116:2|en 116:2"};
    QTest::newRow("en 116 beside ru 114 and 115")
        << QString("en") << "ru" << QString("Psalm 116") << 116
        << QStringList{"1|Psalm 116:1|en 116:1", "2|Psalm 116:2|en 116:2",
                       "10|Psalm 116:10|en 116:10", "11|Psalm 116:11|en 116:11"}
        << QStringList{"1|Псалом 114:1|ру 114:1", "2|Псалом 114:2|ру 114:2",
                       "10|Псалом 115:1|ру 115:1", "11||"};
}

void TestReading::parallelPsalmsFollowThePageNumbering()
{
    QFETCH(QString, mainLanguage);
    QFETCH(QString, otherLanguage);
    QFETCH(QString, title);
    QFETCH(int, psalm);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);

    Application::sharedOptions()->setLanguage(mainLanguage, SharedOptions::Data);
    TabArea *vpPage = openPsalm(title, psalm);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpPage->leftView()), left);
    QCOMPARE(vpPage->dateInfo(), QString("19"));
    QCOMPARE(vpPage->chapterInfo(), QString::number(psalm));

    vpPage->openTranslation(otherLanguage, QString());
    QVERIFY(TestSupport::roundTrip());
    QVERIFY(vpPage->rightView()->isVisible());
    QCOMPARE(summary(vpPage->rightView()), right);
    QCOMPARE(summary(vpPage->leftView()), left);
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
    QFETCH(QString, expected);
    QFETCH(QStringList, choices);

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
    QCOMPARE(menuState(vpPage), expected);
    QCOMPARE(menuState(vpOther), vsUntouched);

    // What the reader can choose: the enabled entries and translators.
    for (QAction *vpEntry : vpMenu->actions()) {
        const QList<QAction *> vcLeaves =
            vpEntry->menu() ? vpEntry->menu()->actions() : QList<QAction *>{vpEntry};
        for (QAction *vpChoice : vcLeaves)
            if (vpEntry->isEnabled() && vpChoice->isEnabled())
                vpChoice->trigger();
    }
    QCOMPARE(vcChosen.join(" / "), choices.join(" / "));
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
    const qreal vnTop = captionTop(vpPage->leftView(), 20);
    QVERIFY(vnTop > 0);
    QTRY_VERIFY(qAbs(vpBar->value() - vnTop) <= 2);
    QVERIFY(vpBar->value() < vpBar->maximum());

    // The jump was for that render only: neither a translation arriving on
    // the same page nor a later page's render scrolls again. (It used to stay
    // set for good, so every later render jumped to the old number.)
    vpBar->setValue(0);
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::roundTrip());
    QVERIFY(vpPage->rightView()->isVisible());
    QCOMPARE(summary(vpPage->rightView()).size(), 40);
    QCOMPARE(vpBar->value(), 0);

    TabArea *vpLater = openSermon("Долгая", 4);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpLater->leftView()).size(), 40);
    QCOMPARE(vpLater->leftView()->verticalScrollBar()->value(), 0);

    mpTabs->setCurrentWidget(vpEarlier);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpEarlier->leftView()).size(), 40);
    QCOMPARE(vpEarlier->leftView()->verticalScrollBar()->value(), 0);
    // The page that rendered behind another tab is at its paragraph once shown.
    mpTabs->setCurrentWidget(vpOther);
    QScrollBar *vpOtherBar = vpOther->leftView()->verticalScrollBar();
    QTRY_VERIFY(vpOtherBar->value() > 0 &&
                qAbs(vpOtherBar->value() -
                     qMin<qreal>(captionTop(vpOther->leftView(), 30), vpOtherBar->maximum())) <= 2);
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
    const qreal vnRightTop = captionTop(vpRight, 30);
    QVERIFY(vnLeftTop > 0 && vnRightTop > 0);
    QTRY_VERIFY(vpLeft->verticalScrollBar()->maximum() > vnLeftTop);

    // Caption 30 shown near the bottom of the left pane, and clicked there.
    const int vnHeight = vpLeft->viewport()->height();
    vpLeft->verticalScrollBar()->setValue(int(vnLeftTop) - vnHeight + 40);
    QTextCursor vCursor(vpLeft->document());
    vCursor.setPosition(captionBlock(vpLeft, 30).position() + 1);
    QSignalSpy vClicks(vpLeft, &TextBrowser::anchorClicked);
    QTest::mouseClick(vpLeft->viewport(), Qt::LeftButton, Qt::NoModifier,
                      vpLeft->cursorRect(vCursor).center());
    QCOMPARE(vClicks.count(), 1);
    QTRY_VERIFY(qAbs(vpLeft->verticalScrollBar()->value() - vnLeftTop) <= 2);
    QTRY_VERIFY(qAbs(vpRight->verticalScrollBar()->value() - vnRightTop) <= 2);

    // And from the right pane, to paragraph 10.
    vCursor = QTextCursor(vpRight->document());
    vpRight->verticalScrollBar()->setValue(int(captionTop(vpRight, 10)));
    vCursor.setPosition(captionBlock(vpRight, 10).position() + 1);
    QTest::mouseClick(vpRight->viewport(), Qt::LeftButton, Qt::NoModifier,
                      vpRight->cursorRect(vCursor).center());
    QTRY_VERIFY(qAbs(vpLeft->verticalScrollBar()->value() - captionTop(vpLeft, 10)) <= 2);
    QTRY_VERIFY(qAbs(vpRight->verticalScrollBar()->value() - captionTop(vpRight, 10)) <= 2);
}

void TestReading::pageKeepsItsOwnLanguage()
{
    // A Russian psalm page stays Russian after the data language changed:
    // its parallel text is converted from the Russian numbering (it used to
    // be converted from the new current language, which found nothing), its
    // own language is the one its menu leaves out, and its verses are
    // placed in its own numbering.
    TabArea *vpPage = openPsalm("Псалом 9", 9);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(vpPage->language(), QString("ru"));
    Application::sharedOptions()->setLanguage("en", SharedOptions::Data);
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpPage->rightView()),
             (QStringList{"1|Psalm 9:1|en 9:1", "2|Psalm 9:2|en 9:2", "21|Psalm 10:1|en 10:1",
                          "22|Psalm 10:2|en 10:2"}));
    emit vpPage->translationMenu()->menu()->aboutToShow();
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(menuState(vpPage), QString("ru:off en:on fr:on"));

    // A sermon page asks for its documents in its own language too.
    TabArea *vpSermon = mpTabs->openTab("Первая печать", {CatalogueTree::ByYear, "ru"});
    emit vpSermon->openQuotesParagraph(vpSermon, 1);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(summary(vpSermon->leftView()).first(),
             QString("1|Первая печать, Джефферсонвилл, Иванов|Первый абзац."));
    QCOMPARE(Application::database()->currentLanguage(), QString("en"));
    Application::sharedOptions()->setLanguage("ru", SharedOptions::Data);
}

void TestReading::indexedAndFullTextStatementsAgree_data()
{
    // 0 sermon paragraphs, 1 chapter verses, 2 verses by book title, 3 parallel chapters.
    QTest::addColumn<int>("statement");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("rows");

    QTest::newRow("paragraphs of a date, inserted out of order")
        << 0 << QVariantList{"70-0202"} << 3;
    QTest::newRow("paragraphs of a further translation") << 0 << QVariantList{"70-0202 *"} << 2;
    QTest::newRow("paragraphs of a date with an apostrophe") << 0 << QVariantList{"70'0303"} << 1;
    QTest::newRow("paragraphs of a missing date") << 0 << QVariantList{"99-9999"} << 0;
    QTest::newRow("verses of a chapter") << 1 << QVariantList{40, 2} << 3;
    QTest::newRow("verses of a book stored as text") << 1 << QVariantList{42, 1} << 1;
    QTest::newRow("verses by book title") << 2 << QVariantList{"Matthew's", 1} << 2;
    QTest::newRow("parallel chapters, several, one without verses")
        << 3 << QVariantList{40, 3, 1, 2} << 6;
    QTest::newRow("parallel chapters, one") << 3 << QVariantList{41, 2} << 1;
}

void TestReading::indexedAndFullTextStatementsAgree()
{
    QFETCH(int, statement);
    QFETCH(QVariantList, values);
    QFETCH(int, rows);

    // Rows go in out of date, book and chapter order, interleaved.
    Database *vpDatabase = Application::database();
    vpDatabase->changeLanguage("fr");
    const QString vsPath = Application::databaseFilePath();
    QVERIFY(vpDatabase->execQuery(QStringList{
        "INSERT INTO paragraphs (id, date, text) VALUES ('E-3', '70-0202', 'c'), "
        "('E-1', '70''0303', 'q'), ('E-1', '70-0202', 'a'), ('E-2', '70-0202 *', 'y'), "
        "('E-1', '70-0202 *', 'x'), ('E-2', '70-0202', 'b');",
        "INSERT INTO bibles (book, name) VALUES (40, 'Matthew''s'), (41, 'Mark');",
        "INSERT INTO chapters (book, chapter, name) VALUES (40, 2, 'Matthew 2'), "
        "(41, 2, 'Mark 2'), (40, 3, 'Matthew 3'), (40, 1, 'Matthew 1');",
        "INSERT INTO verses (book, chapter, verse, text) VALUES (40, 2, 3, 'm2:3'), "
        "(40, 1, 2, 'm1:2'), (40, 2, 1, 'm2:1'), (41, 2, 1, 'k2:1'), (40, 1, 1, 'm1:1'), "
        "(40, 2, 2, 'm2:2'), ('42', 1, 1, 'book as text'), (42, 1, 2, 'book as number');"}));
    vpDatabase->changeLanguage("ru");

    auto run = [&](QSqlDatabase &aConnection, bool abIndexed, QStringList &acRows) {
        const QString vsStatement =
            statement == 0   ? DocumentStatements::sermonParagraphs(abIndexed)
            : statement == 1 ? DocumentStatements::chapterVerses(abIndexed)
            : statement == 2 ? DocumentStatements::chapterVersesByTitle(abIndexed)
                             : DocumentStatements::parallelChapters(abIndexed, values.size() - 1);
        QSqlQuery vQuery(aConnection);
        QVERIFY2(vQuery.prepare(vsStatement), qPrintable(vQuery.lastError().text()));
        for (const QVariant &vValue : qAsConst(values))
            vQuery.addBindValue(vValue);
        QVERIFY2(vQuery.exec(), qPrintable(vQuery.lastError().text()));
        while (vQuery.next()) {
            QStringList vcRow;
            for (int i = 0; i < vQuery.record().count(); ++i)
                vcRow << QString("%1:%2").arg(vQuery.value(i).typeName(),
                                              vQuery.value(i).toString());
            acRows << vcRow.join(" ; ");
        }
    };

    QStringList vcIndexed;
    QStringList vcFullText;
    {
        QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "statements");
        vConnection.setDatabaseName(vsPath);
        QVERIFY(vConnection.open());
        QVERIFY(DocumentStatements::ensureIndexes(vConnection));
        run(vConnection, true, vcIndexed);
        run(vConnection, false, vcFullText);
        vConnection.close();
    }
    QSqlDatabase::removeDatabase("statements");
    QCOMPARE(vcIndexed, vcFullText);
    QCOMPARE(vcIndexed.size(), rows);
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
}

void TestReading::closeTabsWithTitle()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, found);
    QFETCH(QString, close);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, remaining);

    for (const QString &vsTitle : qAsConst(titles)) {
        TabArea *vpPage = mpTabs->openTab(vsTitle);
        if (vsTitle == found)
            mpTabs->setFoundPagesCount(vpPage, 3);
    }
    QCOMPARE(shownTitles(mpTabs.get()), shown);
    const int vnClosed = titles.size() - remaining.size();
    mpTabs->closeTabsWithTitle(close);
    QCOMPARE(mpTabs->count(), remaining.size());
    QCOMPARE(shownTitles(mpTabs.get()), remaining);
    QTRY_COMPARE(mnRetired, vnClosed);
}

QUILLMARK_TEST_MAIN(TestReading)
#include "test_reading.moc"
