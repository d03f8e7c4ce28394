#pragma once

#include "support/testsupport.h"

#include "widgets/mainwindow.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>

// The fixture of the search tests in the window: before every test a main
// window in a fresh application folder over the corpus of
// searchwindowfixture.cpp (the word csWord in 45 paragraphs of three sermons
// and in two Bible chapters). After every test the log must show no SQL error
// and no wait of the window for the data store. Test classes derive from it.
class SearchWindowFixture : public QObject
{
    Q_OBJECT

public:
    static const QString csWord;
    // The number anchors of every hit of the word, in the data store's order.
    static QStringList allHits();

protected:
    // A window over the corpus in a fresh application folder, with more settings.
    void newWindow(const QMap<QString, QVariant> &acMore = {});
    // The text typed into the search line, and Return.
    void search(const QString &asText);
    // A click on the tool bar's catalogue button with that tool tip.
    void clickKind(const QString &asToolTip);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<LogCapture> mpLog;
    std::unique_ptr<MainWindow> mpWindow;

private slots:
    // Run by QtTest around every test of the derived class. No other private
    // slots here: QtTest would run those of a base class as tests too.
    void init();
    void cleanup();
};
