// Documents beside their translations, and the language menu that offers them.
#include "support/readingfixture.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "widgets/tabarea.h"
#include "widgets/textbrowser.h"
#include "widgets/translationmenu.h"

#include <QAction>
#include <QMenu>
#include <QTextDocument>
#include <QToolButton>

namespace {

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

} // namespace

class TestParallelTexts : public ReadingFixture
{
    Q_OBJECT

private slots:
    void documentsBesideTheirTranslations_data();
    void documentsBesideTheirTranslations();
    void translationMenuStates_data();
    void translationMenuStates();
};

void TestParallelTexts::documentsBesideTheirTranslations_data()
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

void TestParallelTexts::documentsBesideTheirTranslations()
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

void TestParallelTexts::translationMenuStates_data()
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

void TestParallelTexts::translationMenuStates()
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

QUILLMARK_TEST_MAIN(TestParallelTexts)
#include "test_paralleltexts.moc"
