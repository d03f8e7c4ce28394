// The catalogue tree: the catalogue read into it from a real database, and its
// own behaviour (checks, commands, opening items, the hover status).
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/storerequests.h"
#include "models/database.h"
#include "views/pageopener.h"
#include "views/treeview.h"
#include "widgets/toolbar.h"

#include <QAction>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <memory>

namespace {

QString sermon(int anDocid, const QString &asDate, const QString &asName,
               const QString &asMp3 = "x.mp3")
{
    return TestSupport::sermonStatements(asDate, asName, {}, "Tr", "Town", anDocid, asMp3).first();
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

// Records what the tree asks of the tab container, in order, in one log.
class FakeOpener : public PageOpener
{
public:
    FakeOpener(QStringList &acLog, bool abGivesPage) : mcLog(acLog), mbGivesPage(abGivesPage) {}
    TabArea *openTab(const QString &asTitle, const PageContext &) override
    {
        mcLog << "tab " + asTitle;
        return mbGivesPage ? reinterpret_cast<TabArea *>(7) : nullptr;
    }
    void setDocumentId(TabArea *apPage, int anDocumentId) override
    {
        mcLog << QString("id %1 on %2").arg(anDocumentId).arg(quintptr(apPage));
    }

private:
    QStringList &mcLog;
    bool mbGivesPage;
};

// Groups 1947 (keys 12, 57, 60) and 1963 (70).
void fillSermons(TreeView &aTree, int anKind = CatalogueTree::ByYear)
{
    aTree.clearTree();
    aTree.setKind(anKind);
    aTree.addTopItem("1947", "12", false, {});
    aTree.addItem("Faith (47-0412)", 0, "12", false, {}, true);
    aTree.addItem("Grace (47-0413)", 0, "57", false, {}, true);
    aTree.addItem("Hope (47-0414)", 0, "60", false, {}, false);
    aTree.addTopItem("1963", "70", false, {});
    aTree.addItem("Seals (63-0318)", 1, "70", false, {}, true);
}

void fillBible(TreeView &aTree)
{
    aTree.clearTree();
    aTree.setKind(CatalogueTree::Bible);
    QStandardItem *vpGenesis = aTree.addTopItem("Genesis", "001", false, {});
    aTree.addChildItem("Genesis 1", vpGenesis, "0101", false, {}, false);
    aTree.addChildItem("Genesis 12", vpGenesis, "0112", false, {}, false);
    QStandardItem *vpExodus = aTree.addTopItem("Exodus", "002", false, {});
    aTree.addChildItem("Exodus 3", vpExodus, "203", false, {}, false);
}

QStandardItem *item(const TreeView &aTree, int anTop, int anChild = -1)
{
    QStandardItem *vpTop = aTree.itemModel()->item(anTop);
    return anChild < 0 ? vpTop : vpTop->child(anChild);
}

QModelIndex viewIndex(const TreeView &aTree, int anTop, int anChild = -1)
{
    const auto *vpProxy = static_cast<const QSortFilterProxyModel *>(aTree.model());
    return vpProxy->mapFromSource(item(aTree, anTop, anChild)->index());
}

// The check states of the whole tree: each group's mark, then its items'
// marks in brackets; x checked, - unchecked, ~ partially checked.
QString checks(const TreeView &aTree)
{
    auto mark = [](const QStandardItem *apItem) { return QString("-~x").at(apItem->checkState()); };
    QStringList vcGroups;
    for (int vnRow = 0; vnRow < aTree.itemModel()->rowCount(); ++vnRow) {
        const QStandardItem *vpTop = item(aTree, vnRow);
        QString vsGroup = QString(mark(vpTop)) + "(";
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild)
            vsGroup += mark(vpTop->child(vnChild));
        vcGroups << vsGroup + ")";
    }
    return vcGroups.join(' ');
}

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void catalogueFollowsTheSortOrder_data();
    void catalogueFollowsTheSortOrder();
    void checkPropagation_data();
    void checkPropagation();
    void checkCommands();
    void doubleClickOpens_data();
    void doubleClickOpens();
    void contextMenuCommands();
    void hoverShowsDetails_data();
    void hoverShowsDetails();

private:
    // A tree shown in a fresh application folder, with or without the
    // converter's commands.
    TreeView &newTree(bool abConverter = false);

    std::unique_ptr<TempAppDir> mpApp;
    std::unique_ptr<TreeView> mpTree;
};

TreeView &TestTreeView::newTree(bool abConverter)
{
    cleanup();
    mpApp = std::make_unique<TempAppDir>(QMap<QString, QVariant>{
        {"DataLanguage", "ru"}, {"Language", "en"}, {"DBLang1", "ru"}, {"Converter", abConverter}});
    mpTree = std::make_unique<TreeView>();
    mpTree->resize(400, 300);
    mpTree->show();
    if (!QTest::qWaitForWindowExposed(mpTree.get()))
        qWarning("the tree was not shown");
    return *mpTree;
}

void TestTreeView::cleanup()
{
    mpTree.reset();
    mpApp.reset();
}

void TestTreeView::catalogueFollowsTheSortOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("dropped"); // a table gone, so that its statement fails
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("details"); // "text | tool tip | recording" of some sermons
    QTest::addColumn<int>("errors");

    const QString vsAgain = ", Beta Word Again (47-0412 *) [32] /i";
    // "-" means no recording; any other value, even an empty one, names one.
    QTest::newRow("by name") << 1 << QString()
                             << QStringList{"A  [30]: Alpha Seal (63-0318) [30]",
                                            "B  [31]: Beta Word (47-0412) [31]" + vsAgain,
                                            "D  [34]: Delta (00-0101) [34]",
                                            "G  [33]: Gamma Notes (xx-0101) [33]",
                                            "A  [35]: Amen (65-1127) [35]"}
                             << QStringList{"Alpha Seal (63-0318) | 1963-0318, Tr, 1:02 | mp3",
                                            "Beta Word (47-0412) | 1947-0412, Tr, 1:02 | none"}
                             << 0;
    QTest::newRow("by year")
        << 0 << QString()
        << QStringList{"1900 [34]: Delta (00-0101) [34]",
                       "1947 [31]: Beta Word (47-0412) [31]" + vsAgain,
                       "1963 [30]: Alpha Seal (63-0318) [30]", "1965 [35]: Amen (65-1127) [35]",
                       "1900 [33]: Gamma Notes (xx-0101) [33]"}
        << QStringList{"Beta Word Again (47-0412 *) | 47-0412 *, Tr, 1:02 | mp3"} << 0;
    // Chapters in numeric order; a book without chapters stays childless.
    QTest::newRow("Bible") << 2 << QString()
                           << QStringList{"Genesis [001]: Genesis 1 [5], Genesis 2 [7], Genesis "
                                          "10 [12]",
                                          "Exodus [002]: Exodus 1 [40]", "Leviticus [003]"}
                           << QStringList() << 0;
    QTest::newRow("sermons failing") << 0 << "quotes" << QStringList() << QStringList() << 1;
    // One failing chapter statement per book; the books remain.
    QTest::newRow("chapters failing")
        << 2 << "chapters" << QStringList{"Genesis [001]", "Exodus [002]", "Leviticus [003]"}
        << QStringList() << 3;
}

void TestTreeView::catalogueFollowsTheSortOrder()
{
    QFETCH(int, kind);
    QFETCH(QString, dropped);
    QFETCH(QStringList, details);
    QFETCH(int, errors);
    TreeView &vTree = newTree();
    Database *vpDatabase = Application::database();
    vpDatabase->setTreeView(&vTree);
    QVERIFY(vpDatabase->execQuery(sermonCatalogue() + bibleCatalogue()));
    // Whatever was shown before is replaced (by nothing where a statement fails).
    vpDatabase->setBible();
    if (!dropped.isEmpty())
        QVERIFY(vpDatabase->execQuery("DROP TABLE " + dropped + ";"));
    LogCapture vLog;
    BoxRecorder vBoxes;
    (vpDatabase->*(kind == CatalogueTree::ByYear   ? &Database::setByYear
                   : kind == CatalogueTree::ByName ? &Database::setByName
                                                   : &Database::setBible))();
    QCOMPARE(vTree.kind(), kind);
    QTEST(TestSupport::catalogueOutline(vTree), "expected");
    QCOMPARE(vLog.linesContaining("SQL Error:").size(), errors);
    // One box per failure, and no more afterwards.
    QTRY_COMPARE(vBoxes.count(), errors);
    QCoreApplication::processEvents();
    QCOMPARE(vBoxes.count(), errors);

    const QImage vMp3 = QIcon(":/icons/mp3.png").pixmap(16).toImage();
    for (const QString &vsDetail : qAsConst(details)) {
        const QList<QStandardItem *> vcFound = vTree.itemModel()->findItems(
            vsDetail.section(" | ", 0, 0), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(vcFound.size(), 1);
        const bool vbMp3 = vcFound.first()->icon().pixmap(16).toImage() == vMp3;
        QCOMPARE(vcFound.first()->toolTip() + (vbMp3 ? " | mp3" : " | none"),
                 vsDetail.section(" | ", 1));
    }
}

void TestTreeView::checkPropagation_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("sermons") << 0 << QStringList{"~(x--)", "~(x--)", "x(xxx)", "-(---)"};
    // The Bible's books do not follow their chapters.
    QTest::newRow("bible") << 2 << QStringList{"-(x--)", "-(x--)", "-(xxx)", "-(xxx)"};
}

void TestTreeView::checkPropagation()
{
    QFETCH(int, kind);
    TreeView &vTree = newTree();
    fillSermons(vTree, kind);
    // Sermons and their groups can be ticked by the user, the Bible's items not.
    QCOMPARE(bool(item(vTree, 0, 0)->flags() & Qt::ItemIsUserCheckable), kind != 2);
    QCOMPARE(bool(item(vTree, 0)->flags() & Qt::ItemIsUserCheckable), kind != 2);
    QStringList vcStates;

    item(vTree, 0, 0)->setCheckState(Qt::Checked);
    vcStates << checks(vTree).section(' ', 0, 0);
    // Expanding a partially checked group used to make each of its sermons
    // partially checked (its new icon counted as a check change).
    vTree.expand(viewIndex(vTree, 0));
    vcStates << checks(vTree).section(' ', 0, 0);
    item(vTree, 0, 1)->setCheckState(Qt::Checked);
    item(vTree, 0, 2)->setCheckState(Qt::Checked);
    vcStates << checks(vTree).section(' ', 0, 0);
    item(vTree, 0)->setCheckState(Qt::Unchecked);
    vcStates << checks(vTree).section(' ', 0, 0);
    QTEST(vcStates, "expected");
}

void TestTreeView::checkCommands()
{
    TreeView &vTree = newTree();
    fillSermons(vTree);
    vTree.addTopItem("1966", "90", false, {});
    vTree.checkAll();
    QCOMPARE(vTree.checkedSermons(), QString("(12,57,60,70)"));
    vTree.uncheckAll();
    QCOMPARE(checks(vTree), QString("-(---) -(-) -()"));

    item(vTree, 0, 1)->setCheckState(Qt::Checked);
    vTree.checkInverseAll();
    // A group without sermons toggles itself.
    QCOMPARE(checks(vTree), QString("~(x-x) x(x) x()"));
    QCOMPARE(vTree.checkedSermons(), QString("(12,60,70)"));
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 0)) && vTree.isExpanded(viewIndex(vTree, 1)));

    vTree.collapseAll();

    // The expand command toggles; a refilled catalogue starts collapsed, so
    // the command must offer expanding again (it used to stay on "Collapse"
    // and do nothing).
    vTree.expandAction()->trigger();
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 1)));
    vTree.expandAction()->trigger();
    QVERIFY(!vTree.isExpanded(viewIndex(vTree, 1)));
    vTree.expandAction()->trigger();
    fillSermons(vTree);
    QCOMPARE(vTree.expandAction()->text(), QString("Expand"));
    vTree.expandAction()->trigger();
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 0)));

    // In the Bible the commands mark either the books or the chapters.
    fillBible(vTree);
    vTree.checkAll();
    QCOMPARE(checks(vTree), QString("x(--) x(-)"));
    QCOMPARE(vTree.checkedChapters(), QString());
    vTree.checkInverseAll();
    QCOMPARE(checks(vTree), QString("x(xx) x(x)"));
}

void TestTreeView::doubleClickOpens_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("child");
    QTest::addColumn<bool>("givesPage");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("bible chapter")
        << true << 0 << 1 << true << QStringList{"tab Genesis 12", "chapter 1 12 on 7"};
    QTest::newRow("sermon") << false << 0 << 1 << true
                            << QStringList{"tab Grace (47-0413)", "id 57 on 7", "sermon 57 on 7"};
    QTest::newRow("group") << false << 0 << -1 << true << QStringList();
    QTest::newRow("no page") << false << 0 << 1 << false << QStringList{"tab Grace (47-0413)"};
}

void TestTreeView::doubleClickOpens()
{
    QFETCH(bool, bible);
    QFETCH(int, top);
    QFETCH(int, child);
    QFETCH(bool, givesPage);
    TreeView &vTree = newTree();
    QStringList vcLog;
    FakeOpener vOpener(vcLog, givesPage);
    vTree.setPageOpener(&vOpener);
    bible ? fillBible(vTree) : fillSermons(vTree);
    vTree.expandAll();
    connect(&vTree, &TreeView::openQuotesParagraph, [&vcLog](TabArea *apPage, int anKey) {
        vcLog << QString("sermon %1 on %2").arg(anKey).arg(quintptr(apPage));
    });
    connect(
        &vTree, &TreeView::openBibleChapter, [&vcLog](TabArea *apPage, int anBook, int anChapter) {
            vcLog
                << QString("chapter %1 %2 on %3").arg(anBook).arg(anChapter).arg(quintptr(apPage));
        });

    // A double click as the window system delivers it: press, release, double click.
    const QPoint vAt = vTree.visualRect(viewIndex(vTree, top, child)).center();
    QTest::mouseClick(vTree.viewport(), Qt::LeftButton, Qt::NoModifier, vAt);
    QTest::mouseDClick(vTree.viewport(), Qt::LeftButton, Qt::NoModifier, vAt);
    QTEST(vcLog, "expected");
}

void TestTreeView::contextMenuCommands()
{
    // Export and delete are the converter's alone.
    QVERIFY(!newTree(false).deleteAction());
    TreeView &vTree = newTree(true);
    ToolBar vToolBar("Main toolbar", nullptr);
    vToolBar.createActions();
    // Given the tool bar twice, the menu still holds each command once.
    vTree.setToolBar(&vToolBar);
    vTree.setToolBar(&vToolBar);
    QStringList vcTexts;
    for (const QAction *vpAction : vTree.actions())
        vcTexts << vpAction->text();
    QCOMPARE(vcTexts.removeDuplicates(), 0);
    QVERIFY(vcTexts.contains("Delete") && vcTexts.contains("Show duplicates"));

    QStringList vcLog;
    connect(&vTree, &TreeView::exportRequested,
            [&vcLog](const QString &acList) { vcLog << "export " + acList; });
    connect(&vTree, &TreeView::deleteRequested,
            [&vcLog](const QString &acList) { vcLog << "delete " + acList; });
    fillSermons(vTree);
    item(vTree, 0, 1)->setCheckState(Qt::Checked);
    {
        // Declined, nothing is deleted.
        BoxRecorder vBoxes{QMessageBox::Cancel};
        vTree.deleteAction()->trigger();
        QCOMPARE(vBoxes.count(), 1);
        QCOMPARE(vcLog, QStringList());
    }
    // Each command asks about itself once, and passes the checked keys on
    // (the chapter list used to put up one message box per chapter).
    BoxRecorder vBoxes{QMessageBox::Yes};
    vTree.deleteAction()->trigger();
    fillBible(vTree);
    vTree.checkInverseAll();
    vTree.exportAction()->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(vBoxes.count(), 2);
    QVERIFY(vBoxes.requests().at(0).text.startsWith("Delete"));
    QVERIFY(vBoxes.requests().at(1).text.startsWith("Export"));
    QCOMPARE(vcLog, (QStringList{"delete (57)", "export (101,112,203)"}));
}

void TestTreeView::hoverShowsDetails_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<int>("top");
    QTest::addColumn<QStringList>("expected");

    // A date with an apostrophe used to break the statement and raise the "Debug" box.
    QTest::newRow("sermon") << false << 0
                            << QStringList{"message: -",
                                           "details: 63-0318'B O'Hara's Word (Tr, 1:02)"};
    QTest::newRow("bible chapter") << true << 1 << QStringList{"details: Exodus"};
}

void TestTreeView::hoverShowsDetails()
{
    QFETCH(bool, bible);
    QFETCH(int, top);
    QFETCH(QStringList, expected);
    TreeView &vTree = newTree();
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(QStringList{
        sermon(12, "63-0318'B", "O'Hara's Word", "-"),
        "INSERT INTO bibles (book, name) VALUES (1, 'Genesis'), (2, 'Exodus');",
        "INSERT INTO chapters (uid, book, chapter, name) VALUES ('1', 1, 1, 'Genesis 1'), "
        "('2', 2, 1, 'Exodus 1');"}));
    vpDatabase->setTreeView(&vTree);
    bible ? vpDatabase->setBible() : vpDatabase->setByYear();
    vTree.expandAll();
    StoreRequests vRequests(vpDatabase);
    vTree.setStoreRequests(&vRequests);

    QStringList vcEvents;
    connect(&vTree, &TreeView::statusMessage,
            [&vcEvents](const QString &asText) { vcEvents << "message: " + asText; });
    connect(&vRequests, &StoreRequests::statusTextReady,
            [&vcEvents](const QString &asText) { vcEvents << "details: " + asText; });
    auto moveOver = [&vTree](const QModelIndex &aIndex) {
        QMouseEvent vMove(QEvent::MouseMove, vTree.visualRect(aIndex).center(), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vTree.viewport(), &vMove);
    };
    auto leave = [&vTree] {
        QEvent vLeave(QEvent::Leave);
        QCoreApplication::sendEvent(vTree.viewport(), &vLeave);
    };
    const QModelIndex vItem = viewIndex(vTree, top, 0);
    // The details come from the data store's thread (a running search must
    // not make the mouse wait).
    moveOver(vItem);
    QTRY_COMPARE(vcEvents, expected);
    // Moving on within the same item reports nothing new.
    moveOver(vItem);
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(vcEvents, expected);

    vcEvents.clear();
    leave();
    QCOMPARE(vcEvents, QStringList{"message: "});
    // An answer still on its way when the mouse left never shows.
    vcEvents.clear();
    moveOver(vItem);
    leave();
    QVERIFY(TestSupport::roundTrip());
    QCOMPARE(vcEvents.filter("details: "), QStringList());
    // After leaving, the same item is reported again.
    vcEvents.clear();
    moveOver(vItem);
    QTRY_COMPARE(vcEvents, expected);
}

QUILLMARK_TEST_MAIN(TestTreeView)

#include "test_treeview.moc"
