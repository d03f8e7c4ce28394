#pragma once

#include <QDialog>
#include <QUrl>

class QLineEdit;
class QTextEdit;

// Asks the reader to confirm a share: shows the quote and the link that is
// about to open in the browser (which can also be copied from here). Yes
// accepts, No rejects.
class ShareDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShareDialog(QWidget *parent = nullptr);
    ~ShareDialog() override;

    void setText(const QString &asText);
    void setUrl(const QUrl &aUrl);

private:
    QTextEdit *mpQuote = nullptr;
    QLineEdit *mpLink = nullptr;
};
