// The update dialog against a loopback server: the rows it fetches, what it
// unpacks, what a cancel leaves; and the names, from the server or inside an
// archive, that must not reach outside the import folder.
#include "support/loopbackhttpserver.h"
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/archiveunpacker.h"
#include "controllers/downloadmanager.h"
#include "widgets/updatedialog.h"

#include <QBuffer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <quazip.h>
#include <quazipfile.h>

namespace {

// A zip archive whose entries hold their own names (taken as they are).
QByteArray zipped(const QStringList &acNames)
{
    QBuffer vBuffer;
    QuaZip vZip(&vBuffer);
    vZip.open(QuaZip::mdCreate);
    for (const QString &vsName : acNames) {
        QuaZipFile vFile(&vZip);
        vFile.open(QIODevice::WriteOnly, QuaZipNewInfo(vsName));
        vFile.write(vsName.toUtf8());
    }
    vZip.close();
    return vBuffer.data();
}

// A folder's files as "name=content", an archive as "zip", and a file that
// everyone may only read marked "ro".
QStringList folder(const QString &asPath)
{
    QStringList vcFiles;
    for (const QString &vsName : QDir(asPath).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString vsPath = asPath + "/" + vsName;
        const QByteArray vaContent = TestSupport::readFile(vsPath);
        vcFiles << vsName + "=" + (vaContent.startsWith("PK") ? "zip" : vaContent) +
                       (TestSupport::fileMode(vsPath) == 0444 ? " ro" : "");
    }
    return vcFiles;
}

} // namespace

class TestUpdateDialog : public QObject
{
    Q_OBJECT

private slots:
    void update_data();
    void update();
    void unsafeNamesNotOffered();
    void extractAll_data();
    void extractAll();
};

void TestUpdateDialog::update_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("unchecked");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("state"); // the import folder, then the versions recorded
    QTest::addColumn<int>("boxes");

    // fr_2.txt is not on the server, de_3.txt never ends, and fr_1.txt waits
    // zipped in the import folder from an earlier run.
    QTest::newRow("checked rows; a missing file does not stop the run")
        << QStringList{"ru_5.txt;comment", "de_3.txt", "fr_2.txt", "../en_9.txt", "en_6.txt"}
        << QStringList{"de_3.txt"} << "update"
        << QStringList{"en_6.txt=en_6.txt", "fr_1.txt=fr_1.txt ro", "ru_5.txt=ru_5.txt ro",
                       "Version-en=6", "Version-ru=5"}
        << 1;
    QTest::newRow("nothing checked") << QStringList{"ru_5.txt"} << QStringList{"ru_5.txt"}
                                     << "update" << QStringList{"fr_1.txt=fr_1.txt ro"} << 0;
    for (const char *vpAction : {"cancel", "close"})
        QTest::addRow("%s during a download", vpAction)
            << QStringList{"ru_5.txt", "de_3.txt", "en_6.txt"} << QStringList() << vpAction
            << QStringList{"fr_1.txt=zip", "ru_5.txt=zip", "Version-ru=5"} << 0;
    QTest::newRow("cancel at once") << QStringList{"ru_5.txt"} << QStringList() << "cancel at once"
                                    << QStringList{"fr_1.txt=zip"} << 0;
}

void TestUpdateDialog::update()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, unchecked);
    QFETCH(QString, action);

    LoopbackHttpServer vServer;
    vServer.setResponse("/zudoru26/ru_5.txt", 200, zipped({"ru_5.txt"}));
    vServer.setResponse("/zudoru26/en_6.txt", 200, "en_6.txt");
    vServer.setPartialBody("/zudoru26/de_3.txt", "partial", 1000, true);
    TempAppDir vApp({{"UpdateServer", QString("127.0.0.1:%0").arg(vServer.port())}});
    QVERIFY(TestSupport::writeFile(Application::importPath() + "/fr_1.txt", zipped({"fr_1.txt"})));
    BoxRecorder vBoxes;

    UpdateDialog vDialog;
    const auto click = [&](const QString &asButton) {
        vDialog.findChild<QPushButton *>(asButton)->click();
    };
    connect(&vServer, &LoopbackHttpServer::requestReceived, &vDialog, [&](const QString &asPath) {
        if (asPath.endsWith("de_3.txt") && action != "update")
            QTimer::singleShot(0, &vDialog, [&] {
                action == "close" ? void(vDialog.close()) : click("vpCancel");
            });
    });
    // Open after 20 s: rejected, the stalled answer ended; even a broken cancel cannot hang.
    bool vbTimedOut = false;
    QTimer::singleShot(20000, &vDialog, [&] {
        vbTimedOut = true;
        vServer.completeStalledBodies({});
        vDialog.reject();
    });
    QTimer::singleShot(0, &vDialog, [&] {
        auto *vpTable = vDialog.findChild<QTableWidget *>("vpTable");
        QStringList vcShown;
        for (int vnRow = 0; vnRow < vpTable->rowCount(); ++vnRow) {
            QTableWidgetItem *vpItem = vpTable->item(vnRow, 1);
            vcShown << vpItem->text() + (vpItem->checkState() == Qt::Checked ? "" : " unchecked");
            if (unchecked.contains(vpItem->text()))
                vpItem->setCheckState(Qt::Unchecked);
        }
        QCOMPARE(vcShown, QStringList(entries).replaceInStrings(";comment", ""));
        click(action == "cancel at once" ? "vpCancel" : "vpUpdate");
    });
    vDialog.showUpdates(entries);

    QVERIFY(!vbTimedOut && !vDialog.isVisible());
    QCOMPARE(vDialog.result(), int(action == "update" ? QDialog::Accepted : QDialog::Rejected));
    QStringList vcState = folder(Application::importPath());
    for (const QString &vsKey : Application::settings()->allKeys().filter("Version-"))
        vcState << vsKey + "=" + Application::settings()->value(vsKey).toString();
    QTEST(vcState, "state");
    QTEST(vBoxes.count(), "boxes");
    // A failed or refused row is counted as well.
    const auto *vpOverall = vDialog.findChild<QProgressBar *>("vpOverallProgress");
    if (action == "update")
        QCOMPARE(QVector<int>({vpOverall->value(), vpOverall->maximum()}),
                 QVector<int>(2, entries.size() - unchecked.size()));
}

// Every line's key is a configured language: only its name keeps it out.
void TestUpdateDialog::unsafeNamesNotOffered()
{
    const QString vsNul = QString("ru") + QChar(0) + "x_5.txt";
    for (const QString &vsLine : QStringList{"../x_5.txt", "ru/x_5.txt", "ru\\x_5.txt", ".ru_5.txt",
                                             vsNul, "ru_5.txt;a note, ../notes"}) {
        TempAppDir vApp({{"DBLang1", DownloadManager::lineKey(vsLine)}});
        QVERIFY2(DownloadManager::wantedUpdates({vsLine}).size() == int(vsLine.contains(';')),
                 qPrintable(vsLine));
    }
}

void TestUpdateDialog::extractAll_data()
{
    QTest::addColumn<QStringList>("entries"); // "<dir>" stands for the folder above
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("damaged"); // the last entry
    QTest::addColumn<QStringList>("files");

    const qint64 vnLimit = ArchiveUnpacker::cnMaxExtractedSize;
    // The unpacked archive goes: left as "pack.txt" it would be read as an
    // update file at the next start.
    QTest::newRow("escaping entries skipped")
        << QStringList{"<dir>/abs.txt", "../evil.txt", "sub/../../evil.txt", ".hidden", "good.txt"}
        << vnLimit << false << QStringList{"good.txt=good.txt"};
    // Each entry (5 bytes) is within the limit, both together are not.
    QTest::newRow("over the limit in total")
        << QStringList{"a.txt", "b.txt"} << qint64(8) << false << QStringList{"pack.txt=zip"};
    QTest::newRow("last entry damaged")
        << QStringList{"a.txt", "b.txt"} << vnLimit << true << QStringList{"pack.txt=zip"};
}

// An archive named like its entry, and what extractAll() returns (the file the
// dialog makes read-only), are seen in update().
void TestUpdateDialog::extractAll()
{
    QFETCH(QStringList, entries);
    QFETCH(qint64, limit);
    QFETCH(bool, damaged);

    QTemporaryDir vDir;
    const QString vsFolder = vDir.filePath("import");
    // With "sub" there, "sub/../../evil.txt" would resolve.
    QVERIFY(QDir().mkpath(vsFolder + "/sub"));
    QByteArray vaZip = zipped(entries.replaceInStrings("<dir>", vDir.path()));
    const int vnData = vaZip.lastIndexOf("PK\x03\x04") + 30 + entries.last().size();
    for (int i = vnData; damaged && i < vnData + 6; ++i)
        vaZip[i] = char(~vaZip.at(i));
    QVERIFY(TestSupport::writeFile(vsFolder + "/pack.txt", vaZip));

    ArchiveUnpacker::extractAll(vsFolder + "/pack.txt", vsFolder, limit);
    QTEST(folder(vsFolder), "files");
    QCOMPARE(folder(vDir.path()), QStringList());
}

QUILLMARK_TEST_MAIN(TestUpdateDialog)
#include "test_updatedialog.moc"
