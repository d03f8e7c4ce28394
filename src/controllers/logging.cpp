#include "controllers/logging.h"

#include "controllers/modalbox.h"

#include <QApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

QMutex &outputMutex()
{
    static QMutex sMutex;
    return sMutex;
}

std::function<void(const QString &)> &observer()
{
    static std::function<void(const QString &)> sObserver;
    return sObserver;
}

QString prefixFor(QtMsgType aType)
{
    switch (aType) {
    case QtWarningMsg:
        return QStringLiteral("(WW)");
    case QtCriticalMsg:
        return QStringLiteral("(CC)");
    case QtFatalMsg:
        return QStringLiteral("(FF)");
    case QtDebugMsg:
    case QtInfoMsg:
        break;
    }
    return QStringLiteral("(II)");
}

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

namespace Logging {

void install()
{
    qInstallMessageHandler(messageHandler);
}

QString formatLine(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText)
{
    return QStringLiteral("%1 %2 (%3:%4, %5)")
        .arg(prefixFor(aType), asText, QString::fromUtf8(aContext.file ? aContext.file : ""),
             QString::number(aContext.line),
             QString::fromUtf8(aContext.function ? aContext.function : ""));
}

void messageHandler(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText)
{
    const QString vsLine = formatLine(aType, aContext, asText);
    const QByteArray vaUtf8 = vsLine.toUtf8() + '\n';
    std::function<void(const QString &)> vObserver;
    {
        QMutexLocker vLock(&outputMutex());
        std::fwrite(vaUtf8.constData(), 1, static_cast<size_t>(vaUtf8.size()), stderr);
        std::fflush(stderr);
        vObserver = observer();
    }
    if (vObserver)
        vObserver(vsLine);
    if (vsLine.contains(QLatin1String("SQL Error:")))
        raiseDebugBox(asText, aContext);
    if (aType == QtFatalMsg)
        std::abort();
}

void setLineObserver(std::function<void(const QString &)> aObserver)
{
    QMutexLocker vLock(&outputMutex());
    observer() = std::move(aObserver);
}

} // namespace Logging
