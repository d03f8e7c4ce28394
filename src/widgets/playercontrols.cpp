#include "widgets/playercontrols.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

PlayerControls::PlayerControls(QWidget *parent)
    : QWidget(parent), mpPlayButton(new QToolButton(this)), mpStopButton(new QToolButton(this))
{
    mpPlayButton->setObjectName(QStringLiteral("vpPlay"));
    mpStopButton->setObjectName(QStringLiteral("vpStop"));
    mpStopButton->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    connect(mpPlayButton, &QToolButton::clicked, this, &PlayerControls::playClicked);
    connect(mpStopButton, &QToolButton::clicked, this, &PlayerControls::stop);

    auto *vpLayout = new QHBoxLayout(this);
    vpLayout->setContentsMargins(0, 0, 0, 0);
    vpLayout->addWidget(mpPlayButton);
    vpLayout->addWidget(mpStopButton);
    showState();
}

void PlayerControls::setState(QMediaPlayer::State aState)
{
    if (aState == mState)
        return;
    mState = aState;
    showState();
}

void PlayerControls::togglePlayback()
{
    if (isEnabled())
        playClicked();
}

void PlayerControls::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        showState();
    QWidget::changeEvent(apEvent);
}

void PlayerControls::playClicked()
{
    switch (mState) {
    case QMediaPlayer::StoppedState:
    case QMediaPlayer::PausedState:
        emit play();
        break;
    case QMediaPlayer::PlayingState:
        emit pause();
        break;
    }
}

void PlayerControls::showState()
{
    const bool vbPlaying = mState == QMediaPlayer::PlayingState;
    mpStopButton->setEnabled(mState != QMediaPlayer::StoppedState);
    mpStopButton->setToolTip(tr("Stop"));
    mpStopButton->setAccessibleName(tr("Stop"));
    mpPlayButton->setIcon(
        style()->standardIcon(vbPlaying ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    mpPlayButton->setToolTip(vbPlaying ? tr("Pause") : tr("Play"));
    mpPlayButton->setAccessibleName(mpPlayButton->toolTip());
}
