#pragma once

#include <QApplication>
#include <QString>

#include <memory>

class Database;
class MainWindow;
class QSettings;
class SharedOptions;
class ShareManager;
class StoreEnvironment;

// The application object: identity, the process-wide singletons and the
// start-up sequence. The folder layout is ProgramFolder's; the accessors here
// hand it on to the window's code.
//
// Singletons are created on first use by the static accessors and released by
// the destructor (or releaseSingletons()). The accessors work without an
// Application instance too, so that tools and tests can use the program's
// code under QCoreApplication.
//
// Threads: the data store lives on a worker thread of its own, created by the
// first database() call. settings() hands each thread its own QSettings on
// the one settings file (see ProgramFolder).
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    ~Application() override;

    void start();
    // Imports waiting update files behind a progress window, then shows the
    // main window; false, with nothing shown, when files were imported and
    // the program is to end so that the reader starts it on the new data.
    bool showMainWindow();

    static QSettings *settings();
    static SharedOptions *sharedOptions();
    // Confirms each share in a ShareDialog.
    static ShareManager *shareManager();
    static Database *database();
    // What the data store is given of the application (files, settings,
    // options); the data store the accessor above creates uses it.
    static const StoreEnvironment *storeEnvironment();

    // The settings file: setting.ini in the application folder, unless a
    // tool chose another file (an empty path restores the usual one).
    static QString settingsFilePath();
    static void setSettingsFilePath(const QString &asPath);
    static QString sqlPath();
    static QString importPath();
    static QString dataPath();
    static QString assetPath();
    static QString stylePath();
    // The database file of the current data language, or of asLanguage.
    static QString databaseFilePath();
    static QString databaseFilePath(const QString &asLanguage);

    // The folder that holds the settings file and the data folders: the
    // executable's directory unless a tool or a test chose another one.
    static QString applicationDirectory();
    static void setApplicationDirectory(const QString &asPath);

    // Stops the database thread and destroys every singleton; the next
    // accessor call creates them afresh.
    static void releaseSingletons();

    // Base address of the update server ("http://" + host + "/zudoru26"), or
    // empty when the "UpdateServer" setting names no host.
    static QString updateServerBase();

    // Settings file permissions: the program keeps the file read-only while
    // updates may be imported, and owner-writable otherwise.
    static void setSettingsFileReadOnly();
    static void setSettingsFileWritable();

signals:
    void startImportPicked();

protected:
    bool eventFilter(QObject *apWatched, QEvent *apEvent) override;

private:
    void applyStyle();
    void checkForUpdates();
    void unpackWaitingArchives();
    // True when at least one update file was imported.
    bool waitForStartupImport();

    std::unique_ptr<MainWindow> mpMainWindow;
};
