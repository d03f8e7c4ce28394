// The main window as the user meets it: its tool bars, menus and tree, the
// layout kept across windows, and the help dialog.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/helpdialog.h"
#include "widgets/mainwindow.h"
#include "widgets/toolbar.h"

#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>

#include <QScopeGuard>

#include <memory>

namespace {

// What a guide is made of: its sections' anchors, or the pictures it shows.
QStringList guideParts(const QString &asFolder, const QString &asPattern)
{
    QFile vFile(asFolder + "/index.html");
    if (!vFile.open(QIODevice::ReadOnly))
        return {};
    QStringList vcParts;
    auto vMatches = QRegularExpression(asPattern).globalMatch(QString::fromUtf8(vFile.readAll()));
    while (vMatches.hasNext())
        vcParts << vMatches.next().captured(1);
    return vcParts;
}

QVariantMap settings(const QVariantMap &acMore = {})
{
    QVariantMap vcSettings{{"DataLanguage", "ru"}, {"Language", "en"},
                           {"DBLang1", "ru"},      {"DBLangName1", "Русский"},
                           {"DBLang2", "en"},      {"DBLangName2", "English"},
                           {"INLang1", "ru"},      {"INLangName1", "Русский"},
                           {"INLang2", "en"},      {"INLangName2", "English"}};
    for (auto it = acMore.cbegin(); it != acMore.cend(); ++it)
        vcSettings.insert(it.key(), it.value());
    return vcSettings;
}

// A Russian catalogue with one further translation and an English one.
void fillCatalogues()
{
    Database *vpDatabase = Application::database();
    QVERIFY(
        vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Вера") +
                              TestSupport::sermonStatements("47-0412 *", "Вера снова") +
                              QStringList{"INSERT INTO bibles (book, name) VALUES (1, 'Бытие');"}));
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Faith") +
                                  TestSupport::sermonStatements("63-0318", "Seals")));
    vpDatabase->changeLanguage("ru");
}

using TestSupport::catalogueOutline;

// The actions' texts, or with abNames their object names.
QStringList texts(const QList<QAction *> &acActions, bool abNames = false)
{
    QStringList vcTexts;
    for (const QAction *vpAction : acActions)
        vcTexts << (abNames ? vpAction->objectName() : vpAction->text());
    return vcTexts;
}

QToolButton *kindButton(const MainWindow &aWindow, const QString &asToolTip)
{
    for (QToolButton *vpButton : aWindow.toolBar()->findChildren<QToolButton *>())
        if (vpButton->toolTip() == asToolTip)
            return vpButton;
    return nullptr;
}

QMenu *languageSubmenu(const MainWindow &aWindow, const QString &asTitle)
{
    for (const QAction *vpTop : aWindow.menuBar()->actions())
        if (vpTop->menu() && vpTop->menu()->title() == "Language")
            for (const QAction *vpSub : vpTop->menu()->actions())
                if (vpSub->menu() && vpSub->menu()->title() == asTitle)
                    return vpSub->menu();
    return nullptr;
}

bool showsFlag(const QIcon &aIcon, const QString &asCode)
{
    const QImage vFlag = QIcon(":/i18n/" + asCode + ".png").pixmap(16, 11).toImage();
    return !vFlag.isNull() && aIcon.pixmap(16, 11).toImage() == vFlag;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void constructionAndLanguageMenus_data();
    void constructionAndLanguageMenus();
    void dataLanguageSwitch_data();
    void dataLanguageSwitch();
    void duplicatesToggle_data();
    void duplicatesToggle();
    void layoutIsKeptAcrossWindows();
    void helpDialog_data();
    void helpDialog();
    void guideInTheInterfaceLanguage_data();
    void guideInTheInterfaceLanguage();
    void guidesMatchTheEnglishOne_data();
    void guidesMatchTheEnglishOne();

private:
    // A window in a fresh application folder with the settings above (and
    // more), over the two catalogues when asked.
    MainWindow &newWindow(const QVariantMap &acMore = {}, bool abCatalogues = true);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<MainWindow> mpWindow;
};

void TestMainWindow::initTestCase()
{
    // What the application object sets up at start.
    QCoreApplication::setApplicationVersion(QUILLMARK_VERSION);
    QCoreApplication::setOrganizationDomain("quillmark.example.org");
}

MainWindow &TestMainWindow::newWindow(const QVariantMap &acMore, bool abCatalogues)
{
    mpWindow.reset();
    mpApp = std::make_unique<TempAppDir>(settings(acMore));
    if (abCatalogues)
        fillCatalogues();
    mpWindow = std::make_unique<MainWindow>();
    // The catalogue and its counts come from the data store's thread.
    if (!TestSupport::settle())
        qWarning("the window's catalogue did not arrive");
    return *mpWindow;
}

void TestMainWindow::cleanup()
{
    mpWindow.reset();
    mpApp.reset();
}

void TestMainWindow::constructionAndLanguageMenus_data()
{
    QTest::addColumn<QVariantMap>("more");
    QTest::addColumn<QStringList>("treeActions");
    QTest::addColumn<QStringList>("databaseActions");
    QTest::addColumn<QStringList>("databaseTexts");
    QTest::addColumn<QStringList>("toolBarMenu");

    const QStringList vcReader{"Hide tree",     "Check all", "Uncheck all",
                               "Check inverse", "Expand",    "Show duplicates"};
    QTest::newRow("reader, two languages")
        << QVariantMap() << vcReader << QStringList{"DBLang_ru", "DBLang_en"}
        << QStringList{"Русский", "English"} << QStringList{"English"};
    // The list ends at the first empty key.
    QTest::newRow("converter, first key empty") << QVariantMap{{"DBLang1", ""}, {"Converter", true}}
                                                << vcReader + QStringList{"Export", "Delete"}
                                                << QStringList() << QStringList() << QStringList();
}

void TestMainWindow::constructionAndLanguageMenus()
{
    QFETCH(QVariantMap, more);
    MainWindow &vWindow = newWindow(more, false);
    // The tree's commands on the side tool bar, the tree beside the tabs.
    auto *vpSide = vWindow.findChild<QToolBar *>("vpTreeToolBar");
    QVERIFY(vpSide);
    QTEST(texts(vpSide->actions()), "treeActions");
    QCOMPARE(vWindow.findChild<QSplitter *>("vpSplitter")->widget(0), vWindow.treeView());

    QMenu *vpDatabase = languageSubmenu(vWindow, "Database");
    QVERIFY(vpDatabase);
    QTEST(texts(vpDatabase->actions(), true), "databaseActions");
    QTEST(texts(vpDatabase->actions()), "databaseTexts");
    for (const QAction *vpAction : vpDatabase->actions())
        QVERIFY2(showsFlag(vpAction->icon(), vpAction->objectName().section('_', 1)),
                 qPrintable(vpAction->objectName()));
    QMenu *vpInterface = languageSubmenu(vWindow, "Interface");
    QVERIFY(vpInterface);
    QCOMPARE(texts(vpInterface->actions(), true), (QStringList{"INLang_ru", "INLang_en"}));

    // The tool bar offers every configured language but the open one.
    QToolButton *vpButton = vWindow.toolBar()->languageButton();
    QTEST(texts(vpButton->menu()->actions()), "toolBarMenu");
    QVERIFY(showsFlag(vpButton->icon(), "ru"));

    // Another interface language is stored and announced; the texts stay as
    // they are until the next start, and the data stays.
    BoxRecorder vBoxes;
    vWindow.findChild<QAction *>("INLang_ru")->trigger();
    QCOMPARE(Application::settings()->value("Language").toString(), QString("ru"));
    QCOMPARE(vBoxes.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(vWindow.treeView()->checkAllAction()->text(), QString("Check all"));
    QCOMPARE(Application::database()->currentLanguage(), QString("ru"));
}

void TestMainWindow::dataLanguageSwitch_data()
{
    QTest::addColumn<bool>("fromToolBar");
    QTest::newRow("tool bar menu") << true;
    QTest::newRow("window menu") << false;
}

void TestMainWindow::dataLanguageSwitch()
{
    QFETCH(bool, fromToolBar);
    MainWindow &vWindow = newWindow();
    // A hidden tree stays hidden while its catalogue changes kind and language.
    vWindow.show();
    QAction *vpHide = vWindow.toolBar()->hideTreeAction();
    vpHide->trigger();
    QCOMPARE(vpHide->text(), QString("Show tree"));
    // A further translation counts among all sermons only.
    QCOMPARE(vWindow.sermonCountLabel()->text(), QString("Sermons total: 1 / 2"));
    kindButton(vWindow, "Messages by Name")->click();
    QVERIFY(TestSupport::settle());
    QCOMPARE(vWindow.treeView()->kind(), 1);
    QCOMPARE(catalogueOutline(*vWindow.treeView()),
             QStringList{"В  [1]: Вера (47-0412) [1], Вера снова (47-0412 *) [2] /i"});

    QToolButton *vpButton = vWindow.toolBar()->languageButton();
    if (fromToolBar)
        vpButton->menu()->actions().first()->trigger();
    else
        vWindow.findChild<QAction *>("DBLang_en")->trigger();
    QVERIFY(TestSupport::settle());

    QCOMPARE(Application::database()->currentLanguage(), QString("en"));
    QCOMPARE(Application::sharedOptions()->dataLanguage(), QString("en"));
    QCOMPARE(Application::settings()->value("DataLanguage").toString(), QString("en"));
    // The catalogue of the same kind, now in English.
    QCOMPARE(vWindow.treeView()->kind(), 1);
    QCOMPARE(catalogueOutline(*vWindow.treeView()),
             (QStringList{"F  [1]: Faith (47-0412) [1]", "S  [2]: Seals (63-0318) [2]"}));
    QCOMPARE(vWindow.sermonCountLabel()->text(), QString("Sermons total: 2 / 2"));
    QCOMPARE(texts(vpButton->menu()->actions(), true), QStringList{"btn_ru"});
    QCOMPARE(texts(vpButton->menu()->actions()), QStringList{"Русский"});
    QVERIFY(showsFlag(vpButton->icon(), "en"));
    QVERIFY(!vWindow.treeView()->isVisible());
    vpHide->trigger();
    QVERIFY(vWindow.treeView()->isVisible());
    QCOMPARE(vpHide->text(), QString("Hide tree"));
}

void TestMainWindow::duplicatesToggle_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("shown at start") << true;
    QTest::newRow("hidden at start") << false;
}

void TestMainWindow::duplicatesToggle()
{
    QFETCH(bool, stored);
    // The window starts with the sermons by year.
    MainWindow &vWindow = newWindow({{"ShowDuplicates", stored}});
    QCOMPARE(vWindow.treeView()->kind(), 0);
    const QString vsFirst = "Вера (47-0412) [1]";
    const QString vsAll = vsFirst + ", Вера снова (47-0412 *) [2] /i";
    QAction *vpDuplicates = vWindow.toolBar()->duplicatesAction();
    QCOMPARE(vpDuplicates->isChecked(), stored);
    QCOMPARE(catalogueOutline(*vWindow.treeView()),
             QStringList{"1947 [1]: " + (stored ? vsAll : vsFirst)});

    kindButton(vWindow, "Bible")->click();
    QVERIFY(TestSupport::settle());
    QCOMPARE(catalogueOutline(*vWindow.treeView()), QStringList{"Бытие [001]"});
    QSignalSpy vKinds(vWindow.treeView(), &TreeView::kindChanged);
    vpDuplicates->trigger();
    QVERIFY(TestSupport::settle());
    QCOMPARE(vpDuplicates->isChecked(), !stored);
    QCOMPARE(Application::settings()->value("ShowDuplicates").toBool(), !stored);
    // One fill, by year, whichever kind was shown.
    QCOMPARE(vKinds.size(), 1);
    QCOMPARE(vKinds.first().first().toInt(), 0);
    QVERIFY(kindButton(vWindow, "Messages by Year")->isChecked());
    QVERIFY(!kindButton(vWindow, "Bible")->isChecked());
    QCOMPARE(catalogueOutline(*vWindow.treeView()),
             QStringList{"1947 [1]: " + (stored ? vsFirst : vsAll)});
    kindButton(vWindow, "Messages by Name")->click();
    QVERIFY(TestSupport::settle());
    QCOMPARE(catalogueOutline(*vWindow.treeView()),
             QStringList{"В  [1]: " + (stored ? vsFirst : vsAll)});
}

void TestMainWindow::layoutIsKeptAcrossWindows()
{
    auto treeBarArea = [](MainWindow &aWindow) {
        return aWindow.toolBarArea(aWindow.findChild<QToolBar *>("vpTreeToolBar"));
    };
    MainWindow &vFirst = newWindow({}, false);
    QCOMPARE(treeBarArea(vFirst), Qt::LeftToolBarArea);
    vFirst.addToolBar(Qt::RightToolBarArea, vFirst.findChild<QToolBar *>("vpTreeToolBar"));
    mpWindow.reset();
    // The layout is saved when the window goes (the program now destroys its
    // window at quit; the layout used to be lost), as the settings file keeps
    // bytes; the Base64 text of earlier builds is still read.
    QSettings *vpSettings = Application::settings();
    vpSettings->sync();
    QFile vFile(vpSettings->fileName());
    QVERIFY(vFile.open(QIODevice::ReadOnly));
    QVERIFY(vFile.readAll().contains("mainWindowState=@ByteArray("));
    const QByteArray vState = vpSettings->value("mainWindowState").toByteArray();
    for (const QVariant &vStored : {QVariant(vState), QVariant(QString(vState.toBase64()))}) {
        vpSettings->setValue("mainWindowState", vStored);
        MainWindow vWindow;
        QCOMPARE(treeBarArea(vWindow), Qt::RightToolBarArea);
    }
    // A state that cannot be read leaves the default layout.
    Application::settings()->setValue("mainWindowState", "not a state");
    MainWindow vWindow;
    QCOMPARE(treeBarArea(vWindow), Qt::LeftToolBarArea);
}

void TestMainWindow::helpDialog_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("never updated") << QString() << QDate::currentDate().toString("yyyy-MM-dd");
    QTest::newRow("updated before") << "2021-03-04" << QString("2021-03-04");
}

void TestMainWindow::helpDialog()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    MainWindow &vWindow = newWindow(
        stored.isEmpty() ? QVariantMap() : QVariantMap{{"DatabaseLastUpdated", stored}}, false);
    QAction *vpHelp = vWindow.findChild<QAction *>("helpAction");
    vpHelp->trigger();
    vpHelp->trigger();
    const QList<HelpDialog *> vcDialogs = vWindow.findChildren<HelpDialog *>();
    QCOMPARE(vcDialogs.size(), 2);
    HelpDialog *vpDialog = vcDialogs.first();
    QVERIFY(!vpDialog->isModal());
    QVERIFY(QTest::qWaitForWindowExposed(vpDialog));

    QLabel *vpVersion = nullptr;
    QLabel *vpLink = nullptr;
    for (QLabel *vpLabel : vpDialog->findChildren<QLabel *>()) {
        if (vpLabel->text().startsWith("Version:"))
            vpVersion = vpLabel;
        else if (vpLabel->text().contains("<a href"))
            vpLink = vpLabel;
    }
    QVERIFY(vpVersion && vpLink);
    QCOMPARE(vpVersion->text(),
             QString("Version: %1\nDatabase last updated: %2").arg(QUILLMARK_VERSION, shown));
    QCOMPARE(Application::settings()->value("DatabaseLastUpdated").toString(), shown);
    QVERIFY(!vpDialog->browser()->toPlainText().isEmpty());

    // Links go to the desktop's handler, never inside the dialog.
    QList<QUrl> vcFollowed;
    HelpDialog::setLinkHandler([&vcFollowed](const QUrl &aUrl) { vcFollowed << aUrl; });
    const auto vRestore = qScopeGuard([] { HelpDialog::setLinkHandler({}); });
    QTest::mouseClick(vpLink, Qt::LeftButton, Qt::NoModifier, vpLink->rect().center());
    QCOMPARE(vcFollowed, QList<QUrl>{QUrl("http://quillmark.example.org")});
    QTextBrowser *vpBrowser = vpDialog->browser();
    vpBrowser->setHtml("<p><a href=\"#usage\">Usage of the catalogue</a></p><p>Text.</p>");
    const QString vsGuide = vpBrowser->toHtml();
    QTextCursor vCursor(vpBrowser->document());
    vCursor.setPosition(3);
    QTest::mouseClick(vpBrowser->viewport(), Qt::LeftButton, Qt::NoModifier,
                      vpBrowser->cursorRect(vCursor).center());
    QCOMPARE(vcFollowed, (QList<QUrl>{QUrl("http://quillmark.example.org"), QUrl("#usage")}));
    QCOMPARE(vpBrowser->toHtml(), vsGuide);

    LogCapture vLog;
    QPointer<HelpDialog> vpClosed(vpDialog);
    vpDialog->close();
    QTRY_VERIFY(vpClosed.isNull());
    QVERIFY(vLog.contains("HelpDialog::~HelpDiaLOG()"));
    QCOMPARE(vWindow.findChildren<HelpDialog *>().size(), 1);
}

void TestMainWindow::guideInTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("guide");
    QTest::addColumn<QString>("heading");

    QTest::newRow("ru") << "ru"
                        << "ru" << QString("Окно программы");
    QTest::newRow("en") << "en"
                        << "en" << QString("The window");
    QTest::newRow("fr") << "fr"
                        << "fr" << QString("La fenêtre");
    QTest::newRow("no guide: English") << "de"
                                       << "en" << QString("The window");
}

void TestMainWindow::guideInTheInterfaceLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, guide);
    QFETCH(QString, heading);
    MainWindow &vWindow = newWindow({}, false);
    Application::sharedOptions()->setLanguage(language, SharedOptions::Interface);
    const auto vRestore = qScopeGuard(
        [] { Application::sharedOptions()->setLanguage("en", SharedOptions::Interface); });
    vWindow.findChild<QAction *>("helpAction")->trigger();
    QTextBrowser *vpBrowser = vWindow.findChild<HelpDialog *>()->browser();
    QVERIFY(vpBrowser->toPlainText().contains(heading));
    // Its pictures are that language's own, not the English ones.
    QFile vPicture(QString(":/help/%1/img/window.png").arg(guide));
    QVERIFY(vPicture.open(QIODevice::ReadOnly));
    QCOMPARE(
        vpBrowser->loadResource(QTextDocument::ImageResource, QUrl("img/window.png")).toByteArray(),
        vPicture.readAll());
}

void TestMainWindow::guidesMatchTheEnglishOne_data()
{
    QTest::addColumn<QString>("language");
    for (const char *vpLanguage : {"en", "ru", "fr"})
        QTest::newRow(vpLanguage) << QString(vpLanguage);
}

void TestMainWindow::guidesMatchTheEnglishOne()
{
    QFETCH(QString, language);
    const QString vsFolder = ":/help/" + language;
    const QString vsSections = R"re(<h2 id="([^"]+)")re";
    const QString vsPictures = R"re(<img src="([^"]+)")re";
    const QStringList vcSections = guideParts(":/help/en", vsSections);
    QVERIFY(vcSections.contains("keys"));
    QCOMPARE(guideParts(vsFolder, vsSections), vcSections);
    const QStringList vcPictures = guideParts(vsFolder, vsPictures);
    QCOMPARE(vcPictures, guideParts(":/help/en", vsPictures));
    for (const QString &vsPicture : vcPictures)
        QVERIFY2(QFile::exists(vsFolder + "/" + vsPicture), qPrintable(vsPicture));
}

QUILLMARK_TEST_MAIN(TestMainWindow)

#include "test_mainwindow.moc"
