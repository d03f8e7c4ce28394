#include "widgets/articlerenderer.h"

#include "controllers/application.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

ArticleFormats ArticleFormats::fromSettings()
{
    QSettings *vpSettings = Application::settings();
    ArticleFormats vFormats;
    vFormats.msFontName =
        vpSettings->value(QStringLiteral("fontName"), QStringLiteral("Arial")).toString();
    vFormats.mnFontSize = vpSettings->value(QStringLiteral("fontSize"), 10).toInt();

    QFont vCaptionFont(vFormats.msFontName, vFormats.mnFontSize);
    vCaptionFont.setCapitalization(QFont::AllUppercase);
    vCaptionFont.setUnderline(true);
    vFormats.mCaption.setFont(vCaptionFont);
    vFormats.mCaption.setAnchor(true);
    vFormats.mCaption.setForeground(QColor(Qt::blue));

    vFormats.mNumber.setFont(QFont(vFormats.msFontName, vFormats.mnFontSize + 1));
    vFormats.mNumber.setAnchor(true);
    vFormats.mNumber.setForeground(QColor(Qt::darkGreen));

    vFormats.mText.setFont(QFont(vFormats.msFontName, vFormats.mnFontSize + 2));
    vFormats.mText.setForeground(QColor(Qt::black));
    return vFormats;
}

namespace {

// Anchor names: a document's numbers are plain ("12" for the caption, "a12"
// for the number); a result page's also carry the hit's sermon date or title.
void setAnchors(QTextCharFormat &aCaption, QTextCharFormat &aNumber, const ArticleRecord &aRecord,
                ArticleRenderer::PageKind aKind)
{
    using ArticleRenderer::PageKind;
    switch (aKind) {
    case PageKind::Document:
        aNumber.setAnchorHref(QStringLiteral("#a%0").arg(aRecord.msNumber));
        aNumber.setAnchorNames({QStringLiteral("a%0").arg(aRecord.msNumber)});
        aCaption.setAnchorHref(QStringLiteral("#%0").arg(aRecord.msNumber));
        aCaption.setAnchorNames({aRecord.msNumber});
        break;
    case PageKind::BibleResults:
        aNumber.setAnchorHref(QStringLiteral("#a%0@%1").arg(aRecord.msLeftTitle, aRecord.msNumber));
        aNumber.setAnchorNames({QStringLiteral("a%0").arg(aRecord.msLeftTitle)});
        aCaption.setAnchorHref(QStringLiteral("#%0@%1").arg(aRecord.msLeftTitle, aRecord.msNumber));
        aCaption.setAnchorNames({aRecord.msExtra1});
        break;
    case PageKind::SermonResults:
        aNumber.setAnchorHref(QStringLiteral("#a%0@%1").arg(aRecord.msExtra1, aRecord.msNumber));
        aNumber.setAnchorNames({QStringLiteral("a%0@%1").arg(aRecord.msExtra1, aRecord.msNumber)});
        aCaption.setAnchorHref(QStringLiteral("#%0@%1").arg(aRecord.msExtra1, aRecord.msNumber));
        aCaption.setAnchorNames({QStringLiteral("%0@%1").arg(aRecord.msExtra1, aRecord.msNumber)});
        break;
    }
}

} // namespace

namespace ArticleRenderer {

int render(QTextBrowser *apView, const QVector<ArticleRecord> &acRecords, int anFrom, int anLimit,
           bool abMainSide, PageKind aKind, const ArticleFormats &aFormats)
{
    QTextCursor vCursor(apView->document());
    vCursor.movePosition(QTextCursor::End);
    vCursor.beginEditBlock();
    const QString vsSpanOpen =
        QStringLiteral("<span style='font-size:%0pt;'>").arg(aFormats.mnFontSize);
    const int vnLimit = qMin(anLimit, acRecords.size());
    for (int i = qMax(0, anFrom); i < vnLimit; ++i) {
        const ArticleRecord &vRecord = acRecords.at(i);
        QTextCharFormat vCaption = aFormats.mCaption;
        QTextCharFormat vNumber = aFormats.mNumber;
        setAnchors(vCaption, vNumber, vRecord, aKind);
        vCursor.insertText(abMainSide ? vRecord.msLeftTitle : vRecord.msRightTitle, vCaption);
        vCursor.insertText(QStringLiteral("\n"), aFormats.mText);
        vCursor.insertText(QStringLiteral(" %0\t").arg(vRecord.msNumber), vNumber);
        vCursor.setCharFormat(aFormats.mText);
        vCursor.insertHtml(vsSpanOpen + (abMainSide ? vRecord.msLeftText : vRecord.msRightText) +
                           QStringLiteral("</span>"));
        vCursor.insertBlock();
    }
    vCursor.endEditBlock();
    return vCursor.position();
}

void renderNothingFound(QTextBrowser *apView, const ArticleFormats &aFormats)
{
    QTextCursor vCursor(apView->document());
    vCursor.movePosition(QTextCursor::End);
    QTextCharFormat vFormat;
    vFormat.setFont(QFont(aFormats.msFontName, 14));
    vFormat.setForeground(QColor(Qt::black));
    vCursor.insertText(QCoreApplication::translate("TabArea", "Nothing found"), vFormat);
    vCursor.insertBlock();
}

} // namespace ArticleRenderer
