#include "controllers/searchhistory.h"

#include <QSettings>

namespace {
const QString csKey = QStringLiteral("SearchHistory");
}

QStringList SearchHistory::entries() const
{
    QStringList vcEntries = mpSettings->value(csKey).toStringList();
    // A list edited by hand may hold blanks, repeats or too many.
    vcEntries.removeAll(QString());
    vcEntries.removeDuplicates();
    return QStringList(vcEntries.mid(0, cnLimit));
}

void SearchHistory::remember(const QString &asText)
{
    const QString vsText = asText.trimmed();
    if (vsText.isEmpty())
        return;
    QStringList vcEntries = entries();
    vcEntries.removeAll(vsText);
    vcEntries.prepend(vsText);
    mpSettings->setValue(csKey, QStringList(vcEntries.mid(0, cnLimit)));
}
