#include "gnomewindowbackend.h"

#include "gnomefocussignal.h"
#include "platform/windowcontrol/processname.h"
#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/windowcontrol/windowrecordfilter.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <thread>

namespace C = WindowControlConstants;

namespace {

const QString kService = QStringLiteral("org.gnome.Shell");
const QString kPath = QStringLiteral("/com/corvane/VantaWindows");
const QString kInterface = QStringLiteral("com.corvane.VantaWindows");
// Between two looks at a frame being applied. mutter applies it once the program has
// drawn at the new size, a display frame or more later; each look lists every window in
// the shell, so looking more often only loads it.
constexpr auto kSettlePoll = std::chrono::milliseconds(4);

} // namespace

std::unique_ptr<GnomeWindowBackend> GnomeWindowBackend::open(QString* problem)
{
    return open(QDBusConnection::sessionBus(), problem);
}

std::unique_ptr<GnomeWindowBackend> GnomeWindowBackend::open(const QDBusConnection& bus, QString* problem)
{
    QString why;
    if (!bus.isConnected()) {
        why = QStringLiteral("no session bus");
    } else {
        const QDBusReply<QString> listed = callShell(bus, QStringLiteral("List"));
        if (listed.isValid())
            return std::unique_ptr<GnomeWindowBackend>(new GnomeWindowBackend(bus));
        why = listed.error().type() == QDBusError::ServiceUnknown
            ? QStringLiteral("GNOME Shell is not running")
            : QStringLiteral("the GNOME Shell extension %1 is not installed or not enabled (%2)")
                  .arg(QLatin1String(kExtensionUuid), listed.error().message());
    }
    if (problem)
        *problem = why;
    return nullptr;
}

GnomeWindowBackend::GnomeWindowBackend(const QDBusConnection& bus)
    : m_bus(bus)
{
}

QDBusMessage GnomeWindowBackend::callShell(const QDBusConnection& bus, const QString& method, const QVariantList& arguments,
                                           int timeoutMs)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, timeoutMs);
}

GnomeWindowBackend::~GnomeWindowBackend() = default;

QString GnomeWindowBackend::name() const
{
    return QStringLiteral("gnome");
}

GnomeWindowBackend::Listed GnomeWindowBackend::fromJson(const QJsonObject& w)
{
    Listed listed;
    listed.id = quint64(w.value(QLatin1String("id")).toInteger());
    listed.window.title = w.value(QLatin1String("title")).toString();
    listed.window.processName = processNameOf(w.value(QLatin1String("pid")).toInteger());
    listed.window.appId = w.value(QLatin1String("appId")).toString();
    listed.window.frame = QRectF(w.value(QLatin1String("x")).toInt(), w.value(QLatin1String("y")).toInt(),
                                 w.value(QLatin1String("width")).toInt(), w.value(QLatin1String("height")).toInt());
    return listed;
}

std::optional<QList<GnomeWindowBackend::Listed>> GnomeWindowBackend::list()
{
    const QDBusReply<QString> reply = callShell(m_bus, QStringLiteral("List"));
    if (!reply.isValid()) {
        qCWarning(lcWindowControl) << "the GNOME Shell extension did not list the windows:" << reply.error().message();
        return std::nullopt;
    }
    QList<Listed> windows;
    for (const QJsonValue& window : QJsonDocument::fromJson(reply.value().toUtf8()).array())
        windows.append(fromJson(window.toObject()));
    return windows;
}

QList<WindowBackend::Window> GnomeWindowBackend::enumerate()
{
    m_windows = list().value_or(QList<Listed>());
    m_pending.keepListed(m_windows);
    QList<Window> windows;
    windows.reserve(m_windows.size());
    for (const Listed& listed : std::as_const(m_windows))
        windows.append(listed.window);
    return windows;
}

bool GnomeWindowBackend::call(int index, const char* operation, const char* method, const QVariantList& extra)
{
    if (!isListed(index, m_windows.size(), operation))
        return false;
    const Listed& target = m_windows.at(index);
    QVariantList arguments{QVariant::fromValue(target.id)};
    arguments += extra;
    const QDBusReply<bool> reply = callShell(m_bus, QLatin1String(method), arguments);
    if (!reply.isValid() || !reply.value()) {
        qCWarning(lcWindowControl).noquote()
            << QStringLiteral("GNOME Shell did not %1 window \"%2\": %3")
                   .arg(QLatin1String(operation), WindowRecordFilter::forLog(target.window.title),
                        reply.isValid() ? QStringLiteral("it has gone") : reply.error().message());
        return false;
    }
    return true;
}

// Size and position are gathered and placed together when the window settles.
bool GnomeWindowBackend::setSize(int index, const QSize& size)
{
    return m_pending.setSize(m_windows, index, size);
}

bool GnomeWindowBackend::setPosition(int index, const QPoint& position)
{
    return m_pending.setPosition(m_windows, index, position);
}

bool GnomeWindowBackend::close(int index)
{
    return call(index, "close", "Close");
}

bool GnomeWindowBackend::maximize(int index)
{
    return call(index, "maximise", "Maximize");
}

bool GnomeWindowBackend::minimize(int index)
{
    return call(index, "minimise", "Minimize");
}

bool GnomeWindowBackend::appliesLater() const
{
    return true;
}

// One call places the window (one layout, no half-way frame) and answers once mutter
// shows the frame, which it does when the program has drawn at the new size, or when
// the wait is over. An extension still loaded from before Place existed (the shell
// loads a new one at the next login) is asked with MoveResize and looked at until then.
bool GnomeWindowBackend::settle(int index, QRectF* frame)
{
    if (index < 0 || index >= m_windows.size())
        return false;
    const Listed& target = m_windows.at(index);
    const std::optional<PendingFrame> request = m_pending.take(target.id);
    if (!request)
        return true;
    const QRect wanted = request->appliedTo(target.window.frame.toRect());
    const char* operation = request->size ? "resize" : "move";
    const QVariantList arguments{QVariant::fromValue(target.id), wanted.x(), wanted.y(), wanted.width(), wanted.height()};
    const QDBusMessage placed = callShell(m_bus, QStringLiteral("Place"), arguments + QVariantList{uint(C::kGnomeSettleTimeoutMs)},
                                          C::kGnomeSettleTimeoutMs + C::kIpcTimeoutMs);
    if (placed.type() == QDBusMessage::ErrorMessage && placed.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
        if (!m_saidOldExtension) {
            m_saidOldExtension = true;
            qCInfo(lcWindowControl) << "the GNOME Shell extension" << kExtensionUuid
                                    << "running is an older one; the shell loads the new one at the next login";
        }
        return call(index, operation, "MoveResize", arguments.mid(1)) && waitFor(target.id, *request, frame);
    }
    const QDBusReply<QString> reply(placed);
    const QJsonObject window = reply.isValid() ? QJsonDocument::fromJson(reply.value().toUtf8()).object() : QJsonObject();
    if (window.isEmpty()) {
        qCWarning(lcWindowControl).noquote()
            << QStringLiteral("GNOME Shell did not %1 window \"%2\": %3")
                   .arg(QLatin1String(operation), WindowRecordFilter::forLog(target.window.title),
                        reply.isValid() ? QStringLiteral("it has gone") : reply.error().message());
        return reply.isValid();
    }
    *frame = fromJson(window).window.frame;
    qCDebug(lcWindowControl) << "window" << WindowRecordFilter::forLog(target.window.title) << "placed at" << *frame
                             << "asked" << wanted;
    return true;
}

bool GnomeWindowBackend::waitFor(quint64 id, const PendingFrame& request, QRectF* frame)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const std::optional<QList<Listed>> windows = list();
        if (!windows)
            return true;
        const auto found =
            std::find_if(windows->cbegin(), windows->cend(), [&](const Listed& l) { return l.id == id; });
        if (found == windows->cend())
            return true;
        const QRect now = found->window.frame.toRect();
        if (request.isMetBy(now) || waited.elapsed() >= C::kGnomeSettleTimeoutMs) {
            *frame = QRectF(now);
            return true;
        }
        std::this_thread::sleep_for(kSettlePoll);
    }
}

FocusedWindow GnomeWindowBackend::focusOf(const QString& json)
{
    const QJsonObject window = QJsonDocument::fromJson(json.toUtf8()).object();
    if (window.isEmpty())
        return {};
    const Listed listed = fromJson(window);
    return {WindowRecordFilter::trimmed(listed.window.title), listed.window.processName, listed.window.appId};
}

bool GnomeWindowBackend::watchFocus(FocusListener listener)
{
    m_focusListener = std::move(listener);
    if (m_focusSignal)
        return true;
    m_focusSignal = std::make_unique<GnomeFocusSignal>([this](const QString& json) {
        const FocusedWindow now = focusOf(json);
        if (now == m_focused)
            return;
        m_focused = now;
        qCDebug(lcWindowControl) << "focused window:" << WindowRecordFilter::forLog(now.title) << now.process
                                 << now.appId;
        if (m_focusListener)
            m_focusListener(now);
    });
    if (!m_bus.connect(kService, kPath, kInterface, QStringLiteral("FocusChanged"),
                                       m_focusSignal.get(), SLOT(focusChanged(QString)))) {
        qCWarning(lcWindowControl) << "cannot follow the GNOME Shell extension's focus signal";
        m_focusSignal.reset();
        return false;
    }
    const QDBusReply<QString> focused = callShell(m_bus, QStringLiteral("Focused"));
    if (focused.isValid())
        m_focused = focusOf(focused.value());
    return true;
}

FocusedWindow GnomeWindowBackend::focusedWindow()
{
    return m_focused;
}
