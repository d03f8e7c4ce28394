#pragma once

#include "models/searchflags.h"
#include "models/storeenvironment.h"

class QSettings;

// The data store's environment as the application folder gives it: the
// files of ProgramFolder, the settings file, and the options as the
// settings hold them. The command-line tool hands it to its data store as
// it is; the window's environment derives from it and takes the page sizes
// its shared options hold.
//
// The static readers are the one place that knows these settings keys and
// their defaults; the shared options read through them too.
class FolderEnvironment : public StoreEnvironment
{
public:
    QString databaseFilePath(const QString &asLanguage) const override;
    QSettings *settings() const override;
    int paragraphsPerPage() const override;
    int versesPerPage() const override;
    bool showDuplicates() const override;
    QString importFolder() const override;
    QString exportFolder() const override;
    void noteDatabaseUpdated() const override;
    // The modifiers every search starts with, as the settings have them.
    AdvancedSearchFlags searchModifiers() const;

    // "ParagraphCount" and "VersesCount": hits (and verses) per page, 20
    // when not set.
    static int paragraphCount(const QSettings &aSettings);
    static int versesCount(const QSettings &aSettings);
    // "ShowDuplicates": whether further translations are shown, true when
    // not set.
    static bool duplicatesShown(const QSettings &aSettings);
    // "SearchYoAlike": whether searches take е and ё as one letter, true
    // when not set; and the modifiers that gives (YoAlike or none).
    static bool yoAlike(const QSettings &aSettings);
    static AdvancedSearchFlags searchModifiers(const QSettings &aSettings);
    // "DatabaseLastUpdated" becomes today's date.
    static void markUpdatedToday(QSettings &aSettings);
};
