// The catalogue read from a real database into the tree: grouping by title
// letter and by year with and without further translations, the Bible's
// books and chapters, the sermon totals, the hover status text, and what a
// failing statement leaves behind.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QStandardItemModel>

namespace {

QMap<QString, QVariant> settings()
{
    return {{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}};
}

QString quote(const QString &asValue)
{
    return "'" + QString(asValue).replace("'", "''") + "'";
}

QString sermon(int anDocid, const QString &asDate, const QString &asName,
               const QString &asMp3 = "x.mp3", const QString &asTranslator = "Tr")
{
    return QString("INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, place) "
                   "VALUES (%1, %2, %3, %4, 'a.pdf', %5, '1:02', 'Town');")
        .arg(anDocid)
        .arg(quote(asDate), quote(asName), quote(asTranslator), quote(asMp3));
}

// Sermons whose sort orders bring back a title letter and a year after
// another one: a title stored as a blob sorts after all text, and a year that
// is not a number counts as 1900, like "00".
QStringList sermonCatalogue()
{
    return {sermon(30, "63-0318", "Alpha Seal", "a.mp3"),
            sermon(31, "47-0412", "Beta Word", "-"),
            sermon(32, "47-0412 *", "Beta Word Again", ""),
            sermon(33, "xx-0101", "Gamma Notes"),
            sermon(34, "00-0101", "Delta"),
            "INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, place) VALUES "
            "(35, '65-1127', CAST('Amen' AS BLOB), 'Tr', '', 'x.mp3', '1:02', '');"};
}

QStringList bibleCatalogue()
{
    return {"INSERT INTO bibles (docid, book, name) VALUES (1, 2, 'Exodus');",
            "INSERT INTO bibles (docid, book, name) VALUES (2, 1, 'Genesis');",
            "INSERT INTO bibles (docid, book, name) VALUES (3, 3, 'Leviticus');",
            "INSERT INTO chapters (docid, book, chapter, name) VALUES (12, 1, 10, 'Genesis 10');",
            "INSERT INTO chapters (docid, book, chapter, name) VALUES (7, 1, 2, 'Genesis 2');",
            "INSERT INTO chapters (docid, book, chapter, name) VALUES (5, 1, 1, 'Genesis 1');",
            "INSERT INTO chapters (docid, book, chapter, name) VALUES (40, 2, 1, 'Exodus 1');"};
}

// One line per group: its text and key, then its items' texts and keys, a
// further translation marked "/i" when it is shown in italics.
QStringList outline(const TreeView &aTree)
{
    auto describe = [](const QStandardItem *apItem) {
        return QString("%1 [%2]%3")
            .arg(apItem->text(), apItem->whatsThis(), apItem->font().italic() ? " /i" : "");
    };
    QStringList vcGroups;
    const QStandardItemModel *vpModel = aTree.itemModel();
    for (int vnRow = 0; vnRow < vpModel->rowCount(); ++vnRow) {
        const QStandardItem *vpTop = vpModel->item(vnRow);
        QStringList vcItems;
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild)
            vcItems << describe(vpTop->child(vnChild));
        vcGroups << describe(vpTop) + (vcItems.isEmpty() ? "" : ": " + vcItems.join(", "));
    }
    return vcGroups;
}

QStandardItem *itemNamed(const TreeView &aTree, const QString &asText)
{
    const QList<QStandardItem *> vcFound =
        aTree.itemModel()->findItems(asText, Qt::MatchExactly | Qt::MatchRecursive);
    return vcFound.isEmpty() ? nullptr : vcFound.first();
}

bool sameIcon(const QIcon &aIcon, const QString &asResource)
{
    return aIcon.pixmap(16).toImage() == QIcon(asResource).pixmap(16).toImage();
}

void fill(Database *apDatabase, const QString &asKind)
{
    const QMap<QString, void (Database::*)()> cFills{{"byName", &Database::setByName},
                                                     {"byNameDist", &Database::setByNameDist},
                                                     {"byYear", &Database::setByYear},
                                                     {"byYearDist", &Database::setByYearDist}};
    (apDatabase->*cFills.value(asKind, &Database::setBible))();
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void groupsFollowTheSortOrder_data();
    void groupsFollowTheSortOrder();
    void sermonItems_data();
    void sermonItems();
    void bibleBooksAndChapters();
    void sermonTotals_data();
    void sermonTotals();
    void failingStatementLeavesTheTreeEmpty_data();
    void failingStatementLeavesTheTreeEmpty();
    void statusText_data();
    void statusText();
};

void TestCatalogue::groupsFollowTheSortOrder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("treeKind");
    QTest::addColumn<QStringList>("expected");

    const QString vsBeta = "B  [31]: Beta Word (47-0412) [31]";
    const QString vsAgain = ", Beta Word Again (47-0412 *) [32] /i";
    const QStringList vcByName{
        "A  [30]: Alpha Seal (63-0318) [30]", "D  [34]: Delta (00-0101) [34]",
        "G  [33]: Gamma Notes (xx-0101) [33]", "A  [35]: Amen (65-1127) [35]"};
    QTest::newRow("by name") << "byName" << 1
                             << QStringList{vcByName[0], vsBeta + vsAgain} + vcByName.mid(1);
    QTest::newRow("by name without duplicates")
        << "byNameDist" << 1 << QStringList{vcByName[0], vsBeta} + vcByName.mid(1);

    const QString vs1947 = "1947 [31]: Beta Word (47-0412) [31]";
    const QStringList vcByYear{"1963 [30]: Alpha Seal (63-0318) [30]",
                               "1965 [35]: Amen (65-1127) [35]",
                               "1900 [33]: Gamma Notes (xx-0101) [33]"};
    const QString vs1900 = "1900 [34]: Delta (00-0101) [34]";
    QTest::newRow("by year") << "byYear" << 0 << QStringList{vs1900, vs1947 + vsAgain} + vcByYear;
    QTest::newRow("by year without duplicates")
        << "byYearDist" << 0 << QStringList{vs1900, vs1947} + vcByYear;
}

void TestCatalogue::groupsFollowTheSortOrder()
{
    QFETCH(QString, kind);
    QFETCH(int, treeKind);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(sermonCatalogue()));
    TreeView vTree;
    vpDatabase->setTreeView(&vTree);
    // Whatever was shown before is replaced.
    vpDatabase->setBible();
    fill(vpDatabase, kind);
    QCOMPARE(vTree.kind(), treeKind);
    QCOMPARE(outline(vTree), expected);
}

void TestCatalogue::sermonItems_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("icon");

    // "-" means no recording; any other value, even an empty one, names one.
    const QString vsMp3 = ":/icons/mp3.png", vsNone = ":/icons/history.png";
    QTest::newRow("by name") << "byName"
                             << "Alpha Seal (63-0318)"
                             << "1963-0318, Tr, 1:02" << vsMp3;
    QTest::newRow("by name, -") << "byName"
                                << "Beta Word (47-0412)"
                                << "1947-0412, Tr, 1:02" << vsNone;
    QTest::newRow("by year, empty") << "byYear"
                                    << "Beta Word Again (47-0412 *)"
                                    << "47-0412 *, Tr, 1:02" << vsMp3;
    QTest::newRow("by year, -") << "byYear"
                                << "Beta Word (47-0412)"
                                << "47-0412, Tr, 1:02" << vsNone;
}

void TestCatalogue::sermonItems()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, icon);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(sermonCatalogue()));
    TreeView vTree;
    vpDatabase->setTreeView(&vTree);
    fill(vpDatabase, kind);

    const QStandardItem *vpItem = itemNamed(vTree, text);
    QVERIFY(vpItem);
    QCOMPARE(vpItem->toolTip(), toolTip);
    QVERIFY2(sameIcon(vpItem->icon(), icon), qPrintable(icon));
    QCOMPARE(vpItem->flags(), Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    QCOMPARE(vpItem->checkState(), Qt::Unchecked);
    QVERIFY(!vpItem->font().bold());

    const QStandardItem *vpGroup = vpItem->parent();
    QVERIFY(vpGroup->font().bold());
    QVERIFY(vpGroup->toolTip().isEmpty());
    QVERIFY(vpGroup->flags() & Qt::ItemIsUserCheckable);
    QVERIFY(sameIcon(vpGroup->icon(), ":/icons/item.png"));
}

void TestCatalogue::bibleBooksAndChapters()
{
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(sermonCatalogue() + bibleCatalogue()));
    TreeView vTree;
    QAbstractItemModelTester vTester(vTree.model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
    vpDatabase->setTreeView(&vTree);
    vpDatabase->setByYear();
    vpDatabase->setBible();

    QCOMPARE(vTree.kind(), 2);
    // Chapters in numeric order; a book without chapters stays childless.
    QCOMPARE(outline(vTree),
             (QStringList{"Genesis [001]: Genesis 1 [5], Genesis 2 [7], Genesis 10 [12]",
                          "Exodus [002]: Exodus 1 [40]", "Leviticus [003]"}));
    // Nothing in the Bible can be ticked by the user.
    for (const char *vsText : {"Genesis", "Genesis 10"}) {
        const QStandardItem *vpItem = itemNamed(vTree, vsText);
        QVERIFY(!(vpItem->flags() & Qt::ItemIsUserCheckable));
        QVERIFY(!vpItem->data(Qt::CheckStateRole).isValid());
    }
    QVERIFY(sameIcon(itemNamed(vTree, "Exodus 1")->icon(), ":/icons/history.png"));
}

void TestCatalogue::sermonTotals_data()
{
    QTest::addColumn<int>("firstTranslations");
    QTest::addColumn<int>("furtherTranslations");
    QTest::addColumn<QString>("label");

    QTest::newRow("empty") << 0 << 0 << "Sermons total: 0 / 0";
    QTest::newRow("1210 with 60 further translations")
        << 1150 << 60 << "Sermons total: 1150 / 1210";
}

void TestCatalogue::sermonTotals()
{
    QFETCH(int, firstTranslations);
    QFETCH(int, furtherTranslations);
    QFETCH(QString, label);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QStringList vcStatements;
    for (int i = 0; i < firstTranslations; ++i) {
        const QString vsDate = QString("%1-%2").arg(50 + i % 15).arg(i, 4, 10, QChar('0'));
        vcStatements << sermon(i + 1, vsDate, QString("Sermon %1").arg(i));
        if (i < furtherTranslations)
            vcStatements << sermon(5000 + i, vsDate + " *", QString("Sermon %1 again").arg(i));
    }
    QVERIFY(vpDatabase->execQuery(vcStatements));
    QCOMPARE(vpDatabase->currentLanguageSermonsCount(), firstTranslations + furtherTranslations);
    QCOMPARE(vpDatabase->currentLanguageSermonsCountDist(), firstTranslations);

    MainWindow vWindow;
    QCOMPARE(vWindow.sermonCountLabel()->text(), label);
    int vnItems = 0;
    const QStandardItemModel *vpModel = vWindow.treeView()->itemModel();
    for (int vnRow = 0; vnRow < vpModel->rowCount(); ++vnRow)
        vnItems += vpModel->item(vnRow)->rowCount();
    QCOMPARE(vnItems, firstTranslations + furtherTranslations);
}

void TestCatalogue::failingStatementLeavesTheTreeEmpty_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("errors");

    QTest::newRow("sermons") << "quotes"
                             << "byYear" << QStringList() << 1;
    // One failing chapter statement per book; the books remain.
    QTest::newRow("chapters") << "chapters"
                              << "bible"
                              << QStringList{"Genesis [001]", "Exodus [002]", "Leviticus [003]"}
                              << 3;
}

void TestCatalogue::failingStatementLeavesTheTreeEmpty()
{
    QFETCH(QString, table);
    QFETCH(QString, kind);
    QFETCH(QStringList, expected);
    QFETCH(int, errors);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(sermonCatalogue() + bibleCatalogue()));
    TreeView vTree;
    vpDatabase->setTreeView(&vTree);
    fill(vpDatabase, kind);
    QVERIFY(vTree.itemModel()->rowCount() > 0);
    QVERIFY(vpDatabase->execQuery("DROP TABLE " + table + ";"));

    LogCapture vLog;
    BoxRecorder vBoxes;
    fill(vpDatabase, kind);
    QCOMPARE(outline(vTree), expected);
    QCOMPARE(vLog.linesContaining("SQL Error:").size(), errors);
    QTRY_COMPARE(vBoxes.count(), errors);
    QCOMPARE(vBoxes.requests().first().title, QString("Debug"));
    QCoreApplication::processEvents();
    QCOMPARE(vBoxes.count(), errors);
}

void TestCatalogue::statusText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("parentRow");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no match") << 0 << "51-0101" << 0 << QStringList();
    QTest::newRow("two sermons on one date")
        << 1 << "47-0412" << 0
        << QStringList{"47-0412 Beta Word (Tr, 1:02)", "47-0412 Beta Evening (Smith, 1:02)"};
    // A date with an apostrophe used to break the statement and raise the "Debug" box.
    QTest::newRow("apostrophe in the date")
        << 0 << "63-0318'B" << 0 << QStringList{"63-0318'B O'Hara's Word (Tr, 1:02)"};
    // The book number is matched as the integer it is stored as.
    QTest::newRow("bible book") << 2 << "" << 1 << QStringList{"Exodus"};
}

void TestCatalogue::statusText()
{
    QFETCH(int, kind);
    QFETCH(QString, date);
    QFETCH(int, parentRow);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(bibleCatalogue() +
                                  QStringList{sermon(1, "47-0412", "Beta Word"),
                                              sermon(2, "47-0412", "Beta Evening", "-", "Smith"),
                                              sermon(3, "63-0318'B", "O'Hara's Word")}));
    TreeView vTree;
    vpDatabase->setTreeView(&vTree);
    vTree.setKind(kind);

    LogCapture vLog;
    QSignalSpy vStatus(vpDatabase, &Database::statusTextUpdated);
    vpDatabase->updateStatusText(date, parentRow, 0);
    QStringList vcTexts;
    for (const QList<QVariant> &vcArguments : vStatus)
        vcTexts << vcArguments.first().toString();
    QCOMPARE(vcTexts, expected);
    QVERIFY(vLog.linesContaining("SQL Error:").isEmpty());
}

QUILLMARK_TEST_MAIN(TestCatalogue)

#include "test_catalogue.moc"
