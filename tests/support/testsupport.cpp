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

bool settle()
{
    return roundTrip() && roundTrip() && roundTrip();
}

QStringList readRows(const QString &asLanguage, const QString &asStatement)
{
    const QString vsName = QStringLiteral("readRows");
    QStringList vcRows;
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), vsName);
        vDatabase.setDatabaseName(Application::dataPath() +
                                  QStringLiteral("/kvr_main_%0.sqlite").arg(asLanguage));
        QSqlQuery vQuery(vDatabase);
        if (vDatabase.open() && !vQuery.exec(asStatement))
            vcRows << QStringLiteral("failed: ") + asStatement;
        while (vQuery.next()) {
            QStringList vcColumns;
            for (int i = 0; i < vQuery.record().count(); ++i)
                vcColumns << vQuery.value(i).toString();
            vcRows << vcColumns.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(vsName);
    return vcRows;
}

QByteArray readFile(const QString &asPath)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::ReadOnly) ? vFile.readAll() : QByteArray();
}

bool writeFile(const QString &asPath, const QByteArray &aContent)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::WriteOnly) && vFile.write(aContent) == aContent.size();
}

QByteArray sampleBytes(int anSize)
{
    QByteArray vBytes(anSize, '\0');
    for (int i = 0; i < anSize; ++i)
        vBytes[i] = char((i * 7 + i / 251) % 256);
    return vBytes;
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

QStringList LogCapture::linesContaining(const QString &asText) const
{
    QMutexLocker vLock(&mMutex);
    QStringList vcResult;
    for (const QString &vsLine : mcLines)
        if (vsLine.contains(asText))
            vcResult.append(vsLine);
    return vcResult;
}
