#include "widgets/importsplashscreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

ImportSplashScreen::ImportSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    auto *vpLayout = new QVBoxLayout(this);
    mpLabel = new QLabel(this);
    mpCurrentBar = new QProgressBar(this);
    mpOverallBar = new QProgressBar(this);
    mpCurrentBar->setValue(0);
    mpOverallBar->setValue(0);
    vpLayout->addWidget(mpLabel);
    vpLayout->addWidget(mpCurrentBar);
    vpLayout->addWidget(mpOverallBar);
    setMinimumWidth(360);
    retranslate();
}

void ImportSplashScreen::showCentred()
{
    adjustSize();
    if (const QScreen *vpScreen = QGuiApplication::primaryScreen()) {
        const QRect vScreen = vpScreen->geometry();
        move(vScreen.x() + vScreen.width() / 2 - width() / 2,
             vScreen.y() + vScreen.height() / 2 - height() / 2);
    }
    show();
    raise();
}

void ImportSplashScreen::updateCurrent(qint64 anValue, qint64 anTotal)
{
    // The bars count in int; the numbers are paragraphs and files.
    mpCurrentBar->setMaximum(int(anTotal));
    mpCurrentBar->setValue(int(anValue));
}

void ImportSplashScreen::updateOverall(qint64 anValue, qint64 anTotal)
{
    mnFile = anValue;
    mnFiles = anTotal;
    mpOverallBar->setMaximum(int(anTotal));
    mpOverallBar->setValue(int(anValue));
    // A new file starts from nothing.
    mpCurrentBar->setValue(0);
    retranslate();
}

void ImportSplashScreen::retranslate()
{
    setWindowTitle(tr("Import Data"));
    mpLabel->setText(mnFiles > 0 ? tr("Import: %0 of %1").arg(mnFile).arg(mnFiles)
                                 : tr("Import Data"));
}

void ImportSplashScreen::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(apEvent);
}
