#include "kwinwindowbackend.h"

#include "kwinscripting.h"
#include "platform/windowcontrol/processname.h"
#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/windowcontrol/windowrecordfilter.h"

#include <QJsonArray>

namespace C = WindowControlConstants;

namespace {

const char kListScript[] = R"(
var all = windows(), out = [];
for (var i = 0; i < all.length; ++i) {
    if (listed(all[i]))
        out.push(describe(all[i]));
}
answer(out);
)";

const char kOperateScript[] = R"(
var w = find(input.args.id);
if (w) {
    if (input.args.verb === "close")
        w.closeWindow();
    else if (input.args.verb === "maximize")
        w.setMaximize(true, true);
    else if (input.args.verb === "minimize")
        w.minimized = true;
}
answer({ done: w !== null });
)";

// Size and position in one assignment: one configure for the client. KWin shows the new
// frame once the client has drawn it, so each change is answered until the caller has
// the frame it asked for.
const char kFrameScript[] = R"(
var w = find(input.args.id);
if (!w) {
    answer({ gone: true });
} else {
    w.frameGeometryChanged.connect(function () { answer(describe(w)); });
    var want = input.args.frame;
    w.frameGeometry = { x: want.x, y: want.y, width: want.width, height: want.height };
    answer(describe(w));
}
)";

// Stays loaded: follows the active window and the title of the one that is active.
const char kFocusScript[] = R"(
var watched = null;
function report() {
    var w = activeWindow();
    answer(w ? describe(w) : {});
}
function follow(w) {
    if (watched) {
        try { watched.captionChanged.disconnect(report); } catch (e) {}
    }
    watched = w;
    if (w)
        w.captionChanged.connect(report);
    report();
}
(workspace.windowActivated || workspace.clientActivated).connect(follow);
follow(activeWindow());
)";

} // namespace

std::unique_ptr<KWinWindowBackend> KWinWindowBackend::open(QString* problem)
{
    return open(QDBusConnection::sessionBus(), problem);
}

std::unique_ptr<KWinWindowBackend> KWinWindowBackend::open(const QDBusConnection& bus, QString* problem)
{
    auto scripting = KWinScripting::open(bus, problem);
    if (!scripting)
        return nullptr;
    return std::unique_ptr<KWinWindowBackend>(new KWinWindowBackend(std::move(scripting)));
}

KWinWindowBackend::KWinWindowBackend(std::unique_ptr<KWinScripting> scripting)
    : m_scripting(std::move(scripting))
{
}

// The focus script is unloaded with the scripting.
KWinWindowBackend::~KWinWindowBackend() = default;

QString KWinWindowBackend::name() const
{
    return QStringLiteral("kwin");
}

KWinWindowBackend::Listed KWinWindowBackend::fromJson(const QJsonObject& w)
{
    Listed listed;
    listed.id = w.value(QLatin1String("id")).toString();
    listed.window.title = w.value(QLatin1String("title")).toString();
    listed.window.processName = processNameOf(w.value(QLatin1String("pid")).toInteger());
    listed.window.appId = w.value(QLatin1String("appId")).toString();
    listed.window.frame = QRectF(w.value(QLatin1String("x")).toDouble(), w.value(QLatin1String("y")).toDouble(),
                                 w.value(QLatin1String("width")).toDouble(), w.value(QLatin1String("height")).toDouble());
    return listed;
}

QList<WindowBackend::Window> KWinWindowBackend::enumerate()
{
    m_windows.clear();
    m_scripting->run("list the windows", QLatin1String(kListScript), {}, [this](const QJsonDocument& answer) {
        for (const QJsonValue& window : answer.array())
            m_windows.append(fromJson(window.toObject()));
        return true;
    });
    m_pending.keepListed(m_windows);
    QList<Window> windows;
    windows.reserve(m_windows.size());
    for (const Listed& listed : std::as_const(m_windows))
        windows.append(listed.window);
    return windows;
}

bool KWinWindowBackend::operate(int index, const char* operation, const QString& verb)
{
    if (!isListed(index, m_windows.size(), operation))
        return false;
    const Listed& target = m_windows.at(index);
    bool done = false;
    const bool answered = m_scripting->run(operation, QLatin1String(kOperateScript),
                                           {{QStringLiteral("id"), target.id}, {QStringLiteral("verb"), verb}},
                                           [&](const QJsonDocument& answer) {
                                               done = answer.object().value(QLatin1String("done")).toBool();
                                               return true;
                                           });
    if (answered && !done)
        qCWarning(lcWindowControl).noquote() << QStringLiteral("KWin did not %1 window \"%2\": it has gone")
                                                    .arg(QLatin1String(operation), WindowRecordFilter::forLog(target.window.title));
    return done;
}

bool KWinWindowBackend::close(int index)
{
    return operate(index, "close", QStringLiteral("close"));
}

bool KWinWindowBackend::maximize(int index)
{
    return operate(index, "maximise", QStringLiteral("maximize"));
}

bool KWinWindowBackend::minimize(int index)
{
    return operate(index, "minimise", QStringLiteral("minimize"));
}

// Sizes and positions are gathered and applied together when the window settles.
bool KWinWindowBackend::setSize(int index, const QSize& size)
{
    return m_pending.setSize(m_windows, index, size);
}

bool KWinWindowBackend::setPosition(int index, const QPoint& position)
{
    return m_pending.setPosition(m_windows, index, position);
}

bool KWinWindowBackend::appliesLater() const
{
    return true;
}

// The frame asked for is the listed one with what was requested in place; the frame
// reached is KWin's last word on it, once it matches or the client has had its time.
bool KWinWindowBackend::settle(int index, QRectF* frame)
{
    if (index < 0 || index >= m_windows.size())
        return false;
    const Listed& target = m_windows.at(index);
    const std::optional<PendingFrame> request = m_pending.take(target.id);
    if (!request)
        return false;
    const QRect wanted = request->appliedTo(target.window.frame.toRect());
    std::optional<QRect> reached;
    const QJsonObject args{{QStringLiteral("id"), target.id},
                           {QStringLiteral("frame"), QJsonObject{{QStringLiteral("x"), wanted.x()},
                                                                 {QStringLiteral("y"), wanted.y()},
                                                                 {QStringLiteral("width"), wanted.width()},
                                                                 {QStringLiteral("height"), wanted.height()}}}};
    const bool answered = m_scripting->run(
        "move and resize", QLatin1String(kFrameScript), args,
        [&](const QJsonDocument& answer) {
            if (answer.object().value(QLatin1String("gone")).toBool())
                return true;
            reached = fromJson(answer.object()).window.frame.toRect();
            return *reached == wanted;
        },
        C::kKWinSettleTimeoutMs);
    if (!answered)
        return false;
    if (!reached) {
        qCDebug(lcWindowControl) << "window" << target.id << "went away while being resized";
        return true;
    }
    *frame = QRectF(*reached);
    return true;
}

bool KWinWindowBackend::watchFocus(FocusListener listener)
{
    m_focusListener = std::move(listener);
    if (m_watching)
        return true;
    m_watching = m_scripting->start("follow the active window", QLatin1String(kFocusScript), {}, [this](const QJsonDocument& answer) {
        const QJsonObject window = answer.object();
        FocusedWindow now;
        if (!window.isEmpty()) {
            const Listed listed = fromJson(window);
            now = {WindowRecordFilter::trimmed(listed.window.title), listed.window.processName, listed.window.appId};
        }
        if (now == m_focused)
            return;
        m_focused = now;
        qCDebug(lcWindowControl) << "focused window:" << WindowRecordFilter::forLog(now.title) << now.process << now.appId;
        if (m_focusListener)
            m_focusListener(now);
    });
    return m_watching;
}

FocusedWindow KWinWindowBackend::focusedWindow()
{
    return m_focused;
}
