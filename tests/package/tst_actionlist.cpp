// The package's list of actions is CategoryConfig.json: the factory and the menu titles
// in code must follow it, both ways.
#include "actions/common/systemaction.h"
#include "package/systemdll.h"

#include <QJsonArray>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

QJsonArray configuredActions()
{
    SystemDll package;
    return package.loadConfig() ? package.list().value("subnode").toArray() : QJsonArray();
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class tst_ActionList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
        QVERIFY(!configuredActions().isEmpty());
    }

    // Every configured category makes an action on the shared core, of that category.
    void configuredMakesAction_data()
    {
        QTest::addColumn<QString>("category");
        for (const QJsonValue& node : configuredActions()) {
            const QString category = node["category"].toString();
            QTest::newRow(qPrintable(category)) << category;
        }
    }

    void configuredMakesAction()
    {
        QFETCH(QString, category);
        SystemDll package;
        std::unique_ptr<KYPlugin> action(package.makeWidget(category, 0));
        QVERIFY(action);
        QCOMPARE(action->category, category);
        QVERIFY(qobject_cast<SystemAction*>(action.get()));
    }

    // Nothing is made that is not configured, nothing configured twice.
    void factoryIsConfigured()
    {
        QStringList configured;
        for (const QJsonValue& node : configuredActions())
            configured << node["category"].toString();
        QCOMPARE(QSet<QString>(configured.cbegin(), configured.cend()).size(), configured.size());
        QCOMPARE(sorted(SystemDll::categories()), sorted(configured));
    }

    // The menu titles the host asks for are the package title and every configured
    // action title that the package translates; nothing else.
    void mappingFollowsConfig()
    {
        SystemDll package;
        QVERIFY(package.loadConfig());
        QVERIFY(package.translate("en_US"));
        const QJsonObject config = package.list();
        QStringList titles{config["title"].toString()};
        for (const QJsonValue& node : config["subnode"].toArray())
            titles << node["title"].toString();
        QStringList translated;
        for (const QString& title : titles) {
            if (!package.translator.translate("SystemDll", qPrintable(title)).isEmpty())
                translated << title;
        }
        QCOMPARE(sorted(package.mapping().keys()), sorted(translated));
    }
};

QTEST_MAIN(tst_ActionList)
#include "tst_actionlist.moc"
