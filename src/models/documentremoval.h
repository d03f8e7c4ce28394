#pragma once

#include <QStringList>

// Deleting checked documents: sermon records with their paragraphs, or Bible
// chapters with their verses. Paragraphs and book rows are shared: a date's
// paragraphs go with the last record of that date, a book's row with its
// last chapter, so deleting one leaves the others whole.
// The statements find the rows through the content tables' indexes, so that
// a deletion never reads a whole full-text table.
namespace DocumentRemoval {

struct Report
{
    enum Status
    {
        Deleted,
        NothingSelected,
        NotAKeyList,
        // A statement failed; nothing was deleted.
        Failed
    };
    Status mStatus = NothingSelected;
    // Sermon records or chapters deleted.
    int mnDeleted = 0;
    // The driver's text, or the keys that were not a list.
    QString msProblem;
};

// The statements for a list of catalogue keys ("(12,57)", already checked
// to be one), to run in this order inside one transaction.
QStringList statements(bool abBible, const QString &asKeys);

} // namespace DocumentRemoval
