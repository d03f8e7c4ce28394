#include "widgets/hitchart.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

const int cnMargin = 8;
const int cnBarsHeight = 34;
const int cnWidestSlot = 56;

QColor mixed(const QColor &aFrom, const QColor &aTo, qreal anShare)
{
    return QColor::fromRgbF(aFrom.redF() + (aTo.redF() - aFrom.redF()) * anShare,
                            aFrom.greenF() + (aTo.greenF() - aFrom.greenF()) * anShare,
                            aFrom.blueF() + (aTo.blueF() - aFrom.blueF()) * anShare);
}

// "1 Samuel" -> "1Sa", "Genesis" -> "Gen".
QString abbreviated(const QString &asName)
{
    QString vsLetters = asName;
    vsLetters.remove(QLatin1Char(' ')).remove(QLatin1Char('.')).remove(QLatin1Char('-'));
    const int vnDigits = vsLetters.isEmpty() || !vsLetters.at(0).isDigit() ? 0 : 1;
    return vsLetters.left(vnDigits + (vnDigits ? 2 : 3));
}

// Paragraphs without a date make a group without a name.
QString labelOf(const HitGroup &aGroup)
{
    return aGroup.msLabel.isEmpty() ? QStringLiteral("?") : aGroup.msLabel;
}

} // namespace

HitChart::HitChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("hitChart"));
    setMouseTracking(true);
    // Reached with Tab; a click chooses a bar without taking the keys from the text.
    setFocusPolicy(Qt::TabFocus);
    QFont vSmall = font();
    vSmall.setPointSizeF(vSmall.pointSizeF() * 0.85);
    setFont(vSmall);
    const int vnLine = fontMetrics().height();
    setFixedHeight(3 + vnLine + 5 + cnBarsHeight + 3 + vnLine + 3);
    hide();
    retranslate();
}

void HitChart::setGroups(const HitGroups &acGroups, bool abBible)
{
    mcGroups = acGroups;
    mbBible = abBible;
    mnChosen = -1;
    mnHovered = -1;
    mnFocused = 0;
    mnMax = 0;
    mnTotal = 0;
    for (const HitGroup &vGroup : acGroups) {
        mnMax = std::max(mnMax, vGroup.mnHits);
        mnTotal += vGroup.mnHits;
    }
    setVisible(mcGroups.size() > 1 && mnTotal > 0);
    retranslate();
    update();
}

HitChart::Parts HitChart::parts() const
{
    Parts vParts;
    const int vnLine = fontMetrics().height();
    vParts.mCaption = QRect(cnMargin, 3, width() - 2 * cnMargin, vnLine);
    if (mcGroups.isEmpty())
        return vParts;
    vParts.mnSlot =
        std::max(3, std::min(cnWidestSlot, (width() - 2 * cnMargin) / int(mcGroups.size())));
    // Narrow slots keep a one-pixel gap, wide ones a quarter.
    vParts.mnBar = std::max(2, vParts.mnSlot - std::max(1, vParts.mnSlot / 4));
    vParts.mBars = QRect(cnMargin, vParts.mCaption.bottom() + 6,
                         vParts.mnSlot * int(mcGroups.size()), cnBarsHeight);
    return vParts;
}

QRect HitChart::barRect(int anIndex) const
{
    if (anIndex < 0 || anIndex >= mcGroups.size() || mnMax <= 0)
        return QRect();
    const Parts vParts = parts();
    const int vnHeight = std::max(
        2, int(std::lround(double(vParts.mBars.height()) * mcGroups.at(anIndex).mnHits / mnMax)));
    return QRect(vParts.mBars.left() + anIndex * vParts.mnSlot + (vParts.mnSlot - vParts.mnBar) / 2,
                 vParts.mBars.bottom() + 1 - vnHeight, vParts.mnBar, vnHeight);
}

QString HitChart::allLinkText() const
{
    return QStringLiteral("\u2190 ") + (mbBible ? tr("All books") : tr("All years"));
}

QRect HitChart::allLinkRect() const
{
    if (mnChosen < 0)
        return QRect();
    // First on the caption line, where the hovered bar's text cannot move it.
    const QRect vCaption = parts().mCaption;
    return QRect(vCaption.topLeft(),
                 QSize(fontMetrics().horizontalAdvance(allLinkText()), vCaption.height()));
}

int HitChart::groupAt(const QPoint &aPoint) const
{
    const Parts vParts = parts();
    // The whole column counts, so that a short bar is as easy to hit as a tall one.
    if (vParts.mnSlot <= 0 || aPoint.y() < vParts.mBars.top() || aPoint.x() < vParts.mBars.left() ||
        aPoint.x() > vParts.mBars.right() || aPoint.y() > height() - 2)
        return -1;
    return (aPoint.x() - vParts.mBars.left()) / vParts.mnSlot;
}

QStringList HitChart::labels(int anSlot, int *apStride) const
{
    const QFontMetrics vMetrics = fontMetrics();
    auto widest = [&](const QStringList &acLabels) {
        int vnWidest = 0;
        for (const QString &vsLabel : acLabels)
            vnWidest = std::max(vnWidest, vMetrics.horizontalAdvance(vsLabel));
        return vnWidest + 6;
    };
    QStringList vcLabels;
    for (const HitGroup &vGroup : mcGroups)
        vcLabels << labelOf(vGroup);
    if (widest(vcLabels) > anSlot) {
        vcLabels.clear();
        for (const HitGroup &vGroup : mcGroups)
            vcLabels << (mbBible                    ? abbreviated(vGroup.msLabel)
                         : vGroup.msKey.size() == 2 ? QStringLiteral("\u2019") + vGroup.msKey
                                                    : labelOf(vGroup));
    }
    *apStride = std::max(1, (widest(vcLabels) + anSlot - 1) / std::max(1, anSlot));
    return vcLabels;
}

QString HitChart::caption(int anIndex) const
{
    if (anIndex < 0)
        return mbBible ? tr("Hits per book") : tr("Hits per year");
    const HitGroup &vGroup = mcGroups.at(anIndex);
    return tr("%1: %2 of %3 hits")
        .arg(labelOf(vGroup), locale().toString(vGroup.mnHits), locale().toString(mnTotal));
}

void HitChart::paintEvent(QPaintEvent * /*apEvent*/)
{
    QPainter vPainter(this);
    const Parts vParts = parts();
    const QColor vAccent = palette().color(QPalette::Highlight);
    const QColor vGround = palette().color(QPalette::Window);
    const QColor vText = palette().color(QPalette::WindowText);
    const QColor vDim = mixed(vText, vGround, 0.4);

    QRect vCaption = vParts.mCaption;
    if (mnChosen >= 0) {
        const QRect vLink = allLinkRect();
        QFont vFont = font();
        vFont.setUnderline(true);
        vPainter.setFont(vFont);
        vPainter.setPen(palette().color(QPalette::Link));
        vPainter.drawText(vLink, Qt::AlignLeft | Qt::AlignVCenter, allLinkText());
        vPainter.setFont(font());
        vCaption.setLeft(vLink.right() + 1 +
                         fontMetrics().horizontalAdvance(QStringLiteral("   ")));
    }
    vPainter.setPen(mnHovered >= 0 || mnChosen >= 0 ? vText : vDim);
    vPainter.drawText(vCaption, Qt::AlignLeft | Qt::AlignVCenter,
                      caption(mnHovered >= 0 ? mnHovered : mnChosen));
    if (vParts.mnSlot <= 0)
        return;

    vPainter.setPen(mixed(vText, vGround, 0.75));
    vPainter.drawLine(vParts.mBars.left(), vParts.mBars.bottom() + 1, vParts.mBars.right(),
                      vParts.mBars.bottom() + 1);
    vPainter.setRenderHint(QPainter::Antialiasing);
    vPainter.setPen(Qt::NoPen);
    for (int i = 0; i < mcGroups.size(); ++i) {
        const bool vbStrong = i == mnChosen || i == mnHovered;
        const qreal vnFade = vbStrong ? 0 : mnChosen >= 0 ? 0.65 : 0.3;
        vPainter.setBrush(mixed(vAccent, vGround, vnFade));
        vPainter.drawRoundedRect(QRectF(barRect(i)).adjusted(0, 0, 0, 1), 1.5, 1.5);
    }
    vPainter.setRenderHint(QPainter::Antialiasing, false);

    int vnStride = 1;
    const QStringList vcLabels = labels(vParts.mnSlot, &vnStride);
    const int vnTop = vParts.mBars.bottom() + 3;
    const int vnLine = fontMetrics().height();
    for (int i = 0; i < vcLabels.size(); ++i) {
        const bool vbStrong = i == mnChosen || i == mnHovered;
        if (i % vnStride != 0 && !vbStrong)
            continue;
        const int vnCentre = vParts.mBars.left() + i * vParts.mnSlot + vParts.mnSlot / 2;
        const int vnWidth = vParts.mnSlot * vnStride;
        QFont vFont = font();
        vFont.setBold(i == mnChosen);
        vPainter.setFont(vFont);
        vPainter.setPen(vbStrong ? vText : vDim);
        vPainter.drawText(QRect(vnCentre - vnWidth / 2, vnTop, vnWidth, vnLine), Qt::AlignCenter,
                          vcLabels.at(i));
    }
    if (hasFocus() && mnFocused < mcGroups.size()) {
        vPainter.setPen(QPen(vText, 1, Qt::DotLine));
        vPainter.setBrush(Qt::NoBrush);
        vPainter.drawRect(QRect(vParts.mBars.left() + mnFocused * vParts.mnSlot,
                                vParts.mBars.top() - 2, vParts.mnSlot - 1,
                                vParts.mBars.height() + vnLine + 5));
    }
}

bool HitChart::event(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::ToolTip) {
        auto *vpHelp = static_cast<QHelpEvent *>(apEvent);
        const int vnGroup = groupAt(vpHelp->pos());
        if (vnGroup < 0) {
            QToolTip::hideText();
            apEvent->ignore();
            return true;
        }
        const HitGroup &vGroup = mcGroups.at(vnGroup);
        QToolTip::showText(vpHelp->globalPos(),
                           tr("%1\n%2 hits").arg(labelOf(vGroup), locale().toString(vGroup.mnHits)),
                           this, barRect(vnGroup));
        return true;
    }
    return QWidget::event(apEvent);
}

void HitChart::mouseMoveEvent(QMouseEvent *apEvent)
{
    const int vnGroup = groupAt(apEvent->pos());
    const bool vbLink = allLinkRect().contains(apEvent->pos());
    const bool vbChoosable = vnGroup >= 0 && !mcGroups.at(vnGroup).msKeys.isEmpty();
    setCursor(vbLink || vbChoosable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (vnGroup != mnHovered) {
        mnHovered = vnGroup;
        update();
    }
}

void HitChart::leaveEvent(QEvent *apEvent)
{
    mnHovered = -1;
    update();
    QWidget::leaveEvent(apEvent);
}

void HitChart::mouseReleaseEvent(QMouseEvent *apEvent)
{
    if (apEvent->button() != Qt::LeftButton)
        return;
    if (allLinkRect().contains(apEvent->pos())) {
        choose(-1);
        return;
    }
    const int vnGroup = groupAt(apEvent->pos());
    if (vnGroup >= 0)
        choose(vnGroup);
}

void HitChart::keyPressEvent(QKeyEvent *apEvent)
{
    const int vnLast = int(mcGroups.size()) - 1;
    switch (apEvent->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        mnFocused = apEvent->key() == Qt::Key_Home ? 0
                    : apEvent->key() == Qt::Key_End
                        ? vnLast
                        : mnFocused + (apEvent->key() == Qt::Key_Left ? -1 : 1);
        mnFocused = std::max(0, std::min(vnLast, mnFocused));
        update();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(mnFocused);
        return;
    case Qt::Key_Escape:
        if (mnChosen >= 0) {
            choose(-1);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(apEvent);
}

void HitChart::choose(int anIndex)
{
    if (anIndex >= mcGroups.size())
        return;
    if (anIndex >= 0 && anIndex == mnChosen)
        anIndex = -1;
    if ((anIndex >= 0 && mcGroups.at(anIndex).msKeys.isEmpty()) || anIndex == mnChosen)
        return;
    mnChosen = anIndex;
    if (anIndex >= 0)
        mnFocused = anIndex;
    retranslate();
    update();
    if (anIndex < 0)
        emit restrictionChosen(QString(), QString());
    else
        emit restrictionChosen(mcGroups.at(anIndex).msKeys, mcGroups.at(anIndex).msLabel);
}

void HitChart::retranslate()
{
    setAccessibleName(mbBible ? tr("Hits per book") : tr("Hits per year"));
    QStringList vcGroups;
    for (const HitGroup &vGroup : qAsConst(mcGroups))
        vcGroups << QStringLiteral("%1: %2").arg(labelOf(vGroup), locale().toString(vGroup.mnHits));
    setAccessibleDescription(
        mnChosen >= 0 ? caption(mnChosen)
                      : tr("Enter shows only the hits of the bar chosen with the arrow keys; %1")
                            .arg(vcGroups.join(QStringLiteral(", "))));
}

void HitChart::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange) {
        retranslate();
        update();
    }
    QWidget::changeEvent(apEvent);
}
