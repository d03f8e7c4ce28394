#include "controllers/textconverter.h"

#include "models/database.h"
#include "models/sermonfile.h"
#include "models/storeenvironment.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace {

// Values are spliced into SQL text, so each apostrophe is doubled (the same
// rule as Database::readEscapedLine). SQLite reads a statement only up to its
// first NUL character: one in a damaged file would cut the statement inside
// the value, and the row would be lost.
QString sqlText(const QString &asValue)
{
    return QString(asValue).remove(QChar(0)).replace(QLatin1Char('\''), QStringLiteral("''"));
}

// Fills the templates in one pass: a value that happens to contain "%1" must
// not be taken for a placeholder of the next one.
QString sermonRecord(const SermonFile &aSermon)
{
    return QStringLiteral("INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) "
                          "VALUES('%0', '%1', '%2', '%3', '%4', '%5', '%6');")
        .arg(sqlText(aSermon.msDate), sqlText(aSermon.msName), sqlText(aSermon.msTranslator),
             sqlText(aSermon.msPdf), sqlText(aSermon.msMp3), sqlText(aSermon.msLength),
             sqlText(aSermon.msPlace));
}

QString paragraphRecord(const QString &asDate, const QString &asId, const QString &asText)
{
    return QStringLiteral("INSERT INTO paragraphs (date, id, text) VALUES('%0', '%1', '%2');")
        .arg(sqlText(asDate), sqlText(asId), sqlText(asText));
}

// A verse number goes in as a number; anything else goes in as the name of
// a column that does not exist, so that, as it always did, just its statement
// fails and the data store reports it, whatever the text holds (spliced as
// written, "1); DELETE ..." or "1-2" made statements of their own).
QString verseNumber(const QString &asVerse)
{
    const bool vbNumber =
        !asVerse.isEmpty() && std::all_of(asVerse.cbegin(), asVerse.cend(), [](QChar aChar) {
            return aChar >= QLatin1Char('0') && aChar <= QLatin1Char('9');
        });
    if (vbNumber)
        return asVerse;
    return QLatin1Char('`') +
           QString(asVerse).remove(QChar(0)).replace(QLatin1Char('`'), QStringLiteral("``")) +
           QLatin1Char('`');
}

} // namespace

bool TextConverter::readSourceFile(const QString &asPath, QString *apText)
{
    return SermonFile::readText(asPath, apText);
}

QStringList TextConverter::convertSermonFile(const QString &asPath, QStringList *apTitles)
{
    QString vsText;
    if (!readSourceFile(asPath, &vsText))
        return {};
    const SermonFile vSermon = SermonFile::parse(vsText, false);
    QStringList vcStatements{sermonRecord(vSermon)};
    if (apTitles)
        apTitles->append(QStringLiteral("%0 (%1)").arg(vSermon.msName, vSermon.msDate));
    for (const SermonFile::Paragraph &vParagraph : vSermon.mcParagraphs)
        vcStatements << paragraphRecord(vSermon.msDate, vParagraph.msId, vParagraph.msText);
    return vcStatements;
}

QStringList TextConverter::convertBibleFile(const QString &asPath, const BookFound &aOnBook)
{
    QString vsText;
    if (!readSourceFile(asPath, &vsText))
        return {};
    return convertBibleText(vsText, aOnBook);
}

QStringList TextConverter::convertBibleText(const QString &asText, const BookFound &aOnBook)
{
    QString vsText = asText;
    QTextStream vStream(&vsText, QIODevice::ReadOnly);
    vStream.skipWhiteSpace();

    QStringList vcStatements;
    QString vsBook;
    QString vsChapter;
    int vnBook = 0;
    int vnChapter = 0;
    for (QString vsLine = vStream.readLine(); !vsLine.isEmpty(); vsLine = vStream.readLine()) {
        QStringList vcFields = vsLine.split(QLatin1Char('\t'));
        if (vcFields.size() != 4)
            continue;
        for (QString &vsField : vcFields)
            vsField = vsField.trimmed();
        const QString &vsName = vcFields.at(0);
        const QString &vsLabel = vcFields.at(1);

        const bool vbNewBook = vnBook == 0 || vsName != vsBook;
        if (vbNewBook) {
            ++vnBook;
            vnChapter = 0;
            vsBook = vsName;
            vcStatements << QStringLiteral("INSERT INTO bibles (book, name) VALUES(%0, '%1');")
                                .arg(QString::number(vnBook), sqlText(vsName));
            if (aOnBook)
                aOnBook(vsName);
        }
        if (vbNewBook || vsLabel != vsChapter) {
            ++vnChapter;
            vsChapter = vsLabel;
            vcStatements
                << QStringLiteral(
                       "INSERT INTO chapters(book, chapter, name) VALUES(%0, %1, '%2 %3');")
                       .arg(QString::number(vnBook), QString::number(vnChapter), sqlText(vsName),
                            sqlText(vsLabel));
        }
        vcStatements
            << QStringLiteral(
                   "INSERT INTO verses(book, chapter, verse, text) VALUES(%0, %1, %2, '%3');")
                   .arg(QString::number(vnBook), QString::number(vnChapter),
                        verseNumber(vcFields.at(2)), sqlText(vcFields.at(3)));
    }
    return vcStatements;
}

QStringList TextConverter::sourceFiles(const QString &asDirectory)
{
    // Sorted, so that two runs over the same folder number things alike.
    return QDir(asDirectory)
        .entryList({QStringLiteral("*.txt"), QStringLiteral("*.sog")}, QDir::Files, QDir::Name);
}

namespace {

bool readableFolder(const QString &asDirectory)
{
    const QDir vDirectory(asDirectory);
    if (asDirectory.isEmpty() || !vDirectory.exists() || !vDirectory.isReadable()) {
        qDebug().noquote() << "Import folder not readable:" << asDirectory;
        return false;
    }
    return true;
}

} // namespace

bool TextConverter::importDirectory(Database &aDatabase, const StoreEnvironment &aEnvironment,
                                    const ImportRun &aRun, const Progress &aProgress,
                                    QStringList *apTitles, const BookFound &aOnBook)
{
    if (!readableFolder(aRun.msDirectory))
        return false;
    const Outcome vOutcome = importInto(aDatabase, aRun, aProgress, apTitles, aOnBook);
    aEnvironment.noteDatabaseUpdated();
    return vOutcome == Outcome::Complete;
}

bool TextConverter::wouldMixBibles(Database &aDatabase, const ImportRun &aRun)
{
    if (aRun.mType != ImportRun::Bible || aRun.mbReplace)
        return false;
    if (aDatabase.currentLanguage() != aRun.msLanguage)
        aDatabase.changeLanguage(aRun.msLanguage);
    return !aDatabase.readCatalogue(CatalogueTree::Bible, true).mcGroups.isEmpty();
}

TextConverter::Outcome TextConverter::importInto(Database &aDatabase, const ImportRun &aRun,
                                                 const Progress &aProgress, QStringList *apTitles,
                                                 const BookFound &aOnBook)
{
    if (!readableFolder(aRun.msDirectory))
        return Outcome::NothingWritten;
    const QStringList vcFiles = sourceFiles(aRun.msDirectory);
    // A switch reopens the connection, which the caller may have done already.
    if (aDatabase.currentLanguage() != aRun.msLanguage)
        aDatabase.changeLanguage(aRun.msLanguage);

    // One transaction for the run: a replacing run that ran out of room
    // half-way would otherwise leave the old texts deleted and only part of
    // the new ones in.
    if (!aDatabase.beginBatch())
        return Outcome::NothingWritten;
    const bool vbBible = aRun.mType == ImportRun::Bible;
    bool vbResult = true;
    if (aRun.mbReplace) {
        const QStringList vcRemovals = vbBible
                                           ? QStringList{QStringLiteral("DELETE FROM bibles;"),
                                                         QStringLiteral("DELETE FROM chapters;"),
                                                         QStringLiteral("DELETE FROM verses;")}
                                           : QStringList{QStringLiteral("DELETE FROM paragraphs;"),
                                                         QStringLiteral("DELETE FROM quotes;")};
        for (const QString &vsRemoval : vcRemovals)
            vbResult = aDatabase.execQuery(vsRemoval) && vbResult;
    }

    for (int i = 0; i < vcFiles.size() && !aDatabase.batchBroken(); ++i) {
        const QString vsPath = QStringLiteral("%0/%1").arg(aRun.msDirectory, vcFiles.at(i));
        const QStringList vcStatements =
            vbBible ? convertBibleFile(vsPath, aOnBook) : convertSermonFile(vsPath, apTitles);
        if (vcStatements.isEmpty()) {
            qDebug().noquote() << "Nothing to import from" << vsPath;
            vbResult = false;
        } else {
            vbResult = aDatabase.execQuery(vcStatements) && vbResult;
        }
        if (aProgress)
            aProgress(i + 1, vcFiles.size(), vcFiles.at(i));
    }

    if (!aDatabase.endBatch()) {
        qDebug().noquote() << "Conversion of" << aRun.msDirectory
                           << "rolled back: the database file could not take it";
        if (apTitles)
            apTitles->clear();
        return Outcome::NothingWritten;
    }
    // Merges the indexes for the searches and gives back the room of what
    // was replaced; the run is in either way.
    aDatabase.compact();
    return vbResult ? Outcome::Complete : Outcome::Incomplete;
}
