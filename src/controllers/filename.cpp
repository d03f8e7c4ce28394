#include "controllers/filename.h"

#include <QFileInfo>

namespace FileName {

bool isPlain(const QString &asName)
{
    // Both separators count on every system: a name with a backslash is a
    // path on Windows. The last test catches what Windows reads as a drive
    // ("C:name").
    return !asName.isEmpty() && !asName.startsWith(QLatin1Char('.')) &&
           !asName.contains(QLatin1Char('/')) && !asName.contains(QLatin1Char('\\')) &&
           !asName.contains(QLatin1String("..")) && !asName.contains(QChar(0)) &&
           QFileInfo(asName).fileName() == asName;
}

} // namespace FileName
