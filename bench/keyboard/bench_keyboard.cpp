// Latency from posting a chord (one modifier plus one key) to the focused window
// receiving the key's release: our X11 backend against xdotool, one process per chord.
#include "../common/keyreleaseprobe.h"
#include "platform/keyboard/x11/x11keyboardservice.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace {
constexpr int kChords = 1000;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("keyboard: skipped (needs an X display)\n");
        return 0;
    }
    auto service = X11KeyboardService::open();
    if (!service) {
        std::printf("keyboard: skipped (no XTEST)\n");
        return 0;
    }
    KeyReleaseProbe window(Qt::Key_A);
    if (!window.focus()) {
        std::printf("keyboard: skipped (the benchmark window never got the focus)\n");
        return 0;
    }

    const KeyEventSequence chord = {KeyEvent::press(0x00).withFlags(KeyEvent::CommandFlag),
                                    KeyEvent::release(0x00)};
    const auto ours = window.measure(kChords, [&] { service->post(chord); });
    std::printf("keyboard.x11 chord to release: median %.3f ms, p99 %.3f ms (%d chords, %d lost)\n",
                ours.median, ours.p99, kChords, ours.lost);

    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xdotool.isEmpty()) {
        std::printf("keyboard.xdotool: skipped (not installed)\n");
        return 0;
    }
    const auto theirs = window.measure(kChords, [&] {
        QProcess::startDetached(xdotool, {"key", "ctrl+a"});
    });
    std::printf("keyboard.xdotool chord to release: median %.3f ms, p99 %.3f ms (%d processes, %d lost)\n",
                theirs.median, theirs.p99, kChords, theirs.lost);
    std::printf("keyboard.ratio xdotool/ours (median): %.1fx\n", theirs.median / ours.median);
    return 0;
}
