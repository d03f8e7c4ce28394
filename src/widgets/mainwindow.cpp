#include "widgets/mainwindow.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillmark.svg")));
    // The window is shown maximised; this is its size where no window manager
    // maximises it, and when the user restores it.
    if (const QScreen *vpScreen = QGuiApplication::primaryScreen())
        setGeometry(vpScreen->availableGeometry());
}
