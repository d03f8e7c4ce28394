#pragma once

#include <QString>

class QSettings;

// What the data store needs of the program around it: where a data
// language's file lives, the settings it reads and writes, and the options
// that shape its searches. The application hands one to the data store when
// it creates it, so the data store never reaches up into the application.
class StoreEnvironment
{
public:
    virtual ~StoreEnvironment() = default;

    // The database file of a data language.
    virtual QString databaseFilePath(const QString &asLanguage) const = 0;
    // The calling thread's settings object (one per thread, on one file).
    virtual QSettings *settings() const = 0;
    // Hits per result page of a sermon search and of a Bible search.
    virtual int paragraphsPerPage() const = 0;
    virtual int versesPerPage() const = 0;
    // Whether an unrestricted sermon search includes further translations.
    virtual bool showDuplicates() const = 0;
    // The folder where update files wait for their import.
    virtual QString importFolder() const = 0;
    // The folder that receives exported archives.
    virtual QString exportFolder() const = 0;
    // Records that the data was updated today (after an import).
    virtual void noteDatabaseUpdated() const = 0;
};
