#pragma once

#include "models/pagerecords.h"

#include <QString>
#include <QTextCharFormat>
#include <QVector>

class QTextBrowser;

// The character formats of rendered pages, from "fontName" and "fontSize".
struct ArticleFormats
{
    QTextCharFormat mCaption;
    QTextCharFormat mNumber;
    QTextCharFormat mText;
    QString msFontName;
    int mnFontSize = 10;

    static ArticleFormats fromSettings();
};

// Turns records into rich text: per record a caption line, then the number
// and the text. Captions and numbers are anchors, named so that the two views
// of a page scroll together and a search hit can be jumped to.
namespace ArticleRenderer {

enum class PageKind
{
    Document,
    SermonResults,
    BibleResults
};

// Appends records [anFrom, anLimit) to the view's document, through one
// cursor with repainting and undo history off. Returns the end position.
int render(QTextBrowser *apView, const QVector<ArticleRecord> &acRecords, int anFrom, int anLimit,
           bool abMainSide, PageKind aKind, const ArticleFormats &aFormats);

// The text shown when a search found nothing.
void renderNothingFound(QTextBrowser *apView, const ArticleFormats &aFormats);

} // namespace ArticleRenderer
