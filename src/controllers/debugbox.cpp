#include "controllers/debugbox.h"

#include "controllers/logging.h"
#include "controllers/modalbox.h"

#include <QApplication>

namespace {

// The box is queued to the GUI thread even when the GUI thread itself logged:
// the line is often written in the middle of a data-store operation, and a
// modal loop there would run other events before that operation ends.
void raiseDebugBox(const QString &asText, const QMessageLogContext &aContext)
{
    auto *vpApp = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!vpApp)
        return;
    const QString vsBoxText =
        QStringLiteral("%0\n\nFile: %1\nFunction: %2\nLine: %3")
            .arg(asText, QString::fromUtf8(aContext.file ? aContext.file : ""),
                 QString::fromUtf8(aContext.function ? aContext.function : ""),
                 QString::number(aContext.line));
    QMetaObject::invokeMethod(
        vpApp,
        [vsBoxText]() { ModalBox::information(nullptr, QStringLiteral("Debug"), vsBoxText); },
        Qt::QueuedConnection);
}

} // namespace

namespace DebugBox {

void install()
{
    Logging::setSqlErrorNotice(raiseDebugBox);
    Logging::install();
}

} // namespace DebugBox
