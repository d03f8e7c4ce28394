#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// The window's longest pause while it waits for work on another thread: a
// 10 ms timer on the GUI thread, and the longest interval left between its
// ticks (or before the end) from start() to stop().
class GuiGap
{
public:
    GuiGap()
    {
        mTicks.setInterval(10);
        QObject::connect(&mTicks, &QTimer::timeout, [this] { tick(); });
    }

    void start()
    {
        mnLast = 0;
        mnGap = 0;
        mClock.start();
        mTicks.start();
    }

    // In milliseconds.
    double stop()
    {
        mTicks.stop();
        tick();
        return double(mnGap) / 1e6;
    }

private:
    void tick()
    {
        const qint64 vnNow = mClock.nsecsElapsed();
        mnGap = std::max(mnGap, vnNow - mnLast);
        mnLast = vnNow;
    }

    QElapsedTimer mClock;
    QTimer mTicks;
    qint64 mnLast = 0;
    qint64 mnGap = 0;
};
