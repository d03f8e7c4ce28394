#pragma once

#include <QStringList>

class QSettings;

// The searches the reader typed, newest first, kept in the settings file
// ("SearchHistory") so that the search line can complete from them at the
// next start. A search typed again moves to the front instead of standing
// twice; only the last cnLimit are kept.
class SearchHistory
{
public:
    static constexpr int cnLimit = 50;

    explicit SearchHistory(QSettings *apSettings) : mpSettings(apSettings) {}

    QStringList entries() const;
    // Adds the text (trimmed; blank texts are not kept) and writes the list.
    void remember(const QString &asText);

private:
    QSettings *mpSettings = nullptr;
};
