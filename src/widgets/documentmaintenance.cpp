#include "widgets/documentmaintenance.h"

#include "controllers/modalbox.h"
#include "controllers/storerequests.h"
#include "models/cataloguetree.h"
#include "views/treeview.h"

#include <QAction>
#include <QDir>

DocumentMaintenance::DocumentMaintenance(TreeView *apTree, StoreRequests *apRequests,
                                         QWidget *apWindow)
    : QObject(apWindow), mpTree(apTree), mpRequests(apRequests), mpWindow(apWindow)
{
    connect(mpTree, &TreeView::exportRequested, this,
            [this](const QString &asKeys) { start(true, asKeys); });
    connect(mpTree, &TreeView::deleteRequested, this,
            [this](const QString &asKeys) { start(false, asKeys); });
    connect(mpRequests, &StoreRequests::documentsExported, this,
            &DocumentMaintenance::showExported);
    connect(mpRequests, &StoreRequests::documentsDeleted, this, &DocumentMaintenance::showDeleted);
}

void DocumentMaintenance::start(bool abExport, const QString &asKeys)
{
    setBusy(true);
    // The keys are those of the catalogue on show, in its data language,
    // whatever the window has switched to since.
    const QString vsLanguage = mpTree->catalogueLanguage();
    const bool vbBible = mpTree->kind() == CatalogueTree::Bible;
    if (abExport)
        mpRequests->exportDocuments(vsLanguage, vbBible, asKeys);
    else
        mpRequests->deleteDocuments(vsLanguage, vbBible, asKeys);
}

void DocumentMaintenance::setBusy(bool abBusy)
{
    for (QAction *vpAction : {mpTree->exportAction(), mpTree->deleteAction()})
        if (vpAction)
            vpAction->setEnabled(!abBusy);
}

void DocumentMaintenance::showExported(const DocumentExport::Report &aReport)
{
    setBusy(false);
    const QString vsPath = QDir::toNativeSeparators(aReport.msPath);
    switch (aReport.mStatus) {
    case DocumentExport::Report::Written: {
        QString vsBase = vsPath;
        vsBase.chop(4); // ".zip"
        ModalBox::information(mpWindow, tr("Information"),
                              tr("Updates ready in file: %0.zip").arg(vsBase));
        return;
    }
    case DocumentExport::Report::NothingSelected:
    case DocumentExport::Report::NotAKeyList:
        ModalBox::warning(mpWindow, tr("Warning!"), tr("Nothing selected to export!"));
        return;
    case DocumentExport::Report::FolderNotWritable:
        ModalBox::warning(mpWindow, tr("Warning!"),
                          tr("Nothing was exported: the folder %0 cannot be written (%1).")
                              .arg(vsPath, aReport.msProblem));
        return;
    case DocumentExport::Report::WriteFailed:
        ModalBox::warning(mpWindow, tr("Warning!"),
                          tr("Nothing was exported: the archive %0 could not be written (%1).")
                              .arg(vsPath, aReport.msProblem));
        return;
    case DocumentExport::Report::ReadFailed:
        ModalBox::warning(
            mpWindow, tr("Warning!"),
            tr("Nothing was exported: the documents could not be read from the database (%0).")
                .arg(aReport.msProblem));
        return;
    }
}

void DocumentMaintenance::showDeleted(const DocumentRemoval::Report &aReport)
{
    setBusy(false);
    switch (aReport.mStatus) {
    case DocumentRemoval::Report::Deleted:
        emit catalogueChanged();
        return;
    case DocumentRemoval::Report::NothingSelected:
    case DocumentRemoval::Report::NotAKeyList:
        ModalBox::warning(mpWindow, tr("Warning!"), tr("Nothing selected to delete!"));
        return;
    case DocumentRemoval::Report::Failed:
        ModalBox::warning(mpWindow, tr("Warning!"),
                          tr("Nothing was deleted: the database refused the change (%0).")
                              .arg(aReport.msProblem));
        return;
    }
}
