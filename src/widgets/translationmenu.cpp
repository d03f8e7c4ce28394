#include "widgets/translationmenu.h"

#include "controllers/application.h"
#include "controllers/resources.h"

#include <QAction>
#include <QDebug>
#include <QMenu>
#include <QSettings>

TranslationMenu::TranslationMenu(QWidget *apParent) : QObject(apParent), mpMenu(new QMenu(apParent))
{
    QSettings *vpSettings = Application::settings();
    for (int i = 1;; ++i) {
        const QString vsCode = vpSettings->value(QStringLiteral("DBLang%0").arg(i)).toString();
        if (vsCode.isEmpty())
            break;
        QAction *vpAction =
            mpMenu->addAction(Resources::icon(QStringLiteral(":/i18n/") + vsCode),
                              vpSettings->value(QStringLiteral("DBLangName%0").arg(i)).toString());
        vpAction->setObjectName(QStringLiteral("TR_") + vsCode);
        connect(vpAction, &QAction::triggered, this,
                [this, vpAction] { entryTriggered(vpAction); });
    }
    connect(mpMenu, &QMenu::aboutToShow, this, [this] {
        QList<QAction *> vcEnabled;
        for (QAction *vpAction : mpMenu->actions())
            if (vpAction->isEnabled())
                vcEnabled.append(vpAction);
        emit translatorListsWanted(vcEnabled);
    });
}

bool TranslationMenu::owns(QAction *apAction) const
{
    // Compared as a pointer only: a list may name an entry of a closed page.
    return apAction && mpMenu->actions().contains(apAction);
}

void TranslationMenu::useTranslatorList(const QStringList &acList, QAction *apLanguageAction,
                                        bool abBible, const QString &asPageTranslator,
                                        const QString &asDataLanguage)
{
    if (!owns(apLanguageAction))
        return;
    qDebug() << Q_FUNC_INFO << acList;
    const bool vbCurrentLanguage =
        apLanguageAction->objectName().contains(QStringLiteral("_") + asDataLanguage);
    if (abBible) {
        apLanguageAction->setEnabled(!vbCurrentLanguage);
        return;
    }
    if (QMenu *vpOld = apLanguageAction->menu()) {
        apLanguageAction->setMenu(nullptr);
        vpOld->deleteLater();
    }
    if (acList.isEmpty()) {
        apLanguageAction->setEnabled(false);
        return;
    }
    if (acList.size() == 1) {
        apLanguageAction->setWhatsThis(acList.first());
        apLanguageAction->setEnabled(!vbCurrentLanguage);
        return;
    }
    auto *vpTranslators = new QMenu(mpMenu);
    vpTranslators->setObjectName(apLanguageAction->objectName());
    for (const QString &vsTranslator : acList) {
        QAction *vpChoice = vpTranslators->addAction(vsTranslator);
        vpChoice->setWhatsThis(vsTranslator);
        vpChoice->setEnabled(vsTranslator != asPageTranslator);
        const QString vsLocale = apLanguageAction->objectName().section(QLatin1Char('_'), 1);
        connect(vpChoice, &QAction::triggered, this,
                [this, vsLocale, vsTranslator] { emit translationChosen(vsLocale, vsTranslator); });
    }
    apLanguageAction->setMenu(vpTranslators);
    apLanguageAction->setEnabled(true);
}

void TranslationMenu::entryTriggered(QAction *apAction)
{
    const QString vsName = apAction->objectName();
    if (!vsName.contains(QLatin1Char('_')))
        return;
    const QString vsLocale = vsName.section(QLatin1Char('_'), 1);
    // English originals have no translator; the others were remembered from
    // the translator list.
    emit translationChosen(vsLocale,
                           vsLocale == QLatin1String("en") ? QString() : apAction->whatsThis());
}
