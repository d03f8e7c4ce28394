#pragma once

#include <QPair>
#include <QString>
#include <QVector>

#include <functional>

// One record a page shows: a paragraph or verse of a document (with its
// parallel translation once one arrives), or one search hit.
struct ArticleRecord
{
    QString msExtra1; // a hit's sermon date, or its Bible book
    QString msExtra2; // a Bible hit's chapter
    QString msNumber;
    QString msLeftTitle;
    QString msLeftText;
    QString msRightTitle;
    QString msRightText;
};

// The records of one page, made from the data store's results the way a page
// shows them: captions built from the page title, sermon records taken apart,
// a parallel text paired with the main one by number (psalms converted into
// the page's numbering first). The tab pages and the command-line tool both
// keep what they show here, so the two cannot drift apart.
class PageRecords
{
public:
    // A sermon's details, sent along with each of its paragraphs.
    struct SermonDetails
    {
        QString msTranslator;
        QString msPdf;
        QString msMp3;
        QString msLength;
        QString msPlace;
        QString msDate;
    };

    // (chapter, verse) of a parallel psalm verse in the page's numbering.
    using PsalmPlacement = std::function<QPair<int, int>(int anChapter, int anVerse)>;

    // The page title (a sermon's or chapter's catalogue text); captions of the
    // page's own records start with it.
    void setTitle(const QString &asTitle) { msTitle = asTitle; }
    QString title() const { return msTitle; }

    const QVector<ArticleRecord> &records() const { return mcRecords; }
    void clear() { mcRecords.clear(); }
    // Drops the parallel text; the page's own records stay.
    void clearParallel();

    // A paragraph of the page's sermon, as the data store sends it
    // ("translator\tpdf\tmp3\tlength\tplace\tdate\tnumber\ttext"; the text may
    // hold tabs itself). False, and nothing added, for a shorter record.
    bool addSermonParagraph(const QString &asRecord, SermonDetails *apDetails = nullptr);
    // A paragraph of the parallel sermon ("name\tdate\tplace\ttranslator\t
    // number\ttext"), put beside the page's paragraph of the same number.
    bool addParallelParagraph(const QString &asRecord);
    // A verse of the page's chapter.
    void addVerse(const QString &asVerse, const QString &asText);
    // A verse of the parallel chapter asChapter, put beside the page's verse
    // of the same number. In the Psalms (book 19) the numbering differs
    // between Bibles: the verse is placed by aPsalmPlacement and left out when
    // it belongs to another psalm than anPageChapter.
    void addParallelVerse(const QString &asName, const QString &asVerse, const QString &asText,
                          const QString &asChapter, int anPageBook, int anPageChapter,
                          const PsalmPlacement &aPsalmPlacement);
    // One search hit; asKey is the hit's sermon date or Bible book,
    // asChapter a Bible hit's chapter.
    void addHit(const QString &asTitle, const QString &asNumber, const QString &asText,
                const QString &asKey, const QString &asChapter);

private:
    void setParallel(const QString &asNumber, const QString &asTitle, const QString &asText);

    QString msTitle;
    QVector<ArticleRecord> mcRecords;
};
