#include "cli/clilog.h"

#include "controllers/logging.h"

#include <QString>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<bool> gbVerbose{false};
std::atomic<bool> gbSqlError{false};
std::atomic<bool> gbFileProblem{false};
// Written and read on the thread that runs the commands.
QString gsFileProblem;

void handler(QtMsgType aType, const QMessageLogContext &aContext, const QString &asText)
{
    // A damaged or locked file fails every statement the same way: the
    // session says it once, naming the file, when the command ends.
    const QString csFileMark = QStringLiteral("Database file problem:");
    if (asText.startsWith(csFileMark)) {
        gbSqlError = true;
        if (!gbFileProblem.exchange(true))
            gsFileProblem = asText.mid(csFileMark.size()).trimmed();
    }
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

QString takeFileProblem()
{
    if (!gbFileProblem.exchange(false))
        return QString();
    return gsFileProblem;
}

void error(const QString &asText)
{
    const QByteArray vaLine = QStringLiteral("quillmark-cli: %0\n").arg(asText).toUtf8();
    std::fwrite(vaLine.constData(), 1, static_cast<size_t>(vaLine.size()), stderr);
    std::fflush(stderr);
}

} // namespace CliLog
