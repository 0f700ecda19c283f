// The reference host on a Wayland session (headless sway, no X display): a Hotkey key it
// presses reaches a native Wayland client through the package's own choice of backend,
// and --keys record still records instead.
#include "keyprobe.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray kScript = R"([{"do":"assign","slot":0,"category":"com.corvane.system.hotkey",
                               "payload":{"version":1,"SendHotkey":"Ctrl+Shift+A"}},{"do":"press","slot":0}])";
}

class tst_WaylandHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
        if (m_display.isEmpty())
            QSKIP("no headless sway (SYSTEMDLL_TEST_SWAY_DISPLAY unset; scripts/test starts one)");
        QVERIFY(m_dir.isValid());

        QFile script(m_dir.filePath("script.json"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(kScript);
    }

    void hotkey_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("sent");
        QTest::newRow("package's choice") << QStringList() << true;
        QTest::newRow("record") << QStringList{"--keys", "record"} << false;
    }

    void hotkey()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, sent);
        KeyProbe probe(m_display);
        QVERIFY(probe.waitActive());
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("WAYLAND_DISPLAY", m_display);
        env.insert("XDG_CONFIG_HOME", m_dir.path());
        host.setProcessEnvironment(env);
        host.start(VANTA_HOST, QStringList{"--library", SYSTEMDLL_LIBRARY, "--headless", "--no-launch", "--config-dir",
                                           m_dir.filePath(QTest::currentDataTag()), "--script",
                                           m_dir.filePath("script.json")} + options);
        QVERIFY(host.waitForFinished(60000));
        QCOMPARE(host.exitCode(), 0);
        const QByteArray out = host.readAllStandardOutput();
        QCOMPARE(out.contains("\"kind\":\"keys\""), !sent);
        if (sent)
            QVERIFY2(probe.modifiersOfPress(Qt::Key_A) == int(Qt::ControlModifier | Qt::ShiftModifier),
                     probe.transcript() + host.readAllStandardError());
        else
            QCOMPARE(probe.modifiersOfPress(Qt::Key_A, 300), -1);
    }

private:
    QString m_display;
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_WaylandHost)
#include "tst_waylandhost.moc"
