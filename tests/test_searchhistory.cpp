// The searches the reader typed: kept newest first in the settings file,
// once each and at most fifty, completed from in the search line of the next
// window, and the advanced panel's option chosen again; the standing choices
// of word forms and of е and ё as one letter, from the panel and the settings
// to what the window finds and marks.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/searchhistory.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "widgets/mainwindow.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"

#include <QCheckBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStringListModel>

class TestSearchHistory : public QObject
{
    Q_OBJECT

private slots:
    void keptOnceNewestFirst();
    void nextWindowCompletesAndChoosesTheOption();
    void wordFormsAndYoInTheWindow();
};

void TestSearchHistory::keptOnceNewestFirst()
{
    TempAppDir vApp({{"SearchHistory", QStringList{"старое", "", "старое", "второе"}}});
    SearchHistory vHistory(Application::settings());
    // A list edited by hand loses its blanks and repeats.
    QCOMPARE(vHistory.entries(), (QStringList{"старое", "второе"}));
    vHistory.remember("  маяк ");
    vHistory.remember("   ");
    vHistory.remember("второе");
    QCOMPARE(vHistory.entries(), (QStringList{"второе", "маяк", "старое"}));
    QCOMPARE(Application::settings()->value("SearchHistory").toStringList(), vHistory.entries());

    for (int i = 1; i <= 60; ++i)
        vHistory.remember(QString("слово %1").arg(i));
    Application::settings()->sync();
    // What another reader of the file sees: the fifty newest.
    QSettings vFile(Application::settingsFilePath(), QSettings::IniFormat);
    vFile.setIniCodec("UTF-8");
    const QStringList vcStored = vFile.value("SearchHistory").toStringList();
    QCOMPARE(vcStored.size(), SearchHistory::cnLimit);
    QCOMPARE(vcStored.first(), QString("слово 60"));
    QCOMPARE(vcStored.last(), QString("слово 11"));
}

void TestSearchHistory::nextWindowCompletesAndChoosesTheOption()
{
    TempAppDir vApp({{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}});
    QVERIFY(Application::database()->execQuery(
        TestSupport::sermonStatements("47-0412", "Маяк", {"Маяк светит.", "Свет маяка."})));
    {
        std::unique_ptr<MainWindow> vpWindow = TestSupport::shownWindow();
        QVERIFY(vpWindow);
        QLineEdit *vpLine = vpWindow->searchWidget()->lineEdit();
        for (const char *vsText : {"маяк", "свет", "маяк светит"}) {
            vpLine->setText(vsText);
            QTest::keyClick(vpLine, Qt::Key_Return);
        }
        // The last search with an option of the advanced panel.
        vpWindow->advancedOptions().at(2)->setChecked(true);
        vpLine->setText("свет маяка");
        vpWindow->advancedPanel()->findChild<QPushButton *>()->click();
        QVERIFY(TestSupport::settle());
        QCOMPARE(vpWindow->searchWidget()->history()->stringList(),
                 (QStringList{"свет маяка", "маяк светит", "свет", "маяк"}));
    }
    QVERIFY(TestSupport::roundTrip());

    std::unique_ptr<MainWindow> vpWindow = TestSupport::shownWindow();
    QVERIFY(vpWindow);
    QCompleter *vpCompleter = vpWindow->searchWidget()->lineEdit()->completer();
    QVERIFY(vpCompleter);
    vpCompleter->setCompletionPrefix("МА");
    QStringList vcOffered;
    for (int i = 0; vpCompleter->setCurrentRow(i); ++i)
        vcOffered << vpCompleter->currentCompletion();
    QCOMPARE(vcOffered, (QStringList{"маяк светит", "маяк"}));
    QVERIFY(vpWindow->advancedOptions().at(2)->isChecked());
    // A plain search leaves the remembered option as it is.
    vpWindow->searchWidget()->lineEdit()->setText("маяк");
    vpWindow->searchWidget()->search();
    QCOMPARE(Application::settings()->value("SearchOption").toInt(), 2);
}

void TestSearchHistory::wordFormsAndYoInTheWindow()
{
    TempAppDir vApp({{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}});
    QVERIFY(Application::database()->execQuery(TestSupport::sermonStatements(
        "47-0412", "Маяк", {"Маяк светит.", "Светили маяки ещё долго.", "Еще один свет."})));
    // The title of the search's page once the hits are counted.
    const auto found = [](MainWindow &aWindow, const QString &asText) {
        aWindow.searchWidget()->lineEdit()->setText(asText);
        aWindow.searchWidget()->search();
        TabWidget *vpTabs = aWindow.tabWidget();
        if (!QTest::qWaitFor(
                [&] { return vpTabs->tabText(vpTabs->currentIndex()).contains("found"); }))
            return QString("not counted");
        return vpTabs->tabText(vpTabs->currentIndex());
    };
    {
        std::unique_ptr<MainWindow> vpWindow = TestSupport::shownWindow();
        QVERIFY(vpWindow);
        QCOMPARE(found(*vpWindow, "светит"), QString("<светит> (found: 1)"));
        QCOMPARE(found(*vpWindow, "ещё"), QString("<ещё> (found: 2)"));
        vpWindow->wordFormsOption()->setChecked(true);
        // The stem "свет" finds every form, and the hits mark the whole words.
        QCOMPARE(found(*vpWindow, "светит"), QString("<светит> (found: 3)"));
        auto *vpPage = qobject_cast<TabArea *>(vpWindow->tabWidget()->currentWidget());
        QTRY_VERIFY(
            vpPage->leftView()->toHtml().contains("background-color:#ffff00;\">Светили</span>"));
    }
    // The tool finds what the window found, under the same settings.
    const auto toolHits = [&vApp](const QStringList &acArguments) {
        QStringList vcParagraphs;
        const TestSupport::ProgramRun vRun = TestSupport::runProgram(
            QUILLMARK_CLI, QStringList{"search", "--app-dir", vApp.path()} + acArguments);
        for (const QStringList &vcHit : vRun.rows("hit"))
            vcParagraphs << vcHit.value(1);
        return vcParagraphs.join(' ');
    };
    QCOMPARE(toolHits({"--word-forms", "светит"}), QString("1 2 3"));
    QCOMPARE(toolHits({"светит"}), QString("1"));
    QCOMPARE(toolHits({"ещё"}), QString("2 3"));
    QCOMPARE(toolHits({"--strict-yo", "ещё"}), QString("2"));
    QVERIFY(TestSupport::roundTrip());
    Application::sharedOptions()->setYoAlike(false);
    std::unique_ptr<MainWindow> vpWindow = TestSupport::shownWindow();
    QVERIFY(vpWindow);
    QVERIFY(vpWindow->wordFormsOption()->isChecked());
    QCOMPARE(found(*vpWindow, "ещё"), QString("<ещё> (found: 1)"));
}

QUILLMARK_TEST_MAIN(TestSearchHistory)
#include "test_searchhistory.moc"
