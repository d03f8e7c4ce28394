#include "benchcase.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

BenchContext::BenchContext(const QString &asFolder) : msFolder(asFolder)
{
    // The tree in a window of the size of the main window's catalogue pane,
    // shown, so that fills are measured with the layout and painting they
    // cause in the program.
    mpWindow = new QWidget;
    auto *vpLayout = new QVBoxLayout(mpWindow);
    vpLayout->setContentsMargins(0, 0, 0, 0);
    mpTree = new TreeView(mpWindow);
    vpLayout->addWidget(mpTree);
    mpWindow->resize(320, 900);
    mpWindow->show();
    database()->setTreeView(mpTree);
    settle();
}

BenchContext::~BenchContext()
{
    database()->setTreeView(nullptr);
    delete mpWindow;
}

Database *BenchContext::database() const
{
    return Application::database();
}

void BenchContext::reopenDatabase()
{
    database()->setTreeView(nullptr);
    Application::releaseSingletons();
    // As at start-up: the shared options switch the new data store to the
    // configured data language.
    Application::sharedOptions();
    database()->setTreeView(mpTree);
}

void BenchContext::closePage(TabWidget *apTabs, TabArea *apPage, int anTimeoutMs)
{
    if (!apPage)
        return;
    QEventLoop vLoop;
    QObject::connect(apTabs, &TabWidget::pageRetired, &vLoop, &QEventLoop::quit);
    QTimer::singleShot(anTimeoutMs, &vLoop, &QEventLoop::quit);
    apTabs->closeTab(apTabs->indexOf(apPage));
    vLoop.exec();
    settle();
}

void BenchContext::settle()
{
    // Laying out schedules painting, so a few rounds are needed.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}
