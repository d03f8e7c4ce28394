#include "widgets/mainwindow.h"

#include "controllers/application.h"
#include "controllers/fileproblemtext.h"
#include "controllers/modalbox.h"
#include "controllers/resources.h"
#include "controllers/sharedoptions.h"
#include "controllers/storerequests.h"
#include "models/database.h"
#include "views/treeview.h"
#include "widgets/documentmaintenance.h"
#include "widgets/focuschain.h"
#include "widgets/helpdialog.h"
#include "widgets/searchwidget.h"
#include "widgets/settingsdialog.h"
#include "widgets/tabwidget.h"
#include "widgets/toolbar.h"
#include "widgets/windowkeys.h"

#include <QCheckBox>
#include <QDebug>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The advanced panel's option of the last advanced search (0 to 3; -1 none).
const QString csSearchOption = QStringLiteral("SearchOption");
const QString csWordForms = QStringLiteral("SearchWordForms");
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    mpTreeView = new TreeView(this);
    mpTabs = new TabWidget(this);
    mpToolBar = new ToolBar(tr("Main toolbar"), this);
    mpSearchWidget = new SearchWidget(this);

    setMinimumSize(800, 600);
    setWindowIcon(Resources::icon(QStringLiteral(":/icons/icon.png")));
    setWindowTitle(tr("KVR"));
    // Shown maximised; this is its size where no window manager maximises it,
    // and when the user restores it.
    if (const QScreen *vpScreen = QGuiApplication::primaryScreen())
        setGeometry(vpScreen->availableGeometry());

    Database *vpDatabase = Application::database();
    vpDatabase->setTreeView(mpTreeView);
    mpRequests = new StoreRequests(vpDatabase, this);
    createMenus();
    createToolBars();

    mpTreeView->setMinimumWidth(75);
    mpTreeView->setToolBar(mpToolBar);
    mpTreeView->setPageOpener(mpTabs);
    mpTreeView->setStoreRequests(mpRequests);
    mpToolBar->setStoreRequests(mpRequests);
    connect(mpRequests, &StoreRequests::catalogueLoaded, mpTreeView, &TreeView::showCatalogue);
    connect(mpRequests, &StoreRequests::sermonsCounted, this,
            [this](int anFirstTranslations, int anAll) {
                // A file that cannot be read counts none (the data store
                // answers -1).
                mnFirstTranslations = std::max(0, anFirstTranslations);
                mnAllSermons = std::max(0, anAll);
                showSermonCounts();
            });
    auto *vpMaintenance = new DocumentMaintenance(mpTreeView, mpRequests, this);
    connect(vpMaintenance, &DocumentMaintenance::catalogueChanged, this, [this] {
        mpToolBar->refreshCatalogue();
        updateStatus();
    });
    connect(mpRequests, &StoreRequests::statusTextReady, this,
            [this](const QString &asText) { statusBar()->showMessage(asText, 0); });
    mpTabs->setTreeView(mpTreeView);
    mpSearchWidget->setTabWidget(mpTabs);
    mpSearchWidget->setTreeView(mpTreeView);
    connect(
        mpSearchWidget, &SearchWidget::searchMessages, vpDatabase,
        QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags, int, int>::of(
            &Database::searchMessages));
    connect(
        mpSearchWidget, &SearchWidget::searchBible, vpDatabase,
        QOverload<TabArea *, const QString &, const QString &, AdvancedSearchFlags, int, int>::of(
            &Database::searchBible));

    connect(vpDatabase, &Database::foundAllArticles, mpTabs, &TabWidget::finishArticles);
    connect(vpDatabase, &Database::translationReady, mpTabs, &TabWidget::showRightText);
    connect(vpDatabase, &Database::foundChapter, mpTabs, &TabWidget::addChapter);
    connect(vpDatabase, &Database::foundOtherChapter, mpTabs, &TabWidget::addOtherChapter);
    connect(vpDatabase, &Database::foundParagraph, mpTabs, &TabWidget::addParagraph);
    connect(vpDatabase, &Database::foundOtherParagraph, mpTabs, &TabWidget::addOtherParagraph);
    connect(vpDatabase, &Database::finishSearchArticles, mpTabs, &TabWidget::finishSearchArticles);
    connect(vpDatabase, &Database::addSearchMessage, mpTabs, &TabWidget::addSearchMessage);
    connect(vpDatabase, &Database::addSearchBible, mpTabs, &TabWidget::addSearchBible);
    connect(vpDatabase, &Database::setNavigationParams, mpTabs, &TabWidget::setNavigationParams);
    connect(vpDatabase, &Database::setFoundPagesCount, mpTabs, &TabWidget::setFoundPagesCount);
    connect(vpDatabase, &Database::hitsPerGroup, mpTabs, &TabWidget::showHitGroups);

    connect(mpTreeView, &TreeView::openQuotesParagraph, vpDatabase, &Database::openQuotesParagraph);
    connect(mpTreeView, &TreeView::openBibleChapter, vpDatabase,
            QOverload<TabArea *, int, int>::of(&Database::openBibleChapter));
    connect(mpTreeView, &TreeView::kindChanged, this, &MainWindow::updateStatus);
    connect(mpTreeView, &TreeView::statusMessage, this, [this](const QString &asText) {
        if (asText.isEmpty())
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(asText, 0);
    });
    connect(vpDatabase, &Database::statusTextUpdated, this,
            [this](const QString &asText) { statusBar()->showMessage(asText, 0); });
    // One box per file the data store cannot use; the other languages stay
    // usable. The problems found before are asked for once the window is
    // shown (see showEvent), so that the box stands over it.
    connect(
        vpDatabase, &Database::fileProblemFound, this,
        [this](const QString &asPath, FileProblem aProblem) {
            ModalBox::warning(this, FileProblemText::title(),
                              FileProblemText::describe(asPath, aProblem));
        },
        Qt::QueuedConnection);

    auto *vpCentral = new QWidget(this);
    vpCentral->setObjectName(QStringLiteral("vpCentralWidget"));
    auto *vpLayout = new QVBoxLayout(vpCentral);
    vpLayout->setObjectName(QStringLiteral("vpLayout"));
    vpLayout->setContentsMargins(0, 0, 0, 0);
    vpSplitter = new QSplitter(Qt::Horizontal, vpCentral);
    vpSplitter->setObjectName(QStringLiteral("vpSplitter"));
    vpSplitter->setHandleWidth(10);
    vpSplitter->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    vpSplitter->setChildrenCollapsible(true);
    vpSplitter->addWidget(mpTreeView);
    vpSplitter->addWidget(mpTabs);
    vpSplitter->setStretchFactor(0, 0);
    vpSplitter->setStretchFactor(1, 1);
    vpSplitter->setSizes({mpTabs->minimumWidth() + 300, mpTreeView->width() + mpTabs->width()});
    vpLayout->addWidget(vpSplitter);
    setCentralWidget(vpCentral);

    QFont vStatusFont = statusBar()->font();
    vStatusFont.setWeight(QFont::Bold);
    statusBar()->setFont(vStatusFont);
    mpSermonCountLabel = new QLabel(tr("Sermons total: 0"), this);
    mpSermonCountLabel->setFixedWidth(200);
    statusBar()->addPermanentWidget(mpSermonCountLabel);

    createAdvancedPanel();
    nameControls();
    orderFocus();
    new WindowKeys(this);
    restoreLayout();
    // From here on the window asks the data store and never waits for it (a
    // first use of the options may still have set the data store up above).
    vpDatabase->setWindowThread(thread());
    mpToolBar->sortByYearClicked();
}

void MainWindow::createAdvancedPanel()
{
    // Floats over the window below the search line while its button is down.
    auto *vpPanel = new QFrame(this);
    vpPanel->setFrameShape(QFrame::StyledPanel);
    vpPanel->setFrameShadow(QFrame::Raised);
    mpAdvancedPanel = vpPanel;
    mpAdvancedPanel->setObjectName(QStringLiteral("vpAdvancedPanel"));
    mpAdvancedPanel->setAutoFillBackground(true);
    mpAdvancedPanel->hide();
    auto *vpLayout = new QVBoxLayout(mpAdvancedPanel);
    for (int i = 0; i < 4; ++i) {
        auto *vpOption = new QRadioButton(mpAdvancedPanel);
        vpLayout->addWidget(vpOption);
        mcOptionButtons.append(vpOption);
    }
    // The option of the last advanced search, chosen again.
    const int vnOption = Application::settings()->value(csSearchOption, -1).toInt();
    if (vnOption >= 0 && vnOption < mcOptionButtons.size())
        mcOptionButtons.at(vnOption)->setChecked(true);
    // Word forms stay chosen for every search until unticked, in this window
    // and the next.
    mpWordFormsBox = new QCheckBox(mpAdvancedPanel);
    mpWordFormsBox->setChecked(Application::settings()->value(csWordForms, false).toBool());
    mpSearchWidget->setWordForms(mpWordFormsBox->isChecked());
    vpLayout->addWidget(mpWordFormsBox);
    connect(mpWordFormsBox, &QCheckBox::toggled, this, [this](bool abOn) {
        Application::settings()->setValue(csWordForms, abOn);
        mpSearchWidget->setWordForms(abOn);
    });
    mpAdvancedSearchButton = new QPushButton(mpAdvancedPanel);
    vpLayout->addWidget(mpAdvancedSearchButton);
    retranslateAdvancedPanel();

    QPushButton *vpAdvanced = mpSearchWidget->advancedButton();
    connect(vpAdvanced, &QPushButton::toggled, mpAdvancedPanel, &QWidget::setVisible);
    connect(vpAdvanced, &QPushButton::toggled, this, &MainWindow::moveAdvancedSearch);
    connect(mpAdvancedSearchButton, &QPushButton::clicked, this, &MainWindow::advanceSearchClick);
}

void MainWindow::retranslateAdvancedPanel()
{
    mcOptionButtons.at(0)->setText(tr("distinguish capital and lower case letters"));
    mcOptionButtons.at(1)->setText(tr("words can't be parts of words"));
    mcOptionButtons.at(2)->setText(tr("look for the exact phrase"));
    mcOptionButtons.at(3)->setText(tr("the required contains at least one word"));
    mpWordFormsBox->setText(tr("find word forms"));
    mpWordFormsBox->setToolTip(tr("Finds the other forms of each word too (нести: несёт, "
                                  "несут). Not with whole words, the exact phrase or capital "
                                  "letters."));
    mpAdvancedSearchButton->setText(tr("Search"));
}

void MainWindow::nameControls()
{
    mpTabs->setAccessibleName(tr("Open documents"));
    if (auto *vpBar = mpTabs->findChild<QTabBar *>())
        vpBar->setAccessibleName(tr("Open documents"));
    mpAdvancedPanel->setAccessibleName(tr("Search options"));
}

void MainWindow::orderFocus()
{
    // Tab follows the window from the top left: the catalogue's tools, the
    // search line with its buttons and options, the tree's tools, the tree,
    // then the tabs (each page orders its own controls after them).
    QList<QWidget *> vcChain = FocusChain::toolBarControls(mpToolBar);
    vcChain << FocusChain::controls(mpSearchWidget);
    for (QRadioButton *vpOption : mcOptionButtons)
        vcChain << vpOption;
    vcChain << mpWordFormsBox << mpAdvancedSearchButton;
    vcChain << FocusChain::toolBarControls(mpTreeToolBar);
    vcChain << mpTreeView << mpTabs;
    FocusChain::link(vcChain);
}

void MainWindow::advanceSearchClick()
{
    mpSearchWidget->advancedButton()->setChecked(false);
    // The options are exclusive; later buttons win, as the values are tested in order.
    const AdvancedSearchFlag vcValues[] = {CaseSensitive, WholeWords, ExactPhrase, AnyWord};
    AdvancedSearchFlags vFlags = NoOption;
    int vnOption = -1;
    for (int i = 0; i < mcOptionButtons.size(); ++i)
        if (mcOptionButtons.at(i)->isChecked()) {
            vFlags = vcValues[i];
            vnOption = i;
        }
    Application::settings()->setValue(csSearchOption, vnOption);
    mpSearchWidget->startSearch(vFlags);
}

void MainWindow::moveAdvancedSearch()
{
    if (!mpAdvancedPanel)
        return;
    mpAdvancedPanel->setFixedSize(
        mpAdvancedPanel->layout()->sizeHint().expandedTo(QSize(250, 136)));
    // Right-aligned under the search button, inside the window.
    const QPushButton *vpButton = mpSearchWidget->searchButton();
    const QPoint vButton = vpButton->mapTo(this, QPoint(0, 0));
    int vnX = static_cast<int>(vpButton->width() * 1.5 + vButton.x() - mpAdvancedPanel->width());
    if (vnX < 0)
        vnX = 5;
    if (vnX + mpAdvancedPanel->width() > width())
        vnX = width() - mpAdvancedPanel->width();
    const int vnY = mpSearchToolBar->mapTo(this, QPoint(0, 0)).y() + 2 * vpButton->height();
    mpAdvancedPanel->move(vnX, vnY);
    mpAdvancedPanel->raise();
}

void MainWindow::resizeEvent(QResizeEvent *apEvent)
{
    QMainWindow::resizeEvent(apEvent);
    moveAdvancedSearch();
}

void MainWindow::showEvent(QShowEvent *apEvent)
{
    moveAdvancedSearch();
    QMainWindow::showEvent(apEvent);
    if (!mbFileProblemsAsked) {
        mbFileProblemsAsked = true;
        QMetaObject::invokeMethod(Application::database(), &Database::announceFileProblems,
                                  Qt::QueuedConnection);
    }
}

MainWindow::~MainWindow()
{
    Database *vpDatabase = Application::database();
    vpDatabase->setTreeView(nullptr);
    vpDatabase->setWindowThread(nullptr);
    Application::settings()->setValue(QStringLiteral("mainWindowState"), saveState(0));
}

void MainWindow::restoreLayout()
{
    const QVariant vValue = Application::settings()->value(QStringLiteral("mainWindowState"));
    // Earlier builds wrote the state as Base64 text.
    const QByteArray vState = vValue.type() == QVariant::ByteArray
                                  ? vValue.toByteArray()
                                  : QByteArray::fromBase64(vValue.toString().toLatin1());
    if (!vState.isEmpty())
        restoreState(vState, 0);
}

QMenu *MainWindow::createLanguageMenu(const QString &asTitle, const QString &asCodeKey,
                                      const QString &asNameKey, const QString &asObjectPrefix)
{
    auto *vpMenu = new QMenu(asTitle, mpLanguageMenu);
    QSettings *vpSettings = Application::settings();
    for (int n = 1;; ++n) {
        const QString vsCode = vpSettings->value(asCodeKey.arg(n)).toString();
        if (vsCode.isEmpty())
            break;
        QAction *vpAction = vpMenu->addAction(Resources::icon(QStringLiteral(":/i18n/") + vsCode),
                                              vpSettings->value(asNameKey.arg(n)).toString());
        vpAction->setObjectName(asObjectPrefix + vsCode);
        connect(vpAction, &QAction::triggered, this, &MainWindow::setLanguage);
    }
    return vpMenu;
}

void MainWindow::createMenus()
{
    mpLanguageMenu = menuBar()->addMenu(tr("Language"));
    mpLanguageMenu->addMenu(createLanguageMenu(tr("Database"), QStringLiteral("DBLang%0"),
                                               QStringLiteral("DBLangName%0"),
                                               QStringLiteral("DBLang_")));
    mpLanguageMenu->addMenu(createLanguageMenu(tr("Interface"), QStringLiteral("INLang%0"),
                                               QStringLiteral("INLangName%0"),
                                               QStringLiteral("INLang_")));
    mpServiceMenu = menuBar()->addMenu(tr("Service"));
    QAction *vpSettings = mpServiceMenu->addAction(tr("Settings"));
    vpSettings->setObjectName(QStringLiteral("settingsAction"));
    connect(vpSettings, &QAction::triggered, this, &MainWindow::openSettings);
    mpAboutMenu = menuBar()->addMenu(tr("About"));
    QAction *vpHelp =
        mpAboutMenu->addAction(Resources::icon(QStringLiteral(":/icons/help.png")), tr("Help"));
    vpHelp->setObjectName(QStringLiteral("helpAction"));
    vpHelp->setShortcuts(WindowKeys::keys(QKeySequence::HelpContents, Qt::Key_F1));
    connect(vpHelp, &QAction::triggered, this, &MainWindow::help);
}

void MainWindow::createToolBars()
{
    mpToolBar->setObjectName(QStringLiteral("mpToolBar"));
    mpToolBar->setTreeView(mpTreeView);
    mpToolBar->createActions();
    mpToolBar->setFixedHeight(28);
    mpToolBar->setMovable(false);

    mpTreeToolBar = new QToolBar(tr("Tree toolbar"), this);
    mpTreeToolBar->setObjectName(QStringLiteral("vpTreeToolBar"));
    mpTreeToolBar->setFixedWidth(33);
    mpTreeToolBar->setMovable(false);
    mpTreeToolBar->addAction(mpToolBar->hideTreeAction());
    mpTreeToolBar->addAction(mpTreeView->checkAllAction());
    mpTreeToolBar->addAction(mpTreeView->uncheckAllAction());
    mpTreeToolBar->addAction(mpTreeView->checkInverseAction());
    mpTreeToolBar->addAction(mpTreeView->expandAction());
    mpTreeToolBar->addAction(mpToolBar->duplicatesAction());
    if (mpTreeView->exportAction())
        mpTreeToolBar->addAction(mpTreeView->exportAction());
    if (mpTreeView->deleteAction())
        mpTreeToolBar->addAction(mpTreeView->deleteAction());

    mpSearchToolBar = new QToolBar(tr("Search toolbar"), this);
    mpSearchToolBar->setObjectName(QStringLiteral("mpSearchToolBar"));
    mpSearchToolBar->setFixedHeight(28);
    mpSearchToolBar->setMovable(false);
    mpSearchToolBar->layout()->setContentsMargins(2, 2, 2, 2);
    mpSearchToolBar->addWidget(mpSearchWidget);

    addToolBar(Qt::LeftToolBarArea, mpTreeToolBar);
    addToolBar(Qt::TopToolBarArea, mpToolBar);
    addToolBar(Qt::TopToolBarArea, mpSearchToolBar);
}

void MainWindow::setLanguage()
{
    const QString vsName = sender() ? sender()->objectName() : QString();
    qDebug() << "sender" << vsName;
    const QString vsCode = vsName.section(QLatin1Char('_'), 1);
    const bool vbDatabase = vsName.contains(QLatin1String("DBLang"));
    qDebug() << "is database" << vbDatabase;
    if (vsCode.isEmpty())
        return;
    if (vbDatabase) {
        Application::sharedOptions()->switchDataLanguage(vsCode);
        mpToolBar->updateLanguageMenu();
        return;
    }
    Application::settings()->setValue(QStringLiteral("Language"), vsCode);
    ModalBox::information(nullptr, QString(),
                          tr("Изменения вступят в силу при следующем запуске."));
}

void MainWindow::updateStatus()
{
    // Counted on the data store's thread; the label follows when they arrive.
    mpRequests->countSermons();
}

void MainWindow::showSermonCounts()
{
    mpSermonCountLabel->setText(
        tr("Sermons total: %0 / %1").arg(mnFirstTranslations).arg(mnAllSermons));
}

void MainWindow::openSettings()
{
    // Modal to this window without a nested event loop: the window goes on
    // painting, and a test drives the dialog as the user would.
    auto *vpDialog = new SettingsDialog(Application::settings(), Application::sharedOptions(),
                                        Application::database(), mpRequests, mpTreeView, this);
    const QString vsLanguage = Application::sharedOptions()->dataLanguage();
    connect(vpDialog, &QDialog::finished, this, [this, vpDialog, vsLanguage] {
        mpTreeView->applyFont();
        // A conversion may have switched the data language.
        if (Application::sharedOptions()->dataLanguage() != vsLanguage)
            mpToolBar->updateLanguageMenu();
        vpDialog->deleteLater();
    });
    vpDialog->open();
}

void MainWindow::help()
{
    auto *vpDialog = new HelpDialog(this);
    vpDialog->show();
}

void MainWindow::changeEvent(QEvent *apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange && mpLanguageMenu) {
        delete mpLanguageMenu;
        delete mpServiceMenu;
        delete mpAboutMenu;
        menuBar()->clear();
        createMenus();
        setWindowTitle(tr("KVR"));
        mpTreeToolBar->setWindowTitle(tr("Tree toolbar"));
        mpToolBar->setWindowTitle(tr("Main toolbar"));
        mpSearchToolBar->setWindowTitle(tr("Search toolbar"));
        retranslateAdvancedPanel();
        nameControls();
        showSermonCounts();
    }
    QMainWindow::changeEvent(apEvent);
}
