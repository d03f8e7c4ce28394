#include "widgets/coverwidget.h"

#include <QPainter>
#include <QRadialGradient>

CoverWidget::CoverWidget(QWidget *parent)
    : QWidget(parent), mCover(QStringLiteral(":/images/cover.png"))
{
    setMinimumSize(200, 150);
}

void CoverWidget::paintEvent(QPaintEvent * /*apEvent*/)
{
    QPainter vPainter(this);
    QRadialGradient vBackground(QPointF(width() * 0.5, height() * 0.4),
                                qMax(width(), height()) * 0.75);
    vBackground.setColorAt(0, QColor(0xfd, 0xfb, 0xf5));
    vBackground.setColorAt(1, QColor(0xe6, 0xde, 0xcb));
    vPainter.fillRect(rect(), vBackground);
    if (mCover.isNull())
        return;
    const QSize vSize = mCover.size().scaled(size().boundedTo(mCover.size()), Qt::KeepAspectRatio);
    const QRect vTarget(QPoint((width() - vSize.width()) / 2, (height() - vSize.height()) / 2),
                        vSize);
    vPainter.setRenderHint(QPainter::SmoothPixmapTransform);
    vPainter.drawPixmap(vTarget, mCover);
}
