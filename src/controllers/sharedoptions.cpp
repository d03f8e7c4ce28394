#include "controllers/sharedoptions.h"

#include "controllers/application.h"
#include "controllers/filename.h"
#include "controllers/folderenvironment.h"
#include "controllers/translations.h"
#include "models/database.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSettings>

#include <cmath>

SharedOptions::SharedOptions(QObject *parent) : QObject(parent)
{
    const QString vsDefault = tr("en");
    QSettings *vpSettings = Application::settings();

    setLanguage(vpSettings->value(QStringLiteral("Language"), vsDefault).toString(), Interface);

    const QString vsData = vpSettings->value(QStringLiteral("DataLanguage"), vsDefault).toString();
    Application::database()->changeLanguage(vsData);
    msDataLanguage = vsData;

    mbPlayRemote = vpSettings->value(QStringLiteral("PlayRemote"), false).toBool();
    mnParagraphCount = FolderEnvironment::paragraphCount(*vpSettings);
    mbOnePage = vpSettings->value(QStringLiteral("OnePage"), false).toBool();
    mnVersesCount = FolderEnvironment::versesCount(*vpSettings);
    mbBibleOnePage = vpSettings->value(QStringLiteral("BibleOnePage"), false).toBool();

    connect(&mDownloadManager, &DownloadManager::downloadingProgress, this,
            &SharedOptions::downloadProgress);
}

SharedOptions::~SharedOptions()
{
    QCoreApplication::removeTranslator(&mTranslator);
}

void SharedOptions::setLanguage(const QString &asLocale, LanguageKind aKind)
{
    if (aKind == Interface) {
        Application::settings()->setValue(QStringLiteral("Language"), asLocale);
        msInterfaceLanguage = asLocale;
        QCoreApplication::removeTranslator(&mTranslator);
        Translations::install(mTranslator, asLocale);
        return;
    }
    Application::database()->changeLanguage(asLocale);
    msDataLanguage = asLocale;
}

void SharedOptions::switchDataLanguage(const QString &asLocale)
{
    msDataLanguage = asLocale;
    Database *vpDatabase = Application::database();
    QMetaObject::invokeMethod(
        vpDatabase, [vpDatabase, asLocale] { vpDatabase->changeLanguage(asLocale); },
        Qt::QueuedConnection);
}

QString SharedOptions::mediaUrl(const QString &asFileName, DownloadProgressView *apPlayer)
{
    const QString vsLower = asFileName.toLower();
    const bool vbPdf = vsLower.contains(QLatin1String("pdf"));
    const bool vbMp3 = vsLower.contains(QLatin1String("mp3"));
    msMediaProblem.clear();
    if ((!vbPdf && !vbMp3) || !isSafeMediaName(asFileName)) {
        qDebug() << "Refused media file name:" << asFileName;
        msMediaProblem = tr("%1 is not the name of a PDF or MP3 file.").arg(asFileName);
        return QString();
    }
    if (mDownloadManager.isBusy()) {
        qDebug() << "A media download is still running; request refused:" << asFileName;
        msMediaProblem = tr("Another file is still being downloaded; try again when it is done.");
        return QString();
    }

    mpPlayer = apPlayer;
    mpPlayerObject = dynamic_cast<QObject *>(apPlayer);

    const QString vsPattern = vbMp3 ? QStringLiteral("URL_mp3_%0") : QStringLiteral("URL_pdf_%0");
    const QStringList vcKeys =
        Application::settings()->allKeys().filter(vsPattern.arg(msDataLanguage), Qt::CaseSensitive);
    const QString vsBase =
        vcKeys.isEmpty() ? QString() : Application::settings()->value(vcKeys.first()).toString();
    // A file already in the media folder needs no address, unless the
    // recording is to be streamed from one.
    const QDir vFolder(Application::assetPath() + QStringLiteral("/") + msDataLanguage);
    const QString vsLocal = vFolder.absoluteFilePath(asFileName);
    const bool vbStream = vbMp3 && mbPlayRemote && !vsBase.isEmpty();
    if (!vbStream && QFileInfo::exists(vsLocal))
        return vsLocal;
    if (vsBase.isEmpty()) {
        qDebug() << "No configs for URL!";
        msMediaProblem = tr("%1 is not in the folder %2, and the settings give no address to "
                            "download it from (%3).")
                             .arg(asFileName, QDir::toNativeSeparators(vFolder.path()),
                                  vsPattern.arg(msDataLanguage));
        return QString();
    }
    const QString vsRemote = vsBase + asFileName;
    if (vbStream)
        return vsRemote;

    if (!vFolder.exists())
        QDir().mkpath(vFolder.path());

    mDownloadManager.setFileName(vsLocal);
    mDownloadManager.setUrl(vsRemote);
    QEventLoop vLoop;
    connect(&mDownloadManager, &DownloadManager::done, &vLoop, &QEventLoop::quit);
    if (!mDownloadManager.download(DownloadManager::DataFile))
        return QString();
    vLoop.exec();

    // A failed write leaves no file although the network part succeeded.
    if (mDownloadManager.error() != QNetworkReply::NoError || !QFileInfo::exists(vsLocal))
        return QString();
    return vsLocal;
}

void SharedOptions::setPlayRemote(bool abPlayRemote)
{
    mbPlayRemote = abPlayRemote;
    Application::settings()->setValue(QStringLiteral("PlayRemote"), abPlayRemote);
}

bool SharedOptions::showDuplicates() const
{
    return FolderEnvironment::duplicatesShown(*Application::settings());
}

void SharedOptions::setShowDuplicates(bool abShow)
{
    Application::settings()->setValue(QStringLiteral("ShowDuplicates"), abShow);
}

bool SharedOptions::yoAlike() const
{
    return FolderEnvironment::yoAlike(*Application::settings());
}

void SharedOptions::setYoAlike(bool abAlike)
{
    Application::settings()->setValue(QStringLiteral("SearchYoAlike"), abAlike);
}

AdvancedSearchFlags SharedOptions::searchModifiers() const
{
    return FolderEnvironment::searchModifiers(*Application::settings());
}

QString SharedOptions::databaseLastUpdated()
{
    const QString vsKey = QStringLiteral("DatabaseLastUpdated");
    if (Application::settings()->value(vsKey).toString().isEmpty())
        setDatabaseLastUpdated();
    return Application::settings()->value(vsKey).toString();
}

void SharedOptions::setDatabaseLastUpdated()
{
    FolderEnvironment::markUpdatedToday(*Application::settings());
}

QString SharedOptions::progressText(qint64 anReceived, qint64 anTotal)
{
    if (anTotal <= 0)
        return QStringLiteral("%1 KiB").arg(anReceived / 1024, 4);
    const double vnPercent = static_cast<double>(anReceived) / static_cast<double>(anTotal) * 100.0;
    return QStringLiteral("%1").arg(static_cast<qint64>(std::floor(vnPercent + 0.5)), 4);
}

bool SharedOptions::isSafeMediaName(const QString &asFileName)
{
    return FileName::isPlain(asFileName);
}

void SharedOptions::downloadProgress(qint64 anReceived, qint64 anTotal)
{
    if (mpPlayer && mpPlayerObject)
        mpPlayer->showDownloadProgress(progressText(anReceived, anTotal));
}
