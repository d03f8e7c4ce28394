// The audio player's time text, slider, buttons and statuses, the player without
// a media service, and real playback (into GStreamer's fake sink, fast).
#include "support/testsupport.h"

#include "controllers/application.h"
#include "widgets/player.h"
#include "widgets/playercontrols.h"

#include <QLabel>
#include <QSlider>
#include <QtMath>
#include <QToolButton>

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void timeLabel();
    void controls();
    void status();
    void missingService();
    void playback();
};

void TestPlayer::timeLabel()
{
    QCOMPARE(Player::timeText(0, 0), QString());
    QCOMPARE(Player::timeText(5, 0), QString("00:05 / 00:00"));
    QCOMPARE(Player::timeText(65, 185), QString("01:05 / 03:05"));
    QCOMPARE(Player::timeText(0, 3600), QString("00:00 / 60:00"));
    QCOMPARE(Player::timeText(59, 3601), QString("00:00:59 / 01:00:01"));

    Player vPlayer;
    auto *vpSlider = vPlayer.findChild<QSlider *>();
    auto *vpTime = vPlayer.findChild<QLabel *>();
    vPlayer.durationChanged(185400);
    vPlayer.positionChanged(65900);
    // While the user holds the slider only the label follows the playback.
    vpSlider->setSliderDown(true);
    vPlayer.positionChanged(70000);
    QCOMPARE(QList<int>({vpSlider->maximum(), vpSlider->value()}), QList<int>({185, 65}));
    QCOMPARE(vpTime->text(), QString("01:10 / 03:05"));
    vPlayer.showDownloadProgress("  42");
    QCOMPARE(vpTime->text(), QString("  42/ 100"));
}

void TestPlayer::controls()
{
    PlayerControls vControls;
    QStringList vcAsked;
    connect(&vControls, &PlayerControls::play, [&vcAsked] { vcAsked << "play"; });
    connect(&vControls, &PlayerControls::pause, [&vcAsked] { vcAsked << "pause"; });
    connect(&vControls, &PlayerControls::stop, [&vcAsked] { vcAsked << "stop"; });
    // Each state in turn: the play button's tool tip, then what a click on it,
    // the shortcut and a click on the stop button ask for.
    const QList<QPair<QMediaPlayer::State, QString>> vcSteps{
        {QMediaPlayer::StoppedState, "Play: play play"},
        {QMediaPlayer::PlayingState, "Pause: pause pause stop"},
        {QMediaPlayer::PausedState, "Play: play play stop"},
        {QMediaPlayer::StoppedState, "Play: play play"}};
    for (const auto &vStep : vcSteps) {
        vControls.setState(vStep.first);
        vcAsked.clear();
        auto *vpPlay = vControls.findChild<QToolButton *>("vpPlay");
        vpPlay->click();
        vControls.togglePlayback();
        vControls.findChild<QToolButton *>("vpStop")->click();
        QCOMPARE(vpPlay->toolTip() + ": " + vcAsked.join(' '), vStep.second);
    }
}

void TestPlayer::status()
{
    // A status after "Buffering 40%": whether it is busy, and the status text.
    const QList<std::tuple<QMediaPlayer::MediaStatus, bool, QString>> vcCases{
        {QMediaPlayer::LoadingMedia, true, "Loading..."},
        {QMediaPlayer::StalledMedia, true, "Media Stalled"},
        {QMediaPlayer::BufferingMedia, true, ""},
        {QMediaPlayer::BufferedMedia, false, ""},
        {QMediaPlayer::EndOfMedia, false, "Buffering 40%"},
        {QMediaPlayer::InvalidMedia, false, ""}}; // no error, no error text
    for (const auto &[vStatus, vbBusy, vsShown] : vcCases) {
        Player vPlayer;
        vPlayer.statusChanged(QMediaPlayer::StalledMedia);
        vPlayer.bufferingProgress(40);
        vPlayer.statusChanged(vStatus);
        QCOMPARE(vPlayer.cursor().shape(), vbBusy ? Qt::BusyCursor : Qt::ArrowCursor);
        QCOMPARE(vPlayer.windowTitle().section(" | ", 1), vsShown); // "track | status"
    }
}

void TestPlayer::missingService()
{
    struct PlayerWithoutService : Player
    {
        PlayerWithoutService() : Player(Service::Missing, nullptr) {}
    };
    BoxRecorder vBoxes;
    PlayerWithoutService vPlayer;
    QCOMPARE(vBoxes.count(), 1);
    QCOMPARE(vBoxes.requests().at(0).title, QString("Service not available"));
    QVERIFY(!vPlayer.findChild<PlayerControls *>()->isEnabled());
}

void TestPlayer::playback()
{
    if (!QMediaPlayer().isAvailable())
        QSKIP("No media service (Qt Multimedia's GStreamer plugin): nothing can play");
    TempAppDir vApp;
    Player vPlayer;
    auto *vpMedia = vPlayer.findChild<QMediaPlayer *>();
    auto *vpSlider = vPlayer.findChild<QSlider *>();
    // Played remotely, the location is a URL; nothing answers there.
    Application::sharedOptions()->setPlayRemote(true);
    vPlayer.playUrl("http://127.0.0.1:1/x.mp3");
    QCOMPARE(vpMedia->currentMedia().request().url(), QUrl("http://127.0.0.1:1/x.mp3"));
    QTRY_COMPARE_WITH_TIMEOUT(vpMedia->mediaStatus(), QMediaPlayer::InvalidMedia, 30000);
    Application::sharedOptions()->setPlayRemote(false);

    const QString vsLame = QStandardPaths::findExecutable("lame");
    if (vsLame.isEmpty())
        QSKIP("lame is not installed (scripts/install-deps.sh installs it): no MP3 to play");
    // 3 s of a 440 Hz tone, 8000 Hz mono 16-bit PCM behind its 44-byte WAV header.
    QByteArray vaWav = QByteArray::fromHex("52494646a4bb000057415645666d7420100000000100010040"
                                           "1f0000803e0000020010006461746180bb0000");
    for (int i = 0; i < 3 * 8000; ++i) {
        const qint16 vnSample = qToLittleEndian<qint16>(8000 * qSin(2 * M_PI * 440 * i / 8000));
        vaWav.append(reinterpret_cast<const char *>(&vnSample), 2);
    }
    QTemporaryDir vDir;
    const QString vsMp3 = vDir.filePath("a.mp3");
    QVERIFY(TestSupport::writeFile(vDir.filePath("a.wav"), vaWav));
    QCOMPARE(QProcess::execute(vsLame, {"--quiet", vDir.filePath("a.wav"), vsMp3}), 0);

    QSignalSpy vEnd(vpMedia, &QMediaPlayer::mediaStatusChanged);
    const auto ended = [&vEnd] {
        return vEnd.contains({QVariant::fromValue(QMediaPlayer::EndOfMedia)});
    };
    vPlayer.playUrl(vsMp3);
    QCOMPARE(vpMedia->currentMedia().request().url(), QUrl::fromLocalFile(vsMp3));
    QTRY_VERIFY2_WITH_TIMEOUT(ended(), qPrintable(vpMedia->errorString()), 30000);
    QCOMPARE(vpSlider->maximum(), 3);
    const QString vsTime = vPlayer.findChild<QLabel *>()->text();
    QVERIFY2(QRegularExpression("^00:0\\d / 00:03$").match(vsTime).hasMatch(), qPrintable(vsTime));

    // Played again from where the slider was moved to, to the end.
    vPlayer.seek(1);
    QTRY_VERIFY_WITH_TIMEOUT(vpMedia->position() >= 1000 && vpSlider->value() == 1, 30000);
    vEnd.clear();
    vPlayer.togglePlayback();
    QTRY_VERIFY2_WITH_TIMEOUT(ended(), qPrintable(vpMedia->errorString()), 30000);
}

QUILLMARK_TEST_MAIN(TestPlayer)
#include "test_player.moc"
