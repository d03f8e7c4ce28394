#include "controllers/sharemanager.h"

#include "controllers/application.h"
#include "controllers/shareitem.h"

#include <QDesktopServices>
#include <QSettings>
#include <QUrlQuery>

#include <initializer_list>
#include <utility>

namespace {

// The service's limit on a tweet, in characters.
constexpr int cnTweetLength = 140;

QString setting(const char *apKey, const QString &asDefault)
{
    const QString vsValue =
        Application::settings()->value(QLatin1String(apKey), asDefault).toString().trimmed();
    return vsValue.isEmpty() ? asDefault : vsValue;
}

QString site()
{
    return setting("ShareSite", QStringLiteral("https://quillmark.example.org"));
}

QString logo()
{
    return setting("ShareLogo", QStringLiteral("https://quillmark.example.org/logo.png"));
}

QString facebookHost()
{
    return setting("ShareFacebookHost", QStringLiteral("www.facebook.com"));
}

QString twitterHost()
{
    return setting("ShareTwitterHost", QStringLiteral("twitter.com"));
}

QString homeAddress(const QString &asHost)
{
    return QStringLiteral("https://") + asHost;
}

using QueryItems = std::initializer_list<std::pair<const char *, QString>>;

// QUrlQuery leaves "+", ";" and others as they are and takes a "%41" in a
// value for an escape; a service would read a space, a separator or another
// character. Each value is therefore encoded here in full, and QUrlQuery
// keeps escapes it is given.
QUrl shareUrl(const QString &asHost, const QString &asPath, QueryItems acItems)
{
    QUrlQuery vQuery;
    for (const auto &vItem : acItems)
        vQuery.addQueryItem(QLatin1String(vItem.first),
                            QString::fromLatin1(QUrl::toPercentEncoding(vItem.second)));
    QUrl vUrl;
    vUrl.setScheme(QStringLiteral("https"));
    vUrl.setHost(asHost);
    vUrl.setPath(asPath);
    vUrl.setQuery(vQuery);
    return vUrl;
}

} // namespace

ShareManager::ShareManager(QObject *parent) : QObject(parent)
{
}

ShareManager::~ShareManager() = default;

void ShareManager::setConfirmation(Confirmation aConfirmation)
{
    mConfirmation = std::move(aConfirmation);
}

QUrl ShareManager::facebookUrl(const ShareItem &aItem) const
{
    const QString vsHost = facebookHost();
    return shareUrl(vsHost, QStringLiteral("/dialog/feed"),
                    {{"app_id", setting("ShareFacebookAppId", QStringLiteral("0"))},
                     {"redirect_uri", homeAddress(vsHost)},
                     {"display", QStringLiteral("page")},
                     {"link", site()},
                     {"picture", logo()},
                     {"name", QStringLiteral("Quillmark")},
                     {"caption", aItem.title()},
                     {"description", aItem.text()}});
}

QUrl ShareManager::vkUrl(const ShareItem &aItem) const
{
    return shareUrl(setting("ShareVkHost", QStringLiteral("vk.com")), QStringLiteral("/share.php"),
                    {{"url", site()},
                     {"title", aItem.title()},
                     {"description", aItem.text()},
                     {"image", logo()},
                     {"noparse", QStringLiteral("true")}});
}

QUrl ShareManager::googlePlusUrl(const ShareItem & /*aItem*/) const
{
    // The service reads the title and picture from the page the link names.
    return shareUrl(setting("ShareGooglePlusHost", QStringLiteral("plus.google.com")),
                    QStringLiteral("/share"), {{"url", site()}});
}

QUrl ShareManager::twitterUrl(const ShareItem &aItem) const
{
    const QString vsSite = site();
    const QString vsHost = twitterHost();
    return shareUrl(
        vsHost, QStringLiteral("/share"),
        {{"url", vsSite}, {"text", tweetText(aItem, vsSite)}, {"counturl", homeAddress(vsHost)}});
}

QString ShareManager::tweetText(const ShareItem &aItem, const QString &asSite)
{
    // The tweet is "%1\n<title>" with the text in place of the placeholder,
    // whose two characters count against the budget. It is put together
    // directly rather than with arg(): a "%1" in the title stays as it is.
    const QString vsTail = QLatin1Char('\n') + aItem.title();
    const int vnBudget = cnTweetLength - asSite.size() - (2 + vsTail.size());
    QString vsText = aItem.text();
    if (vsText.size() > vnBudget) {
        // left() of a negative count would keep the whole text.
        vsText = vsText.left(qMax(0, vnBudget - 3)) + QStringLiteral("...");
    }
    return vsText + vsTail;
}

void ShareManager::shareFacebook(ShareItem *apItem)
{
    share(apItem, &ShareManager::facebookUrl);
}

void ShareManager::shareVk(ShareItem *apItem)
{
    share(apItem, &ShareManager::vkUrl);
}

void ShareManager::shareGooglePlus(ShareItem *apItem)
{
    share(apItem, &ShareManager::googlePlusUrl);
}

void ShareManager::shareTwitter(ShareItem *apItem)
{
    share(apItem, &ShareManager::twitterUrl);
}

void ShareManager::share(const ShareItem *apItem, LinkBuilder aBuilder)
{
    if (!apItem || !mConfirmation)
        return;
    const QUrl vUrl = (this->*aBuilder)(*apItem);
    if (mConfirmation(apItem->text(), vUrl))
        QDesktopServices::openUrl(vUrl);
}
