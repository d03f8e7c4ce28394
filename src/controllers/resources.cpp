#include "controllers/resources.h"

#include <QtGlobal>

static void registerBundles()
{
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(i18n);
}

namespace Resources {
void registerAll()
{
    registerBundles();
}
} // namespace Resources
