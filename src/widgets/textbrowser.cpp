#include "widgets/textbrowser.h"

#include <QScrollBar>

TextBrowser::TextBrowser(QWidget *parent) : QTextBrowser(parent)
{
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TextBrowser::verticalScrollBarValueChanged);
}

void TextBrowser::verticalScrollBarValueChanged(int anValue)
{
    const bool vbChanged = anValue != mnLastValue;
    mnLastValue = anValue;
    if (anValue == verticalScrollBar()->maximum() && vbChanged && !document()->isEmpty())
        emit bottomReached();
}

void TextBrowser::disableReachBottomTracking()
{
    if (!mbTracking)
        return;
    mbTracking = false;
    disconnect(verticalScrollBar(), &QScrollBar::valueChanged, this,
               &TextBrowser::verticalScrollBarValueChanged);
}

void TextBrowser::enableReachBottomTracking()
{
    if (mbTracking)
        return;
    mbTracking = true;
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TextBrowser::verticalScrollBarValueChanged);
}
