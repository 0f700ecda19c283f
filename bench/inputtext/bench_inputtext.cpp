// Time from the trigger of an Input Text key to its text showing in the focused line
// edit, for 10 and 500 characters, beside `xdotool type` of the same text.
#include "actions/inputtext/plugininputtext.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "plugin/tovkyplugineventtype.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTimeoutMs = 60000;

QString sampleText(int length)
{
    const QString words = QStringLiteral("the quick brown fox jumps over the lazy dog ");
    QString text;
    while (text.size() < length)
        text += words;
    return text.left(length);
}

// Median of the runs, in ms; a negative figure when the text never showed.
double measure(QLineEdit& edit, const QString& text, int runs, const std::function<void()>& start)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        edit.clear();
        QCoreApplication::processEvents();
        timer.start();
        start();
        while (edit.text() != text && timer.elapsed() < kTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        if (edit.text() != text)
            return -1;
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

bool focus(QWidget& window)
{
    window.show();
    window.activateWindow();
    for (int i = 0; i < 200 && !window.isActiveWindow(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return window.isActiveWindow();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("inputtext: skipped (needs an X display)\n");
        return 0;
    }
    KeyboardEventService::setInstance(KeyboardEventService::create(QStringLiteral("x11")));
    QLineEdit edit;
    edit.resize(600, 40);
    if (!focus(edit)) {
        std::printf("inputtext: skipped (the benchmark window never got the focus)\n");
        return 0;
    }
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const QJsonObject trigger{{"target", "k"}, {"event", QJsonObject{{"type", TovKyPluginEventType::kAppTriggeredEvent}}}};
    for (const int length : {10, 500}) {
        const QString text = sampleText(length);
        PluginInputText action;
        action.init(QStringLiteral("k"), {{"payload", QJsonObject{{"version", 1}, {"SendText", text}, {"PressEnterStatus", "False"}}}});
        const double ours = measure(edit, text, 20, [&] {
            QJsonObject result;
            action.eventReceived(trigger, result);
        });
        std::printf("inputtext.paste %d chars trigger to text: median %.1f ms (20 runs)\n", length, ours);
        if (xdotool.isEmpty()) {
            std::printf("inputtext.xdotool: skipped (not installed)\n");
            continue;
        }
        const double theirs = measure(edit, text, 3, [&] {
            QProcess::startDetached(xdotool, {QStringLiteral("type"), text});
        });
        std::printf("inputtext.xdotool %d chars type to text: median %.1f ms (3 runs)\n", length, theirs);
        if (ours > 0 && theirs > 0)
            std::printf("inputtext.ratio %d chars xdotool/ours (median): %.1fx\n", length, theirs / ours);
    }
    return 0;
}
