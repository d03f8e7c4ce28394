#pragma once

#include "models/sermonfile.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <QVector>

#include <functional>

class Database;

// Makes up a full-size corpus to measure the program on: sermons made of
// paragraphs of Russian-looking text and a whole Bible, as the INSERT
// statements the text converter produces for real source files.
//
// Everything derives from the seed through std::mt19937 (whose output the
// standard fixes) and integer arithmetic; no standard distribution and no
// libm function is used, so one seed gives the same corpus with every
// compiler, library and machine. Each sermon and each Bible book draws from
// an engine of its own, seeded from the corpus seed and its index, so any
// part can be produced alone and in any order.
class CorpusGenerator
{
public:
    struct Options
    {
        quint32 mnSeed = 1;
        int mnSermons = 1260;
        // Data language: the Bible's book order and names follow it; the text
        // is Cyrillic whatever the language.
        QString msLanguage = QStringLiteral("ru");
    };

    struct Sermon
    {
        QString msDate;
        QString msName;
        QString msTranslator;
        QString msPdf;
        QString msMp3;
        QString msLength;
        QString msPlace;
        int mnParagraphs = 0;
    };

    struct Totals
    {
        int mnSermons = 0;
        qint64 mnParagraphs = 0;
        qint64 mnSermonBytes = 0; // UTF-8 size of the paragraph texts
        int mnBooks = 0;
        int mnChapters = 0;
        int mnVerses = 0;
        qint64 mnBibleBytes = 0; // UTF-8 size of the verse texts
        bool mbOk = true;        // false once a batch failed; writing stops there
    };

    explicit CorpusGenerator(const Options &aOptions);

    const Options &options() const { return mOptions; }

    // In insertion order: first translations in random order, then the
    // further translations (date suffix " *").
    const QVector<Sermon> &sermons() const { return mcSermons; }

    // Sermon anIndex as a source or update file holds it (paragraphs "E-1",
    // "E-2", … whose texts start with the blank after the label).
    SermonFile sermon(int anIndex) const;

    // The sermon's record statement followed by one statement per paragraph
    // ("E-1", "E-2", …). apTextBytes receives the UTF-8 size of its text.
    QStringList sermonStatements(int anIndex, qint64 *apTextBytes = nullptr) const;

    // Book anBook (1-66, in the data language's book order): its record, its
    // chapters ("<book> <n>") and its verses.
    QStringList bookStatements(int anBook, qint64 *apTextBytes = nullptr) const;

    static int bookCount();
    QString bookName(int anBook) const;
    int chapterCount(int anBook) const;
    int verseCount(int anBook, int anChapter) const;

    // A word by frequency rank, 0 being the most frequent. Search benchmarks
    // pick frequent, middling and rare words with it.
    QString word(int anRank) const { return mcWords.at(anRank); }
    int vocabularySize() const { return mcWords.size(); }

    // Writes the corpus through the data store, one transaction per sermon and
    // per book, and compacts the file at the end as the converter does.
    // aProgress is called after every batch.
    Totals write(Database &aDatabase, bool abBible,
                 const std::function<void(const Totals &)> &aProgress = {}) const;

private:
    class Dice;
    struct Book
    {
        int mnWestern; // index into the book table (western order)
        QVector<int> mcVerses;
    };

    void buildVocabulary(Dice &aDice);
    void buildSermons(Dice &aDice);
    void buildBible(Dice &aDice);
    QString makeWord(Dice &aDice, int anSyllables, bool abEnding = true) const;
    QString makeName(Dice &aDice, const QStringList &acEndings) const;
    QString makeTitle(Dice &aDice) const;
    int pickRank(Dice &aDice) const;
    void appendSentence(Dice &aDice, QString &asText) const;

    Options mOptions;
    QVector<QString> mcWords;
    QVector<QString> mcCapitalised;
    QVector<quint64> mcCumulative; // running sum of the rank weights
    QVector<QString> mcTranslators;
    QVector<QString> mcPlaces;
    QVector<Sermon> mcSermons;
    QVector<Book> mcBooks;
};
