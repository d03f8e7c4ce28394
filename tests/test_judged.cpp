// Search quality on the Russian demo sermons, measured against judged queries
// (tests/judged/ru-queries.tsv: for each query the paragraphs a reader wants,
// judged by reading them). Each query runs through the search's own
// condition, the way the search line sends it; the log gets a table of what
// each query finds and how many of its hits are wrong.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"
#include "models/searchstatements.h"

#include <QFile>
#include <QSet>

#include <memory>

namespace {

struct Judged
{
    QString msQuery;
    QSet<QString> mcRelevant; // "date:paragraph"
};

struct Tally
{
    int mnFound = 0; // relevant paragraphs among the hits
    int mnWrong = 0; // hits that are not relevant
};

} // namespace

class TestJudged : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void judgedParagraphsExist();
    void searchesAgainstTheJudgements();

private:
    std::unique_ptr<TempAppDir> mpApp;
    QList<Judged> mcQueries;
};

void TestJudged::initTestCase()
{
    mpApp = std::make_unique<TempAppDir>(
        QMap<QString, QVariant>{{"DataLanguage", "ru"}, {"DBLang1", "ru"}});
    QVERIFY(TextConverter::importDirectory(
        *Application::database(), *Application::storeEnvironment(),
        {QUILLMARK_SOURCE_DIR "/demo/ru/sermons", "ru", TextConverter::ImportRun::Quotes, false}));

    QFile vFile(QUILLMARK_SOURCE_DIR "/tests/judged/ru-queries.tsv");
    QVERIFY(vFile.open(QIODevice::ReadOnly));
    for (const QString &vsLine : QString::fromUtf8(vFile.readAll()).split('\n')) {
        if (vsLine.trimmed().isEmpty() || vsLine.startsWith('#'))
            continue;
        const QStringList vcColumns = vsLine.split('\t');
        QVERIFY2(vcColumns.size() == 2, qPrintable(vsLine));
        Judged vQuery{vcColumns.at(0), {}};
        for (const QString &vsParagraph : vcColumns.at(1).split(','))
            vQuery.mcRelevant.insert(vsParagraph.trimmed());
        mcQueries.append(vQuery);
    }
    QVERIFY(mcQueries.size() >= 30);
}

void TestJudged::judgedParagraphsExist()
{
    // A judged paragraph that is not there (a typing error, a sermon edited
    // since) could never be found and would quietly lower every figure.
    const QStringList vcAll =
        TestSupport::readRows("ru", "SELECT date || ':' || id FROM paragraphs;");
    const QSet<QString> vcParagraphs(vcAll.cbegin(), vcAll.cend());
    for (const Judged &vQuery : mcQueries)
        for (const QString &vsParagraph : vQuery.mcRelevant)
            QVERIFY2(vcParagraphs.contains(vsParagraph),
                     qPrintable(vQuery.msQuery + ": " + vsParagraph));
}

void TestJudged::searchesAgainstTheJudgements()
{
    const QList<QPair<QString, AdvancedSearchFlags>> vcModes{
        {"prefix", NoOption}, {"forms", WordForms}, {"forms+ё", WordForms | YoAlike}};
    QVector<Tally> vcTotals(vcModes.size());
    int vnListed = 0;
    QString vsHeading = QString("%1 %2").arg("query (found/wrong)", -21).arg("listed");
    for (const auto &vMode : vcModes)
        vsHeading += QString(" %1").arg(vMode.first, 8);
    qInfo("%s", qUtf8Printable(vsHeading));
    for (const Judged &vQuery : mcQueries) {
        vnListed += vQuery.mcRelevant.size();
        QString vsRow;
        QSet<QString> vcPrevious;
        for (int i = 0; i < vcModes.size(); ++i) {
            const QString vsCondition = SearchStatements::condition(
                SearchStatements::fromUserText(vQuery.msQuery), vcModes.at(i).second, "ru");
            const QStringList vcHits = TestSupport::readRows(
                "ru",
                "SELECT date || ':' || id FROM paragraphs WHERE text MATCH '" + vsCondition + "';");
            QVERIFY2(vcHits.isEmpty() || !vcHits.first().startsWith("failed:"),
                     qPrintable(vcHits.value(0)));
            // Each mode only widens the one before: word forms search a
            // prefix of the typed word, е/ё alike adds spellings.
            const QSet<QString> vcFound(vcHits.cbegin(), vcHits.cend());
            if (i > 0)
                QVERIFY2(vcFound.contains(vcPrevious), qPrintable(vQuery.msQuery));
            vcPrevious = vcFound;
            Tally vTally;
            for (const QString &vsHit : vcHits)
                ++(vQuery.mcRelevant.contains(vsHit) ? vTally.mnFound : vTally.mnWrong);
            vcTotals[i].mnFound += vTally.mnFound;
            vcTotals[i].mnWrong += vTally.mnWrong;
            vsRow += QString(" %1/%2").arg(vTally.mnFound, 4).arg(vTally.mnWrong, -3);
        }
        qInfo("%s", qUtf8Printable(QString("%1 %2%3")
                                       .arg(vQuery.msQuery, -21)
                                       .arg(vQuery.mcRelevant.size(), 6)
                                       .arg(vsRow)));
    }
    for (int i = 0; i < vcModes.size(); ++i)
        qInfo("%-8s found %d of %d judged paragraphs, %d wrong of %d hits",
              qUtf8Printable(vcModes.at(i).first), vcTotals.at(i).mnFound, vnListed,
              vcTotals.at(i).mnWrong, vcTotals.at(i).mnFound + vcTotals.at(i).mnWrong);

    // Word forms must earn their place: clearly more of what readers want
    // (half as much again) than plain prefixes.
    const Tally &vPrefix = vcTotals.at(0), &vForms = vcTotals.at(1);
    QVERIFY(vForms.mnFound > vPrefix.mnFound && vForms.mnFound * 2 >= vPrefix.mnFound * 3);
    // ...and stay mostly right: at least three hits in four relevant. A stem
    // searched as a prefix also finds other words that begin like it (вер-
    // in верный and вернуться, свет- in светильник), which nothing short of
    // a dictionary tells apart, and these sermons hold such words on purpose.
    QVERIFY(vForms.mnWrong * 4 <= vForms.mnFound + vForms.mnWrong);
}

QUILLMARK_TEST_MAIN(TestJudged)
#include "test_judged.moc"
