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
    WriteProtected
};

QVariantMap settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"},    {"DBLang1", "ru"},
            {"DBLangName1", "Ru"},  {"DBLang2", "en"},     {"DBLangName2", "En"},
            {"INLang1", "en"},      {"INLangName1", "En"}, {"ShowDuplicates", true}};
}

// What "untouched" means: the same bytes, not even rewritten in place.
QString snapshot(const QString &asPath)
{
    const QFileInfo vInfo(asPath);
    return QString::fromLatin1(TestSupport::readFile(asPath).toHex()) + " " +
           vInfo.lastModified().toString(Qt::ISODateWithMs) + " " +
           QString::number(TestSupport::fileMode(asPath), 8);
}

QByteArray randomBytes(int anSize, quint32 anSeed)
{
    QByteArray vaBytes(anSize, '\0');
    QRandomGenerator vRandom(anSeed);
    for (char &vcByte : vaBytes)
        vcByte = static_cast<char>(vRandom.bounded(256));
    return vaBytes;
}

// The bytes of a database made by a connection of the test's own.
QByteArray foreignDatabase(const QString &asPath)
{
    {
        QSqlDatabase vDatabase = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        vDatabase.setDatabaseName(asPath);
        QSqlQuery vQuery(vDatabase);
        if (!vDatabase.open() || !vQuery.exec("CREATE TABLE notes (line TEXT);") ||
            !vQuery.exec("INSERT INTO notes VALUES ('mine');"))
            qWarning() << "no foreign database:" << vQuery.lastError().text();
        vDatabase.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    return TestSupport::readFile(asPath);
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
        vbLocked = vDatabase.open() && !vQuery.exec("SELECT count(*) FROM sqlite_master;") &&
                   vQuery.lastError().text().contains("locked");
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
    void lockedFile_data();
    void lockedFile();

private:
    // A fresh application folder with the good English file; the Russian
    // file is left to the test.
    void newFolder();
    QString russianFile() const { return mpApp->filePath("sql/data/kvr_main_ru.sqlite"); }
    TestSupport::ProgramRun runCli() const;
    // The window on the folder: the boxes it raised, its Russian catalogue
    // and, after a switch to English, its English one.
    void runWindow(int *apnBoxes, QString *apsBoxText, QStringList *apcRussian,
                   QStringList *apcEnglish);

    QByteArray maRussian;
    QByteArray maRussianUnindexed;
    QByteArray maEnglish;
    int mnPageSize = 4096;
    std::unique_ptr<TempAppDir> mpApp;
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
            QString("Проповедь номер %1 с длинным названием для многих страниц").arg(i),
            {"Текст абзаца.", "Ещё один абзац."});
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
}

void TestDamagedFiles::newFolder()
{
    mpApp.reset();
    mpApp = std::make_unique<TempAppDir>(settings());
    QVERIFY(TestSupport::writeFile(mpApp->filePath("sql/data/kvr_main_en.sqlite"), maEnglish));
}

TestSupport::ProgramRun TestDamagedFiles::runCli() const
{
    return TestSupport::runProgram(QUILLMARK_CLI,
                                   {"catalogue", "--app-dir", mpApp->path(), "--lang", "ru"});
}

void TestDamagedFiles::runWindow(int *apnBoxes, QString *apsBoxText, QStringList *apcRussian,
                                 QStringList *apcEnglish)
{
    LogCapture vLog;
    BoxRecorder vBoxes;
    {
        MainWindow vWindow;
        QVERIFY(TestSupport::settle());
        *apcRussian = TestSupport::catalogueOutline(*vWindow.treeView());
        vWindow.findChild<QAction *>("DBLang_en")->trigger();
        QVERIFY(TestSupport::settle());
        *apcEnglish = TestSupport::catalogueOutline(*vWindow.treeView());
    }
    *apnBoxes = vBoxes.count();
    for (const ModalBox::Request &vRequest : vBoxes.requests())
        *apsBoxText += vRequest.title + ": " + vRequest.text + "\n";
    QCOMPARE(vLog.linesContaining("waited for the data store"), QStringList());
    Application::releaseSingletons();
}

void TestDamagedFiles::damagedFile_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("told");     // one box naming the file, and the tool's one line
    QTest::addColumn<bool>("readable"); // the Russian catalogue is shown

    const int vnSize = maRussian.size();
    const int vnPages = vnSize / mnPageSize;
    auto row = [](const char *asName, const QByteArray &aContent, bool abTold = true,
                  int anSetup = Bytes, bool abReadable = false) {
        QTest::newRow(asName) << anSetup << aContent << abTold << abReadable;
    };
    // Nothing to lose: a new database, which an update or the converter fills.
    row("empty file", QByteArray(), false);
    row("cut inside the header", maRussian.left(50));
    row("cut inside the first page", maRussian.left(1000));
    row("cut at a page boundary", maRussian.left(vnPages / 2 * mnPageSize));
    row("one byte short", maRussian.left(vnSize - 1));
    row("first page overwritten", randomBytes(mnPageSize, 1) + maRussian.mid(mnPageSize));
    row("every later page overwritten",
        maRussian.left(mnPageSize) + randomBytes(vnSize - mnPageSize, 2));
    // Found only when the catalogue reads that page.
    const int vnMarked = maRussian.indexOf("FIRSTRECORDMARK") / mnPageSize;
    row("a page inside overwritten", maRussian.left(vnMarked * mnPageSize) +
                                         randomBytes(mnPageSize, 3) +
                                         maRussian.mid((vnMarked + 1) * mnPageSize));
    row("random bytes", randomBytes(3 * mnPageSize, 4));
    row("a text file", QString("Это не база данных.\n").repeated(200).toUtf8());
    QTemporaryDir vScratch;
    row("someone else's database", foreignDatabase(vScratch.filePath("other.sqlite")));
    row("a folder", QByteArray(), true, Folder);
    row("write-protected", maRussianUnindexed, false, WriteProtected, true);
}

void TestDamagedFiles::damagedFile()
{
    QFETCH(int, setup);
    QFETCH(QByteArray, content);
    QFETCH(bool, told);
    QFETCH(bool, readable);
    newFolder();
    const QString vsFile = russianFile();
    if (setup == Folder) {
        QVERIFY(QDir().mkpath(vsFile));
        QVERIFY(TestSupport::writeFile(vsFile + "/inside.txt", "kept"));
    } else {
        QVERIFY(TestSupport::writeFile(vsFile, content));
    }
    if (setup == WriteProtected)
        QVERIFY(QFile::setPermissions(vsFile, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                  QFileDevice::ReadOther));
    const QString vsBefore = snapshot(setup == Folder ? vsFile + "/inside.txt" : vsFile);
    const QString vsNative = QDir::toNativeSeparators(vsFile);

    const TestSupport::ProgramRun vCli = runCli();
    if (readable) {
        QVERIFY2(vCli.mnStatus == 0 && vCli.msErr.isEmpty(), qPrintable(vCli.describe()));
    } else {
        QVERIFY2(vCli.mnStatus == 3 && vCli.errLines().size() == 1 &&
                     vCli.msErr.contains(vsNative) && vCli.msOut.isEmpty(),
                 qPrintable(vCli.describe()));
    }

    int vnBoxes = 0;
    QString vsBoxes;
    QStringList vcRussian;
    QStringList vcEnglish;
    runWindow(&vnBoxes, &vsBoxes, &vcRussian, &vcEnglish);
    QVERIFY2(vnBoxes == (told ? 1 : 0), qPrintable(vsBoxes));
    if (told)
        QVERIFY2(vsBoxes.startsWith("Data file: ") && vsBoxes.contains(vsNative),
                 qPrintable(vsBoxes));
    QCOMPARE(vcRussian.isEmpty(), !readable);
    QCOMPARE(vcEnglish, QStringList{"1947 [1]: Faith (47-0412) [1]"});

    if (content.isEmpty() && setup == Bytes) {
        // The empty file became a database with the program's tables.
        QCOMPARE(TestSupport::fileRows(vsFile, "SELECT count(*) FROM quotes;"), QStringList{"0"});
        return;
    }
    QCOMPARE(snapshot(setup == Folder ? vsFile + "/inside.txt" : vsFile), vsBefore);
    QCOMPARE(QDir(QFileInfo(vsFile).path()).entryList({"kvr_main_ru*"}, QDir::AllEntries),
             QStringList{"kvr_main_ru.sqlite"});
}

void TestDamagedFiles::lockedFile_data()
{
    QTest::addColumn<bool>("brief");
    QTest::newRow("released within the wait") << true;
    QTest::newRow("held") << false;
}

void TestDamagedFiles::lockedFile()
{
    QFETCH(bool, brief);
    newFolder();
    const QString vsFile = russianFile();
    QVERIFY(TestSupport::writeFile(vsFile, maRussian));
    const QString vsBefore = snapshot(vsFile);

    // Another process writing: the shell holds the file's exclusive lock,
    // for a second or until told to let go.
    QProcess vHolder;
    vHolder.start("sh", {"-c",
                         brief ? "{ echo 'BEGIN EXCLUSIVE;'; sleep 1; echo 'ROLLBACK;'; } | "
                                 "sqlite3 \"$1\""
                               : "sqlite3 \"$1\"",
                         "sh", vsFile});
    QVERIFY(vHolder.waitForStarted());
    if (!brief)
        vHolder.write("BEGIN EXCLUSIVE;\n");
    QVERIFY(QTest::qWaitFor([&vsFile] { return isLocked(vsFile); }, 10000));

    int vnBoxes = 0;
    QString vsBoxes;
    QStringList vcRussian;
    QStringList vcEnglish;
    runWindow(&vnBoxes, &vsBoxes, &vcRussian, &vcEnglish);
    const TestSupport::ProgramRun vCli = runCli();
    vHolder.write("ROLLBACK;\n");
    vHolder.closeWriteChannel();
    QVERIFY(vHolder.state() == QProcess::NotRunning || vHolder.waitForFinished());

    QCOMPARE(vcEnglish, QStringList{"1947 [1]: Faith (47-0412) [1]"});
    if (brief) {
        QVERIFY2(vnBoxes == 0, qPrintable(vsBoxes));
        QVERIFY(!vcRussian.isEmpty());
        QVERIFY2(vCli.mnStatus == 0, qPrintable(vCli.describe()));
    } else {
        QVERIFY2(vnBoxes == 1 && vsBoxes.contains("in use by another program"),
                 qPrintable(vsBoxes));
        QCOMPARE(vcRussian, QStringList());
        QVERIFY2(vCli.mnStatus == 3 && vCli.errLines().size() == 1 &&
                     vCli.msErr.contains(QDir::toNativeSeparators(vsFile)),
                 qPrintable(vCli.describe()));
    }
    QCOMPARE(snapshot(vsFile), vsBefore);
}

QUILLMARK_TEST_MAIN(TestDamagedFiles)
#include "test_damagedfiles.moc"
