#include "controllers/resources.h"

#include "controllers/translations.h"

#include <QHash>

static void registerBundles()
{
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(help);
}

namespace Resources {
void registerAll()
{
    registerBundles();
    Translations::registerBundle();
}

QIcon icon(const QString &asPath)
{
    static QHash<QString, QIcon> scIcons;
    auto it = scIcons.find(asPath);
    if (it == scIcons.end())
        it = scIcons.insert(asPath, QIcon(asPath));
    return it.value();
}
} // namespace Resources
