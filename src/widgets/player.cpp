#include "widgets/player.h"

#include "controllers/application.h"
#include "controllers/modalbox.h"
#include "widgets/playercontrols.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlaylist>
#include <QSlider>

Player::Player(QWidget *parent) : Player(Service::Ask, parent)
{
}

Player::Player(Service aService, QWidget *parent)
    : QWidget(parent), mpPlayer(new QMediaPlayer(this)), mpPlaylist(new QMediaPlaylist(mpPlayer)),
      mpSlider(new QSlider(Qt::Horizontal, this)), mpTimeLabel(new QLabel(this)),
      mpControls(new PlayerControls(this))
{
    mpPlayer->setPlaylist(mpPlaylist);
    connect(mpPlayer, &QMediaPlayer::durationChanged, this, &Player::durationChanged);
    connect(mpPlayer, &QMediaPlayer::positionChanged, this, &Player::positionChanged);
    connect(mpPlayer, &QMediaPlayer::bufferStatusChanged, this, &Player::bufferingProgress);
    connect(mpPlayer, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
            &Player::displayErrorMessage);
    connect(mpPlayer, &QMediaPlayer::mediaStatusChanged, this, &Player::statusChanged);

    mpSlider->setObjectName(QStringLiteral("vpSlider"));
    mpSlider->setRange(0, static_cast<int>(mpPlayer->duration() / 1000));
    connect(mpSlider, &QSlider::sliderMoved, this, &Player::seek);
    mpTimeLabel->setObjectName(QStringLiteral("vpTime"));
    mpSlider->setAccessibleName(tr("Position in the recording"));

    mpControls->setState(mpPlayer->state());
    connect(mpControls, &PlayerControls::play, mpPlayer, &QMediaPlayer::play);
    connect(mpControls, &PlayerControls::pause, mpPlayer, &QMediaPlayer::pause);
    connect(mpControls, &PlayerControls::stop, mpPlayer, &QMediaPlayer::stop);
    connect(mpPlayer, &QMediaPlayer::stateChanged, mpControls, &PlayerControls::setState);

    auto *vpLayout = new QHBoxLayout(this);
    vpLayout->setContentsMargins(0, 0, 0, 0);
    vpLayout->addWidget(mpControls);
    vpLayout->addWidget(mpSlider);
    vpLayout->addWidget(mpTimeLabel);

    if (aService == Service::Missing || !mpPlayer->isAvailable()) {
        ModalBox::warning(this, tr("Service not available"),
                          tr("The QMediaPlayer object does not have a valid service.\n"
                             "Please check the media service plugins are installed."));
        mpControls->setEnabled(false);
    }

    QStringList vcArguments = QCoreApplication::arguments();
    if (!vcArguments.isEmpty())
        vcArguments.removeFirst();
    addToPlaylist(vcArguments);
}

void Player::playUrl(const QString &asLocation)
{
    if (asLocation.isEmpty())
        return;
    const QUrl vUrl = Application::sharedOptions()->playRemote() ? QUrl(asLocation)
                                                                 : QUrl::fromLocalFile(asLocation);
    msTrackInfo = vUrl.fileName();
    updateWindowTitle();
    mpPlayer->stop();
    mpPlayer->setMedia(vUrl);
    mpPlayer->play();
}

void Player::showDownloadProgress(const QString &asPercent)
{
    mpTimeLabel->setText(asPercent + QStringLiteral("/ 100"));
}

QString Player::timeText(qint64 anPosition, qint64 anDuration)
{
    if (anPosition == 0 && anDuration == 0)
        return QString();
    // Without hours the minutes are not wrapped, so that they never lose one.
    const bool vbHours = anDuration > 3600;
    const auto clock = [vbHours](qint64 anSeconds) {
        const QLatin1Char vZero('0');
        const QString vsMinutes =
            QStringLiteral("%1:%2")
                .arg(vbHours ? anSeconds / 60 % 60 : anSeconds / 60, 2, 10, vZero)
                .arg(anSeconds % 60, 2, 10, vZero);
        return vbHours ? QStringLiteral("%1:").arg(anSeconds / 3600, 2, 10, vZero) + vsMinutes
                       : vsMinutes;
    };
    return clock(anPosition) + QStringLiteral(" / ") + clock(anDuration);
}

void Player::open()
{
    addToPlaylist(QFileDialog::getOpenFileNames(this, tr("Open Files")));
}

void Player::durationChanged(qint64 anDuration)
{
    mnDuration = anDuration / 1000;
    mpSlider->setMaximum(static_cast<int>(mnDuration));
}

void Player::positionChanged(qint64 anProgress)
{
    // The slider stays where the user drags it until it is let go.
    if (!mpSlider->isSliderDown())
        mpSlider->setValue(static_cast<int>(anProgress / 1000));
    mpTimeLabel->setText(timeText(anProgress / 1000, mnDuration));
}

void Player::seek(int anSeconds)
{
    mpPlayer->setPosition(anSeconds * qint64(1000));
}

void Player::statusChanged(QMediaPlayer::MediaStatus aStatus)
{
    switch (aStatus) {
    case QMediaPlayer::LoadingMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::StalledMedia:
        setCursor(QCursor(Qt::BusyCursor));
        break;
    default:
        unsetCursor();
        break;
    }

    switch (aStatus) {
    case QMediaPlayer::UnknownMediaStatus:
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
        setStatusInfo(QString());
        break;
    case QMediaPlayer::LoadingMedia:
        setStatusInfo(tr("Loading..."));
        break;
    case QMediaPlayer::StalledMedia:
        setStatusInfo(tr("Media Stalled"));
        break;
    case QMediaPlayer::EndOfMedia:
        QApplication::alert(this);
        break;
    case QMediaPlayer::InvalidMedia:
        displayErrorMessage();
        break;
    }
}

void Player::bufferingProgress(int anProgress)
{
    setStatusInfo(tr("Buffering %4%").arg(anProgress));
}

void Player::displayErrorMessage()
{
    setStatusInfo(mpPlayer->errorString());
}

void Player::addToPlaylist(const QStringList &acFileNames)
{
    for (const QString &vsName : acFileNames) {
        const QFileInfo vInfo(vsName);
        if (vInfo.isFile())
            mpPlaylist->addMedia(QUrl::fromLocalFile(vInfo.absoluteFilePath()));
    }
}

void Player::togglePlayback()
{
    mpControls->togglePlayback();
}

void Player::setStatusInfo(const QString &asInfo)
{
    msStatusInfo = asInfo;
    updateWindowTitle();
}

void Player::updateWindowTitle()
{
    setWindowTitle(msStatusInfo.isEmpty()
                       ? msTrackInfo
                       : QStringLiteral("%1 | %2").arg(msTrackInfo, msStatusInfo));
}
