#include "widgets/searchwidget.h"

#include "controllers/application.h"
#include "controllers/modalbox.h"
#include "controllers/resources.h"
#include "controllers/searchhistory.h"
#include "controllers/sharedoptions.h"
#include "models/searchstatements.h"
#include "views/treeview.h"
#include "widgets/tabarea.h"
#include "widgets/tabwidget.h"

#include <QCompleter>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

SearchWidget::SearchWidget(QWidget *parent) : QWidget(parent)
{
    mpLineEdit = new QLineEdit(this);
    mpLineEdit->setFixedHeight(22);
    mpLineEdit->setClearButtonEnabled(true);
    // Completes from the searches typed before, this session's and earlier ones.
    mpHistory = new QStringListModel(SearchHistory(Application::settings()).entries(), this);
    auto *vpCompleter = new QCompleter(mpHistory, this);
    vpCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    mpLineEdit->setCompleter(vpCompleter);
    mpSearchButton =
        new QPushButton(Resources::icon(QStringLiteral(":/icons/search.png")), QString(), this);
    mpAdvancedButton = new QPushButton(
        Resources::icon(QStringLiteral(":/icons/advanced_search.png")), QString(), this);
    mpAdvancedButton->setCheckable(true);
    auto *vpLayout = new QHBoxLayout(this);
    vpLayout->setContentsMargins(0, 0, 0, 0);
    vpLayout->addWidget(mpLineEdit);
    vpLayout->addWidget(mpSearchButton);
    vpLayout->addWidget(mpAdvancedButton);
    connect(mpLineEdit, &QLineEdit::returnPressed, this, &SearchWidget::search);
    connect(mpSearchButton, &QPushButton::clicked, this, &SearchWidget::search);
    retranslate();
}

void SearchWidget::search()
{
    startSearch(NoOption);
}

void SearchWidget::setWordForms(bool abOn)
{
    mbWordForms = abOn;
    retranslate();
}

void SearchWidget::startSearch(AdvancedSearchFlags aFlags)
{
    aFlags |= Application::sharedOptions()->searchModifiers();
    if (mbWordForms)
        aFlags |= WordForms;
    const QString vsText = mpLineEdit->text();
    if (SearchStatements::fromUserText(vsText).trimmed().isEmpty()) {
        ModalBox::information(this, QString(), tr("Search text is too short"));
        return;
    }
    if (!mpTabs)
        return;
    SearchHistory vHistory(Application::settings());
    vHistory.remember(vsText);
    mpHistory->setStringList(vHistory.entries());
    const QString vsTitle = QStringLiteral("<%0>").arg(vsText);
    mpTabs->closeTabsWithTitle(vsTitle);
    TabArea *vpPage = mpTabs->openTab(vsTitle);
    const QString vsSql = SearchStatements::fromUserText(vsText);
    vpPage->clearArticles();
    const bool vbBible = mpTreeView && mpTreeView->kind() == CatalogueTree::Bible;
    const QString vsList =
        mpTreeView ? (vbBible ? mpTreeView->checkedChapters() : mpTreeView->checkedSermons())
                   : QString();
    // The page keeps what it searched for, so that its later pages ask for
    // the same, whatever other tabs search meanwhile.
    vpPage->setSearchQuery(vsSql, vsList, aFlags);
    // A page in one-page mode asks for its first chunk of hits, not a page.
    const int vnSize = vpPage->firstRequestSize();
    if (vbBible)
        emit searchBible(vpPage, vsSql, vsList, aFlags, 0, vnSize);
    else
        emit searchMessages(vpPage, vsSql, vsList, aFlags, 0, vnSize);
}

void SearchWidget::retranslate()
{
    mpSearchButton->setToolTip(tr("Search"));
    mpAdvancedButton->setToolTip(tr("Advanced search"));
    mpLineEdit->setPlaceholderText(mbWordForms ? tr("Search, with word forms") : tr("Search"));
    mpLineEdit->setAccessibleName(tr("Search text"));
    mpLineEdit->setAccessibleDescription(
        tr("Words to find in the ticked documents; Enter starts the search"));
    mpSearchButton->setAccessibleName(tr("Search"));
    mpAdvancedButton->setAccessibleName(tr("Advanced search"));
    mpAdvancedButton->setAccessibleDescription(tr("Shows the options of the search"));
}

void SearchWidget::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(apEvent);
}
