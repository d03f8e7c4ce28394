#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class MainWindow;
class QAction;

// The keys of the main window, whatever has the focus in it: Ctrl+F to the
// search line, Ctrl+W closes the tab on show, Ctrl+Tab and Ctrl+Shift+Tab
// go round the tabs, Alt+Left and Alt+Right page a result page back and
// forward, Ctrl+Q closes the window. The keys of a page (copy, print, …)
// belong to the page; F1 belongs to the help menu's entry.
class WindowKeys : public QObject
{
    Q_OBJECT

public:
    explicit WindowKeys(MainWindow *apWindow);

    // The platform's keys for a standard command, and the key given when
    // the platform has other ones (Close is Ctrl+F4 on some).
    static QList<QKeySequence> keys(QKeySequence::StandardKey aStandard,
                                    const QKeySequence &aWanted);

    void findText();
    void closeTab();
    // Moves by anStep tabs, round from the last to the first and back.
    void switchTab(int anStep);
    void pageBack();
    void pageForward();

private:
    QAction *addKeys(const QList<QKeySequence> &acKeys);

    MainWindow *mpWindow = nullptr;
};
