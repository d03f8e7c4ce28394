// Without libFuzzer (the normal build) a target replays its seed folder once,
// so that the test suite keeps every fixed crash fixed.
#include "fuzzsupport.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    FuzzSupport::init();
    const QDir vFolder(QString::fromLocal8Bit(argv[1]));
    const QStringList vcNames = vFolder.entryList(QDir::Files, QDir::Name);
    for (const QString &vsName : vcNames) {
        QFile vFile(vFolder.filePath(vsName));
        if (!vFile.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qUtf8Printable(vFile.fileName()));
            return 1;
        }
        const QByteArray vaData = vFile.readAll();
        std::fprintf(stderr, "%s\n", qUtf8Printable(vsName));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(vaData.constData()),
                               size_t(vaData.size()));
    }
    FuzzSupport::shutdown();
    // An empty folder would make the replay pass without checking anything.
    return vcNames.isEmpty() ? 1 : 0;
}
