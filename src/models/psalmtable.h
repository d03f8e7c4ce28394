#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// Psalm and book numbering differ between the Russian Bible and the English
// and French ones. The table pairs every Russian psalm (or psalm verse; verse
// 0 stands for a whole chapter) with its place in the other numbering.
struct PsalmRecord
{
    int mnRussianChapter;
    int mnRussianVerse;
    int mnOtherChapter;
    int mnOtherVerse;
};

namespace PsalmTable {

QVector<PsalmRecord> build();

// (chapter, verse) of a psalm verse in the numbering of asTo.
QPair<int, int> convertPsalm(const QVector<PsalmRecord> &acTable, int anChapter, int anVerse,
                             const QString &asFrom, const QString &asTo);

// The chapters of asTo's numbering that hold one psalm chapter of asFrom's,
// comma-separated (repetitions included).
QString convertPsalmChapters(const QVector<PsalmRecord> &acTable, int anChapter,
                             const QString &asFrom, const QString &asTo);

// A Bible book number in asTo's book order, as text; empty for an unknown pair.
QString convertBookNumber(int anBook, const QString &asFrom, const QString &asTo);

// Where a chapter of asFrom's Bible (book and chapter as a page keeps them)
// stands in asTo's: the book and the distinct chapters (a psalm may span
// two). False when there is no such place (an unknown pair of orders, or a
// book or chapter that is not a number).
bool parallelPlace(const QVector<PsalmRecord> &acTable, const QString &asBook,
                   const QString &asChapter, const QString &asFrom, const QString &asTo,
                   int *apBook, QVector<int> *apChapters);

} // namespace PsalmTable
