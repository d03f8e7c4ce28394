#pragma once

#include "controllers/sharedoptions.h"

#include <QMediaPlayer>
#include <QStringList>
#include <QWidget>

class PlayerControls;
class QLabel;
class QMediaPlaylist;
class QSlider;

// The compact audio player of a sermon page: play/pause and stop, a seek
// slider in whole seconds and the time played, over a media player whose
// playlist also takes the files named on the command line. While a sermon's
// MP3 downloads, the time label shows the download's progress instead.
class Player : public QWidget, public DownloadProgressView
{
    Q_OBJECT

public:
    explicit Player(QWidget *parent = nullptr);

    // Plays a sermon's media: asLocation is taken as a URL when the media is
    // played remotely, as a local file otherwise.
    void playUrl(const QString &asLocation);
    void showDownloadProgress(const QString &asPercent) override;

    // The time label's text for a position and a duration in seconds: both
    // with hours when the duration is over an hour, empty when both are 0.
    static QString timeText(qint64 anPosition, qint64 anDuration);

public slots:
    void open();
    void durationChanged(qint64 anDuration);
    void positionChanged(qint64 anProgress);
    void seek(int anSeconds);
    void statusChanged(QMediaPlayer::MediaStatus aStatus);
    void bufferingProgress(int anProgress);
    void displayErrorMessage();
    void addToPlaylist(const QStringList &acFileNames);
    // Play or pause, as the play button would; for a keyboard shortcut.
    void togglePlayback();

protected:
    // Whether to ask the media player for its service or to take it as
    // missing, so that the crippled player can be seen where a service exists.
    enum class Service
    {
        Ask,
        Missing
    };
    Player(Service aService, QWidget *parent);

private:
    void setStatusInfo(const QString &asInfo);
    void updateWindowTitle();

    QMediaPlayer *mpPlayer = nullptr;
    QMediaPlaylist *mpPlaylist = nullptr;
    QSlider *mpSlider = nullptr;
    QLabel *mpTimeLabel = nullptr;
    PlayerControls *mpControls = nullptr;
    qint64 mnDuration = 0;
    QString msTrackInfo;
    QString msStatusInfo;
};
