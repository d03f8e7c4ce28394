#include "controllers/programfolder.h"

#include "controllers/userfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QThreadStorage>

namespace {

struct Paths
{
    QString msApplicationDirectory;
    QString msSettingsFilePath;
};

Paths &paths()
{
    static Paths sPaths;
    return sPaths;
}

QThreadStorage<QSettings *> &threadSettings()
{
    static QThreadStorage<QSettings *> sStorage;
    return sStorage;
}

QString ensureDirectory(const QString &asPath)
{
    if (!QDir(asPath).exists())
        QDir().mkpath(asPath);
    return asPath;
}

} // namespace

namespace ProgramFolder {

QString applicationDirectory()
{
    QString &vsDirectory = paths().msApplicationDirectory;
    // Resolved once the executable's folder is known (there is an
    // application object), and kept: the first start of an installed
    // program seeds the reader's folder here.
    if (vsDirectory.isEmpty() && QCoreApplication::instance()) {
        const QString vsExecutable = QCoreApplication::applicationDirPath();
        vsDirectory = UserFolder::isInstalled(vsExecutable)
                          ? UserFolder::prepare(UserFolder::templateFolder(vsExecutable))
                          : vsExecutable;
    }
    return vsDirectory;
}

void setApplicationDirectory(const QString &asPath)
{
    paths().msApplicationDirectory = asPath;
}

QString settingsFilePath()
{
    const QString &vsPath = paths().msSettingsFilePath;
    return vsPath.isEmpty() ? applicationDirectory() + QStringLiteral("/setting.ini") : vsPath;
}

void setSettingsFilePath(const QString &asPath)
{
    paths().msSettingsFilePath = asPath;
}

QSettings *settings()
{
    QSettings *vpSettings = threadSettings().localData();
    if (!vpSettings || vpSettings->fileName() != settingsFilePath()) {
        vpSettings = new QSettings(settingsFilePath(), QSettings::IniFormat);
        vpSettings->setIniCodec("UTF-8");
        threadSettings().setLocalData(vpSettings);
    }
    return vpSettings;
}

void releaseSettings()
{
    if (threadSettings().hasLocalData())
        threadSettings().setLocalData(nullptr);
}

QString sqlPath()
{
    return ensureDirectory(applicationDirectory() + QStringLiteral("/sql"));
}

QString importPath()
{
    return ensureDirectory(sqlPath() + QStringLiteral("/import"));
}

QString dataPath()
{
    return ensureDirectory(sqlPath() + QStringLiteral("/data"));
}

QString assetPath()
{
    return ensureDirectory(applicationDirectory() + QStringLiteral("/asset"));
}

QString stylePath()
{
    return ensureDirectory(applicationDirectory() + QStringLiteral("/style"));
}

QString databaseFilePath(const QString &asLanguage)
{
    return QDir(dataPath()).absoluteFilePath(QStringLiteral("kvr_main_%0.sqlite").arg(asLanguage));
}

} // namespace ProgramFolder
