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
#include <QSettings>
#include <QVariant>

#include <algorithm>

namespace {
const QString csDataLanguage = QStringLiteral("DataLanguage");

// A new file of the tool's own in the temporary folder, open for writing and
// readable by the owner alone; false when none can be made. Named after the
// process rather than by a random generator, which would have to be started
// for it; a name that is taken (left by a process of the same number that
// was killed) is passed over.
bool openPrivateFile(QFile &aFile)
{
    for (int i = 0; i < 10; ++i) {
        aFile.setFileName(QStringLiteral("%0/quillmark-cli-%1-%2.ini")
                              .arg(QDir::tempPath())
                              .arg(QCoreApplication::applicationPid())
                              .arg(i));
        if (aFile.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            aFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return true;
        }
    }
    return false;
}

// The settings of a file of bytes, as QSettings reads them.
QMap<QString, QVariant> readSettings(const QByteArray &aaFile)
{
    QMap<QString, QVariant> vcValues;
    QFile vFile;
    if (aaFile.isEmpty() || !openPrivateFile(vFile) || vFile.write(aaFile) != aaFile.size()) {
        vFile.remove();
        return vcValues;
    }
    vFile.close();
    {
        QSettings vSettings(vFile.fileName(), QSettings::IniFormat);
        vSettings.setIniCodec("UTF-8");
        for (const QString &vsKey : vSettings.allKeys())
            vcValues.insert(vsKey, vSettings.value(vsKey));
    }
    vFile.remove();
    return vcValues;
}

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
    if (!msCopyFile.isEmpty())
        QFile::remove(msCopyFile);
}

void Session::useSettingsCopy()
{
    msSettingsFile = ProgramFolder::settingsFilePath();
    // A file, not a folder, and written without a sync to the disk: the copy
    // lives only as long as the command.
    QFile vCopy;
    if (!openPrivateFile(vCopy))
        return; // no private copy possible: the real file is used
    msCopyFile = vCopy.fileName();
    QFile vReal(msSettingsFile);
    if (vReal.exists()) {
        if (!vReal.open(QIODevice::ReadOnly))
            return;
        maSettingsBefore = vReal.readAll();
        if (vCopy.write(maSettingsBefore) != maSettingsBefore.size())
            return;
    }
    vCopy.close();
    ProgramFolder::setSettingsFilePath(msCopyFile);
}

void Session::carrySettingsBack()
{
    const QString vsCopy = ProgramFolder::settingsFilePath();
    if (vsCopy == msSettingsFile || msSettingsFile.isEmpty())
        return;
    // A copy as it was made holds no change (most commands write nothing).
    QFile vCopy(vsCopy);
    if (vCopy.open(QIODevice::ReadOnly) && vCopy.readAll() == maSettingsBefore)
        return;
    vCopy.close();
    const QMap<QString, QVariant> vcBefore = readSettings(maSettingsBefore);
    const QMap<QString, QVariant> vcAfter = readSettings(vsCopy);
    QSettings vReal(msSettingsFile, QSettings::IniFormat);
    vReal.setIniCodec("UTF-8");
    for (auto it = vcAfter.cbegin(); it != vcAfter.cend(); ++it) {
        if (it.key() == csDataLanguage || it.key() == QLatin1String("Language"))
            continue;
        if (vcBefore.value(it.key()) != it.value())
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
    return asCode.size() >= 2 && asCode.size() <= 3 &&
           std::all_of(asCode.cbegin(), asCode.cend(), [](QChar aChar) {
               return aChar >= QLatin1Char('a') && aChar <= QLatin1Char('z');
           });
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
    // Written only when it changes: a write is a new file at the next sync.
    QSettings *vpSettings = ProgramFolder::settings();
    if (vpSettings->value(csDataLanguage).toString() != asLanguage)
        vpSettings->setValue(csDataLanguage, asLanguage);
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
