#include "widgets/pageactions.h"

#include "controllers/application.h"
#include "controllers/modalbox.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "controllers/shareitem.h"
#include "controllers/sharemanager.h"
#include "models/plaintext.h"
#include "widgets/focuschain.h"
#include "widgets/hitchart.h"
#include "widgets/player.h"
#include "widgets/tabarea.h"
#include "widgets/textbrowser.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

QAction *newAction(QObject *apParent, const QString &asIcon, QKeySequence::StandardKey aKey)
{
    auto *vpAction = new QAction(Resources::icon(asIcon), QString(), apParent);
    vpAction->setShortcut(aKey);
    // Only the page on show answers the keys, not every open tab.
    vpAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return vpAction;
}

// A caption block starts with the underlined anchor of the record's title.
bool isCaption(const QTextBlock &aBlock)
{
    const QTextBlock::iterator vFirst = aBlock.begin();
    return !vFirst.atEnd() && vFirst.fragment().charFormat().fontUnderline();
}

// The share menu's entries: object name (what share() tells them apart by)
// and text.
struct Service
{
    const char *name;
    const char *text;
};
const Service cServices[] = {{"facebook", QT_TRANSLATE_NOOP("TabArea", "Share on Facebook")},
                             {"vk", QT_TRANSLATE_NOOP("TabArea", "Share on VK")},
                             {"gplus", QT_TRANSLATE_NOOP("TabArea", "Share on Google Plus")},
                             {"twitter", QT_TRANSLATE_NOOP("TabArea", "Share on Twitter")}};

PageActions::FileChooser &fileChooser()
{
    static PageActions::FileChooser sChooser;
    return sChooser;
}

} // namespace

PageActions::PageActions(TabArea *apPage, QToolBar *apControls, QToolBar *apPlayerBar)
    : QObject(apPage), mpPage(apPage), mpControls(apControls), mpPlayerBar(apPlayerBar)
{
    mpCopyAction = newAction(this, QStringLiteral(":/icons/copy.png"), QKeySequence::Copy);
    mpSelectAllAction =
        newAction(this, QStringLiteral(":/icons/select_all.png"), QKeySequence::SelectAll);
    mpPrintAction = newAction(this, QStringLiteral(":/icons/print.png"), QKeySequence::Print);
    mpSaveAction = newAction(this, QStringLiteral(":/icons/save.png"), QKeySequence::Save);
    mpContextAction = new QAction(this);
    mpContextAction->setVisible(false);
    connect(mpCopyAction, &QAction::triggered, this, &PageActions::copy);
    connect(mpSelectAllAction, &QAction::triggered, this, &PageActions::selectAll);
    connect(mpPrintAction, &QAction::triggered, this, &PageActions::print);
    connect(mpSaveAction, &QAction::triggered, this, &PageActions::save);
    connect(mpContextAction, &QAction::triggered, this, &PageActions::goToContext);

    mpCaptionButton = new QToolButton(mpControls);
    mpCaptionButton->setIcon(Resources::icon(QStringLiteral(":/icons/view_text.png")));
    mpCaptionButton->setCheckable(true);
    mpCaptionButton->setAutoRaise(true);
    connect(mpCaptionButton, &QToolButton::clicked, this, &PageActions::showCaption);

    mpShareMenu = new QMenu(mpPage);
    for (const Service &vService : cServices) {
        QAction *vpAction = mpShareMenu->addAction(QString());
        vpAction->setObjectName(QLatin1String(vService.name));
        connect(vpAction, &QAction::triggered, this, &PageActions::share);
    }
    mpShareButton = new QToolButton(mpControls);
    mpShareButton->setIcon(Resources::icon(QStringLiteral(":/icons/share.png")));
    mpShareButton->setPopupMode(QToolButton::InstantPopup);
    mpShareButton->setMenu(mpShareMenu);
    mpShareButton->setAutoRaise(true);

    mpPlayerBar->hide();
    mpPlayAction = new QAction(this);
    mpPlayAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                                QKeySequence(Qt::Key_MediaTogglePlayPause)});
    mpPlayAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(mpPlayAction, &QAction::triggered, this, &PageActions::togglePlayback);
    mpPage->addActions(
        {mpCopyAction, mpSelectAllAction, mpPrintAction, mpSaveAction, mpPlayAction});
    retranslate();
}

void PageActions::addEditingTools()
{
    for (QAction *vpAction : {mpCopyAction, mpSelectAllAction, mpPrintAction, mpSaveAction}) {
        mpControls->addAction(vpAction);
        mpControls->addSeparator();
    }
    mpControls->addWidget(mpCaptionButton);
    mpControls->addSeparator();
}

void PageActions::addShareTool()
{
    mpControls->addWidget(mpShareButton);
}

QList<QAction *> PageActions::viewActions() const
{
    auto *vpFirst = new QAction(mpPage);
    vpFirst->setSeparator(true);
    auto *vpSecond = new QAction(mpPage);
    vpSecond->setSeparator(true);
    auto *vpThird = new QAction(mpPage);
    vpThird->setSeparator(true);
    return {mpSelectAllAction, mpCopyAction,    vpFirst, mpPrintAction,
            vpSecond,          mpContextAction, vpThird, mpShareMenu->menuAction()};
}

void PageActions::addMediaButtons(const QString &asPdf, const QString &asMp3,
                                  const QString &asLength)
{
    if (mpLengthLabel)
        return;
    const bool vbPdf = asPdf != QLatin1String("-");
    const bool vbMp3 = asMp3 != QLatin1String("-");
    if (vbPdf || vbMp3)
        mpControls->addSeparator();
    if (vbPdf) {
        mpPdfButton = new QToolButton(mpControls);
        mpPdfButton->setObjectName(QStringLiteral("pdfButton"));
        mpPdfButton->setIcon(Resources::icon(QStringLiteral(":/icons/pdf.png")));
        mpPdfButton->setAutoRaise(true);
        connect(mpPdfButton, &QToolButton::clicked, this, &PageActions::pdf);
        mpControls->addWidget(mpPdfButton);
    }
    if (vbMp3) {
        mpMp3Button = new QToolButton(mpControls);
        mpMp3Button->setObjectName(QStringLiteral("mp3Button"));
        mpMp3Button->setIcon(Resources::icon(QStringLiteral(":/icons/mp3.png")));
        mpMp3Button->setToolTip(asLength);
        mpMp3Button->setAutoRaise(true);
        // Pressed once: the recording is on its way or playing.
        connect(mpMp3Button, &QToolButton::clicked, this, [this] { startPlaying(mpMp3Button); });
        mpControls->addWidget(mpMp3Button);
    }
    mpLengthLabel = new QLabel(asLength, mpControls);
    mpLengthLabel->setObjectName(QStringLiteral("lengthLabel"));
    mpControls->addWidget(mpLengthLabel);
    retranslate();
    orderFocus();
}

void PageActions::orderFocus()
{
    // In the window, the page follows the tabs' bar.
    QList<QWidget *> vcChain;
    for (QWidget *vpParent = mpPage->parentWidget(); vpParent && vcChain.isEmpty();
         vpParent = vpParent->parentWidget())
        if (qobject_cast<QTabWidget *>(vpParent))
            vcChain << vpParent->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
    vcChain << FocusChain::toolBarControls(mpControls) << FocusChain::toolBarControls(mpPlayerBar)
            << QList<QWidget *>{mpPage->hitChart(), mpPage->leftView(), mpPage->rightView()};
    // The chart is made after the tools.
    vcChain.removeAll(nullptr);
    FocusChain::link(vcChain);
}

void PageActions::setResultPage(bool abResults)
{
    mpContextAction->setVisible(abResults);
}

void PageActions::retranslate()
{
    mpCopyAction->setText(TabArea::tr("Copy"));
    mpSelectAllAction->setText(TabArea::tr("Select all"));
    mpPrintAction->setText(TabArea::tr("Print"));
    mpSaveAction->setText(TabArea::tr("Save"));
    mpContextAction->setText(TabArea::tr("Context"));
    mpPlayAction->setText(TabArea::tr("Play or pause the recording"));
    mpCaptionButton->setToolTip(TabArea::tr("Hide Caption"));
    mpCaptionButton->setAccessibleName(TabArea::tr("Hide Caption"));
    mpShareButton->setToolTip(TabArea::tr("Share"));
    mpShareButton->setAccessibleName(TabArea::tr("Share"));
    mpShareMenu->setTitle(TabArea::tr("Share"));
    const QList<QAction *> vcServices = mpShareMenu->actions();
    for (int i = 0; i < vcServices.size(); ++i)
        vcServices.at(i)->setText(TabArea::tr(cServices[i].text));
    if (mpPdfButton) {
        mpPdfButton->setToolTip(TabArea::tr("Download pdf"));
        mpPdfButton->setAccessibleName(TabArea::tr("Download pdf"));
    }
    // Its tool tip, the recording's length, describes it.
    if (mpMp3Button)
        mpMp3Button->setAccessibleName(TabArea::tr("Play the recording"));
}

void PageActions::copy()
{
    // The right view copies last: when both have a selection its own stays.
    mpPage->leftView()->copy();
    mpPage->rightView()->copy();
}

void PageActions::selectAll()
{
    mpPage->leftView()->selectAll();
}

bool PageActions::chooseTexts(const QString &asQuestion, Texts *apTexts) const
{
    *apTexts = Texts::Left;
    if (!mpPage->rightView()->isVisible())
        return true;
    const QMessageBox::StandardButton vAnswer =
        ModalBox::question(mpPage, TabArea::tr("Translation"), asQuestion,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (vAnswer == QMessageBox::Cancel)
        return false;
    *apTexts = vAnswer == QMessageBox::Yes ? Texts::Both : Texts::Left;
    return true;
}

void PageActions::print()
{
    Texts vTexts = Texts::Left;
    if (!chooseTexts(TabArea::tr("Print the text and its translation side by side?"), &vTexts))
        return;
    QPrinter vPrinter(QPrinter::ScreenResolution);
    QPrintDialog vDialog(&vPrinter, mpPage);
    if (vDialog.exec() == QDialog::Accepted)
        printDocument(vPrinter, vTexts);
}

void PageActions::printDocument(QPrinter &aPrinter, Texts aTexts) const
{
    if (aTexts == Texts::Left) {
        mpPage->leftView()->document()->print(&aPrinter);
        return;
    }
    // A table of two columns, each paragraph beside its translation, as the
    // panes pair them.
    const QVector<ArticleRecord> &vcRecords = mpPage->articles();
    QTextDocument vDocument;
    vDocument.setDefaultFont(mpPage->leftView()->document()->defaultFont());
    QTextCursor vCursor(&vDocument);
    QTextTableFormat vFormat;
    vFormat.setCellPadding(4);
    vFormat.setBorder(0);
    vFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable *vpTable = vCursor.insertTable(qMax(1, vcRecords.size()), 2, vFormat);
    QTextCharFormat vCaption;
    vCaption.setFontWeight(QFont::Bold);
    for (int i = 0; i < vcRecords.size(); ++i) {
        const ArticleRecord &vRecord = vcRecords.at(i);
        const QString vcCells[2][2] = {{vRecord.msLeftTitle, vRecord.msLeftText},
                                       {vRecord.msRightTitle, vRecord.msRightText}};
        for (int vnColumn = 0; vnColumn < 2; ++vnColumn) {
            QTextCursor vCell = vpTable->cellAt(i, vnColumn).firstCursorPosition();
            vCell.insertText(vcCells[vnColumn][0], vCaption);
            vCell.insertBlock();
            vCell.insertText(vRecord.msNumber + QStringLiteral(" "), QTextCharFormat());
            vCell.insertHtml(vcCells[vnColumn][1]);
        }
    }
    vDocument.print(&aPrinter);
}

QString PageActions::plainText(Texts aTexts, bool abSelection) const
{
    if (aTexts == Texts::Left) {
        const QString vsSelected =
            abSelection ? mpPage->leftView()->textCursor().selection().toPlainText() : QString();
        return vsSelected.isEmpty() ? mpPage->leftView()->toPlainText() : vsSelected;
    }
    QStringList vcLines;
    for (const ArticleRecord &vRecord : mpPage->articles())
        vcLines << vRecord.msLeftTitle
                << vRecord.msNumber + QLatin1Char(' ') + PlainText::fromHtml(vRecord.msLeftText)
                << vRecord.msRightTitle
                << vRecord.msNumber + QLatin1Char(' ') + PlainText::fromHtml(vRecord.msRightText)
                << QString();
    return vcLines.join(QLatin1Char('\n'));
}

void PageActions::save()
{
    Texts vTexts = Texts::Left;
    if (!chooseTexts(
            TabArea::tr("Save the text and its translation one paragraph after the other?"),
            &vTexts))
        return;
    const QString vsPath =
        fileChooser()
            ? fileChooser()(mpPage)
            : QFileDialog::getSaveFileName(mpPage, TabArea::tr("Save file"), QStringLiteral("./"),
                                           TabArea::tr("Text (*.txt)"));
    if (vsPath.isEmpty())
        return;
    QString vsError;
    if (!saveText(vsPath, vTexts, &vsError))
        ModalBox::warning(mpPage, TabArea::tr("Save file"),
                          TabArea::tr("The file %1 could not be written: %2").arg(vsPath, vsError));
}

void PageActions::setFileChooser(FileChooser aChooser)
{
    fileChooser() = std::move(aChooser);
}

bool PageActions::saveText(const QString &asPath, Texts aTexts, QString *apError) const
{
    // Complete or untouched: a shorter text over a longer file leaves no
    // old tail, and a failed write leaves the old file as it was.
    QSaveFile vFile(asPath);
    const QByteArray vaText = plainText(aTexts, true).toUtf8();
    if (vFile.open(QIODevice::WriteOnly | QIODevice::Text) &&
        vFile.write(vaText) == vaText.size() && vFile.commit())
        return true;
    if (apError)
        *apError = vFile.errorString();
    return false;
}

bool PageActions::captionsHidden() const
{
    return mpCaptionButton->isChecked();
}

void PageActions::togglePlayback()
{
    if (mpPlayer && mpPlayerBar->isVisible())
        mpPlayer->togglePlayback();
}

void PageActions::showCaption()
{
    const bool vbHidden = mpCaptionButton->isChecked();
    formatCaptions(mpPage->leftView(), vbHidden);
    if (mpPage->rightView()->isVisible())
        formatCaptions(mpPage->rightView(), vbHidden);
}

void PageActions::formatCaptions(TextBrowser *apView, bool abHidden) const
{
    // Hidden captions keep their place and their anchors (the panes scroll
    // by them); they are drawn in the background colour at one point.
    const int vnSize = Application::settings()->value(QStringLiteral("fontSize"), 10).toInt();
    QTextCharFormat vFormat;
    vFormat.setForeground(abHidden ? apView->palette().color(QPalette::Base) : QColor(Qt::blue));
    vFormat.setFontPointSize(abHidden ? 1 : vnSize);
    QTextCursor vCursor(apView->document());
    vCursor.beginEditBlock();
    for (QTextBlock vBlock = apView->document()->begin(); vBlock.isValid();
         vBlock = vBlock.next()) {
        if (!isCaption(vBlock))
            continue;
        vCursor.setPosition(vBlock.position());
        vCursor.setPosition(vBlock.position() + vBlock.length() - 1, QTextCursor::KeepAnchor);
        vCursor.mergeCharFormat(vFormat);
    }
    vCursor.endEditBlock();
}

void PageActions::startPlaying(QToolButton *apButton)
{
    // The player shows the download's progress, so it is on show while the
    // recording is fetched; when there is nothing to play the page is left
    // as it was, and the button can be pressed again.
    const bool vbWasShown = mpPlayerBar->isVisible();
    if (apButton)
        apButton->setEnabled(false);
    // Made on first use: a media player per open page would cost every page
    // its start, and a missing media service would be reported for each.
    if (!mpPlayer) {
        mpPlayer = new Player(mpPlayerBar);
        mpPlayerBar->addWidget(mpPlayer);
        mpPlayerBar->addSeparator();
        orderFocus();
    }
    mpPlayerBar->show();
    // The download runs the event loop: the page may be closed meanwhile.
    const QPointer<PageActions> vpAlive(this);
    const QString vsUrl = Application::sharedOptions()->mediaUrl(mpPage->mp3File(), mpPlayer);
    if (!vpAlive)
        return;
    if (!vsUrl.isEmpty()) {
        mpPlayer->playUrl(vsUrl);
        return;
    }
    mpPlayerBar->setVisible(vbWasShown);
    if (apButton)
        apButton->setEnabled(true);
    reportMediaProblem();
}

void PageActions::reportMediaProblem() const
{
    const QString vsProblem = Application::sharedOptions()->mediaProblem();
    if (!vsProblem.isEmpty())
        ModalBox::warning(mpPage, mpPage->title(), vsProblem);
}

void PageActions::mp3()
{
    if (mpPage->mp3File() != QLatin1String("-"))
        startPlaying(nullptr);
}

void PageActions::pdf()
{
    if (mpPage->pdfFile() == QLatin1String("-"))
        return;
    const QPointer<PageActions> vpAlive(this);
    const QString vsPath = Application::sharedOptions()->mediaUrl(mpPage->pdfFile(), nullptr);
    if (!vpAlive)
        return;
    if (vsPath.isEmpty())
        reportMediaProblem();
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(vsPath)))
        ModalBox::warning(mpPage, mpPage->title(),
                          TabArea::tr("No program to show PDF files was found. The file is %1")
                              .arg(QDir::toNativeSeparators(vsPath)));
}

void PageActions::cursorPositionChanged()
{
    // The hit a result page's cursor stands in: the link of its caption,
    // the nearest one at or above the cursor's block.
    msContextLink.clear();
    if (!mpContextAction->isVisible())
        return;
    for (QTextBlock vBlock = mpPage->leftView()->textCursor().block(); vBlock.isValid();
         vBlock = vBlock.previous()) {
        if (isCaption(vBlock)) {
            msContextLink = vBlock.begin().fragment().charFormat().anchorHref();
            return;
        }
    }
}

void PageActions::goToContext()
{
    if (!msContextLink.isEmpty())
        mpPage->followLink(QUrl(msContextLink));
}

void PageActions::share()
{
    ShareItem vItem;
    vItem.setTitle(mpPage->title());
    QString vsText = mpPage->leftView()->textCursor().selection().toPlainText();
    if (vsText.isEmpty() && !mpPage->articles().isEmpty())
        vsText = PlainText::fromHtml(mpPage->articles().first().msLeftText);
    vItem.setText(vsText.trimmed());
    const QString vsService = sender() ? sender()->objectName() : QString();
    ShareManager *vpManager = Application::shareManager();
    if (vsService == QLatin1String("facebook"))
        vpManager->shareFacebook(&vItem);
    else if (vsService == QLatin1String("vk"))
        vpManager->shareVk(&vItem);
    else if (vsService == QLatin1String("gplus"))
        vpManager->shareGooglePlus(&vItem);
    else if (vsService == QLatin1String("twitter"))
        vpManager->shareTwitter(&vItem);
}
