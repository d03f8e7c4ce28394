// The update server's version list: whatever it sends, only plain file names
// of configured languages, newer than the recorded version, are offered.
#include "fuzzsupport.h"

#include "controllers/application.h"
#include "controllers/downloadmanager.h"
#include "controllers/filename.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    static const bool sbConfigured = [] {
        QSettings *vpSettings = Application::settings();
        vpSettings->setValue(QStringLiteral("DBLang1"), QStringLiteral("ru"));
        vpSettings->setValue(QStringLiteral("DBLang2"), QStringLiteral("en"));
        vpSettings->setValue(QStringLiteral("Version-ru"), 5);
        return true;
    }();
    Q_UNUSED(sbConfigured);

    const QByteArray vaBody(reinterpret_cast<const char *>(apData), int(anSize));
    const QStringList vcLines = QString::fromUtf8(vaBody).split(QLatin1Char('\n'));
    const QStringList vcWanted = DownloadManager::wantedUpdates(vaBody);
    for (const QString &vsLine : vcWanted) {
        const QString vsName = vsLine.section(QLatin1Char(';'), 0, 0);
        const QString vsKey = DownloadManager::lineKey(vsName);
        FUZZ_CHECK(vcLines.contains(vsLine), vsLine);
        FUZZ_CHECK(FileName::isPlain(vsName), vsLine);
        FUZZ_CHECK(!vsName.contains(QLatin1Char('/')) && !vsName.contains(QLatin1Char('\\')) &&
                       !vsName.contains(QLatin1String("..")) &&
                       !vsName.startsWith(QLatin1Char('.')),
                   vsLine);
        FUZZ_CHECK(vsKey == QLatin1String("ru") || vsKey == QLatin1String("en"), vsLine);
        FUZZ_CHECK(DownloadManager::lineVersion(vsName) > (vsKey == QLatin1String("ru") ? 5 : 0),
                   vsLine);
    }
    return 0;
}
