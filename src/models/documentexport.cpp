#include "models/documentexport.h"

#include "models/exchangewriter.h"
#include "models/searchstatements.h"
#include "models/sqlerror.h"

#include <JlCompress.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVector>

namespace DocumentExport {

namespace {

// Hands each row of a statement to aEmit as texts (a missing value as an
// empty one); false with the driver's text when the statement fails.
using Emit = std::function<void(const QStringList &)>;
bool streamRows(const std::function<QSqlQuery()> &aNewQuery, const QString &asStatement,
                bool abDistinct, const Emit &aEmit, QString *apError)
{
    QSqlQuery vQuery = aNewQuery();
    vQuery.setForwardOnly(true);
    if (!vQuery.exec(asStatement)) {
        QUILLMARK_LOG_SQL_ERROR(vQuery.lastError());
        *apError = vQuery.lastError().text();
        return false;
    }
    // The indexed statements may give a row more than once where the plain
    // ones say DISTINCT; the first one keeps its place, as there. Only
    // records and books are DISTINCT, so the set stays small.
    QSet<QStringList> vcSeen;
    const int vnColumns = vQuery.record().count();
    QStringList vcRow;
    while (vQuery.next()) {
        vcRow.clear();
        for (int i = 0; i < vnColumns; ++i)
            vcRow.append(vQuery.value(i).toString());
        if (abDistinct) {
            if (vcSeen.contains(vcRow))
                continue;
            vcSeen.insert(vcRow);
        }
        aEmit(vcRow);
    }
    return true;
}

struct Statement
{
    QString msText;
    bool mbDistinct;
};

QVector<Statement> sermonStatements(bool abIndexed, const QString &asKeys)
{
    if (abIndexed)
        return {{QStringLiteral("SELECT q.c1date, q.c2name, q.c3translator, q.c4pdf, q.c5mp3, "
                                "q.c6length, q.c7place FROM (SELECT q.*, (SELECT min(p.docid) FROM "
                                "paragraphs_content p WHERE p.c2date = q.c1date) AS first FROM "
                                "quotes_content q WHERE q.docid IN %0) q WHERE q.first IS NOT NULL "
                                "ORDER BY q.first, q.docid;")
                     .arg(asKeys),
                 true},
                {QStringLiteral("SELECT p.c2date, p.c1id, p.c3text FROM quotes_content q JOIN "
                                "paragraphs_content p ON p.c2date = q.c1date WHERE q.docid IN %0 "
                                "ORDER BY p.docid;")
                     .arg(asKeys),
                 false}};
    const QString vsCondition = QStringLiteral(" q.rowid IN %0").arg(asKeys);
    return {{QStringLiteral("SELECT DISTINCT q.date, q.name, q.translator, q.pdf,        q.mp3, "
                            "q.length, q.place FROM paragraphs p LEFT OUTER JOIN quotes q ON      "
                            "q.date = p.date WHERE %0 ORDER BY p.rowid;")
                 .arg(vsCondition),
             true},
            {QStringLiteral("SELECT p.date, p.id, p.text FROM paragraphs p LEFT OUTER JOIN quotes "
                            "q ON      q.date = p.date WHERE %0 ORDER BY p.rowid;")
                 .arg(vsCondition),
             false}};
}

QVector<Statement> bibleStatements(bool abIndexed, const QString &asKeys)
{
    if (abIndexed)
        return {{QStringLiteral("SELECT b.c1book, b.c2name FROM chapters_content c JOIN "
                                "bibles_content b ON b.c1book = c.c1book WHERE c.docid IN %0 "
                                "ORDER BY b.docid, c.docid;")
                     .arg(asKeys),
                 true},
                {QStringLiteral("SELECT c1book, c2chapter, c3name FROM chapters_content WHERE "
                                "docid IN %0 ORDER BY docid;")
                     .arg(asKeys),
                 false},
                {QStringLiteral("SELECT v.c1book, v.c2chapter, v.c3verse, v.c4text FROM "
                                "chapters_content c JOIN verses_content v ON v.c1book = c.c1book "
                                "AND v.c2chapter = c.c2chapter WHERE c.docid IN %0 ORDER BY "
                                "v.docid, c.docid;")
                     .arg(asKeys),
                 false}};
    return {{QStringLiteral("SELECT distinct b.book, b.name FROM bibles b LEFT OUTER JOIN "
                            "chapters c ON c.book = b.book WHERE c.rowid IN %0;")
                 .arg(asKeys),
             true},
            {QStringLiteral("SELECT book, chapter, name FROM chapters c WHERE c.rowid in %0;")
                 .arg(asKeys),
             false},
            {QStringLiteral("SELECT v.book, v.chapter, v.verse, v.text FROM verses v left OUTER "
                            "JOIN    chapters c ON c.chapter = v.chapter AND c.book=v.book WHERE "
                            "c.rowid IN %0;")
                 .arg(asKeys),
             false}};
}

Report failure(Report::Status aStatus, const QString &asPath, const QString &asProblem)
{
    Report vReport;
    vReport.mStatus = aStatus;
    vReport.msPath = asPath;
    vReport.msProblem = asProblem;
    return vReport;
}

} // namespace

QString baseName(const QString &asLanguage, int anNumber)
{
    return QStringLiteral("%0_%1").arg(asLanguage).arg(anNumber);
}

bool writeDocuments(const std::function<QSqlQuery()> &aNewQuery, ExchangeWriter &aWriter,
                    bool abBible, const QString &asKeys, bool abIndexed, QString *apError)
{
    const QVector<Statement> vcStatements =
        abBible ? bibleStatements(abIndexed, asKeys) : sermonStatements(abIndexed, asKeys);
    // One section per statement, in the file's order. Rows go out as they
    // come (a whole corpus may be exported); after a failed statement the
    // caller throws the half-written file away.
    const QVector<Emit> vcSections =
        abBible
            ? QVector<Emit>{
                  [&](const QStringList &acRow) { aWriter.book(acRow.value(0), acRow.value(1)); },
                  [&](const QStringList &acRow) {
                      aWriter.chapter(acRow.value(0), acRow.value(1), acRow.value(2));
                  },
                  [&](const QStringList &acRow) {
                      aWriter.verse(acRow.value(0), acRow.value(1), acRow.value(2), acRow.value(3));
                  }}
            : QVector<Emit>{[&](const QStringList &acRow) {
                                aWriter.quote(acRow.value(0), acRow.value(1), acRow.value(2),
                                              acRow.value(3), acRow.value(4), acRow.value(5),
                                              acRow.value(6));
                            },
                            [&](const QStringList &acRow) {
                                aWriter.paragraph(acRow.value(0), acRow.value(1), acRow.value(2));
                            }};
    for (int i = 0; i < vcStatements.size(); ++i)
        if (!streamRows(aNewQuery, vcStatements.at(i).msText, vcStatements.at(i).mbDistinct,
                        vcSections.at(i), apError))
            return false;
    return true;
}

Report exportArchive(const std::function<QSqlQuery()> &aNewQuery, const Request &aRequest)
{
    const QString vsKeys = aRequest.msKeys.trimmed();
    if (vsKeys.isEmpty())
        return failure(Report::NothingSelected, QString(), QString());
    // The keys go into the statements as text: nothing but numbers may.
    if (!SearchStatements::isKeyList(vsKeys))
        return failure(Report::NotAKeyList, QString(), vsKeys);
    const QString vsList = SearchStatements::restrictionList(vsKeys);

    const QString vsFolder = QDir::cleanPath(aRequest.msFolder);
    const QFileInfo vFolder(vsFolder);
    if (!vFolder.isDir() || !vFolder.isWritable())
        return failure(Report::FolderNotWritable, vsFolder,
                       vFolder.exists() ? QStringLiteral("Permission denied")
                                        : QStringLiteral("No such folder"));
    QTemporaryDir vScratch(vsFolder + QStringLiteral("/.export-XXXXXX"));
    if (!vScratch.isValid())
        return failure(Report::FolderNotWritable, vsFolder, vScratch.errorString());

    const QString vsBase = baseName(aRequest.msLanguage, aRequest.mnNumber);
    const QString vsXml = vScratch.filePath(vsBase + QStringLiteral(".xml"));
    const QString vsArchive = QStringLiteral("%0/%1.zip").arg(vsFolder, vsBase);
    Report vReport;
    vReport.mnNumber = aRequest.mnNumber;
    {
        QFile vFile(vsXml);
        if (!vFile.open(QIODevice::WriteOnly))
            return failure(Report::WriteFailed, vsArchive, vFile.errorString());
        ExchangeWriter vWriter(&vFile);
        vWriter.begin(aRequest.msLanguage, aRequest.mbBible);
        QString vsError;
        if (!writeDocuments(aNewQuery, vWriter, aRequest.mbBible, vsList, aRequest.mbIndexed,
                            &vsError))
            return failure(Report::ReadFailed, vsArchive, vsError);
        if (!vWriter.finish() || !vFile.flush() || vFile.error() != QFileDevice::NoError)
            return failure(Report::WriteFailed, vsArchive, vFile.errorString());
        vReport.mnDropped = vWriter.droppedCharacters();
    }
    const QString vsPacked = vScratch.filePath(vsBase + QStringLiteral(".zip"));
    if (!JlCompress::compressFiles(vsPacked, {vsXml}))
        return failure(Report::WriteFailed, vsArchive,
                       QStringLiteral("The archive could not be written"));
    // An archive of that name is never replaced: it may be one the server
    // has not had yet.
    if (QFileInfo::exists(vsArchive))
        return failure(Report::WriteFailed, vsArchive, QStringLiteral("The file exists already"));
    if (!QFile::rename(vsPacked, vsArchive))
        return failure(Report::WriteFailed, vsArchive,
                       QStringLiteral("The archive could not be moved into the folder"));
    vReport.mStatus = Report::Written;
    vReport.msPath = vsArchive;
    return vReport;
}

} // namespace DocumentExport
