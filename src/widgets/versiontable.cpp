#include "widgets/versiontable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QSettings>

namespace {

const QString csBlocked = QStringLiteral("10000");

enum Column
{
    KeyColumn,
    NameColumn,
    VersionColumn,
    AllowColumn
};

} // namespace

VersionTable::VersionTable(QSettings *apSettings, QWidget *parent)
    : QTableWidget(parent), mpSettings(apSettings)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(true);
    verticalHeader()->setDefaultSectionSize(25);
    setColumnCount(4);
    // The corner button selects every row; it shows nothing to read.
    if (auto *vpCorner = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        vpCorner->setAccessibleName(
            QCoreApplication::translate("SettingsDialog", "Select all rows"));
    setAccessibleName(QCoreApplication::translate("SettingsDialog", "Data files"));
    // The dialog's pages share its translation context.
    setHorizontalHeaderLabels({QCoreApplication::translate("SettingsDialog", "file\nname"),
                               QCoreApplication::translate("SettingsDialog", "File"),
                               QCoreApplication::translate("SettingsDialog", "Current\n version"),
                               QCoreApplication::translate("SettingsDialog", "Allow\n update")});
    QHeaderView *vpHeader = horizontalHeader();
    vpHeader->setSectionResizeMode(QHeaderView::Stretch);
    // The key is kept for save() only.
    vpHeader->setSectionResizeMode(KeyColumn, QHeaderView::Fixed);
    vpHeader->resizeSection(KeyColumn, 0);
    // The header's minimum section size would otherwise still show a sliver of it.
    setColumnHidden(KeyColumn, true);
    for (int vnColumn : {VersionColumn, AllowColumn}) {
        vpHeader->setSectionResizeMode(vnColumn, QHeaderView::Interactive);
        vpHeader->resizeSection(vnColumn, 70);
    }

    QStringList vcKeys =
        mpSettings->allKeys().filter(QStringLiteral("Version-"), Qt::CaseSensitive);
    vcKeys.sort(Qt::CaseSensitive);
    setRowCount(vcKeys.size());
    for (int vnRow = 0; vnRow < vcKeys.size(); ++vnRow) {
        const QString &vsKey = vcKeys.at(vnRow);
        const QString vsVersion = mpSettings->value(vsKey).toString();
        const bool vbBlocked = vsVersion == csBlocked;
        setItem(vnRow, KeyColumn, new QTableWidgetItem(vsKey));
        setItem(vnRow, NameColumn, new QTableWidgetItem(displayName(vsKey)));
        setItem(vnRow, VersionColumn, new QTableWidgetItem(vbBlocked ? QString() : vsVersion));
        auto *vpAllow = new QCheckBox(this);
        vpAllow->setChecked(!vbBlocked);
        vpAllow->setAccessibleName(
            QCoreApplication::translate("SettingsDialog", "Allow updating %1")
                .arg(displayName(vsKey)));
        setCellWidget(vnRow, AllowColumn, vpAllow);
    }
}

QString VersionTable::displayName(const QString &asKey)
{
    QString vsName;
    if (asKey.contains(QLatin1String("bible")))
        vsName = QCoreApplication::translate("SettingsDialog", "Bible");
    if (asKey.contains(QLatin1String("quotes")))
        vsName = QCoreApplication::translate("SettingsDialog", "Sermons");
    // Each test applies to the name so far; the language names stay untranslated.
    const std::pair<const char *, const char *> vcLanguages[] = {
        {"en", "English"}, {"ru", "Russian"}, {"fr", "French"}};
    for (const auto &vLanguage : vcLanguages)
        if (asKey.contains(QLatin1String(vLanguage.first)))
            vsName = QStringLiteral("%0 (%1)").arg(vsName, QLatin1String(vLanguage.second));
    return vsName;
}

void VersionTable::save()
{
    for (int vnRow = 0; vnRow < rowCount(); ++vnRow) {
        const auto *vpAllow = qobject_cast<const QCheckBox *>(cellWidget(vnRow, AllowColumn));
        const QString vsVersion = item(vnRow, VersionColumn)->text();
        const QString vsValue = !vpAllow->isChecked() ? csBlocked
                                : vsVersion.isEmpty() ? QStringLiteral("0")
                                                      : vsVersion;
        mpSettings->setValue(item(vnRow, KeyColumn)->text(), vsValue);
    }
}
