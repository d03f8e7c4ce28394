#include "widgets/navigationwidget.h"

#include "controllers/application.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

NavigationWidget::NavigationWidget(int anMode, QWidget *parent) : QWidget(parent), mnMode(anMode)
{
    mpBackButton = new QToolButton(this);
    mpBackButton->setIcon(Resources::icon(QStringLiteral(":/icons/back.png")));
    mpBackButton->setAutoRaise(true);
    mpForwardButton = new QToolButton(this);
    mpForwardButton->setIcon(Resources::icon(QStringLiteral(":/icons/forward.png")));
    mpForwardButton->setAutoRaise(true);
    mpLabel = new QLabel(this);
    mpPageCombo = new QComboBox(this);
    mpPageCombo->setMinimumWidth(50);
    mpOnePageButton = new QToolButton(this);
    mpOnePageButton->setIcon(Resources::icon(QStringLiteral(":/icons/one_page.png")));
    mpOnePageButton->setCheckable(true);

    connect(mpBackButton, &QToolButton::clicked, this, &NavigationWidget::navigate);
    connect(mpForwardButton, &QToolButton::clicked, this, &NavigationWidget::navigate);
    connect(mpPageCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &NavigationWidget::pageSelected);
    const SharedOptions *vpOptions = Application::sharedOptions();
    mpOnePageButton->setChecked(anMode == 2 ? vpOptions->bibleOnePage() : vpOptions->onePage());
    mpOnePageButton->hide();
    connect(mpOnePageButton, &QToolButton::toggled, this, &NavigationWidget::activateOnePage);

    auto *vpLayout = new QHBoxLayout(this);
    vpLayout->setContentsMargins(0, 0, 0, 0);
    vpLayout->addWidget(mpBackButton);
    vpLayout->addWidget(mpLabel);
    vpLayout->addWidget(mpForwardButton);
    vpLayout->addWidget(mpPageCombo);
    retranslate();
    setPagesCount(0);
}

void NavigationWidget::retranslate()
{
    mpBackButton->setAccessibleName(tr("Previous page"));
    mpForwardButton->setAccessibleName(tr("Next page"));
    mpPageCombo->setAccessibleName(tr("Page"));
    mpPageCombo->setAccessibleDescription(tr("Goes to the page of results chosen"));
    mpOnePageButton->setAccessibleName(tr("All results on one page"));
    for (QToolButton *vpButton : {mpBackButton, mpForwardButton, mpOnePageButton})
        vpButton->setToolTip(vpButton->accessibleName());
}

bool NavigationWidget::press(QToolButton *apButton)
{
    if (!apButton->isEnabled() || apButton->isHidden())
        return false;
    apButton->click();
    return true;
}

bool NavigationWidget::stepBack()
{
    return press(mpBackButton);
}

bool NavigationWidget::stepForward()
{
    return press(mpForwardButton);
}

bool NavigationWidget::isOnePage() const
{
    return mpOnePageButton->isChecked();
}

void NavigationWidget::setPagesCount(int anValue)
{
    mnSavedPagesCount = isOnePage() ? mnPagesCount : anValue;
    mnPagesCount = qMax(1, anValue);
    mnCurrentPage = 1;
    mbReady = false;
    const QSignalBlocker vBlock(mpPageCombo);
    mpPageCombo->clear();
    mpPageCombo->setEnabled(mnPagesCount > 1 && !isOnePage());
    for (int i = 1; i <= mnPagesCount; ++i)
        mpPageCombo->addItem(QString::number(i));
    navigate();
}

void NavigationWidget::refresh()
{
    const bool vbOnePage = isOnePage();
    const int vnCurrent = vbOnePage ? 1 : mnCurrentPage;
    const int vnTotal = vbOnePage ? 1 : mnPagesCount;
    mpLabel->setText(QStringLiteral("%0 %1 %2")
                         .arg(QString::number(vnCurrent), tr("from"), QString::number(vnTotal)));
    mpBackButton->setEnabled(mnCurrentPage > 1 && !vbOnePage);
    mpForwardButton->setEnabled(mnCurrentPage < mnPagesCount && !vbOnePage);
    {
        const QSignalBlocker vBlock(mpPageCombo);
        mpPageCombo->setCurrentIndex(vbOnePage ? 0 : mnCurrentPage - 1);
        mpPageCombo->setEnabled(!vbOnePage && mnPagesCount > 1);
    }
    mbReady = true;
}

QString NavigationWidget::labelText() const
{
    return mpLabel->text();
}

void NavigationWidget::navigate()
{
    if (!mbReady) {
        refresh();
        return;
    }
    QObject *vpSender = sender();
    if (vpSender == mpBackButton && mnCurrentPage > 1)
        --mnCurrentPage;
    else if (vpSender == mpForwardButton && mnCurrentPage < mnPagesCount)
        ++mnCurrentPage;

    if (vpSender && vpSender->objectName().endsWith(QLatin1String("TextBrowser"))) {
        // The reader reached the bottom of a view.
        loadNextChunk();
        return;
    }
    if (vpSender == mpBackButton || vpSender == mpForwardButton)
        emit currentPageChanged(mnCurrentPage, isOnePage());
    refresh();
}

void NavigationWidget::loadNextChunk()
{
    if (mbReady && isOnePage() && mnCurrentPage < mnPagesCount) {
        ++mnCurrentPage;
        emit currentPageChanged(mnCurrentPage, true);
    }
    refresh();
}

void NavigationWidget::pageSelected(int anPageIndex)
{
    if (mbReady && anPageIndex >= 0 && anPageIndex < mnPagesCount) {
        mnCurrentPage = anPageIndex + 1;
        emit currentPageChanged(mnCurrentPage, false);
    }
    refresh();
}

void NavigationWidget::activateOnePage(bool abOnePage)
{
    mpBackButton->setEnabled(!abOnePage);
    mpForwardButton->setEnabled(!abOnePage);
    mpPageCombo->setEnabled(!abOnePage);
    setPagesCount(abOnePage ? 1 : mnSavedPagesCount);
    emit onePageChanged(abOnePage);
}

void NavigationWidget::setBackEnabled(bool abEnabled)
{
    mpBackButton->setEnabled(abEnabled && !isOnePage());
}

void NavigationWidget::setForwardEnabled(bool abEnabled)
{
    mpForwardButton->setEnabled(abEnabled && !isOnePage());
}

void NavigationWidget::hideControls()
{
    mpBackButton->hide();
    mpForwardButton->hide();
    mpLabel->hide();
    mpPageCombo->hide();
    mpOnePageButton->hide();
}

void NavigationWidget::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange) {
        retranslate();
        if (mbReady)
            refresh();
    }
    QWidget::changeEvent(apEvent);
}
