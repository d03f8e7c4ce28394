#include "support/searchwindowfixture.h"

#include "controllers/application.h"
#include "models/database.h"
#include "widgets/searchwidget.h"
#include "widgets/toolbar.h"

#include <QLineEdit>
#include <QToolButton>

const QString SearchWindowFixture::csWord = "маяк";

namespace {

const QStringList ccDates{"63-0317", "64-0101", "65-0101"};

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"},  {"Language", "en"},     {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},   {"ParagraphCount", 20}, {"VersesCount", 20},
            {"ShowDuplicates", true}};
}

// Three sermons of 30 paragraphs: the odd ones hold the word (45 hits), of
// them numbers 1, 13 and 25 with a capital letter (9 hits); the even ones
// hold "слова". Two chapters of a book for the Bible catalogue.
QStringList corpus()
{
    const QStringList vcNames{"Первая", "Вторая", "Третья"};
    QStringList vcStatements{
        "INSERT INTO bibles (book, name) VALUES (1, 'Бытие');",
        "INSERT INTO chapters (book, chapter, name) VALUES (1, 1, 'Бытие 1'), (1, 2, 'Бытие 2');",
        "INSERT INTO verses (book, chapter, verse, text) VALUES (1, 1, 1, 'И был маяк.'), "
        "(1, 2, 1, 'И был маяк.');"};
    for (int s = 0; s < ccDates.size(); ++s) {
        vcStatements << QString("INSERT INTO quotes (docid, date, name, translator, pdf, mp3, "
                                "length, place) VALUES (%1, '%2', '%3', 'Иванов', '-', '-', "
                                "'1:02', 'Город');")
                            .arg(s + 1)
                            .arg(ccDates.at(s), vcNames.at(s));
        for (int n = 1; n <= 30; ++n) {
            const QString vsText =
                n % 2 == 0 ? "Другой абзац %1 без слова, только текст для высоты страницы."
                : n % 12 == 1 ? "Маяк %1 стоит на берегу моря, и текст идёт дальше."
                              : "Абзац %1 про маяк на берегу моря, и текст идёт дальше.";
            vcStatements << QString("INSERT INTO paragraphs (id, date, text) VALUES ('E-%1', "
                                    "'%2', '%3');")
                                .arg(n)
                                .arg(ccDates.at(s), vsText.arg(n));
        }
    }
    return vcStatements;
}

} // namespace

QStringList SearchWindowFixture::allHits()
{
    QStringList vcKeys;
    for (const QString &vsDate : ccDates)
        for (int n = 1; n <= 30; n += 2)
            vcKeys << QString("a%1@%2").arg(vsDate).arg(n);
    return vcKeys;
}

void SearchWindowFixture::init()
{
    mpLog = std::make_unique<LogCapture>();
    newWindow();
}

void SearchWindowFixture::newWindow(const QMap<QString, QVariant> &acMore)
{
    mpWindow.reset();
    mpApp.reset();
    QMap<QString, QVariant> vcSettings = settings();
    vcSettings.insert(acMore);
    mpApp = std::make_unique<TempAppDir>(vcSettings);
    QVERIFY(Application::database()->execQuery(corpus()));
    mpWindow = TestSupport::shownWindow();
    QVERIFY(mpWindow);
}

void SearchWindowFixture::cleanup()
{
    QVERIFY(TestSupport::roundTrip());
    mpWindow.reset();
    QVERIFY(TestSupport::roundTrip());
    // Whatever a test did in the window, the window never waited for a
    // search holding the data store (catalogues, counts, hover texts and
    // language switches all go through the data store's thread).
    const QStringList vcProblems =
        mpLog->linesContaining("SQL Error") + mpLog->linesContaining("waited for the data store");
    mpLog.reset();
    mpApp.reset();
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.join('\n')));
}

void SearchWindowFixture::clickKind(const QString &asToolTip)
{
    for (QToolButton *vpButton : mpWindow->toolBar()->findChildren<QToolButton *>())
        if (vpButton->toolTip() == asToolTip)
            vpButton->click();
    QVERIFY(TestSupport::settle());
}

void SearchWindowFixture::search(const QString &asText)
{
    mpWindow->searchWidget()->lineEdit()->setText(asText);
    QTest::keyClick(mpWindow->searchWidget()->lineEdit(), Qt::Key_Return);
}
