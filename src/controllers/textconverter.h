#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Database;
class StoreEnvironment;

// Turns a maintainer's plain-text source files into the statements that fill a
// data-language database: sermon files (seven header lines, then "E-"
// paragraphs) and Bible files (book, chapter, verse and text separated by
// tabs). importDirectory() runs a whole folder of them into one language's
// database; the command-line tools and the demo corpus builder go through it,
// and the settings dialog through its data-store half, importInto().
//
// Nothing here shows anything: progress leaves through callbacks, failures
// through the log ("SQL Error:" lines come from the data store). The caller
// refreshes the catalogue afterwards.
class TextConverter
{
public:
    struct ImportRun
    {
        enum Type
        {
            Quotes,
            Bible
        };

        QString msDirectory;
        QString msLanguage;
        Type mType = Quotes;
        // Empty the tables of that type in the target language first.
        bool mbReplace = false;
    };

    using Progress = std::function<void(int anDone, int anTotal, const QString &asFile)>;
    using BookFound = std::function<void(const QString &asBook)>;

    // The statements for one sermon file: its quotes record and one paragraphs
    // row per paragraph. Appends "name (date)" to apTitles, spelt as stored,
    // so that the catalogue can find the item. An unreadable file gives none.
    static QStringList convertSermonFile(const QString &asPath, QStringList *apTitles = nullptr);

    // The statements for one Bible file. Books are numbered from 1 in the
    // order they appear in this file, chapters from 1 within their book;
    // aOnBook hears each new book's name. An unreadable file gives none.
    static QStringList convertBibleFile(const QString &asPath, const BookFound &aOnBook = {});
    // The same for the text of a Bible file.
    static QStringList convertBibleText(const QString &asText, const BookFound &aOnBook = {});

    // Whether the run would put a second Bible into a language that has one:
    // books are numbered from 1 in every Bible file, so the two would mix.
    // Switches aDatabase to the run's language.
    static bool wouldMixBibles(Database &aDatabase, const ImportRun &aRun);

    // The source files of a folder, "*.txt" and "*.sog", in name order.
    static QStringList sourceFiles(const QString &asDirectory);

    // How a run ended: every file in; in, but a file gave no statements or
    // a statement failed (the other files are in all the same); or nothing
    // written at all (the folder cannot be read, or the database file could
    // not take the run: its disk full, locked or damaged).
    enum class Outcome
    {
        Complete,
        Incomplete,
        NothingWritten
    };

    // Converts every "*.txt" and "*.sog" file of the run's folder, in name
    // order, into the database of the run's language, which stays aDatabase's
    // current data language afterwards, in one transaction, and notes the
    // update in aEnvironment. aProgress is called after each file. True when
    // the run is Complete.
    static bool importDirectory(Database &aDatabase, const StoreEnvironment &aEnvironment,
                                const ImportRun &aRun, const Progress &aProgress = {},
                                QStringList *apTitles = nullptr, const BookFound &aOnBook = {});

    // The part of importDirectory() that touches nothing but aDatabase, so
    // that it can run on the data store's thread: switches aDatabase to the
    // run's language when it is on another one, then converts. The callbacks
    // are called on the calling thread; the caller notes the update itself.
    // When nothing was written, apTitles is left empty.
    static Outcome importInto(Database &aDatabase, const ImportRun &aRun,
                              const Progress &aProgress = {}, QStringList *apTitles = nullptr,
                              const BookFound &aOnBook = {});

    // The text of a source file: UTF-8 when its bytes are valid UTF-8,
    // windows-1251 otherwise. False when the file cannot be read.
    static bool readSourceFile(const QString &asPath, QString *apText);
};
