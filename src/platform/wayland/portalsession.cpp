#include "portalsession.h"

#include "packagesettings.h"
#include "portalrequest.h"
#include "waylandlog.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusReply>
#include <QTimer>
#include <QUuid>

#include <algorithm>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString kClipboard = QStringLiteral("org.freedesktop.portal.Clipboard");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
constexpr uint kKeyboardDevice = 1;
constexpr uint kPersistUntilRevoked = 2;
constexpr quint32 kPrimingKeysym = 0xffe1;  // Shift_L

QDBusMessage portalCall(const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, interface, method);
    message.setArguments(arguments);
    return message;
}
}

PortalSession::PortalSession(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_watcher(new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForUnregistration, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        if (m_state == State::Starting || m_state == State::Started)
            fail(QStringLiteral("the portal left the session bus"));
    });
}

PortalSession::~PortalSession()
{
    if (m_state == State::Started && m_bus.isConnected())
        m_bus.send(QDBusMessage::createMethodCall(kService, m_handle, kSession, QStringLiteral("Close")));
}

bool PortalSession::isOffered(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(kService))
        return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

void PortalSession::start()
{
    if (m_state == State::Starting || m_state == State::Started || m_state == State::Refused)
        return;
    setState(State::Starting);
    const QString token = QStringLiteral("systemdll_") + QUuid::createUuid().toString(QUuid::Id128);
    auto* request = PortalRequest::call(m_bus, kRemoteDesktop, QStringLiteral("CreateSession"),
                                        {QVariantMap{{QStringLiteral("session_handle_token"), token}}},
                                        kCallLimitMs, this);
    connect(request, &PortalRequest::finished, this, &PortalSession::onCreated);
}

void PortalSession::onCreated(int response, const QVariantMap& results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    // A string in the portal's answer, an object path in some.
    m_handle = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (response != PortalRequest::Success || m_handle.isEmpty()) {
        fail(QStringLiteral("the portal did not create a remote desktop session (response %1)").arg(response));
        return;
    }
    selectDevices();
}

void PortalSession::selectDevices()
{
    QVariantMap options{{QStringLiteral("types"), kKeyboardDevice},
                        {QStringLiteral("persist_mode"), kPersistUntilRevoked}};
    const QString token = PackageSettings::value(QLatin1String(kRestoreTokenKey));
    if (!token.isEmpty())
        options.insert(QStringLiteral("restore_token"), token);
    auto* request = PortalRequest::call(m_bus, kRemoteDesktop, QStringLiteral("SelectDevices"),
                                        {QVariant::fromValue(QDBusObjectPath(m_handle)), options}, kCallLimitMs, this);
    connect(request, &PortalRequest::finished, this, [this](int response, const QVariantMap&) {
        if (response != PortalRequest::Success) {
            fail(QStringLiteral("the portal refused the keyboard (response %1)").arg(response));
            return;
        }
        requestClipboard();
    });
}

// The clipboard must be asked for before the session starts; a portal without it
// answers with an error, and the session goes on without.
void PortalSession::requestClipboard()
{
    const QDBusMessage message = portalCall(kClipboard, QStringLiteral("RequestClipboard"),
                                            {QVariant::fromValue(QDBusObjectPath(m_handle)), QVariantMap()});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kCallLimitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError())
            qCDebug(lcPortal) << "no clipboard on the portal:" << w->error().message();
        if (m_state == State::Starting)
            startSession();
    });
}

void PortalSession::startSession()
{
    auto* request = PortalRequest::call(m_bus, kRemoteDesktop, QStringLiteral("Start"),
                                        {QVariant::fromValue(QDBusObjectPath(m_handle)), QString(), QVariantMap()},
                                        kConsentLimitMs, this);
    connect(request, &PortalRequest::finished, this, &PortalSession::onStarted);
}

void PortalSession::onStarted(int response, const QVariantMap& results)
{
    if (m_state != State::Starting)
        return;
    if (response == PortalRequest::Cancelled) {
        qCWarning(lcPortal) << "remote keyboard access was refused in the portal's dialog: keys from this "
                               "package are skipped until it is loaded again";
        m_waiting.clear();
        setState(State::Refused);
        return;
    }
    if (response != PortalRequest::Success || !(results.value(QStringLiteral("devices")).toUInt() & kKeyboardDevice)) {
        fail(QStringLiteral("the portal did not grant a keyboard (response %1)").arg(response));
        return;
    }
    const QString token = results.value(QStringLiteral("restore_token")).toString();
    if (!token.isEmpty())
        PackageSettings::setValue(QLatin1String(kRestoreTokenKey), token);
    m_clipboard = results.value(QStringLiteral("clipboard_enabled")).toBool();
    m_bus.connect(kService, m_handle, kSession, QStringLiteral("Closed"), this, SLOT(onClosed()));
    qCInfo(lcPortal) << "remote desktop session started" << (m_clipboard ? "with the clipboard" : "");
    // The session's keyboard is new to the seat: the first key after it appears is lost
    // while clients bind to it. A modifier tap, then the keys that waited.
    notify({{kPrimingKeysym, true}, {kPrimingKeysym, false}});
    QTimer::singleShot(kSettleMs, this, [this] {
        if (m_state != State::Starting)
            return;
        setState(State::Started);
        dropStale();
        for (const Waiting& waiting : qAsConst(m_waiting))
            notify(waiting.events);
        m_waiting.clear();
    });
}

void PortalSession::onClosed()
{
    if (m_state == State::Started || m_state == State::Starting)
        fail(QStringLiteral("the desktop closed the remote desktop session"));
}

void PortalSession::fail(const QString& why)
{
    qCWarning(lcPortal).noquote() << why << "- keys are skipped";
    m_waiting.clear();
    m_clipboard = false;
    setState(State::Failed);
}

void PortalSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void PortalSession::send(const KeysymSequence& events)
{
    switch (m_state) {
    case State::Started:
        notify(events);
        return;
    case State::Refused:
        return;
    case State::Failed:
        if (!isOffered(m_bus))
            return;
        m_state = State::Idle;  // the portal is back: a new session
        Q_FALLTHROUGH();
    case State::Idle:
    case State::Starting:
        dropStale();
        Waiting waiting;
        waiting.age.start();
        waiting.events = events;
        m_waiting.append(waiting);
        start();
        return;
    }
}

void PortalSession::dropStale()
{
    const auto stale = [](const Waiting& w) { return w.age.hasExpired(kFreshMs); };
    const auto count = std::count_if(m_waiting.cbegin(), m_waiting.cend(), stale);
    if (count)
        qCDebug(lcPortal) << "dropped" << count << "key sequences pressed while the portal was asking";
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), stale), m_waiting.end());
}

void PortalSession::notify(const KeysymSequence& events)
{
    const QVariant session = QVariant::fromValue(QDBusObjectPath(m_handle));
    for (const KeysymEvent& event : events) {
        const QDBusMessage message = portalCall(kRemoteDesktop, QStringLiteral("NotifyKeyboardKeysym"),
                                                {session, QVariantMap(), int(event.keysym), uint(event.down ? 1 : 0)});
        m_bus.send(message);
    }
}
