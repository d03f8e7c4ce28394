// A page's commands in a real main window: the media buttons and the length
// label, copy, saving (selection, whole text, both texts, a file that cannot
// be written), printing to PDF (one text, and both side by side), hiding the
// captions, the PDF and the recording, a hit's context, sharing a quote, and
// the keyboard.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"
#include "widgets/pageactions.h"
#include "widgets/player.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"
#include "widgets/textbrowser.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"},
            {"Language", "en"},
            {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},
            {"DBLang2", "en"},
            {"DBLangName2", "En"},
            {"URL_pdf_ru", "http://127.0.0.1:1/"},
            {"URL_mp3_ru", "http://127.0.0.1:1/"},
            {"ShowDuplicates", true},
            {"fontSize", 10}};
}

QString sermon(int anDocId, const QString &asDate, const QString &asName, const QString &asMedia,
               const QStringList &acParagraphs)
{
    QString vsSql = QString("INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, "
                            "place) VALUES (%1, '%2', '%3', 'Tr', '%4', '%5', '1:02:03', 'Town');")
                        .arg(anDocId)
                        .arg(asDate, asName, asMedia.isEmpty() ? "-" : asMedia + ".pdf",
                             asMedia.isEmpty() ? "-" : asMedia + ".mp3");
    for (int i = 0; i < acParagraphs.size(); ++i)
        vsSql += QString("INSERT INTO paragraphs (id, date, text) VALUES ('E-%1', '%2', '%3');")
                     .arg(i + 1)
                     .arg(asDate, acParagraphs.at(i));
    return vsSql;
}

QString pdfText(const QString &asPdf, bool abLayout)
{
    QProcess vProcess;
    vProcess.start("pdftotext", QStringList(abLayout ? "-layout" : "-raw") << asPdf << "-");
    vProcess.waitForFinished(30000);
    return QString::fromUtf8(vProcess.readAllStandardOutput());
}

} // namespace

// Takes the addresses the page hands to the desktop for a scheme.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(const QString &asScheme) : msScheme(asScheme)
    {
        QDesktopServices::setUrlHandler(asScheme, this, "open");
    }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(msScheme); }
    QList<QUrl> mcOpened;

public slots:
    void open(const QUrl &aUrl) { mcOpened << aUrl; }

private:
    QString msScheme;
};

class TestPageActions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mediaButtonsAndLength_data();
    void mediaButtonsAndLength();
    void copyAndSave();
    void printing();
    void captionsHideAndShow();
    void pdfAndRecording();
    void closedWhileFetching();
    void contextOpensTheHit();
    void shareTakesTheSelection();

private:
    TabArea *openSermon(const QString &asItem, bool abTranslation = false);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<MainWindow> mpWindow;
    QTemporaryDir mScratch;
};

void TestPageActions::init()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(
        (sermon(1, "47-0412", "Faith", "47-0412", {"Первый абзац.", "Второй абзац.", "Третий."}) +
         sermon(2, "48-0101", "Plain", "", {"Без файлов."}))
            .split(';', Qt::SkipEmptyParts)));
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(
        sermon(1, "47-0412", "Faith", "", {"First paragraph.", "Second paragraph.", "Third."})
            .split(';', Qt::SkipEmptyParts)));
    vpDatabase->changeLanguage("ru");
    QDir().mkpath(Application::assetPath() + "/ru");
    QVERIFY(TestSupport::writeFile(Application::assetPath() + "/ru/47-0412.pdf", "%PDF-1.4"));
    QVERIFY(TestSupport::writeFile(Application::assetPath() + "/ru/47-0412.mp3", "not audio"));
    mpWindow = TestSupport::shownWindow();
    QVERIFY(mpWindow);
}

void TestPageActions::cleanup()
{
    mpWindow.reset();
    QVERIFY(TestSupport::roundTrip());
    mpApp.reset();
}

TabArea *TestPageActions::openSermon(const QString &asItem, bool abTranslation)
{
    const QStandardItemModel *vpModel = mpWindow->treeView()->itemModel();
    for (int r = 0; r < vpModel->rowCount(); ++r)
        for (int c = 0; c < vpModel->item(r)->rowCount(); ++c)
            if (vpModel->item(r)->child(c)->text().startsWith(asItem))
                mpWindow->treeView()->itemDoubleClicked(vpModel->item(r)->child(c)->index());
    auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget());
    if (!vpPage || !TestSupport::settle())
        return nullptr;
    if (abTranslation) {
        vpPage->openTranslation("en", QString());
        if (!TestSupport::settle())
            return nullptr;
    }
    return vpPage;
}

void TestPageActions::mediaButtonsAndLength_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("tools"); // what follows the translation and share buttons
    QTest::newRow("PDF and MP3") << "Faith"
                                 << QStringList{"|", "pdfButton", "mp3Button", "1:02:03"};
    // Neither file: no separator and no buttons, but still the length.
    QTest::newRow("neither") << "Plain" << QStringList{"1:02:03"};
}

void TestPageActions::mediaButtonsAndLength()
{
    QFETCH(QString, item);
    TabArea *vpPage = openSermon(item);
    QVERIFY(vpPage);
    QToolBar *vpBar = vpPage->findChild<QToolBar *>("mpControlToolbar");
    auto tools = [vpBar] {
        QStringList vcTools;
        bool vbAfterShare = false;
        for (QAction *vpAction : vpBar->actions()) {
            QWidget *vpWidget = vpBar->widgetForAction(vpAction);
            auto *vpLabel = qobject_cast<QLabel *>(vpWidget);
            if (vbAfterShare)
                vcTools << (vpAction->isSeparator() ? QString("|")
                            : vpLabel               ? vpLabel->text()
                                                    : vpWidget->objectName());
            vbAfterShare = vbAfterShare || (vpWidget && vpWidget->toolTip() == "Share");
        }
        return vcTools;
    };
    QTEST(tools(), "tools");
    // A second render (a translation) adds nothing.
    vpPage->openTranslation("en", QString());
    QVERIFY(TestSupport::settle());
    QTEST(tools(), "tools");
}

void TestPageActions::copyAndSave()
{
    TabArea *vpPage = openSermon("Faith", true);
    QVERIFY(vpPage);
    PageActions *vpActions = vpPage->actions();
    // The second paragraph selected: copy takes it, save writes only it.
    QTextCursor vCursor = vpPage->leftView()->document()->find("Второй абзац.");
    QVERIFY(!vCursor.isNull());
    vpPage->leftView()->setTextCursor(vCursor);
    vpActions->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Второй абзац."));
    // A selection in each pane: the translation's is the one copied.
    vpPage->rightView()->setTextCursor(vpPage->rightView()->document()->find("Third."));
    vpActions->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Third."));
    const QString vsFile = mScratch.filePath("saved.txt");
    QVERIFY(TestSupport::writeFile(vsFile, QByteArray(500, 'x')));
    QVERIFY(vpActions->saveText(vsFile, PageActions::Texts::Left));
    // Over a longer file: nothing of the old one is left.
    QCOMPARE(TestSupport::readFile(vsFile), QString("Второй абзац.").toUtf8());

    vpPage->leftView()->moveCursor(QTextCursor::Start);
    QVERIFY(vpActions->saveText(vsFile, PageActions::Texts::Left));
    QCOMPARE(QString::fromUtf8(TestSupport::readFile(vsFile)), vpPage->leftView()->toPlainText());
    // Both texts, paragraph after paragraph as the panes pair them.
    QVERIFY(vpActions->saveText(vsFile, PageActions::Texts::Both));
    const QStringList vcLines = QString::fromUtf8(TestSupport::readFile(vsFile)).split('\n');
    QCOMPARE(vcLines.mid(1, 1) + vcLines.mid(3, 1),
             (QStringList{"1 Первый абзац.", "1 First paragraph."}));
    QCOMPARE(vcLines.at(8), QString("2 Second paragraph."));

    // Through the command and its keys: the reader is asked which texts,
    // and told when the file cannot be written.
    PageActions::setFileChooser([](QWidget *) { return QString("/nonexistent/folder/x.txt"); });
    const auto vRestore = qScopeGuard([] { PageActions::setFileChooser({}); });
    BoxRecorder vBoxes(QMessageBox::No);
    vpPage->leftView()->setFocus();
    QTest::keySequence(vpPage->leftView(), QKeySequence::Save);
    QCOMPARE(vBoxes.count(), 2);
    QVERIFY(vBoxes.requests().last().text.contains("/nonexistent/folder/x.txt"));
    PageActions::setFileChooser([vsFile](QWidget *) { return vsFile; });
    vpActions->save();
    QCOMPARE(QString::fromUtf8(TestSupport::readFile(vsFile)), vpPage->leftView()->toPlainText());
}

void TestPageActions::printing()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the printed file back");
    TabArea *vpPage = openSermon("Faith", true);
    QVERIFY(vpPage);
    QPrinter vPrinter(QPrinter::ScreenResolution);
    vPrinter.setOutputFormat(QPrinter::PdfFormat);
    vPrinter.setOutputFileName(mScratch.filePath("one.pdf"));
    vpPage->actions()->printDocument(vPrinter, PageActions::Texts::Left);
    const QString vsOne = pdfText(vPrinter.outputFileName(), false);
    QVERIFY2(vsOne.contains("Второй абзац.") && !vsOne.contains("Second paragraph."),
             qPrintable(vsOne));
    // Side by side: each paragraph on the line of its translation.
    vPrinter.setOutputFileName(mScratch.filePath("both.pdf"));
    vpPage->actions()->printDocument(vPrinter, PageActions::Texts::Both);
    const QStringList vcLines = pdfText(vPrinter.outputFileName(), true).split('\n');
    for (const char *vsPair : {"Первый абзац.|First paragraph.", "Третий.|Third."}) {
        const QStringList vcPair = QString(vsPair).split('|');
        QVERIFY2(!vcLines.filter(vcPair.first()).filter(vcPair.last()).isEmpty(),
                 qPrintable(vcLines.join('\n')));
    }
    // The question before printing, from the key in the text: Cancel prints nothing.
    BoxRecorder vBoxes(QMessageBox::Cancel);
    vpPage->rightView()->setFocus();
    QTest::keySequence(vpPage->rightView(), QKeySequence::Print);
    QCOMPARE(vBoxes.count(), 1);
}

void TestPageActions::captionsHideAndShow()
{
    TabArea *vpPage = openSermon("Faith", true);
    QVERIFY(vpPage);
    auto captions = [](const TextBrowser *apView) {
        QStringList vcFormats;
        for (QTextBlock b = apView->document()->begin(); b.isValid(); b = b.next())
            if (!b.begin().atEnd() && b.begin().fragment().charFormat().fontUnderline()) {
                const QTextCharFormat vFormat = b.begin().fragment().charFormat();
                vcFormats << QString("%1 %2")
                                 .arg(vFormat.foreground().color().name())
                                 .arg(vFormat.fontPointSize());
            }
        vcFormats.removeDuplicates();
        return vcFormats;
    };
    QToolButton *vpButton = nullptr;
    for (QToolButton *vpTool : vpPage->findChildren<QToolButton *>())
        if (vpTool->toolTip() == "Hide Caption")
            vpButton = vpTool;
    QVERIFY(vpButton);
    const QString vsBase = vpPage->leftView()->palette().color(QPalette::Base).name();
    vpButton->click();
    QCOMPARE(captions(vpPage->leftView()), QStringList{vsBase + " 1"});
    QCOMPARE(captions(vpPage->rightView()), QStringList{vsBase + " 1"});
    vpButton->click();
    QCOMPARE(captions(vpPage->leftView()), QStringList{"#0000ff 10"});
}

void TestPageActions::pdfAndRecording()
{
    TabArea *vpPage = openSermon("Faith");
    QVERIFY(vpPage);
    UrlRecorder vFiles("file");
    vpPage->findChild<QToolButton *>("pdfButton")->click();
    const QString vsPdf = Application::assetPath() + "/ru/47-0412.pdf";
    QCOMPARE(vFiles.mcOpened, QList<QUrl>{QUrl::fromLocalFile(vsPdf)});
    // Neither here nor an address to fetch it from: the reader is told why.
    QVERIFY(QFile::remove(vsPdf));
    Application::settings()->remove("URL_pdf_ru");
    {
        BoxRecorder vBoxes;
        vpPage->findChild<QToolButton *>("pdfButton")->click();
        QCOMPARE(vBoxes.count(), 1);
        QVERIFY(vBoxes.requests().first().text.contains("URL_pdf_ru"));
    }
    QCOMPARE(vFiles.mcOpened.size(), 1);

    // Not here and not to be fetched: the reader is told, the button stays
    // usable and no empty player is left on the page.
    QToolButton *vpMp3 = vpPage->findChild<QToolButton *>("mp3Button");
    const QString vsMp3 = Application::assetPath() + "/ru/47-0412.mp3";
    QVERIFY(QFile::rename(vsMp3, vsMp3 + ".away"));
    {
        BoxRecorder vBoxes;
        vpMp3->click();
        QCOMPARE(vBoxes.count(), 1);
    }
    QVERIFY(vpMp3->isEnabled());
    QVERIFY(!vpPage->findChild<QToolBar *>("mpPlayerToolbar")->isVisible());
    QVERIFY(QFile::rename(vsMp3 + ".away", vsMp3));
    vpMp3->click();
    QVERIFY(!vpMp3->isEnabled());
    QVERIFY(vpPage->findChild<QToolBar *>("mpPlayerToolbar")->isVisible());
    QMediaPlayer *vpMedia = vpPage->actions()->player()->findChild<QMediaPlayer *>();
    QVERIFY(vpMedia);
    QCOMPARE(vpMedia->currentMedia().request().url(), QUrl::fromLocalFile(vsMp3));
}

// The recording downloads while the window goes on; the reader closes the
// page before it has arrived. Nothing may touch the page afterwards, and the
// file still arrives whole.
void TestPageActions::closedWhileFetching()
{
    LoopbackHttpServer vServer;
    vServer.setPartialBody("/m/47-0412.mp3", "first half ", 20, true);
    Application::settings()->setValue("URL_mp3_ru", vServer.url("/m/"));
    const QString vsMp3 = Application::assetPath() + "/ru/47-0412.mp3";
    QVERIFY(QFile::remove(vsMp3));
    TabArea *vpPage = openSermon("Faith");
    QVERIFY(vpPage);
    QPointer<TabArea> vpGuard(vpPage);
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([&] { return !vServer.requestedPaths().isEmpty(); }));
        mpWindow->tabWidget()->closeTab(0);
        QVERIFY(QTest::qWaitFor([&] { return vpGuard.isNull(); }));
        vServer.completeStalledBodies("and rest.");
    });
    vpPage->findChild<QToolButton *>("mp3Button")->click();
    QVERIFY(vpGuard.isNull());
    QCOMPARE(TestSupport::readFile(vsMp3), QByteArray("first half and rest."));
}

void TestPageActions::contextOpensTheHit()
{
    mpWindow->searchWidget()->lineEdit()->setText("абзац");
    QTest::keyClick(mpWindow->searchWidget()->lineEdit(), Qt::Key_Return);
    QVERIFY(TestSupport::settle());
    TabWidget *vpTabs = mpWindow->tabWidget();
    auto *vpResults = qobject_cast<TabArea *>(vpTabs->currentWidget());
    QTRY_COMPARE(vpResults->articles().size(), 2);
    // Nowhere near a hit yet: nothing happens.
    vpResults->actions()->goToContext();
    QCOMPARE(vpTabs->count(), 1);
    // A right click in the second hit's text: the menu's Context opens its
    // sermon there.
    TextBrowser *vpView = vpResults->leftView();
    const QPoint vAt = vpView->cursorRect(vpView->document()->find("Второй")).center();
    QString vsMenu;
    QTimer::singleShot(0, [&vsMenu] {
        if (QWidget *vpMenu = QApplication::activePopupWidget()) {
            for (QAction *vpAction : vpMenu->actions())
                vsMenu += vpAction->isVisible() ? vpAction->text() + "|" : QString();
            vpMenu->close();
        }
    });
    QContextMenuEvent vClick(QContextMenuEvent::Mouse, vAt, vpView->viewport()->mapToGlobal(vAt));
    QApplication::sendEvent(vpView->viewport(), &vClick);
    QCOMPARE(vsMenu, QString("Select all|Copy||Print||Context||Share|"));
    vpResults->actions()->goToContext();
    QCOMPARE(vpTabs->count(), 2);
    auto *vpDocument = qobject_cast<TabArea *>(vpTabs->currentWidget());
    QTRY_COMPARE(vpDocument->articles().size(), 3);
    QCOMPARE(vpDocument->title(), QString("Faith, 1947-0412, Tr"));
}

void TestPageActions::shareTakesTheSelection()
{
    TabArea *vpPage = openSermon("Faith");
    QVERIFY(vpPage);
    UrlRecorder vWeb("https");
    // Answered by the dialog's button; returns its quote and link.
    auto shareOnTwitter = [vpPage](const char *apButton) {
        QString vsShown;
        QTimer::singleShot(0, [&vsShown, apButton] {
            for (QWidget *vpWidget : QApplication::topLevelWidgets())
                if (auto *vpAnswer = vpWidget->findChild<QPushButton *>(apButton);
                    vpAnswer && vpWidget->isVisible()) {
                    vsShown = vpWidget->findChild<QTextEdit *>("vpQuote")->toPlainText() + "|" +
                              vpWidget->findChild<QLineEdit *>("vpLink")->text();
                    vpAnswer->click();
                }
        });
        vpPage->findChild<QAction *>("twitter")->trigger();
        return vsShown;
    };
    vpPage->leftView()->setTextCursor(vpPage->leftView()->document()->find("Третий."));
    const QString vsShown = shareOnTwitter("vpNo");
    QVERIFY2(vsShown.startsWith("Третий.|https://twitter.com/share?"), qPrintable(vsShown));
    QVERIFY(vsShown.contains("Faith"));
    // Declined: nothing is opened.
    QVERIFY(vWeb.mcOpened.isEmpty());
    // Nothing selected: the first paragraph is the quote.
    vpPage->leftView()->moveCursor(QTextCursor::End);
    QVERIFY(shareOnTwitter("vpYes").startsWith("Первый абзац.|"));
    QCOMPARE(vWeb.mcOpened.size(), 1);

    // Another interface language: the page's commands follow at once.
    Application::sharedOptions()->setLanguage("fr", SharedOptions::Interface);
    const auto vRestore = qScopeGuard(
        [] { Application::sharedOptions()->setLanguage("en", SharedOptions::Interface); });
    QTRY_COMPARE(vpPage->findChild<QAction *>("twitter")->text(), QString("Partager sur Twitter"));
    QCOMPARE(vpPage->findChild<QToolButton *>("pdfButton")->toolTip(),
             QString("Télécharger le pdf"));
}

QUILLMARK_TEST_MAIN(TestPageActions)
#include "test_pageactions.moc"
