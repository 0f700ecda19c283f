// Latency from the host's app-triggered event on an Input Hotkey key holding
// Ctrl+Shift+A to the focused window receiving the chord's release, beside
// `xdotool key ctrl+shift+a` in the same run.
#include "../common/keyreleaseprobe.h"
#include "actions/hotkey/plugininputhotkey.h"
#include "platform/keyboard/x11/x11keyboardservice.h"
#include "plugin/tovkyplugineventtype.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace {
constexpr int kTriggers = 1000;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.*.debug=false"));
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("hotkey: skipped (needs an X display)\n");
        return 0;
    }
    auto service = X11KeyboardService::open();
    if (!service) {
        std::printf("hotkey: skipped (no XTEST)\n");
        return 0;
    }
    KeyboardEventService::setInstance(std::move(service));

    PluginInputHotkey action;
    action.init("bench", {{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"Hotkey"}},
                                                  {"iconlist", QJsonArray{":/SystemDll/images/mainpage_btn_hotkey.png"}},
                                                  {"SendHotkey", "Ctrl+Shift+A"}}}});
    const QJsonObject trigger{{"target", "bench"},
                              {"event", QJsonObject{{"type", TovKyPluginEventType::kAppTriggeredEvent}}}};
    KeyReleaseProbe window(Qt::Key_A);
    if (!window.focus()) {
        std::printf("hotkey: skipped (the benchmark window never got the focus)\n");
        return 0;
    }

    const auto ours = window.measure(kTriggers, [&] {
        QJsonObject result;
        action.eventReceived(trigger, result);
    });
    std::printf("hotkey.trigger Ctrl+Shift+A to release: median %.3f ms, p99 %.3f ms (%d triggers, %d lost)\n",
                ours.median, ours.p99, kTriggers, ours.lost);

    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xdotool.isEmpty()) {
        std::printf("hotkey.xdotool: skipped (not installed)\n");
        return 0;
    }
    const auto theirs = window.measure(kTriggers, [&] {
        QProcess::startDetached(xdotool, {"key", "ctrl+shift+a"});
    });
    std::printf("hotkey.xdotool ctrl+shift+a to release: median %.3f ms, p99 %.3f ms (%d processes, %d lost)\n",
                theirs.median, theirs.p99, kTriggers, theirs.lost);
    std::printf("hotkey.ratio xdotool/ours (median): %.1fx\n", theirs.median / ours.median);
    return 0;
}
