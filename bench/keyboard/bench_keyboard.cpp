// Latency from posting a chord (one modifier plus one key) to the focused window
// receiving the key's release: our X11 backend against xdotool, one process per chord.
#include "platform/keyboard/x11/x11keyboardservice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kChords = 1000;

class ReleaseCounter : public QWidget
{
public:
    int releases = 0;

protected:
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_A && !event->isAutoRepeat())
            ++releases;
    }
};

struct Figures
{
    double median = 0;
    double p99 = 0;
};

Figures measure(ReleaseCounter& window, int count, const std::function<void()>& post)
{
    std::vector<double> ms;
    ms.reserve(count);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const int before = window.releases;
        timer.start();
        post();
        while (window.releases == before && timer.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(ms.size() * 0.99))]};
}

} // namespace

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
    ReleaseCounter window;
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    for (int i = 0; i < 200 && !window.isActiveWindow(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    if (!window.isActiveWindow()) {
        std::printf("keyboard: skipped (the benchmark window never got the focus)\n");
        return 0;
    }

    const KeyEventSequence chord = {KeyEvent::press(0x00).withFlags(KeyEvent::CommandFlag),
                                    KeyEvent::release(0x00)};
    const Figures ours = measure(window, kChords, [&] { service->post(chord); });
    std::printf("keyboard.x11 chord to release: median %.3f ms, p99 %.3f ms (%d chords)\n",
                ours.median, ours.p99, kChords);

    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xdotool.isEmpty()) {
        std::printf("keyboard.xdotool: skipped (not installed)\n");
        return 0;
    }
    const Figures theirs = measure(window, kChords, [&] {
        QProcess::startDetached(xdotool, {"key", "ctrl+a"});
    });
    std::printf("keyboard.xdotool chord to release: median %.3f ms, p99 %.3f ms (%d processes)\n",
                theirs.median, theirs.p99, kChords);
    std::printf("keyboard.ratio xdotool/ours (median): %.1fx\n", theirs.median / ours.median);
    return 0;
}
