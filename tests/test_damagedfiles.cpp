// Data files as readers keep them for years: cut short, overwritten, not a
// database at all, a folder, write-protected or locked by another program.
// The program starts, says once what is wrong with which file, keeps the
// other languages usable and never writes to such a file; the command-line
// tool fails with one line.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <memory>

namespace {

enum Setup
{
    Bytes,
    Folder,
    WriteProtected,
    LockedBriefly, // by another process, released within the program's wait
    Locked
};

QVariantMap settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},   {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},    {"DBLangName2", "En"},
            {"INLang1", "en"},      {"INLangName1", "En"}};
}

// What "untouched" means: the same bytes, not even rewritten in place.
QString snapshot(const QString &asPath)
{
    return QString::fromLatin1(TestSupport::readFile(asPath).toHex()) +
           QFileInfo(asPath).lastModified().toString(Qt::ISODateWithMs);
}

QByteArray randomBytes(int anSize, quint32 anSeed)
{
    QByteArray vaBytes(anSize, '\0');
    QRandomGenerator vRandom(anSeed);
    for (char &vcByte : vaBytes)
        vcByte = static_cast<char>(vRandom.bounded(256));
    return vaBytes;
}

// Asked without waiting for the lock, unlike the program.
bool isLocked(const QString &asPath)
{
    bool vbLocked = false;
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase("QSQLITE", "probe");
        vDatabase.setDatabaseName(asPath);
        vDatabase.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0;QSQLITE_OPEN_READONLY");
        QSqlQuery vQuery(vDatabase);
        vbLocked = vDatabase.open() && !vQuery.exec("SELECT count(*) FROM sqlite_master;");
    }
    QSqlDatabase::removeDatabase("probe");
    return vbLocked;
}

} // namespace

class TestDamagedFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedFile_data();
    void damagedFile();

private:
    QByteArray maRussian;
    QByteArray maRussianUnindexed;
    QByteArray maEnglish;
    QByteArray maForeign;
    int mnPageSize = 4096;
};

void TestDamagedFiles::initTestCase()
{
    // Enough sermons for several pages of records, the first one's record
    // marked, so that a page in the middle of the file can be damaged.
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QStringList vcStatements = TestSupport::sermonStatements("47-0001", "FIRSTRECORDMARK");
    for (int i = 2; i <= 150; ++i)
        vcStatements += TestSupport::sermonStatements(
            QString("47-%1").arg(i, 4, 10, QChar('0')),
            QString("Проповедь номер %1 с длинным названием для многих страниц").arg(i));
    QVERIFY(vpDatabase->execQuery(vcStatements));
    vpDatabase->changeLanguage("en");
    QVERIFY(vpDatabase->execQuery(TestSupport::sermonStatements("47-0412", "Faith")));
    vpDatabase->changeLanguage("fr");
    Application::releaseSingletons();
    maRussian = TestSupport::readFile(vApp.filePath("sql/data/kvr_main_ru.sqlite"));
    maEnglish = TestSupport::readFile(vApp.filePath("sql/data/kvr_main_en.sqlite"));
    mnPageSize =
        (static_cast<quint8>(maRussian.at(16)) << 8) | static_cast<quint8>(maRussian.at(17));
    QVERIFY(maRussian.size() >= 8 * mnPageSize);

    // A file made before the program kept indexes: a program that wrote
    // to a write-protected file would add them.
    const QString vsCopy = vApp.filePath("unindexed.sqlite");
    QVERIFY(TestSupport::writeFile(vsCopy, maRussian));
    for (const QString &vsIndex : TestSupport::fileRows(
             vsCopy, "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL;"))
        QCOMPARE(TestSupport::fileRows(vsCopy, "DROP INDEX " + vsIndex + ";"), QStringList());
    maRussianUnindexed = TestSupport::readFile(vsCopy);
    QVERIFY(maRussianUnindexed != maRussian);
    const QString vsForeign = vApp.filePath("foreign.sqlite");
    QCOMPARE(TestSupport::fileRows(vsForeign, "CREATE TABLE notes (line TEXT);"), QStringList());
    maForeign = TestSupport::readFile(vsForeign);
}

void TestDamagedFiles::damagedFile_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("told"); // in the one box and the tool's one line; empty: nothing

    const int vnSize = maRussian.size();
    auto row = [](const char *asName, const QByteArray &aContent, const QString &asTold,
                  int anSetup = Bytes) { QTest::newRow(asName) << anSetup << aContent << asTold; };
    const QString vsDamaged = "is damaged";
    const QString vsForeign = "is not a data file";
    // Nothing to lose: a new database, which an update or the converter fills.
    row("empty file", QByteArray(), QString());
    row("cut inside the header", maRussian.left(50), vsDamaged);
    row("cut inside the first page", maRussian.left(1000), vsDamaged);
    row("cut at a page boundary", maRussian.left(vnSize / mnPageSize / 2 * mnPageSize), vsDamaged);
    row("one byte short", maRussian.left(vnSize - 1), vsDamaged);
    row("first page overwritten", randomBytes(mnPageSize, 1) + maRussian.mid(mnPageSize),
        vsForeign);
    row("every later page overwritten",
        maRussian.left(mnPageSize) + randomBytes(vnSize - mnPageSize, 2), vsDamaged);
    // Found only when the catalogue reads that page.
    const int vnMarked = maRussian.indexOf("FIRSTRECORDMARK") / mnPageSize * mnPageSize;
    row("a page inside overwritten",
        maRussian.left(vnMarked) + randomBytes(mnPageSize, 3) +
            maRussian.mid(vnMarked + mnPageSize),
        vsDamaged);
    row("random bytes", randomBytes(3 * mnPageSize, 4), vsForeign);
    row("a text file", QString("Это не база данных.\n").repeated(200).toUtf8(), vsForeign);
    row("someone else's database", maForeign, vsForeign);
    row("a folder", QByteArray(), "a folder of that name", Folder);
    row("write-protected", maRussianUnindexed, QString(), WriteProtected);
    row("locked for a moment", maRussian, QString(), LockedBriefly);
    row("locked", maRussian, "in use by another program", Locked);
}

void TestDamagedFiles::damagedFile()
{
    QFETCH(int, setup);
    QFETCH(QByteArray, content);
    QFETCH(QString, told);
    TempAppDir vApp(settings());
    QVERIFY(TestSupport::writeFile(vApp.filePath("sql/data/kvr_main_en.sqlite"), maEnglish));
    const QString vsFile = vApp.filePath("sql/data/kvr_main_ru.sqlite");
    const QString vsWatched = setup == Folder ? vsFile + "/inside.txt" : vsFile;
    QVERIFY(TestSupport::writeFile(vsWatched, content));
    if (setup == WriteProtected)
        QVERIFY(QFile::setPermissions(vsFile, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    const QString vsBefore = snapshot(vsWatched);
    const bool vbReadable = told.isEmpty() && !content.isEmpty();

    // Another process writing: the shell holds the file's exclusive lock,
    // for a second or until its input ends.
    QProcess vHolder;
    if (setup == LockedBriefly)
        vHolder.start(
            "sh", {"-c", "{ echo 'BEGIN EXCLUSIVE;'; sleep 1; } | sqlite3 \"$1\"", "sh", vsFile});
    if (setup == Locked) {
        vHolder.start("sqlite3", {vsFile});
        vHolder.write("BEGIN EXCLUSIVE;\n");
    }
    if (setup == LockedBriefly || setup == Locked)
        QVERIFY(QTest::qWaitFor([&vsFile] { return isLocked(vsFile); }, 10000));
    QStringList vcRussian;
    QStringList vcEnglish;
    BoxRecorder vBoxes;
    {
        LogCapture vLog;
        MainWindow vWindow;
        vWindow.show();
        QVERIFY(TestSupport::settle());
        vcRussian = TestSupport::catalogueOutline(*vWindow.treeView());
        if (!vbReadable)
            QCOMPARE(vWindow.sermonCountLabel()->text(), QString("Sermons total: 0 / 0"));
        vWindow.findChild<QAction *>("DBLang_en")->trigger();
        QVERIFY(TestSupport::settle());
        vcEnglish = TestSupport::catalogueOutline(*vWindow.treeView());
        QCOMPARE(vLog.linesContaining("waited for the data store"), QStringList());
    }
    Application::releaseSingletons();
    const TestSupport::ProgramRun vCli = TestSupport::runProgram(
        QUILLMARK_CLI, {"catalogue", "--app-dir", vApp.path(), "--lang", "ru"});
    vHolder.closeWriteChannel();
    vHolder.waitForFinished();

    QString vsBoxes;
    for (const ModalBox::Request &vRequest : vBoxes.requests())
        vsBoxes += vRequest.title + ": " + vRequest.text + "\n";
    const QString vsNative = QDir::toNativeSeparators(vsFile);
    if (told.isEmpty()) {
        QVERIFY2(vsBoxes.isEmpty(), qPrintable(vsBoxes));
    } else {
        QVERIFY2(vBoxes.count() == 1 && vsBoxes.startsWith("Data file: ") &&
                     vsBoxes.contains(vsNative) && vsBoxes.contains(told),
                 qPrintable(vsBoxes));
        QVERIFY2(vCli.mnStatus == 3 && vCli.errLines().size() == 1 &&
                     vCli.msErr.contains(vsNative) && vCli.msErr.contains(told),
                 qPrintable(vCli.describe()));
    }
    QCOMPARE(vcRussian.isEmpty(), !vbReadable);
    QCOMPARE(vcEnglish, QStringList{"1947 [1]: Faith (47-0412) [1]"});
    if (vbReadable)
        QVERIFY2(vCli.mnStatus == 0 && vCli.msErr.isEmpty(), qPrintable(vCli.describe()));
    if (content.isEmpty() && setup == Bytes) {
        // The empty file became a database with the program's tables.
        QCOMPARE(TestSupport::fileRows(vsFile, "SELECT count(*) FROM quotes;"), QStringList{"0"});
        return;
    }
    QCOMPARE(snapshot(vsWatched), vsBefore);
    QCOMPARE(QDir(vApp.filePath("sql/data")).entryList({"kvr_main_ru*"}, QDir::AllEntries),
             QStringList{"kvr_main_ru.sqlite"});
}

QUILLMARK_TEST_MAIN(TestDamagedFiles)
#include "test_damagedfiles.moc"
