#pragma once

#include <QTextBrowser>

// A text view that reports when the reader scrolls to the very bottom, so a
// result page in one-page mode can load more. Tracking is switched off while
// the page renders, so a render never triggers a reload.
class TextBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit TextBrowser(QWidget *parent = nullptr);

signals:
    void bottomReached();

public slots:
    void enableReachBottomTracking();
    void disableReachBottomTracking();

private slots:
    void verticalScrollBarValueChanged(int anValue);

private:
    int mnLastValue = 0;
    bool mbTracking = true;
};
