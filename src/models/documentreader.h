#pragma once

#include <QRegularExpression>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Reads the rows of one document for a page: a Bible chapter's verses, a
// sermon's paragraphs (optionally highlighted for a search), and the parallel
// text of the same document in another data language. Each read answers
// false when its statement failed (logged as an SQL error) and leaves the
// rows it could not read out; the data store turns the rows into its signals.
class DocumentReader
{
public:
    using QueryFactory = std::function<QSqlQuery()>;

    struct Verse
    {
        QString msBook;
        QString msChapter;
        QString msVerse;
        QString msText;
    };
    struct ParallelVerse
    {
        QString msName; // the chapter's name
        QString msVerse;
        QString msText;
        QString msChapter;
    };

    // abIndexed: whether the open file has the document indexes.
    DocumentReader(QueryFactory aNewQuery, bool abIndexed);

    bool chapterVerses(int anBook, int anChapter, QVector<Verse> *apVerses) const;
    bool chapterVersesByTitle(const QString &asBook, int anChapter, QVector<Verse> *apVerses) const;

    // The paragraphs of the sermon with the rowid, or with the date (a search
    // hit knows its sermon by date), as eight-field records "translator\tpdf\t
    // mp3\tlength\tplace\tdate\tnumber\ttext"; asHighlight marks the words of
    // a search in the texts, or aMarks, when given, what a search with
    // modifiers found (see SearchTerms::marks).
    bool sermonParagraphs(int anRowid, const QString &asHighlight, QStringList *apRecords) const;
    bool sermonParagraphsByDate(const QString &asDate, const QString &asHighlight,
                                QStringList *apRecords,
                                const QRegularExpression &aMarks = QRegularExpression()) const;

    // The paragraphs of the translation of the sermon with the date (with or
    // without its further-translation mark) by asTranslator, as six-field
    // records "name\tdate\tplace\ttranslator\tnumber\ttext". English originals
    // are found by the plain date, whoever translated the page's sermon.
    bool parallelParagraphs(const QString &asDate, const QString &asTranslator, bool abEnglish,
                            QStringList *apRecords) const;
    // The verses of the listed chapters of a book.
    bool parallelChapters(int anBook, const QVector<int> &acChapters,
                          QVector<ParallelVerse> *apVerses) const;
    // The translators of the sermon with the date, in every translation.
    bool translators(const QString &asDate, QStringList *apTranslators) const;

private:
    bool readVerses(QSqlQuery &aQuery, QVector<Verse> *apVerses) const;
    bool readParagraphs(QSqlQuery &aSermon, const QString &asHighlight, QStringList *apRecords,
                        const QRegularExpression &aMarks = QRegularExpression()) const;

    QueryFactory mNewQuery;
    bool mbIndexed = false;
};
