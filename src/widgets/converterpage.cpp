#include "widgets/converterpage.h"

#include "controllers/folderconversion.h"
#include "controllers/modalbox.h"
#include "controllers/sharedoptions.h"
#include "controllers/storerequests.h"
#include "views/treeview.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

QGroupBox *choiceBox(const QString &asTitle, QRadioButton *apFirst, QRadioButton *apSecond,
                     QWidget *apParent)
{
    auto *vpBox = new QGroupBox(asTitle, apParent);
    auto *vpLayout = new QVBoxLayout(vpBox);
    vpLayout->addWidget(apFirst);
    vpLayout->addWidget(apSecond);
    apFirst->setChecked(true);
    return vpBox;
}

} // namespace

// Its texts are in the settings dialog's translation context.
ConverterPage::ConverterPage(QSettings *apSettings, Database *apDatabase, SharedOptions *apOptions,
                             StoreRequests *apRequests, TreeView *apTree, QWidget *parent)
    : QWidget(parent), mpSettings(apSettings), mpOptions(apOptions), mpRequests(apRequests),
      mpTree(apTree)
{
    mpConversion = new FolderConversion(apDatabase, apOptions, this);
    mChooser = [](QWidget *apParent, const QString &asStart) {
        return QFileDialog::getExistingDirectory(
            apParent, QCoreApplication::translate("SettingsDialog", "Select directory"), asStart,
            QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    };

    auto *vpDirectoryRow = new QHBoxLayout;
    vpDirectoryRow->addWidget(
        new QLabel(QCoreApplication::translate("SettingsDialog", "Select directory:"), this));
    mpDirectoryEdit = new QLineEdit(this);
    mpDirectoryEdit->setReadOnly(true);
    vpDirectoryRow->addWidget(mpDirectoryEdit);
    mpBrowseButton = new QToolButton(this);
    mpBrowseButton->setText(QStringLiteral("..."));
    vpDirectoryRow->addWidget(mpBrowseButton);
    mpDirectoryEdit->setAccessibleName(
        QCoreApplication::translate("SettingsDialog", "Folder to import"));
    mpBrowseButton->setAccessibleName(
        QCoreApplication::translate("SettingsDialog", "Select directory"));

    mpQuotesButton =
        new QRadioButton(QCoreApplication::translate("SettingsDialog", "Quotes"), this);
    mpBibleButton = new QRadioButton(QCoreApplication::translate("SettingsDialog", "Bible"), this);
    mpInsertButton =
        new QRadioButton(QCoreApplication::translate("SettingsDialog", "Insert"), this);
    mpReplaceButton = new QRadioButton(
        QCoreApplication::translate("SettingsDialog", "Remove previous and insert again"), this);

    mpLanguageCombo = new QComboBox(this);
    mpLanguageCombo->setObjectName(QStringLiteral("languageCombo"));
    for (int n = 1;; ++n) {
        const QString vsCode = mpSettings->value(QStringLiteral("DBLang%0").arg(n)).toString();
        if (vsCode.isEmpty())
            break;
        mpLanguageCombo->addItem(vsCode);
    }
    // The language open in the window is the likely target.
    mpLanguageCombo->setCurrentIndex(
        std::max(0, mpLanguageCombo->findText(mpOptions->dataLanguage())));

    mpFileTable = new QTableWidget(0, 1, this);
    mpFileTable->setHorizontalHeaderLabels(
        {QCoreApplication::translate("SettingsDialog", "File Name")});
    mpFileTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mpFileTable->horizontalHeader()->setStretchLastSection(true);
    mpFileTable->verticalHeader()->setDefaultSectionSize(20);
    mpLanguageCombo->setAccessibleName(
        QCoreApplication::translate("SettingsDialog", "Language of the imported texts"));
    mpFileTable->setAccessibleName(
        QCoreApplication::translate("SettingsDialog", "Files to import"));
    if (auto *vpCorner =
            mpFileTable->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        vpCorner->setAccessibleName(
            QCoreApplication::translate("SettingsDialog", "Select all rows"));

    mpImportButton = new QPushButton(QCoreApplication::translate("SettingsDialog", "Import"), this);
    mpProgress = new QProgressBar(this);
    mpProgress->setValue(0);
    mpStatusLabel = new QLabel(this);

    auto *vpLayout = new QVBoxLayout(this);
    vpLayout->addLayout(vpDirectoryRow);
    vpLayout->addWidget(
        choiceBox(QCoreApplication::translate("SettingsDialog", "Imported information type"),
                  mpQuotesButton, mpBibleButton, this));
    vpLayout->addWidget(mpLanguageCombo);
    vpLayout->addWidget(mpFileTable);
    vpLayout->addWidget(choiceBox(QCoreApplication::translate("SettingsDialog", "Import type"),
                                  mpInsertButton, mpReplaceButton, this));
    vpLayout->addWidget(mpImportButton);
    vpLayout->addWidget(mpProgress);
    vpLayout->addWidget(mpStatusLabel);

    connect(mpConversion, &FolderConversion::fileConverted, this,
            [this](int anDone, int anTotal, const QString &asFile) {
                if (!mbBible)
                    addRow(asFile);
                mpProgress->setValue(anDone);
                // The run's last step takes a few seconds on a large database.
                if (anDone == anTotal)
                    mpStatusLabel->setText(QCoreApplication::translate(
                        "SettingsDialog", "Merging the search index and compacting the file…"));
            });
    connect(mpConversion, &FolderConversion::bookFound, this, &ConverterPage::addRow);
    connect(mpConversion, &FolderConversion::finished, this, &ConverterPage::finishImport);
    connect(mpConversion, &FolderConversion::refused, this, [this](const QString &asLanguage) {
        mpImportButton->setEnabled(true);
        emit runningChanged(false);
        refuse(QCoreApplication::translate("SettingsDialog",
                                           "The %1 database already has a Bible; another one "
                                           "would mix with it. Choose \"Remove previous and "
                                           "insert again\" to replace it.")
                   .arg(asLanguage));
        emit importFinished(false);
    });
}

bool ConverterPage::isRunning() const
{
    return mpConversion->isRunning();
}

void ConverterPage::chooseDirectory()
{
    const QString vsChosen = mChooser(this, mpDirectoryEdit->text());
    if (!vsChosen.isEmpty())
        mpDirectoryEdit->setText(vsChosen);
}

bool ConverterPage::refuse(const QString &asText)
{
    ModalBox::information(this, QCoreApplication::applicationName(), asText);
    return false;
}

bool ConverterPage::startImport()
{
    if (isRunning())
        return false;
    const QString vsDirectory = mpDirectoryEdit->text();
    if (vsDirectory.isEmpty())
        return refuse(QCoreApplication::translate("SettingsDialog", "You didn't choose directory"));
    // Checked before anything changes: with "Remove previous and insert
    // again", a folder that gives nothing would leave the tables empty.
    const QFileInfo vFolder(vsDirectory);
    const QString vsShown = QDir::toNativeSeparators(vsDirectory);
    if (!vFolder.isDir() || !vFolder.isReadable() || !vFolder.isExecutable())
        return refuse(QCoreApplication::translate(
                          "SettingsDialog", "The folder %1 cannot be read; nothing was changed.")
                          .arg(vsShown));
    const QStringList vcFiles = TextConverter::sourceFiles(vsDirectory);
    if (vcFiles.isEmpty())
        return refuse(QCoreApplication::translate(
                          "SettingsDialog",
                          "The folder %1 holds no source files (*.txt, *.sog); nothing was "
                          "changed.")
                          .arg(vsShown));

    mpProgress->setValue(0);
    mpStatusLabel->clear();
    mpFileTable->setRowCount(0);
    mcImportedTitles.clear();
    mpProgress->setMaximum(vcFiles.size());

    TextConverter::ImportRun vRun;
    vRun.msDirectory = vsDirectory;
    vRun.msLanguage =
        mpLanguageCombo->count() > 0 ? mpLanguageCombo->currentText() : mpOptions->dataLanguage();
    mbBible = mpBibleButton->isChecked();
    vRun.mType = mbBible ? TextConverter::ImportRun::Bible : TextConverter::ImportRun::Quotes;
    vRun.mbReplace = mpReplaceButton->isChecked();
    mpImportButton->setEnabled(false);
    mpConversion->start(vRun);
    emit runningChanged(true);
    return true;
}

void ConverterPage::addRow(const QString &asText)
{
    const int vnRow = mpFileTable->rowCount();
    mpFileTable->insertRow(vnRow);
    mpFileTable->setItem(vnRow, 0, new QTableWidgetItem(asText));
    mpFileTable->setCurrentCell(vnRow, 0);
}

void ConverterPage::finishImport(TextConverter::Outcome aOutcome, const QStringList &acTitles)
{
    mcImportedTitles = acTitles;
    switch (aOutcome) {
    case TextConverter::Outcome::Complete:
        mpStatusLabel->setText(QCoreApplication::translate("SettingsDialog", "Import complete!"));
        break;
    case TextConverter::Outcome::Incomplete:
        mpStatusLabel->setText(QCoreApplication::translate(
            "SettingsDialog", "Import complete, but some files could not be read or some "
                              "statements failed; see the log."));
        break;
    case TextConverter::Outcome::NothingWritten:
        mpStatusLabel->setText(QCoreApplication::translate(
            "SettingsDialog", "Nothing was imported: the data file could not take the texts. "
                              "The data and the source files are as they were."));
        break;
    }
    mpImportButton->setEnabled(true);
    emit runningChanged(false);
    emit importFinished(aOutcome == TextConverter::Outcome::Complete);
    if (!mpRequests || !mpTree)
        return;

    const bool vbDuplicates = mpOptions->showDuplicates();
    if (mbBible) {
        mpRequests->loadCatalogue(CatalogueTree::Bible, vbDuplicates);
        return;
    }
    // The tree shows the catalogue when it arrives (connected before this
    // page existed, so it is filled first); the new sermons are checked then.
    auto vpMarking = std::make_shared<QMetaObject::Connection>();
    *vpMarking = connect(mpRequests, &StoreRequests::catalogueLoaded, this, [this, vpMarking] {
        disconnect(*vpMarking);
        mpTree->checkItems(mcImportedTitles);
    });
    mpRequests->loadCatalogue(mpTree->kind(), vbDuplicates);
}
