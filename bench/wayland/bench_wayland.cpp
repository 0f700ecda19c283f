// Latency from posting a chord (Ctrl+A) to a Wayland client of this process seeing the
// key's release: the virtual keyboard on sway beside wtype (one process per chord), and
// the RemoteDesktop portal path on mutter. Each compositor is measured in a child process
// of its own, since a Qt application lives on one display.
#include "../common/keyreleaseprobe.h"
#include "platform/keyboard/wayland/keysymkeyboardservice.h"
#include "platform/wayland/portalkeysymsender.h"
#include "platform/wayland/portalsession.h"
#include "platform/wayland/virtualkeyboard.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kChords = 1000;
constexpr int kLostAfterMs = 1000;

struct Latency
{
    double median = 0;
    double p99 = 0;
    int lost = 0;
};

// Milliseconds from post() to the release of A reaching the window; a chord whose release
// never comes within kLostAfterMs counts as lost.
class ReleaseCounter : public KeyReleaseProbe
{
public:
    ReleaseCounter()
        : KeyReleaseProbe(Qt::Key_A)
    {
    }
    Latency measure(int count, const std::function<void()>& post)
    {
        std::vector<double> ms;
        Latency figures;
        QElapsedTimer timer;
        for (int i = 0; i < count; ++i) {
            const int before = m_seen;
            timer.start();
            post();
            while (m_seen == before && timer.elapsed() < kLostAfterMs)
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            if (m_seen == before)
                ++figures.lost;
            else
                ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty()) {
            figures.median = ms[ms.size() / 2];
            figures.p99 = ms[std::min(ms.size() - 1, size_t(ms.size() * 0.99))];
        }
        return figures;
    }

protected:
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_A && !event->isAutoRepeat())
            ++m_seen;
    }

private:
    int m_seen = 0;
};

void print(const char* name, const Latency& f, const char* unit)
{
    std::printf("%s chord to release: median %.3f ms, p99 %.3f ms (%d %s, %d lost)\n", name, f.median, f.p99, kChords,
                unit, f.lost);
    std::fflush(stdout);
}

const KeysymSequence& chord()
{
    static const KeysymSequence events = KeysymKeyboardService::translate(
        {KeyEvent::press(0x00).withFlags(KeyEvent::CommandFlag), KeyEvent::release(0x00)});
    return events;
}

int onSway(ReleaseCounter& window)
{
    auto keyboard = VirtualKeyboard::open();
    if (!keyboard) {
        std::printf("wayland.sway: skipped (no virtual keyboard)\n");
        return 0;
    }
    // The window is in this process: let it bind the seat's new keyboard before the
    // first chord (another program would do so while we wait).
    QDeadlineTimer warmUp(2 * VirtualKeyboard::kSettleMs);
    while (!warmUp.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const Latency ours = window.measure(kChords, [&] { keyboard->send(chord()); });
    print("wayland.sway.virtualkeyboard", ours, "chords");
    const QString wtype = QStandardPaths::findExecutable(QStringLiteral("wtype"));
    if (wtype.isEmpty()) {
        std::printf("wayland.sway.wtype: skipped (not installed)\n");
        return 0;
    }
    const QStringList args{QStringLiteral("-M"), QStringLiteral("ctrl"), QStringLiteral("a"), QStringLiteral("-m"),
                           QStringLiteral("ctrl")};
    const Latency theirs = window.measure(kChords, [&] { QProcess::startDetached(wtype, args); });
    print("wayland.sway.wtype", theirs, "processes");
    std::printf("wayland.sway.ratio wtype/ours (median): %.1fx\n", theirs.median / ours.median);
    return 0;
}

int onMutter(ReleaseCounter& window)
{
    const QString address = qEnvironmentVariable("SYSTEMDLL_TEST_MUTTER_BUS");
    QTemporaryDir config;  // the portal's restore token goes here, not to the user's settings
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QProcess portal;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    portal.setProcessEnvironment(env);
    portal.start(QStringLiteral(FAKE_PORTAL), QStringList{});
    if (!portal.waitForReadyRead(5000)) {
        std::printf("wayland.mutter: skipped (the test portal did not start)\n");
        return 0;
    }
    auto session = std::make_unique<PortalSession>(QDBusConnection::connectToBus(address, QStringLiteral("bench")));
    PortalSession* state = session.get();
    PortalKeysymSender sender(std::move(session));
    sender.send({});
    QDeadlineTimer deadline(5000);
    while (state->state() != PortalSession::State::Started && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    if (state->state() != PortalSession::State::Started) {
        std::printf("wayland.mutter: skipped (no portal session)\n");
        return 0;
    }
    print("wayland.mutter.portal", window.measure(kChords, [&] { sender.send(chord()); }), "chords");
    portal.kill();
    portal.waitForFinished(2000);
    return 0;
}

// One compositor, in this process: "sway" or "mutter".
int child(int argc, char** argv, const QByteArray& which)
{
    const QByteArray display = qgetenv(which == "sway" ? "SYSTEMDLL_TEST_SWAY_DISPLAY" : "SYSTEMDLL_TEST_MUTTER_DISPLAY");
    qputenv("WAYLAND_DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    ReleaseCounter window;
    if (!window.focus()) {
        std::printf("wayland.%s: skipped (the benchmark window never got the focus)\n", which.constData());
        return 0;
    }
    return which == "sway" ? onSway(window) : onMutter(window);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        return child(argc, argv, argv[1]);
    for (const char* which : {"sway", "mutter"}) {
        const char* variable = qstrcmp(which, "sway") == 0 ? "SYSTEMDLL_TEST_SWAY_DISPLAY" : "SYSTEMDLL_TEST_MUTTER_DISPLAY";
        if (qEnvironmentVariableIsEmpty(variable)) {
            std::printf("wayland.%s: skipped (%s unset)\n", which, variable);
            continue;
        }
        std::fflush(stdout);
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QString::fromLocal8Bit(argv[0]), {QString::fromLatin1(which)});
        run.waitForFinished(-1);
    }
    return 0;
}
