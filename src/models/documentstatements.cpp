#include "models/documentstatements.h"

#include "models/contentindexes.h"
#include "models/sqlerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <atomic>

namespace DocumentStatements {

namespace {
// Set once before the first connection opens, read on the data store's thread.
std::atomic<bool> gbIndexesAllowed{true};
} // namespace

void setIndexesAllowed(bool abAllowed)
{
    gbIndexesAllowed = abAllowed;
}

bool ensureIndexes(QSqlDatabase &aConnection)
{
    if (!gbIndexesAllowed)
        return false;
    const QStringList vcStatements{
        QStringLiteral("CREATE INDEX IF NOT EXISTS paragraphs_content_date ON "
                       "paragraphs_content(c2date);"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS verses_content_chapter ON "
                       "verses_content(c1book, c2chapter);"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS chapters_content_chapter ON "
                       "chapters_content(c1book, c2chapter);")};
    return ContentIndexes::create(aConnection, vcStatements, QStringLiteral("document"));
}

QString sermonParagraphs(bool abIndexed)
{
    return abIndexed
               ? QStringLiteral("SELECT c1id, c3text FROM paragraphs_content WHERE c2date = ? "
                                "ORDER BY docid;")
               : QStringLiteral("SELECT id, text FROM paragraphs WHERE date = ?;");
}

QStringList sermonRemoval(bool abIndexed)
{
    return {QStringLiteral("DELETE FROM quotes WHERE date = ?;"),
            abIndexed ? QStringLiteral("DELETE FROM paragraphs WHERE rowid IN (SELECT docid FROM "
                                       "paragraphs_content WHERE c2date = ?);")
                      : QStringLiteral("DELETE FROM paragraphs WHERE date = ?;")};
}

QString chapterVerses(bool abIndexed)
{
    return abIndexed
               ? QStringLiteral("SELECT c3verse, c4text, c1book, c2chapter FROM verses_content "
                                "WHERE c1book = ? AND c2chapter = ? ORDER BY docid;")
               : QStringLiteral("SELECT verse, text, book, chapter FROM verses WHERE book = ? "
                                "AND chapter = ?;");
}

QString chapterVersesByTitle(bool abIndexed)
{
    return abIndexed
               ? QStringLiteral("SELECT c3verse, c4text, c1book, c2chapter FROM verses_content "
                                "WHERE c1book IN (SELECT book FROM bibles WHERE name = ?) AND "
                                "c2chapter = ? ORDER BY docid;")
               : QStringLiteral("SELECT verse, text, book, chapter FROM verses WHERE book IN "
                                "(SELECT book FROM bibles WHERE name = ?) AND chapter = ?;");
}

QString parallelChapters(bool abIndexed, int anCount)
{
    QStringList vcPlaceholders;
    for (int i = 0; i < anCount; ++i)
        vcPlaceholders.append(QStringLiteral("?"));
    const QString vsList = vcPlaceholders.join(QLatin1Char(','));
    return abIndexed
               ? QStringLiteral("SELECT v.c3verse, v.c4text, c.c1book, c.c2chapter, c.c3name FROM "
                                "chapters_content c LEFT JOIN verses_content v ON v.c1book = "
                                "c.c1book AND v.c2chapter = c.c2chapter WHERE c.c1book = ? AND "
                                "c.c2chapter IN (%0) ORDER BY c.docid, v.docid;")
                     .arg(vsList)
               : QStringLiteral("SELECT v.verse, v.text, c.book, c.chapter, c.name FROM chapters c "
                                "LEFT JOIN verses v ON v.book = c.book AND v.chapter = c.chapter "
                                "WHERE c.book = ? AND c.chapter IN (%0);")
                     .arg(vsList);
}

} // namespace DocumentStatements
