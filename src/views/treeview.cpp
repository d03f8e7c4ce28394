#include "views/treeview.h"

#include "controllers/application.h"
#include "controllers/modalbox.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "controllers/storerequests.h"
#include "models/catalogue.h"
#include "widgets/toolbar.h"

#include <QAction>
#include <QDebug>
#include <QEvent>
#include <QMouseEvent>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

TreeView::TreeView(QWidget *parent) : QTreeView(parent)
{
    setWordWrap(true);
    setHeaderHidden(true);
    mpModel = new QStandardItemModel(this);
    mpProxy = new QSortFilterProxyModel(this);
    mpProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);

    mpCheckAllAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/check_all.png")), QString(), this);
    mpUncheckAllAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/uncheck_all.png")), QString(), this);
    mpCheckInverseAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/check_inv.png")), QString(), this);
    mpExpandAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/expand_tree.png")), QString(), this);
    mpExpandAction->setCheckable(true);
    if (Application::settings()->value(QStringLiteral("Converter"), false).toBool()) {
        mpExportAction =
            new QAction(Resources::icon(QStringLiteral(":/icons/export.png")), QString(), this);
        mpDeleteAction = new QAction(Resources::icon(QStringLiteral(":/icons/remove_record.png")),
                                     QString(), this);
        connect(mpExportAction, &QAction::triggered, this, &TreeView::exportSql);
        connect(mpDeleteAction, &QAction::triggered, this, &TreeView::deleteSql);
    }
    connect(mpCheckAllAction, &QAction::triggered, this, &TreeView::checkAll);
    connect(mpUncheckAllAction, &QAction::triggered, this, &TreeView::uncheckAll);
    connect(mpCheckInverseAction, &QAction::triggered, this, &TreeView::checkInverseAll);
    connect(mpExpandAction, &QAction::triggered, this, &TreeView::toggleTree);
    retranslate();

    setContextMenuPolicy(Qt::ActionsContextMenu);
    addActions({mpCheckAllAction, mpUncheckAllAction, mpCheckInverseAction, mpExpandAction});
    if (mpExportAction)
        addActions({mpExportAction, mpDeleteAction});

    connect(mpModel, &QStandardItemModel::itemChanged, this, &TreeView::itemChanged);
    connect(this, &QTreeView::doubleClicked, this, &TreeView::itemDoubleClicked);
    connect(this, &QTreeView::expanded, this, &TreeView::expandColumn);
    connect(this, &QTreeView::collapsed, this, &TreeView::expandColumn);

    mpProxy->setSourceModel(mpModel);
    setModel(mpProxy);
    viewport()->installEventFilter(this);
    setMouseTracking(true);
    applyFont();
}

void TreeView::clearTree()
{
    mpModel->clear();
    mbPropagating = false;
    msLastHoverText.clear();
    // Unknown until a catalogue says (a fill item by item does not).
    msLanguage.clear();
    // A new catalogue starts collapsed; the expand command must offer expanding.
    if (mpExpandAction->isChecked()) {
        mpExpandAction->setChecked(false);
        toggleTree(false);
    }
}

void TreeView::showCatalogue(const Catalogue &aCatalogue)
{
    aCatalogue.fill(*this);
    msLanguage = aCatalogue.msLanguage;
}

PageContext TreeView::pageContext() const
{
    return {mnKind,
            msLanguage.isEmpty() ? Application::sharedOptions()->dataLanguage() : msLanguage};
}

void TreeView::setKind(int anKind)
{
    mnKind = anKind;
    emit kindChanged(anKind);
}

int TreeView::kind() const
{
    return mnKind;
}

int TreeView::topLevelCount() const
{
    return mpModel->rowCount();
}

QStandardItem *TreeView::prepareItem(const QString &asText, const QString &asData, bool abItalic,
                                     const QString &asToolTip)
{
    auto *vpItem = new QStandardItem(asText);
    vpItem->setFlags(Qt::ItemIsEnabled);
    if (mnKind != Bible) {
        vpItem->setFlags(vpItem->flags() | Qt::ItemIsUserCheckable);
        vpItem->setCheckState(Qt::Unchecked);
    }
    vpItem->setWhatsThis(asData);
    if (!asToolTip.isEmpty())
        vpItem->setToolTip(asToolTip);
    if (abItalic) {
        QFont vFont = font();
        vFont.setItalic(true);
        vpItem->setFont(vFont);
    }
    return vpItem;
}

QStandardItem *TreeView::addTopItem(const QString &asText, const QString &asData, bool abItalic,
                                    const QString &asToolTip)
{
    QStandardItem *vpItem = prepareItem(asText, asData, abItalic, asToolTip);
    vpItem->setIcon(Resources::icon(QStringLiteral(":/icons/item.png")));
    QFont vFont = font();
    vFont.setBold(true);
    vFont.setItalic(abItalic);
    vpItem->setFont(vFont);
    mpModel->appendRow(vpItem);
    return vpItem;
}

QStandardItem *TreeView::addItem(const QString &asText, int anParentRow, const QString &asData,
                                 bool abItalic, const QString &asToolTip, bool abHasMp3)
{
    QStandardItem *vpParent = mpModel->item(anParentRow);
    if (!vpParent)
        return nullptr;
    return addChildItem(asText, vpParent, asData, abItalic, asToolTip, abHasMp3);
}

QStandardItem *TreeView::addChildItem(const QString &asText, QStandardItem *apParent,
                                      const QString &asData, bool abItalic,
                                      const QString &asToolTip, bool abHasMp3)
{
    if (!apParent)
        return nullptr;
    QStandardItem *vpItem = prepareItem(asText, asData, abItalic, asToolTip);
    vpItem->setIcon(Resources::icon(abHasMp3 ? QStringLiteral(":/icons/mp3.png")
                                             : QStringLiteral(":/icons/history.png")));
    // A maintainer exports or deletes single chapters, so with those
    // commands a chapter takes a check by hand (a book still does not).
    if (mnKind == Bible && mpDeleteAction) {
        vpItem->setFlags(vpItem->flags() | Qt::ItemIsUserCheckable);
        vpItem->setCheckState(Qt::Unchecked);
    }
    apParent->appendRow(vpItem);
    return vpItem;
}

QStringList TreeView::checkedChildKeys() const
{
    QStringList vcKeys;
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow) {
        const QStandardItem *vpTop = mpModel->item(vnRow);
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild) {
            const QStandardItem *vpChild = vpTop->child(vnChild);
            if (vpChild && vpChild->checkState() == Qt::Checked)
                vcKeys.append(vpChild->whatsThis());
        }
    }
    return vcKeys;
}

QString TreeView::checkedSermons() const
{
    const QStringList vcKeys = checkedChildKeys();
    return vcKeys.isEmpty() ? QString() : QStringLiteral("(%0)").arg(vcKeys.join(QLatin1Char(',')));
}

QString TreeView::checkedChapters() const
{
    QStringList vcKeys;
    for (const QString &vsKey : checkedChildKeys())
        vcKeys.append(QString::number(vsKey.toInt()));
    return vcKeys.isEmpty() ? QString() : QStringLiteral("(%0)").arg(vcKeys.join(QLatin1Char(',')));
}

void TreeView::checkItems(const QStringList &acTitles)
{
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow) {
        QStandardItem *vpTop = mpModel->item(vnRow);
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild) {
            QStandardItem *vpChild = vpTop->child(vnChild);
            vpChild->setCheckState(Qt::Unchecked);
            if (acTitles.contains(vpChild->text())) {
                vpChild->setCheckState(Qt::Checked);
                expand(mpProxy->mapFromSource(vpTop->index()));
            }
        }
    }
}

QString TreeView::findDocumentKey(const QString &asText) const
{
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow) {
        const QStandardItem *vpTop = mpModel->item(vnRow);
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild)
            if (vpTop->child(vnChild)->text().contains(asText))
                return vpTop->child(vnChild)->whatsThis();
    }
    return QString();
}

void TreeView::applyFont()
{
    QSettings *vpSettings = Application::settings();
    QFont vFont(vpSettings->value(QStringLiteral("fontName"), QStringLiteral("Arial")).toString());
    vFont.setPointSize(vpSettings->value(QStringLiteral("fontSize"), 10).toInt());
    setFont(vFont);
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow) {
        QStandardItem *vpTop = mpModel->item(vnRow);
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild) {
            QStandardItem *vpChild = vpTop->child(vnChild);
            QFont vChildFont = vFont;
            vChildFont.setItalic(vpChild->font().italic());
            vpChild->setFont(vChildFont);
        }
    }
}

void TreeView::setToolBar(ToolBar *apToolBar)
{
    if (mpToolBar == apToolBar)
        return;
    mpToolBar = apToolBar;
    if (mpToolBar && mpToolBar->duplicatesAction())
        addAction(mpToolBar->duplicatesAction());
}

void TreeView::setPageOpener(PageOpener *apOpener)
{
    mpPageOpener = apOpener;
}

void TreeView::setAllTopLevel(Qt::CheckState aState)
{
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow)
        mpModel->item(vnRow)->setCheckState(aState);
}

void TreeView::checkAll()
{
    setAllTopLevel(Qt::Checked);
}

void TreeView::uncheckAll()
{
    setAllTopLevel(Qt::Unchecked);
}

void TreeView::checkInverseAll()
{
    expandAll();
    auto toggle = [](QStandardItem *apItem) {
        apItem->setCheckState(apItem->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    };
    for (int vnRow = 0; vnRow < mpModel->rowCount(); ++vnRow) {
        QStandardItem *vpTop = mpModel->item(vnRow);
        if (!vpTop->hasChildren())
            toggle(vpTop);
        for (int vnChild = 0; vnChild < vpTop->rowCount(); ++vnChild)
            toggle(vpTop->child(vnChild));
    }
}

void TreeView::collapseAll()
{
    for (int vnRow = 0; vnRow < mpProxy->rowCount(); ++vnRow)
        collapse(mpProxy->index(vnRow, 0));
}

void TreeView::expandAll()
{
    for (int vnRow = 0; vnRow < mpProxy->rowCount(); ++vnRow)
        expand(mpProxy->index(vnRow, 0));
}

void TreeView::toggleTree(bool abExpand)
{
    mpExpandAction->setText(abExpand ? tr("Collapse") : tr("Expand"));
    mpExpandAction->setIcon(Resources::icon(abExpand ? QStringLiteral(":/icons/collapse_tree.png")
                                                     : QStringLiteral(":/icons/expand_tree.png")));
    if (abExpand)
        expandAll();
    else
        collapseAll();
}

void TreeView::itemChanged(QStandardItem *apItem)
{
    if (mnKind == Bible || mbPropagating || !apItem)
        return;
    mbPropagating = true;
    if (QStandardItem *vpParent = apItem->parent()) {
        int vnChecked = 0;
        for (int vnChild = 0; vnChild < vpParent->rowCount(); ++vnChild)
            if (vpParent->child(vnChild)->checkState() == Qt::Checked)
                ++vnChecked;
        vpParent->setCheckState(vnChecked == 0                      ? Qt::Unchecked
                                : vnChecked == vpParent->rowCount() ? Qt::Checked
                                                                    : Qt::PartiallyChecked);
    } else if (apItem->checkState() != Qt::PartiallyChecked) {
        // The partial state only mirrors the sermons; any other change of a
        // group (its icon when it expands) must not push it down to them.
        for (int vnChild = 0; vnChild < apItem->rowCount(); ++vnChild)
            apItem->child(vnChild)->setCheckState(apItem->checkState());
    }
    mbPropagating = false;
}

void TreeView::itemDoubleClicked(QModelIndex aIndex)
{
    const QModelIndex vSource = aIndex.model() == mpProxy ? mpProxy->mapToSource(aIndex) : aIndex;
    qDebug() << Q_FUNC_INFO << vSource.parent().isValid() << mnKind;
    if (!vSource.isValid() || !vSource.parent().isValid() || !mpPageOpener)
        return;
    QStandardItem *vpParent = mpModel->item(vSource.parent().row());
    QStandardItem *vpItem = vpParent ? vpParent->child(vSource.row()) : nullptr;
    if (!vpItem)
        return;
    const QString vsText = vpItem->text();

    if (mnKind == Bible) {
        TabArea *vpPage = mpPageOpener->openTab(vsText, pageContext());
        if (!vpPage)
            return;
        const int vnChapter = vsText.section(QLatin1Char(' '), -1).toInt();
        emit openBibleChapter(vpPage, vpParent->whatsThis().toInt(), vnChapter);
        return;
    }
    bool vbNumber = false;
    const int vnKey = vpItem->whatsThis().toInt(&vbNumber);
    if (!vbNumber)
        return;
    TabArea *vpPage = mpPageOpener->openTab(vsText, pageContext());
    if (!vpPage)
        return;
    mpPageOpener->setDocumentId(vpPage, vnKey);
    emit openQuotesParagraph(vpPage, vnKey);
}

void TreeView::expandColumn(QModelIndex aIndex)
{
    const QModelIndex vSource = aIndex.model() == mpProxy ? mpProxy->mapToSource(aIndex) : aIndex;
    if (vSource.parent().isValid())
        return;
    if (QStandardItem *vpItem = mpModel->itemFromIndex(vSource))
        vpItem->setIcon(Resources::icon(isExpanded(aIndex) ? QStringLiteral(":/icons/opened.png")
                                                           : QStringLiteral(":/icons/closed.png")));
}

bool TreeView::confirm(const QString &asQuestion) const
{
    return ModalBox::question(const_cast<TreeView *>(this), tr("Warning"), asQuestion,
                              QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
}

void TreeView::exportSql()
{
    const QString vsList = mnKind == Bible ? checkedChapters() : checkedSermons();
    // Said before the question: there is nothing to confirm.
    if (vsList.isEmpty())
        ModalBox::warning(this, tr("Warning!"), tr("Nothing selected to export!"));
    else if (confirm(tr("Export selected documents?")))
        emit exportRequested(vsList);
}

void TreeView::deleteSql()
{
    const QString vsList = mnKind == Bible ? checkedChapters() : checkedSermons();
    if (vsList.isEmpty())
        ModalBox::warning(this, tr("Warning!"), tr("Nothing selected to delete!"));
    else if (confirm(tr("Delete selected documents?")))
        emit deleteRequested(vsList);
}

void TreeView::showHoverStatus(const QModelIndex &aIndex)
{
    const QString vsText = aIndex.data(Qt::DisplayRole).toString();
    if (vsText.isEmpty()) {
        clearHoverStatus();
        return;
    }
    if (vsText == msLastHoverText)
        return;
    msLastHoverText = vsText;
    if (!mpRequests)
        return;
    // Answered on the data store's thread: the mouse never waits for a search
    // that holds the connection.
    if (mnKind == Bible) {
        const QModelIndex vSource = mpProxy->mapToSource(aIndex);
        mpRequests->askStatusText(
            true, QString(), vSource.parent().isValid() ? vSource.parent().row() : vSource.row());
    } else {
        emit statusMessage(QStringLiteral("-"));
        QString vsDate = vsText.mid(vsText.indexOf(QLatin1Char('(')) + 1);
        vsDate.chop(1);
        mpRequests->askStatusText(false, vsDate, 0);
    }
}

void TreeView::clearHoverStatus()
{
    if (mpRequests)
        mpRequests->dropStatusText();
    emit statusMessage(QString());
    msLastHoverText.clear();
}

bool TreeView::eventFilter(QObject *apWatched, QEvent *apEvent)
{
    if (apWatched == viewport()) {
        if (apEvent->type() == QEvent::MouseMove) {
            const auto *vpMove = static_cast<QMouseEvent *>(apEvent);
            showHoverStatus(indexAt(vpMove->pos()));
        } else if (apEvent->type() == QEvent::Leave) {
            clearHoverStatus();
        }
    }
    return QTreeView::eventFilter(apWatched, apEvent);
}

void TreeView::retranslate()
{
    mpCheckAllAction->setText(tr("Check all"));
    mpUncheckAllAction->setText(tr("Uncheck all"));
    mpCheckInverseAction->setText(tr("Check inverse"));
    mpExpandAction->setText(mpExpandAction->isChecked() ? tr("Collapse") : tr("Expand"));
    if (mpExportAction) {
        mpExportAction->setText(tr("Export"));
        mpDeleteAction->setText(tr("Delete"));
    }
    setAccessibleName(tr("Catalogue"));
    setAccessibleDescription(
        tr("Ticked documents are the ones searched; a double click opens a document"));
}

void TreeView::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        retranslate();
    QTreeView::changeEvent(apEvent);
}
