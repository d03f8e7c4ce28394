#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QNetworkAccessManager;
class QSaveFile;

// Fetches one file at a time over HTTP: the update server's version list
// (which it turns into the list of wanted updates) or a data file saved to a
// target path. Callers set the URL (and, for files, the target path and the
// version to record), call download() and wait in a local event loop for
// done(), which comes exactly once per download, whatever happened.
//
// A data file is written only once it has arrived completely, through a
// temporary file that replaces the target in one step: a failed or cancelled
// download never leaves a partial file, and never destroys an existing one.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    enum DownloadType
    {
        VersionList = 0,
        DataFile = 1
    };
    Q_ENUM(DownloadType)

    explicit DownloadManager(QObject *parent = nullptr);
    ~DownloadManager() override;

    void setUrl(const QString &asUrl);
    void setFileName(const QString &asFileName);
    void setVersion(int anVersion);
    QNetworkReply::NetworkError error() const;

    // Lines of the last version list that name wanted updates.
    QStringList fileList() const;
    bool isBusy() const;

    // Which lines of a version list name updates that are wanted: a newer
    // version than "Version-<key>" records, for a configured data language.
    // A line is a file name, optionally followed by ";" and a note; a name
    // that is not a plain file name (FileName::isPlain) is never offered.
    static QStringList wantedUpdates(const QStringList &acLines);
    // The wanted updates of a version list as the server sent it (UTF-8,
    // one line per file).
    static QStringList wantedUpdates(const QByteArray &aBody);

    // Key and version of one version-list line ("ru_12.txt" gives "ru" and 12).
    static QString lineKey(const QString &asLine);
    static int lineVersion(const QString &asLine);

public slots:
    // Returns the reply (callers may abort() it to cancel), or nullptr while
    // another download of this manager is still running; a refused call
    // emits no done().
    QNetworkReply *download(DownloadManager::DownloadType aType);
    void downloadFinished(QNetworkReply *apData);
    void downloadProgress(qint64 anReceived, qint64 anTotal);

signals:
    void done();
    void downloadingProgress(qint64 anReceived, qint64 anTotal);
    // Emitted (directly, before done()) when a version list names wanted
    // updates; the update dialog is opened from here.
    void updatesAvailable(const QStringList &acFiles);

private:
    void handleVersionList(QNetworkReply *apData);
    void saveDataFile(QNetworkReply *apData);
    bool writeArrivedData(QNetworkReply *apData);
    bool isComplete(QNetworkReply *apData, qint64 anReceived);
    void reportNetworkFailure(const QString &asDetail);
    void reportWriteFailure();
    void finish();

    int mnVersion = 0;
    QString msFileName;
    QStringList mcFileList;
    QNetworkReply::NetworkError mnError = QNetworkReply::NoError;
    QNetworkAccessManager *mpManager = nullptr;
    QString msUrl;
    bool mbVersionList = false;
    // The reply in flight; null when the manager is idle.
    QPointer<QNetworkReply> mpReply;
    // A data file is written here as it arrives and replaces the target only
    // when complete.
    std::unique_ptr<QSaveFile> mpSaveFile;
    bool mbWriteFailed = false;
};
