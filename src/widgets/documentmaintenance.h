#pragma once

#include "models/documentexport.h"
#include "models/documentremoval.h"

#include <QObject>

class StoreRequests;
class TreeView;
class QWidget;

// Carries out the catalogue tree's Export and Delete once the maintainer has
// confirmed them: the work runs on the data store's thread, so the window
// keeps painting; the answer is shown here (where the archive is, or why
// nothing was written) and a deletion refreshes the catalogue. The tree's
// two commands wait while one runs.
class DocumentMaintenance : public QObject
{
    Q_OBJECT

public:
    // apWindow parents the boxes.
    DocumentMaintenance(TreeView *apTree, StoreRequests *apRequests, QWidget *apWindow);

signals:
    // Documents were deleted: the catalogue and the counts are out of date.
    void catalogueChanged();

private:
    void start(bool abExport, const QString &asKeys);
    void showExported(const DocumentExport::Report &aReport);
    void showDeleted(const DocumentRemoval::Report &aReport);
    void setBusy(bool abBusy);

    TreeView *mpTree;
    StoreRequests *mpRequests;
    QWidget *mpWindow;
};
