// System Multimedia through the built library, as a host loads it: a media action
// reaches a grabbing X client through the platform's own backend, and the reference
// host prints what a press sends.
#include "actioninterface.h"
#include "mediakeygrabber.h"
#include "packageinterface.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kCategory = QStringLiteral("com.corvane.system.multimedia");
}

class tst_MultimediaHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_package; }
    void pressReachesX();
    void hostPrintsMediaKeys();

private:
    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::PackageInterface* m_package = nullptr;
    std::unique_ptr<MediaKeyGrabber> m_grabber;
};

void tst_MultimediaHost::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsEmpty("SYSTEMDLL_MEDIA_BACKEND"), "the platform's own media backend is tested");
    QString error;
    m_grabber = MediaKeyGrabber::open(&error);
    QVERIFY2(m_grabber, qPrintable(error));
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    QVERIFY(instance);
    m_package = instance();
    QVERIFY(m_package->init({{"port", 1}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
}

// With no player about, volume up is the X key a desktop grabs, pressed and released.
// How each key is routed beside a player is for the media-key tests.
void tst_MultimediaHost::pressReachesX()
{
    std::unique_ptr<host::ActionInterface> action(m_package->makeWidget(kCategory, 0));
    QVERIFY(action);
    QVERIFY(action->init("key", {{"payload", QJsonObject{{"version", 1}, {"MultimediaIndex", 5}}}}));
    QJsonObject result;
    action->eventReceived({{"target", "key"}, {"event", QJsonObject{{"type", "tov.ky.plugin.event.app.triggered"}}}},
                          result);
    QCOMPARE(m_grabber->takeAll(2), QStringList({"+XF86AudioRaiseVolume", "-XF86AudioRaiseVolume"}));
    QCOMPARE(m_grabber->keysDown(), QStringList());
}

// The reference host prints each media key a press sends, down and up.
void tst_MultimediaHost::hostPrintsMediaKeys()
{
    QTemporaryDir dir;
    QFile script(dir.filePath("steps.json"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QJsonDocument(QJsonArray{QJsonObject{{"do", "assign"}, {"slot", 2}, {"category", kCategory},
                                                      {"payload", QJsonObject{{"version", 1}, {"MultimediaIndex", 5}}}},
                                          QJsonObject{{"do", "press"}, {"slot", 2}}}).toJson());
    script.close();

    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SYSTEMDLL_MEDIA_BACKEND", "record");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VANTA_HOST), {"--headless", "--no-launch", "--keys", "record", "--config-dir", dir.path(),
                                            "--library", QStringLiteral(SYSTEMDLL_LIBRARY), "--script", script.fileName()});
    QVERIFY(host.waitForFinished(120000));
    QCOMPARE(host.exitCode(), 0);
    QJsonArray media;
    for (const QByteArray& line : host.readAllStandardOutput().split('\n'))
        if (QJsonDocument::fromJson(line)["kind"] == QLatin1String("media"))
            media << QJsonDocument::fromJson(line).object();
    QJsonObject volumeUp{{"kind", "media"}, {"key", "volumeUp"}, {"keyType", 0}, {"down", true}};
    QJsonArray expected{volumeUp};
    volumeUp["down"] = false;
    QCOMPARE(media, expected << volumeUp);
}

QTEST_MAIN(tst_MultimediaHost)
#include "tst_multimediahost.moc"
