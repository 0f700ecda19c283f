#include "cloud/cloudserviceurlmanager.h"
#include "package/kyvantaproxy.h"
#include "package/systemdll.h"

#include <QFile>
#include <QJsonArray>
#include <QXmlStreamReader>
#include <QtTest>

// A package whose resource prefix the test chooses, to read the test's own configurations.
class TestPackage : public IBuiltInPackageLibrary
{
public:
    explicit TestPackage(const QString& name) : IBuiltInPackageLibrary(name, nullptr) {}
    QMap<QString, QString> mapping() override { return {}; }
    KYPlugin* makeWidget(const QString&, int) override { return nullptr; }
};

using Translations = QHash<QPair<QString, QString>, QString>;  // (context, key) -> text

static Translations readTsFile(const QString& path)
{
    Translations result;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            result.insert({context, source}, xml.readElementText());
    }
    return result;
}

static const QStringList kLanguages = {"de_DE", "en_US", "ja_JP", "ko_KR", "zh_CN", "zh_TW"};

class tst_PackageLibrary : public QObject
{
    Q_OBJECT
private slots:
    void loadConfig_data();
    void loadConfig();
    void systemMenuIcons();
    void failedReloadKeepsConfig();
    void initParams_data();
    void initParams();
    void translations_data();
    void translations();
};

void tst_PackageLibrary::loadConfig_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("versionCode");
    QTest::addColumn<QString>("versionName");
    QTest::addColumn<bool>("emptyConfig");

    QTest::newRow("system") << "SystemDll" << true << 20 << "1.0.10" << false;
    QTest::newRow("library is a string") << "LibraryAsString" << true << 7 << "7.0.1" << false;
    QTest::newRow("no library, no name") << "NoLibrary" << true << 3 << "x.x.x" << false;
    QTest::newRow("library without name, code not a number")
        << "NoVersion" << true << 0 << "" << false;
    QTest::newRow("not JSON") << "Broken" << true << 0 << "x.x.x" << true;
    QTest::newRow("missing file") << "Missing" << false << 0 << "x.x.x" << true;
}

void tst_PackageLibrary::loadConfig()
{
    QFETCH(QString, package);
    QFETCH(bool, loaded);
    QFETCH(int, versionCode);
    QFETCH(QString, versionName);
    QFETCH(bool, emptyConfig);

    TestPackage library(package);
    QCOMPARE(library.versionCode(), 0);
    QCOMPARE(library.versionName(), QStringLiteral("x.x.x"));
    if (!loaded) {
        QTest::ignoreMessage(QtCriticalMsg,
                             qPrintable(QStringLiteral("Failed to find json file from bundle.Resources \":/%1/CategoryConfig.json\"")
                                            .arg(package)));
    }
    QCOMPARE(library.loadConfig(), loaded);
    QCOMPARE(library.versionCode(), versionCode);
    QCOMPARE(library.versionName(), versionName);
    QCOMPARE(library.list().isEmpty(), emptyConfig);
}

// Each menu icon is in the resources (the file itself is compared with its source
// where the library is loaded as a host loads it).
void tst_PackageLibrary::systemMenuIcons()
{
    SystemDll package;
    QVERIFY(package.loadConfig());
    const QJsonArray subnodes = package.list().value("subnode").toArray();
    QCOMPARE(subnodes.size(), 6);
    for (const QJsonValue& node : subnodes) {
        const QString icon = node["menu_icon"].toString();
        QVERIFY2(QFile::exists(icon), qPrintable(icon));
    }
}

void tst_PackageLibrary::failedReloadKeepsConfig()
{
    TestPackage library("LibraryAsString");
    QVERIFY(library.loadConfig());
    const QJsonObject loaded = library.list();
    library.packageName = QStringLiteral("Missing");
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Failed to find json file"));
    QVERIFY(!library.loadConfig());
    QCOMPARE(library.list(), loaded);
    QCOMPARE(library.versionCode(), 7);
}

void tst_PackageLibrary::initParams_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("configDir");
    QTest::addColumn<int>("cloudType");

    QTest::newRow("all members") << QJsonObject{{"port", 5000}, {"configDir", "/tmp/cfg"}, {"cloudType", 2}}
                                 << 5000 << "/tmp/cfg" << 2;
    QTest::newRow("empty") << QJsonObject{} << 0 << "" << 0;
    QTest::newRow("wrong types") << QJsonObject{{"port", "5000"}, {"configDir", 12}, {"cloudType", "1"}}
                                 << 0 << "" << 0;
    QTest::newRow("port as double") << QJsonObject{{"port", 8080.0}, {"cloudType", 1}} << 8080 << "" << 1;
}

void tst_PackageLibrary::initParams()
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

void tst_PackageLibrary::translations_data()
{
    QTest::addColumn<QString>("lang");
    for (const QString& lang : kLanguages)
        QTest::newRow(qPrintable(lang)) << lang;
    QTest::newRow("no such language: untranslated") << "fr_FR";
}

// Every text of the sources in every language, and the menu titles from translate()
// alone: the host may not have installed the translator yet.
void tst_PackageLibrary::translations()
{
    QFETCH(QString, lang);
    const Translations english = readTsFile(QStringLiteral(SYSTEMDLL_TS_DIR "/language_en_US.ts"));
    const Translations source = readTsFile(QStringLiteral(SYSTEMDLL_TS_DIR "/language_%1.ts").arg(lang));
    QVERIFY(english.size() > 50);
    const bool known = kLanguages.contains(lang);
    SystemDll package;
    if (!known)
        QTest::ignoreMessage(QtWarningMsg, qPrintable("[dll] load translation failed \"SystemDll\" \"" + lang + '"'));
    QTranslator* translator = package.translate(lang);
    QCOMPARE(translator, known ? &package.translator : nullptr);
    for (auto it = english.cbegin(); known && it != english.cend(); ++it) {
        const auto& [context, key] = it.key();
        const QString expected = source.value(it.key());
        QVERIFY2(!expected.isEmpty(), qPrintable(QStringLiteral("%1/%2 missing in %3").arg(context, key, lang)));
        QCOMPARE(translator->translate(qPrintable(context), qPrintable(key)), expected);
    }
    const QMap<QString, QString> titles = package.mapping();
    QCOMPARE(titles.size(), 6);
    QVERIFY(!titles.contains("LAB_SIDEBAR_SYSTEM_MULTIMEDIA"));
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        QCOMPARE(it.value(), known ? source.value({"SystemDll", it.key()}) : it.key());
}

QTEST_MAIN(tst_PackageLibrary)
#include "tst_packagelibrary.moc"
