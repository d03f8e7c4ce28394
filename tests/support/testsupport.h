#pragma once

#include "controllers/modalbox.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <QVariant>

#include <memory>

class Database;
class MainWindow;
class QStandardItem;
class TreeView;

// A fresh application folder for one test: settings file, sql/, asset/ and so
// on live in a temporary directory, and the program's singletons are released
// (stopping the database thread) when the fixture goes.
class TempAppDir
{
public:
    explicit TempAppDir(const QMap<QString, QVariant> &acSettings = {});
    ~TempAppDir();

    QString path() const { return mDir.path(); }
    QString filePath(const QString &asRelative) const { return mDir.filePath(asRelative); }
    // Writes settings straight into the settings file (before the program reads it).
    void writeSettings(const QMap<QString, QVariant> &acSettings);

private:
    QTemporaryDir mDir;
};

// Answers every message box with a chosen button and records what was asked,
// for as long as it exists. Without one, a box fails the running test program.
class BoxRecorder
{
public:
    explicit BoxRecorder(QMessageBox::StandardButton aAnswer = QMessageBox::Ok);
    ~BoxRecorder();

    QList<ModalBox::Request> requests() const { return mcRequests; }
    int count() const { return mcRequests.size(); }

private:
    QList<ModalBox::Request> mcRequests;
    QMessageBox::StandardButton mAnswer;
};

// Puts the program's log handler in place and collects its formatted lines
// (from every thread) while it exists.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    QStringList linesContaining(const QString &asText) const;
    bool contains(const QString &asText) const { return !linesContaining(asText).isEmpty(); }

private:
    mutable QMutex mMutex;
    QStringList mcLines;
    QtMessageHandler mPreviousHandler = nullptr;
};

// A small file system (tmpfs) mounted over a folder (made when missing) for
// one test that must run out of room; only the administrator may mount one.
// Unmounted lazily when it goes, so that a file still open there keeps
// working until it is closed.
class SmallDisk
{
public:
    SmallDisk(const QString &asFolder, int anKiB);
    ~SmallDisk();

    // Empty when the file system is there, otherwise why not (the test skips).
    QString problem() const { return msProblem; }

private:
    QString msFolder;
    QString msProblem;
};

namespace TestSupport {
// How a run of a program ended (status -1: it crashed, or did not end within
// two minutes) and what it printed.
struct ProgramRun
{
    int mnStatus = -1;
    QString msOut;
    QString msErr;

    QStringList outLines() const { return msOut.split('\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return msErr.split('\n', Qt::SkipEmptyParts); }
    // The tab-separated lines of one kind on standard output, without the kind.
    QList<QStringList> rows(const QString &asKind) const;
    QString describe() const;
};
ProgramRun runProgram(const QString &asProgram, const QStringList &acArguments);
// Sets up the process for a test program: offscreen platform, log handler,
// compiled-in resources, no network proxy, and a responder that reports
// unexpected boxes.
void initProcess();
// Number of boxes that no BoxRecorder was there to answer.
int unexpectedBoxes();
// The permission bits of a file as the file system holds them (QFile's
// permissions describe what the current user may do, which for root is all).
int fileMode(const QString &asPath);
// A file's bytes (empty when it cannot be read), and a file written whole
// (its folder made first when missing).
QByteArray readFile(const QString &asPath);
bool writeFile(const QString &asPath, const QByteArray &aContent);
// Binary content of anSize bytes, large enough to arrive in several pieces;
// its CR, LF and NUL bytes show any text-mode mangling.
QByteArray sampleBytes(int anSize);
// Rows of one statement on a database file, as "column|column|…", read
// through a connection of the test's own so that the data store's lock and
// thread stay out of it ("failed: <error> in <statement>" when it fails); and on
// the file of a data language.
QStringList fileRows(const QString &asFile, const QString &asStatement);
QStringList readRows(const QString &asLanguage, const QString &asStatement);
// A value as an SQL text literal: in apostrophes, its own apostrophes doubled.
QString sqlText(const QString &asValue);
// The statements that store a sermon: its record in quotes (with the docid
// given, unless 0) and its paragraphs "E-1", "E-2", … under its date.
QStringList sermonStatements(const QString &asDate, const QString &asName,
                             const QStringList &acParagraphs = {},
                             const QString &asTranslator = QStringLiteral("Tr"),
                             const QString &asPlace = QStringLiteral("Town"), int anDocId = 0,
                             const QString &asMp3 = QStringLiteral("a.mp3"));
// The program's data store on the current language's file, with the
// statements run (a warning when one fails).
Database *filledDatabase(const QStringList &acStatements);
// The items under the catalogue's groups (sermons or chapters), in order; and
// one line per group: its text and key, then its items' texts and keys, a
// further translation marked "/i" when it is shown in italics.
QList<QStandardItem *> catalogueItems(const TreeView *apTree);
QStringList catalogueOutline(const TreeView &aTree);
// Waits until the data store's thread has answered every request made so far
// and its answers have been delivered to the GUI thread; false on time-out.
bool roundTrip();
// Round trips until the window's questions are answered and the questions
// those answers raised as well (a catalogue, then the counts of its kind).
bool settle();
// A main window of 1000 × 700 on screen, active (keys reach only the active
// window), with its first questions answered; null when it does not show.
std::unique_ptr<MainWindow> shownWindow();
} // namespace TestSupport

// Like QTEST_MAIN, with the process set up as above; the program fails when a
// test met a message box it did not expect.
#define QUILLMARK_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestSupport::initProcess();                                                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        const int vnResult = QTest::qExec(&tc, argc, argv);                                        \
        return vnResult != 0 ? vnResult : (TestSupport::unexpectedBoxes() > 0 ? 1 : 0);            \
    }
