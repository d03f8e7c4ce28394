#include "cli/clilog.h"

#include "controllers/logging.h"

#include <QString>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<bool> gbVerbose{false};
std::atomic<bool> gbSqlError{false};

void handler(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText)
{
    const QString csMark = QStringLiteral("SQL Error:");
    if (asText.startsWith(csMark)) {
        gbSqlError = true;
        if (!gbVerbose)
            CliLog::error(
                QStringLiteral("database error: %0").arg(asText.mid(csMark.size()).trimmed()));
    }
    if (gbVerbose) {
        Logging::messageHandler(aType, aContext, asText);
        return;
    }
    if (aType == QtCriticalMsg || aType == QtFatalMsg)
        CliLog::error(asText);
    if (aType == QtFatalMsg)
        std::abort();
}

} // namespace

namespace CliLog {

void install(bool abVerbose)
{
    gbVerbose = abVerbose;
    gbSqlError = false;
    qInstallMessageHandler(handler);
}

bool sqlErrorSeen()
{
    return gbSqlError;
}

void error(const QString &asText)
{
    const QByteArray vaLine = QStringLiteral("quillmark-cli: %0\n").arg(asText).toUtf8();
    std::fwrite(vaLine.constData(), 1, static_cast<size_t>(vaLine.size()), stderr);
    std::fflush(stderr);
}

} // namespace CliLog
