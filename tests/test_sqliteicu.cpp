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

// "text start-end" for each token, a NUL character written as "<NUL>".
QStringList describe(const QVector<SqliteIcu::Token> &acTokens)
{
    QStringList vcLines;
    for (const SqliteIcu::Token &vToken : acTokens)
        vcLines << QStringLiteral("%1 %2-%3")
                       .arg(QString::fromUtf8(vToken.text.constData(), vToken.text.size())
                                .replace(QChar(0), QLatin1String("<NUL>")))
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
        QVERIFY(vToken.start >= vnPreviousEnd && vToken.start < vToken.end &&
                vToken.end <= anInputBytes);
        QCOMPARE(vToken.position, vn);
        QVERIFY(!vToken.text.isEmpty());
        vnPreviousEnd = vToken.end;
    }
}

// Row n + 1 holds scParagraphs[n].
const char *const scParagraphs[] = {"В начале было Слово, и Слово было у Бога, и Слово было Бог.",
                                    "Словарь русского языка",
                                    "Ёлка стояла в лесу.",
                                    "Елка без точек.",
                                    "Die Straße ist lang.",
                                    "СЛОВЕСНОСТЬ"};

// The rowids of the paragraphs that match asQuery, as "1 7", or the error, on
// a connection of its own, opened and removed on the calling thread.
QString matchRows(const QString &asDriver, const QString &asFile, const QString &asQuery)
{
    const QString vsName =
        QStringLiteral("match-%1").arg(reinterpret_cast<quintptr>(QThread::currentThread()));
    QStringList vcRows;
    {
        QSqlDatabase vDb = QSqlDatabase::addDatabase(asDriver, vsName);
        vDb.setDatabaseName(asFile);
        QSqlQuery vQuery(vDb);
        if (!vDb.open() || !vQuery.prepare(QStringLiteral("SELECT rowid FROM paragraphs WHERE "
                                                          "paragraphs MATCH ? ORDER BY rowid")))
            return vDb.lastError().text();
        vQuery.addBindValue(asQuery);
        if (!vQuery.exec())
            return vQuery.lastError().text();
        while (vQuery.next())
            vcRows << vQuery.value(0).toString();
    }
    QSqlDatabase::removeDatabase(vsName);
    return vcRows.join(QLatin1Char(' '));
}

} // namespace

class TestSqliteIcu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void tokenize_data();
    void tokenize();
    void randomBytes();

    void match();
    void laterConnections();

    void shellMatch();

private:
    QTemporaryDir mDir;
    QString msDbPath;
};

// The paragraphs in a table made as the program makes it.
void TestSqliteIcu::initTestCase()
{
    SqliteIcu::install();
    msDbPath = mDir.filePath(QStringLiteral("kvr_main_ru.sqlite"));
    {
        QSqlDatabase vDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), msDbPath);
        vDb.setDatabaseName(msDbPath);
        QVERIFY(vDb.open());
        QSqlQuery vQuery(vDb);
        QVERIFY(
            vQuery.exec(QStringLiteral("CREATE VIRTUAL TABLE paragraphs USING fts4 (uid INTEGER "
                                       "PRIMARY KEY ASC,id TEXT,date TEXT,text TEXT,  "
                                       "tokenize=icu ru_RU);")));
        QVERIFY(
            vQuery.prepare(QStringLiteral("INSERT INTO paragraphs (docid, text) VALUES (?, ?)")));
        for (int vn = 0; vn < 6; ++vn) {
            vQuery.addBindValue(vn + 1);
            vQuery.addBindValue(QString::fromUtf8(scParagraphs[vn]));
            QVERIFY(vQuery.exec());
        }
    }
    QSqlDatabase::removeDatabase(msDbPath);
}

void TestSqliteIcu::tokenize_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QStringList>("expected");
    // The expected tokens are separated by "|".
    const auto row = [](const char *apTag, const QByteArray &aInput, const char *apExpected,
                        const QByteArray &aLocale = "ru_RU") {
        QTest::newRow(apTag)
            << aInput << aLocale
            << QString::fromUtf8(apExpected).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    };
    row("cyrillic words, offsets in bytes", "Слово Божье", "слово 0-10|божье 11-21");
    row("full case folding of ß", "STRAßE Straße", "strasse 0-7|strasse 8-15");
    row("blanks of every kind are skipped", "\t слово\xC2\xA0\r\nдело  ", "слово 2-12|дело 16-24");
    row("characters outside the BMP", "\xF0\x9F\x98\x80 \xF0\x90\x90\x80x",
        "\U0001F600 0-4|\U00010428x 5-10");
    // Thai has no blanks between words; only a real word break iterator splits it.
    row("thai words by dictionary", "สวัสดีครับ", "สวัสดี 0-18|ครับ 18-30", "th_TH");
    // Any locale argument leaves a working tokenizer; punctuation is a token.
    row("no locale", "Hello, МИР 42", "hello 0-5|, 5-6|мир 7-13|42 14-16", QByteArray());
    row("long locale, not a name", "Hello, МИР", "hello 0-5|, 5-6|мир 7-13", QByteArray(1000, '@'));
    row("empty text", QByteArray(), "");
    // Each malformed piece reads as one U+FFFD that keeps its own bytes.
    row("lone continuation byte", "\x80слово", "\uFFFD 0-1|слово 1-11");
    row("sequence cut at the end", "слово\xD0", "слово 0-10|\uFFFD 10-11");
    row("overlong encoding", "a\xC0\xAF\x62", "a 0-1|\uFFFD 1-2|\uFFFD 2-3|b 3-4");
    // The text ends where its length says, not at a NUL byte.
    row("NUL byte inside", QByteArray("a\0b", 3), "a 0-1|<NUL> 1-2|b 2-3");
}

void TestSqliteIcu::tokenize()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, locale);

    const QVector<SqliteIcu::Token> vcTokens = SqliteIcu::tokenize(input, locale);
    QTEST(describe(vcTokens), "expected");
    checkInvariants(vcTokens, input.size());
}

// Random bytes, mostly malformed, keep the invariants.
void TestSqliteIcu::randomBytes()
{
    QRandomGenerator vRandom(20240611);
    for (int vnRound = 0; vnRound < 2000; ++vnRound) {
        QByteArray vaInput(static_cast<int>(vRandom.bounded(48)), Qt::Uninitialized);
        for (char &vc : vaInput)
            vc = static_cast<char>(vRandom.bounded(256));
        checkInvariants(SqliteIcu::tokenize(vaInput), vaInput.size());
        if (QTest::currentTestFailed())
            QFAIL(vaInput.toHex().constData());
    }
}

// Words found in the table whatever their case, as the user types them.
void TestSqliteIcu::match()
{
    const auto rows = [this](const char *apQuery) {
        return matchRows(QStringLiteral("QSQLITEICU"), msDbPath, QString::fromUtf8(apQuery));
    };
    QCOMPARE(rows("слово"), QStringLiteral("1"));
    QCOMPARE(rows("СЛОВ*"), QStringLiteral("1 2 6"));
    QCOMPARE(rows("\"слово, и слово\""), QStringLiteral("1"));
    // A punctuation mark is a token and takes a position of its own.
    QCOMPARE(rows("\"слово и слово\""), QString());
    QCOMPARE(rows("ЁЛКА"), QStringLiteral("3"));
    QCOMPARE(rows("елка"), QStringLiteral("4")); // е does not find ё
    QCOMPARE(rows("STRASSE"), QStringLiteral("5"));
}

// Opening a table whose tokenizer the connection does not know fails with
// "unknown tokenizer: icu". The tokenizer lives in SQLite, not in the driver's
// name; threads install and query at the same time (under ThreadSanitizer,
// state shared between connections shows up here).
void TestSqliteIcu::laterConnections()
{
    const QString vsQuery = QStringLiteral("СЛОВ* OR straße");
    QCOMPARE(matchRows(QStringLiteral("QSQLITE"), msDbPath, vsQuery), QStringLiteral("1 2 5 6"));
    std::vector<QString> vcRows(4);
    std::vector<std::thread> vcThreads;
    for (int vn = 0; vn < 4; ++vn)
        vcThreads.emplace_back([&, vn] {
            SqliteIcu::install();
            vcRows[vn] = matchRows(QStringLiteral("QSQLITEICU"), msDbPath, vsQuery);
        });
    for (std::thread &vThread : vcThreads)
        vThread.join();
    for (const QString &vsRows : vcRows)
        QCOMPARE(vsRows, QStringLiteral("1 2 5 6"));
}

// The extension is a separate build of the same code: loaded by its path, with
// or without the suffix, it must find what the program indexed, folded alike.
void TestSqliteIcu::shellMatch()
{
    const QString vsShell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (vsShell.isEmpty())
        QSKIP("The sqlite3 shell is not installed");
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The extension carries the sanitizer's run-time, which the shell lacks.
    QSKIP("The sqlite3 shell cannot load an extension built with sanitizers");
#endif
    const QString vsModule = QStringLiteral(QUILLMARK_ICU_EXTENSION);
    for (const QString &vsExtension : {vsModule, vsModule.chopped(3)}) {
        QProcess vShell;
        vShell.start(
            vsShell,
            QStringLiteral("-batch -bail -init /dev/null -noheader -list").split(QLatin1Char(' '))
                << msDbPath);
        vShell.write(QStringLiteral(".load %1\nSELECT rowid FROM paragraphs WHERE paragraphs MATCH "
                                    "'СЛОВ* OR STRASSE' ORDER BY rowid;\n")
                         .arg(vsExtension)
                         .toUtf8());
        vShell.closeWriteChannel();
        QVERIFY(vShell.waitForFinished(-1));
        QCOMPARE(QString::fromUtf8(vShell.readAllStandardError()), QString());
        QCOMPARE(QString::fromUtf8(vShell.readAllStandardOutput()), QStringLiteral("1\n2\n5\n6\n"));
    }
}

QTEST_GUILESS_MAIN(TestSqliteIcu)

#include "test_sqliteicu.moc"
