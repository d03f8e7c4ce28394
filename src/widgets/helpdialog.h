#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QTextBrowser;

// The user guide with the program version, the date of the last data import
// and the organisation's link. The guide is the one written in the interface
// language, the English one where there is none. Modeless; it deletes itself
// when closed. Links open in the desktop's handler.
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HelpDialog(QWidget *parent = nullptr);
    ~HelpDialog() override;

    QTextBrowser *browser() const { return mpBrowser; }

    // The resource folder of the guide for an interface language (index.html
    // and its img/ folder).
    static QString guideFolder(const QString &asLanguage);

    // Where links go; the desktop's URL handler unless a test replaces it.
    static void setLinkHandler(std::function<void(const QUrl &)> aHandler);

private slots:
    void openLink(QUrl aUrl);

private:
    QTextBrowser *mpBrowser = nullptr;
};
