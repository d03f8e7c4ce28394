// The window without a mouse: the window's keys, the Tab walk through the
// tool bars and a page, and the names assistive tools read out for every
// control of the window, a page with its translation and player, and the
// dialogs.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/helpdialog.h"
#include "widgets/mainwindow.h"
#include "widgets/navigationwidget.h"
#include "widgets/pageactions.h"
#include "widgets/player.h"
#include "widgets/searchwidget.h"
#include "widgets/settingsdialog.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"
#include "widgets/updatedialog.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

namespace {

// Five paragraphs of the first sermon hold the word: three result pages of two.
QStringList corpus(const QStringList &acParagraphs)
{
    return TestSupport::sermonStatements("47-0412", "Faith", acParagraphs, "Tr", "Town", 1,
                                         "47-0412.mp3") +
           TestSupport::sermonStatements("48-0101", "Plain", {"Без слова."}, "Tr", "Town", 2, "-");
}

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},  {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},   {"DBLangName2", "En"},
            {"ParagraphCount", 2},  {"Converter", true}, {"ShowDuplicates", true}};
}

// What assistive tools treat as something to operate, and so must name.
const QSet<QAccessible::Role> ccInteractive{
    QAccessible::PushButton, QAccessible::CheckBox,       QAccessible::RadioButton,
    QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::ButtonDropGrid,
    QAccessible::ComboBox,   QAccessible::EditableText,   QAccessible::Slider,
    QAccessible::SpinBox,    QAccessible::Dial,           QAccessible::PageTabList,
    QAccessible::PageTab,    QAccessible::Tree,           QAccessible::List,
    QAccessible::Table};

// The interactive controls on show in a top-level widget (with the tabs of
// its tab bars), and those of them without a name.
struct Walk
{
    QSet<QAccessibleInterface *> mcChecked;
    QStringList mcUnnamed;

    void check(QAccessibleInterface *apInterface)
    {
        if (!apInterface || !ccInteractive.contains(apInterface->role()) ||
            apInterface->state().invisible || mcChecked.contains(apInterface))
            return;
        mcChecked.insert(apInterface);
        if (apInterface->text(QAccessible::Name).trimmed().isEmpty())
            mcUnnamed << QString("%1 \"%2\" (role %3)")
                             .arg(apInterface->object()->metaObject()->className(),
                                  apInterface->object()->objectName())
                             .arg(apInterface->role(), 0, 16);
    }

    void run(QWidget *apTop)
    {
        QList<QWidget *> vcWidgets = apTop->findChildren<QWidget *>();
        vcWidgets.prepend(apTop);
        for (QWidget *vpWidget : vcWidgets) {
            if (vpWidget->window() != apTop || !vpWidget->isVisible())
                continue;
            QAccessibleInterface *vpInterface = QAccessible::queryAccessibleInterface(vpWidget);
            check(vpInterface);
            if (vpInterface && vpInterface->role() == QAccessible::PageTabList)
                for (int i = 0; i < vpInterface->childCount(); ++i)
                    check(vpInterface->child(i));
        }
    }
};

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowKeys_data();
    void windowKeys();
    void helpAndQuit();
    void tabWalk();
    void accessibleNames_data();
    void accessibleNames();

private:
    TabArea *openSermon(const QString &asName);
    TabArea *currentPage() const;
    void press(const QString &asKeys);
    QString state() const;

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<MainWindow> mpWindow;
};

void TestKeyboard::init()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(
        vpDatabase->execQuery(corpus({"Абзац 1 про маяк.", "Абзац 2 про маяк.", "Абзац 3 про маяк.",
                                      "Абзац 4 про маяк.", "Абзац 5 про маяк.", "Конец."})));
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(corpus({"One.", "Two.", "Three.", "Four.", "Five.", "End."})));
    vpDatabase->changeLanguage("ru");
    QVERIFY(TestSupport::writeFile(Application::assetPath() + "/ru/47-0412.mp3", "not audio"));
    mpWindow = TestSupport::shownWindow();
    QVERIFY(mpWindow);
}

void TestKeyboard::cleanup()
{
    mpWindow.reset();
    QVERIFY(TestSupport::roundTrip());
    mpApp.reset();
}

TabArea *TestKeyboard::openSermon(const QString &asName)
{
    const QStandardItemModel *vpModel = mpWindow->treeView()->itemModel();
    for (QStandardItem *vpItem : TestSupport::catalogueItems(mpWindow->treeView()))
        if (vpItem->text().startsWith(asName))
            mpWindow->treeView()->itemDoubleClicked(vpModel->indexFromItem(vpItem));
    return TestSupport::settle() ? currentPage() : nullptr;
}

TabArea *TestKeyboard::currentPage() const
{
    return qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
}

// As the keyboard sends them: Shift turns Tab into Backtab.
void TestKeyboard::press(const QString &asKeys)
{
    for (const QString &vsKey : asKeys.split(", ", Qt::SkipEmptyParts)) {
        const int vnCombined = QKeySequence(vsKey)[0];
        const auto vModifiers = Qt::KeyboardModifiers(vnCombined & Qt::KeyboardModifierMask);
        auto vKey = Qt::Key(vnCombined & ~Qt::KeyboardModifierMask);
        if (vKey == Qt::Key_Tab && vModifiers & Qt::ShiftModifier)
            vKey = Qt::Key_Backtab;
        QTest::keyClick(mpWindow.get(), vKey, vModifiers);
        QVERIFY(TestSupport::settle());
    }
}

// The current tab and the tab count, the result page shown and where the
// keyboard is.
QString TestKeyboard::state() const
{
    const TabWidget *vpTabs = mpWindow->tabWidget();
    QString vsState = QString("tab %1/%2").arg(vpTabs->currentIndex()).arg(vpTabs->count());
    const TabArea *vpPage = currentPage();
    if (vpPage && !vpPage->searchText().isEmpty())
        vsState += QString(", page %1 of %2, \"%3\"")
                       .arg(vpPage->navigationWidget()->currentPage())
                       .arg(vpPage->navigationWidget()->pagesCount())
                       .arg(vpPage->navigationWidget()->labelText());
    const QLineEdit *vpLine = mpWindow->searchWidget()->lineEdit();
    if (vpLine->hasFocus())
        vsState += ", search line: " + vpLine->selectedText();
    return vsState;
}

void TestKeyboard::windowKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("state");
    // Three tabs: the sermons Faith and Plain, then the search, on show.
    const QString vsPage1 = ", page 1 of 3, \"1 from 3\"";
    QTest::newRow("none") << ""
                          << "tab 2/3" + vsPage1;
    QTest::newRow("next wraps") << "Ctrl+Tab"
                                << "tab 0/3";
    QTest::newRow("next") << "Ctrl+Tab, Ctrl+Tab"
                          << "tab 1/3";
    QTest::newRow("previous") << "Ctrl+Shift+Tab"
                              << "tab 1/3";
    QTest::newRow("previous wraps") << "Ctrl+Tab, Ctrl+Shift+Tab"
                                    << "tab 2/3" + vsPage1;
    QTest::newRow("close") << "Ctrl+W"
                           << "tab 1/2";
    QTest::newRow("close the last") << "Ctrl+W, Ctrl+W, Ctrl+W, Ctrl+W"
                                    << "tab -1/0";
    QTest::newRow("forward") << "Alt+Right"
                             << "tab 2/3, page 2 of 3, \"2 from 3\"";
    QTest::newRow("forward at the end") << "Alt+Right, Alt+Right, Alt+Right"
                                        << "tab 2/3, page 3 of 3, \"3 from 3\"";
    QTest::newRow("back at the start") << "Alt+Left"
                                       << "tab 2/3" + vsPage1;
    QTest::newRow("forward and back") << "Alt+Right, Alt+Right, Alt+Left"
                                      << "tab 2/3, page 2 of 3, \"2 from 3\"";
    QTest::newRow("paging a document") << "Ctrl+Tab, Alt+Right, Alt+Left"
                                       << "tab 0/3";
    QTest::newRow("find") << "Ctrl+Tab, Ctrl+F"
                          << "tab 0/3, search line: маяк";
}

void TestKeyboard::windowKeys()
{
    QFETCH(QString, keys);
    QVERIFY(openSermon("Faith"));
    QVERIFY(openSermon("Plain"));
    mpWindow->searchWidget()->lineEdit()->setText("маяк");
    mpWindow->searchWidget()->search();
    QVERIFY(TestSupport::settle());
    currentPage()->leftView()->setFocus();
    const QString vsFirstHits = currentPage()->leftView()->toPlainText();
    press(keys);
    QTEST(state(), "state");
    // A page forward shows other hits.
    if (keys.startsWith("Alt+Right"))
        QVERIFY(currentPage()->leftView()->toPlainText() != vsFirstHits);
    QCOMPARE(mpWindow->tabWidget()->coverVisible(), mpWindow->tabWidget()->count() == 0);
}

void TestKeyboard::helpAndQuit()
{
    press("F1");
    auto *vpHelp = mpWindow->findChild<HelpDialog *>();
    QVERIFY(vpHelp && vpHelp->isVisible());
    vpHelp->close();
    QTRY_VERIFY(!mpWindow->findChild<HelpDialog *>());
    QApplication::setActiveWindow(mpWindow.get());
    QVERIFY(QTest::qWaitForWindowActive(mpWindow.get()));
    press("Ctrl+Q");
    QVERIFY(!mpWindow->isVisible());
}

void TestKeyboard::tabWalk()
{
    QVERIFY(openSermon("Faith"));
    QWidget *vpStart = mpWindow->searchWidget()->lineEdit();
    vpStart->setFocus(Qt::TabFocusReason);
    QStringList vcWalk;
    for (int i = 0; i < 200 && (vcWalk.isEmpty() || QApplication::focusWidget() != vpStart); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString vsName = QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                                   ->text(QAccessible::Name);
        // A view walks through its links before it lets go.
        if (vcWalk.isEmpty() || vcWalk.last() != vsName)
            vcWalk << vsName;
    }
    // From the search line round the window and back to it: its buttons, the
    // tree's tools, the tree, the tabs, the page's tools and text, the
    // catalogue's tools.
    QCOMPARE(vcWalk.join(", "),
             QString("Search, Advanced search, Hide tree, Check all, Uncheck all, Check inverse, "
                     "Expand, Show duplicates, Export, Delete, Catalogue, Faith (47-0412), Copy, "
                     "Select all, Print, Save, Hide Caption, Translation, Share, Download pdf, "
                     "Play the recording, Text, Language selection, Messages by Year, Messages by "
                     "Name, Bible, Show duplicates, Search text"));
}

void TestKeyboard::accessibleNames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("minimum"); // interactive controls at least
    QTest::newRow("main window, page, translation and player") << "main" << 30;
    QTest::newRow("settings") << "settings" << 15;
    QTest::newRow("update") << "update" << 3;
}

void TestKeyboard::accessibleNames()
{
    QFETCH(QString, window);
    QFETCH(int, minimum);
    Walk vWalk;
    if (window == "main") {
        TabArea *vpPage = openSermon("Faith");
        QVERIFY(vpPage);
        vpPage->openTranslation("en", QString());
        vpPage->findChild<QToolButton *>("mp3Button")->click();
        mpWindow->searchWidget()->advancedButton()->setChecked(true);
        QVERIFY(TestSupport::settle());
        QVERIFY(vpPage->rightView()->isVisible());
        QVERIFY(vpPage->actions()->player() && vpPage->actions()->player()->isVisible());
        vWalk.run(mpWindow.get());
    } else if (window == "settings") {
        mpWindow->findChild<QAction *>("settingsAction")->trigger();
        auto *vpDialog = mpWindow->findChild<SettingsDialog *>();
        QVERIFY(vpDialog && QTest::qWaitForWindowExposed(vpDialog));
        // Every page of the dialog in turn.
        auto *vpTabs = vpDialog->findChild<QTabWidget *>();
        for (int i = 0; i < vpTabs->count(); ++i) {
            vpTabs->setCurrentIndex(i);
            vWalk.run(vpDialog);
        }
        vpDialog->reject();
    } else {
        UpdateDialog vDialog(mpWindow.get());
        vDialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&vDialog));
        vWalk.run(&vDialog);
    }
    QVERIFY2(vWalk.mcUnnamed.isEmpty(), qPrintable(vWalk.mcUnnamed.join('\n')));
    QVERIFY2(vWalk.mcChecked.size() >= minimum,
             qPrintable(QString::number(vWalk.mcChecked.size())));
    qInfo() << window << "interactive controls checked:" << vWalk.mcChecked.size();
}

QUILLMARK_TEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
