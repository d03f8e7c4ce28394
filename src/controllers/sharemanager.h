#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class ShareItem;

// Turns a quote into a link to a social service's share page and, once the
// reader has confirmed it, hands the link to the desktop's browser. The
// program itself never contacts the services.
//
// The services' hosts, the product's address and logo and the Facebook
// application identifier are settings ("ShareFacebookHost", "ShareVkHost",
// "ShareGooglePlusHost", "ShareTwitterHost", "ShareSite", "ShareLogo",
// "ShareFacebookAppId"), read each time a link is built.
class ShareManager : public QObject
{
    Q_OBJECT

public:
    // Shows the quote text and the link and says whether the reader wants the
    // link opened. Controllers know no widgets, so the application installs
    // the one that runs the confirmation dialog.
    using Confirmation = std::function<bool(const QString &asText, const QUrl &aUrl)>;

    explicit ShareManager(QObject *parent = nullptr);
    ~ShareManager() override;

    // Without a confirmation nothing is ever opened.
    void setConfirmation(Confirmation aConfirmation);

    QUrl facebookUrl(const ShareItem &aItem) const;
    QUrl vkUrl(const ShareItem &aItem) const;
    QUrl googlePlusUrl(const ShareItem &aItem) const;
    QUrl twitterUrl(const ShareItem &aItem) const;

    // The quote text followed by a line feed and the title, the text cut
    // short ("...") so that the tweet, the product's address included, stays
    // within the service's 140 characters.
    static QString tweetText(const ShareItem &aItem, const QString &asSite);

public slots:
    void shareFacebook(ShareItem *apItem);
    void shareVk(ShareItem *apItem);
    void shareGooglePlus(ShareItem *apItem);
    void shareTwitter(ShareItem *apItem);

private:
    using LinkBuilder = QUrl (ShareManager::*)(const ShareItem &) const;
    void share(const ShareItem *apItem, LinkBuilder aBuilder);

    Confirmation mConfirmation;
};
