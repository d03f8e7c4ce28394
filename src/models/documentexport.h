#pragma once

#include <QSqlQuery>
#include <QString>

#include <functional>

class ExchangeWriter;

// Exporting checked documents for the update server: the sermons (with all
// their paragraphs) or the Bible chapters (with their books and verses) of
// a list of catalogue keys, written as an exchange file (see ExchangeWriter)
// and packed as the only entry of "<language>_<number>.zip".
//
// Which rows go into the file, and in which order, is fixed by the
// statements the exchange format was defined with. They join every paragraph
// (or verse) with the chosen records through the full-text tables and take
// minutes on a full corpus; the program reads the same rows from the content
// tables through their date and chapter indexes instead, and keeps the
// plain statements for files without those indexes.
namespace DocumentExport {

struct Request
{
    QString msLanguage;
    bool mbBible = false;
    // "(12,57)" as the catalogue gives it.
    QString msKeys;
    QString msFolder;
    int mnNumber = 1;
    bool mbIndexed = true;
};

struct Report
{
    enum Status
    {
        Written,
        NothingSelected,
        NotAKeyList,
        FolderNotWritable,
        WriteFailed,
        ReadFailed
    };
    Status mStatus = NothingSelected;
    // The archive written, or the folder or file that could not be.
    QString msPath;
    // Why it failed, in the system's words.
    QString msProblem;
    int mnNumber = 0;
    // Characters XML does not allow, left out of the file.
    int mnDropped = 0;
};

// "ru_6": the archive's and the exchange file's base name.
QString baseName(const QString &asLanguage, int anNumber);

// Writes the rows of the keys into aWriter (begun, not finished); false with
// the driver's text in *apError when a statement fails, after which what was
// written is incomplete.
bool writeDocuments(const std::function<QSqlQuery()> &aNewQuery, ExchangeWriter &aWriter,
                    bool abBible, const QString &asKeys, bool abIndexed, QString *apError);

// The whole export into the request's folder. Nothing is left behind but a
// complete archive: the exchange file is written and packed in a scratch
// folder beside it, and the archive moved into place at the end.
Report exportArchive(const std::function<QSqlQuery()> &aNewQuery, const Request &aRequest);

} // namespace DocumentExport
