#include "models/searchstatements.h"

#include "models/contentindexes.h"
#include "models/searchterms.h"
#include "models/sqlerror.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <atomic>

namespace SearchStatements {

namespace {

// Set once before the first connection opens, read on the data store's thread.
std::atomic<bool> gbIndexesAllowed{true};

// Further translations of a sermon: their date is at least nine characters
// long. A missing date fails "length(date) < 9" as well, so it counts here.
const char *const scDuplicates = "SELECT docid FROM paragraphs_content WHERE length(c2date) >= 9 "
                                 "OR length(c2date) IS NULL";

// The paragraphs of the listed sermons: a necessary condition that needs no
// paragraph text. The join with the sermon records then settles each hit.
QString restrictedParagraphs(const QString &asList)
{
    return QStringLiteral("SELECT docid FROM paragraphs_content WHERE c2date IN (SELECT c1date "
                          "FROM quotes_content WHERE docid IN %1)")
        .arg(asList);
}

// The verses of the listed chapters.
QString restrictedVerses(const QString &asList)
{
    return QStringLiteral("SELECT w.docid FROM chapters_content r CROSS JOIN verses_content w ON "
                          "w.c1book = r.c1book AND w.c2chapter = r.c2chapter WHERE r.docid IN %1")
        .arg(asList);
}

QString number(int anValue)
{
    return QString::number(anValue);
}

// Text that cannot leave the SQL string literal it is put in.
QString literalSafe(const QString &asText)
{
    QString vsResult;
    vsResult.reserve(asText.size() + 2);
    int vnRun = 0;
    for (const QChar vChar : asText) {
        if (vChar.category() == QChar::Other_Control)
            continue;
        if (vChar == QLatin1Char('\'')) {
            ++vnRun;
        } else {
            if (vnRun % 2 != 0)
                vsResult.append(QLatin1Char('\''));
            vnRun = 0;
        }
        vsResult.append(vChar);
    }
    if (vnRun % 2 != 0)
        vsResult.append(QLatin1Char('\''));
    return vsResult;
}

QString joinWords(const QString &asText, const QString &asBefore, const QString &asAfter,
                  const QString &asSeparator)
{
    QStringList vcPieces;
    // Every single blank separates; two blanks give an empty word.
    for (const QString &vsWord : asText.split(QLatin1Char(' ')))
        vcPieces.append(asBefore + vsWord + asAfter);
    return vcPieces.join(asSeparator);
}

} // namespace

void setIndexesAllowed(bool abAllowed)
{
    gbIndexesAllowed = abAllowed;
}

bool ensureIndexes(QSqlDatabase &aConnection)
{
    if (!gbIndexesAllowed)
        return false;
    // Besides these, the statements use the document statements' indexes on
    // paragraph dates and on the book and chapter of verses and chapters.
    const QStringList vcStatements{
        QStringLiteral("CREATE INDEX IF NOT EXISTS paragraphs_content_date_length ON "
                       "paragraphs_content(length(c2date));"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS quotes_content_date ON quotes_content(c1date);"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS bibles_content_book ON bibles_content(c1book);")};
    return ContentIndexes::create(aConnection, vcStatements, QStringLiteral("search"));
}

bool isLikeSearch(AdvancedSearchFlags aFlags)
{
    return int(searchMode(aFlags)) == CaseSensitive;
}

QString condition(const QString &asText, AdvancedSearchFlags aFlags, const QString &asLanguage)
{
    const QString vsWidened = SearchTerms::condition(literalSafe(asText), aFlags, asLanguage);
    return vsWidened.isEmpty() ? condition(asText, searchMode(aFlags)) : vsWidened;
}

QString condition(const QString &asText, AdvancedSearchFlags aFlags)
{
    aFlags = searchMode(aFlags);
    const QString vsText = literalSafe(asText);
    if (int(aFlags) == ExactPhrase)
        return QLatin1Char('"') + vsText + QLatin1Char('"');
    if (int(aFlags) == WholeWords)
        return vsText;
    if (isLikeSearch(aFlags))
        return joinWords(vsText, QStringLiteral("%"), QStringLiteral("%"),
                         QStringLiteral("' AND text LIKE '"));
    if (int(aFlags) == AnyWord) {
        // The option promises hits with at least one of the words, not all.
        QStringList vcWords = vsText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (vcWords.size() > 1) {
            for (QString &vsWord : vcWords)
                vsWord += QLatin1Char('*');
            return vcWords.join(QStringLiteral(" OR "));
        }
    }
    return joinWords(vsText, QString(), QStringLiteral("*"), QStringLiteral(" "));
}

QString fromUserText(const QString &asText)
{
    QString vsText;
    vsText.reserve(asText.size());
    for (const QChar vChar : asText)
        if (vChar.category() != QChar::Other_Control)
            vsText.append(vChar);
    return vsText.replace(QLatin1Char('\''), QStringLiteral("''"));
}

bool isKeyList(const QString &asList)
{
    static const QRegularExpression scList(
        QStringLiteral("^\\(\\s*[+-]?\\d+(\\s*,\\s*[+-]?\\d+)*\\s*\\)$"));
    return scList.match(asList.trimmed()).hasMatch();
}

QString restrictionList(const QString &asList)
{
    const QString vsList = asList.trimmed();
    if (vsList.isEmpty())
        return QString();
    if (!isKeyList(vsList)) {
        qDebug().noquote() << "Not a list of keys:" << vsList;
        return QStringLiteral("(NULL)");
    }
    QStringList vcKeys = vsList.mid(1, vsList.size() - 2).split(QLatin1Char(','));
    for (QString &vsKey : vcKeys)
        vsKey = vsKey.trimmed();
    return QLatin1Char('(') + vcKeys.join(QLatin1Char(',')) + QLatin1Char(')');
}

namespace {
// The condition the plain sermon statements put before the text condition:
// the restriction, or else the duplicates rule.
QString plainPrefix(const Search &aSearch)
{
    if (!aSearch.restriction.isEmpty())
        return QStringLiteral("q.rowid IN ") + aSearch.restriction + QStringLiteral(" AND");
    return aSearch.hideDuplicates ? QStringLiteral(" length(date) < 9 AND") : QString();
}
} // namespace

// All placeholders are filled in one pass, so that a "%2" in the search text
// stays what it is.

QString sermonPage(bool abIndexed, const Search &aSearch, int anLimit, int anOffset)
{
    const bool vbRestricted = !aSearch.restriction.isEmpty();
    if (!abIndexed) {
        const QString vsPrefix = plainPrefix(aSearch);
        QString vsStatement;
        if (vbRestricted)
            vsStatement = aSearch.like
                              ? QStringLiteral("SELECT text, id, p.date   FROM paragraphs p LEFT "
                                               "OUTER  JOIN quotes q  ON q.date = p.date  WHERE "
                                               "%1 text LIKE '%2' LIMIT %3 OFFSET %4;")
                              : QStringLiteral("SELECT text, id, p.date   FROM paragraphs p LEFT "
                                               "OUTER  JOIN quotes q  ON q.date = p.date  WHERE "
                                               "%1 text MATCH '%2' LIMIT %3 OFFSET %4;");
        else
            vsStatement = aSearch.like ? QStringLiteral("SELECT text, id, date   FROM paragraphs  "
                                                        "WHERE %1 text LIKE '%2' LIMIT %3 OFFSET "
                                                        "%4;")
                                       : QStringLiteral("SELECT text, id, date   FROM paragraphs  "
                                                        "WHERE %1 text MATCH   '%2' LIMIT %3 "
                                                        "OFFSET %4;");
        return vsStatement.arg(vsPrefix, aSearch.condition, number(anLimit), number(anOffset));
    }

    if (vbRestricted) {
        const QString vsStatement =
            aSearch.like
                ? QStringLiteral(
                      "SELECT text, id, date FROM (SELECT docid, c1id AS id, c2date AS date, "
                      "c3text AS text FROM paragraphs_content) p CROSS JOIN quotes_content q ON "
                      "q.c1date = p.date AND q.docid IN %1 WHERE p.docid IN (%2) AND text LIKE "
                      "'%3' ORDER BY p.docid LIMIT %4 OFFSET %5;")
                : QStringLiteral("SELECT p.c3text, p.c1id, p.c2date FROM paragraphs m CROSS JOIN "
                                 "paragraphs_content p ON p.docid = m.docid CROSS JOIN "
                                 "quotes_content q ON q.c1date = p.c2date AND q.docid IN %1 WHERE "
                                 "m.docid IN (%2) AND m.text MATCH '%3' ORDER BY m.docid LIMIT %4 "
                                 "OFFSET %5;");
        return vsStatement.arg(aSearch.restriction, restrictedParagraphs(aSearch.restriction),
                               aSearch.condition, number(anLimit), number(anOffset));
    }
    if (aSearch.like)
        return QStringLiteral("SELECT text, id, date FROM (SELECT docid, c1id AS id, c2date AS "
                              "date, c3text AS text FROM paragraphs_content) WHERE %1 text LIKE "
                              "'%2' ORDER BY docid LIMIT %3 OFFSET %4;")
            .arg(aSearch.hideDuplicates ? QStringLiteral("length(date) < 9 AND") : QString(),
                 aSearch.condition, number(anLimit), number(anOffset));
    // Only docids are compared for the duplicates: no stored text is read
    // for a hit that is left out or skipped.
    return QStringLiteral("SELECT text, id, date FROM paragraphs WHERE text MATCH '%1'%2 ORDER BY "
                          "docid LIMIT %3 OFFSET %4;")
        .arg(aSearch.condition,
             aSearch.hideDuplicates
                 ? QStringLiteral(" AND docid NOT IN (%1)").arg(QLatin1String(scDuplicates))
                 : QString(),
             number(anLimit), number(anOffset));
}

QString sermonCount(bool abIndexed, const Search &aSearch)
{
    const bool vbRestricted = !aSearch.restriction.isEmpty();
    if (!abIndexed) {
        const QString vsPrefix = plainPrefix(aSearch);
        QString vsStatement;
        if (vbRestricted)
            vsStatement = aSearch.like ? QStringLiteral("SELECT count(*) FROM paragraphs p LEFT "
                                                        "OUTER  JOIN quotes q  ON q.date = p.date "
                                                        "WHERE %1 text LIKE '%2';")
                                       : QStringLiteral("SELECT count(*) FROM paragraphs p LEFT "
                                                        "OUTER  JOIN quotes q  ON q.date = p.date "
                                                        "WHERE %1 text MATCH '%2';");
        else
            vsStatement = aSearch.like
                              ? QStringLiteral("SELECT count(*) FROM paragraphs WHERE %1 text "
                                               "LIKE '%2';")
                              : QStringLiteral("SELECT count(*) FROM paragraphs WHERE %1 text "
                                               "MATCH '%2';");
        return vsStatement.arg(vsPrefix, aSearch.condition);
    }

    if (vbRestricted) {
        const QString vsStatement =
            aSearch.like
                ? QStringLiteral("SELECT count(*) FROM (SELECT docid, c2date AS date, c3text AS "
                                 "text FROM paragraphs_content) p CROSS JOIN quotes_content q ON "
                                 "q.c1date = p.date AND q.docid IN %1 WHERE p.docid IN (%2) AND "
                                 "text LIKE '%3';")
                : QStringLiteral("SELECT count(*) FROM paragraphs m CROSS JOIN paragraphs_content "
                                 "p ON p.docid = m.docid CROSS JOIN quotes_content q ON q.c1date "
                                 "= p.c2date AND q.docid IN %1 WHERE m.docid IN (%2) AND m.text "
                                 "MATCH '%3';");
        return vsStatement.arg(aSearch.restriction, restrictedParagraphs(aSearch.restriction),
                               aSearch.condition);
    }
    if (aSearch.like)
        return QStringLiteral("SELECT count(*) FROM (SELECT c2date AS date, c3text AS text FROM "
                              "paragraphs_content) WHERE %1 text LIKE '%2';")
            .arg(aSearch.hideDuplicates ? QStringLiteral("length(date) < 9 AND") : QString(),
                 aSearch.condition);
    return QStringLiteral("SELECT count(*) FROM paragraphs WHERE text MATCH '%1'%2;")
        .arg(aSearch.condition,
             aSearch.hideDuplicates
                 ? QStringLiteral(" AND docid NOT IN (%1)").arg(QLatin1String(scDuplicates))
                 : QString());
}

QString sermonMatches(bool abIndexed, const Search &aSearch)
{
    if (!abIndexed || aSearch.like || !aSearch.restriction.isEmpty())
        return QString();
    return QStringLiteral("SELECT docid FROM paragraphs WHERE text MATCH '%1'%2 ORDER BY docid;")
        .arg(aSearch.condition,
             aSearch.hideDuplicates
                 ? QStringLiteral(" AND docid NOT IN (%1)").arg(QLatin1String(scDuplicates))
                 : QString());
}

QString sermonRows(const QString &asDocids)
{
    return QStringLiteral("SELECT c3text, c1id, c2date FROM paragraphs_content WHERE docid IN (%1) "
                          "ORDER BY docid;")
        .arg(asDocids);
}

QString sermonDetail(bool abIndexed)
{
    return abIndexed
               ? QStringLiteral("SELECT c3translator, c2name, c7place FROM quotes_content "
                                "WHERE c1date = ? ORDER BY docid LIMIT 1;")
               : QStringLiteral("SELECT translator, name, place FROM quotes WHERE date == ?;");
}

// Without indexes a restricted Bible search is the unrestricted statement of
// its mode with the chapters' rowids as a further condition.

// The chapter join of the indexed Bible statements: every chapter row of the
// verse (as the full-text join gives them), or only the listed chapters.
static QString bibleChapterJoin(const Search &aSearch)
{
    return aSearch.restriction.isEmpty()
               ? QStringLiteral("LEFT JOIN chapters_content c ON c.c1book = v.c1book AND "
                                "c.c2chapter = v.c2chapter")
               : QStringLiteral("CROSS JOIN chapters_content c ON c.c1book = v.c1book AND "
                                "c.c2chapter = v.c2chapter AND c.docid IN %1")
                     .arg(aSearch.restriction);
}

// A restricted Bible search first narrows the verses to the listed chapters'.
static QString bibleVerseFilter(const Search &aSearch)
{
    if (aSearch.restriction.isEmpty())
        return QString();
    return QStringLiteral("%1.docid IN (%2) AND ")
        .arg(aSearch.like ? QStringLiteral("v") : QStringLiteral("m"),
             restrictedVerses(aSearch.restriction));
}

QString biblePage(bool abIndexed, const Search &aSearch, int anLimit, int anOffset)
{
    const bool vbRestricted = !aSearch.restriction.isEmpty();
    if (!abIndexed) {
        const QString vsStatement =
            aSearch.like
                ? QStringLiteral("SELECT b.name, v.chapter, v.verse, v.text, v.book FROM verses v "
                                 "LEFT OUTER JOIN      chapters c ON c.chapter = v.chapter AND    "
                                 "  c.book = v.book LEFT OUTER JOIN bibles b ON      b.book = "
                                 "v.book WHERE %1v.text LIKE '%2'   LIMIT %3 OFFSET %4;")
                : QStringLiteral("SELECT b.name, v.chapter, v.verse, v.text, v.book FROM verses v "
                                 "LEFT OUTER JOIN      chapters c ON c.chapter = v.chapter AND    "
                                 "  c.book = v.book LEFT OUTER JOIN bibles b ON      b.book = "
                                 "v.book WHERE %1v.text MATCH '%2'  LIMIT %3 OFFSET %4;");
        return vsStatement.arg(vbRestricted
                                   ? QStringLiteral("c.rowid IN %1 AND ").arg(aSearch.restriction)
                                   : QString(),
                               aSearch.condition, number(anLimit), number(anOffset));
    }
    const QString vsStatement =
        aSearch.like
            ? QStringLiteral("SELECT b.c2name, v.c2chapter, v.c3verse, v.text, v.c1book FROM "
                             "(SELECT docid, c1book, c2chapter, c3verse, c4text AS text FROM "
                             "verses_content) v %1 LEFT JOIN bibles_content b ON b.c1book = "
                             "v.c1book WHERE %2v.text LIKE '%3' ORDER BY v.docid LIMIT %4 OFFSET "
                             "%5;")
            : QStringLiteral("SELECT b.c2name, v.c2chapter, v.c3verse, v.c4text, v.c1book FROM "
                             "verses m CROSS JOIN verses_content v ON v.docid = m.docid %1 LEFT "
                             "JOIN bibles_content b ON b.c1book = v.c1book WHERE %2m.text MATCH "
                             "'%3' ORDER BY m.docid LIMIT %4 OFFSET %5;");
    return vsStatement.arg(bibleChapterJoin(aSearch), bibleVerseFilter(aSearch), aSearch.condition,
                           number(anLimit), number(anOffset));
}

QString bibleCount(bool abIndexed, const Search &aSearch)
{
    const bool vbRestricted = !aSearch.restriction.isEmpty();
    if (!abIndexed) {
        const QString vsStatement =
            aSearch.like
                ? QStringLiteral("SELECT count(*) FROM verses v LEFT OUTER JOIN      chapters c ON "
                                 "c.chapter = v.chapter AND c.book = v.book      LEFT OUTER JOIN "
                                 "bibles b ON b.book = v.book WHERE %1v.text LIKE '%2' ;")
                : QStringLiteral("SELECT count(*) FROM verses v LEFT OUTER JOIN      chapters c ON "
                                 "c.chapter = v.chapter AND c.book = v.book      LEFT OUTER JOIN "
                                 "bibles b ON b.book = v.book WHERE %1v.text MATCH '%2' ;");
        return vsStatement.arg(vbRestricted
                                   ? QStringLiteral("c.rowid IN %1 AND ").arg(aSearch.restriction)
                                   : QString(),
                               aSearch.condition);
    }
    const QString vsStatement =
        aSearch.like ? QStringLiteral("SELECT count(*) FROM (SELECT docid, c1book, c2chapter, "
                                      "c4text AS text FROM verses_content) v %1 LEFT JOIN "
                                      "bibles_content b ON b.c1book = v.c1book WHERE %2v.text "
                                      "LIKE '%3';")
                     : QStringLiteral("SELECT count(*) FROM verses m CROSS JOIN verses_content v "
                                      "ON v.docid = m.docid %1 LEFT JOIN bibles_content b ON "
                                      "b.c1book = v.c1book WHERE %2m.text MATCH '%3';");
    return vsStatement.arg(bibleChapterJoin(aSearch), bibleVerseFilter(aSearch), aSearch.condition);
}

// The grouped counts are the count statements with the group's columns in
// place of the bare count: the same joins, conditions and multiplicities.

QString sermonGroups(bool abIndexed, const Search &aSearch)
{
    const bool vbRestricted = !aSearch.restriction.isEmpty();
    const QString vsOperator = aSearch.like ? QStringLiteral("LIKE") : QStringLiteral("MATCH");
    if (!abIndexed) {
        const QString vsStatement =
            vbRestricted ? QStringLiteral("SELECT substr(p.date, 1, 2), count(*) FROM paragraphs p "
                                          "LEFT OUTER JOIN quotes q ON q.date = p.date WHERE %1 "
                                          "text %2 '%3' GROUP BY 1 ORDER BY 1;")
                         : QStringLiteral("SELECT substr(date, 1, 2), count(*) FROM paragraphs "
                                          "WHERE %1 text %2 '%3' GROUP BY 1 ORDER BY 1;");
        return vsStatement.arg(plainPrefix(aSearch), vsOperator, aSearch.condition);
    }

    if (vbRestricted) {
        const QString vsStatement =
            aSearch.like
                ? QStringLiteral("SELECT substr(p.date, 1, 2), count(*) FROM (SELECT docid, "
                                 "c2date AS date, c3text AS text FROM paragraphs_content) p CROSS "
                                 "JOIN quotes_content q ON q.c1date = p.date AND q.docid IN %1 "
                                 "WHERE p.docid IN (%2) AND text LIKE '%3' GROUP BY 1 ORDER BY 1;")
                : QStringLiteral("SELECT substr(p.c2date, 1, 2), count(*) FROM paragraphs m CROSS "
                                 "JOIN paragraphs_content p ON p.docid = m.docid CROSS JOIN "
                                 "quotes_content q ON q.c1date = p.c2date AND q.docid IN %1 WHERE "
                                 "m.docid IN (%2) AND m.text MATCH '%3' GROUP BY 1 ORDER BY 1;");
        return vsStatement.arg(aSearch.restriction, restrictedParagraphs(aSearch.restriction),
                               aSearch.condition);
    }
    if (aSearch.like)
        return QStringLiteral("SELECT substr(date, 1, 2), count(*) FROM (SELECT c2date AS date, "
                              "c3text AS text FROM paragraphs_content) WHERE %1 text LIKE '%2' "
                              "GROUP BY 1 ORDER BY 1;")
            .arg(aSearch.hideDuplicates ? QStringLiteral("length(date) < 9 AND") : QString(),
                 aSearch.condition);
    // Each hit's date is read anyway, so the duplicates rule is applied to
    // it directly (a missing date fails it, as in the count).
    return QStringLiteral("SELECT substr(p.c2date, 1, 2), count(*) FROM paragraphs m CROSS JOIN "
                          "paragraphs_content p ON p.docid = m.docid WHERE m.text MATCH '%1'%2 "
                          "GROUP BY 1 ORDER BY 1;")
        .arg(aSearch.condition,
             aSearch.hideDuplicates ? QStringLiteral(" AND length(p.c2date) < 9") : QString());
}

QString bibleGroups(bool abIndexed, const Search &aSearch)
{
    // A book recorded with two names counts its verses twice, as the count
    // does; the group shows the first name.
    if (!abIndexed) {
        const QString vsStatement =
            QStringLiteral("SELECT v.book, min(b.name), count(*) FROM verses v LEFT OUTER JOIN "
                           "chapters c ON c.chapter = v.chapter AND c.book = v.book LEFT OUTER "
                           "JOIN bibles b ON b.book = v.book WHERE %1v.text %2 '%3' GROUP BY 1 "
                           "ORDER BY 1;");
        return vsStatement.arg(aSearch.restriction.isEmpty()
                                   ? QString()
                                   : QStringLiteral("c.rowid IN %1 AND ").arg(aSearch.restriction),
                               aSearch.like ? QStringLiteral("LIKE") : QStringLiteral("MATCH"),
                               aSearch.condition);
    }
    const QString vsStatement =
        aSearch.like
            ? QStringLiteral("SELECT v.c1book, min(b.c2name), count(*) FROM (SELECT docid, c1book, "
                             "c2chapter, c4text AS text FROM verses_content) v %1 LEFT JOIN "
                             "bibles_content b ON b.c1book = v.c1book WHERE %2v.text LIKE '%3' "
                             "GROUP BY 1 ORDER BY 1;")
            : QStringLiteral("SELECT v.c1book, min(b.c2name), count(*) FROM verses m CROSS JOIN "
                             "verses_content v ON v.docid = m.docid %1 LEFT JOIN bibles_content b "
                             "ON b.c1book = v.c1book WHERE %2m.text MATCH '%3' GROUP BY 1 ORDER "
                             "BY 1;");
    return vsStatement.arg(bibleChapterJoin(aSearch), bibleVerseFilter(aSearch), aSearch.condition);
}

QString groupKeys(bool abBible, const Search &aSearch)
{
    // A few thousand catalogue rows at most, read whole in either kind of file.
    const QString vsWhere = aSearch.restriction.isEmpty()
                                ? QString()
                                : QStringLiteral(" WHERE docid IN ") + aSearch.restriction;
    if (abBible)
        return QStringLiteral("SELECT c1book, docid FROM chapters_content%1 ORDER BY docid;")
            .arg(vsWhere);
    if (!vsWhere.isEmpty())
        return QStringLiteral(
                   "SELECT substr(c1date, 1, 2), docid FROM quotes_content%1 ORDER BY docid;")
            .arg(vsWhere);
    // An unrestricted search counts a paragraph once, however many sermon
    // records share its date; restricted to all of them it would count it
    // once per record. So one record per date.
    return QStringLiteral("SELECT substr(c1date, 1, 2), min(docid) FROM quotes_content%1 GROUP BY "
                          "c1date ORDER BY 2;")
        .arg(aSearch.hideDuplicates ? QStringLiteral(" WHERE length(c1date) < 9") : QString());
}

QString highlight(const QString &asText, const QString &asSearch)
{
    // All words are marked in one pass over the original text, so a word is
    // never found again inside a mark inserted for an earlier word. Longer
    // words are tried first so that "word" does not split a mark of "words".
    // Every hit of a page is marked with the same words: the pattern is made
    // once per search (and thread), not once per hit.
    thread_local QString tsSearch;
    thread_local QRegularExpression tPattern;
    if (asSearch != tsSearch || tPattern.pattern().isEmpty()) {
        QStringList vcWords = asSearch.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        vcWords.removeDuplicates();
        std::sort(vcWords.begin(), vcWords.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
        QStringList vcEscaped;
        for (const QString &vsWord : vcWords)
            vcEscaped.append(QRegularExpression::escape(vsWord));
        tsSearch = asSearch;
        tPattern =
            vcWords.isEmpty()
                ? QRegularExpression()
                : QRegularExpression(QStringLiteral("(%0)").arg(vcEscaped.join(QLatin1Char('|'))));
    }
    return highlight(asText, tPattern);
}

QString highlight(const QString &asText, const QRegularExpression &aMarks)
{
    if (aMarks.pattern().isEmpty() || !aMarks.isValid())
        return asText;
    QString vsResult = asText;
    return vsResult.replace(aMarks,
                            QStringLiteral("<span style='background-color: yellow;'>\\1</span>"));
}

} // namespace SearchStatements
