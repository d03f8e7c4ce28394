#pragma once

#include "models/hitgroups.h"
#include "models/searchflags.h"
#include "views/pageopener.h"
#include "widgets/articlerenderer.h"

#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <optional>

class HitChart;
class NavigationWidget;
class PageActions;
class SearchHighlighter;
class QAction;
class QToolBar;
class QToolButton;
class TextBrowser;
class TranslationMenu;
class TreeView;

// One tab page: a sermon, a Bible chapter or one search's results, in the
// left view, with an optional parallel translation of the same document in
// the right view. It keeps the records it was sent, renders them with
// anchors, and asks the data store for translations through its signals.
// What it shows (sermons or the Bible, and the data language) is fixed when
// it is created (PageContext): its hits, further pages and translations keep
// to it whatever the catalogue shows later.
class TabArea : public QWidget
{
    Q_OBJECT

public:
    // A page of what the tree shows now.
    TabArea(TreeView *apTreeView, QWidget *parent);
    TabArea(TreeView *apTreeView, QWidget *parent, const PageContext &aContext);
    ~TabArea() override;

    void setTitle(const QString &asTitle) { mRecords.setTitle(asTitle); }
    QString title() const { return mRecords.title(); }
    void setTranslator(const QString &asValue) { msTranslator = asValue; }
    void setPdf(const QString &asValue) { msPdf = asValue; }
    void setMp3(const QString &asValue) { msMp3 = asValue; }
    void setLength(const QString &asValue) { msLength = asValue; }
    void setPlace(const QString &asValue) { msPlace = asValue; }
    void setDateInfo(const QString &asValue) { msDateInfo = asValue; }
    void setChapterInfo(const QString &asValue) { msChapterInfo = asValue; }
    void setDocumentId(int anValue) { mnDocumentId = anValue; }
    // Where the page opens the documents of its search hits.
    void setPageOpener(PageOpener *apOpener) { mpOpener = apOpener; }
    QString translator() const { return msTranslator; }
    QString pdfFile() const { return msPdf; }
    QString mp3File() const { return msMp3; }
    QString dateInfo() const { return msDateInfo; }
    QString chapterInfo() const { return msChapterInfo; }
    int documentId() const { return mnDocumentId; }
    int mode() const { return mnMode; }
    bool isBible() const { return mnMode == 2; }
    QString language() const { return msLanguage; }
    PageContext context() const { return {mnMode, msLanguage}; }

    // The data store's results for this page (see PageRecords).
    void addSermonParagraph(const QString &asRecord);
    void addParallelParagraph(const QString &asRecord);
    void addVerse(const QString &asBook, const QString &asChapter, const QString &asVerse,
                  const QString &asText);
    void addParallelVerse(const QString &asName, const QString &asVerse, const QString &asText,
                          const QString &asChapter);
    void addHit(const QString &asTitle, const QString &asNumber, const QString &asText,
                const QString &asKey, const QString &asChapter);
    void showArticles(int anFrom, const QString &asText, AdvancedSearchFlags aFlags, bool abAppend);
    // A page of hits has arrived: shown in place of the last page, or below
    // the hits shown so far when it is a one-page chunk (abAppend).
    void showHits(const QString &asText, AdvancedSearchFlags aFlags, bool abAppend);
    // The page size of a search's first request: a one-page chunk, or -1
    // for the option's page size.
    int firstRequestSize() const;
    void clearArticles();
    const QVector<ArticleRecord> &articles() const { return mRecords.records(); }
    void setNavigationParams(int anValue);
    void setFoundPagesCount(int anCount);
    int foundCount() const { return mnFoundCount; }
    void showRightText();
    void openTranslation(const QString &asLocale, const QString &asTranslator);
    void highlightSearch(const QString &asText, AdvancedSearchFlags aFlags);

    // What a result page searched for (text as sent to the data store, the
    // checked-item restriction and the options); its later pages ask for the
    // same, whatever other tabs search meanwhile.
    void setSearchQuery(const QString &asText, const QString &asRestriction,
                        AdvancedSearchFlags aFlags);
    QString searchText() const { return msSearchText; }
    // The search's hits per year or book, over the results; choosing a bar
    // shows the search restricted to that year's sermons or that book's
    // chapters (within the page's own restriction), choosing it again the
    // whole search.
    void setHitGroups(const HitGroups &acGroups);
    HitChart *hitChart() const { return mpHitChart; }

    TextBrowser *leftView() const { return mpLeftTextBrowser; }
    TextBrowser *rightView() const { return mpRightTextBrowser; }
    QToolButton *translationButton() const { return mpTranslationButton; }
    TranslationMenu *translationMenu() const { return mpTranslationMenu; }
    NavigationWidget *navigationWidget() const { return mpNavigation; }
    PageActions *actions() const { return mpActions; }
    // What a click on the link does: both panes to a document's paragraph,
    // or a result page's hit opened in a page of its own.
    void followLink(const QUrl &aUrl) { nextArticle(aUrl); }

    // Scrolls to the paragraph or verse with the number once the document has
    // rendered (a search hit opened in this page); once only.
    void jumpTo(int anNumber) { mnJumpAnchor = anNumber; }

signals:
    void openBibleChapter(TabArea *apTab, int anBible, int anChapter);
    void openBibleChapter(TabArea *apTab, QString asBibleTitle, int anChapter);
    void openQuotesParagraph(TabArea *apTab, int anParagraph);
    void openQuotesParagraphST(TabArea *apTab, int anParagraph, QString msText);
    void openSermonOfHit(TabArea *apTab, QString asDate, QString asText,
                         AdvancedSearchFlags aFlags);
    void openQuotesParagraphAddLanguage(QString asLocale, TabArea *apTab, QString asTranslator,
                                        QString asDateInfo);
    void openBibleAddLanguage(QString asLocale, TabArea *apTab, QString asDateInfo,
                              QString asChapterInfo);
    void setTranslatorList(QString asLocale, TabArea *apTab, QString asDateInfo,
                           QAction *apLanguageAction);
    // A further page of this page's search; anKnownCount is the hit count
    // the page already has (-1 when it must be counted).
    void searchMessages(TabArea *apTab, QString asText, QString asDates, AdvancedSearchFlags aFlags,
                        int anOffset, int anParagraphsOnPage, int anKnownCount);
    void searchBible(TabArea *apTab, QString asText, QString asChapters, AdvancedSearchFlags aFlags,
                     int anOffset, int anParagraphsOnPage, int anKnownCount);

public slots:
    void print();
    void save();
    void mp3();
    void pdf();
    void useTranslatorList(QStringList acList, QObject *apLanguageAction);
    void prepareSearchMode(bool abYes);

private slots:
    void nextArticle(QUrl aUrl);
    void navigation(int anPage, bool abOnePage);
    void setOnePage(bool abValue);

protected:
    bool eventFilter(QObject *apWatched, QEvent *apEvent) override;
    void changeEvent(QEvent *apEvent) override;

private:
    TextBrowser *makeView(const QString &asName);
    int pageSize(bool abOnePage) const;
    bool isDocumentPage() const;
    ArticleRenderer::PageKind pageKind() const;
    void retranslate();
    void openHit(const QString &asLink);
    void recordAdded(bool abMain);
    void requestResultPage(int anOffset, int anPageSize);
    // The search again from its first page, within asKeys (empty: the whole
    // search); asLabel goes into the tab's title.
    void narrowSearch(const QString &asKeys, const QString &asLabel);
    // In one-page mode, the next chunk when the reader cannot scroll to the
    // bottom because everything shown fits.
    void continueOnePage();

    int mnMode = 0;
    QString msLanguage;
    int mnDocumentId = -1;
    QString msTranslator;
    QString msPdf = QStringLiteral("-");
    QString msMp3 = QStringLiteral("-");
    QString msLength;
    QString msPlace;
    QString msDateInfo;
    QString msChapterInfo;
    QString msSearchText;
    QString msParallelLocale;
    QString msQueryText;
    QString msRestriction;
    // A chart bar's keys and label while the page shows only its hits.
    QString msNarrowing;
    QString msNarrowLabel;
    // While the hits of a request are on their way, a bar chosen meanwhile
    // waits (keys, label): its hits would mix with them.
    bool mbAwaitingHits = false;
    std::optional<QPair<QString, QString>> mPendingNarrowing;
    AdvancedSearchFlags mSearchFlags;
    SearchHighlighter *mpHighlighter = nullptr;
    PageRecords mRecords;
    bool mbMainSide = true;
    bool mbOnePage = false;
    int mnFoundCount = -1;
    int mnLastCursorPosition = 0;
    // Records of a result page already in the left view.
    int mnShownRecords = 0;
    int mnJumpAnchor = -1;
    TextBrowser *mpLeftTextBrowser = nullptr;
    TextBrowser *mpRightTextBrowser = nullptr;
    ArticleFormats mFormats;
    NavigationWidget *mpNavigation = nullptr;
    HitChart *mpHitChart = nullptr;
    QToolButton *mpTranslationButton = nullptr;
    TranslationMenu *mpTranslationMenu = nullptr;
    QToolBar *mpControlToolbar = nullptr;
    QToolBar *mpPlayerToolbar = nullptr;
    PageActions *mpActions = nullptr;
    PageOpener *mpOpener = nullptr;
};
