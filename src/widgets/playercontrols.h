#pragma once

#include <QMediaPlayer>
#include <QWidget>

class QToolButton;

// The player's buttons: one that plays or pauses as the playback state
// calls for, and one that stops. They only ask for playback through their
// signals; the media player's state, fed back through setState(), decides
// what they show.
class PlayerControls : public QWidget
{
    Q_OBJECT

public:
    explicit PlayerControls(QWidget *parent = nullptr);

    QMediaPlayer::State state() const { return mState; }

public slots:
    void setState(QMediaPlayer::State aState);
    // What the play button does, for a keyboard shortcut; nothing while the
    // controls are disabled.
    void togglePlayback();

signals:
    void play();
    void pause();
    void stop();

protected:
    void changeEvent(QEvent *apEvent) override;

private slots:
    void playClicked();

private:
    void showState();

    QMediaPlayer::State mState = QMediaPlayer::StoppedState;
    QToolButton *mpPlayButton = nullptr;
    QToolButton *mpStopButton = nullptr;
};
