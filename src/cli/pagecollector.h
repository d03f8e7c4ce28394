#pragma once

#include "models/pagerecords.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Database;

// Stands where a tab page stands for the data store: hears the results of the
// requests the tool makes and keeps them as the page would, in PageRecords.
// The requests run on the calling thread, so the results arrive during the
// call, through direct connections.
class PageCollector : public QObject
{
    Q_OBJECT

public:
    PageCollector(Database &aDatabase, const QString &asTitle);

    const PageRecords &records() const { return mRecords; }
    // A sermon page's details (from its paragraphs).
    const PageRecords::SermonDetails &sermon() const { return mSermon; }
    // A chapter page's book and chapter, as the data store gave them.
    QString book() const { return msBook; }
    QString chapter() const { return msChapter; }
    // A search page's hit count and page count (-1 until counted).
    int hitCount() const { return mnHits; }
    int pageCount() const { return mnPages; }
    QStringList translators() const { return mcTranslators; }

    // The parallel text about to be asked for: the previous one goes, and
    // parallel psalm verses are placed from asParallel's numbering into
    // asPage's.
    void expectParallel(const QString &asPage, const QString &asParallel);

private:
    Database &mDatabase;
    PageRecords mRecords;
    PageRecords::SermonDetails mSermon;
    PageRecords::PsalmPlacement mPsalmPlacement;
    QString msBook;
    QString msChapter;
    int mnHits = -1;
    int mnPages = -1;
    QStringList mcTranslators;
};
