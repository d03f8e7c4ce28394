#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The small window shown in the middle of the screen while the start-up
// imports update files: which file of how many, and how far the current one
// has got.
class ImportSplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit ImportSplashScreen(QWidget *parent = nullptr);

    // Shows the window centred on the primary screen.
    void showCentred();

public slots:
    void updateCurrent(qint64 anValue, qint64 anTotal);
    void updateOverall(qint64 anValue, qint64 anTotal);

protected:
    void changeEvent(QEvent *apEvent) override;

private:
    void retranslate();

    QLabel *mpLabel = nullptr;
    QProgressBar *mpCurrentBar = nullptr;
    QProgressBar *mpOverallBar = nullptr;
    qint64 mnFile = 0;
    qint64 mnFiles = 0;
};
