#include "widgets/windowkeys.h"

#include "widgets/mainwindow.h"
#include "widgets/navigationwidget.h"
#include "widgets/searchwidget.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"

#include <QAction>
#include <QLineEdit>

WindowKeys::WindowKeys(MainWindow *apWindow) : QObject(apWindow), mpWindow(apWindow)
{
    connect(addKeys(keys(QKeySequence::Find, Qt::CTRL | Qt::Key_F)), &QAction::triggered, this,
            &WindowKeys::findText);
    connect(addKeys(keys(QKeySequence::Close, Qt::CTRL | Qt::Key_W)), &QAction::triggered, this,
            &WindowKeys::closeTab);
    connect(addKeys(keys(QKeySequence::NextChild, Qt::CTRL | Qt::Key_Tab)), &QAction::triggered,
            this, [this] { switchTab(1); });
    connect(addKeys(keys(QKeySequence::PreviousChild, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)),
            &QAction::triggered, this, [this] { switchTab(-1); });
    // Not QKeySequence::Back: on some platforms that is Ctrl+[, and
    // Backspace would take a key from the search line.
    connect(addKeys({Qt::ALT | Qt::Key_Left}), &QAction::triggered, this, &WindowKeys::pageBack);
    connect(addKeys({Qt::ALT | Qt::Key_Right}), &QAction::triggered, this,
            &WindowKeys::pageForward);
    connect(addKeys(keys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q)), &QAction::triggered, mpWindow,
            &QWidget::close);
}

QList<QKeySequence> WindowKeys::keys(QKeySequence::StandardKey aStandard,
                                     const QKeySequence &aWanted)
{
    QList<QKeySequence> vcKeys = QKeySequence::keyBindings(aStandard);
    if (!vcKeys.contains(aWanted))
        vcKeys.append(aWanted);
    return vcKeys;
}

QAction *WindowKeys::addKeys(const QList<QKeySequence> &acKeys)
{
    auto *vpAction = new QAction(this);
    vpAction->setShortcuts(acKeys);
    vpAction->setShortcutContext(Qt::WindowShortcut);
    mpWindow->addAction(vpAction);
    return vpAction;
}

void WindowKeys::findText()
{
    QLineEdit *vpLine = mpWindow->searchWidget()->lineEdit();
    vpLine->setFocus(Qt::ShortcutFocusReason);
    vpLine->selectAll();
}

void WindowKeys::closeTab()
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    if (vpTabs->currentIndex() >= 0)
        vpTabs->closeTab(vpTabs->currentIndex());
}

void WindowKeys::switchTab(int anStep)
{
    TabWidget *vpTabs = mpWindow->tabWidget();
    const int vnCount = vpTabs->count();
    if (vnCount > 1)
        vpTabs->setCurrentIndex((vpTabs->currentIndex() + anStep + vnCount) % vnCount);
}

void WindowKeys::pageBack()
{
    if (auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget()))
        vpPage->navigationWidget()->stepBack();
}

void WindowKeys::pageForward()
{
    if (auto *vpPage = qobject_cast<TabArea *>(mpWindow->tabWidget()->currentWidget()))
        vpPage->navigationWidget()->stepForward();
}
