// The catalogue tree's own behaviour: check propagation between groups and
// sermons, the check commands, the checked-key lists, finding and opening
// items, the context menu with export and delete, and the hover status.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "models/database.h"
#include "views/pageopener.h"
#include "views/treeview.h"
#include "widgets/toolbar.h"

#include <QAction>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace {

QMap<QString, QVariant> settings(bool abConverter = false)
{
    return {{"DataLanguage", "ru"}, {"Language", "en"}, {"Converter", abConverter}};
}

TabArea *fakePage(quintptr anId)
{
    return reinterpret_cast<TabArea *>(anId);
}

// Records what the tree asks of the tab container, in order, in one log.
class FakeOpener : public PageOpener
{
public:
    FakeOpener(QStringList &acLog, bool abGivesPage) : mcLog(acLog), mbGivesPage(abGivesPage) {}
    TabArea *openTab(const QString &asTitle) override
    {
        mcLog << "tab " + asTitle;
        return mbGivesPage ? fakePage(7) : nullptr;
    }
    void setDocumentId(TabArea *apPage, int anDocumentId) override
    {
        mcLog << QString("id %1 on %2").arg(anDocumentId).arg(quintptr(apPage));
    }

private:
    QStringList &mcLog;
    bool mbGivesPage;
};

// Groups 1947 (keys 12, 57, 60), 1963 (70) and 1965 whose one sermon has a
// key that is not a number.
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
    aTree.addTopItem("1965", "x1", false, {});
    aTree.addItem("Notes (65-0101)", 2, "x1", false, {}, true);
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
    auto mark = [](const QStandardItem *apItem) {
        return apItem->checkState() == Qt::Checked            ? QChar('x')
               : apItem->checkState() == Qt::PartiallyChecked ? QChar('~')
                                                              : QChar('-');
    };
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

QStringList texts(const QList<QAction *> &acActions)
{
    QStringList vcTexts;
    for (const QAction *vpAction : acActions)
        vcTexts << vpAction->text();
    return vcTexts;
}

void showTree(TreeView &aTree)
{
    aTree.resize(400, 300);
    aTree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&aTree));
    aTree.expandAll();
}

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT

private slots:
    void checkPropagation_data();
    void checkPropagation();
    void checkCommands();
    void bibleChecksMarkBooksOrChapters();
    void doubleClickOpens_data();
    void doubleClickOpens();
    void contextMenu_data();
    void contextMenu();
    void exportAndDeleteAsk_data();
    void exportAndDeleteAsk();
    void hoverShowsDetails_data();
    void hoverShowsDetails();
};

void TestTreeView::checkPropagation_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("by year") << 0 << QStringList{"~(x--)", "~(x--)", "x(xxx)", "-(---)"};
    QTest::newRow("by name") << 1 << QStringList{"~(x--)", "~(x--)", "x(xxx)", "-(---)"};
    // The Bible's books do not follow their chapters.
    QTest::newRow("bible") << 2 << QStringList{"-(x--)", "-(x--)", "-(xxx)", "-(xxx)"};
}

void TestTreeView::checkPropagation()
{
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    TreeView vTree;
    fillSermons(vTree, kind);
    QStringList vcStates;

    item(vTree, 0, 0)->setCheckState(Qt::Checked);
    vcStates << checks(vTree).section(' ', 0, 0);
    // Expanding a partially checked group used to make each of its sermons
    // partially checked (its new icon counted as a check change).
    vTree.expand(viewIndex(vTree, 0));
    vcStates << checks(vTree).section(' ', 0, 0);
    item(vTree, 0, 1)->setCheckState(Qt::Checked);
    QCOMPARE(vTree.checkedSermons(), QString("(12,57)"));
    item(vTree, 0, 2)->setCheckState(Qt::Checked);
    vcStates << checks(vTree).section(' ', 0, 0);
    item(vTree, 0)->setCheckState(Qt::Unchecked);
    vcStates << checks(vTree).section(' ', 0, 0);
    QCOMPARE(vcStates, expected);
}

void TestTreeView::checkCommands()
{
    TempAppDir vApp(settings());
    TreeView vTree;
    fillSermons(vTree);
    vTree.addTopItem("1966", "90", false, {});
    vTree.checkAll();
    QCOMPARE(vTree.checkedSermons(), QString("(12,57,60,70,x1)"));
    vTree.uncheckAll();
    QCOMPARE(checks(vTree), QString("-(---) -(-) -(-) -()"));
    QCOMPARE(vTree.checkedSermons(), QString());

    item(vTree, 0, 1)->setCheckState(Qt::Checked);
    vTree.checkInverseAll();
    // A group without sermons toggles itself.
    QCOMPARE(checks(vTree), QString("~(x-x) x(x) x(x) x()"));
    QCOMPARE(vTree.checkedSermons(), QString("(12,60,70,x1)"));
    for (int vnRow = 0; vnRow < 3; ++vnRow) {
        QVERIFY(vTree.isExpanded(viewIndex(vTree, vnRow)));
        QCOMPARE(item(vTree, vnRow)->icon().pixmap(16).toImage(),
                 QIcon(":/icons/opened.png").pixmap(16).toImage());
    }

    // Checking sermons by title (after an import) unchecks the others and
    // expands only the groups of those it checks.
    vTree.collapseAll();
    vTree.checkItems({"Grace (47-0413)", "No such (00-0000)"});
    QCOMPARE(checks(vTree), QString("~(-x-) -(-) -(-) x()"));
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 0)));
    QVERIFY(!vTree.isExpanded(viewIndex(vTree, 1)));

    QCOMPARE(vTree.findDocumentKey("Grace (47-0413)"), QString("57"));
    QCOMPARE(vTree.findDocumentKey("(47-04"), QString("12"));
    QCOMPARE(vTree.findDocumentKey("grace"), QString());
    QCOMPARE(vTree.findDocumentKey("1963"), QString());

    // A refilled catalogue starts collapsed, so the expand command must offer
    // expanding again (it used to stay on "Collapse" and do nothing).
    vTree.expandAction()->trigger();
    QCOMPARE(vTree.expandAction()->text(), QString("Collapse"));
    fillSermons(vTree);
    QVERIFY(!vTree.expandAction()->isChecked());
    QCOMPARE(vTree.expandAction()->text(), QString("Expand"));
    vTree.expandAction()->trigger();
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 0)));
}

void TestTreeView::bibleChecksMarkBooksOrChapters()
{
    TempAppDir vApp(settings());
    BoxRecorder vBoxes;
    TreeView vTree;
    fillBible(vTree);

    vTree.checkAll();
    QCOMPARE(checks(vTree), QString("x(--) x(-)"));
    QCOMPARE(vTree.checkedChapters(), QString());
    vTree.checkInverseAll();
    QCOMPARE(checks(vTree), QString("x(xx) x(x)"));
    QCOMPARE(vTree.checkedChapters(), QString("(101,112,203)"));
    // The chapter list used to put up one message box per chapter.
    QCoreApplication::processEvents();
    QCOMPARE(vBoxes.count(), 0);
}

void TestTreeView::doubleClickOpens_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("child");
    QTest::addColumn<int>("opener"); // 0 none, 1 gives a page, 2 gives no page
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("bible chapter")
        << true << 0 << 1 << 1 << QStringList{"tab Genesis 12", "chapter 1 12 on 7"};
    QTest::newRow("sermon") << false << 0 << 1 << 1
                            << QStringList{"tab Grace (47-0413)", "id 57 on 7", "sermon 57 on 7"};
    QTest::newRow("group") << false << 0 << -1 << 1 << QStringList();
    QTest::newRow("key not a number") << false << 2 << 0 << 1 << QStringList();
    QTest::newRow("no opener") << false << 0 << 1 << 0 << QStringList();
    QTest::newRow("no page") << false << 0 << 1 << 2 << QStringList{"tab Grace (47-0413)"};
}

void TestTreeView::doubleClickOpens()
{
    QFETCH(bool, bible);
    QFETCH(int, top);
    QFETCH(int, child);
    QFETCH(int, opener);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    TreeView vTree;
    QStringList vcLog;
    FakeOpener vOpener(vcLog, opener == 1);
    if (opener != 0)
        vTree.setPageOpener(&vOpener);
    if (bible)
        fillBible(vTree);
    else
        fillSermons(vTree);
    showTree(vTree);
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
    QCOMPARE(vcLog, expected);
}

void TestTreeView::contextMenu_data()
{
    QTest::addColumn<bool>("converter");
    QTest::addColumn<QStringList>("actions");

    const QStringList vcChecks{"Check all", "Uncheck all", "Check inverse", "Expand"};
    QTest::newRow("reader") << false << vcChecks + QStringList{"Show duplicates"};
    QTest::newRow("converter") << true
                               << vcChecks + QStringList{"Export", "Delete", "Show duplicates"};
}

void TestTreeView::contextMenu()
{
    QFETCH(bool, converter);
    QFETCH(QStringList, actions);
    TempAppDir vApp(settings(converter));
    TreeView vTree;
    ToolBar vToolBar("Main toolbar", nullptr);
    vToolBar.createActions();
    vTree.setToolBar(&vToolBar);
    vTree.setToolBar(&vToolBar);
    QCOMPARE(texts(vTree.actions()), actions);

    fillSermons(vTree);
    vTree.expandAction()->trigger();
    QVERIFY(vTree.isExpanded(viewIndex(vTree, 1)));
    vTree.expandAction()->trigger();
    QVERIFY(!vTree.isExpanded(viewIndex(vTree, 1)));
}

void TestTreeView::exportAndDeleteAsk_data()
{
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<int>("checked"); // 0 nothing, 1 one sermon, 2 every Bible chapter
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("requested");

    const int vnYes = QMessageBox::Yes, vnCancel = QMessageBox::Cancel;
    // Nothing checked still asks, and passes the empty list on.
    QTest::newRow("export nothing, yes") << true << 0 << vnYes << QStringList{"export "};
    QTest::newRow("export nothing, cancel") << true << 0 << vnCancel << QStringList();
    QTest::newRow("delete one, yes") << false << 1 << vnYes << QStringList{"delete (57)"};
    QTest::newRow("delete one, cancel") << false << 1 << vnCancel << QStringList();
    QTest::newRow("export chapters") << true << 2 << vnYes << QStringList{"export (101,112,203)"};
}

void TestTreeView::exportAndDeleteAsk()
{
    QFETCH(bool, exporting);
    QFETCH(int, checked);
    QFETCH(int, answer);
    QFETCH(QStringList, requested);
    TempAppDir vApp(settings(true));
    TreeView vTree;
    if (checked == 2) {
        fillBible(vTree);
        vTree.checkInverseAll();
    } else {
        fillSermons(vTree);
        if (checked == 1)
            item(vTree, 0, 1)->setCheckState(Qt::Checked);
    }
    QStringList vcLog;
    connect(&vTree, &TreeView::exportRequested,
            [&vcLog](const QString &acList) { vcLog << "export " + acList; });
    connect(&vTree, &TreeView::deleteRequested,
            [&vcLog](const QString &acList) { vcLog << "delete " + acList; });
    BoxRecorder vBoxes{QMessageBox::StandardButton(answer)};
    (exporting ? vTree.exportAction() : vTree.deleteAction())->trigger();

    QCOMPARE(vBoxes.count(), 1);
    const ModalBox::Request vBox = vBoxes.requests().first();
    QCOMPARE(vBox.title, QString("Warning"));
    QCOMPARE(vBox.text, exporting ? QString("Export selected documents?")
                                  : QString("Delete selected documents?"));
    QCOMPARE(vBox.buttons, QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(vcLog, requested);
}

void TestTreeView::hoverShowsDetails_data()
{
    QTest::addColumn<bool>("bible");
    QTest::addColumn<int>("top");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("sermon") << false << 0
                            << QStringList{"message: -", "details: 47-0412 Faith (Tr, 1:02)"};
    QTest::newRow("bible chapter") << true << 1 << QStringList{"details: Exodus"};
}

void TestTreeView::hoverShowsDetails()
{
    QFETCH(bool, bible);
    QFETCH(int, top);
    QFETCH(QStringList, expected);
    TempAppDir vApp(settings());
    Database *vpDatabase = Application::database();
    QVERIFY(vpDatabase->execQuery(QStringList{
        "INSERT INTO quotes (docid, date, name, translator, pdf, mp3, length, place) VALUES "
        "(12, '47-0412', 'Faith', 'Tr', '', '-', '1:02', '');",
        "INSERT INTO bibles (book, name) VALUES (1, 'Genesis');",
        "INSERT INTO bibles (book, name) VALUES (2, 'Exodus');",
        "INSERT INTO chapters (uid, book, chapter, name) VALUES ('1', 1, 1, 'Genesis 1');",
        "INSERT INTO chapters (uid, book, chapter, name) VALUES ('2', 2, 1, 'Exodus 1');"}));
    TreeView vTree;
    vpDatabase->setTreeView(&vTree);
    if (bible)
        vpDatabase->setBible();
    else
        vpDatabase->setByYear();
    showTree(vTree);

    QStringList vcEvents;
    connect(&vTree, &TreeView::statusMessage,
            [&vcEvents](const QString &asText) { vcEvents << "message: " + asText; });
    connect(vpDatabase, &Database::statusTextUpdated, &vTree,
            [&vcEvents](const QString &asText) { vcEvents << "details: " + asText; });
    auto moveOver = [&vTree](const QModelIndex &aIndex) {
        QMouseEvent vMove(QEvent::MouseMove, vTree.visualRect(aIndex).center(), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vTree.viewport(), &vMove);
    };
    const QModelIndex vItem = viewIndex(vTree, top, 0);
    // The details come from the data store's thread (a running search must
    // not make the mouse wait).
    moveOver(vItem);
    QTRY_COMPARE(vcEvents, expected);
    // Moving on within the same item reports nothing new.
    moveOver(vItem);
    // A round trip through the data store's thread: any answer would be here.
    QMetaObject::invokeMethod(
        vpDatabase, [] {}, Qt::BlockingQueuedConnection);
    QCoreApplication::processEvents();
    QCOMPARE(vcEvents, expected);

    vcEvents.clear();
    QEvent vLeave(QEvent::Leave);
    QCoreApplication::sendEvent(vTree.viewport(), &vLeave);
    QCOMPARE(vcEvents, QStringList{"message: "});
    // After leaving, the same item is reported again.
    vcEvents.clear();
    moveOver(vItem);
    QTRY_COMPARE(vcEvents, expected);
}

QUILLMARK_TEST_MAIN(TestTreeView)

#include "test_treeview.moc"
