// Share links: each service's address and query as the service reads them,
// the tweet's length budget, and the confirmation between click and browser.
#include "support/testsupport.h"

#include "controllers/application.h"
#include "controllers/shareitem.h"
#include "controllers/sharemanager.h"
#include "widgets/sharedialog.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QUrlQuery>

namespace {

using Sharer = void (ShareManager::*)(ShareItem *);

// The quote and the settings hold what could end a value or the query or be
// read as something else ("+" as a space, "%41" as "A"), and a "%1" that the
// tweet must not fill in; the hosts are the settings' own.
const QString csSite = "https://site.test/q?a=1&b=x+y;z#top";
const QString csLogo = "https://site.test/l 1+2.png";
const QString csTitle = "Пс. 22 & 23: \"a+b\" #1 = %41 %1";
const QString csText = "Господь — Пастырь мой;\n1 + 1 = 2 & #3 %41";
const QVariantMap ccSettings{{"ShareSite", csSite},
                             {"ShareLogo", csLogo},
                             {"ShareFacebookAppId", "app=7&8"},
                             {"ShareFacebookHost", "fb.test"},
                             {"ShareVkHost", "vk.test"},
                             {"ShareGooglePlusHost", "gp.test"},
                             {"ShareTwitterHost", "tw.test"}};

// Records the links handed to the desktop instead of starting a browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler("https", this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("https"); }
    QStringList mcUrls;

public slots:
    void open(const QUrl &aUrl) { mcUrls << QString::fromLatin1(aUrl.toEncoded()); }
};

} // namespace

Q_DECLARE_METATYPE(Sharer)

class TestShare : public QObject
{
    Q_OBJECT

private slots:
    void share_data();
    void share();
    void tweetBudget_data();
    void tweetBudget();
};

void TestShare::share_data()
{
    QTest::addColumn<Sharer>("share");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("items");

    const auto row = [](const char *apService, Sharer aShare, const char *apAddress,
                        const QStringList &acItems) {
        for (bool vbYes : {false, true})
            QTest::addRow("%s, %s", apService, vbYes ? "yes" : "no")
                << aShare << vbYes << apAddress << acItems;
    };
    row("facebook", &ShareManager::shareFacebook, "https://fb.test/dialog/feed",
        {"app_id=app=7&8", "redirect_uri=https://fb.test", "display=page", "link=" + csSite,
         "picture=" + csLogo, "name=Quillmark", "caption=" + csTitle, "description=" + csText});
    row("vk", &ShareManager::shareVk, "https://vk.test/share.php",
        {"url=" + csSite, "title=" + csTitle, "description=" + csText, "image=" + csLogo,
         "noparse=true"});
    row("googleplus", &ShareManager::shareGooglePlus, "https://gp.test/share", {"url=" + csSite});
    row("twitter", &ShareManager::shareTwitter, "https://tw.test/share",
        {"url=" + csSite, "text=" + csText + "\n" + csTitle, "counturl=https://tw.test"});
}

// The dialog shows the quote and the link; Yes opens exactly that link, No
// nothing.
void TestShare::share()
{
    QFETCH(Sharer, share);
    QFETCH(bool, yes);

    TempAppDir vApp(ccSettings);
    UrlRecorder vRecorder;
    ShareItem vItem(csTitle, csText);
    QObject vGuard; // its timers go with it
    QString vsQuote, vsLink;
    QTimer::singleShot(0, &vGuard, [&] {
        auto *vpDialog = qobject_cast<ShareDialog *>(QApplication::activeModalWidget());
        QVERIFY(vpDialog);
        vsQuote = vpDialog->findChild<QTextEdit *>("vpQuote")->toPlainText();
        vsLink = vpDialog->findChild<QLineEdit *>("vpLink")->text();
        vpDialog->findChild<QPushButton *>(yes ? "vpYes" : "vpNo")->click();
    });
    bool vbTimedOut = false;
    QTimer::singleShot(20000, &vGuard, [&] {
        vbTimedOut = true;
        if (auto *vpDialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            vpDialog->reject();
    });
    (Application::shareManager()->*share)(&vItem);

    QVERIFY(!vbTimedOut && !QApplication::activeModalWidget());
    QCOMPARE(vsQuote, csText);
    QCOMPARE(vRecorder.mcUrls, yes ? QStringList{vsLink} : QStringList());
    // The link as the browser passes it on, its query read as a web server
    // reads it: "&" separates the items and "+" stands for a space.
    const QUrl vSent = QUrl::fromEncoded(vsLink.toLatin1(), QUrl::StrictMode);
    QTEST(vSent.adjusted(QUrl::RemoveQuery).toString(), "address");
    QStringList vcItems;
    for (const auto &vItem : QUrlQuery(vSent.query(QUrl::FullyEncoded).replace('+', "%20"))
                                 .queryItems(QUrl::FullyDecoded))
        vcItems << vItem.first + "=" + vItem.second;
    QTEST(vcItems, "items");
}

void TestShare::tweetBudget_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tweet");

    // What is left of 140 after the address and "%1\nT".
    const QString vsSite = "https://quillmark.example.org";
    const int vnBudget = 140 - vsSite.size() - QString("%1\nT").size();
    const QString vsFits(vnBudget, 'a');
    QTest::newRow("fits exactly") << vsSite << "T" << vsFits << vsFits + "\nT";
    QTest::newRow("one over") << vsSite << "T" << vsFits + "b"
                              << vsFits.left(vnBudget - 3) + "...\nT";
    QTest::newRow("address longer than a tweet")
        << QString(150, 'x') << QString("T") << QString("text") << QString("...\nT");
}

void TestShare::tweetBudget()
{
    QFETCH(QString, site);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QTEST(ShareManager::tweetText(ShareItem(title, text), site), "tweet");
}

QUILLMARK_TEST_MAIN(TestShare)
#include "test_share.moc"
