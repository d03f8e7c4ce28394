#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/logging.h"
#include "controllers/resources.h"
#include "models/database.h"

#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <memory>

namespace {
std::atomic<int> gnUnexpectedBoxes{0};

QMessageBox::StandardButton reportUnexpectedBox(const ModalBox::Request &aRequest)
{
    ++gnUnexpectedBoxes;
    std::fprintf(stderr, "FAIL: unexpected message box \"%s\": %s\n",
                 qUtf8Printable(aRequest.title), qUtf8Printable(aRequest.text));
    return QMessageBox::Cancel;
}
} // namespace

namespace TestSupport {
void initProcess()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Logging::install();
    Resources::registerAll();
    ModalBox::setResponder(reportUnexpectedBox);
}

int unexpectedBoxes()
{
    return gnUnexpectedBoxes.load();
}

bool roundTrip()
{
    auto vpDone = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(
        Application::database(),
        [vpDone] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [vpDone] { *vpDone = true; }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return QTest::qWaitFor([&vpDone] { return vpDone->load(); }, 20000);
}

QStringList readRows(const QString &asLanguage, const QString &asStatement)
{
    const QString vsName = QStringLiteral("readRows");
    QStringList vcRows;
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), vsName);
        vDatabase.setDatabaseName(Application::dataPath() +
                                  QStringLiteral("/kvr_main_%0.sqlite").arg(asLanguage));
        if (vDatabase.open()) {
            QSqlQuery vQuery(vDatabase);
            if (vQuery.exec(asStatement)) {
                while (vQuery.next()) {
                    QStringList vcColumns;
                    for (int i = 0; i < vQuery.record().count(); ++i)
                        vcColumns << vQuery.value(i).toString();
                    vcRows << vcColumns.join(QLatin1Char('|'));
                }
            } else {
                vcRows << QStringLiteral("failed: ") + asStatement;
            }
        }
        vDatabase.close();
    }
    QSqlDatabase::removeDatabase(vsName);
    return vcRows;
}

int fileMode(const QString &asPath)
{
    struct stat vStat;
    if (::stat(QFile::encodeName(asPath).constData(), &vStat) != 0)
        return -1;
    return static_cast<int>(vStat.st_mode & 07777);
}
} // namespace TestSupport

TempAppDir::TempAppDir(const QMap<QString, QVariant> &acSettings)
{
    Application::releaseSingletons();
    Application::setApplicationDirectory(mDir.path());
    if (!acSettings.isEmpty())
        writeSettings(acSettings);
}

TempAppDir::~TempAppDir()
{
    Application::releaseSingletons();
    Application::setApplicationDirectory(QString());
}

QString TempAppDir::path() const
{
    return mDir.path();
}

QString TempAppDir::filePath(const QString &asRelative) const
{
    return mDir.filePath(asRelative);
}

void TempAppDir::writeSettings(const QMap<QString, QVariant> &acSettings)
{
    QSettings vSettings(filePath(QStringLiteral("setting.ini")), QSettings::IniFormat);
    vSettings.setIniCodec("UTF-8");
    for (auto it = acSettings.cbegin(); it != acSettings.cend(); ++it)
        vSettings.setValue(it.key(), it.value());
    vSettings.sync();
}

BoxRecorder::BoxRecorder(QMessageBox::StandardButton aAnswer) : mAnswer(aAnswer)
{
    ModalBox::setResponder([this](const ModalBox::Request &aRequest) {
        mcRequests.append(aRequest);
        return mAnswer;
    });
}

BoxRecorder::~BoxRecorder()
{
    ModalBox::setResponder(reportUnexpectedBox);
}

QList<ModalBox::Request> BoxRecorder::requests() const
{
    return mcRequests;
}

int BoxRecorder::count() const
{
    return mcRequests.size();
}

LogCapture::LogCapture()
{
    // The test framework puts its own handler in place while tests run; the
    // program's handler is what is under test here.
    mPreviousHandler = qInstallMessageHandler(Logging::messageHandler);
    Logging::setLineObserver([this](const QString &asLine) {
        QMutexLocker vLock(&mMutex);
        mcLines.append(asLine);
    });
}

LogCapture::~LogCapture()
{
    Logging::setLineObserver({});
    qInstallMessageHandler(mPreviousHandler);
}

QStringList LogCapture::lines() const
{
    QMutexLocker vLock(&mMutex);
    return mcLines;
}

QStringList LogCapture::linesContaining(const QString &asText) const
{
    QMutexLocker vLock(&mMutex);
    QStringList vcResult;
    for (const QString &vsLine : mcLines)
        if (vsLine.contains(asText))
            vcResult.append(vsLine);
    return vcResult;
}
