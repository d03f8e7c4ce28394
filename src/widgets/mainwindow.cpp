#include "widgets/mainwindow.h"

#include <QIcon>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillmark.svg")));
}
