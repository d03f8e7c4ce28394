#include "support/readingfixture.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "widgets/tabarea.h"
#include "widgets/textbrowser.h"

#include <QTextBlock>
#include <QTextDocument>

const QString ReadingFixture::csFontName = "DejaVu Serif";

namespace {

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"},
            {"Language", "en"},
            {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},
            {"DBLang2", "en"},
            {"DBLangName2", "En"},
            {"DBLang3", "fr"},
            {"DBLangName3", "Fr"},
            {"fontName", ReadingFixture::csFontName},
            {"fontSize", ReadingFixture::cnFontSize}};
}

QStringList numbered(const QString &asPrefix, int anCount)
{
    QStringList vcTexts;
    for (int i = 1; i <= anCount; ++i)
        vcTexts << asPrefix + QString(" %1, a paragraph long enough to fill a line or two.").arg(i);
    return vcTexts;
}

// A psalm's chapter row and its verses, each verse's text "<prefix> <chapter>:<verse>".
QStringList psalm(int anChapter, const QString &asName, const QString &asPrefix,
                  const QVector<int> &acVerses)
{
    const QString vsChapter = QString::number(anChapter);
    QStringList vcStatements{
        QString("INSERT INTO chapters (book, chapter, name) VALUES (19, %1, %2);")
            .arg(vsChapter, TestSupport::sqlText(asName))};
    for (int vnVerse : acVerses)
        vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES "
                                "(19, %1, %2, '%3 %1:%2');")
                            .arg(vsChapter, QString::number(vnVerse), asPrefix);
    return vcStatements;
}

// The corpus: the same sermons in three languages (two Russian translators
// for 63-0317), and Psalms in the Russian and the English numbering.
bool fillCorpus(Database *apDatabase)
{
    using TestSupport::sermonStatements;
    QStringList vcRu;
    vcRu << sermonStatements("63-0317", "Первая печать",
                             {"Первый абзац.", "Второй <i>абзац</i>.", "Третий\tабзац."}, "Иванов",
                             "Джефферсонвилл", 1)
         << sermonStatements("63-0317 *", "Первая печать",
                             {"Петров один.", "Петров два.", "Петров три."}, "Петров",
                             "Джефферсонвилл", 2)
         << sermonStatements("64-0101", "Вторая", {"Один.", "Два."}, "Иванов", "Тусон", 3)
         << sermonStatements("65-0101", "Долгая", numbered("Абзац", 40), "Иванов", "Тусон", 4)
         << psalm(9, "Псалом 9", "ру", {1, 2, 21, 22}) << psalm(114, "Псалом 114", "ру", {1, 2})
         << psalm(115, "Псалом 115", "ру", {1});
    QStringList vcEn;
    vcEn << sermonStatements("63-0317", "The First Seal",
                             {"First paragraph.", "Second paragraph.", "Third\tparagraph."}, "-",
                             "Jeffersonville", 1)
         << sermonStatements("64-0101", "The Second", {"One.", "Two."}, "-", "Tucson", 2)
         << sermonStatements("65-0101", "Long", numbered("Paragraph", 40), "-", "Tucson", 3)
         << psalm(9, "Psalm 9", "en", {1, 2}) << psalm(10, "Psalm 10", "en", {1, 2})
         << psalm(116, "Psalm 116", "en", {1, 2, 10, 11});
    const QStringList vcFr =
        sermonStatements("63-0317", "Le premier sceau", {"Premier.", "Deuxième.", "Troisième."},
                         "Dupont", "Jeffersonville", 1);

    bool vbOk = apDatabase->execQuery(vcRu);
    apDatabase->changeLanguage("en");
    vbOk = apDatabase->execQuery(vcEn) && vbOk;
    apDatabase->changeLanguage("fr");
    vbOk = apDatabase->execQuery(vcFr) && vbOk;
    apDatabase->changeLanguage("ru");
    return vbOk;
}

} // namespace

QVector<ReadingFixture::Rendered> ReadingFixture::renderedRecords(const QTextDocument *apDocument)
{
    QVector<Rendered> vcRecords;
    Rendered vCurrent;
    for (QTextBlock vBlock = apDocument->begin(); vBlock.isValid(); vBlock = vBlock.next()) {
        bool vbNumberBlock = false;
        for (auto it = vBlock.begin(); !it.atEnd(); ++it) {
            const QTextFragment vFragment = it.fragment();
            const QTextCharFormat vFormat = vFragment.charFormat();
            const bool vbAnchor = vFormat.isAnchor() && !vFormat.anchorNames().isEmpty();
            const QString vsAnchor = vFormat.anchorNames().join(',') + ">" + vFormat.anchorHref();
            if (!vbNumberBlock && vbAnchor && vFormat.anchorNames().first().startsWith('a')) {
                vbNumberBlock = true;
                vCurrent.msNumber = vFragment.text();
                vCurrent.msNumberAnchor = vsAnchor;
                vCurrent.mNumberFormat = vFormat;
            } else if (vbNumberBlock) {
                if (vCurrent.msText.isEmpty())
                    vCurrent.mTextFormat = vFormat;
                vCurrent.msText += vFragment.text();
            } else if (vbAnchor) {
                vCurrent.msCaption += vFragment.text();
                vCurrent.msCaptionAnchor = vsAnchor;
                vCurrent.mCaptionFormat = vFormat;
            }
        }
        if (vbNumberBlock) {
            vcRecords << vCurrent;
            vCurrent = Rendered();
        }
    }
    return vcRecords;
}

QStringList ReadingFixture::summary(const TextBrowser *apView)
{
    QStringList vcLines;
    for (const Rendered &vRecord : renderedRecords(apView->document())) {
        const QString vsNumber = vRecord.msNumber.trimmed();
        vcLines
            << QString("%1|%2|%3").arg(vsNumber, vRecord.msCaption, vRecord.msText.simplified());
        if ((!vRecord.msCaption.isEmpty() &&
             vRecord.msCaptionAnchor != QString("%1>#%1").arg(vsNumber)) ||
            vRecord.msNumber != QString(" %1\t").arg(vsNumber) ||
            vRecord.msNumberAnchor != QString("a%1>#a%1").arg(vsNumber))
            vcLines.last() += " !anchors";
    }
    return vcLines;
}

void ReadingFixture::init()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    mpLog = std::make_unique<LogCapture>();
    Database *vpDatabase = Application::database();
    QVERIFY(fillCorpus(vpDatabase));
    QCOMPARE(Application::sharedOptions()->dataLanguage(), QString("ru"));

    mpTree = std::make_unique<TreeView>();
    mpTabs = std::make_unique<TabWidget>();
    mpTabs->setTreeView(mpTree.get());
    mnRetired = 0;
    connect(mpTabs.get(), &TabWidget::pageRetired, this, [this] { ++mnRetired; });
    TabWidget *vpTabs = mpTabs.get();
    // As the main window wires them.
    connect(vpDatabase, &Database::foundAllArticles, vpTabs, &TabWidget::finishArticles);
    connect(vpDatabase, &Database::translationReady, vpTabs, &TabWidget::showRightText);
    connect(vpDatabase, &Database::foundChapter, vpTabs, &TabWidget::addChapter);
    connect(vpDatabase, &Database::foundOtherChapter, vpTabs, &TabWidget::addOtherChapter);
    connect(vpDatabase, &Database::foundParagraph, vpTabs, &TabWidget::addParagraph);
    connect(vpDatabase, &Database::foundOtherParagraph, vpTabs, &TabWidget::addOtherParagraph);
    mpTabs->resize(800, 600);
    mpTabs->show();
    QVERIFY(QTest::qWaitForWindowExposed(mpTabs.get()));
}

void ReadingFixture::cleanup()
{
    if (mpTabs)
        QVERIFY(closeAll());
    mpTabs.reset();
    mpTree.reset();
    const QStringList vcProblems = mpLog->linesContaining("SQL Error") +
                                   mpLog->linesContaining("without the data store's lock");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.join('\n')));
}

TabArea *ReadingFixture::openSermon(const QString &asTitle, int anDocId)
{
    mpTree->setKind(CatalogueTree::ByYear);
    TabArea *vpPage = mpTabs->openTab(asTitle);
    emit vpPage->openQuotesParagraph(vpPage, anDocId);
    return vpPage;
}

TabArea *ReadingFixture::openPsalm(const QString &asTitle, int anChapter)
{
    mpTree->setKind(CatalogueTree::Bible);
    TabArea *vpPage = mpTabs->openTab(asTitle);
    mpTree->setKind(CatalogueTree::ByYear);
    emit vpPage->openBibleChapter(vpPage, 19, anChapter);
    return vpPage;
}

bool ReadingFixture::closeAll()
{
    const int vnExpected = mnRetired + mpTabs->count();
    while (mpTabs->count() > 0)
        mpTabs->closeTab(0);
    return QTest::qWaitFor([&] { return mnRetired >= vnExpected; }, 20000);
}
