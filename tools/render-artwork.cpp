// Draws the program's own artwork: the application icon (icons/icon.png) and
// the cover shown while no document is open (images/cover.png).
//   render-artwork <repository folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawBook(QPainter &aPainter, const QRectF &aRect, const QColor &aCover, const QColor &aPaper)
{
    const qreal w = aRect.width();
    const qreal h = aRect.height();
    const QPointF o = aRect.topLeft();
    // Two pages meeting at a spine, slightly curved.
    for (int side = 0; side < 2; ++side) {
        const qreal sign = side == 0 ? -1.0 : 1.0;
        const QPointF spineTop = o + QPointF(w / 2, h * 0.12);
        const QPointF spineBottom = o + QPointF(w / 2, h * 0.98);
        const QPointF outerTop = o + QPointF(w / 2 + sign * w * 0.48, h * 0.04);
        const QPointF outerBottom = o + QPointF(w / 2 + sign * w * 0.48, h * 0.88);
        QPainterPath cover;
        cover.moveTo(spineTop + QPointF(0, h * 0.03));
        cover.quadTo(o + QPointF(w / 2 + sign * w * 0.25, h * 0.0),
                     outerTop + QPointF(sign * w * 0.02, h * 0.03));
        cover.lineTo(outerBottom + QPointF(sign * w * 0.02, h * 0.05));
        cover.quadTo(o + QPointF(w / 2 + sign * w * 0.25, h * 0.86),
                     spineBottom + QPointF(0, h * 0.02));
        cover.closeSubpath();
        aPainter.setPen(Qt::NoPen);
        aPainter.setBrush(aCover);
        aPainter.drawPath(cover);

        QPainterPath page;
        page.moveTo(spineTop);
        page.quadTo(o + QPointF(w / 2 + sign * w * 0.25, h * -0.04), outerTop);
        page.lineTo(outerBottom);
        page.quadTo(o + QPointF(w / 2 + sign * w * 0.25, h * 0.82), spineBottom);
        page.closeSubpath();
        aPainter.setBrush(aPaper);
        aPainter.setPen(QPen(aCover.darker(130), qMax(1.0, w / 120)));
        aPainter.drawPath(page);

        // Lines of text.
        aPainter.setPen(
            QPen(QColor(0x9c, 0x8a, 0x66), qMax(1.0, w / 90), Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 6; ++line) {
            const qreal y = h * (0.24 + line * 0.1);
            const qreal x1 = w / 2 + sign * w * 0.08;
            const qreal x2 = w / 2 + sign * w * (line == 5 ? 0.28 : 0.4);
            aPainter.drawLine(o + QPointF(x1, y), o + QPointF(x2, y - h * 0.02));
        }
    }
}

void drawQuill(QPainter &aPainter, const QPointF &aTip, qreal aLength, const QColor &aColour)
{
    aPainter.save();
    aPainter.translate(aTip);
    aPainter.rotate(-50);
    QPainterPath feather;
    feather.moveTo(0, 0);
    feather.cubicTo(aLength * 0.25, -aLength * 0.16, aLength * 0.75, -aLength * 0.2, aLength,
                    -aLength * 0.02);
    feather.cubicTo(aLength * 0.7, aLength * 0.08, aLength * 0.3, aLength * 0.08, 0, 0);
    QLinearGradient shade(0, -aLength * 0.2, 0, aLength * 0.1);
    shade.setColorAt(0, aColour.lighter(135));
    shade.setColorAt(1, aColour.darker(120));
    aPainter.setPen(Qt::NoPen);
    aPainter.setBrush(shade);
    aPainter.drawPath(feather);
    aPainter.setPen(QPen(aColour.darker(170), qMax(1.0, aLength / 60)));
    aPainter.drawLine(QPointF(0, 0), QPointF(aLength * 0.98, -aLength * 0.03));
    aPainter.restore();
}

QImage icon(int anSize)
{
    QImage image(anSize, anSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBook(painter, QRectF(anSize * 0.04, anSize * 0.3, anSize * 0.8, anSize * 0.62),
             QColor(0x3a, 0x5f, 0x8f), QColor(0xfb, 0xf7, 0xec));
    drawQuill(painter, QPointF(anSize * 0.5, anSize * 0.62), anSize * 0.62,
              QColor(0xc8, 0x8a, 0x2e));
    return image;
}

QImage cover()
{
    const int w = 900;
    const int h = 560;
    // Transparent: the cover widget paints the background to its own size.
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    drawBook(painter, QRectF(w * 0.31, h * 0.14, w * 0.38, h * 0.42), QColor(0x3a, 0x5f, 0x8f),
             QColor(0xfe, 0xfc, 0xf6));
    drawQuill(painter, QPointF(w * 0.52, h * 0.5), h * 0.42, QColor(0xc8, 0x8a, 0x2e));

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(58);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(title);
    painter.setPen(QColor(0x2c, 0x3e, 0x57));
    painter.drawText(QRectF(0, h * 0.63, w, 80), Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Quillmark"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(19);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(subtitle);
    painter.setPen(QColor(0x7a, 0x6a, 0x4c));
    painter.drawText(QRectF(0, h * 0.63 + 78, w, 40), Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("read  \u00b7  search  \u00b7  compare"));
    painter.setPen(QPen(QColor(0xc8, 0xb8, 0x94), 1.5));
    painter.drawLine(QPointF(w * 0.38, h * 0.63 + 80), QPointF(w * 0.62, h * 0.63 + 80));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = icon(64).save(root + QStringLiteral("/icons/icon.png")) &&
              cover().save(root + QStringLiteral("/images/cover.png"));
    // The desktop's icon theme sizes, drawn at each size rather than scaled.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = root + QStringLiteral("/icons/hicolor/%1x%1").arg(size);
        ok = QDir().mkpath(folder) && icon(size).save(folder + QStringLiteral("/quillmark.png")) && ok;
    }
    return ok ? 0 : 1;
}
