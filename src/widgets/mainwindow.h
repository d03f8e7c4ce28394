#pragma once

#include <QMainWindow>

// The program's main window. It holds the catalogue, the document tabs and
// the search; for now it is the empty frame that start-up shows.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
};
