#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every message box the program shows goes through this one seam. In the
// program it opens a real modal QMessageBox; tests install a responder that
// records each request and answers it, so that no test ever waits on a box.
class ModalBox
{
public:
    struct Request
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    };
    using Responder = std::function<QMessageBox::StandardButton(const Request &)>;

    static QMessageBox::StandardButton
    information(QWidget *apParent, const QString &asTitle, const QString &asText,
                QMessageBox::StandardButtons aButtons = QMessageBox::Ok);
    static QMessageBox::StandardButton
    warning(QWidget *apParent, const QString &asTitle, const QString &asText,
            QMessageBox::StandardButtons aButtons = QMessageBox::Ok);
    static QMessageBox::StandardButton
    question(QWidget *apParent, const QString &asTitle, const QString &asText,
             QMessageBox::StandardButtons aButtons = QMessageBox::Yes | QMessageBox::No);
    static QMessageBox::StandardButton show(QWidget *apParent, const Request &aRequest);

    // Replaces the real box; an empty responder restores it. GUI thread only.
    static void setResponder(Responder aResponder);
};
