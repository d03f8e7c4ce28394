// Builds the demo databases a new user first sees: for each data language
// whose database is missing or holds no texts, the demo sermons of that language and
// its Bible are run through the program's own converter. Databases that
// already hold something are never touched, so a second run does nothing.
//
// A language's Bible is the one below <demo folder>/<language>/bible when
// that folder exists (the Russian one, whose book order and psalm numbering
// differ from the others, so that parallel reading shows the conversions);
// every other language gets the extracted King James Version.
//
// usage: make-demo-corpus <demo folder> <application folder> [<KJV folder>]
#include "controllers/application.h"
#include "controllers/logging.h"
#include "controllers/textconverter.h"
#include "sqlite/sqliteicu.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

namespace {

const QStringList ccLanguages{QStringLiteral("ru"), QStringLiteral("en"), QStringLiteral("fr")};

// Running the converter switches the data language and, through the shared
// options, writes the interface language; neither is the tool's to change.
const QStringList ccKeptSettings{QStringLiteral("DataLanguage"), QStringLiteral("Language")};

QString databaseFile(const QString &asLanguage)
{
    return QStringLiteral("%0/kvr_main_%1.sqlite").arg(Application::dataPath(), asLanguage);
}

// Whether the file holds a sermon or a Bible book. The program gives a new
// database its empty tables on its first start, so a file that is there is
// not yet a built one.
bool holdsTexts(const QString &asPath)
{
    SqliteIcu::install();
    const QString vsConnection = QStringLiteral("demo-check");
    bool vbHolds = false;
    {
        QSqlDatabase vDatabase =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), vsConnection);
        vDatabase.setDatabaseName(asPath);
        vDatabase.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery vQuery(vDatabase);
        vbHolds = vDatabase.open() &&
                  vQuery.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM quotes) OR EXISTS "
                                             "(SELECT 1 FROM bibles);")) &&
                  vQuery.next() && vQuery.value(0).toBool();
    }
    QSqlDatabase::removeDatabase(vsConnection);
    return vbHolds;
}

bool needsBuilding(const QString &asLanguage)
{
    const QFileInfo vFile(databaseFile(asLanguage));
    return !vFile.exists() || vFile.size() == 0 || !holdsTexts(vFile.filePath());
}

QString bibleFolder(const QString &asDemo, const QString &asLanguage, const QString &asKjv)
{
    const QString vsOwn = QStringLiteral("%0/%1/bible").arg(asDemo, asLanguage);
    return QFileInfo(vsOwn).isDir() ? vsOwn : asKjv;
}

bool hasBibleText(const QString &asFolder)
{
    return !QDir(asFolder).entryList({QStringLiteral("*.txt")}, QDir::Files).isEmpty();
}

int fail(const QString &asMessage)
{
    std::fprintf(stderr, "make-demo-corpus: %s\n", qUtf8Printable(asMessage));
    return 1;
}

bool buildLanguage(const QString &asLanguage, const QString &asDemo, const QString &asKjv)
{
    QStringList vcTitles;
    if (!TextConverter::importDirectory(*Application::database(), *Application::storeEnvironment(),
                                        {QStringLiteral("%0/%1/sermons").arg(asDemo, asLanguage),
                                         asLanguage, TextConverter::ImportRun::Quotes, false},
                                        {}, &vcTitles))
        return false;
    int vnBooks = 0;
    if (!TextConverter::importDirectory(*Application::database(), *Application::storeEnvironment(),
                                        {bibleFolder(asDemo, asLanguage, asKjv), asLanguage,
                                         TextConverter::ImportRun::Bible, false},
                                        {}, nullptr, [&vnBooks](const QString &) { ++vnBooks; }))
        return false;
    qInfo().noquote() << QStringLiteral("%0: %1 sermons and %2 Bible books written to %3")
                             .arg(asLanguage)
                             .arg(vcTitles.size())
                             .arg(vnBooks)
                             .arg(databaseFile(asLanguage));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Logging::install();
    QCoreApplication vApplication(argc, argv);
    const QStringList vcArguments = QCoreApplication::arguments().mid(1);
    if (vcArguments.size() < 2 || vcArguments.size() > 3) {
        std::fprintf(stderr, "usage: make-demo-corpus <demo folder> <application folder> "
                             "[<KJV folder>]\n");
        return 2;
    }
    const QString vsDemo = QDir(vcArguments.at(0)).absolutePath();
    const QString vsApplication = QDir(vcArguments.at(1)).absolutePath();
    const QString vsKjv =
        QDir(vcArguments.value(2, QStringLiteral(QUILLMARK_DEMO_BIBLE_DIR))).absolutePath();

    if (!QFileInfo(vsDemo + QStringLiteral("/en/sermons")).isDir())
        return fail(QStringLiteral("no demo sermons below %0").arg(vsDemo));
    // The settings file ships with the program; one written here first would
    // keep the shipped one from being put in place.
    if (!QFileInfo::exists(vsApplication + QStringLiteral("/setting.ini")))
        return fail(QStringLiteral("no settings file in %0: build the program first, it puts one "
                                   "next to itself")
                        .arg(vsApplication));
    Application::setApplicationDirectory(vsApplication);
    QStringList vcMissing;
    for (const QString &vsLanguage : ccLanguages) {
        if (needsBuilding(vsLanguage))
            vcMissing << vsLanguage;
        else
            qInfo().noquote() << QStringLiteral("%0: %1 exists, left as it is")
                                     .arg(vsLanguage, databaseFile(vsLanguage));
    }
    if (vcMissing.isEmpty())
        return 0;
    // Checked before the first database is written: a language built without
    // its Bible would be taken for a finished one by every later run.
    for (const QString &vsLanguage : vcMissing) {
        const QString vsBible = bibleFolder(vsDemo, vsLanguage, vsKjv);
        if (hasBibleText(vsBible))
            continue;
        if (vsBible == vsKjv)
            return fail(QStringLiteral("no Bible text in %0: build the target demo_bible (it needs "
                                       "the Debian packages bible-kjv and bible-kjv-text)")
                            .arg(vsKjv));
        return fail(QStringLiteral("no Bible text in %0").arg(vsBible));
    }

    QMap<QString, QVariant> vcKept;
    for (const QString &vsKey : ccKeptSettings)
        vcKept.insert(vsKey, Application::settings()->value(vsKey));

    QString vsFailed;
    for (const QString &vsLanguage : vcMissing) {
        if (!buildLanguage(vsLanguage, vsDemo, vsKjv)) {
            vsFailed = vsLanguage;
            break;
        }
    }

    // Closes the connection, so that a half-built file can go and the next
    // run builds it again instead of taking it for an existing database.
    Application::releaseSingletons();
    if (!vsFailed.isEmpty())
        QFile::remove(databaseFile(vsFailed));

    QSettings *vpSettings = Application::settings();
    for (auto it = vcKept.cbegin(); it != vcKept.cend(); ++it) {
        if (it.value().isValid())
            vpSettings->setValue(it.key(), it.value());
        else
            vpSettings->remove(it.key());
    }
    vpSettings->sync();

    if (!vsFailed.isEmpty())
        return fail(
            QStringLiteral("building the %0 database failed (see the log above)").arg(vsFailed));
    if (vpSettings->status() != QSettings::NoError)
        return fail(QStringLiteral("could not write %0").arg(vpSettings->fileName()));
    return 0;
}
