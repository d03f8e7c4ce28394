#include "models/documentremoval.h"

namespace DocumentRemoval {

QStringList statements(bool abBible, const QString &asKeys)
{
    if (!abBible)
        // Paragraphs belong to a date: they stay while a record of that
        // date that is not deleted needs them.
        return {QStringLiteral("DELETE FROM paragraphs WHERE rowid IN (SELECT p.docid FROM "
                               "paragraphs_content p WHERE p.c2date IN (SELECT c1date FROM "
                               "quotes_content WHERE docid IN %0) AND NOT EXISTS (SELECT 1 FROM "
                               "quotes_content o WHERE o.c1date = p.c2date AND o.docid NOT IN "
                               "%0));")
                    .arg(asKeys),
                QStringLiteral("DELETE FROM quotes WHERE rowid IN %0;").arg(asKeys)};
    // Verses and book rows are found through the chapters, which go last.
    return {QStringLiteral("DELETE FROM verses WHERE rowid IN (SELECT v.docid FROM "
                           "chapters_content c JOIN verses_content v ON v.c1book = c.c1book AND "
                           "v.c2chapter = c.c2chapter WHERE c.docid IN %0);")
                .arg(asKeys),
            QStringLiteral("DELETE FROM bibles WHERE rowid IN (SELECT b.docid FROM bibles_content "
                           "b WHERE b.c1book IN (SELECT c1book FROM chapters_content WHERE docid "
                           "IN %0) AND NOT EXISTS (SELECT 1 FROM chapters_content o WHERE "
                           "o.c1book = b.c1book AND o.docid NOT IN %0));")
                .arg(asKeys),
            QStringLiteral("DELETE FROM chapters WHERE rowid IN %0;").arg(asKeys)};
}

} // namespace DocumentRemoval
