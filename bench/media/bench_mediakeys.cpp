// Latency of a media key: from a System Multimedia key's app-triggered event, and from
// the bare post, to the player receiving the call over the session bus (MPRIS backend),
// and from the post to a grabbing X client receiving the key's release (X11 backend);
// then the same through playerctl and xdotool, one process per press as a script would
// call them.
#include "actions/multimedia/pluginsystemmultimedia.h"
#include "mediakeygrabber.h"
#include "mpristestplayer.h"
#include "platform/media/mediakeys.h"
#include "platform/media/mediakeyservice.h"

#include <QApplication>
#include <QDBusConnection>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPresses = 500;
constexpr int kWarmUp = 10;
constexpr int kDeadlineMs = 5000;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Figures
{
    double median = 0;
    double p99 = 0;
    int lost = 0;
};

// `press` posts once and returns the steady-clock time of arrival, or -1 when lost.
Figures measure(const std::function<qint64()>& press)
{
    for (int i = 0; i < kWarmUp; ++i)
        press();
    std::vector<double> ms;
    Figures figures;
    for (int i = 0; i < kPresses; ++i) {
        const qint64 start = nowNs();
        const qint64 arrival = press();
        if (arrival < 0)
            ++figures.lost;
        else
            ms.push_back((arrival - start) / 1e6);
        QCoreApplication::processEvents();  // answers to earlier calls, outside the timing
    }
    if (ms.empty())
        return figures;
    std::sort(ms.begin(), ms.end());
    figures.median = ms[ms.size() / 2];
    figures.p99 = ms[std::min(ms.size() - 1, size_t(ms.size() * 0.99))];
    return figures;
}

void print(const char* what, const Figures& f, const char* unit)
{
    std::printf("media.%s: median %.3f ms, p99 %.3f ms (%d %s, %d lost)\n", what, f.median, f.p99, kPresses, unit,
                f.lost);
}

qint64 grabbedAt(MediaKeyGrabber& grabber)
{
    return grabber.take(2, kDeadlineMs).size() == 2 ? nowNs() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.platform.media.debug=false\nsystemdll.actions.debug=false"));
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !QDBusConnection::sessionBus().isConnected()) {
        std::printf("media: skipped (needs an X display and a session bus)\n");
        return 0;
    }
    QString error;
    auto grabber = MediaKeyGrabber::open(&error);
    MprisTestPlayer player(QStringLiteral("bench"), QStringLiteral("Playing"));
    if (!grabber || !player.isRegistered()) {
        std::printf("media: skipped (%s)\n", grabber ? "test player not registered" : qPrintable(error));
        return 0;
    }

    MediaKeyService::setInstance(MediaKeyService::create(QStringLiteral("mpris")));
    PluginSystemMultimedia action;
    action.init(QStringLiteral("bench"), {{"payload", QJsonObject{{"version", 1}, {"MultimediaIndex", 0}}}});
    const QJsonObject triggered{{"event", QJsonObject{{"type", "tov.ky.plugin.event.app.triggered"}}}};
    const Figures key = measure([&] {
        QJsonObject result;
        action.eventReceived(triggered, result);
        return player.waitForCall(kDeadlineMs);
    });
    print("app triggered to player call", key, "triggers");
    const Figures mpris = measure([&] { playMedia(); return player.waitForCall(kDeadlineMs); });
    print("mpris post to player call", mpris, "posts");

    MediaKeyService::setInstance(MediaKeyService::create(QStringLiteral("x11")));
    const Figures x11 = measure([&] { playMedia(); return grabbedAt(*grabber); });
    print("x11 post to grabbed key release", x11, "posts");
    MediaKeyService::setInstance(nullptr);

    const QString playerctl = QStandardPaths::findExecutable(QStringLiteral("playerctl"));
    if (playerctl.isEmpty()) {
        std::printf("media.playerctl: skipped (not installed)\n");
    } else {
        const Figures theirs = measure([&] {
            QProcess::startDetached(playerctl, {QStringLiteral("play-pause")});
            return player.waitForCall(kDeadlineMs);
        });
        print("playerctl play-pause to player call", theirs, "processes");
        std::printf("media.ratio playerctl/mpris (median): %.1fx\n", theirs.median / mpris.median);
        std::printf("media.ratio playerctl/app triggered (median): %.1fx\n", theirs.median / key.median);
    }

    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty()) {
        std::printf("media.xdotool: skipped (not installed)\n");
    } else {
        const Figures theirs = measure([&] {
            QProcess::startDetached(xdotool, {QStringLiteral("key"), QStringLiteral("XF86AudioPlay")});
            return grabbedAt(*grabber);
        });
        print("xdotool key XF86AudioPlay to grabbed key release", theirs, "processes");
        std::printf("media.ratio xdotool/x11 (median): %.1fx\n", theirs.median / x11.median);
    }
    return 0;
}
