#include "cloud/cloudserviceurlmanager.h"

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
    void environments();
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

    // One row per shape of address: a fixed path, one with an id, one with a language,
    // and the detail page whose arguments go in unencoded, placeholders included.
    const struct { const char* name; Address address; const char* path; } rows[] = {
        {"fixed path", M::getWidgetStoreFullList, "/api/v2/package/list/"},
        {"fixed path with query", M::getPlatformAccountAllUrl, "/api/v3/tov/platform/accounts/?params=all&refresh=1"},
        {"id", [] { return M::getFullRequestIdCheckUrl("r"); }, "/api/v2/tov/authentication/request/id/check/r/"},
        {"id in query", [] { return M::getWidgetStoreUserFeedback("p9"); }, "/api/v2/package/user/feedback/list/?package_id=p9"},
        {"language", [] { return M::getWidgetStoreWebChannelUrl("ko"); }, "/ko/widgetstore/deckstation/widget_list_web.html/?page=allpackages"},
        {"detail page, no encoding", [] { return M::getWidgetStorePackageDetailInfoPage("en", "a b", "t&k"); },
         "/en/widgetstore/deckstation/widget_detail_web.html?pkid=a b&token=t&k&page=allpackages"},
        {"placeholder in argument", [] { return M::getWidgetStorePackageDetailInfoPage("%2", "x", "y"); },
         "/%2/widgetstore/deckstation/widget_detail_web.html?pkid=x&token=y&page=allpackages"},
    };
    // Each shape once, the environments taken in turn: the base is shared by all shapes.
    const CloudAPI::CloudType types[] = {CloudAPI::Official, CloudAPI::Test, CloudAPI::Dev};
    const char* names[] = {"official", "test", "dev"};
    int t = 0;
    for (const auto& row : rows) {
        const CloudAPI::CloudType type = types[t % 3];
        const Address bound = [type, f = row.address] {
            CloudServiceUrlManager::setCloudType(type);
            return f();
        };
        QTest::addRow("%s: %s", names[t++ % 3], row.name) << bound << QString::fromLatin1(row.path);
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

void tst_CloudServiceUrlManager::environments()
{
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
