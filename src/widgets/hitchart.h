#pragma once

#include "models/hitgroups.h"

#include <QWidget>

// A search's hits per year of the sermons or per Bible book, as a compact
// row of bars above its results. Choosing a bar (a click, or Enter on the
// bar the arrow keys went to) asks for the search restricted to that year or
// book; choosing it again, the "All" link or Escape asks for the whole search
// again. The chart only shows and asks: its page runs the searches. It hides
// itself while there are fewer than two groups.
class HitChart : public QWidget
{
    Q_OBJECT

public:
    explicit HitChart(QWidget *parent = nullptr);

    // A new search's groups: nothing is chosen.
    void setGroups(const HitGroups &acGroups, bool abBible);
    const HitGroups &groups() const { return mcGroups; }
    // The chosen group, or -1 while the whole search shows.
    int chosen() const { return mnChosen; }
    // Where a group's bar is drawn (empty when it is not).
    QRect barRect(int anIndex) const;
    // Where the link back to the whole search is drawn (empty when it is not).
    QRect allLinkRect() const;

signals:
    // A group's catalogue keys and label, or empty ones for the whole search.
    void restrictionChosen(const QString &asKeys, const QString &asLabel);

protected:
    bool event(QEvent *apEvent) override;
    void paintEvent(QPaintEvent *apEvent) override;
    void mouseMoveEvent(QMouseEvent *apEvent) override;
    void mouseReleaseEvent(QMouseEvent *apEvent) override;
    void leaveEvent(QEvent *apEvent) override;
    void keyPressEvent(QKeyEvent *apEvent) override;
    void changeEvent(QEvent *apEvent) override;

private:
    // Where the chart's parts go at the widget's present size.
    struct Parts
    {
        QRect mCaption;
        QRect mBars;    // as high as the tallest bar, as wide as all of them
        int mnSlot = 0; // the width each group has, its bar and the gap
        int mnBar = 0;
    };
    Parts parts() const;
    int groupAt(const QPoint &aPoint) const;
    // The labels below the bars, whole or shortened to fit a bar's slot; only
    // every *apStride-th has room.
    QStringList labels(int anSlot, int *apStride) const;
    // The caption over the bars: what they show, or a group's hits.
    QString caption(int anIndex) const;
    QString allLinkText() const;
    // Chooses a group (-1: the whole search); choosing the chosen one again
    // goes back to the whole search. A group without keys cannot be chosen.
    void choose(int anIndex);
    void retranslate();

    HitGroups mcGroups;
    bool mbBible = false;
    qint64 mnMax = 0;
    qint64 mnTotal = 0;
    int mnChosen = -1;
    int mnHovered = -1;
    int mnFocused = 0;
};
