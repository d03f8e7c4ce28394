#include "controllers/translations.h"

#include <QCoreApplication>
#include <QTranslator>

static void registerI18nBundle()
{
    Q_INIT_RESOURCE(i18n);
}

namespace Translations {

void registerBundle()
{
    registerI18nBundle();
}

bool install(QTranslator &aTranslator, const QString &asLanguage)
{
    if (!aTranslator.load(QStringLiteral(":/i18n/i18n_") + asLanguage + QStringLiteral(".qm")))
        return false;
    QCoreApplication::installTranslator(&aTranslator);
    return true;
}

} // namespace Translations
