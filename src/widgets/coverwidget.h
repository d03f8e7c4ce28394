#pragma once

#include <QPixmap>
#include <QWidget>

// The cover shown where documents open while none is open: the picture,
// scaled down to fit, centred on a soft paper-coloured background.
class CoverWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CoverWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *apEvent) override;

private:
    QPixmap mCover;
};
