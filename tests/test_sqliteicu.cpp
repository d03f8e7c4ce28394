// The icu full-text tokenizer on its own, through real connections of the
// "QSQLITEICU" driver, and as the loadable extension in the sqlite3 shell.

#include "sqlite/sqliteicu.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <thread>
#include <vector>

namespace {

QStringList describe(const QVector<SqliteIcu::Token> &acTokens)
{
    QStringList vcLines;
    for (const SqliteIcu::Token &vToken : acTokens)
        vcLines << QStringLiteral("%1 %2-%3")
                       .arg(QString::fromUtf8(vToken.text.constData(), vToken.text.size()))
                       .arg(vToken.start)
                       .arg(vToken.end);
    return vcLines;
}

// What holds for any input, well-formed or not.
void checkInvariants(const QVector<SqliteIcu::Token> &acTokens, int anInputBytes)
{
    int vnPreviousEnd = 0;
    for (int vn = 0; vn < acTokens.size(); ++vn) {
        const SqliteIcu::Token &vToken = acTokens.at(vn);
        QVERIFY2(vToken.start >= vnPreviousEnd && vToken.start < vToken.end &&
                     vToken.end <= anInputBytes,
                 qPrintable(QStringLiteral("token %1 of %2 bytes").arg(vn).arg(anInputBytes)));
        QCOMPARE(vToken.position, vn);
        QVERIFY(!vToken.text.isEmpty());
        vnPreviousEnd = vToken.end;
    }
}

const char *const scCreateTable =
    "CREATE VIRTUAL TABLE IF NOT EXISTS paragraphs USING fts4 (uid INTEGER PRIMARY KEY ASC,id "
    "TEXT,date TEXT,text TEXT,  tokenize=icu ru_RU);";

// Row n + 1 holds scParagraphs[n].
const char *const scParagraphs[] = {
    "В начале было Слово, и Слово было у Бога, и Слово было Бог.",
    "Словарь русского языка",
    "In the beginning was the Word, and the Word was with God.",
    "Ёлка стояла в лесу.",
    "Елка без точек.",
    "Die Straße ist lang.",
    "Слово и дело было.",
    "СЛОВЕСНОСТЬ",
};

QList<qlonglong> runMatch(QSqlDatabase aDb, const QString &asQuery, QString *apsError)
{
    QList<qlonglong> vcRows;
    QSqlQuery vQuery(aDb);
    vQuery.prepare(
        QStringLiteral("SELECT rowid FROM paragraphs WHERE paragraphs MATCH ? ORDER BY rowid"));
    vQuery.addBindValue(asQuery);
    if (!vQuery.exec()) {
        *apsError = vQuery.lastError().text();
        return vcRows;
    }
    while (vQuery.next())
        vcRows << vQuery.value(0).toLongLong();
    return vcRows;
}

// A connection of its own, opened, queried and removed on the calling thread.
QList<qlonglong> matchOnNewConnection(const QString &asDriver, const QString &asFile,
                                      const QString &asQuery, QString *apsError)
{
    const QString vsName =
        QStringLiteral("later-%1").arg(reinterpret_cast<quintptr>(QThread::currentThread()));
    QList<qlonglong> vcRows;
    {
        QSqlDatabase vDb = QSqlDatabase::addDatabase(asDriver, vsName);
        vDb.setDatabaseName(asFile);
        if (vDb.open())
            vcRows = runMatch(vDb, asQuery, apsError);
        else
            *apsError = vDb.lastError().text();
    }
    QSqlDatabase::removeDatabase(vsName);
    return vcRows;
}

// A build with sanitizers put their run-time library into the extension; the
// uninstrumented shell can only load it when that library comes first.
QProcessEnvironment shellEnvironment()
{
    QProcessEnvironment vEnvironment = QProcessEnvironment::systemEnvironment();
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    QFile vMaps(QStringLiteral("/proc/self/maps"));
    if (vMaps.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> vcLines = vMaps.readAll().split('\n');
        for (const QByteArray &vaLine : vcLines) {
            const int vnPath = vaLine.indexOf('/');
            if (vnPath >= 0 && (vaLine.contains("/libasan.so") || vaLine.contains("/libtsan.so"))) {
                vEnvironment.insert(QStringLiteral("LD_PRELOAD"),
                                    QString::fromLocal8Bit(vaLine.mid(vnPath)));
                break;
            }
        }
    }
    vEnvironment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
#endif
    return vEnvironment;
}

} // namespace

class TestSqliteIcu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tokenize_data();
    void tokenize();
    void textCutAtEveryByte();

    void match_data();
    void match();
    void offsetsAreBytes();
    void tokenizerArguments_data();
    void tokenizerArguments();
    void laterConnections_data();
    void laterConnections();

    void shellMatch_data();
    void shellMatch();

private:
    QString runShell(const QString &asScript);

    QTemporaryDir mDir;
    QString msDbPath;
};

void TestSqliteIcu::initTestCase()
{
    SqliteIcu::install();
    SqliteIcu::install();
    QVERIFY(mDir.isValid());
    msDbPath = mDir.filePath(QStringLiteral("kvr_main_ru.sqlite"));

    QSqlDatabase vDb =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), QStringLiteral("main"));
    QVERIFY(vDb.isValid());
    vDb.setDatabaseName(msDbPath);
    QVERIFY2(vDb.open(), qPrintable(vDb.lastError().text()));
    QSqlQuery vQuery(vDb);
    QVERIFY2(vQuery.exec(QString::fromUtf8(scCreateTable)), qPrintable(vQuery.lastError().text()));
    QVERIFY(vDb.transaction());
    QVERIFY(vQuery.prepare(QStringLiteral("INSERT INTO paragraphs (docid, text) VALUES (?, ?)")));
    for (int vn = 0; vn < 8; ++vn) {
        vQuery.addBindValue(vn + 1);
        vQuery.addBindValue(QString::fromUtf8(scParagraphs[vn]));
        QVERIFY2(vQuery.exec(), qPrintable(vQuery.lastError().text()));
    }
    QVERIFY(vDb.commit());
}

void TestSqliteIcu::cleanupTestCase()
{
    QSqlDatabase::database(QStringLiteral("main"), false).close();
    QSqlDatabase::removeDatabase(QStringLiteral("main"));
}

void TestSqliteIcu::tokenize_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QStringList>("expected");

    const QByteArray vaRu("ru_RU");
    QTest::newRow("cyrillic words, offsets in bytes")
        << QByteArray("Слово Божье") << vaRu
        << QStringList{QStringLiteral("слово 0-10"), QStringLiteral("божье 11-21")};
    QTest::newRow("full case folding of ß")
        << QByteArray("STRAßE Straße") << vaRu
        << QStringList{QStringLiteral("strasse 0-7"), QStringLiteral("strasse 8-15")};
    QTest::newRow("blanks of every kind are skipped")
        << QByteArray("\t слово\xC2\xA0\r\nдело  ") << vaRu
        << QStringList{QStringLiteral("слово 2-12"), QStringLiteral("дело 16-24")};
    QTest::newRow("characters outside the BMP")
        << QByteArray("\xF0\x9F\x98\x80 \xF0\x90\x90\x80x") << vaRu
        << QStringList{QStringLiteral("\U0001F600 0-4"), QStringLiteral("\U00010428x 5-10")};
    // Thai has no blanks between words; only a real word break iterator splits it.
    QTest::newRow("thai words by dictionary")
        << QByteArray("สวัสดีครับ") << QByteArray("th_TH")
        << QStringList{QStringLiteral("สวัสดี 0-18"), QStringLiteral("ครับ 18-30")};
    // Any locale argument leaves a working tokenizer.
    const QStringList vcHello{QStringLiteral("hello 0-5"), QStringLiteral(", 5-6"),
                              QStringLiteral("мир 7-13"), QStringLiteral("42 14-16")};
    QTest::newRow("no locale") << QByteArray("Hello, МИР 42") << QByteArray() << vcHello;
    QTest::newRow("not a locale name")
        << QByteArray("Hello, МИР 42") << QByteArray("@@@=;;--") << vcHello;
    QTest::newRow("very long locale")
        << QByteArray("Hello, МИР 42") << QByteArray(1000, 'x') << vcHello;
    QTest::newRow("empty text") << QByteArray() << vaRu << QStringList();
    QTest::newRow("blanks only") << QByteArray(" \t\n \r ") << vaRu << QStringList();
    // Each malformed piece reads as one U+FFFD that keeps its own bytes.
    QTest::newRow("lone continuation byte")
        << QByteArray("\x80слово") << vaRu
        << QStringList{QStringLiteral("\uFFFD 0-1"), QStringLiteral("слово 1-11")};
    QTest::newRow("sequence cut at the end")
        << QByteArray("слово\xD0") << vaRu
        << QStringList{QStringLiteral("слово 0-10"), QStringLiteral("\uFFFD 10-11")};
    QTest::newRow("overlong encoding")
        << QByteArray("a\xC0\xAF"
                      "b")
        << vaRu
        << QStringList{QStringLiteral("a 0-1"), QStringLiteral("\uFFFD 1-2"),
                       QStringLiteral("\uFFFD 2-3"), QStringLiteral("b 3-4")};
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80x") << vaRu
        << QStringList{QStringLiteral("\uFFFD 0-1"), QStringLiteral("\uFFFD 1-2"),
                       QStringLiteral("\uFFFD 2-3"), QStringLiteral("x 3-4")};
    // The text ends where its length says, not at a NUL byte.
    QTest::newRow("NUL byte inside")
        << QByteArray("a\0b", 3) << vaRu
        << QStringList{QStringLiteral("a 0-1"), QString(QChar(0)) + QStringLiteral(" 1-2"),
                       QStringLiteral("b 2-3")};
}

void TestSqliteIcu::tokenize()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, locale);
    QFETCH(QStringList, expected);

    const QVector<SqliteIcu::Token> vcTokens = SqliteIcu::tokenize(input, locale);
    QCOMPARE(describe(vcTokens), expected);
    checkInvariants(vcTokens, input.size());
}

// A text cut at any byte, often inside a character: the tokens before the cut
// are those of the whole text, and whatever follows stays inside the cut text;
// random bytes keep the same invariants.
void TestSqliteIcu::textCutAtEveryByte()
{
    const QByteArray vaText(
        "Съешь же ещё этих мягких французских булок, да выпей чаю \xF0\x9F\x98\x80.");
    const QVector<SqliteIcu::Token> vcWhole = SqliteIcu::tokenize(vaText);
    QCOMPARE(vcWhole.size(), 13);

    for (int vnCut = 0; vnCut <= vaText.size(); ++vnCut) {
        const QVector<SqliteIcu::Token> vcCut = SqliteIcu::tokenize(vaText.left(vnCut));
        checkInvariants(vcCut, vnCut);
        QVector<SqliteIcu::Token> vcComplete;
        for (const SqliteIcu::Token &vToken : vcWhole) {
            if (vToken.end <= vnCut)
                vcComplete << vToken;
        }
        QVERIFY2(vcCut.size() >= vcComplete.size(), qPrintable(QString::number(vnCut)));
        QCOMPARE(describe(vcCut.mid(0, vcComplete.size())), describe(vcComplete));
    }
    // Random bytes, mostly malformed.
    QRandomGenerator vRandom(20240611);
    for (int vnRound = 0; vnRound < 2000; ++vnRound) {
        QByteArray vaInput(static_cast<int>(vRandom.bounded(48)), Qt::Uninitialized);
        for (char &vc : vaInput)
            vc = static_cast<char>(vRandom.bounded(256));
        checkInvariants(SqliteIcu::tokenize(vaInput), vaInput.size());
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("input %1").arg(QString::fromLatin1(vaInput.toHex()))));
    }
}

void TestSqliteIcu::match_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<qlonglong>>("expected");

    QTest::newRow("lower-case word, capitalised text")
        << QStringLiteral("слово") << QList<qlonglong>{1, 7};
    QTest::newRow("upper-case prefix") << QStringLiteral("СЛОВ*") << QList<qlonglong>{1, 2, 7, 8};
    QTest::newRow("phrase") << QStringLiteral("\"было слово\"") << QList<qlonglong>{1};
    QTest::newRow("phrase with its punctuation")
        << QStringLiteral("\"слово, и слово\"") << QList<qlonglong>{1};
    // A punctuation mark is a token and takes a position of its own.
    QTest::newRow("phrase that skips a comma")
        << QStringLiteral("\"слово и слово\"") << QList<qlonglong>{};
    QTest::newRow("latin phrase") << QStringLiteral("\"the word was with GOD\"")
                                  << QList<qlonglong>{3};
    QTest::newRow("Ё finds ё") << QStringLiteral("ЁЛКА") << QList<qlonglong>{4};
    QTest::newRow("е does not find ё") << QStringLiteral("елка") << QList<qlonglong>{5};
    QTest::newRow("folded ß in the query") << QStringLiteral("STRASSE") << QList<qlonglong>{6};
    QTest::newRow("no such word") << QStringLiteral("отсутствует") << QList<qlonglong>{};
}

void TestSqliteIcu::match()
{
    QFETCH(QString, query);
    QFETCH(QList<qlonglong>, expected);

    QString vsError;
    const QList<qlonglong> vcRows =
        runMatch(QSqlDatabase::database(QStringLiteral("main")), query, &vsError);
    QVERIFY2(vsError.isEmpty(), qPrintable(vsError));
    QCOMPARE(vcRows, expected);
}

// offsets() and snippet() place matches with the tokenizer's offsets, which must
// count bytes of the stored UTF-8, not characters.
void TestSqliteIcu::offsetsAreBytes()
{
    QSqlQuery vQuery(QSqlDatabase::database(QStringLiteral("main")));
    QVERIFY(vQuery.exec(QStringLiteral(
        "SELECT offsets(paragraphs) FROM paragraphs WHERE paragraphs MATCH 'бога' AND rowid = 1")));
    QVERIFY(vQuery.next());
    const QByteArray vaText(scParagraphs[0]);
    const int vnColumn = 3;
    QCOMPARE(vQuery.value(0).toString(),
             QStringLiteral("%1 0 %2 8").arg(vnColumn).arg(vaText.indexOf("Бога")));
}

void TestSqliteIcu::tokenizerArguments_data()
{
    QTest::addColumn<QString>("tokenize");

    QTest::newRow("no locale") << QStringLiteral("icu");
    QTest::newRow("unknown locale") << QStringLiteral("icu zz_NOT_A_LOCALE");
}

// Neither a missing nor an unknown locale keeps a table from being created and
// searched.
void TestSqliteIcu::tokenizerArguments()
{
    QFETCH(QString, tokenize);

    QSqlQuery vQuery(QSqlDatabase::database(QStringLiteral("main")));
    const QString vsTable = QStringLiteral("temp.t%1").arg(tokenize.size());
    QVERIFY2(vQuery.exec(QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts4(text, tokenize=%2)")
                             .arg(vsTable, tokenize)),
             qPrintable(vQuery.lastError().text()));
    QVERIFY(vQuery.exec(
        QStringLiteral("INSERT INTO %1 (text) VALUES ('Ёжик, в тумане')").arg(vsTable)));
    QVERIFY(vQuery.exec(
        QStringLiteral("SELECT count(*) FROM %1 WHERE text MATCH 'ЁЖИК'").arg(vsTable)));
    QVERIFY(vQuery.next());
    QCOMPARE(vQuery.value(0).toInt(), 1);
}

void TestSqliteIcu::laterConnections_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<int>("threads");

    QTest::newRow("same driver") << QStringLiteral("QSQLITEICU") << 0;
    // Under ThreadSanitizer, state shared between connections shows up here.
    QTest::newRow("same driver, worker threads at once") << QStringLiteral("QSQLITEICU") << 4;
    // The tokenizer lives in SQLite, not in the driver name.
    QTest::newRow("Qt's stock driver name") << QStringLiteral("QSQLITE") << 0;
}

// Opening a table whose tokenizer the connection does not know fails with
// "unknown tokenizer: icu"; threads install and query at the same time.
void TestSqliteIcu::laterConnections()
{
    QFETCH(QString, driver);
    QFETCH(int, threads);

    const int vnRuns = qMax(threads, 1);
    std::vector<QString> vcErrors(vnRuns);
    std::vector<QList<qlonglong>> vcRows(vnRuns);
    auto vRun = [&](int vn) {
        SqliteIcu::install();
        vcRows[vn] = matchOnNewConnection(driver, msDbPath, QStringLiteral("СЛОВ* OR straße"),
                                          &vcErrors[vn]);
    };
    std::vector<std::thread> vcThreads;
    for (int vn = 0; vn < threads; ++vn)
        vcThreads.emplace_back(vRun, vn);
    for (std::thread &vThread : vcThreads)
        vThread.join();
    if (threads == 0)
        vRun(0);
    for (int vn = 0; vn < vnRuns; ++vn) {
        QVERIFY2(vcErrors[vn].isEmpty(), qPrintable(vcErrors[vn]));
        QCOMPARE(vcRows[vn], (QList<qlonglong>{1, 2, 6, 7, 8}));
    }
}

QString TestSqliteIcu::runShell(const QString &asScript)
{
    QProcess vShell;
    vShell.setProcessEnvironment(shellEnvironment());
    vShell.start(QStandardPaths::findExecutable(QStringLiteral("sqlite3")),
                 {QStringLiteral("-batch"), QStringLiteral("-bail"), QStringLiteral("-init"),
                  QStringLiteral("/dev/null"), QStringLiteral("-noheader"), QStringLiteral("-list"),
                  msDbPath});
    if (!vShell.waitForStarted())
        return QStringLiteral("(shell does not start: %1)").arg(vShell.errorString());
    vShell.write(asScript.toUtf8());
    vShell.closeWriteChannel();
    vShell.waitForFinished(-1);
    const QString vsErrors = QString::fromUtf8(vShell.readAllStandardError());
    if (vShell.exitStatus() != QProcess::NormalExit || vShell.exitCode() != 0 ||
        !vsErrors.isEmpty())
        return QStringLiteral("(shell failed with %1: %2)").arg(vShell.exitCode()).arg(vsErrors);
    return QString::fromUtf8(vShell.readAllStandardOutput());
}

void TestSqliteIcu::shellMatch_data()
{
    QTest::addColumn<QString>("extension");

    const QString vsModule = QStringLiteral(QUILLMARK_ICU_EXTENSION);
    QTest::newRow("path with suffix") << vsModule;
    QTest::newRow("path without suffix") << vsModule.chopped(3);
}

// The extension is a separate build of the same code: it must find what the
// program indexed, and cut and fold exactly like the program does.
void TestSqliteIcu::shellMatch()
{
    QFETCH(QString, extension);
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        QSKIP("The sqlite3 shell is not installed");

    const QByteArray vaText("Die STRAßE, Ёлка — 3,14 \xF0\x90\x90\x80 don't");
    QStringList vcExpected{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("7"),
                           QStringLiteral("8")};
    const QVector<SqliteIcu::Token> vcTokens = SqliteIcu::tokenize(vaText);
    QCOMPARE(vcTokens.size(), 8);
    for (const SqliteIcu::Token &vToken : vcTokens)
        vcExpected << QStringLiteral("%1|%2|%3|%4")
                          .arg(QString::fromUtf8(vToken.text))
                          .arg(vToken.start)
                          .arg(vToken.end)
                          .arg(vToken.position);

    const QString vsOutput =
        runShell(QStringLiteral(
                     ".load %1\n"
                     "SELECT rowid FROM paragraphs WHERE paragraphs MATCH 'СЛОВ*' ORDER BY rowid;\n"
                     "CREATE VIRTUAL TABLE temp.words USING fts3tokenize(icu, ru_RU);\n"
                     "SELECT token, start, \"end\", position FROM temp.words WHERE input = '%2';\n")
                     .arg(extension, QString::fromUtf8(vaText).replace(QLatin1Char('\''),
                                                                       QLatin1String("''"))));
    QCOMPARE(vsOutput.split(QLatin1Char('\n'), Qt::SkipEmptyParts), vcExpected);
}

QTEST_GUILESS_MAIN(TestSqliteIcu)

#include "test_sqliteicu.moc"
