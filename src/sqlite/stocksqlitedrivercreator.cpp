#include "sqlite/stocksqlitedrivercreator.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QLibraryInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QPluginLoader>
#include <QSqlDriver>
#include <QSqlDriverPlugin>
#include <QStringList>
#include <QThread>

#include <memory>

namespace {

const char *const scStockKey = "QSQLITE";

QStringList pluginFolders()
{
    QStringList vcFolders;
    // Without a QCoreApplication this lacks Qt's own plug-in folder, hence the
    // second source.
    const QStringList vcLibraryPaths = QCoreApplication::libraryPaths();
    for (const QString &vsPath : vcLibraryPaths)
        vcFolders << vsPath + QStringLiteral("/sqldrivers");
    vcFolders << QLibraryInfo::location(QLibraryInfo::PluginsPath) + QStringLiteral("/sqldrivers");
    vcFolders.removeDuplicates();
    return vcFolders;
}

// Reads the plug-in's embedded metadata without loading the library.
bool offersStockDriver(const QPluginLoader &aLoader)
{
    const QJsonObject vMeta = aLoader.metaData();
    if (vMeta.value(QLatin1String("IID")).toString() !=
        QLatin1String(QSqlDriverFactoryInterface_iid))
        return false;
    const QJsonArray vcKeys =
        vMeta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("Keys")).toArray();
    return vcKeys.contains(QJsonValue(QLatin1String(scStockKey)));
}

// The loader that found the plug-in, or nullptr with the folders searched.
QPluginLoader *loadStockPlugin(QStringList *apcSearched)
{
    const QStringList vcFolders = pluginFolders();
    for (const QString &vsFolder : vcFolders) {
        const QDir vDir(vsFolder);
        const QStringList vcFiles = vDir.entryList(QDir::Files);
        for (const QString &vsFile : vcFiles) {
            const QString vsPath = vDir.filePath(vsFile);
            if (!QLibrary::isLibrary(vsPath))
                continue;
            auto vpLoader = std::make_unique<QPluginLoader>(vsPath);
            if (!offersStockDriver(*vpLoader))
                continue;
            QObject *vpInstance = vpLoader->instance();
            if (!qobject_cast<QSqlDriverPlugin *>(vpInstance)) {
                qDebug("The SQLite driver plug-in %s does not load: %s", qUtf8Printable(vsPath),
                       qUtf8Printable(vpLoader->errorString()));
                continue;
            }
            // The first driver may be asked for on a worker thread that ends
            // before the program does.
            QCoreApplication *vpApp = QCoreApplication::instance();
            if (vpApp && vpInstance->thread() == QThread::currentThread())
                vpInstance->moveToThread(vpApp->thread());
            return vpLoader.release();
        }
    }
    *apcSearched = vcFolders;
    return nullptr;
}

} // namespace

QSqlDriver *StockSqliteDriverCreator::createObject() const
{
    static QMutex sMutex;
    // Kept for the life of the process: the plug-in must stay loaded while any
    // driver it made exists.
    static QPluginLoader *spLoader = nullptr;

    QMutexLocker vLock(&sMutex);
    if (!spLoader) {
        QStringList vcSearched;
        spLoader = loadStockPlugin(&vcSearched);
        if (!spLoader) {
            qDebug("QSQLITEICU: Qt's SQLite driver plug-in (key %s) was found in none of: %s",
                   scStockKey, qUtf8Printable(vcSearched.join(QLatin1String(", "))));
            return nullptr;
        }
    }
    return qobject_cast<QSqlDriverPlugin *>(spLoader->instance())
        ->create(QLatin1String(scStockKey));
}
