#include "widgets/toolbar.h"

#include "controllers/application.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "controllers/storerequests.h"
#include "models/cataloguetree.h"
#include "views/treeview.h"

#include <QEvent>
#include <QMenu>
#include <QSettings>
#include <QToolButton>
#include <QWidgetAction>

ToolBar::ToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent), mpLanguageButton(new QToolButton(this))
{
    setAllowedAreas(Qt::TopToolBarArea);
    setFloatable(true);
    setIconSize(QSize(20, 20));
}

void ToolBar::setTreeView(TreeView *apTreeView)
{
    if (mpTreeView != apTreeView)
        mpTreeView = apTreeView;
}

QToolButton *ToolBar::makeKindButton(const QString &asIcon, void (ToolBar::*aSlot)())
{
    auto *vpButton = new QToolButton(this);
    vpButton->setIcon(Resources::icon(asIcon));
    vpButton->setCheckable(true);
    vpButton->setAutoRaise(true);
    connect(vpButton, &QToolButton::clicked, this, aSlot);
    return vpButton;
}

void ToolBar::createActions()
{
    clear();
    mpLanguageAction = new QWidgetAction(this);
    updateLanguageMenu();

    mpByYearButton =
        makeKindButton(QStringLiteral(":/icons/sort_by_year.png"), &ToolBar::sortByYearClicked);
    mpByNameButton =
        makeKindButton(QStringLiteral(":/icons/sort_by_name.png"), &ToolBar::sortByNameClicked);
    mpBibleButton = makeKindButton(QStringLiteral(":/icons/bible.png"), &ToolBar::biblesClicked);
    mpByYearButton->setChecked(mKind == Kind::ByYear);
    mpByNameButton->setChecked(mKind == Kind::ByName);
    mpBibleButton->setChecked(mKind == Kind::Bible);

    mpHideTreeAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/collapse.png")), QString(), this);
    mpHideTreeAction->setCheckable(true);
    connect(mpHideTreeAction, &QAction::triggered, this, &ToolBar::showTreeClicked);

    mpDuplicatesAction =
        new QAction(Resources::icon(QStringLiteral(":/icons/duplicates.png")), QString(), this);
    mpDuplicatesAction->setCheckable(true);
    mbShowDuplicates = Application::sharedOptions()->showDuplicates();
    mpDuplicatesAction->setChecked(mbShowDuplicates);
    connect(mpDuplicatesAction, &QAction::triggered, this, &ToolBar::duplicatesClicked);
    retranslate();

    addAction(mpLanguageAction);
    addSeparator();
    addWidget(mpByYearButton);
    addWidget(mpByNameButton);
    addWidget(mpBibleButton);
    addSeparator();
    addAction(mpDuplicatesAction);

    refreshCatalogue();
}

void ToolBar::updateLanguageMenu()
{
    if (QMenu *vpOld = mpLanguageButton->menu()) {
        mpLanguageButton->setMenu(nullptr);
        vpOld->deleteLater();
    }
    auto *vpMenu = new QMenu(this);
    const QString vsCurrent = Application::sharedOptions()->dataLanguage();
    QSettings *vpSettings = Application::settings();
    for (int n = 1;; ++n) {
        const QString vsCode = vpSettings->value(QStringLiteral("DBLang%0").arg(n)).toString();
        if (vsCode.isEmpty())
            break;
        if (vsCode == vsCurrent)
            continue;
        const QString vsName = vpSettings->value(QStringLiteral("DBLangName%0").arg(n)).toString();
        if (vsName.isEmpty())
            continue;
        QAction *vpAction =
            vpMenu->addAction(Resources::icon(QStringLiteral(":/i18n/") + vsCode), vsName);
        vpAction->setObjectName(QStringLiteral("btn_") + vsCode);
    }
    connect(vpMenu, &QMenu::triggered, this, &ToolBar::changeLocale);

    mpLanguageButton->setIcon(Resources::icon(QStringLiteral(":/i18n/%0.png").arg(vsCurrent)));
    mpLanguageButton->setMenu(vpMenu);
    mpLanguageButton->setPopupMode(QToolButton::InstantPopup);
    mpLanguageButton->setToolTip(tr("Language selection"));
    if (mpLanguageAction)
        mpLanguageAction->setDefaultWidget(mpLanguageButton);

    refreshCatalogue();
}

void ToolBar::changeLocale(QAction *apAction)
{
    if (!apAction)
        return;
    const QString vsCode = apAction->objectName().section(QLatin1Char('_'), 1);
    Application::sharedOptions()->switchDataLanguage(vsCode);
    updateLanguageMenu();
}

void ToolBar::refreshCatalogue()
{
    if (!mpRequests || mKind == Kind::None)
        return;
    const int vnKind = mKind == Kind::Bible    ? CatalogueTree::Bible
                       : mKind == Kind::ByName ? CatalogueTree::ByName
                                               : CatalogueTree::ByYear;
    mpRequests->loadCatalogue(vnKind, mbShowDuplicates);
}

void ToolBar::selectKind(Kind aKind)
{
    mKind = aKind;
    if (mpByYearButton) {
        mpByYearButton->setChecked(aKind == Kind::ByYear);
        mpByNameButton->setChecked(aKind == Kind::ByName);
        mpBibleButton->setChecked(aKind == Kind::Bible);
    }
    refreshCatalogue();
}

void ToolBar::sortByYearClicked()
{
    selectKind(Kind::ByYear);
}

void ToolBar::sortByNameClicked()
{
    selectKind(Kind::ByName);
}

void ToolBar::biblesClicked()
{
    selectKind(Kind::Bible);
}

void ToolBar::duplicatesClicked()
{
    mbShowDuplicates = mpDuplicatesAction->isChecked();
    mpDuplicatesAction->setToolTip(mbShowDuplicates ? tr("Hide duplicates")
                                                    : tr("Show duplicates"));
    Application::sharedOptions()->setShowDuplicates(mbShowDuplicates);
    // The catalogue goes back to sermons by year, whichever kind was shown.
    sortByYearClicked();
}

void ToolBar::showTreeClicked()
{
    const bool vbHide = mpHideTreeAction->isChecked();
    mpHideTreeAction->setText(vbHide ? tr("Show tree") : tr("Hide tree"));
    mpHideTreeAction->setToolTip(mpHideTreeAction->text());
    mpHideTreeAction->setIcon(Resources::icon(vbHide ? QStringLiteral(":/icons/expand.png")
                                                     : QStringLiteral(":/icons/collapse.png")));
    if (mpTreeView)
        mpTreeView->setVisible(!vbHide);
}

void ToolBar::retranslate()
{
    if (!mpByYearButton)
        return;
    mpByYearButton->setToolTip(tr("Messages by Year"));
    mpByNameButton->setToolTip(tr("Messages by Name"));
    mpBibleButton->setToolTip(tr("Bible"));
    mpHideTreeAction->setText(mpHideTreeAction->isChecked() ? tr("Show tree") : tr("Hide tree"));
    mpHideTreeAction->setToolTip(mpHideTreeAction->text());
    mpDuplicatesAction->setText(tr("Show duplicates"));
    mpDuplicatesAction->setToolTip(mbShowDuplicates ? tr("Hide duplicates")
                                                    : tr("Show duplicates"));
    mpLanguageButton->setToolTip(tr("Language selection"));
    mpLanguageButton->setAccessibleName(tr("Language selection"));
    mpLanguageButton->setAccessibleDescription(tr("The language of the texts shown and searched"));
    for (QToolButton *vpButton : {mpByYearButton, mpByNameButton, mpBibleButton})
        vpButton->setAccessibleName(vpButton->toolTip());
}

void ToolBar::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        retranslate();
    QToolBar::changeEvent(apEvent);
}
