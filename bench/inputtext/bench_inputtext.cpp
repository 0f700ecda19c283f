// Time from the trigger of an Input Text key to its text showing in the focused line
// edit, for 10 and 500 characters, beside `xdotool type` of the same text; and how
// long a paste holds the GUI thread while another program owns a large picture on
// the clipboard.
#include "actions/inputtext/plugininputtext.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "plugin/tovkyplugineventtype.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTimeoutMs = 10000;

QString sampleText(int length)
{
    const QString words = QStringLiteral("the quick brown fox jumps over the lazy dog ");
    QString text;
    while (text.size() < length)
        text += words;
    return text.left(length);
}

struct Figures
{
    double median = -1;  // ms; negative when every run was lost
    int lost = 0;        // runs whose text never showed
};

Figures measure(QLineEdit& edit, const QString& text, int runs, const std::function<void()>& start)
{
    std::vector<double> ms;
    Figures figures;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        edit.clear();
        QCoreApplication::processEvents();
        timer.start();
        start();
        while (edit.text() != text && timer.elapsed() < kTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        if (edit.text() != text)
            ++figures.lost;
        else
            ms.push_back(timer.nsecsElapsed() / 1e6);
        // Let the clipboard come back before the next run.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (ms.empty())
        return figures;
    std::sort(ms.begin(), ms.end());
    figures.median = ms[ms.size() / 2];
    return figures;
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

// A picture of about `megabytes` MB as PNG (noise does not compress).
QByteArray bigPng(int megabytes)
{
    const int side = int(std::sqrt(megabytes * 1024.0 * 1024.0 / 3));
    QImage image(side, side, QImage::Format_RGB888);
    quint32 seed = 12345;
    for (int y = 0; y < side; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < side * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            line[x] = uchar(seed >> 24);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return png;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.*.debug=false"));
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
    const auto triggerOf = [&](PluginInputText& action) {
        return [&] {
            QJsonObject result;
            action.eventReceived(trigger, result);
        };
    };
    for (const int length : {10, 500}) {
        const QString text = sampleText(length);
        PluginInputText action;
        action.init(QStringLiteral("k"), {{"payload", QJsonObject{{"version", 1}, {"SendText", text}, {"PressEnterStatus", "False"}}}});
        const int runs = 20;
        const Figures ours = measure(edit, text, runs, triggerOf(action));
        std::printf("inputtext.paste %d chars trigger to text: median %.1f ms (%d runs, %d lost)\n", length,
                    ours.median, runs, ours.lost);
        if (xdotool.isEmpty()) {
            std::printf("inputtext.xdotool: skipped (not installed)\n");
            continue;
        }
        const Figures theirs = measure(edit, text, 3, [&] {
            QProcess::startDetached(xdotool, {QStringLiteral("type"), text});
        });
        std::printf("inputtext.xdotool %d chars type to text: median %.1f ms (3 runs, %d lost)\n", length,
                    theirs.median, theirs.lost);
        if (ours.median > 0 && theirs.median > 0)
            std::printf("inputtext.ratio %d chars xdotool/ours (median): %.1fx\n", length, theirs.median / ours.median);
    }

    // Another program holds a large picture: the paste copies it as raw bytes.
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    QTemporaryDir dir;
    const QString picture = dir.filePath("big.png");
    {
        QFile file(picture);
        if (!file.open(QIODevice::WriteOnly) || file.write(bigPng(37)) < 0) {
            std::printf("inputtext.picture: skipped (cannot write the picture)\n");
            return 0;
        }
    }
    if (xclip.isEmpty()) {
        std::printf("inputtext.picture: skipped (xclip not installed)\n");
        return 0;
    }
    const qint64 bytes = QFileInfo(picture).size();
    const QString text = sampleText(10);
    PluginInputText action;
    action.init(QStringLiteral("k"), {{"payload", QJsonObject{{"version", 1}, {"SendText", text}, {"PressEnterStatus", "False"}}}});
    std::vector<double> held;
    int lost = 0;
    const int runs = 5;
    for (int i = 0; i < runs; ++i) {
        QProcess owner;
        owner.start(xclip, {"-quiet", "-selection", "clipboard", "-t", "image/png", "-i", picture});
        QElapsedTimer wait;
        wait.start();
        while (QGuiApplication::clipboard()->ownsClipboard() && wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(200);  // xclip has taken the selection by now
        edit.clear();
        QElapsedTimer timer;
        timer.start();
        triggerOf(action)();
        held.push_back(timer.nsecsElapsed() / 1e6);
        QElapsedTimer shown;
        shown.start();
        while (edit.text() != text && shown.elapsed() < kTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (edit.text() != text)
            ++lost;
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 1500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        owner.kill();
        owner.waitForFinished();
    }
    std::sort(held.begin(), held.end());
    std::printf("inputtext.picture %.0f MB PNG on the clipboard: trigger holds the GUI thread median %.1f ms, max %.1f ms "
                "(%d runs, %d lost)\n",
                bytes / 1048576.0, held[held.size() / 2], held.back(), runs, lost);
    return 0;
}
