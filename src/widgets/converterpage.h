#pragma once

#include "controllers/textconverter.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class Database;
class FolderConversion;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSettings;
class QTableWidget;
class QToolButton;
class SharedOptions;
class StoreRequests;
class TreeView;

// The settings dialog's page for maintainers: converts a folder of source
// files into a data language's database (see FolderConversion), lists the
// files or Bible books as they go in, and afterwards shows the new catalogue
// in the tree with the imported sermons checked. Shown only when the
// "Converter" setting is on.
class ConverterPage : public QWidget
{
    Q_OBJECT

public:
    // The folder chooser: given the page and the folder shown, the chosen
    // folder or nothing. Replaceable, so that no test opens a file dialog.
    using DirectoryChooser = std::function<QString(QWidget *, const QString &)>;

    // apTree and apRequests may be null: no catalogue is refreshed then.
    ConverterPage(QSettings *apSettings, Database *apDatabase, SharedOptions *apOptions,
                  StoreRequests *apRequests, TreeView *apTree, QWidget *parent = nullptr);

    void setDirectoryChooser(DirectoryChooser aChooser) { mChooser = std::move(aChooser); }
    void chooseDirectory();
    // Checks the folder, then converts it; false when nothing was started.
    bool startImport();
    bool isRunning() const;

    QPushButton *importButton() const { return mpImportButton; }
    QToolButton *browseButton() const { return mpBrowseButton; }

signals:
    void runningChanged(bool abRunning);
    // The status line says how it went; the catalogue follows later.
    void importFinished(bool abComplete);

private:
    void addRow(const QString &asText);
    void finishImport(TextConverter::Outcome aOutcome, const QStringList &acTitles);
    bool refuse(const QString &asText);

    QSettings *mpSettings = nullptr;
    FolderConversion *mpConversion = nullptr;
    SharedOptions *mpOptions = nullptr;
    StoreRequests *mpRequests = nullptr;
    TreeView *mpTree = nullptr;
    DirectoryChooser mChooser;
    bool mbBible = false;

    QLineEdit *mpDirectoryEdit = nullptr;
    QToolButton *mpBrowseButton = nullptr;
    QRadioButton *mpQuotesButton = nullptr;
    QRadioButton *mpBibleButton = nullptr;
    QComboBox *mpLanguageCombo = nullptr;
    QTableWidget *mpFileTable = nullptr;
    QRadioButton *mpInsertButton = nullptr;
    QRadioButton *mpReplaceButton = nullptr;
    QPushButton *mpImportButton = nullptr;
    QProgressBar *mpProgress = nullptr;
    QLabel *mpStatusLabel = nullptr;
    QStringList mcImportedTitles;
};
