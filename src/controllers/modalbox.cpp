#include "controllers/modalbox.h"

namespace {
ModalBox::Responder &responder()
{
    static ModalBox::Responder sResponder;
    return sResponder;
}
} // namespace

QMessageBox::StandardButton ModalBox::information(QWidget *apParent, const QString &asTitle,
                                                  const QString &asText,
                                                  QMessageBox::StandardButtons aButtons)
{
    return show(apParent, {QMessageBox::Information, asTitle, asText, aButtons});
}

QMessageBox::StandardButton ModalBox::warning(QWidget *apParent, const QString &asTitle,
                                              const QString &asText,
                                              QMessageBox::StandardButtons aButtons)
{
    return show(apParent, {QMessageBox::Warning, asTitle, asText, aButtons});
}

QMessageBox::StandardButton ModalBox::question(QWidget *apParent, const QString &asTitle,
                                               const QString &asText,
                                               QMessageBox::StandardButtons aButtons)
{
    return show(apParent, {QMessageBox::Question, asTitle, asText, aButtons});
}

QMessageBox::StandardButton ModalBox::show(QWidget *apParent, const Request &aRequest)
{
    if (responder())
        return responder()(aRequest);
    QMessageBox vBox(aRequest.icon, aRequest.title, aRequest.text, aRequest.buttons, apParent);
    return static_cast<QMessageBox::StandardButton>(vBox.exec());
}

void ModalBox::setResponder(Responder aResponder)
{
    responder() = std::move(aResponder);
}
