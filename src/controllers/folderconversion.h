#pragma once

#include "controllers/textconverter.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Database;
class SharedOptions;

// A folder of source files converted for the window: the conversion runs on
// the data store's thread (TextConverter::importInto), so the window keeps
// painting and never waits for the data store's lock; its progress and end
// arrive as signals on this object's thread. The data language switches
// through the shared options first, as the window's own switch does, and the
// update is noted there afterwards. A run whose object is gone by then
// finishes all the same, unheard.
class FolderConversion : public QObject
{
    Q_OBJECT

public:
    FolderConversion(Database *apDatabase, SharedOptions *apOptions, QObject *parent = nullptr);

    // One run at a time: a start while one runs is ignored (false).
    bool start(const TextConverter::ImportRun &aRun);
    bool isRunning() const { return mbRunning; }

signals:
    void fileConverted(int anDone, int anTotal, const QString &asFile);
    void bookFound(const QString &asBook);
    // How the run ended (the log says which file gave nothing or which
    // statement failed); acTitles the sermons' "name (date)" as the catalogue
    // shows them, empty when nothing was written.
    void finished(TextConverter::Outcome aOutcome, const QStringList &acTitles);
    // Nothing was done: a Bible run without replacing would mix with the
    // Bible the language has (see TextConverter::wouldMixBibles).
    void refused(const QString &asLanguage);

private:
    void finish(TextConverter::Outcome aOutcome, const QStringList &acTitles);

    Database *mpDatabase = nullptr;
    SharedOptions *mpOptions = nullptr;
    bool mbRunning = false;
};
