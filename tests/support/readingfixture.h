#pragma once

#include "support/testsupport.h"

#include "views/treeview.h"
#include "widgets/tabwidget.h"

#include <QObject>
#include <QStringList>
#include <QTextCharFormat>
#include <QVector>

#include <memory>

class QTextDocument;
class TabArea;
class TextBrowser;

// The reading tests' fixture: before every test a fresh application folder
// whose data store (on its worker thread) holds the corpus of
// readingfixture.cpp, and a tab widget of 800 × 600 on screen, wired to the
// data store as the main window wires it. After every test the tabs are
// closed, and the log must show no SQL error and no use of the data store
// without its lock. Test classes derive from it.
class ReadingFixture : public QObject
{
    Q_OBJECT

public:
    // The font of the settings.
    static constexpr int cnFontSize = 13;
    static const QString csFontName;

    // One rendered record: the caption block and the block of number and text,
    // with the anchors of both as "names>href".
    struct Rendered
    {
        QString msCaption, msCaptionAnchor, msNumber, msNumberAnchor, msText;
        QTextCharFormat mCaptionFormat, mNumberFormat, mTextFormat;
    };

    static QVector<Rendered> renderedRecords(const QTextDocument *apDocument);
    // "number|caption|text" per record; a document's anchors must be named by
    // the number (caption "n", number "an") for the two views to scroll together.
    static QStringList summary(const TextBrowser *apView);

protected:
    TabArea *openSermon(const QString &asTitle, int anDocId);
    TabArea *openPsalm(const QString &asTitle, int anChapter);
    // Closes every tab; true once all of them are retired.
    bool closeAll();

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<LogCapture> mpLog;
    std::unique_ptr<TreeView> mpTree;
    std::unique_ptr<TabWidget> mpTabs;
    int mnRetired = 0; // pages retired since the test began

private slots:
    // Run by QtTest around every test of the derived class. No other private
    // slots here: QtTest would run those of a base class as tests too.
    void init();
    void cleanup();
};
