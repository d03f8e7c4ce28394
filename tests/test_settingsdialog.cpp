// The settings dialog: which data files may be updated, the catalogue font,
// styles and style sheets, remote playback, the converter page (refusals
// that protect the data, and a real conversion seen in the tree), and the
// main window's way to it.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/converterpage.h"
#include "widgets/mainwindow.h"
#include "widgets/settingsdialog.h"
#include "widgets/versiontable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardItem>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

QVariantMap settings(const QVariantMap &acMore = {})
{
    QVariantMap vcSettings{{"DataLanguage", "ru"},
                           {"Language", "en"},
                           {"DBLang1", "ru"},
                           {"DBLangName1", "Русский"},
                           {"Converter", true}};
    vcSettings.insert(acMore);
    return vcSettings;
}

QStringList columnTexts(const QTableWidget *apTable, int anColumn)
{
    QStringList vcTexts;
    for (int i = 0; i < apTable->rowCount(); ++i)
        vcTexts << apTable->item(i, anColumn)->text();
    return vcTexts;
}

std::unique_ptr<SettingsDialog> newDialog(MainWindow *apWindow = nullptr)
{
    return std::make_unique<SettingsDialog>(Application::settings(), Application::sharedOptions(),
                                            Application::database(),
                                            apWindow ? apWindow->storeRequests() : nullptr,
                                            apWindow ? apWindow->treeView() : nullptr, apWindow);
}

template<typename T> T *withText(const QWidget &aParent, const QString &asText)
{
    for (T *vpWidget : aParent.findChildren<T *>())
        if (vpWidget->text() == asText)
            return vpWidget;
    return nullptr;
}

QString setting(const char *asKey)
{
    return Application::settings()->value(asKey).toString();
}

// A sermon source file: seven header lines, then its paragraphs.
bool writeSermon(const QString &asPath, const QString &asDate, const QString &asName)
{
    return TestSupport::writeFile(asPath,
                                  QString("%1\n%2\n-\n-\n-\n1:00\nTown\nE-1 First\nE-2 Second\n")
                                      .arg(asDate, asName)
                                      .toUtf8());
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void versionRows_data();
    void versionRows();
    void fontKeepsWhatIsNotListed_data();
    void fontKeepsWhatIsNotListed();
    void styleSheets();
    void converterRefusesBeforeChangingAnything_data();
    void converterRefusesBeforeChangingAnything();
    void conversionShowsInTree_data();
    void conversionShowsInTree();
    void serviceMenuOpensSettings();
    void replacingRunOnAFullDisk();
};

void TestSettingsDialog::cleanup()
{
    qApp->setStyleSheet(QString());
}

void TestSettingsDialog::versionRows_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("written");

    const auto row = [](const char *asRow, const char *asKey, const char *asStored,
                        const char *asName, const char *asShown, bool abToggle,
                        const char *asWritten) {
        QTest::newRow(asRow) << asKey << asStored << asName << asShown << abToggle << asWritten;
    };
    // An empty name still takes the language part.
    row("language only", "Version-fr", "5", " (French)", "5", false, "5");
    row("blocked stays blocked", "Version-quotes_en", "10000", "Sermons (English)", "", false,
        "10000");
    row("blocked, allowed again", "Version-bible_fr", "10000", "Bible (French)", "", true, "0");
    row("versioned, blocked", "Version-quotes_ru", "7", "Sermons (Russian)", "7", true, "10000");
    row("no version, allowed", "Version-bible", "", "Bible", "", false, "0");
}

void TestSettingsDialog::versionRows()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(bool, toggle);
    // Keys are matched with their case; other keys stay out. The data store
    // notes the version of the file it creates ("Version-ru").
    TempAppDir vApp(settings({{key, stored}, {"version-lower", "3"}}));
    const auto vpDialog = newDialog();
    auto *vpTable = vpDialog->findChild<VersionTable *>();
    const QStringList vcKeys = columnTexts(vpTable, 0);
    QStringList vcExpected{"Version-ru", key};
    vcExpected.sort();
    QCOMPARE(vcKeys, vcExpected);
    const int vnRow = vcKeys.indexOf(key);
    QTEST(vpTable->item(vnRow, 1)->text(), "name");
    QTEST(vpTable->item(vnRow, 2)->text(), "shown");
    auto *vpAllow = qobject_cast<QCheckBox *>(vpTable->cellWidget(vnRow, 3));
    QCOMPARE(vpAllow->isChecked(), stored != "10000");
    if (toggle)
        vpAllow->click();
    withText<QPushButton>(*vpDialog, "OK")->click();
    QTEST(setting(qPrintable(key)), "written");
    QCOMPARE(setting("version-lower"), QString("3"));
}

void TestSettingsDialog::fontKeepsWhatIsNotListed_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("pickedSize");
    QTest::addColumn<int>("writtenSize");

    const QString vsInstalled = QFontDatabase().families().value(0);
    QTest::newRow("listed, size changed") << vsInstalled << 10 << "14" << 14;
    QTest::newRow("family not installed, size not listed") << "No Such Family" << 13 << "" << 13;
}

void TestSettingsDialog::fontKeepsWhatIsNotListed()
{
    QFETCH(QString, family);
    QFETCH(int, size);
    QFETCH(QString, pickedSize);
    TempAppDir vApp(settings({{"fontName", family}, {"fontSize", size}, {"PlayRemote", false}}));
    const auto vpDialog = newDialog();
    auto *vpSizes = vpDialog->findChild<QListWidget *>("sizeList");
    if (!pickedSize.isEmpty())
        vpSizes->setCurrentItem(vpSizes->findItems(pickedSize, Qt::MatchExactly).value(0));
    // The size's line edit mirrors the list.
    QCOMPARE(vpDialog->findChild<QLineEdit *>("sizeEdit")->text(), pickedSize);

    // Playback is stored as soon as it is changed, whatever closes the dialog.
    withText<QCheckBox>(*vpDialog, "Play sound directly")->click();
    QCOMPARE(setting("PlayRemote"), QString("true"));
    QVERIFY(Application::sharedOptions()->playRemote());

    withText<QPushButton>(*vpDialog, "OK")->click();
    QCOMPARE(setting("fontName"), family);
    QTEST(Application::settings()->value("fontSize").toInt(), "writtenSize");
}

void TestSettingsDialog::styleSheets()
{
    // Settings of an older build name a style this Qt does not have.
    TempAppDir vApp(settings({{"style", "Cleanlooks"}, {"styleSheet", "default"}}));
    const QByteArray vaDefault = "QLabel { color: #102030; }";
    const QByteArray vaDark = TestSupport::readFile(QUILLMARK_SOURCE_DIR "/style/dark.qss");
    QVERIFY(TestSupport::writeFile(vApp.filePath("style/default.qss"), vaDefault));
    QVERIFY(TestSupport::writeFile(vApp.filePath("style/dark.qss"), vaDark));
    QApplication::setStyle("Fusion");
    LogCapture vLog;

    const auto vpDialog = newDialog();
    auto *vpStyles = vpDialog->findChild<QComboBox *>("styleCombo");
    auto *vpSheets = vpDialog->findChild<QComboBox *>("sheetCombo");
    auto *vpEditor = vpDialog->findChild<QTextEdit *>();
    QPushButton *vpApply = withText<QPushButton>(*vpDialog, "Apply");
    QCOMPARE(vpStyles->currentText(), QString("Fusion"));
    QCOMPARE(vpSheets->currentText(), QString("Default"));
    QCOMPARE(vpEditor->toPlainText(), QString(vaDefault));
    QCOMPARE(qApp->styleSheet(), QString(vaDefault));
    QVERIFY(!vpApply->isEnabled());

    // A sheet applies as soon as it is chosen; the dark one parses.
    vpSheets->setCurrentText("dark");
    emit vpSheets->textActivated("dark");
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(vaDark));
    QVERIFY2(!vLog.contains("parse"), qPrintable(vLog.linesContaining("parse").join('\n')));
    // Beneath the sheet the style in use is still found.
    QCOMPARE(newDialog()->findChild<QComboBox *>("styleCombo")->currentText(), QString("Fusion"));

    // An edit is applied and saved under the sheet's name.
    const QString vsEdited = "QLabel { color: #405060; }";
    vpEditor->setPlainText(vsEdited);
    QVERIFY(vpApply->isEnabled());
    {
        BoxRecorder vBoxes;
        vpApply->click();
        QCOMPARE(vBoxes.count(), 0);
    }
    QVERIFY(!vpApply->isEnabled());
    QCOMPARE(qApp->styleSheet(), vsEdited);
    QCOMPARE(TestSupport::readFile(vApp.filePath("style/dark.qss")), vsEdited.toUtf8());

    // A sheet that cannot be written is reported, naming its file.
    QVERIFY(QFile::remove(vApp.filePath("style/dark.qss")));
    QVERIFY(QDir().mkpath(vApp.filePath("style/dark.qss")));
    vpEditor->append("QTabBar { }");
    BoxRecorder vBoxes;
    vpApply->click();
    QCOMPARE(vBoxes.count(), 1);
    QVERIFY(vBoxes.requests().first().text.contains("dark.qss"));

    withText<QPushButton>(*vpDialog, "OK")->click();
    QCOMPARE(setting("style"), QString("Fusion"));
    QCOMPARE(setting("styleSheet"), QString("dark"));
}

void TestSettingsDialog::converterRefusesBeforeChangingAnything_data()
{
    QTest::addColumn<QString>("folder"); // below the application folder
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("bible"); // a Bible added, not replacing

    QTest::newRow("none chosen") << ""
                                 << "You didn't choose directory" << false;
    QTest::newRow("missing folder") << "nowhere"
                                    << "cannot be read" << false;
    QTest::newRow("no source files") << "notes"
                                     << "holds no source files" << false;
    // Its books would be numbered from 1 again and mix with the first Bible's.
    QTest::newRow("a second Bible") << "bible"
                                    << "already has a Bible" << true;
}

void TestSettingsDialog::converterRefusesBeforeChangingAnything()
{
    QFETCH(QString, folder);
    QFETCH(QString, message);
    QFETCH(bool, bible);
    TempAppDir vApp(settings());
    QVERIFY(Application::database()->execQuery(
        TestSupport::sermonStatements("47-0412", "Faith") +
        QStringList{"INSERT INTO bibles (book, name) VALUES (1, 'Genesis');",
                    "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'Genesis 1');"}));
    QVERIFY(TestSupport::writeFile(vApp.filePath("notes/readme.md"), "not a source"));
    QVERIFY(TestSupport::writeFile(vApp.filePath("bible/b.txt"), "Exodus\t1\t1\tNow these\n"));
    const auto vpDialog = newDialog();
    ConverterPage *vpPage = vpDialog->converterPage();
    QVERIFY(vpPage);
    if (!folder.isEmpty()) {
        vpPage->setDirectoryChooser(
            [&vApp, folder](QWidget *, const QString &) { return vApp.filePath(folder); });
        vpPage->browseButton()->click();
    }
    if (bible)
        withText<QRadioButton>(*vpPage, "Bible")->click();
    else
        withText<QRadioButton>(*vpPage, "Remove previous and insert again")->click();

    BoxRecorder vBoxes;
    vpPage->importButton()->click();
    QTRY_COMPARE(vBoxes.count(), 1);
    QVERIFY2(vBoxes.requests().first().text.contains(message),
             qPrintable(vBoxes.requests().first().text));
    QVERIFY(vpPage->importButton()->isEnabled());
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM quotes;"), QStringList{"Faith"});
    QCOMPARE(TestSupport::readRows("ru", "SELECT name FROM bibles;"), QStringList{"Genesis"});
}

void TestSettingsDialog::conversionShowsInTree_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QStringList>("rows"); // files converted, or books met
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("checked");

    QTest::newRow("sermons") << false << QStringList{"a.txt", "b.txt"} << "Import complete!"
                             << QStringList{"Let's go (58-0302)", "Seals (63-0318)"};
    // A verse number that is not one fails its statement; the rest goes in.
    QTest::newRow("Bible, one statement failing")
        << true << QStringList{"Genesis", "Exodus"}
        << "Import complete, but some files could not be read or some statements failed; see "
           "the log."
        << QStringList();
}

void TestSettingsDialog::conversionShowsInTree()
{
    QFETCH(bool, bible);
    QFETCH(QStringList, rows);
    QFETCH(QString, status);
    QFETCH(QStringList, checked);
    TempAppDir vApp(settings());
    QVERIFY(Application::database()->execQuery(TestSupport::sermonStatements("47-0412", "Faith")));
    QVERIFY(writeSermon(vApp.filePath("src/b.txt"), "63-0318", "Seals"));
    QVERIFY(writeSermon(vApp.filePath("src/a.txt"), "58-0302", "Let's go"));
    QVERIFY(TestSupport::writeFile(vApp.filePath("bible/kjv.txt"),
                                   "Genesis\t1\t1\tIn the beginning\nGenesis\t1\tx\tNo verse\n"
                                   "Exodus\t1\t1\tNow these\n"));
    LogCapture vLog;
    // A failed statement raises the debug box.
    BoxRecorder vBoxes;
    MainWindow vWindow;
    QVERIFY(TestSupport::settle());

    const auto vpDialog = newDialog(&vWindow);
    ConverterPage *vpPage = vpDialog->converterPage();
    const QString vsFolder = vApp.filePath(bible ? "bible" : "src");
    vpPage->setDirectoryChooser([vsFolder](QWidget *, const QString &) { return vsFolder; });
    vpDialog->show();
    vpPage->browseButton()->click();
    if (bible)
        withText<QRadioButton>(*vpPage, "Bible")->click();
    QSignalSpy vFinished(vpPage, &ConverterPage::importFinished);
    vpPage->importButton()->click();
    // The run has to end before the dialog may close.
    QPushButton *vpOk = withText<QPushButton>(*vpDialog, "OK");
    QVERIFY(!vpOk->isEnabled());
    vpDialog->reject();
    QVERIFY(vpDialog->isVisible());

    QVERIFY(vFinished.wait(20000));
    QVERIFY(withText<QLabel>(*vpPage, status));
    // Ready for another run.
    QVERIFY(vpOk->isEnabled() && vpPage->importButton()->isEnabled());
    auto *vpTable = vpPage->findChild<QTableWidget *>();
    QCOMPARE(columnTexts(vpTable, 0), rows);
    QCOMPARE(vpTable->currentRow(), rows.size() - 1);
    const int vnFiles = bible ? 1 : 2;
    QCOMPARE(vpPage->findChild<QProgressBar *>()->value(), vnFiles);
    QCOMPARE(vpPage->findChild<QProgressBar *>()->maximum(), vnFiles);

    // The tree shows the new catalogue, the new sermons checked.
    const QStandardItemModel *vpModel = vWindow.treeView()->itemModel();
    QStringList vcChecked;
    const auto arrived = [&] {
        vcChecked.clear();
        for (const QStandardItem *vpItem : TestSupport::catalogueItems(vWindow.treeView()))
            if (vpItem->checkState() == Qt::Checked)
                vcChecked << vpItem->text();
        return bible ? vpModel->rowCount() == 2 : vcChecked.size() == 2;
    };
    QTRY_VERIFY_WITH_TIMEOUT(arrived(), 20000);
    vcChecked.sort();
    QCOMPARE(vcChecked, checked);
    QCOMPARE(TestSupport::catalogueItems(vWindow.treeView()).size(), bible ? 2 : 3);
    QCOMPARE(vBoxes.count(), bible ? 1 : 0);
    QVERIFY(!vLog.contains("The window's thread waited for the data store"));
}

void TestSettingsDialog::replacingRunOnAFullDisk()
{
    // Room for the sermon there is and the first new one, not for all four.
    TempAppDir vApp(settings());
    Application::releaseSingletons();
    const QString vsData = vApp.filePath("sql/data");
    SmallDisk vDisk(vsData, 400);
    if (!vDisk.problem().isEmpty())
        QSKIP(qPrintable(vDisk.problem()));
    QVERIFY(Application::database()->execQuery(TestSupport::sermonStatements("47-0412", "Faith")));
    for (int f = 1; f <= 4; ++f) {
        QString vsText = QString("63-%1\nNew %1\n-\n-\n-\n1:00\nX\n").arg(f, 4, 10, QChar('0'));
        for (int i = 1; i <= 100; ++i)
            vsText += QString("E-%1 %2\n").arg(i).arg(QString("word%1 ").arg(i * f).repeated(60));
        QVERIFY(
            TestSupport::writeFile(vApp.filePath(QString("src/%1.txt").arg(f)), vsText.toUtf8()));
    }
    const QByteArray vaSource = TestSupport::readFile(vApp.filePath("src/4.txt"));

    BoxRecorder vBoxes;
    MainWindow vWindow;
    vWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&vWindow));
    QVERIFY(TestSupport::settle());
    const auto vpDialog = newDialog(&vWindow);
    ConverterPage *vpPage = vpDialog->converterPage();
    vpPage->setDirectoryChooser(
        [&vApp](QWidget *, const QString &) { return vApp.filePath("src"); });
    vpPage->browseButton()->click();
    withText<QRadioButton>(*vpPage, "Remove previous and insert again")->click();
    QSignalSpy vFinished(vpPage, &ConverterPage::importFinished);
    vpPage->importButton()->click();
    QVERIFY(vFinished.wait(20000));
    QCOMPARE(vFinished.first().first().toBool(), false);
    QVERIFY(withText<QLabel>(*vpPage, "Nothing was imported: the data file could not take the "
                                      "texts. The data and the source files are as they were."));
    QVERIFY(TestSupport::settle());

    // The old sermon was not removed and no new one half-written; the
    // sources are untouched; the reader is told about the disk once.
    const QString vsFile = vsData + "/kvr_main_ru.sqlite";
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT name FROM quotes;"), QStringList{"Faith"});
    QCOMPARE(TestSupport::fileRows(vsFile, "SELECT count(*) FROM paragraphs;"), QStringList{"0"});
    QCOMPARE(TestSupport::fileRows(vsFile, "PRAGMA integrity_check;"), QStringList{"ok"});
    QCOMPARE(TestSupport::readFile(vApp.filePath("src/4.txt")), vaSource);
    QStringList vcTold;
    for (const ModalBox::Request &vRequest : vBoxes.requests())
        vcTold << vRequest.title + ": " + vRequest.text;
    QCOMPARE(vcTold.size(), 1);
    QVERIFY2(vcTold.first().startsWith("Data file: ") && vcTold.first().contains("is full"),
             qPrintable(vcTold.first()));
}

void TestSettingsDialog::serviceMenuOpensSettings()
{
    TempAppDir vApp(settings({{"fontSize", 10}}));
    MainWindow vWindow;
    QVERIFY(TestSupport::settle());
    QAction *vpSettings = nullptr;
    for (QAction *vpTop : vWindow.menuBar()->actions())
        if (vpTop->menu() && vpTop->text() == "Service")
            vpSettings = vpTop->menu()->actions().value(0);
    QVERIFY(vpSettings);
    QCOMPARE(vpSettings->text(), QString("Settings"));

    vpSettings->trigger();
    QPointer<SettingsDialog> vpDialog = vWindow.findChild<SettingsDialog *>();
    QVERIFY(vpDialog && vpDialog->isVisible() && vpDialog->isModal());
    auto *vpSizes = vpDialog->findChild<QListWidget *>("sizeList");
    vpSizes->setCurrentItem(vpSizes->findItems("14", Qt::MatchExactly).value(0));
    withText<QPushButton>(*vpDialog, "OK")->click();
    QCOMPARE(vWindow.treeView()->font().pointSize(), 14);
    QTRY_VERIFY(!vpDialog);
}

QUILLMARK_TEST_MAIN(TestSettingsDialog)
#include "test_settingsdialog.moc"
