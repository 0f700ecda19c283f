// A focus change to the page of the newly focused application, shown and rendered: the
// median over 100 changes between two windows, on the X server (openbox) and on headless
// sway. Each change is asked of the desktop directly (no helper process in the time);
// a change not followed within a second is a sample lost.
#include "deck.h"
#include "hostsession.h"
#include "pagefollower.h"
#include "swayfocussource.h"
#include "x11focussource.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {
constexpr int kSamples = 100;
constexpr int kKeysPerPage = 6;

QByteArray profile()
{
    QJsonArray pages;
    for (const char* app : {"alpha", "beta"}) {
        QJsonArray keys;
        for (int slot = 0; slot < kKeysPerPage; ++slot)
            keys.append(QJsonObject{{"slot", slot}, {"category", "com.corvane.system.openurl"},
                                    {"target", QStringLiteral("%1-%2").arg(QLatin1String(app)).arg(slot)}});
        pages.append(QJsonObject{{"keys", keys}, {"apps", QJsonArray{app}}});
    }
    return QJsonDocument(QJsonObject{{"version", 2}, {"grid", QJsonObject{{"columns", 3}, {"rows", 2}}}, {"page", 0}, {"pages", pages}})
        .toJson(QJsonDocument::Compact);
}

std::unique_ptr<HostSession> startSession(const QTemporaryDir& dir)
{
    QFile file(dir.filePath("profile.json"));
    if (!file.open(QIODevice::WriteOnly) || file.write(profile()) < 0)
        return nullptr;
    file.close();
    HostSession::Options options;
    options.library = QStringLiteral(SYSTEMDLL_LIBRARY);
    options.configDir = dir.path();
    options.profilePath = dir.filePath("profile.json");
    auto session = std::make_unique<HostSession>(options);
    QString error;
    if (!session->start(&error)) {
        std::fprintf(stderr, "bench_focus: %s\n", qPrintable(error));
        return nullptr;
    }
    QStringList problems;
    session->restoreProfile(&problems);
    return session;
}

struct Result
{
    std::vector<double> ms;
    std::vector<double> pageMs;     // until the page was shown (its keys made)
    int lost = 0;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Asks `focus(i)` for the window of page i % 2, then waits for that page and renders it.
Result measure(HostSession& session, PageFollower& follower, const std::function<void(int)>& focus)
{
    Result result;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setInterval(1000);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&follower, &PageFollower::followed, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    double pageMs = 0;
    QObject::connect(&follower, &PageFollower::followed, [&] { pageMs = double(clock.nsecsElapsed()) / 1e6; });
    for (int i = -2; i < kSamples; ++i) {  // two to warm up
        const int page = (i + 2) % 2 == 0 ? 1 : 0;
        clock.start();
        focus(page);
        timeout.start();
        loop.exec();  // until the page follows, or a second has passed
        const bool seen = session.deck().currentPage() == page;
        if (seen)
            session.deck().render();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (i < 0)
            continue;
        if (seen) {
            result.ms.push_back(ms);
            result.pageMs.push_back(pageMs);
        } else
            ++result.lost;
        QTest::qWait(20);  // the desktop settles between samples
    }
    return result;
}

void report(const char* desktop, const Result& result)
{
    std::vector<double> ms = result.ms;
    if (ms.empty()) {
        std::printf("focus.%s: focus change to its page rendered: no sample (%d lost)\n", desktop, result.lost);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("focus.%s: focus change to its page rendered (%d keys): median %.1f ms, max %.1f ms, %zu samples, %d lost"
                " (the page shown after %.1f ms, then rendered)\n",
                desktop, kKeysPerPage, ms[ms.size() / 2], ms.back(), ms.size(), result.lost, median(result.pageMs));
}

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class Processes
{
public:
    ~Processes()
    {
        for (QProcess* process : std::as_const(m_list)) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            delete process;
        }
    }
    void start(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
    {
        auto* process = new QProcess;
        process->setProcessEnvironment(env);
        process->start(program, arguments);
        m_list << process;
    }

private:
    QList<QProcess*> m_list;
};

void benchX11()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("focus.x11: not run (no X server)\n");
        return;
    }
    Processes windows;
    QStringList ids;
    for (const char* name : {"beta", "alpha"}) {
        windows.start("xmessage", {"-name", name, "-title", name, name}, QProcessEnvironment::systemEnvironment());
        ids << output("xdotool", {"search", "--sync", "--classname", QStringLiteral("^%1$").arg(QLatin1String(name))}).section('\n', 0, 0);
    }
    QTemporaryDir dir;
    const auto session = startSession(dir);
    if (!session)
        return;
    PageFollower follower(*session, new X11FocusSource);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto atomReply = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
    const xcb_atom_t active = atomReply ? atomReply->atom : XCB_ATOM_NONE;
    std::free(atomReply);
    const Result result = measure(*session, follower, [&](int page) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xcb_window_t(ids[page == 1 ? 0 : 1].toULong());  // page 1 is beta's
        message.type = active;
        message.data.data32[0] = 2;  // a pager asks
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
    });
    xcb_disconnect(connection);
    report("x11", result);
}

void benchSway()
{
    const QString display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
    const QString socketPath = qEnvironmentVariable("SYSTEMDLL_TEST_SWAYSOCK");
    if (display.isEmpty() || socketPath.isEmpty()) {
        std::printf("focus.sway: not run (no headless sway: SYSTEMDLL_TEST_SWAY_DISPLAY, SYSTEMDLL_TEST_SWAYSOCK)\n");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WAYLAND_DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.insert("XDG_RUNTIME_DIR", QFileInfo(display).absolutePath());
    env.remove("DISPLAY");
    Processes windows;
    QLocalSocket commands;
    commands.connectToServer(socketPath);
    if (!commands.waitForConnected(5000)) {
        std::printf("focus.sway: not run (sway IPC: %s)\n", qPrintable(commands.errorString()));
        return;
    }
    const auto focus = [&](const char* app) {
        commands.write(SwayFocusSource::frame(0, QStringLiteral("[app_id=\"^%1$\"] focus").arg(QLatin1String(app)).toUtf8()));
        commands.flush();
    };
    const auto answered = [&] {
        // The command's answer: "success" is false while no window matches.
        if (!commands.waitForReadyRead(2000))
            return false;
        const QByteArray answer = commands.readAll();
        return answer.contains("\"success\": true") || answer.contains("\"success\":true");
    };
    for (const char* app : {"alpha", "beta"}) {
        windows.start(FOCUS_WINDOW, {app, app}, env);
        const QDeadlineTimer deadline(20000);
        bool shown = false;
        while (!shown && !deadline.hasExpired()) {
            focus(app);
            shown = answered();
            if (!shown)
                QTest::qWait(100);
        }
        if (!shown) {
            std::printf("focus.sway: not run (the Wayland window \"%s\" did not show)\n", app);
            return;
        }
    }
    QTemporaryDir dir;
    const auto session = startSession(dir);
    if (!session)
        return;
    auto* source = new SwayFocusSource(socketPath);
    PageFollower follower(*session, source);
    QTest::qWaitFor([&] { return source->subscribed(); }, 5000);
    const Result result = measure(*session, follower, [&](int page) {
        focus(page == 1 ? "beta" : "alpha");
        commands.readAll();  // earlier answers
    });
    report("sway", result);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchX11();
    benchSway();
    return 0;
}
