#pragma once

#include <QString>
#include <QVector>

#include <functional>

class Database;
class TabArea;
class TabWidget;
class TreeView;
class QWidget;

// One measured operation. The runner calls setup (not timed, may be empty),
// run (timed) and teardown (not timed, may be empty) once to warm up and
// then once per measured run, and reports the median. check, called after the
// warm-up run and its teardown, returns an empty text when the operation did
// its work and otherwise says what went wrong, so that a broken operation is
// reported instead of timed. A case with a figure reports the median of what
// the figure returns after each run instead of the run's time (still in
// milliseconds).
struct BenchCase
{
    QString msName;
    std::function<void()> mRun;
    std::function<void()> mSetup;
    std::function<QString()> mCheck;
    std::function<void()> mTeardown = {};
    std::function<double()> mFigure = {};
};

// What the cases work on: the program's singletons on the corpus folder and
// the widgets built for them. Application::database() is the data store; it
// changes when reopenDatabase() is called.
class BenchContext
{
public:
    explicit BenchContext(const QString &asFolder);
    ~BenchContext();

    QString folder() const { return msFolder; }
    Database *database() const;
    TreeView *tree() const { return mpTree; }

    // A new data store (and connection) as after a program start: its page
    // cache is empty, the operating system's file cache is not.
    void reopenDatabase();

    // Lets the GUI thread handle what is pending (layout, painting) until
    // nothing is left, as the event loop would before the user sees a result.
    static void settle();

    // Closes a page's tab and waits (at most anTimeoutMs) until the tab
    // container has destroyed it, so that pages do not pile up between runs.
    static void closePage(TabWidget *apTabs, TabArea *apPage, int anTimeoutMs);

private:
    QString msFolder;
    QWidget *mpWindow = nullptr;
    TreeView *mpTree = nullptr;
};

using BenchCases = QVector<BenchCase>;

// Each area adds its cases to the table; the names are the lines' keys and
// must stay stable so that figures can be compared from run to run.
void addCatalogueCases(BenchContext &aContext, BenchCases &acCases);
void addDocumentCases(BenchContext &aContext, BenchCases &acCases);
void addSearchCases(BenchContext &aContext, BenchCases &acCases);
void addImportCases(BenchContext &aContext, BenchCases &acCases);
void addConverterCases(BenchContext &aContext, BenchCases &acCases);
void addMaintenanceCases(BenchContext &aContext, BenchCases &acCases);
