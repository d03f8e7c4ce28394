// The data store's searches: a page of hits, their count and their number
// per year or book, each addressed to the page that asked.
#include "models/database.h"
#include "models/databaseguards.h"
#include "models/searchreader.h"
#include "models/searchstatements.h"
#include "models/searchterms.h"
#include "models/storeconnection.h"
#include "models/storeenvironment.h"

#include <QMetaMethod>

#include <algorithm>
#include <cmath>

QString Database::searchConditionsHL(const QString &asText, const QString &asSearch)
{
    return SearchStatements::highlight(asText, asSearch);
}

QString Database::searchConditions(const QString &asText, AdvancedSearchFlags aFlags,
                                   const QString &asLanguage)
{
    Lock vLock(*this);
    mLastSearchFlags = aFlags;
    const AdvancedSearchFlags vMode = searchMode(aFlags);
    if (vMode != ExactPhrase && vMode != WholeWords)
        qDebug().noquote() << asText;
    return SearchStatements::condition(asText, aFlags, asLanguage);
}

void Database::search(bool abBible, TabArea *apTab, const QString &asText, const QString &asList,
                      AdvancedSearchFlags aFlags, int anOffset, int anPageSize, int anKnownCount,
                      bool abFirst, bool abOnePass)
{
    SearchStatements::Search vSearch;
    int vnPageSize = 1;
    QString vsLanguage;
    qint64 vnCount = -1;
    {
        Lock vLock(*this);
        // The page's language is taken once: its hits and its count come from
        // the same file, whatever the window switches to in between.
        vsLanguage = languageOf(apTab);
        LanguageSwitch vScope(*this, vsLanguage);
        const int vnOption =
            abBible ? mEnvironment.versesPerPage() : mEnvironment.paragraphsPerPage();
        vnPageSize = std::max(1, anPageSize > 0 ? anPageSize : vnOption);

        emit searchModeStarting(true);
        mpCurrentPage = apTab;
        msLastSearchDates = asList;
        vSearch.condition = searchConditions(asText, aFlags, vsLanguage);
        if (SearchTerms::widens(aFlags))
            vSearch.marks = SearchTerms::marks(asText, aFlags, vsLanguage);
        vSearch.like = SearchStatements::isLikeSearch(aFlags);
        vSearch.restriction = SearchStatements::restrictionList(asList);
        vSearch.hideDuplicates =
            !abBible && vSearch.restriction.isEmpty() && !mEnvironment.showDuplicates();
        const SearchReader vReader(queryFactory(), mpConnection->hasSearchIndexes());
        QVector<SearchReader::Hit> vcHits;
        if (abBible)
            vReader.bibleHits(vSearch, vnPageSize, anOffset, &vcHits);
        else if (abOnePass && anKnownCount < 0)
            vnCount = vReader.sermonHitsCounted(vSearch, asText, vnPageSize, anOffset, &vcHits);
        else
            vReader.sermonHits(vSearch, asText, vnPageSize, anOffset, &vcHits);
        for (const SearchReader::Hit &vHit : qAsConst(vcHits)) {
            if (abBible)
                emit addSearchBible(apTab, vHit.msTitle, vHit.msNumber, vHit.msText, vHit.msKey,
                                    vHit.msChapter);
            else
                emit addSearchMessage(apTab, vHit.msTitle, vHit.msNumber, vHit.msText, vHit.msKey);
        }
    }
    emit finishSearchArticles(apTab, asText, aFlags, anPageSize);
    // Outside the lock: what runs now may be a request of the other thread.
    processPendingEvents();
    if (anKnownCount < 0) {
        // A first request whose chart someone shows counts the hits per year
        // or book instead, which add up to the count: one pass over the hits
        // for both, and nothing left to run after the count that a next page
        // or a new search would have to wait for.
        const bool vbChart =
            abFirst && isSignalConnected(QMetaMethod::fromSignal(&Database::hitsPerGroup));
        HitGroups vcGroups;
        if (vnCount < 0) {
            Lock vLock(*this);
            LanguageSwitch vScope(*this, vsLanguage);
            const SearchReader vReader(queryFactory(), mpConnection->hasSearchIndexes());
            if (!vbChart) {
                vnCount = vReader.count(abBible, vSearch);
            } else if (vReader.groups(abBible, vSearch, &vcGroups)) {
                vnCount = 0;
                for (const HitGroup &vGroup : qAsConst(vcGroups))
                    vnCount += vGroup.mnHits;
            }
        }
        if (vnCount < 0) {
            emit setFoundPagesCount(apTab, 0);
        } else {
            emit setNavigationParams(
                apTab, static_cast<int>(std::ceil(static_cast<double>(vnCount) / vnPageSize)));
            emit setFoundPagesCount(apTab, static_cast<int>(vnCount));
            if (vbChart)
                emit hitsPerGroup(apTab, vcGroups);
        }
    }
    emit searchModeStarting(false);
}
