#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QLabel;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QTableWidget;

// Offers the updates the server's version list names, fetches the ones the
// user keeps checked into the import folder and unpacks them there; they are
// imported at the next start. Cancel (or closing the window) during a
// download stops the run at once: files already fetched stay for the next
// start, the one in flight leaves nothing behind.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget *parent = nullptr);
    ~UpdateDialog() override;

    // Shows one checked row per entry ("name" or "name;note") and returns
    // when the dialog closes.
    void showUpdates(const QStringList &acEntries);

public slots:
    // Also what the Cancel button and the window's close button do.
    void reject() override;

private slots:
    void download();
    void downloadProgress(qint64 anRecieved, qint64 anTotal);

private:
    void unpackImportFolder();

    QTableWidget *mpTable = nullptr;
    QProgressBar *mpFileProgress = nullptr;
    QProgressBar *mpOverallProgress = nullptr;
    QLabel *mpStatus = nullptr;
    QPushButton *mpUpdateButton = nullptr;
    QPushButton *mpCancelButton = nullptr;
    QStringList mcEntries;

    bool mbRunning = false;
    bool mbCancelled = false;
    // The download in flight, which a cancel aborts.
    QPointer<QNetworkReply> mpReply;
};
