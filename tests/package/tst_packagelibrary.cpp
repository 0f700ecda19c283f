#include "cloud/cloudserviceurlmanager.h"
#include "package/systemdll.h"
#include "plugin/hostcontext/kyvantaproxy.h"

#include <QFile>
#include <QtTest>

// A package whose resource prefix the test chooses, to read the test's own configurations.
class TestPackage : public IBuiltInPackageLibrary
{
public:
    explicit TestPackage(const QString& name) : IBuiltInPackageLibrary(name, nullptr) {}
    QMap<QString, QString> mapping() override { return {}; }
    KYPlugin* makeWidget(const QString&, int) override { return nullptr; }
};

class tst_PackageLibrary : public QObject
{
    Q_OBJECT
private slots:
    void loadConfig_data()
    {
        QTest::addColumn<QString>("package");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("versionCode");
        QTest::addColumn<QString>("versionName");
        QTest::addColumn<bool>("emptyConfig");

        QTest::newRow("system") << "SystemDll" << true << 20 << "1.0.10" << false;
        QTest::newRow("library is a string") << "LibraryAsString" << true << 7 << "7.0.1" << false;
        QTest::newRow("no library, no name") << "NoLibrary" << true << 3 << "x.x.x" << false;
        QTest::newRow("not JSON") << "Broken" << true << 0 << "x.x.x" << true;
        QTest::newRow("missing file") << "Missing" << false << 0 << "x.x.x" << true;
    }

    void loadConfig()
    {
        QFETCH(QString, package);
        QFETCH(bool, loaded);
        QFETCH(int, versionCode);
        QFETCH(QString, versionName);
        QFETCH(bool, emptyConfig);

        TestPackage library(package);
        QCOMPARE(library.versionCode(), 0);
        QCOMPARE(library.versionName(), QStringLiteral("x.x.x"));
        if (!loaded)
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Failed to find json file"));
        QCOMPARE(library.loadConfig(), loaded);
        QCOMPARE(library.versionCode(), versionCode);
        QCOMPARE(library.versionName(), versionName);
        QCOMPARE(library.list().isEmpty(), emptyConfig);
        for (const QJsonValue& node : library.list().value("subnode").toArray())
            QVERIFY2(QFile::exists(node["menu_icon"].toString()), qPrintable(node["menu_icon"].toString()));
        // A failed reload leaves the configuration as it was.
        const QJsonObject before = library.list();
        library.packageName = QStringLiteral("Missing");
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Failed to find json file"));
        QVERIFY(!library.loadConfig());
        QCOMPARE(library.list(), before);
        QCOMPARE(library.versionCode(), versionCode);
    }

    void initParams_data()
    {
        QTest::addColumn<QJsonObject>("params");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("configDir");
        QTest::addColumn<int>("cloudType");

        QTest::newRow("all members") << QJsonObject{{"port", 5000}, {"configDir", "/tmp/cfg"}, {"cloudType", 2}}
                                     << 5000 << "/tmp/cfg" << 2;
        QTest::newRow("wrong types") << QJsonObject{{"port", "5000"}, {"configDir", 12}, {"cloudType", "1"}}
                                     << 0 << "" << 0;
        QTest::newRow("port as double") << QJsonObject{{"port", 8080.0}, {"cloudType", 1}} << 8080 << "" << 1;
    }

    void initParams()
    {
        QFETCH(QJsonObject, params);
        QFETCH(int, port);
        QFETCH(QString, configDir);
        QFETCH(int, cloudType);

        SystemDll package;
        QVERIFY(package.init(params));
        QCOMPARE(KyVantaProxy::getInstance()->port, port);
        QCOMPARE(KyVantaProxy::getInstance()->configDir, configDir);
        QCOMPARE(int(CloudServiceUrlManager::getCloudType()), cloudType);
    }

    void translations_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("windowControl");  // one menu title as the user reads it; empty: not checked
        // Every language the resources carry (the build's list); two read for real.
        const QHash<QString, QString> read{{"de_DE", "Fenstersteuerung"}, {"en_US", "Window Control"}};
        const QStringList languages = QStringLiteral(SYSTEMDLL_LANGUAGES).split(QLatin1Char(','));
        QVERIFY(languages.contains("de_DE") && languages.contains("en_US"));
        for (const QString& lang : languages)
            QTest::newRow(qPrintable(lang)) << lang << read.value(lang);
        QTest::newRow("no such language: untranslated") << "fr_FR" << "LAB_TITLE_SYS_WINDOWCONTROL";
    }

    // The menu titles follow translate() alone: the host may not have installed the
    // translator yet. Each language translates every title, its own way.
    void translations()
    {
        QFETCH(QString, lang);
        QFETCH(QString, windowControl);
        const bool known = lang != QLatin1String("fr_FR");
        SystemDll english;
        QVERIFY(english.translate("en_US"));
        SystemDll package;
        if (!known)
            QTest::ignoreMessage(QtWarningMsg, qPrintable("[dll] load translation failed \"SystemDll\" \"" + lang + '"'));
        QCOMPARE(package.translate(lang), known ? &package.translator : nullptr);
        const QMap<QString, QString> titles = package.mapping();
        QCOMPARE(titles.keys(), english.mapping().keys());  // the same titles, whatever the language
        QCOMPARE(titles == english.mapping(), lang == QLatin1String("en_US"));
        for (auto it = titles.cbegin(); it != titles.cend(); ++it)
            QCOMPARE(it.value() == it.key(), !known);
        if (!windowControl.isEmpty())
            QCOMPARE(titles.value("LAB_TITLE_SYS_WINDOWCONTROL"), windowControl);
    }
};

QTEST_MAIN(tst_PackageLibrary)
#include "tst_packagelibrary.moc"
