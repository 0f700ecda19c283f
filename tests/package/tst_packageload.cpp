// Drives the built library the way a host does: resolve the two entry points, then
// call the package only through the host's own declaration of the interface.
#include "actioninterface.h"
#include "packageinterface.h"

#include <QDesktopServices>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QProcess>
#include <QtTest>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");

QJsonObject keyEvent(const QString& type)
{
    return {{"target", "k"}, {"event", QJsonObject{{"type", type}, {"SDKVersion", "1.0.0"}}}};
}

bool pressedLook(host::ActionInterface* action)
{
    return action->pluginWidget()->findChild<QWidget*>(QStringLiteral("lblMaskClick"))->isVisibleTo(
        action->pluginWidget());
}

} // namespace

class tst_PackageLoad : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        m_sdk = reinterpret_cast<host::SdkFunction>(m_library.resolve("sdk"));
        m_instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
        QVERIFY(m_sdk);
        QVERIFY(m_instance);
    }

    void exportsOnlyEntryPoints()
    {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only", m_library.fileName()});
        QVERIFY(nm.waitForFinished());
        QStringList ours;
        for (const QByteArray& line : nm.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() == 3 && (!fields[2].startsWith('_') || fields[2].startsWith("_Z")))
                ours << QString::fromLatin1(fields[2]);  // any C++ symbol is a leak
        }
        ours.sort();
        // The entry points and the three file icon helpers, nothing else.
        QCOMPARE(ours, QStringList({"_ZN17TovDragDropStatic16saveFilenameIconERK7QString",
                                    "_ZN17TovDragDropStatic17getShortcutPixmapERK7QStringR7QPixmapP16QFileSystemModel",
                                    "_ZN17TovDragDropStatic17removePictureFileE7QString", "instance", "sdk"}));
    }

    // Every operation in slot order through the host's declaration, the way a host uses
    // them; a shifted slot would call another operation and answer differently.
    void packageOperations()
    {
        QCOMPARE(m_sdk(), 4);
        std::unique_ptr<host::PackageInterface> p(makePackage());
        std::unique_ptr<host::PackageInterface> other(makePackage());
        QVERIFY(p && other && p != other);
        QCOMPARE(p->parent(), nullptr);
        QCOMPARE(p->versionCode(), 0);  // before loadConfig
        QCOMPARE(p->versionName(), QStringLiteral("x.x.x"));
        QVERIFY(p->list().isEmpty());
        QVERIFY(p->translate("en_US"));
        QCOMPARE(p->mapping().size(), 6);
        QCOMPARE(p->makeWidget("com.corvane.system.delay", 0), nullptr);
        QVERIFY(p->init({{"port", 0}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
        p->startService(nullptr, {});
        p->stopService();
        QJsonObject result{{"kept", true}};
        p->onTask({{"task", "x"}}, result);
        QCOMPARE(result, QJsonObject({{"kept", true}}));
        QVERIFY(p->postInit());
        QVERIFY(p->loadConfig());
        QCOMPARE(p->versionCode(), 20);
        QCOMPARE(p->versionName(), QStringLiteral("1.0.10"));
        QFile source(QStringLiteral(SYSTEMDLL_CONFIG));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(p->list(), QJsonDocument::fromJson(source.readAll()).object());
    }

    // An action's operations in slot order, on an object the built library made.
    void actionOperations()
    {
        std::unique_ptr<host::PackageInterface> package(makePackage());
        host::ActionInterface* a = package->makeWidget(kOpenUrl, 0);
        QVERIFY(a);
        QCOMPARE(a->category, kOpenUrl);
        const QJsonObject stored{{"version", 1}, {"titlelist", QJsonArray{"AT"}}, {"Url", "https://example.org/slot"}};
        QVERIFY(a->init("t", {{"payload", stored}}));
        QCOMPARE(a->target, QStringLiteral("t"));
        QJsonObject result{{"kept", true}};
        a->eventReceived(keyEvent("tov.ky.plugin.event.key.down"), result);
        QVERIFY(pressedLook(a));
        a->eventReceived(keyEvent("tov.ky.plugin.event.key.up"), result, 1);
        QVERIFY(!pressedLook(a));
        QCOMPARE(result, QJsonObject({{"kept", true}}));
        QCOMPARE(a->pluginWidget()->metaObject()->className(), "WidgetIconPluginOpenUrl");
        QCOMPARE(a->propertyWidget()->metaObject()->className(), "WidgetPluginOpenUrl");
        QCOMPARE(a->actionTitle(), QStringLiteral("AT"));
        QCOMPARE(a->actionIconFilePath(), QStringLiteral("AT"));  // Open URL's icon path is its title
        QCOMPARE(a->onKeyDownEvent({}), 0);
        QVERIFY(pressedLook(a));
        QCOMPARE(a->onKeyUpEvent({}), 0);
        QVERIFY(!pressedLook(a));
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
        QCOMPARE(a->onAppTriggeredEvent({}), 0);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(m_opened, QList<QUrl>{QUrl("https://example.org/slot")});
        QSignalSpy sent(a, SIGNAL(eventSent(QJsonObject)));
        QCOMPARE(a->onSetSettingsEvent({}), 0);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(a->onSyncUI(), 0);
        QVERIFY(a->init(QStringLiteral("only")));
        QCOMPARE(a->target, QStringLiteral("only"));
        QVERIFY(a->initWithDefault());
        QCOMPARE(a->actionTitle(), QStringLiteral("URL"));
        QVERIFY(a->initWithPayload({{"Title", "x"}}));
        QCOMPARE(a->actionTitle(), QStringLiteral("x"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[Preset\\] refused"));
        QVERIFY(!a->initWithPreset({}));
        delete a;
    }

    // last: unloads the library
    void resourcesGoWithTheLibrary()
    {
        const QString config = QStringLiteral(":/SystemDll/CategoryConfig.json");
        QVERIFY(QFile::exists(config));
        QVERIFY(m_library.unload());
        QVERIFY(!QFile::exists(config));
        QVERIFY(!QFile::exists(QStringLiteral(":/SystemDll/language_de_DE.qm")));
    }

public slots:
    void openUrl(const QUrl& url) { m_opened << url; }

private:
    host::PackageInterface* makePackage() { return m_instance(); }
    QList<QUrl> m_opened;

    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::SdkFunction m_sdk = nullptr;
    host::InstanceFunction m_instance = nullptr;
};

QTEST_MAIN(tst_PackageLoad)
#include "tst_packageload.moc"
