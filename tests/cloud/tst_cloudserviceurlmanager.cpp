#include "cloud/cloudserviceurlmanager.h"

#include <QRegularExpression>
#include <QtTest>
#include <functional>

using Address = std::function<QString()>;
Q_DECLARE_METATYPE(Address)

class tst_CloudServiceUrlManager : public QObject
{
    Q_OBJECT
private slots:
    void defaultsToOfficial();
    void addresses_data();
    void addresses();
    void credentials();
    void outOfRangeTypeFreezes();  // last: it changes process-wide state for good
};

void tst_CloudServiceUrlManager::defaultsToOfficial()
{
    QCOMPARE(int(CloudServiceUrlManager::getCloudType()), 0);
    QVERIFY(CloudServiceUrlManager::getWidgetStoreFullList().startsWith(
        CloudServiceUrlManager::getDomainUrl(CloudAPI::Official)));
}

void tst_CloudServiceUrlManager::addresses_data()
{
    using M = CloudServiceUrlManager;
    QTest::addColumn<Address>("address");
    QTest::addColumn<QString>("path");  // what follows the base address

    const struct { const char* name; Address address; const char* path; } rows[] = {
        {"plugin version", M::getPluginVersionJson, "/cdn/ky520/plugin-version.json"},
        {"icon builder", M::getIconBuilderUrl, "/main/iconbuilder/"},
        {"revoke token", M::getRevokeTokenUrl, "/api/v2/tov/token/revoke/"},
        {"refresh token", M::getRefreshTokenUrl, "/api/v2/tov/token/refresh/"},
        {"refresh cdn account", M::getRefreshCdnAccountTokenUrl, "/api/v2/tov/platform/accounts/refresh/"},
        {"platform account", M::getPlatformAccountUrl, "/api/v2/tov/platform/accounts/"},
        {"platform account all", M::getPlatformAccountAllUrl, "/api/v3/tov/platform/accounts/?params=all&refresh=1"},
        {"login", M::getCorvaneLoginUrl, "/api/v2/tov/login/"},
        {"profile", M::getRequestProfileUrl, "/api/v2/tov/user/"},
        {"request id", M::getRequestIdUrl, "/api/v2/tov/authentication/request/id/"},
        {"twitch token", M::getTwitchToken, "/api/v2/tov/platform/token/"},
        {"obs guide", M::getOBSGuideUrl, "/cdn/media/OBS.pdf"},
        {"store", M::getWidgetStoreUrl, "/widgetstore/deckstation/"},
        {"store list", M::getWidgetStoreFullList, "/api/v2/package/list/"},
        {"feedback list", M::getWidgetStoreUserFeedbackFullList, "/api/v2/package/user/feedback/list/"},
        {"feedback score", M::getWidgetStoreFeedbackScoreUrl, "/api/v2/package/feedback/score/"},
        {"streams", [] { return M::getFullStreamsUrl("abc"); }, "/api/v2/tov/streams/abc/"},
        {"youtube check", [] { return M::getYoutubeCheckTokenInvalid("y1"); }, "/api/v2/tov/streams/y1/"},
        {"twitch check", [] { return M::getTwitchCheckTokenInvalid("t1"); }, "/api/v2/tov/streams/t1/"},
        {"channel", [] { return M::getFullChannelUrl("c"); }, "/api/v2/tov/channel/c/"},
        {"chat", [] { return M::getFullChatUrl("c"); }, "/api/v2/tov/related/urls/c/"},
        {"account id", [] { return M::getFullPlatformAccountUrl("7"); }, "/api/v2/tov/platform/accounts/7/"},
        {"request id check", [] { return M::getFullRequestIdCheckUrl("r"); }, "/api/v2/tov/authentication/request/id/check/r/"},
        {"download count", [] { return M::getWidgetStoreDownloadCountIncUrl("p"); }, "/api/v2/package/inc_download_num/p/"},
        {"feedback of package", [] { return M::getWidgetStoreUserFeedback("p9"); }, "/api/v2/package/user/feedback/list/?package_id=p9"},
        {"detail page, no encoding", [] { return M::getWidgetStorePackageDetailInfoPage("en", "a b", "t&k"); },
         "/en/widgetstore/deckstation/widget_detail_web.html?pkid=a b&token=t&k&page=allpackages"},
        {"hotkey profiles", [] { return M::getWidgetStoreHotkeyProfileUrl("de"); }, "/de/widgetstore/deckstation/hotkey_list.html/"},
        {"audio profiles", [] { return M::getWidgetStoreAudioProfileUrl("ja"); }, "/ja/widgetstore/deckstation/audio_list.html/"},
        {"web channel", [] { return M::getWidgetStoreWebChannelUrl("ko"); }, "/ko/widgetstore/deckstation/widget_list_web.html/?page=allpackages"},
        {"placeholder in argument", [] { return M::getWidgetStorePackageDetailInfoPage("%2", "x", "y"); },
         "/%2/widgetstore/deckstation/widget_detail_web.html?pkid=x&token=y&page=allpackages"},
    };
    const CloudAPI::CloudType types[] = {CloudAPI::Official, CloudAPI::Test, CloudAPI::Dev};
    const char* names[] = {"official", "test", "dev"};
    for (int t = 0; t < 3; ++t) {
        for (const auto& row : rows) {
            const CloudAPI::CloudType type = types[t];
            Address bound = [type, f = row.address] {
                CloudServiceUrlManager::setCloudType(type);
                return f();
            };
            QTest::addRow("%s: %s", names[t], row.name) << bound << QString::fromLatin1(row.path);
        }
    }
    const QString id = CloudServiceUrlManager::getCloudClientID();
    QTest::newRow("facebook authorize")
        << Address([] { CloudServiceUrlManager::setCloudType(CloudAPI::Test); return M::getFaceBookAuthorizeUrl("r1"); })
        << QStringLiteral("/api/v2/tov/authorize?client_id=%1&request_type=tov_facebook_login&request_id=r1").arg(id);
    QTest::newRow("authorize")
        << Address([] { CloudServiceUrlManager::setCloudType(CloudAPI::Dev); return M::getFullAuthorizeUrl("kind", "r2"); })
        << QStringLiteral("/api/v2/tov/authorize/?client_id=%1&request_type=kind&request_id=r2").arg(id);
}

void tst_CloudServiceUrlManager::addresses()
{
    QFETCH(Address, address);
    QFETCH(QString, path);
    const QString url = address();
    const QString base = CloudServiceUrlManager::getDomainUrl(CloudServiceUrlManager::getCloudType());
    QCOMPARE(url, base + path);
    QVERIFY(base.startsWith("https://"));
}

void tst_CloudServiceUrlManager::credentials()
{
    QVERIFY(QRegularExpression("^[A-Za-z0-9]{40}$").match(CloudServiceUrlManager::getCloudClientID()).hasMatch());
    QVERIFY(QRegularExpression("^[0-9a-f]{100}$").match(CloudServiceUrlManager::getCloudClientSecret()).hasMatch());
    const QSet<QString> bases{CloudServiceUrlManager::getDomainUrl(CloudAPI::Official),
                              CloudServiceUrlManager::getDomainUrl(CloudAPI::Test),
                              CloudServiceUrlManager::getDomainUrl(CloudAPI::Dev)};
    QCOMPARE(bases.size(), 3);
    QCOMPARE(CloudServiceUrlManager::getDomainUrl(CloudAPI::CloudType(5)),
             CloudServiceUrlManager::getDomainUrl(CloudAPI::Official));
    // Environment-independent pages.
    CloudServiceUrlManager::setCloudType(CloudAPI::Dev);
    const QString privacy = CloudServiceUrlManager::getSoftwarePrivacyUrl();
    CloudServiceUrlManager::setCloudType(CloudAPI::Official);
    QCOMPARE(CloudServiceUrlManager::getSoftwarePrivacyUrl(), privacy);
}

void tst_CloudServiceUrlManager::outOfRangeTypeFreezes()
{
    CloudServiceUrlManager::setCloudType(CloudAPI::CloudType(7));
    QCOMPARE(int(CloudServiceUrlManager::getCloudType()), 7);
    QCOMPARE(CloudServiceUrlManager::getWidgetStoreFullList(),
             CloudServiceUrlManager::getDomainUrl(CloudAPI::Official) + "/api/v2/package/list/");
    CloudServiceUrlManager::setCloudType(CloudAPI::Dev);
    QCOMPARE(int(CloudServiceUrlManager::getCloudType()), 7);
}

QTEST_MAIN(tst_CloudServiceUrlManager)
#include "tst_cloudserviceurlmanager.moc"
