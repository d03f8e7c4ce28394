#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

// The hits of one search, counted per year of the sermons or per book of the
// Bible: one entry per year or book with hits, in the order of the years or
// of the books. The counts add up to the search's hit count.
struct HitGroup
{
    // The year's two digits ("62", empty for sermons without a date), or the
    // book's number.
    QString msKey;
    // "1962", or the book's name.
    QString msLabel;
    qint64 mnHits = 0;
    // The year's sermons or the book's chapters, as a restriction list
    // "(12,57)" of catalogue keys, within the search's own restriction and
    // without the further translations the search left out; empty when the
    // catalogue has none (hits of paragraphs or verses without a record).
    QString msKeys;
};

using HitGroups = QVector<HitGroup>;

Q_DECLARE_METATYPE(HitGroups)
