#include "cli/session.h"

#include "cli/clilog.h"
#include "cli/exitstatus.h"
#include "controllers/fileproblemtext.h"
#include "controllers/programfolder.h"
#include "controllers/translations.h"
#include "models/database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QVariant>

namespace {
const QString csDataLanguage = QStringLiteral("DataLanguage");

QMap<QString, QVariant> readSettings(const QString &asPath)
{
    QSettings vSettings(asPath, QSettings::IniFormat);
    vSettings.setIniCodec("UTF-8");
    QMap<QString, QVariant> vcValues;
    for (const QString &vsKey : vSettings.allKeys())
        vcValues.insert(vsKey, vSettings.value(vsKey));
    return vcValues;
}

} // namespace

Session::Session(const QCommandLineParser &aParser)
    : msApplicationDirectory(aParser.value(QStringLiteral("app-dir"))),
      msLanguage(aParser.isSet(QStringLiteral("lang")) ? aParser.value(QStringLiteral("lang"))
                                                       : QString()),
      mOut(aParser.isSet(QStringLiteral("json")))
{
}

Session::~Session()
{
    // Closes the data store and writes the copy's settings to its file.
    mpDatabase.reset();
    if (mbTranslated)
        QCoreApplication::removeTranslator(&mTranslator);
    ProgramFolder::releaseSettings();
    carrySettingsBack();
    ProgramFolder::setSettingsFilePath(QString());
}

void Session::useSettingsCopy()
{
    msSettingsFile = ProgramFolder::settingsFilePath();
    if (!mSettingsCopy.isValid())
        return; // no private copy possible: the real file is used
    const QString vsCopy = mSettingsCopy.filePath(QStringLiteral("setting.ini"));
    if (QFileInfo::exists(msSettingsFile)) {
        if (!QFile::copy(msSettingsFile, vsCopy))
            return;
        QFile::setPermissions(vsCopy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    mcSettingsBefore = readSettings(msSettingsFile);
    ProgramFolder::setSettingsFilePath(vsCopy);
}

void Session::carrySettingsBack()
{
    const QString vsCopy = ProgramFolder::settingsFilePath();
    if (vsCopy == msSettingsFile || msSettingsFile.isEmpty())
        return;
    const QMap<QString, QVariant> vcAfter = readSettings(vsCopy);
    QSettings vReal(msSettingsFile, QSettings::IniFormat);
    vReal.setIniCodec("UTF-8");
    for (auto it = vcAfter.cbegin(); it != vcAfter.cend(); ++it) {
        if (it.key() == csDataLanguage || it.key() == QLatin1String("Language"))
            continue;
        if (mcSettingsBefore.value(it.key()) != it.value())
            vReal.setValue(it.key(), it.value());
    }
}

int Session::prepare()
{
    if (!msApplicationDirectory.isEmpty()) {
        const QFileInfo vFolder(msApplicationDirectory);
        if (!vFolder.isDir())
            return fail(BadArguments, QStringLiteral("no application folder at %0")
                                          .arg(QDir::toNativeSeparators(msApplicationDirectory)));
        ProgramFolder::setApplicationDirectory(vFolder.absoluteFilePath());
    }
    useSettingsCopy();
    if (!msLanguage.isEmpty() && !isLanguageCode(msLanguage))
        return fail(
            BadArguments,
            QStringLiteral("not a language code: %0 (two or three small letters)").arg(msLanguage));
    return Success;
}

QString Session::language() const
{
    if (!msLanguage.isEmpty())
        return msLanguage;
    return ProgramFolder::settings()->value(csDataLanguage, QStringLiteral("ru")).toString();
}

bool Session::isLanguageCode(const QString &asCode)
{
    static const QRegularExpression scCode(QStringLiteral("^[a-z]{2,3}$"));
    return scCode.match(asCode).hasMatch();
}

int Session::requireDatabase(const QString &asLanguage)
{
    const QFileInfo vFile(ProgramFolder::databaseFilePath(asLanguage));
    if (!vFile.exists() || vFile.size() == 0)
        return fail(DatabaseError,
                    QStringLiteral("no database for the language \"%0\" (%1)")
                        .arg(asLanguage, QDir::toNativeSeparators(vFile.filePath())));
    if (!vFile.isReadable())
        return fail(DatabaseError, QStringLiteral("the database %0 cannot be read")
                                       .arg(QDir::toNativeSeparators(vFile.filePath())));
    return Success;
}

int Session::openDatabase(const QString &asLanguage, bool abCreate)
{
    if (!abCreate) {
        const int vnStatus = requireDatabase(asLanguage);
        if (vnStatus != Success)
            return vnStatus;
    }
    // The data store opens the file the setting names, from its first use on.
    ProgramFolder::settings()->setValue(csDataLanguage, asLanguage);
    if (!mpDatabase)
        mpDatabase = std::make_unique<Database>(asLanguage, mEnvironment);
    msOpenPath = ProgramFolder::databaseFilePath(asLanguage);
    if (!mpDatabase->connectCurrentDatabase()) {
        const FileProblem vProblem = mpDatabase->fileProblem(msOpenPath);
        return fail(DatabaseError,
                    vProblem != FileProblem::None
                        ? QStringLiteral("database error: ") + describe(msOpenPath, vProblem)
                        : QStringLiteral("the database %0 cannot be opened")
                              .arg(QDir::toNativeSeparators(msOpenPath)));
    }
    return finish(Success);
}

Database &Session::database()
{
    return *mpDatabase;
}

QString Session::describe(const QString &asPath, FileProblem aProblem) const
{
    if (!mbTranslated)
        mbTranslated = Translations::install(
            mTranslator, ProgramFolder::settings()
                             ->value(QStringLiteral("Language"), QStringLiteral("en"))
                             .toString());
    return FileProblemText::describe(asPath, aProblem);
}

int Session::fail(int aStatus, const QString &asMessage)
{
    CliLog::error(asMessage);
    return aStatus;
}

int Session::finish(int aStatus) const
{
    if (!CliLog::sqlErrorSeen())
        return aStatus;
    const QString vsDriverText = CliLog::takeFileProblem();
    if (!vsDriverText.isEmpty()) {
        const FileProblem vProblem = msOpenPath.isEmpty() || !mpDatabase
                                         ? FileProblem::None
                                         : mpDatabase->fileProblem(msOpenPath);
        CliLog::error(QStringLiteral("database error: ") + (vProblem != FileProblem::None
                                                                ? describe(msOpenPath, vProblem)
                                                                : vsDriverText));
    }
    return DatabaseError;
}
