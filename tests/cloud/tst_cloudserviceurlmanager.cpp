#include "cloud/cloudserviceurlmanager.h"

#include <QtTest>
#include <functional>

using Address = std::function<QString()>;
Q_DECLARE_METATYPE(Address)
using M = CloudServiceUrlManager;

class tst_CloudServiceUrlManager : public QObject
{
    Q_OBJECT
private slots:
    // Official until the host says otherwise; three distinct bases.
    void environments()
    {
        QCOMPARE(int(M::getCloudType()), 0);
        const QSet<QString> bases{M::getDomainUrl(CloudAPI::Official), M::getDomainUrl(CloudAPI::Test),
                                  M::getDomainUrl(CloudAPI::Dev)};
        QCOMPARE(bases.size(), 3);
        QCOMPARE(M::getDomainUrl(CloudAPI::CloudType(5)), M::getDomainUrl(CloudAPI::Official));
    }

    // One row per shape of address, the environments taken in turn. Arguments go in
    // unencoded, placeholders included.
    void addresses_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<Address>("address");
        QTest::addColumn<QString>("path");  // what follows the environment's base
        const QString id = M::getCloudClientID();
        QTest::newRow("official: fixed path") << 0 << Address(M::getWidgetStoreFullList) << "/api/v2/package/list/";
        QTest::newRow("dev: language") << 2 << Address([] { return M::getWidgetStoreWebChannelUrl("ko"); })
                                       << "/ko/widgetstore/deckstation/widget_list_web.html/?page=allpackages";
        QTest::newRow("official: detail page, placeholder and no encoding")
            << 0 << Address([] { return M::getWidgetStorePackageDetailInfoPage("%2", "a b", "t&k"); })
            << "/%2/widgetstore/deckstation/widget_detail_web.html?pkid=a b&token=t&k&page=allpackages";
        QTest::newRow("test: authorize") << 1 << Address([] { return M::getFullAuthorizeUrl("kind", "r2"); })
                                         << QStringLiteral("/api/v2/tov/authorize/?client_id=%1&request_type=kind&request_id=r2").arg(id);
    }

    void addresses()
    {
        QFETCH(int, type);
        QFETCH(Address, address);
        QFETCH(QString, path);
        M::setCloudType(CloudAPI::CloudType(type));
        QCOMPARE(address(), M::getDomainUrl(CloudAPI::CloudType(type)) + path);
    }
};

QTEST_MAIN(tst_CloudServiceUrlManager)
#include "tst_cloudserviceurlmanager.moc"
