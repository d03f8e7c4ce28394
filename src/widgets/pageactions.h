#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Player;
class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QToolBar;
class QToolButton;
class TabArea;
class TextBrowser;

// The commands of a page: copy, select all, print, save, hiding the
// captions, the sermon's PDF and recording (with the player under the
// views), going from a hit to its context, and sharing a quote. They act on
// the page's views and records; the page decides where they show.
//
// Printing and saving run their dialogs; printDocument() and saveText() do
// the work without them, so that both can be driven directly. With a
// translation beside the text, both offer the two texts side by side.
class PageActions : public QObject
{
    Q_OBJECT

public:
    enum class Texts
    {
        Left, // the page's own text
        Both  // the text and its translation, paragraph against paragraph
    };

    PageActions(TabArea *apPage, QToolBar *apControls, QToolBar *apPlayerBar);

    // Copy, Select all, Print, Save and the caption button, in that order,
    // each followed by a separator.
    void addEditingTools();
    // The share button with the services' menu.
    void addShareTool();
    // What the views' context menus hold.
    QList<QAction *> viewActions() const;
    // A sermon document's PDF and MP3 buttons (when it has them) and its
    // length; once per page.
    void addMediaButtons(const QString &asPdf, const QString &asMp3, const QString &asLength);
    // The Context action is for result pages only.
    void setResultPage(bool abResults);

    // The hit whose paragraph the left view's cursor is in, as the link that
    // opens it; empty when there is none.
    QString contextLink() const { return msContextLink; }
    bool captionsHidden() const;

    bool saveText(const QString &asPath, Texts aTexts, QString *apError = nullptr) const;
    // Where save() asks for the file name; an empty chooser restores the
    // file dialog. Tests answer it instead of a modal dialog.
    using FileChooser = std::function<QString(QWidget *apParent)>;
    static void setFileChooser(FileChooser aChooser);
    void printDocument(QPrinter &aPrinter, Texts aTexts) const;
    // The page's player, made when the recording is first asked for.
    Player *player() const { return mpPlayer; }
    void retranslate();
    // Tab goes through the tool bar, the player and the views, as they
    // show; again whenever a control is added.
    void orderFocus();

public slots:
    void copy();
    void selectAll();
    void print();
    void save();
    void showCaption();
    void mp3();
    void pdf();
    void goToContext();
    void share();
    void cursorPositionChanged();
    void togglePlayback();

private:
    // With a translation open, asks whether both texts are meant; false when
    // the reader cancelled.
    bool chooseTexts(const QString &asQuestion, Texts *apTexts) const;
    QString plainText(Texts aTexts, bool abSelection) const;
    void startPlaying(QToolButton *apButton);
    // Why a PDF or recording could not be had, unless the reader was told.
    void reportMediaProblem() const;
    void formatCaptions(TextBrowser *apView, bool abHidden) const;

    TabArea *mpPage = nullptr;
    QToolBar *mpControls = nullptr;
    QToolBar *mpPlayerBar = nullptr;
    Player *mpPlayer = nullptr;
    QAction *mpCopyAction = nullptr;
    QAction *mpSelectAllAction = nullptr;
    QAction *mpPrintAction = nullptr;
    QAction *mpSaveAction = nullptr;
    QAction *mpContextAction = nullptr;
    QAction *mpPlayAction = nullptr;
    QToolButton *mpCaptionButton = nullptr;
    QToolButton *mpShareButton = nullptr;
    QMenu *mpShareMenu = nullptr;
    QToolButton *mpPdfButton = nullptr;
    QToolButton *mpMp3Button = nullptr;
    QLabel *mpLengthLabel = nullptr;
    QString msContextLink;
};
