#include "widgets/helpdialog.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <functional>

namespace {
std::function<void(const QUrl &)> &linkHandler()
{
    static std::function<void(const QUrl &)> sHandler;
    return sHandler;
}

QLabel *headerLabel(const QString &asText, QWidget *apParent)
{
    auto *vpLabel = new QLabel(asText, apParent);
    vpLabel->setStyleSheet(QStringLiteral("font-size: 12px; font-weight: bold;"));
    vpLabel->setAlignment(Qt::AlignCenter);
    return vpLabel;
}
} // namespace

HelpDialog::HelpDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Help"));
    activateWindow();
    raise();
    setFocus();
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(640, 480);
    resize(820, 640);

    mpBrowser = new QTextBrowser(this);
    mpBrowser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mpBrowser->setReadOnly(true);
    mpBrowser->setOpenLinks(false);
    connect(mpBrowser, &QTextBrowser::anchorClicked, this, &HelpDialog::openLink);

    auto *vpVersion = headerLabel(tr("Version: %0\nDatabase last updated: %1")
                                      .arg(QCoreApplication::applicationVersion(),
                                           Application::sharedOptions()->databaseLastUpdated()),
                                  this);
    auto *vpOrganisation = headerLabel(tr("Quillmark"), this);
    const QString vsDomain = QCoreApplication::organizationDomain();
    auto *vpLink = headerLabel(QStringLiteral("<a href=\"%0\">%0</a>").arg(vsDomain), this);
    connect(vpLink, &QLabel::linkActivated, this,
            [this](const QString &asLink) { openLink(QUrl::fromUserInput(asLink)); });

    auto *vpHeader = new QHBoxLayout;
    vpHeader->addWidget(vpVersion);
    vpHeader->addWidget(vpOrganisation);
    vpHeader->addWidget(vpLink);
    auto *vpLayout = new QVBoxLayout(this);
    vpLayout->setContentsMargins(4, 4, 4, 4);
    vpLayout->addLayout(vpHeader);
    vpLayout->addWidget(mpBrowser);

    // The guide's pictures are resources next to it.
    const QString vsFolder = guideFolder(Application::sharedOptions()->interfaceLanguage());
    mpBrowser->setSearchPaths({vsFolder});
    QFile vGuide(vsFolder + QStringLiteral("/index.html"));
    if (vGuide.open(QIODevice::ReadOnly | QIODevice::Text))
        mpBrowser->setHtml(QString::fromUtf8(vGuide.readAll()));
    mpBrowser->show();
}

HelpDialog::~HelpDialog()
{
    qDebug() << "HelpDialog::~HelpDiaLOG()";
}

QString HelpDialog::guideFolder(const QString &asLanguage)
{
    const QString vsFolder = QStringLiteral(":/help/") + asLanguage;
    if (!asLanguage.isEmpty() && !asLanguage.contains(QLatin1Char('/')) &&
        QFile::exists(vsFolder + QStringLiteral("/index.html")))
        return vsFolder;
    return QStringLiteral(":/help/en");
}

void HelpDialog::setLinkHandler(std::function<void(const QUrl &)> aHandler)
{
    linkHandler() = std::move(aHandler);
}

void HelpDialog::openLink(QUrl aUrl)
{
    qDebug() << "Follow link:" << aUrl;
    if (linkHandler())
        linkHandler()(aUrl);
    else
        QDesktopServices::openUrl(aUrl);
}
