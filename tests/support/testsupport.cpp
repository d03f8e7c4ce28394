#include "support/testsupport.h"

#include "widgets/mainwindow.h"

#include "controllers/application.h"
#include "controllers/debugbox.h"
#include "controllers/logging.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "views/treeview.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardItemModel>

#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <memory>

#include <unistd.h>

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

SmallDisk::SmallDisk(const QString &asFolder, int anKiB) : msFolder(asFolder)
{
    if (geteuid() != 0)
        msProblem = QStringLiteral("mounting a small file system needs root");
    else if (!QDir().mkpath(asFolder) ||
             TestSupport::runProgram(QStringLiteral("mount"),
                                     {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                      QStringLiteral("-o"), QStringLiteral("size=%1k").arg(anKiB),
                                      QStringLiteral("tmpfs"), asFolder})
                     .mnStatus != 0)
        msProblem = QStringLiteral("no small file system can be mounted here");
}

SmallDisk::~SmallDisk()
{
    if (msProblem.isEmpty())
        TestSupport::runProgram(QStringLiteral("umount"), {QStringLiteral("-l"), msFolder});
}

namespace TestSupport {
QList<QStringList> ProgramRun::rows(const QString &asKind) const
{
    QList<QStringList> vcRows;
    for (const QString &vsLine : outLines()) {
        QStringList vcFields = vsLine.split('\t');
        if (vcFields.takeFirst() == asKind)
            vcRows << vcFields;
    }
    return vcRows;
}

QString ProgramRun::describe() const
{
    return QString("status %1\n--- out\n%2--- err\n%3").arg(mnStatus).arg(msOut, msErr);
}

ProgramRun runProgram(const QString &asProgram, const QStringList &acArguments)
{
    QProcess vProcess;
    vProcess.start(asProgram, acArguments);
    const bool vbFinished =
        vProcess.waitForFinished(120000) && vProcess.exitStatus() == QProcess::NormalExit;
    return {vbFinished ? vProcess.exitCode() : -1,
            QString::fromUtf8(vProcess.readAllStandardOutput()),
            QString::fromUtf8(vProcess.readAllStandardError())};
}

void initProcess()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    DebugBox::install();
    Resources::registerAll();
    // Only the loopback server may ever be reached, whatever the environment says.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
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

QStringList fileRows(const QString &asFile, const QString &asStatement)
{
    const QString vsName = QStringLiteral("fileRows");
    QStringList vcRows;
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), vsName);
        vDatabase.setDatabaseName(asFile);
        QSqlQuery vQuery(vDatabase);
        if (!vDatabase.open() || !vQuery.exec(asStatement))
            vcRows << QStringLiteral("failed: ") + vQuery.lastError().text() +
                          QStringLiteral(" in ") + asStatement;
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

QStringList readRows(const QString &asLanguage, const QString &asStatement)
{
    return fileRows(Application::dataPath() + QStringLiteral("/kvr_main_%0.sqlite").arg(asLanguage),
                    asStatement);
}

QString sqlText(const QString &asValue)
{
    return QLatin1Char('\'') + QString(asValue).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

Database *filledDatabase(const QStringList &acStatements)
{
    Application::sharedOptions();
    Database *vpDatabase = Application::database();
    if (!vpDatabase->execQuery(acStatements))
        qWarning("could not fill the test database");
    return vpDatabase;
}

QStringList sermonStatements(const QString &asDate, const QString &asName,
                             const QStringList &acParagraphs, const QString &asTranslator,
                             const QString &asPlace, int anDocId, const QString &asMp3)
{
    QStringList vcStatements{
        QStringLiteral("INSERT INTO quotes (%1date, name, translator, pdf, mp3, length, place) "
                       "VALUES (%2%3, %4, %5, 'a.pdf', %6, '1:02', %7);")
            .arg(anDocId ? QStringLiteral("docid, ") : QString(),
                 anDocId ? QString::number(anDocId) + QStringLiteral(", ") : QString(),
                 sqlText(asDate), sqlText(asName), sqlText(asTranslator), sqlText(asMp3),
                 sqlText(asPlace))};
    for (int i = 0; i < acParagraphs.size(); ++i)
        vcStatements << QStringLiteral("INSERT INTO paragraphs (id, date, text) VALUES "
                                       "('E-%1', %2, %3);")
                            .arg(QString::number(i + 1), sqlText(asDate),
                                 sqlText(acParagraphs.at(i)));
    return vcStatements;
}

QList<QStandardItem *> catalogueItems(const TreeView *apTree)
{
    QList<QStandardItem *> vcItems;
    const QStandardItemModel *vpModel = apTree->itemModel();
    for (int r = 0; r < vpModel->rowCount(); ++r)
        for (int c = 0; c < vpModel->item(r)->rowCount(); ++c)
            vcItems << vpModel->item(r)->child(c);
    return vcItems;
}

QStringList catalogueOutline(const TreeView &aTree)
{
    auto describe = [](const QStandardItem *apItem) {
        return QString("%1 [%2]%3")
            .arg(apItem->text(), apItem->whatsThis(), apItem->font().italic() ? " /i" : "");
    };
    QStringList vcGroups;
    const QStandardItemModel *vpModel = aTree.itemModel();
    for (int vnRow = 0; vnRow < vpModel->rowCount(); ++vnRow) {
        const QStandardItem *vpTop = vpModel->item(vnRow);
        QStringList vcItems;
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild)
            vcItems << describe(vpTop->child(vnChild));
        vcGroups << describe(vpTop) + (vcItems.isEmpty() ? "" : ": " + vcItems.join(", "));
    }
    return vcGroups;
}

QByteArray readFile(const QString &asPath)
{
    QFile vFile(asPath);
    return vFile.open(QIODevice::ReadOnly) ? vFile.readAll() : QByteArray();
}

bool writeFile(const QString &asPath, const QByteArray &aContent)
{
    QDir().mkpath(QFileInfo(asPath).path());
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
std::unique_ptr<MainWindow> shownWindow()
{
    auto vpWindow = std::make_unique<MainWindow>();
    vpWindow->resize(1000, 700);
    vpWindow->show();
    QApplication::setActiveWindow(vpWindow.get());
    if (!QTest::qWaitForWindowExposed(vpWindow.get()) ||
        !QTest::qWaitForWindowActive(vpWindow.get()) || !settle())
        return nullptr;
    return vpWindow;
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
