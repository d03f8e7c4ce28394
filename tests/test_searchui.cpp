// What the search line, the catalogue and the advanced panel send, and the tabs they open.
#include "support/searchwindowfixture.h"

#include "views/treeview.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>

class TestSearchUi : public SearchWindowFixture
{
    Q_OBJECT

private slots:
    void searchLineTexts_data();
    void searchLineTexts();
    void sameTextLeavesOneTab();
    void restrictionFollowsTheCatalogue_data();
    void restrictionFollowsTheCatalogue();
    void advancedPanelSearches_data();
    void advancedPanelSearches();
};

void TestSearchUi::searchLineTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent"); // empty: refused as too short
    QTest::addColumn<QString>("title");

    auto add = [](const char *asName, const QString &asTyped, const QString &asSent,
                  const QString &asTitle) {
        QTest::newRow(asName) << asTyped << asSent << asTitle;
    };
    add("empty", "", "", "");
    add("blanks", "   ", "", "");
    add("control characters only", "\t\x01\x1f", "", "");
    add("apostrophe", "L'homme d'or", "L''homme d''or", "<L'homme d'or>");
    add("control characters dropped", "ма\x01я\tк", csWord, "");
}

void TestSearchUi::searchLineTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, sent);
    QFETCH(QString, title);
    SearchWidget *vpSearch = mpWindow->searchWidget();
    QSignalSpy vSpy(vpSearch, &SearchWidget::searchMessages);
    BoxRecorder vBoxes;
    search(typed);
    if (sent.isEmpty()) {
        QCOMPARE(vBoxes.count(), 1);
        QCOMPARE(vBoxes.requests().first().text, QString("Search text is too short"));
        QCOMPARE(vSpy.count(), 0);
        QCOMPARE(mpWindow->tabWidget()->count(), 0);
        return;
    }
    QCOMPARE(vBoxes.count(), 0);
    QCOMPARE(vSpy.count(), 1);
    QCOMPARE(vSpy.first().at(1).toString(), sent);
    QCOMPARE(mpWindow->tabWidget()->count(), 1);
    if (!title.isEmpty())
        QCOMPARE(mpWindow->tabWidget()->tabText(0), title);
}

void TestSearchUi::sameTextLeavesOneTab()
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    search("слова");
    search(csWord);
    QCOMPARE(vpTabs->count(), 2);
    // Again before the count came back, and again after the title gained it.
    search(csWord);
    QCOMPARE(vpTabs->count(), 2);
    QTRY_COMPARE(vpTabs->tabText(1), QString("<маяк> (found: 45)"));
    search(csWord);
    QCOMPARE(vpTabs->count(), 2);
    QVERIFY(vpTabs->tabText(0).startsWith("<слова>"));
    QCOMPARE(vpTabs->tabText(1), QString("<маяк>"));
    QTRY_COMPARE(vpTabs->tabText(1), QString("<маяк> (found: 45)"));
}

void TestSearchUi::restrictionFollowsTheCatalogue_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QStringList>("checked"); // sermon dates, or chapter names
    QTest::addColumn<QString>("restriction");

    QTest::newRow("sermons, none checked") << false << QStringList{} << "";
    QTest::newRow("sermons, two checked") << false << QStringList{"63-0317", "65-0101"} << "(1,3)";
    QTest::newRow("Bible, none checked") << true << QStringList{} << "";
    QTest::newRow("Bible, second chapter") << true << QStringList{"Бытие 2"} << "(2)";
}

void TestSearchUi::restrictionFollowsTheCatalogue()
{
    QFETCH(bool, bible);
    QFETCH(QStringList, checked);
    TreeView *vpTree = mpWindow->treeView();
    if (bible)
        clickKind("Bible");
    int vnChecked = 0;
    for (QStandardItem *vpItem : TestSupport::catalogueItems(vpTree))
        for (const QString &vsKey : checked)
            if (vpItem->text().contains(vsKey)) {
                vpItem->setCheckState(Qt::Checked);
                ++vnChecked;
            }
    QCOMPARE(vnChecked, checked.size());

    SearchWidget *vpSearch = mpWindow->searchWidget();
    QSignalSpy vSermons(vpSearch, &SearchWidget::searchMessages);
    QSignalSpy vBible(vpSearch, &SearchWidget::searchBible);
    search(csWord);
    QCOMPARE(vSermons.count(), bible ? 0 : 1);
    QCOMPARE(vBible.count(), bible ? 1 : 0);
    const QList<QVariant> vcArgs = bible ? vBible.first() : vSermons.first();
    QTEST(vcArgs.at(2).toString(), "restriction");
    QCOMPARE(vcArgs.at(4).toInt(), 0);
    // The Bible hit of the checked chapter, or of both.
    if (bible) {
        auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->widget(0));
        QTRY_COMPARE(mpWindow->tabWidget()->tabText(0),
                     QString("<маяк> (found: %1)").arg(checked.isEmpty() ? 2 : 1));
        QTRY_COMPARE(vpPage->articles().size(), checked.isEmpty() ? 2 : 1);
        for (const ArticleRecord &vRecord : vpPage->articles())
            QVERIFY(checked.isEmpty() || vRecord.msExtra2 == "2");
    }
}

void TestSearchUi::advancedPanelSearches_data()
{
    QTest::addColumn<int>("option"); // -1: none chosen
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("found");

    // Every search of the window takes е and ё as one unless the settings say not.
    QTest::newRow("no option") << -1 << "Маяк" << 64 << 45;
    QTest::newRow("case-sensitive") << 0 << "Маяк" << 65 << 9;
    QTest::newRow("exact phrase, other order") << 2 << "маяк про" << 68 << 0;
    QTest::newRow("exact phrase") << 2 << "про маяк" << 68 << 36;
    // The last option promises hits with at least one of the words (it used to
    // require all of them, like no option): every paragraph with either word.
    QTest::newRow("any word") << 3 << "маяк про" << 72 << 45;
}

void TestSearchUi::advancedPanelSearches()
{
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(int, found);
    SearchWidget *vpSearch = mpWindow->searchWidget();
    QWidget *vpPanel = mpWindow->advancedPanel();
    QVERIFY(!vpPanel->isVisible());
    vpSearch->advancedButton()->click();
    QVERIFY(vpPanel->isVisible());
    QVERIFY(mpWindow->rect().contains(vpPanel->geometry()));

    vpSearch->lineEdit()->setText(text);
    if (option >= 0)
        mpWindow->advancedOptions().at(option)->setChecked(true);
    QSignalSpy vSpy(vpSearch, &SearchWidget::searchMessages);
    vpPanel->findChild<QPushButton *>()->click();
    QVERIFY(!vpPanel->isVisible());
    QCOMPARE(vSpy.count(), 1);
    QCOMPARE(int(vSpy.first().at(3).value<AdvancedSearchFlags>()), flags);

    TabWidget *vpTabs = mpWindow->tabWidget();
    QCOMPARE(vpTabs->count(), 1);
    QTRY_COMPARE(vpTabs->tabText(0), QString("<%1> (found: %2)").arg(text).arg(found));
    auto *vpPage = qobject_cast<TabArea *>(vpTabs->widget(0));
    QTRY_COMPARE(vpPage->articles().size(), qMin(found, 20));
    if (flags == 1)
        for (const ArticleRecord &vRecord : vpPage->articles())
            QVERIFY2(vRecord.msLeftText.contains(text), qPrintable(vRecord.msLeftText));
}

QUILLMARK_TEST_MAIN(TestSearchUi)
#include "test_searchui.moc"
