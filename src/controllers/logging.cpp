#include "controllers/logging.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
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

std::atomic<Logging::SqlErrorNotice> &sqlErrorNotice()
{
    static std::atomic<Logging::SqlErrorNotice> sNotice{nullptr};
    return sNotice;
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
        if (const Logging::SqlErrorNotice vNotice = sqlErrorNotice().load())
            vNotice(asText, aContext);
    if (aType == QtFatalMsg)
        std::abort();
}

void setSqlErrorNotice(SqlErrorNotice aNotice)
{
    sqlErrorNotice() = aNotice;
}

void setLineObserver(std::function<void(const QString &)> aObserver)
{
    QMutexLocker vLock(&outputMutex());
    observer() = std::move(aObserver);
}

} // namespace Logging
