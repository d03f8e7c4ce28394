#include "fuzzsupport.h"

#include "controllers/application.h"
#include "sqlite/sqliteicu.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextCodec>

#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {

QTemporaryDir *gpTempDir = nullptr;

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
    // The program logs every refused input; at thousands of inputs a second
    // the log would cost more than the code under test.
}

} // namespace

void init()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int snArgc = 1;
    static char sArgv0[] = "fuzz";
    static char *spArgv[] = {sArgv0, nullptr};
    new QGuiApplication(snArgc, spArgv);
    qInstallMessageHandler(quiet);
    SqliteIcu::install();
    gpTempDir = new QTemporaryDir;
    Application::setApplicationDirectory(gpTempDir->path());
}

void shutdown()
{
    // The settings are written back when they go, so before their folder.
    Application::releaseSingletons();
    delete gpTempDir;
    gpTempDir = nullptr;
    delete QCoreApplication::instance();
}

QString tempPath()
{
    init();
    return gpTempDir->path();
}

QString decode(const uint8_t *apData, size_t anSize, bool abWindows1251)
{
    const char *vpChars = reinterpret_cast<const char *>(apData);
    if (abWindows1251)
        return QTextCodec::codecForName("windows-1251")->toUnicode(vpChars, int(anSize));
    return QString::fromUtf8(vpChars, int(anSize));
}

QStringList fields(const QString &asText, int anCount)
{
    QStringList vcFields = asText.split(QChar(0x241E));
    while (vcFields.size() > anCount)
        vcFields[anCount - 1] += QChar(0x241E) + vcFields.takeAt(anCount);
    while (vcFields.size() < anCount)
        vcFields.append(QString());
    return vcFields;
}

void fail(const char *apCondition, const char *apFile, int anLine, const QString &asDetail)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", apFile, anLine, apCondition,
                 asDetail.toUtf8().constData());
    std::abort();
}

} // namespace FuzzSupport
