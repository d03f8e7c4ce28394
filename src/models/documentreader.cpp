#include "models/documentreader.h"

#include "models/documentstatements.h"
#include "models/searchstatements.h"
#include "models/sqlerror.h"

namespace {

// The sermon key without the further-translation mark " *".
QString plainDate(const QString &asDateInfo)
{
    QString vsDate = asDateInfo;
    return vsDate.remove(QStringLiteral(" *")).trimmed();
}

QString text(const QSqlQuery &aQuery, int anColumn)
{
    return aQuery.value(anColumn).toString();
}

} // namespace

DocumentReader::DocumentReader(QueryFactory aNewQuery, bool abIndexed)
    : mNewQuery(std::move(aNewQuery)), mbIndexed(abIndexed)
{
}

bool DocumentReader::chapterVerses(int anBook, int anChapter, QVector<Verse> *apVerses) const
{
    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(DocumentStatements::chapterVerses(mbIndexed));
    vQuery.addBindValue(anBook);
    vQuery.addBindValue(anChapter);
    return readVerses(vQuery, apVerses);
}

bool DocumentReader::chapterVersesByTitle(const QString &asBook, int anChapter,
                                          QVector<Verse> *apVerses) const
{
    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(DocumentStatements::chapterVersesByTitle(mbIndexed));
    vQuery.addBindValue(asBook);
    vQuery.addBindValue(anChapter);
    return readVerses(vQuery, apVerses);
}

bool DocumentReader::readVerses(QSqlQuery &aQuery, QVector<Verse> *apVerses) const
{
    if (!aQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(aQuery.lastError());
        return false;
    }
    while (aQuery.next())
        apVerses->append({text(aQuery, 2), text(aQuery, 3), text(aQuery, 0), text(aQuery, 1)});
    return true;
}

bool DocumentReader::sermonParagraphs(int anRowid, const QString &asHighlight,
                                      QStringList *apRecords) const
{
    QSqlQuery vSermon = mNewQuery();
    vSermon.prepare(QStringLiteral("SELECT translator, pdf, mp3, `length`, place, date FROM quotes "
                                   "WHERE rowid = ? LIMIT 1;"));
    vSermon.addBindValue(anRowid);
    return readParagraphs(vSermon, asHighlight, apRecords);
}

bool DocumentReader::sermonParagraphsByDate(const QString &asDate, const QString &asHighlight,
                                            QStringList *apRecords,
                                            const QRegularExpression &aMarks) const
{
    QSqlQuery vSermon = mNewQuery();
    vSermon.prepare(QStringLiteral("SELECT translator, pdf, mp3, `length`, place, date FROM quotes "
                                   "WHERE date = ? LIMIT 1;"));
    vSermon.addBindValue(asDate);
    return readParagraphs(vSermon, asHighlight, apRecords, aMarks);
}

bool DocumentReader::readParagraphs(QSqlQuery &aSermon, const QString &asHighlight,
                                    QStringList *apRecords, const QRegularExpression &aMarks) const
{
    // Without a sermon record the fields stay empty and the paragraphs of
    // the empty date are looked for: usually none.
    QStringList vcSermon{QString(), QString(), QString(), QString(), QString(), QString()};
    if (!aSermon.exec())
        QUILLMARK_LOG_SQL_ERROR(aSermon.lastError());
    else if (aSermon.next())
        for (int i = 0; i < 6; ++i)
            vcSermon[i] = text(aSermon, i);
    aSermon.finish();

    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(DocumentStatements::sermonParagraphs(mbIndexed));
    vQuery.addBindValue(vcSermon.at(5));
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next()) {
        QString vsText = text(vQuery, 1);
        if (!aMarks.pattern().isEmpty())
            vsText = SearchStatements::highlight(vsText, aMarks);
        else if (!asHighlight.isEmpty())
            vsText = SearchStatements::highlight(vsText, asHighlight);
        QStringList vcRecord = vcSermon;
        vcRecord << text(vQuery, 0).mid(2) << vsText;
        apRecords->append(vcRecord.join(QLatin1Char('\t')));
    }
    return true;
}

bool DocumentReader::parallelParagraphs(const QString &asDate, const QString &asTranslator,
                                        bool abEnglish, QStringList *apRecords) const
{
    const QString vsDate = plainDate(asDate);
    QSqlQuery vSermon = mNewQuery();
    vSermon.prepare(QStringLiteral("SELECT name, translator, pdf, mp3, `length`, place, date FROM "
                                   "quotes WHERE (date = ? OR date = ?) AND translator = ?;"));
    vSermon.addBindValue(vsDate);
    vSermon.addBindValue(vsDate + QStringLiteral(" *"));
    vSermon.addBindValue(abEnglish ? QStringLiteral("-") : asTranslator);
    QString vsName, vsTranslator, vsPlace, vsFoundDate;
    if (!vSermon.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vSermon.lastError());
    } else if (vSermon.next()) {
        vsName = text(vSermon, 0);
        vsTranslator = text(vSermon, 1);
        vsPlace = text(vSermon, 5);
        vsFoundDate = text(vSermon, 6);
    }
    vSermon.finish();

    const QString vsParagraphDate = abEnglish ? vsDate : vsFoundDate;
    const QString vsStatement = DocumentStatements::sermonParagraphs(mbIndexed);
    qDebug().noquote() << QString(vsStatement)
                              .replace(QLatin1Char('?'),
                                       QStringLiteral("'%1'").arg(vsParagraphDate));
    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(vsStatement);
    vQuery.addBindValue(vsParagraphDate);
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next())
        apRecords->append(QStringList{vsName, vsFoundDate, vsPlace, vsTranslator,
                                      text(vQuery, 0).mid(2), text(vQuery, 1)}
                              .join(QLatin1Char('\t')));
    return true;
}

bool DocumentReader::parallelChapters(int anBook, const QVector<int> &acChapters,
                                      QVector<ParallelVerse> *apVerses) const
{
    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(DocumentStatements::parallelChapters(mbIndexed, acChapters.size()));
    vQuery.addBindValue(anBook);
    for (int vnChapter : acChapters)
        vQuery.addBindValue(vnChapter);
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next())
        apVerses->append({text(vQuery, 4), text(vQuery, 0), text(vQuery, 1), text(vQuery, 3)});
    return true;
}

bool DocumentReader::translators(const QString &asDate, QStringList *apTranslators) const
{
    const QString vsDate = plainDate(asDate);
    QSqlQuery vQuery = mNewQuery();
    vQuery.prepare(QStringLiteral("SELECT translator FROM quotes WHERE date = ? OR date = ?;"));
    vQuery.addBindValue(vsDate);
    vQuery.addBindValue(vsDate + QStringLiteral(" *"));
    if (!vQuery.exec()) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        return false;
    }
    while (vQuery.next())
        apTranslators->append(text(vQuery, 0));
    return true;
}
