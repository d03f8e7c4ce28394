#include "cli/pagecollector.h"

#include "models/database.h"

PageCollector::PageCollector(Database &aDatabase, const QString &asTitle) : mDatabase(aDatabase)
{
    mRecords.setTitle(asTitle);
    const auto vDirect = Qt::DirectConnection;
    connect(
        &aDatabase, &Database::foundParagraph, this,
        [this](TabArea *, const QString &asRecord) {
            mRecords.addSermonParagraph(asRecord, &mSermon);
        },
        vDirect);
    connect(
        &aDatabase, &Database::foundOtherParagraph, this,
        [this](TabArea *, const QString &asRecord) { mRecords.addParallelParagraph(asRecord); },
        vDirect);
    connect(
        &aDatabase, &Database::foundChapter, this,
        [this](TabArea *, const QString &asBook, const QString &asChapter, const QString &,
               const QString &asNumber, const QString &asText) {
            msBook = asBook;
            msChapter = asChapter;
            mRecords.addVerse(asNumber, asText);
        },
        vDirect);
    connect(
        &aDatabase, &Database::foundOtherChapter, this,
        [this](TabArea *, const QString &asName, const QString &asVerse, const QString &asText,
               const QString &asChapter) {
            mRecords.addParallelVerse(asName, asVerse, asText, asChapter, msBook.toInt(),
                                      msChapter.toInt(), mPsalmPlacement);
        },
        vDirect);
    connect(
        &aDatabase, &Database::addSearchMessage, this,
        [this](TabArea *, const QString &asTitle, const QString &asNumber, const QString &asText,
               const QString &asDate) {
            mRecords.addHit(asTitle, asNumber, asText, asDate, QString());
        },
        vDirect);
    connect(
        &aDatabase, &Database::addSearchBible, this,
        [this](TabArea *, const QString &asTitle, const QString &asNumber, const QString &asText,
               const QString &asBook, const QString &asChapter) {
            mRecords.addHit(asTitle, asNumber, asText, asBook, asChapter);
        },
        vDirect);
    connect(
        &aDatabase, &Database::setNavigationParams, this,
        [this](TabArea *, int anPages) { mnPages = anPages; }, vDirect);
    connect(
        &aDatabase, &Database::setFoundPagesCount, this,
        [this](TabArea *, int anHits) { mnHits = anHits; }, vDirect);
    connect(
        &aDatabase, &Database::translatorListReady, this,
        [this](const QStringList &acList, QObject *) { mcTranslators = acList; }, vDirect);
}

void PageCollector::expectParallel(const QString &asPage, const QString &asParallel)
{
    mRecords.clearParallel();
    mPsalmPlacement = mDatabase.psalmPlacement(asParallel, asPage);
}
