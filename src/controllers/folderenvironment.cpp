#include "controllers/folderenvironment.h"

#include "controllers/programfolder.h"

#include <QDate>
#include <QSettings>

QString FolderEnvironment::databaseFilePath(const QString &asLanguage) const
{
    return ProgramFolder::databaseFilePath(asLanguage);
}

QSettings *FolderEnvironment::settings() const
{
    return ProgramFolder::settings();
}

int FolderEnvironment::paragraphsPerPage() const
{
    return paragraphCount(*settings());
}

int FolderEnvironment::versesPerPage() const
{
    return versesCount(*settings());
}

bool FolderEnvironment::showDuplicates() const
{
    return duplicatesShown(*settings());
}

QString FolderEnvironment::importFolder() const
{
    return ProgramFolder::importPath();
}

QString FolderEnvironment::exportFolder() const
{
    return ProgramFolder::applicationDirectory();
}

void FolderEnvironment::noteDatabaseUpdated() const
{
    markUpdatedToday(*settings());
}

AdvancedSearchFlags FolderEnvironment::searchModifiers() const
{
    return searchModifiers(*settings());
}

int FolderEnvironment::paragraphCount(const QSettings &aSettings)
{
    return aSettings.value(QStringLiteral("ParagraphCount"), 20).toInt();
}

int FolderEnvironment::versesCount(const QSettings &aSettings)
{
    return aSettings.value(QStringLiteral("VersesCount"), 20).toInt();
}

bool FolderEnvironment::duplicatesShown(const QSettings &aSettings)
{
    return aSettings.value(QStringLiteral("ShowDuplicates"), true).toBool();
}

bool FolderEnvironment::yoAlike(const QSettings &aSettings)
{
    return aSettings.value(QStringLiteral("SearchYoAlike"), true).toBool();
}

AdvancedSearchFlags FolderEnvironment::searchModifiers(const QSettings &aSettings)
{
    return yoAlike(aSettings) ? AdvancedSearchFlags(YoAlike) : AdvancedSearchFlags(NoOption);
}

void FolderEnvironment::markUpdatedToday(QSettings &aSettings)
{
    aSettings.setValue(QStringLiteral("DatabaseLastUpdated"),
                       QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}
