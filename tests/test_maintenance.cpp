// Exporting checked documents for the update server and deleting them: the
// archive, its numbering and a file any XML reader accepts; deletion all or
// nothing, a book going with its last chapter only; and the tree's Export and
// Delete in a window that keeps painting.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "models/documentexport.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"
#include "widgets/toolbar.h"

#include <JlCompress.h>

#include <QDir>
#include <QScopeGuard>
#include <QSettings>
#include <QSqlQuery>
#include <QStandardItem>
#include <QXmlStreamReader>

#include <memory>

namespace {

using TestSupport::readRows;
using TestSupport::sermonStatements;

QVariantMap settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}, {"Converter", true}};
}

// Sermons 1 to 3, and 4 a second record of 2's date; the first with every character the file must
// escape, a text that holds the end of a CDATA section and one with a character XML does not allow.
// Genesis (chapters 1 and 2) and Exodus (chapter 3), two verses each.
void fillCorpus()
{
    QStringList vcStatements =
        sermonStatements("60-0101", "Say \"yes\" & go <now>",
                         {"a < b && c > d", "ends ]]> here", "bell\x07 rings"}, "Tr", "P&lace", 1) +
        sermonStatements("60-0202", "Plain", {"one", "two"}, "Tr", "Town", 2) +
        sermonStatements("61-0303", "Third", {"three"}, "Tr", "Town", 3) +
        sermonStatements("60-0202", "Plain again", {}, "Tr", "Town", 4);
    vcStatements << "INSERT INTO bibles (book, name) VALUES (1, 'Genesis'), (2, 'Exodus');"
                 << "INSERT INTO chapters (docid, book, chapter, name) VALUES (1, 1, 1, 'Genesis "
                    "1'), (2, 1, 2, 'Genesis 2'), (3, 2, 1, 'Exodus 1');";
    for (const char *vsChapter : {"1, 1", "1, 2", "2, 1"})
        vcStatements << QString("INSERT INTO verses (book, chapter, verse, text) VALUES (%1, 1, "
                                "'v1'), (%1, 2, 'v2');")
                            .arg(vsChapter);
    QVERIFY(Application::database()->execQuery(vcStatements));
}

// The one entry of an archive: its name and its text.
QPair<QString, QString> archiveEntry(const QString &asArchive)
{
    const QStringList vcEntries = JlCompress::getFileList(asArchive);
    QTemporaryDir vDir;
    if (vcEntries.size() != 1)
        return {vcEntries.join(','), QString()};
    const QString vsFile =
        JlCompress::extractFile(asArchive, vcEntries.first(), vDir.filePath(vcEntries.first()));
    return {vcEntries.first(), QString::fromUtf8(TestSupport::readFile(vsFile))};
}

// What an XML reader makes of the file: each element with its attributes and
// text, one line each; empty when it is not well-formed.
QStringList readBack(const QString &asXml)
{
    QStringList vcElements;
    QXmlStreamReader vReader(asXml);
    while (!vReader.atEnd()) {
        if (vReader.readNext() != QXmlStreamReader::StartElement)
            continue;
        QString vsLine = vReader.name().toString();
        for (const QXmlStreamAttribute &vAttribute : vReader.attributes())
            vsLine += ' ' + vAttribute.name().toString() + '=' + vAttribute.value().toString();
        if (vReader.name() == QLatin1String("paragraph") ||
            vReader.name() == QLatin1String("verse") || vReader.name() == QLatin1String("Language"))
            vsLine += " | " + vReader.readElementText();
        vcElements << vsLine;
    }
    return vReader.hasError() ? QStringList{vReader.errorString()} : vcElements;
}

QStringList leftovers(const QString &asFolder)
{
    return QDir(asFolder).entryList({"*.xml", ".export-*"},
                                    QDir::Files | QDir::Dirs | QDir::Hidden);
}

} // namespace

class TestMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void exportWritesNumberedArchives();
    void exportFailuresWriteNothing();
    void exportOnAFullDisk();
    void deletion_data();
    void deletion();
    void windowExportsAndDeletes();
    void toolExportsAndDeletes();

private:
    std::unique_ptr<TempAppDir> mpApp;
};

void TestMaintenance::cleanup()
{
    mpApp.reset();
}

void TestMaintenance::exportWritesNumberedArchives()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    fillCorpus();
    Database *vpDatabase = Application::database();
    LogCapture vLog;

    const DocumentExport::Report vFirst = vpDatabase->exportSql(QString(), false, "(2,1)");
    QCOMPARE(vFirst.mStatus, DocumentExport::Report::Written);
    QCOMPARE(vFirst.msPath, mpApp->filePath("ru_1.zip"));
    const auto [vsEntry, vsXml] = archiveEntry(vFirst.msPath);
    QCOMPARE(vsEntry, QString("ru_1.xml"));
    QCOMPARE(leftovers(mpApp->path()), QStringList());
    QCOMPARE(Application::settings()->value("expVerru").toInt(), 1);

    // The format's lines, in paragraph order; values escaped only where
    // they must be.
    const QStringList vcLines = vsXml.split('\n');
    QCOMPARE(vcLines.mid(0, 6),
             (QStringList{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<Documents>",
                          "<Language>ru</Language>", "<Quotes>",
                          "<quote date=\"60-0101\" name=\"Say &quot;yes&quot; &amp; go "
                          "&lt;now&gt;\" translator=\"Tr\" pdf=\"a.pdf\" mp3=\"a.mp3\" "
                          "length=\"1:02\" place=\"P&amp;lace\" />",
                          "<quote date=\"60-0202\" name=\"Plain\" translator=\"Tr\" pdf=\"a.pdf\" "
                          "mp3=\"a.mp3\" length=\"1:02\" place=\"Town\" />"}));
    QCOMPARE(
        vcLines.at(6),
        QString("<paragraph date=\"60-0101\" id=\"E-1\"><![CDATA[a < b && c > d]]></paragraph>"));
    QCOMPARE(vcLines.mid(vcLines.size() - 2), (QStringList{"</Quotes>", "</Documents>"}));
    QVERIFY(!vsXml.endsWith('\n'));

    // Any XML reader takes it, and reads the stored values back.
    const QString vsFile = mpApp->filePath("check.xml");
    QVERIFY(TestSupport::writeFile(vsFile, vsXml.toUtf8()));
    const TestSupport::ProgramRun vLint = TestSupport::runProgram("xmllint", {"--noout", vsFile});
    QVERIFY2(vLint.mnStatus == 0, qPrintable(vLint.describe()));
    const QStringList vcRead = readBack(vsXml);
    QVERIFY2(vcRead.contains("quote date=60-0101 name=Say \"yes\" & go <now> translator=Tr "
                             "pdf=a.pdf mp3=a.mp3 length=1:02 place=P&lace"),
             qPrintable(vcRead.join('\n')));
    QVERIFY(vcRead.contains("paragraph date=60-0101 id=E-2 | ends ]]> here"));
    // The bell is the one character left out, and the log says so.
    QVERIFY(vcRead.contains("paragraph date=60-0101 id=E-3 | bell rings"));
    QCOMPARE(vcRead.filter("paragraph").size(), 5);
    QVERIFY(vLog.contains("ru_1.zip left out 1 characters that XML does not allow"));

    // The next number; an archive already there is never written over.
    QCOMPARE(vpDatabase->exportSql(QString(), false, "(3)").msPath, mpApp->filePath("ru_2.zip"));
    QVERIFY(TestSupport::writeFile(mpApp->filePath("ru_3.zip"), "older"));
    const DocumentExport::Report vBible = vpDatabase->exportSql(QString(), true, "(2)");
    QCOMPARE(vBible.msPath, mpApp->filePath("ru_4.zip"));
    QCOMPARE(TestSupport::readFile(mpApp->filePath("ru_3.zip")), QByteArray("older"));
    QCOMPARE(Application::settings()->value("expVerru").toInt(), 4);
    QCOMPARE(readBack(archiveEntry(vBible.msPath).second),
             (QStringList{"Documents", "Language | ru", "Bibles", "bible book=1 name=Genesis",
                          "chapter book=1 chapter=2 name=Genesis 2",
                          "verse book=1 chapter=2 verse=1 | v1",
                          "verse book=1 chapter=2 verse=2 | v2"}));
}

void TestMaintenance::exportFailuresWriteNothing()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    fillCorpus();
    Database *vpDatabase = Application::database();
    QCOMPARE(vpDatabase->exportSql(QString(), false, " ").mStatus,
             DocumentExport::Report::NothingSelected);
    // Keys are spliced into the statements: only numbers get that far.
    QCOMPARE(vpDatabase->exportSql(QString(), false, "(1) OR 1=1").mStatus,
             DocumentExport::Report::NotAKeyList);

    DocumentExport::Request vRequest;
    vRequest.msLanguage = "ru";
    vRequest.msKeys = "(1)";
    vRequest.msFolder = mpApp->filePath("missing");
    const DocumentExport::Report vNoFolder =
        DocumentExport::exportArchive([] { return QSqlQuery(QSqlDatabase::database()); }, vRequest);
    QCOMPARE(vNoFolder.mStatus, DocumentExport::Report::FolderNotWritable);
    QCOMPARE(vNoFolder.msPath, mpApp->filePath("missing"));

    // A statement that fails leaves no archive (it used to leave an empty
    // section in an archive reported as written) and the counter as it was.
    LogCapture vLog;
    BoxRecorder vBoxes;
    QVERIFY(vpDatabase->execQuery("DROP TABLE paragraphs;"));
    QCOMPARE(vpDatabase->exportSql(QString(), false, "(1)").mStatus,
             DocumentExport::Report::ReadFailed);
    QCOMPARE(QDir(mpApp->path()).entryList({"*.zip"}, QDir::Files), QStringList());
    QCOMPARE(leftovers(mpApp->path()), QStringList());
    QVERIFY(!Application::settings()->contains("expVerru"));
    QTRY_COMPARE(vBoxes.count(), 1); // the failed statement's "SQL Error"
}

void TestMaintenance::exportOnAFullDisk()
{
    // A folder on a disk that fills up half-way through the file (a small
    // file system, which only the administrator may mount): nothing is left.
    mpApp = std::make_unique<TempAppDir>(settings());
    QStringList vcLong;
    for (int i = 0; i < 300; ++i)
        vcLong << QString("word %1 ").arg(i).repeated(400);
    QVERIFY(Application::database()->execQuery(
        sermonStatements("62-0101", "Long", vcLong, "Tr", "T", 5)));
    const QString vsSmall = mpApp->filePath("small");
    SmallDisk vDisk(vsSmall, 256);
    if (!vDisk.problem().isEmpty())
        QSKIP(qPrintable(vDisk.problem()));
    const auto vForget = qScopeGuard([] { QSqlDatabase::removeDatabase("full"); });
    QSqlDatabase vConnection = QSqlDatabase::addDatabase("QSQLITEICU", "full");
    vConnection.setDatabaseName(Application::databaseFilePath());
    QVERIFY(vConnection.open());
    DocumentExport::Request vRequest;
    vRequest.msLanguage = "ru";
    vRequest.msKeys = "(5)";
    vRequest.msFolder = vsSmall;
    const DocumentExport::Report vFull =
        DocumentExport::exportArchive([&vConnection] { return QSqlQuery(vConnection); }, vRequest);
    QCOMPARE(vFull.mStatus, DocumentExport::Report::WriteFailed);
    QCOMPARE(QDir(vsSmall).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    vConnection.close();
}

void TestMaintenance::deletion_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("deleted"); // -1: refused
    QTest::addColumn<QStringList>("left");

    const QStringList vcAll{"60-0101 60-0101 60-0101 60-0202 60-0202 61-0303", "Genesis Exodus",
                            "1/1 1/1 1/2 1/2 2/1 2/1"};
    QTest::newRow("two sermons") << false << "(1,3)" << 2
                                 << QStringList{"60-0202 60-0202", "Genesis Exodus", vcAll.at(2)};
    // The date's paragraphs stay for its other record (they used to go).
    QTest::newRow("one of two records of a date") << false << "(2)" << 1 << vcAll;
    QTest::newRow("both records of a date")
        << false << "(4,2)" << 2
        << QStringList{"60-0101 60-0101 60-0101 61-0303", vcAll.at(1), vcAll.at(2)};
    // The book stays with its other chapter (it used to go, taking that
    // chapter out of the catalogue).
    QTest::newRow("one chapter of two")
        << true << "(1)" << 1 << QStringList{vcAll.at(0), "Genesis Exodus", "1/2 1/2 2/1 2/1"};
    QTest::newRow("a book's last chapter")
        << true << "(3)" << 1 << QStringList{vcAll.at(0), "Genesis", "1/1 1/1 1/2 1/2"};
    QTest::newRow("a book's chapters together")
        << true << "(2,1)" << 2 << QStringList{vcAll.at(0), "Exodus", "2/1 2/1"};
    QTest::newRow("keys that are not there") << false << "(99)" << 0 << vcAll;
    // These used to be run as invalid statements, one error box each.
    QTest::newRow("nothing selected") << false << "" << -1 << vcAll;
    QTest::newRow("not a key list") << true << "(1) OR 1=1" << -1 << vcAll;
}

void TestMaintenance::deletion()
{
    QFETCH(bool, bible);
    QFETCH(QString, keys);
    QFETCH(int, deleted);
    mpApp = std::make_unique<TempAppDir>(settings());
    fillCorpus();
    const DocumentRemoval::Report vReport = Application::database()->deleteSql("ru", bible, keys);
    QCOMPARE(vReport.mStatus == DocumentRemoval::Report::Deleted, deleted >= 0);
    QCOMPARE(vReport.mnDeleted, qMax(deleted, 0));
    // Every paragraph's date and every verse's chapter, through the
    // full-text tables the program reads.
    QStringList vcLeft{readRows("ru", "SELECT date FROM paragraphs ORDER BY rowid;").join(' '),
                       readRows("ru", "SELECT name FROM bibles ORDER BY rowid;").join(' '),
                       readRows("ru", "SELECT book || '/' || chapter FROM verses ORDER BY "
                                      "rowid;")
                           .join(' ')};
    QTEST(vcLeft, "left");
    if (vReport.mStatus == DocumentRemoval::Report::Deleted)
        QCOMPARE(readRows("ru", "SELECT count(*) FROM chapters;").first().toInt() +
                     readRows("ru", "SELECT count(*) FROM quotes;").first().toInt(),
                 7 - deleted);
}

void TestMaintenance::windowExportsAndDeletes()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    fillCorpus();
    MainWindow vWindow;
    QVERIFY(TestSupport::settle());
    TreeView *vpTree = vWindow.findChild<TreeView *>();
    LogCapture vLog;
    BoxRecorder vBoxes{QMessageBox::Yes};

    // Nothing checked: said at once, nothing asked.
    vpTree->exportAction()->trigger();
    vpTree->deleteAction()->trigger();
    QCOMPARE(vBoxes.count(), 2);
    QCOMPARE(vBoxes.requests().at(0).text, QString("Nothing selected to export!"));
    QCOMPARE(vBoxes.requests().at(1).text, QString("Nothing selected to delete!"));

    // As a click on an item's box does; a maintainer checks Bible chapters
    // by hand too.
    auto check = [vpTree](const QString &asText) {
        for (QStandardItem *vpItem : TestSupport::catalogueItems(vpTree))
            if (vpItem->text().startsWith(asText)) {
                QVERIFY(vpItem->flags() & Qt::ItemIsUserCheckable);
                vpItem->setCheckState(Qt::Checked);
            }
    };
    check("Plain");
    check("Third");
    vpTree->exportAction()->trigger();
    QTRY_COMPARE(vBoxes.count(), 4);
    QCOMPARE(vBoxes.requests().at(3).text,
             "Updates ready in file: " + QDir::toNativeSeparators(mpApp->filePath("ru_1")) +
                 ".zip");
    QVERIFY(vpTree->exportAction()->isEnabled());
    QCOMPARE(archiveEntry(mpApp->filePath("ru_1.zip")).first, QString("ru_1.xml"));

    // The catalogue follows a deletion.
    vpTree->deleteAction()->trigger();
    QTRY_COMPARE(TestSupport::catalogueItems(vpTree).size(), 1);
    QVERIFY(TestSupport::catalogueItems(vpTree).first()->text().startsWith("Say"));

    // One chapter of Genesis deleted, the other stays in the catalogue.
    vWindow.findChild<ToolBar *>()->biblesClicked();
    QVERIFY(TestSupport::settle());
    check("Genesis 1");
    vpTree->deleteAction()->trigger();
    QTRY_COMPARE(TestSupport::catalogueOutline(*vpTree).join(' ').count("Genesis 1"), 0);
    QVERIFY(TestSupport::catalogueOutline(*vpTree).join(' ').contains("Genesis 2"));
    QCOMPARE(vBoxes.count(), 6);
    QCOMPARE(vLog.linesContaining("waited for the data store"), QStringList());
    QCOMPARE(vLog.linesContaining("SQL Error"), QStringList());
}

void TestMaintenance::toolExportsAndDeletes()
{
    mpApp = std::make_unique<TempAppDir>(settings());
    fillCorpus();
    const QString vsApp = mpApp->path();
    auto run = [&vsApp](const QStringList &acArguments) {
        return TestSupport::runProgram(QUILLMARK_CLI, acArguments.mid(0, 1) +
                                                          QStringList{"--app-dir", vsApp} +
                                                          acArguments.mid(1));
    };
    // A key list that is empty or holds anything but numbers: status 2,
    // one line, nothing touched.
    for (const QStringList &vcArguments :
         {QStringList{"export", "--lang", "ru"}, QStringList{"delete", "--lang", "ru", ","},
          QStringList{"delete", "--lang", "ru", "1", "2;DELETE FROM quotes"},
          QStringList{"export", "--lang", "ru", "--bible", "1.5"}}) {
        const TestSupport::ProgramRun vRun = run(vcArguments);
        QVERIFY2(vRun.mnStatus == 2 && vRun.msOut.isEmpty() && vRun.errLines().size() == 1,
                 qPrintable(vRun.describe()));
    }
    QCOMPARE(readRows("ru", "SELECT count(*) FROM quotes;"), QStringList{"4"});

    TestSupport::ProgramRun vRun = run({"export", "--lang", "ru", "1,2"});
    QCOMPARE(vRun.mnStatus, 0);
    QCOMPARE(vRun.rows("archive"), QList<QStringList>{{mpApp->filePath("ru_1.zip")}});
    vRun = run({"export", "--lang", "ru", "--bible", "1", "3"});
    QCOMPARE(vRun.rows("archive"), QList<QStringList>{{mpApp->filePath("ru_2.zip")}});
    QCOMPARE(QSettings(mpApp->filePath("setting.ini"), QSettings::IniFormat).value("expVerru"),
             QVariant("2"));

    vRun = run({"delete", "--lang", "ru", "--bible", "1"});
    QCOMPARE(vRun.mnStatus, 0);
    QCOMPARE(vRun.rows("deleted"), QList<QStringList>{{"1"}});
    QCOMPARE(readRows("ru", "SELECT name FROM chapters;"), (QStringList{"Genesis 2", "Exodus 1"}));
    QCOMPARE(run({"delete", "--lang", "ru", "99"}).mnStatus, 1);
}

QUILLMARK_TEST_MAIN(TestMaintenance)
#include "test_maintenance.moc"
