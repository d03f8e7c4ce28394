#pragma once

// The data store's two guards, shared by the units that implement its
// operations; nothing outside the data store includes this.
#include "models/database.h"

#include <QDebug>
#include <QThread>

#include <thread>

// Holds the data store's lock and records which thread holds it.
class Database::Lock
{
public:
    explicit Lock(const Database &aDatabase) : mDatabase(aDatabase)
    {
        if (QThread *vpWindow = mDatabase.mpWindowThread.load();
            vpWindow && vpWindow == QThread::currentThread())
            qCritical() << "The window's thread waited for the data store";
        mDatabase.mMutex.lock();
        if (mDatabase.mnLockDepth++ == 0)
            mDatabase.mOwner = std::this_thread::get_id();
    }
    ~Lock()
    {
        // The last moment the failed statements' file is known for sure.
        if (mDatabase.mnLockDepth == 1)
            mDatabase.collectStatementProblem();
        if (--mDatabase.mnLockDepth == 0)
            mDatabase.mOwner = std::thread::id();
        mDatabase.mMutex.unlock();
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    const Database &mDatabase;
};

// Runs one request on another data language's file (a parallel text, or a
// page whose language the window has left since) and goes back to the
// current language afterwards, whatever happened between.
class Database::LanguageSwitch
{
public:
    LanguageSwitch(Database &aDatabase, const QString &asLocale) : mDatabase(aDatabase)
    {
        if (asLocale.isEmpty() || asLocale == mDatabase.msCurrentLanguage)
            return;
        msRestore = mDatabase.msCurrentLanguage;
        mDatabase.rememberLanguage(asLocale);
        mDatabase.connectCurrentDatabase();
    }
    ~LanguageSwitch()
    {
        if (msRestore.isEmpty())
            return;
        mDatabase.rememberLanguage(msRestore);
        mDatabase.connectCurrentDatabase();
    }
    LanguageSwitch(const LanguageSwitch &) = delete;
    LanguageSwitch &operator=(const LanguageSwitch &) = delete;

private:
    Database &mDatabase;
    QString msRestore;
};
