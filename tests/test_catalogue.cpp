// The catalogue read from a real database into the tree: grouping by title
// letter and by year, the Bible's books and chapters in order, the sermon
// totals, and what a failing statement leaves behind.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/mainwindow.h"

#include <QLabel>
#include <QStandardItemModel>

#include <memory>

namespace {

QString quote(const QString &asValue)
{
    return "'" + QString(asValue).replace("'", "''") + "'";
}

QString sermon(int anDocid, const QString &asDate, const QString &asName,
               const QString &asMp3 = "x.mp3")
{
    return QString("INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, place) "
                   "VALUES (%1, %2, %3, 'Tr', 'a.pdf', %4, '1:02', 'Town');")
        .arg(anDocid)
        .arg(quote(asDate), quote(asName), quote(asMp3));
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
    return {"INSERT INTO bibles (docid, book, name) VALUES (1, 2, 'Exodus'), (2, 1, 'Genesis'), "
            "(3, 3, 'Leviticus');",
            "INSERT INTO chapters (docid, book, chapter, name) VALUES (12, 1, 10, 'Genesis 10'), "
            "(7, 1, 2, 'Genesis 2'), (5, 1, 1, 'Genesis 1'), (40, 2, 1, 'Exodus 1');"};
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

// Fills the tree with the catalogue of a kind of CatalogueTree.
void fill(Database *apDatabase, int anKind)
{
    (apDatabase->*(anKind == CatalogueTree::ByYear   ? &Database::setByYear
                   : anKind == CatalogueTree::ByName ? &Database::setByName
                                                     : &Database::setBible))();
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void groupsFollowTheSortOrder_data();
    void groupsFollowTheSortOrder();
    void sermonTotals();
    void failingStatementLeavesTheTreeEmpty_data();
    void failingStatementLeavesTheTreeEmpty();

private:
    // A fresh data store, and a tree it fills.
    std::unique_ptr<TempAppDir> mpApp;
    Database *mpDatabase = nullptr;
    std::unique_ptr<TreeView> mpTree;
};

void TestCatalogue::init()
{
    mpApp = std::make_unique<TempAppDir>(
        QMap<QString, QVariant>{{"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}});
    mpDatabase = Application::database();
    mpTree = std::make_unique<TreeView>();
    mpDatabase->setTreeView(mpTree.get());
}

void TestCatalogue::cleanup()
{
    mpTree.reset();
    mpApp.reset();
}

void TestCatalogue::groupsFollowTheSortOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("details"); // "text | tool tip | recording" of some sermons

    const QString vsAgain = ", Beta Word Again (47-0412 *) [32] /i";
    // "-" means no recording; any other value, even an empty one, names one.
    QTest::newRow("by name") << 1
                             << QStringList{"A  [30]: Alpha Seal (63-0318) [30]",
                                            "B  [31]: Beta Word (47-0412) [31]" + vsAgain,
                                            "D  [34]: Delta (00-0101) [34]",
                                            "G  [33]: Gamma Notes (xx-0101) [33]",
                                            "A  [35]: Amen (65-1127) [35]"}
                             << QStringList{"Alpha Seal (63-0318) | 1963-0318, Tr, 1:02 | mp3",
                                            "Beta Word (47-0412) | 1947-0412, Tr, 1:02 | none"};
    QTest::newRow("by year") << 0
                             << QStringList{"1900 [34]: Delta (00-0101) [34]",
                                            "1947 [31]: Beta Word (47-0412) [31]" + vsAgain,
                                            "1963 [30]: Alpha Seal (63-0318) [30]",
                                            "1965 [35]: Amen (65-1127) [35]",
                                            "1900 [33]: Gamma Notes (xx-0101) [33]"}
                             << QStringList{
                                    "Beta Word Again (47-0412 *) | 47-0412 *, Tr, 1:02 | mp3"};
    // Chapters in numeric order; a book without chapters stays childless.
    QTest::newRow("Bible") << 2
                           << QStringList{"Genesis [001]: Genesis 1 [5], Genesis 2 [7], Genesis "
                                          "10 [12]",
                                          "Exodus [002]: Exodus 1 [40]", "Leviticus [003]"}
                           << QStringList();
}

void TestCatalogue::groupsFollowTheSortOrder()
{
    QFETCH(int, kind);
    QFETCH(QStringList, details);
    QVERIFY(mpDatabase->execQuery(sermonCatalogue() + bibleCatalogue()));
    // Whatever was shown before is replaced.
    mpDatabase->setBible();
    fill(mpDatabase, kind);
    QCOMPARE(mpTree->kind(), kind);
    QTEST(outline(*mpTree), "expected");

    const QImage vMp3 = QIcon(":/icons/mp3.png").pixmap(16).toImage();
    for (const QString &vsDetail : qAsConst(details)) {
        const QList<QStandardItem *> vcFound = mpTree->itemModel()->findItems(
            vsDetail.section(" | ", 0, 0), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(vcFound.size(), 1);
        const bool vbMp3 = vcFound.first()->icon().pixmap(16).toImage() == vMp3;
        QCOMPARE(vcFound.first()->toolTip() + (vbMp3 ? " | mp3" : " | none"),
                 vsDetail.section(" | ", 1));
    }
}

void TestCatalogue::sermonTotals()
{
    // Six sermons, one of them a further translation.
    QVERIFY(mpDatabase->execQuery(sermonCatalogue()));
    MainWindow vWindow;
    QVERIFY(TestSupport::settle());
    QCOMPARE(vWindow.sermonCountLabel()->text(), QString("Sermons total: 5 / 6"));
}

void TestCatalogue::failingStatementLeavesTheTreeEmpty_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("sermons") << "quotes" << 1 << 0 << QStringList();
    // One failing chapter statement per book; the books remain.
    QTest::newRow("chapters") << "chapters" << 3 << 2
                              << QStringList{"Genesis [001]", "Exodus [002]", "Leviticus [003]"};
}

void TestCatalogue::failingStatementLeavesTheTreeEmpty()
{
    QFETCH(QString, table);
    QFETCH(int, kind);
    QFETCH(int, errors);
    QVERIFY(mpDatabase->execQuery(sermonCatalogue() + bibleCatalogue()));
    fill(mpDatabase, kind);
    QVERIFY(mpTree->itemModel()->rowCount() > 0);
    QVERIFY(mpDatabase->execQuery("DROP TABLE " + table + ";"));

    LogCapture vLog;
    BoxRecorder vBoxes;
    fill(mpDatabase, kind);
    QTEST(outline(*mpTree), "expected");
    QCOMPARE(vLog.linesContaining("SQL Error:").size(), errors);
    // One box per failure, and no more afterwards.
    QTRY_COMPARE(vBoxes.count(), errors);
    QCoreApplication::processEvents();
    QCOMPARE(vBoxes.count(), errors);
}

QUILLMARK_TEST_MAIN(TestCatalogue)

#include "test_catalogue.moc"
