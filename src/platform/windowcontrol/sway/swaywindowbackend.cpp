#include "swaywindowbackend.h"

#include "platform/windowcontrol/processname.h"
#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/windowcontrol/windowrecordfilter.h"
#include "swayipc.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QLocalSocket>

#include <chrono>
#include <thread>
#include <utility>

namespace C = WindowControlConstants;

namespace {

// How often a resize is looked for while it is being applied.
constexpr auto kSettlePoll = std::chrono::microseconds(300);

QRect rectOf(const QJsonObject& rect)
{
    return QRect(rect.value(QLatin1String("x")).toInt(), rect.value(QLatin1String("y")).toInt(),
                 rect.value(QLatin1String("width")).toInt(), rect.value(QLatin1String("height")).toInt());
}

// "rect" leaves out the title bar, which "deco_rect" describes; the frame is both.
QRect frameOf(const QJsonObject& node)
{
    const QRect rect = rectOf(node.value(QLatin1String("rect")).toObject());
    const int titleBar = qMax(0, node.value(QLatin1String("deco_rect")).toObject().value(QLatin1String("height")).toInt());
    return rect.adjusted(0, -titleBar, 0, 0);
}

} // namespace

QString SwayWindowBackend::sessionSocket()
{
    const QString sway = qEnvironmentVariable(C::kSwaySocketVariable);
    return sway.isEmpty() ? qEnvironmentVariable(C::kI3SocketVariable) : sway;
}

std::unique_ptr<SwayWindowBackend> SwayWindowBackend::open(const QString& socketPath)
{
    auto ipc = SwayIpc::connect(socketPath);
    if (!ipc || !ipc->request(SwayIpc::GetVersion))
        return nullptr;
    return std::unique_ptr<SwayWindowBackend>(new SwayWindowBackend(std::move(ipc)));
}

SwayWindowBackend::SwayWindowBackend(std::unique_ptr<SwayIpc> ipc)
    : m_ipc(std::move(ipc))
{
}

SwayWindowBackend::~SwayWindowBackend() = default;

QString SwayWindowBackend::name() const
{
    return QStringLiteral("sway");
}

std::optional<WindowBackend::Window> SwayWindowBackend::windowOf(const QJsonObject& node, bool withProcess)
{
    // Only views carry a pid; split containers, workspaces and outputs do not.
    if (!node.contains(QLatin1String("pid")))
        return std::nullopt;
    Window window;
    window.title = node.value(QLatin1String("name")).toString();
    if (withProcess)
        window.processName = processNameOf(node.value(QLatin1String("pid")).toInteger());
    window.appId = node.value(QLatin1String("app_id")).toString();
    if (window.appId.isEmpty())  // an X11 client under Xwayland
        window.appId = node.value(QLatin1String("window_properties")).toObject().value(QLatin1String("class")).toString();
    window.frame = QRectF(frameOf(node));
    return window;
}

std::optional<QJsonObject> SwayWindowBackend::tree()
{
    const std::optional<QJsonDocument> reply = m_ipc->request(SwayIpc::GetTree);
    if (!reply || !reply->isObject())
        return std::nullopt;
    return reply->object();
}

void SwayWindowBackend::collect(const QJsonObject& node, QList<Listed>& out, bool withProcess) const
{
    if (std::optional<Window> window = windowOf(node, withProcess)) {
        const bool floating = node.value(QLatin1String("type")).toString() == QLatin1String("floating_con")
            && node.value(QLatin1String("fullscreen_mode")).toInt() == 0;
        out.append({node.value(QLatin1String("id")).toInteger(), *window, floating});
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
            collect(child.toObject(), out, withProcess);
    }
}

std::optional<SwayWindowBackend::Listed> SwayWindowBackend::find(qint64 id)
{
    const std::optional<QJsonObject> root = tree();
    return root ? findIn(*root, id) : std::nullopt;
}

std::optional<SwayWindowBackend::Listed> SwayWindowBackend::findIn(const QJsonObject& root, qint64 id) const
{
    QList<Listed> windows;
    collect(root, windows, false);
    for (const Listed& listed : std::as_const(windows)) {
        if (listed.id == id)
            return listed;
    }
    return std::nullopt;
}

QList<WindowBackend::Window> SwayWindowBackend::enumerate()
{
    readEvents();
    m_windows.clear();
    if (const std::optional<QJsonObject> root = tree())
        collect(*root, m_windows);
    m_pending.keepListed(m_windows);
    QList<Window> windows;
    windows.reserve(m_windows.size());
    for (const Listed& listed : std::as_const(m_windows))
        windows.append(listed.window);
    return windows;
}

bool SwayWindowBackend::run(int index, const char* operation, const QString& commands)
{
    if (!isListed(index, m_windows.size(), operation))
        return false;
    return sendCommand(index, commands) && commandDone(index, operation);
}

bool SwayWindowBackend::sendCommand(int index, const QString& commands)
{
    const QString command = QStringLiteral("[con_id=%1] %2").arg(m_windows.at(index).id).arg(commands);
    qCDebug(lcWindowControl) << "sway:" << command;
    return m_ipc->send(SwayIpc::RunCommand, command.toUtf8());
}

bool SwayWindowBackend::commandDone(int index, const char* operation)
{
    const std::optional<QJsonDocument> reply = m_ipc->reply(SwayIpc::RunCommand);
    if (!reply)
        return false;
    for (const QJsonValue& result : reply->array()) {
        const QJsonObject outcome = result.toObject();
        if (!outcome.value(QLatin1String("success")).toBool()) {
            qCWarning(lcWindowControl).noquote()
                << QStringLiteral("sway refused to %1 window \"%2\": %3")
                       .arg(QLatin1String(operation), WindowRecordFilter::forLog(m_windows.at(index).window.title),
                            outcome.value(QLatin1String("error")).toString());
            return false;
        }
    }
    return true;
}

// Sizes and positions are gathered and sent together when the window settles.
bool SwayWindowBackend::setSize(int index, const QSize& size)
{
    return m_pending.setSize(m_windows, index, size);
}

bool SwayWindowBackend::setPosition(int index, const QPoint& position)
{
    return m_pending.setPosition(m_windows, index, position);
}

bool SwayWindowBackend::close(int index)
{
    return run(index, "close", QStringLiteral("kill"));
}

bool SwayWindowBackend::maximize(int index)
{
    if (!m_saidNoMaximise) {
        m_saidNoMaximise = true;
        qCInfo(lcWindowControl) << "sway has no maximised state: maximising makes the window fullscreen";
    }
    return run(index, "maximise", QStringLiteral("fullscreen enable"));
}

bool SwayWindowBackend::minimize(int index)
{
    return run(index, "minimise", QStringLiteral("move scratchpad"));
}

bool SwayWindowBackend::appliesLater() const
{
    return true;
}

// Size and position go in one command, after making a tiled or fullscreen window
// floating: one layout change, so the client is asked for one size only. sway takes a
// floating window's size from what its client draws; a client still drawing a size asked
// for earlier would overrule a later one that reached it in between. A floating
// container keeps its centre when resized, so the size is set before the position.
// The tree shows the new frame at once; it is read back, boundedly, until it does.
bool SwayWindowBackend::settle(int index, QRectF* frame)
{
    if (index < 0 || index >= m_windows.size())
        return false;
    const qint64 id = m_windows.at(index).id;
    const std::optional<PendingFrame> request = m_pending.take(id);
    std::optional<Listed> first;
    const bool madeFloating = request && !m_windows.at(index).floating;
    if (request) {
        QStringList commands;
        if (madeFloating)
            commands << QStringLiteral("fullscreen disable") << QStringLiteral("floating enable");
        if (request->size)
            commands << QStringLiteral("resize set width %1 px height %2 px").arg(request->size->width()).arg(request->size->height());
        if (request->position)
            commands << QStringLiteral("move absolute position %1 px %2 px").arg(request->position->x()).arg(request->position->y());
        // The tree is asked for in the same breath: sway answers in order, so it shows
        // the command's outcome, and both take one round trip.
        const bool sent = sendCommand(index, commands.join(QLatin1String(", "))) && m_ipc->send(SwayIpc::GetTree);
        const bool done = sent && commandDone(index, "resize");
        const std::optional<QJsonDocument> after = sent ? m_ipc->reply(SwayIpc::GetTree) : std::nullopt;
        if (!done)
            return false;
        m_windows[index].floating = true;
        if (after && after->isObject())
            first = findIn(after->object(), id);
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const std::optional<Listed> found = first ? std::exchange(first, std::nullopt) : find(id);
        if (!found) {
            qCDebug(lcWindowControl) << "window" << id << "went away while being resized";
            return true;
        }
        const QRect now = found->window.frame.toRect();
        if (!request || request->isMetBy(now) || waited.elapsed() >= C::kSwaySettleTimeoutMs) {
            *frame = QRectF(madeFloating ? afterFloating(id, now) : now);
            return true;
        }
        std::this_thread::sleep_for(kSettlePoll);
    }
}

// A window made floating just now may still commit a picture drawn at its tiled size,
// and sway takes what a floating window draws as its size: look again once it has had a
// few frames' time, and report a frame so overruled, so that the key asks again.
QRect SwayWindowBackend::afterFloating(qint64 id, const QRect& reached)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(C::kSwayFloatingWatchMs));
    const std::optional<Listed> found = find(id);
    if (!found || found->window.frame.toRect() == reached)
        return reached;
    qCDebug(lcWindowControl) << "window" << id << "drew a size of its own after it was made floating:"
                             << found->window.frame;
    return found->window.frame.toRect();
}

FocusedWindow SwayWindowBackend::focusOf(const QJsonObject& container)
{
    const std::optional<Window> window = windowOf(container);
    if (!window)
        return {};
    return {WindowRecordFilter::trimmed(window->title), window->processName, window->appId};
}

std::optional<QJsonObject> SwayWindowBackend::focusedNode(const QJsonObject& node)
{
    if (node.value(QLatin1String("focused")).toBool())
        return node;
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray()) {
            if (auto focused = focusedNode(child.toObject()))
                return focused;
        }
    }
    return std::nullopt;
}

// Subscribed before the tree is read, so that no change in between is missed.
bool SwayWindowBackend::watchFocus(FocusListener listener)
{
    m_focusListener = std::move(listener);
    if (m_events)
        return true;
    m_events = SwayIpc::connect(m_ipc->path());
    const std::optional<QJsonDocument> subscribed =
        m_events ? m_events->request(SwayIpc::Subscribe, QByteArrayLiteral("[\"window\"]")) : std::nullopt;
    if (!subscribed || !subscribed->object().value(QLatin1String("success")).toBool()) {
        qCWarning(lcWindowControl) << "the compositor on" << m_ipc->path() << "refused window events";
        m_events.reset();
        return false;
    }
    QObject::connect(m_events->socket(), &QLocalSocket::readyRead, m_events->socket(), [this] { readEvents(); });
    if (const std::optional<QJsonObject> root = tree()) {
        const std::optional<QJsonObject> focused = focusedNode(*root);
        m_focused = focused ? focusOf(*focused) : FocusedWindow{};
    }
    readEvents();
    return true;
}

FocusedWindow SwayWindowBackend::focusedWindow()
{
    readEvents();
    return m_focused;
}

void SwayWindowBackend::readEvents()
{
    if (!m_events)
        return;
    while (const std::optional<SwayIpc::Message> event = m_events->takeEvent()) {
        if (event->type == SwayIpc::kWindowEvent)
            onWindowEvent(event->json.object());
    }
}

// "focus" names the newly focused window; "title" a window whose title changed, which
// matters when it has the focus; "close" of the focused window leaves none focused
// until the next "focus".
void SwayWindowBackend::onWindowEvent(const QJsonObject& event)
{
    const QString change = event.value(QLatin1String("change")).toString();
    const QJsonObject container = event.value(QLatin1String("container")).toObject();
    const bool focused = container.value(QLatin1String("focused")).toBool();
    FocusedWindow now = m_focused;
    if (change == QLatin1String("focus") || (change == QLatin1String("title") && focused))
        now = focusOf(container);
    else if (change == QLatin1String("close") && focused)
        now = {};
    if (now == m_focused)
        return;
    m_focused = now;
    qCDebug(lcWindowControl) << "focused window:" << WindowRecordFilter::forLog(now.title) << now.process << now.appId;
    if (m_focusListener)
        m_focusListener(now);
}
