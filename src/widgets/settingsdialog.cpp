#include "widgets/settingsdialog.h"

#include "controllers/application.h"
#include "controllers/modalbox.h"
#include "controllers/sharedoptions.h"
#include "widgets/converterpage.h"
#include "widgets/versiontable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString csFontName = QStringLiteral("fontName");
const QString csFontSize = QStringLiteral("fontSize");
const QString csStyle = QStringLiteral("style");
const QString csStyleSheet = QStringLiteral("styleSheet");

// Makes the entry equal to asText current, or leaves the list without one.
void selectEntry(QListWidget *apList, const QString &asText)
{
    const QList<QListWidgetItem *> vcFound = apList->findItems(asText, Qt::MatchExactly);
    if (!vcFound.isEmpty())
        apList->setCurrentItem(vcFound.first());
}

// The style the application draws with: beneath the wrapper a style sheet
// puts around it, the style that was set.
const QStyle *styleInUse()
{
    const QStyle *vpStyle = QApplication::style();
    if (vpStyle->inherits("QStyleSheetStyle"))
        if (const auto *vpBase =
                vpStyle->findChild<QStyle *>(QString(), Qt::FindDirectChildrenOnly))
            return vpBase;
    return vpStyle;
}

} // namespace

SettingsDialog::SettingsDialog(QSettings *apSettings, SharedOptions *apOptions,
                               Database *apDatabase, StoreRequests *apRequests, TreeView *apTree,
                               QWidget *parent)
    : QDialog(parent), mpSettings(apSettings), mpOptions(apOptions)
{
    setWindowTitle(tr("Settings"));
    mpTabs = new QTabWidget(this);
    mpOkButton = new QPushButton(tr("OK"), this);
    mpApplyButton = new QPushButton(tr("Apply"), this);
    mpCancelButton = new QPushButton(tr("Cancel"), this);

    mpTabs->addTab(createFontPage(), tr("Font"));
    mpVersionTable = new VersionTable(mpSettings, this);
    mpTabs->addTab(mpVersionTable, tr("Updating"));
    mpTabs->addTab(createStylePage(), tr("Style"));
    if (mpSettings->value(QStringLiteral("Converter"), false).toBool()) {
        mpConverterPage =
            new ConverterPage(mpSettings, apDatabase, mpOptions, apRequests, apTree, this);
        mpTabs->addTab(mpConverterPage, tr("Convertor"));
        connect(mpConverterPage->importButton(), &QPushButton::clicked, this,
                &SettingsDialog::import);
        connect(mpConverterPage->browseButton(), &QToolButton::clicked, this,
                &SettingsDialog::selectDirectory);
        connect(mpConverterPage, &ConverterPage::runningChanged, this, [this](bool abRunning) {
            mpOkButton->setEnabled(!abRunning);
            mpCancelButton->setEnabled(!abRunning);
        });
    }
    mpTabs->addTab(createContentPage(), tr("Content"));

    auto *vpButtons = new QHBoxLayout;
    vpButtons->addStretch();
    vpButtons->addWidget(mpOkButton);
    vpButtons->addWidget(mpApplyButton);
    vpButtons->addWidget(mpCancelButton);
    auto *vpLayout = new QVBoxLayout(this);
    vpLayout->addWidget(mpTabs);
    vpLayout->addLayout(vpButtons);
    if (auto *vpBar = mpTabs->findChild<QTabBar *>())
        vpBar->setAccessibleName(tr("Settings"));

    connect(mpOkButton, &QPushButton::clicked, this, &SettingsDialog::approve);
    connect(mpOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mpApplyButton, &QPushButton::clicked, this, &SettingsDialog::apply);
    connect(mpCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    selectStyleInUse();
    loadStyleSheet(mpSheetCombo->currentText());
}

QWidget *SettingsDialog::createFontPage()
{
    auto *vpPage = new QWidget(this);
    mpFontEdit = new QLineEdit(vpPage);
    mpSizeEdit = new QLineEdit(vpPage);
    mpSizeEdit->setFixedWidth(60);
    mpFontList = new QListWidget(vpPage);
    mpFontList->addItems(QFontDatabase().families());
    mpSizeList = new QListWidget(vpPage);
    mpSizeEdit->setObjectName(QStringLiteral("sizeEdit"));
    mpFontList->setObjectName(QStringLiteral("fontList"));
    mpSizeList->setObjectName(QStringLiteral("sizeList"));
    mpSizeList->setMaximumWidth(60);
    for (int vnSize : {6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36})
        mpSizeList->addItem(QString::number(vnSize));
    connect(mpFontList, &QListWidget::currentTextChanged, mpFontEdit, &QLineEdit::setText);
    connect(mpSizeList, &QListWidget::currentTextChanged, mpSizeEdit, &QLineEdit::setText);
    selectEntry(mpFontList, mpSettings->value(csFontName, QStringLiteral("Arial")).toString());
    selectEntry(mpSizeList, mpSettings->value(csFontSize, 10).toString());

    mpFontEdit->setAccessibleName(tr("Font name"));
    mpSizeEdit->setAccessibleName(tr("Size"));
    mpFontList->setAccessibleName(tr("Fonts"));
    mpSizeList->setAccessibleName(tr("Sizes"));

    auto *vpGrid = new QGridLayout;
    vpGrid->addWidget(new QLabel(tr("Font name"), vpPage), 0, 0);
    vpGrid->addWidget(new QLabel(tr("Size"), vpPage), 0, 1);
    vpGrid->addWidget(mpFontEdit, 1, 0);
    vpGrid->addWidget(mpSizeEdit, 1, 1);
    vpGrid->addWidget(mpFontList, 2, 0);
    vpGrid->addWidget(mpSizeList, 2, 1);
    auto *vpLayout = new QVBoxLayout(vpPage);
    vpLayout->addLayout(vpGrid);
    vpLayout->addWidget(
        new QLabel(tr("Note: The font will be changed only at new opened tabs (texts)"), vpPage));
    return vpPage;
}

QWidget *SettingsDialog::createStylePage()
{
    auto *vpPage = new QWidget(this);
    mpStyleCombo = new QComboBox(vpPage);
    mpStyleCombo->addItems(QStyleFactory::keys());
    mpSheetCombo = new QComboBox(vpPage);
    // Entries name their files, so this one stays untranslated.
    mpSheetCombo->addItem(QStringLiteral("Default"));
    for (const QFileInfo &vFile :
         QDir(Application::stylePath())
             .entryInfoList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name)) {
        if (vFile.fileName() != QLatin1String("default.qss"))
            mpSheetCombo->addItem(vFile.completeBaseName());
    }
    mpSheetEditor = new QTextEdit(vpPage);
    mpStyleCombo->setObjectName(QStringLiteral("styleCombo"));
    mpSheetCombo->setObjectName(QStringLiteral("sheetCombo"));
    mpStyleCombo->setAccessibleName(tr("Style"));
    mpSheetCombo->setAccessibleName(tr("Style sheet"));
    mpSheetEditor->setAccessibleName(tr("Style sheet text"));
    mpSheetEditor->setAccessibleDescription(tr("Apply saves the text and applies it"));

    auto *vpRow = new QHBoxLayout;
    vpRow->setSpacing(6);
    vpRow->setContentsMargins(0, 0, 0, 0);
    vpRow->addSpacing(32);
    vpRow->addWidget(new QLabel(tr("Style:"), vpPage));
    vpRow->addWidget(mpStyleCombo);
    vpRow->addSpacing(10);
    vpRow->addWidget(new QLabel(tr("Style Sheet:"), vpPage));
    vpRow->addWidget(mpSheetCombo);
    vpRow->addSpacing(32);
    auto *vpLayout = new QVBoxLayout(vpPage);
    vpLayout->addLayout(vpRow);
    vpLayout->addWidget(mpSheetEditor);

    connect(mpSheetEditor, &QTextEdit::textChanged, this, &SettingsDialog::enableApply);
    connect(mpSheetCombo, &QComboBox::textActivated, this, &SettingsDialog::loadStyleSheet);
    connect(mpStyleCombo, &QComboBox::textActivated, this,
            &SettingsDialog::loadStyleAndDisableApply);
    return vpPage;
}

QWidget *SettingsDialog::createContentPage()
{
    auto *vpPage = new QWidget(this);
    auto *vpMedia = new QGroupBox(tr("Media"), vpPage);
    mpPlayRemoteBox = new QCheckBox(tr("Play sound directly"), vpMedia);
    mpPlayRemoteBox->setChecked(mpOptions->playRemote());
    auto *vpMediaLayout = new QVBoxLayout(vpMedia);
    vpMediaLayout->addWidget(mpPlayRemoteBox);
    vpMediaLayout->addStretch();
    auto *vpSearch = new QGroupBox(tr("Search"), vpPage);
    mpYoAlikeBox = new QCheckBox(tr("Find words spelled with ё when searching with е, and the "
                                    "other way round"),
                                 vpSearch);
    mpYoAlikeBox->setChecked(mpOptions->yoAlike());
    auto *vpSearchLayout = new QVBoxLayout(vpSearch);
    vpSearchLayout->addWidget(mpYoAlikeBox);
    auto *vpLayout = new QVBoxLayout(vpPage);
    vpLayout->addWidget(vpMedia);
    vpLayout->addWidget(vpSearch);
    vpLayout->addStretch();
    connect(mpPlayRemoteBox, &QCheckBox::toggled, mpOptions, &SharedOptions::setPlayRemote);
    connect(mpYoAlikeBox, &QCheckBox::toggled, mpOptions, &SharedOptions::setYoAlike);
    return vpPage;
}

void SettingsDialog::selectStyleInUse()
{
    static const QRegularExpression scStyleClass(QStringLiteral(".(.*)\\+?Style"));
    const QRegularExpressionMatch vMatch =
        scStyleClass.match(QLatin1String(styleInUse()->metaObject()->className()));
    if (vMatch.hasMatch()) {
        const QString vsName = vMatch.captured(1);
        for (int i = 0; i < mpStyleCombo->count(); ++i)
            if (mpStyleCombo->itemText(i).contains(vsName, Qt::CaseInsensitive)) {
                mpStyleCombo->setCurrentIndex(i);
                break;
            }
    }

    // The entries are spelt as the files are named ("Default" for default.qss).
    const int vnSheet = mpSheetCombo->findText(
        mpSettings->value(csStyleSheet, QStringLiteral("default")).toString(),
        Qt::MatchFixedString);
    if (vnSheet >= 0)
        mpSheetCombo->setCurrentIndex(vnSheet);
    // A stored style this Qt does not have (older settings name "Cleanlooks")
    // was not applied either, so the one in use stays shown.
    const int vnStyle = mpStyleCombo->findText(
        mpSettings->value(csStyle, QStringLiteral("Cleanlooks")).toString(), Qt::MatchFixedString);
    if (vnStyle >= 0)
        mpStyleCombo->setCurrentIndex(vnStyle);
}

QString SettingsDialog::sheetPath(const QString &asSheetName) const
{
    return QStringLiteral("%0/%1.qss").arg(Application::stylePath(), asSheetName.toLower());
}

void SettingsDialog::done(int anResult)
{
    if (mpConverterPage && mpConverterPage->isRunning())
        return;
    QDialog::done(anResult);
}

void SettingsDialog::approve()
{
    // A list without a current entry (a stored font this system lacks)
    // keeps what is stored.
    if (const QListWidgetItem *vpFont = mpFontList->currentItem())
        mpSettings->setValue(csFontName, vpFont->text());
    if (const QListWidgetItem *vpSize = mpSizeList->currentItem())
        mpSettings->setValue(csFontSize, vpSize->text().toInt());
    mpVersionTable->save();
    mpSettings->setValue(csStyle, mpStyleCombo->currentText());
    mpSettings->setValue(csStyleSheet, mpSheetCombo->currentText());
}

void SettingsDialog::apply()
{
    const QString vsSheet = mpSheetEditor->toPlainText();
    qApp->setStyleSheet(vsSheet);
    mpApplyButton->setEnabled(false);
    const QString vsPath = sheetPath(mpSheetCombo->currentText());
    QSaveFile vFile(vsPath);
    if (!vFile.open(QIODevice::WriteOnly) || vFile.write(vsSheet.toUtf8()) < 0 || !vFile.commit()) {
        qWarning().noquote() << "Style sheet not saved:" << vsPath << vFile.errorString();
        ModalBox::warning(
            this, tr("Settings"),
            tr("The style sheet could not be saved to %1.").arg(QDir::toNativeSeparators(vsPath)));
    }
}

void SettingsDialog::import()
{
    if (mpConverterPage)
        mpConverterPage->startImport();
}

void SettingsDialog::selectDirectory()
{
    if (mpConverterPage)
        mpConverterPage->chooseDirectory();
}

void SettingsDialog::enableApply()
{
    mpApplyButton->setEnabled(true);
}

void SettingsDialog::loadStyleSheet(QString asSheetName)
{
    QFile vFile(sheetPath(asSheetName));
    if (!vFile.open(QIODevice::ReadOnly))
        return;
    const QString vsSheet = QString::fromUtf8(vFile.readAll());
    if (vsSheet.isEmpty())
        return;
    mpSheetEditor->setPlainText(vsSheet);
    qApp->setStyleSheet(vsSheet);
    mpApplyButton->setEnabled(false);
}

void SettingsDialog::loadStyleAndDisableApply(QString asStyleName)
{
    QApplication::setStyle(asStyleName);
    mpApplyButton->setEnabled(false);
}

void SettingsDialog::countChanged(QString /*asText*/)
{
}

void SettingsDialog::onePageChaned(int /*aState*/)
{
}
