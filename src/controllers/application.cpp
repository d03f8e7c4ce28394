#include "controllers/application.h"

#include "controllers/archiveunpacker.h"
#include "controllers/downloadmanager.h"
#include "controllers/folderenvironment.h"
#include "controllers/modalbox.h"
#include "controllers/programfolder.h"
#include "controllers/sharedoptions.h"
#include "controllers/sharemanager.h"
#include "models/database.h"
#include "widgets/importsplashscreen.h"
#include "widgets/mainwindow.h"
#include "widgets/sharedialog.h"
#include "widgets/updatedialog.h"

#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTextCodec>
#include <QThread>

namespace {

struct Singletons
{
    SharedOptions *mpSharedOptions = nullptr;
    ShareManager *mpShareManager = nullptr;
    Database *mpDatabase = nullptr;
    QThread *mpDatabaseThread = nullptr;
};

Singletons &singletons()
{
    static Singletons sSingletons;
    return sSingletons;
}

// The data store's view of the application: the folder's files and
// settings, with the page sizes the shared options hold.
class ApplicationEnvironment : public FolderEnvironment
{
public:
    int paragraphsPerPage() const override
    {
        return Application::sharedOptions()->paragraphCount();
    }
    int versesPerPage() const override { return Application::sharedOptions()->versesCount(); }
};

} // namespace

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(tr("KVR"));
    setApplicationDisplayName(tr("Quillmark"));
    setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    setOrganizationDomain(QStringLiteral("quillmark.example.org"));
    setOrganizationName(tr("Quillmark"));

    QDir::setCurrent(applicationDirectory());
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    sharedOptions();
}

Application::~Application()
{
    // The main window saves its layout when it is destroyed, so it must go
    // while the settings still exist.
    mpMainWindow.reset();
    releaseSingletons();
}

void Application::start()
{
    setSettingsFileReadOnly();
    applyStyle();
    if (!Database::databaseExists(databaseFilePath()))
        settings()->setValue(QStringLiteral("Version-") + sharedOptions()->dataLanguage(), 0);
    checkForUpdates();
    unpackWaitingArchives();
}

bool Application::showMainWindow()
{
    mpMainWindow = std::make_unique<MainWindow>();
    mpMainWindow->setObjectName(QStringLiteral("vpWindow"));

    const bool vbImported = waitForStartupImport();
    setSettingsFileWritable();
    if (vbImported) {
        // The reader starts the program again on the new data; what the
        // import changed ("DataLanguage", "DatabaseLastUpdated") is written
        // now that the file may be written.
        settings()->sync();
        qDebug() << "Update files imported; the program ends so that it starts on the new data";
        return false;
    }
    mpMainWindow->installEventFilter(this);
    mpMainWindow->showMaximized();
    return true;
}

bool Application::eventFilter(QObject *apWatched, QEvent *apEvent)
{
    // One line when the window first paints: start-up time can be read off the log.
    if (apWatched == mpMainWindow.get() && apEvent->type() == QEvent::Paint) {
        mpMainWindow->removeEventFilter(this);
        qDebug() << "Main window painted";
    }
    return QApplication::eventFilter(apWatched, apEvent);
}

void Application::applyStyle()
{
    // Older settings name styles this Qt no longer has; the default one stays then.
    const QString vsStyle =
        settings()->value(QStringLiteral("style"), QStringLiteral("Cleanlooks")).toString();
    if (QStyleFactory::keys().contains(vsStyle, Qt::CaseInsensitive))
        setStyle(vsStyle);
    else
        qDebug().noquote() << "Style not available, the default one is used:" << vsStyle;

    const QString vsName = settings()
                               ->value(QStringLiteral("styleSheet"), QStringLiteral("default"))
                               .toString()
                               .toLower();
    QFile vFile(QStringLiteral("%0/%1.qss").arg(stylePath(), vsName));
    QString vsStyleSheet;
    if (vFile.open(QIODevice::ReadOnly))
        vsStyleSheet = QString::fromUtf8(vFile.readAll());
    setStyleSheet(vsStyleSheet);
}

void Application::checkForUpdates()
{
    const QString vsBase = updateServerBase();
    if (vsBase.isEmpty()) {
        qDebug() << "No update server configured (UpdateServer); version check skipped";
        return;
    }
    DownloadManager vManager;
    // The dialog runs modally inside the handling of the version list.
    connect(&vManager, &DownloadManager::updatesAvailable, this, [](const QStringList &acFiles) {
        UpdateDialog vDialog;
        vDialog.showUpdates(acFiles);
    });
    vManager.setUrl(QStringLiteral("%0/version.txt").arg(vsBase));
    QEventLoop vLoop;
    connect(&vManager, &DownloadManager::done, &vLoop, &QEventLoop::quit);
    connect(&vManager, &DownloadManager::downloadingProgress, &vLoop,
            [](qint64 anReceived, qint64 anTotal) { qDebug() << anReceived << anTotal; });
    vManager.download(DownloadManager::VersionList);
    vLoop.exec();
}

void Application::unpackWaitingArchives()
{
    const QStringList vcFiles =
        QDir(importPath()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Unsorted);
    bool vbFirst = true;
    for (const QString &vsName : vcFiles) {
        processEvents();
        if (ArchiveUnpacker::extractNamedEntry(importPath() + QStringLiteral("/") + vsName))
            qDebug() << "Unpack successful";
        else
            qDebug() << "Unpack failed";
        processEvents();
        if (vbFirst) {
            vbFirst = false;
            ModalBox::information(nullptr, QString(),
                                  tr("База будет обновлена, программа закроется автоматически"));
        }
    }
}

bool Application::waitForStartupImport()
{
    // The import runs on the data store's thread; this thread shows its
    // progress and keeps painting while it waits.
    Database *vpDatabase = database();
    ImportSplashScreen vSplash;
    QEventLoop vLoop;
    int vnImported = 0;
    connect(vpDatabase, &Database::importStarted, &vSplash, &ImportSplashScreen::showCentred);
    connect(vpDatabase, &Database::totalUpdated, &vSplash, &ImportSplashScreen::updateOverall);
    connect(vpDatabase, &Database::currentUpdated, &vSplash, &ImportSplashScreen::updateCurrent);
    connect(vpDatabase, &Database::importCompleted, &vLoop,
            [&vnImported](int anImported, int /*anSetAside*/) { vnImported = anImported; });
    connect(vpDatabase, &Database::importFinished, &vLoop, &QEventLoop::quit);
    connect(this, &Application::startImportPicked, vpDatabase, &Database::importSql,
            Qt::UniqueConnection);
    emit startImportPicked();
    vLoop.exec();
    vSplash.hide();
    return vnImported > 0;
}

QSettings *Application::settings()
{
    return ProgramFolder::settings();
}

SharedOptions *Application::sharedOptions()
{
    if (!singletons().mpSharedOptions)
        singletons().mpSharedOptions = new SharedOptions(nullptr);
    return singletons().mpSharedOptions;
}

ShareManager *Application::shareManager()
{
    ShareManager *&vpManager = singletons().mpShareManager;
    if (!vpManager) {
        vpManager = new ShareManager(nullptr);
        vpManager->setConfirmation([](const QString &asText, const QUrl &aUrl) {
            ShareDialog vDialog;
            vDialog.setText(asText);
            vDialog.setUrl(aUrl);
            return vDialog.exec() == QDialog::Accepted;
        });
    }
    return vpManager;
}

Database *Application::database()
{
    Singletons &vSingletons = singletons();
    if (!vSingletons.mpDatabase) {
        const QString vsLanguage =
            settings()->value(QStringLiteral("DataLanguage"), tr("ru")).toString();
        vSingletons.mpDatabaseThread = new QThread;
        vSingletons.mpDatabaseThread->setObjectName(QStringLiteral("database"));
        vSingletons.mpDatabase = new Database(vsLanguage, *storeEnvironment());
        vSingletons.mpDatabase->moveToThread(vSingletons.mpDatabaseThread);
        vSingletons.mpDatabaseThread->start(QThread::InheritPriority);
    }
    return vSingletons.mpDatabase;
}

const StoreEnvironment *Application::storeEnvironment()
{
    static const ApplicationEnvironment scEnvironment;
    return &scEnvironment;
}

void Application::releaseSingletons()
{
    Singletons &vSingletons = singletons();
    // The thread stops first: a search still running there reads the shared
    // options.
    if (vSingletons.mpDatabaseThread) {
        vSingletons.mpDatabaseThread->quit();
        vSingletons.mpDatabaseThread->wait();
    }
    delete vSingletons.mpSharedOptions;
    vSingletons.mpSharedOptions = nullptr;
    delete vSingletons.mpShareManager;
    vSingletons.mpShareManager = nullptr;
    // The thread has ended, so nothing runs on the data store any more and it
    // can be destroyed here; this closes its connection cleanly.
    delete vSingletons.mpDatabase;
    vSingletons.mpDatabase = nullptr;
    delete vSingletons.mpDatabaseThread;
    vSingletons.mpDatabaseThread = nullptr;
    ProgramFolder::releaseSettings();
}

QString Application::applicationDirectory()
{
    return ProgramFolder::applicationDirectory();
}

void Application::setApplicationDirectory(const QString &asPath)
{
    ProgramFolder::setApplicationDirectory(asPath);
}

QString Application::settingsFilePath()
{
    return ProgramFolder::settingsFilePath();
}

void Application::setSettingsFilePath(const QString &asPath)
{
    ProgramFolder::setSettingsFilePath(asPath);
}

QString Application::sqlPath()
{
    return ProgramFolder::sqlPath();
}

QString Application::importPath()
{
    return ProgramFolder::importPath();
}

QString Application::dataPath()
{
    return ProgramFolder::dataPath();
}

QString Application::assetPath()
{
    return ProgramFolder::assetPath();
}

QString Application::stylePath()
{
    return ProgramFolder::stylePath();
}

QString Application::databaseFilePath()
{
    return databaseFilePath(
        settings()->value(QStringLiteral("DataLanguage"), QStringLiteral("ru")).toString());
}

QString Application::databaseFilePath(const QString &asLanguage)
{
    return ProgramFolder::databaseFilePath(asLanguage);
}

QString Application::updateServerBase()
{
    const QString vsHost = settings()->value(QStringLiteral("UpdateServer")).toString().trimmed();
    if (vsHost.isEmpty())
        return QString();
    return QStringLiteral("http://%0/zudoru26").arg(vsHost);
}

void Application::setSettingsFileReadOnly()
{
    QFile::setPermissions(settingsFilePath(), QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

void Application::setSettingsFileWritable()
{
    // Owner only: other users of the machine have no business changing it.
    QFile::setPermissions(settingsFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser);
}
