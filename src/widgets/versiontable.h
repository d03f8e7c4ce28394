#pragma once

#include <QTableWidget>

class QSettings;

// The settings dialog's list of the data files the update server may replace
// ("Version-…" settings): what each file is, the version the program has,
// and whether it may be updated. A file that must not be updated has the
// version 10000, which no update reaches; version 0 takes any.
class VersionTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit VersionTable(QSettings *apSettings, QWidget *parent = nullptr);

    // Writes each row's choice back to its setting.
    void save();

    // What the user reads for a "Version-…" key, e.g. "Sermons (English)".
    static QString displayName(const QString &asKey);

private:
    QSettings *mpSettings = nullptr;
};
