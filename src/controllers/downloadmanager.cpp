#include "controllers/downloadmanager.h"

#include "controllers/application.h"
#include "controllers/filename.h"
#include "controllers/modalbox.h"

#include <QDebug>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSettings>
#include <QUrl>

namespace {

QString versionKey(const QString &asKey)
{
    return QStringLiteral("Version-") + asKey;
}

// "DBLang1", "DBLang2", … in order; the first empty value ends the list, so
// a gap hides every language configured after it.
QStringList configuredDataLanguages()
{
    QSettings *vpSettings = Application::settings();
    QStringList vcLanguages;
    for (int vnIndex = 1;; ++vnIndex) {
        const QString vsLanguage =
            vpSettings->value(QStringLiteral("DBLang%0").arg(vnIndex)).toString();
        if (vsLanguage.isEmpty())
            break;
        vcLanguages.append(vsLanguage);
    }
    return vcLanguages;
}

} // namespace

DownloadManager::DownloadManager(QObject *parent)
    : QObject(parent), mpManager(new QNetworkAccessManager(this))
{
    // Qt 5 does not follow redirects by default: the body of a "moved" answer
    // would be saved as if it were the file.
    mpManager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    connect(mpManager, &QNetworkAccessManager::finished, this, &DownloadManager::downloadFinished);
}

DownloadManager::~DownloadManager()
{
    // Nobody can wait for done() from a manager that is going away, so a
    // download still running ends without it; its unfinished file is
    // discarded together with mpSaveFile.
    disconnect(mpManager, nullptr, this, nullptr);
    if (mpReply) {
        disconnect(mpReply, nullptr, this, nullptr);
        mpReply->abort();
    }
}

void DownloadManager::setUrl(const QString &asUrl)
{
    msUrl = asUrl;
}

void DownloadManager::setFileName(const QString &asFileName)
{
    msFileName = asFileName;
}

void DownloadManager::setVersion(int anVersion)
{
    mnVersion = anVersion;
}

QNetworkReply::NetworkError DownloadManager::error() const
{
    return mnError;
}

QStringList DownloadManager::fileList() const
{
    return mcFileList;
}

bool DownloadManager::isBusy() const
{
    return !mpReply.isNull();
}

QString DownloadManager::lineKey(const QString &asLine)
{
    const int vnSeparator = asLine.indexOf(QLatin1Char('_'));
    return vnSeparator < 0 ? asLine : asLine.left(vnSeparator);
}

int DownloadManager::lineVersion(const QString &asLine)
{
    const int vnSeparator = asLine.indexOf(QLatin1Char('_'));
    QString vsText = vnSeparator < 0 ? asLine : asLine.mid(vnSeparator + 1);
    vsText.remove(QLatin1String(".txt"), Qt::CaseInsensitive);
    // QString::toInt() skips surrounding white space, which would let the
    // "\r" of a CRLF list through as a valid version.
    if (vsText.isEmpty() || vsText.front().isSpace() || vsText.back().isSpace())
        return 0;
    bool vbOk = false;
    const int vnVersion = vsText.toInt(&vbOk, 10);
    return vbOk ? vnVersion : 0;
}

QStringList DownloadManager::wantedUpdates(const QStringList &acLines)
{
    QSettings *vpSettings = Application::settings();
    const QStringList vcLanguages = configuredDataLanguages();
    QStringList vcWanted;
    for (const QString &vsLine : acLines) {
        // What follows a ";" is a note on the update, not part of its name.
        const QString vsName = vsLine.section(QLatin1Char(';'), 0, 0);
        // The name becomes a file in the import folder: the server must not
        // be able to place one anywhere else.
        if (!FileName::isPlain(vsName)) {
            if (!vsLine.trimmed().isEmpty())
                qDebug() << "Refused update name:" << vsLine;
            continue;
        }
        const QString vsKey = lineKey(vsName);
        if (vpSettings->value(versionKey(vsKey), 0).toInt() >= lineVersion(vsName))
            continue;
        if (!vcLanguages.contains(vsKey))
            continue;
        vcWanted.append(vsLine);
    }
    return vcWanted;
}

QStringList DownloadManager::wantedUpdates(const QByteArray &aBody)
{
    return wantedUpdates(QString::fromUtf8(aBody).split(QLatin1Char('\n')));
}

QNetworkReply *DownloadManager::download(DownloadManager::DownloadType aType)
{
    if (isBusy()) {
        qDebug() << "Download refused, another one is still running:" << msUrl;
        return nullptr;
    }

    Application::setSettingsFileWritable();
    mbVersionList = (aType == VersionList);
    if (mbVersionList)
        mcFileList.clear();
    mbWriteFailed = false;
    mnError = QNetworkReply::NoError;

    QNetworkReply *vpReply = mpManager->get(QNetworkRequest(QUrl(msUrl, QUrl::TolerantMode)));
    mpReply = vpReply;
    connect(vpReply, &QNetworkReply::downloadProgress, this, &DownloadManager::downloadingProgress);

    if (!mbVersionList) {
        // Written as it arrives, so that a large media file is never held in
        // memory as a whole.
        mpSaveFile = std::make_unique<QSaveFile>(msFileName);
        if (mpSaveFile->open(QIODevice::WriteOnly)) {
            connect(vpReply, &QNetworkReply::readyRead, this, [this, vpReply] {
                if (!writeArrivedData(vpReply))
                    vpReply->abort();
            });
        } else {
            // Nothing could be kept, so fetching it is wasted time. The abort
            // is queued: callers connect to done() only after this returns.
            mbWriteFailed = true;
            QMetaObject::invokeMethod(
                vpReply, [vpReply] { vpReply->abort(); }, Qt::QueuedConnection);
        }
    }
    return vpReply;
}

bool DownloadManager::writeArrivedData(QNetworkReply *apData)
{
    if (mbWriteFailed || !mpSaveFile)
        return false;
    const QByteArray vData = apData->readAll();
    if (mpSaveFile->write(vData) != vData.size())
        mbWriteFailed = true;
    return !mbWriteFailed;
}

void DownloadManager::downloadFinished(QNetworkReply *apData)
{
    // The slot is public; only the reply in flight may end a download, so
    // that done() comes once per download.
    if (!apData || apData != mpReply)
        return;
    apData->deleteLater();
    mnError = apData->error();

    if (mbWriteFailed) {
        reportWriteFailure();
    } else if (mnError == QNetworkReply::OperationCanceledError) {
        // The file at the target path stays: it may be a complete earlier
        // download whose version has already been recorded.
        qDebug() << "Download cancelled:" << msFileName;
        msFileName.clear();
    } else if (mnError != QNetworkReply::NoError) {
        reportNetworkFailure(apData->errorString());
    } else if (mbVersionList) {
        handleVersionList(apData);
    } else {
        saveDataFile(apData);
    }
    finish();
}

bool DownloadManager::isComplete(QNetworkReply *apData, qint64 anReceived)
{
    // Qt 5 may end a reply without any error when the server closes the
    // connection before the announced length has arrived. (Qt drops the
    // header itself when it decompresses, so it always counts body bytes.)
    const QVariant vLength = apData->header(QNetworkRequest::ContentLengthHeader);
    if (!vLength.isValid() || vLength.toLongLong() == anReceived)
        return true;
    mnError = QNetworkReply::RemoteHostClosedError;
    reportNetworkFailure(
        QStringLiteral("%1 of %2 bytes received").arg(anReceived).arg(vLength.toLongLong()));
    return false;
}

void DownloadManager::reportNetworkFailure(const QString &asDetail)
{
    qDebug() << "Download failed:" << msUrl << asDetail;
    ModalBox::warning(nullptr, tr("Error"), tr("No file or Internet is not connected"));
}

void DownloadManager::reportWriteFailure()
{
    qDebug() << "Cannot save" << msFileName << mpSaveFile->errorString();
}

void DownloadManager::handleVersionList(QNetworkReply *apData)
{
    const QByteArray vBody = apData->readAll();
    if (!isComplete(apData, vBody.size()))
        return;
    mcFileList = wantedUpdates(vBody);
    if (!mcFileList.isEmpty())
        emit updatesAvailable(mcFileList);
}

void DownloadManager::saveDataFile(QNetworkReply *apData)
{
    if (!writeArrivedData(apData)) {
        reportWriteFailure();
        return;
    }
    if (!isComplete(apData, mpSaveFile->pos()))
        return;
    if (!mpSaveFile->commit()) {
        reportWriteFailure();
        return;
    }
    // Recorded now rather than after the import: a saved update that still
    // waits in the import folder must not be offered again.
    const QFileInfo vFile(msFileName);
    if (vFile.fileName().toLower().contains(QLatin1String(".txt"))) {
        const QString vsKey = vFile.baseName().section(QLatin1Char('_'), 0, 0);
        QSettings *vpSettings = Application::settings();
        vpSettings->setValue(versionKey(vsKey), mnVersion);
        vpSettings->sync();
    }
}

void DownloadManager::finish()
{
    // Dropping an uncommitted save file removes its temporary file and leaves
    // the target as it was.
    mpSaveFile.reset();
    mpReply = nullptr;
    emit done();
}

void DownloadManager::downloadProgress(qint64 anReceived, qint64 anTotal)
{
    qDebug() << anReceived << anTotal;
}
