#pragma once

#include <QDialog>

class ConverterPage;
class Database;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QTabWidget;
class QTextEdit;
class SharedOptions;
class StoreRequests;
class TreeView;
class VersionTable;

// The program's settings: the catalogue font, which data files may be
// updated, the widget style and style sheet (applied as soon as they are
// chosen, and the sheet editable in place), remote playback, е and ё alike
// in searches, and for
// maintainers the converter page. "OK" stores the font, update and style
// choices; playback and the search letters are stored as soon as they are
// changed.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // apRequests and apTree may be null (no catalogue refresh after a conversion).
    SettingsDialog(QSettings *apSettings, SharedOptions *apOptions, Database *apDatabase,
                   StoreRequests *apRequests, TreeView *apTree, QWidget *parent = nullptr);

    // Null unless the "Converter" setting is on.
    ConverterPage *converterPage() const { return mpConverterPage; }

    // A conversion must run to its end: until then the dialog stays open.
    void done(int anResult) override;

private slots:
    void approve();
    void apply();
    void import();
    void selectDirectory();
    void enableApply();
    void loadStyleSheet(QString asSheetName);
    void loadStyleAndDisableApply(QString asStyleName);
    void countChanged(QString asText);
    void onePageChaned(int aState);

private:
    QWidget *createFontPage();
    QWidget *createStylePage();
    QWidget *createContentPage();
    void selectStyleInUse();
    QString sheetPath(const QString &asSheetName) const;

    QSettings *mpSettings = nullptr;
    SharedOptions *mpOptions = nullptr;
    QTabWidget *mpTabs = nullptr;
    QPushButton *mpOkButton = nullptr;
    QPushButton *mpApplyButton = nullptr;
    QPushButton *mpCancelButton = nullptr;
    QLineEdit *mpFontEdit = nullptr;
    QLineEdit *mpSizeEdit = nullptr;
    QListWidget *mpFontList = nullptr;
    QListWidget *mpSizeList = nullptr;
    VersionTable *mpVersionTable = nullptr;
    QComboBox *mpStyleCombo = nullptr;
    QComboBox *mpSheetCombo = nullptr;
    QTextEdit *mpSheetEditor = nullptr;
    QCheckBox *mpPlayRemoteBox = nullptr;
    QCheckBox *mpYoAlikeBox = nullptr;
    ConverterPage *mpConverterPage = nullptr;
};
