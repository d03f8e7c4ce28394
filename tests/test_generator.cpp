// The benchmark corpus generator: the same seed must give the same corpus
// everywhere (benchmark figures are compared across runs and machines), the
// corpus must keep the catalogue's value conventions, and its statements must
// go through the data store.

#include "support/testsupport.h"

#include "controllers/application.h"
#include "corpusgenerator.h"
#include "models/database.h"

#include <QCryptographicHash>
#include <QSet>
#include <QSqlQuery>

class TestGenerator : public QObject
{
    Q_OBJECT

private slots:
    void sameSeedGivesTheSameCorpus();
    void corpusFollowsTheCatalogueConventions();
    void bibleHasTheRealShape_data();
    void bibleHasTheRealShape();
    void statementsGoThroughTheDataStore();

private:
    static CorpusGenerator::Options options(quint32 anSeed, int anSermons,
                                            const QString &asLanguage = "ru");
    static QStringList allStatements(const CorpusGenerator &aGenerator);
};

CorpusGenerator::Options TestGenerator::options(quint32 anSeed, int anSermons,
                                                const QString &asLanguage)
{
    CorpusGenerator::Options vOptions;
    vOptions.mnSeed = anSeed;
    vOptions.mnSermons = anSermons;
    vOptions.msLanguage = asLanguage;
    return vOptions;
}

QStringList TestGenerator::allStatements(const CorpusGenerator &aGenerator)
{
    QStringList vcStatements;
    for (int i = 0; i < aGenerator.sermons().size(); ++i)
        vcStatements += aGenerator.sermonStatements(i);
    vcStatements += aGenerator.bookStatements(19);
    return vcStatements;
}

void TestGenerator::sameSeedGivesTheSameCorpus()
{
    const QStringList vcFirst = allStatements(CorpusGenerator(options(1, 3)));
    QCOMPARE(allStatements(CorpusGenerator(options(1, 3))), vcFirst);
    QVERIFY(allStatements(CorpusGenerator(options(2, 3))) != vcFirst);

    // Pinned, so that a dependence on the standard library, the platform or
    // uninitialised state shows. A deliberate change of the generator changes
    // the corpus, and figures measured before it are no longer comparable:
    // update the value knowingly and say so.
    const QByteArray vsDigest =
        QCryptographicHash::hash(vcFirst.join('\n').toUtf8(), QCryptographicHash::Sha1).toHex();
    QCOMPARE(vsDigest, QByteArray("b656f602a53d7dbb82892b15291d5564a045293e"));
}

void TestGenerator::corpusFollowsTheCatalogueConventions()
{
    const CorpusGenerator vGenerator(options(5, 200));
    const QVector<CorpusGenerator::Sermon> &vcSermons = vGenerator.sermons();
    QCOMPARE(vcSermons.size(), 200);

    QSet<QString> vcFirstDates;
    QSet<QString> vcYears;
    QSet<QChar> vcTitleLetters;
    int vnFurther = 0;
    for (const CorpusGenerator::Sermon &vSermon : vcSermons) {
        const bool vbFurther = vSermon.msDate.endsWith(" *");
        const QString vsPlain = vbFurther ? vSermon.msDate.chopped(2) : vSermon.msDate;
        // Further translations are told apart by their length alone.
        QCOMPARE(vSermon.msDate.size() >= 9, vbFurther);
        if (vbFurther) {
            ++vnFurther;
            QVERIFY2(vcFirstDates.contains(vsPlain), qPrintable(vSermon.msDate));
        } else {
            QVERIFY2(!vcFirstDates.contains(vsPlain), qPrintable(vSermon.msDate));
            vcFirstDates.insert(vsPlain);
        }
        bool vbYear = false;
        const int vnYear = vsPlain.left(2).toInt(&vbYear);
        QVERIFY2(vbYear && vnYear >= 40 && vnYear <= 69, qPrintable(vSermon.msDate));
        vcYears.insert(vsPlain.left(2));
        vcTitleLetters.insert(vSermon.msName.at(0));
        QVERIFY(vSermon.msMp3 == "-" || vSermon.msMp3 == vsPlain + ".mp3");
        QVERIFY(vSermon.mnParagraphs >= 150 && vSermon.mnParagraphs <= 400);
        QVERIFY(!vSermon.msTranslator.isEmpty() && !vSermon.msPlace.isEmpty());
    }
    QCOMPARE(vnFurther, 10);
    // Further translations come after every first translation.
    QVERIFY(!vcSermons.at(189).msDate.endsWith('*'));
    QVERIFY(vcSermons.at(190).msDate.endsWith('*'));
    QVERIFY(vcYears.size() >= 15);
    QVERIFY(vcTitleLetters.size() >= 15);

    const QStringList vcStatements = vGenerator.sermonStatements(0);
    QCOMPARE(vcStatements.size(), vcSermons.first().mnParagraphs + 1);
    QVERIFY(vcStatements.at(1).contains("'E-1', ' "));
    QVERIFY(vcStatements.last().contains(QString("'E-%1'").arg(vcSermons.first().mnParagraphs)));
}

void TestGenerator::bibleHasTheRealShape_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("longestPsalm");
    QTest::addColumn<QString>("book45");
    QTest::newRow("ru") << "ru" << 118 << "Иакова";
    QTest::newRow("en") << "en" << 119 << "Romans";
    QTest::newRow("fr") << "fr" << 119 << "Romains";
}

void TestGenerator::bibleHasTheRealShape()
{
    QFETCH(QString, language);
    QFETCH(int, longestPsalm);
    QFETCH(QString, book45);

    const CorpusGenerator vGenerator(options(1, 0, language));
    QCOMPARE(CorpusGenerator::bookCount(), 66);
    int vnChapters = 0, vnVerses = 0;
    for (int vnBook = 1; vnBook <= 66; ++vnBook) {
        vnChapters += vGenerator.chapterCount(vnBook);
        for (int c = 1; c <= vGenerator.chapterCount(vnBook); ++c) {
            QVERIFY(vGenerator.verseCount(vnBook, c) >= 1);
            vnVerses += vGenerator.verseCount(vnBook, c);
        }
    }
    QCOMPARE(vnChapters, 1189);
    QCOMPARE(vnVerses, 31102);
    QCOMPARE(vGenerator.chapterCount(19), 150);
    QCOMPARE(vGenerator.verseCount(19, longestPsalm), 176);
    QCOMPARE(vGenerator.bookName(45), book45);

    const QStringList vcStatements = vGenerator.bookStatements(19);
    QCOMPARE(vcStatements.size(), 1 + 150 + 2461);
    QVERIFY(vcStatements.at(150).contains(
        QString("VALUES(19, 150, '%1 150')").arg(vGenerator.bookName(19))));
}

void TestGenerator::statementsGoThroughTheDataStore()
{
    TempAppDir vFolder({{"DataLanguage", "ru"}});
    const CorpusGenerator vGenerator(options(3, 40));
    qint64 vnParagraphs = 0;
    for (const CorpusGenerator::Sermon &vSermon : vGenerator.sermons())
        vnParagraphs += vSermon.mnParagraphs;

    Database vDatabase("ru", *Application::storeEnvironment());
    int vnReports = 0;
    const CorpusGenerator::Totals vTotals =
        vGenerator.write(vDatabase, false, [&](const CorpusGenerator::Totals &) { ++vnReports; });
    QVERIFY(vTotals.mbOk);
    QCOMPARE(vnReports, 40);
    QCOMPARE(vTotals.mnSermons, 40);
    QCOMPARE(vTotals.mnParagraphs, vnParagraphs);
    QVERIFY(vTotals.mnSermonBytes > vnParagraphs * 100);
    QCOMPARE(vDatabase.currentLanguageSermonsCount(), 40);
    QCOMPARE(vDatabase.currentLanguageSermonsCountDist(), 38);

    // Every paragraph is stored under its sermon's key and is found by the
    // full-text index.
    QSqlQuery vQuery(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    QVERIFY(vQuery.exec("SELECT count(*) FROM paragraphs WHERE date IN (SELECT date FROM quotes)"));
    QVERIFY(vQuery.next());
    QCOMPARE(vQuery.value(0).toLongLong(), vnParagraphs);
    const QString vsWord = vGenerator.word(0);
    QVERIFY(
        vQuery.exec(QString("SELECT count(*) FROM paragraphs WHERE text MATCH '%1'").arg(vsWord)));
    QVERIFY(vQuery.next());
    QVERIFY(vQuery.value(0).toLongLong() > vnParagraphs / 2);
}

QUILLMARK_TEST_MAIN(TestGenerator)
#include "test_generator.moc"
