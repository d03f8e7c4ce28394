#include "widgets/updatedialog.h"

#include "controllers/application.h"
#include "controllers/archiveunpacker.h"
#include "controllers/downloadmanager.h"
#include "controllers/filename.h"

#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString entryName(const QString &asEntry)
{
    return asEntry.section(QLatin1Char(';'), 0, 0);
}

} // namespace

UpdateDialog::UpdateDialog(QWidget *parent)
    : QDialog(parent), mpTable(new QTableWidget(0, 2, this)),
      mpFileProgress(new QProgressBar(this)), mpOverallProgress(new QProgressBar(this)),
      mpStatus(new QLabel(this)), mpUpdateButton(new QPushButton(tr("Update"), this)),
      mpCancelButton(new QPushButton(tr("Cancel"), this))
{
    setWindowTitle(tr("Updating"));

    mpTable->setObjectName(QStringLiteral("vpTable"));
    mpTable->setAccessibleName(tr("Files to update"));
    mpTable->setHorizontalHeaderLabels({tr("Progress"), tr("Updating")});
    mpTable->setColumnWidth(0, 0);
    mpTable->setColumnHidden(0, true);
    mpTable->setColumnWidth(1, 300);
    mpTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A list to tick, not a sheet: no row numbers, the names across the
    // whole width, no sideways scrolling.
    mpTable->verticalHeader()->hide();
    mpTable->horizontalHeader()->setStretchLastSection(true);
    mpTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mpTable->setSelectionMode(QAbstractItemView::NoSelection);
    mpFileProgress->setObjectName(QStringLiteral("vpFileProgress"));
    mpOverallProgress->setObjectName(QStringLiteral("vpOverallProgress"));
    mpUpdateButton->setObjectName(QStringLiteral("vpUpdate"));
    mpCancelButton->setObjectName(QStringLiteral("vpCancel"));
    connect(mpUpdateButton, &QPushButton::clicked, this, &UpdateDialog::download);
    connect(mpCancelButton, &QPushButton::clicked, this, &UpdateDialog::reject);

    auto *vpButtons = new QHBoxLayout;
    vpButtons->addStretch();
    vpButtons->addWidget(mpUpdateButton);
    vpButtons->addWidget(mpCancelButton);
    auto *vpLayout = new QVBoxLayout(this);
    vpLayout->addWidget(mpTable);
    vpLayout->addWidget(mpFileProgress);
    vpLayout->addWidget(mpOverallProgress);
    vpLayout->addWidget(mpStatus);
    vpLayout->addLayout(vpButtons);
    resize(420, 420);
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::showUpdates(const QStringList &acEntries)
{
    mpFileProgress->setValue(0);
    mpOverallProgress->setValue(0);
    mcEntries = acEntries;
    mpTable->setRowCount(mcEntries.size());
    for (int vnRow = 0; vnRow < mcEntries.size(); ++vnRow) {
        auto *vpItem = new QTableWidgetItem(entryName(mcEntries.at(vnRow)));
        vpItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        vpItem->setCheckState(Qt::Checked);
        mpTable->setItem(vnRow, 1, vpItem);
    }
    mbCancelled = false;
    mpUpdateButton->setEnabled(true);
    exec();
}

void UpdateDialog::reject()
{
    if (!mbRunning) {
        QDialog::reject();
        return;
    }
    // The run ends itself once the reply has finished, and closes the dialog.
    mbCancelled = true;
    if (mpReply)
        mpReply->abort();
}

void UpdateDialog::download()
{
    // The rows are taken as they are now: the bar counts them, and a click
    // on a box while the files arrive changes nothing.
    QStringList vcNames;
    for (int vnRow = 0; vnRow < mpTable->rowCount(); ++vnRow) {
        const QTableWidgetItem *vpItem = mpTable->item(vnRow, 1);
        if (vpItem && vpItem->checkState() == Qt::Checked)
            vcNames.append(entryName(mcEntries.value(vnRow)));
    }
    mpOverallProgress->setMaximum(vcNames.size());
    mpUpdateButton->setEnabled(false);
    mbRunning = true;

    DownloadManager vManager;
    connect(&vManager, &DownloadManager::downloadingProgress, this,
            &UpdateDialog::downloadProgress);
    for (const QString &vsName : qAsConst(vcNames)) {
        mpFileProgress->setValue(0);
        if (FileName::isPlain(vsName)) {
            mpStatus->setText(tr("Downloading %0").arg(vsName));
            vManager.setFileName(QStringLiteral("%0/%1").arg(Application::importPath(), vsName));
            vManager.setVersion(DownloadManager::lineVersion(vsName));
            vManager.setUrl(QStringLiteral("%0/%1").arg(Application::updateServerBase(), vsName));
            QEventLoop vLoop;
            connect(&vManager, &DownloadManager::done, &vLoop, &QEventLoop::quit);
            mpReply = vManager.download(DownloadManager::DataFile);
            if (mpReply)
                vLoop.exec();
            mpReply = nullptr;
        } else {
            qDebug() << "Refused update name:" << vsName;
        }
        if (mbCancelled)
            break;
        mpOverallProgress->setValue(mpOverallProgress->value() + 1);
    }
    if (!mbCancelled)
        unpackImportFolder();

    mbRunning = false;
    if (mbCancelled)
        QDialog::reject();
    else
        accept();
}

void UpdateDialog::unpackImportFolder()
{
    const QString vsFolder = Application::importPath();
    const QStringList vcFiles =
        QDir(vsFolder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &vsName : vcFiles) {
        QCoreApplication::processEvents();
        if (mbCancelled)
            return;
        const QStringList vcExtracted =
            ArchiveUnpacker::extractAll(QStringLiteral("%0/%1").arg(vsFolder, vsName), vsFolder);
        if (vcExtracted.isEmpty()) {
            qDebug() << "Unpack failed";
            continue;
        }
        // The import reads the file and nothing may change it until then.
        QFile::setPermissions(vcExtracted.first(), QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                                       QFileDevice::ReadGroup |
                                                       QFileDevice::ReadOther);
        qDebug() << "Unpack successful";
    }
}

void UpdateDialog::downloadProgress(qint64 anRecieved, qint64 anTotal)
{
    // A total the server did not announce (-1) shows a busy bar.
    mpFileProgress->setMaximum(int(qMax<qint64>(anTotal, 0)));
    mpFileProgress->setValue(int(anRecieved));
}
