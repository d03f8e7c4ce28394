#include "widgets/focuschain.h"

#include <QAction>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace {

void collect(QLayout *apLayout, QList<QWidget *> *apList)
{
    for (int i = 0; i < apLayout->count(); ++i) {
        QLayoutItem *vpItem = apLayout->itemAt(i);
        if (QWidget *vpWidget = vpItem->widget())
            apList->append(FocusChain::controls(vpWidget));
        else if (QLayout *vpInner = vpItem->layout())
            collect(vpInner, apList);
    }
}

} // namespace

QList<QWidget *> FocusChain::controls(QWidget *apWidget)
{
    // A focus proxy stands for the whole widget (a tab widget's tab bar).
    if ((apWidget->focusPolicy() & Qt::TabFocus) || apWidget->focusProxy())
        return {apWidget};
    QList<QWidget *> vcControls;
    if (QLayout *vpLayout = apWidget->layout())
        collect(vpLayout, &vcControls);
    return vcControls;
}

QList<QWidget *> FocusChain::toolBarControls(QToolBar *apToolBar)
{
    QList<QWidget *> vcControls;
    for (QAction *vpAction : apToolBar->actions()) {
        QWidget *vpWidget = apToolBar->widgetForAction(vpAction);
        if (!vpWidget || vpAction->isSeparator())
            continue;
        if (qobject_cast<QToolButton *>(vpWidget) && vpWidget->focusPolicy() == Qt::NoFocus)
            vpWidget->setFocusPolicy(Qt::TabFocus);
        vcControls << controls(vpWidget);
    }
    return vcControls;
}

void FocusChain::link(const QList<QWidget *> &acWidgets)
{
    for (int i = 1; i < acWidgets.size(); ++i)
        QWidget::setTabOrder(acWidgets.at(i - 1), acWidgets.at(i));
}
