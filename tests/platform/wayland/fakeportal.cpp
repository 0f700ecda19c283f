// A desktop portal for the tests, on mutter's private bus: owns org.freedesktop.portal.Desktop
// and serves RemoteDesktop (keyboard) and Clipboard by forwarding to mutter's own
// org.gnome.Mutter.RemoteDesktop, as the GNOME portal backend does, minus the dialog.
// Arguments: "refuse" answers Start as a user who cancels. Prints one JSON object per line:
// {"ready":true} once it owns the name, {"asked":bool} per Start (false when a restore
// token it handed out came back), {"selection":[mime types]} per SetSelection.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

namespace {
const QString kMutter = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString kMutterSession = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kToken = QStringLiteral("fake-restore-token");

// An a{sv} argument arrives as a QDBusArgument.
QVariantMap mapAt(const QDBusMessage& message, int index)
{
    const QVariant argument = message.arguments().value(index);
    if (argument.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(argument.value<QDBusArgument>());
    return argument.toMap();
}

void print(const QJsonObject& object)
{
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

class FakePortal : public QDBusVirtualObject
{
    Q_OBJECT
public:
    FakePortal(QDBusConnection bus, bool refuse)
        : m_bus(bus)
        , m_refuse(refuse)
    {
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        const QString member = message.member();
        const QVariantList args = message.arguments();
        if (member == QLatin1String("CreateSession"))
            return createSession(message);
        if (member == QLatin1String("SelectDevices")) {
            const QVariantMap options = mapAt(message, 1);
            m_restored = options.value(QStringLiteral("restore_token")).toString() == kToken;
            m_persist = options.value(QStringLiteral("persist_mode")).toUInt() != 0;
            return respond(message, options, 0, {});
        }
        if (member == QLatin1String("RequestClipboard")) {
            mutter(QStringLiteral("EnableClipboard"), {QVariantMap()});
            m_clipboard = true;
            return reply(message, {});
        }
        if (member == QLatin1String("Start"))
            return start(message);
        if (member == QLatin1String("NotifyKeyboardKeysym")) {
            mutter(member, {uint(args.value(2).toInt()), args.value(3).toUInt() != 0});
            return reply(message, {});
        }
        if (member == QLatin1String("SetSelection")) {
            const QStringList types = mapAt(message, 1).value(QStringLiteral("mime_types")).toStringList();
            mutter(member, {QVariantMap{{QStringLiteral("mime-types"), types}}});
            print({{"selection", QJsonArray::fromStringList(types)}});
            return reply(message, {});
        }
        if (member == QLatin1String("SelectionWrite") || member == QLatin1String("SelectionRead"))
            return reply(message, mutter(member, {args.value(1)}).arguments());
        if (member == QLatin1String("SelectionWriteDone"))
            return reply(message, mutter(member, {args.value(1), args.value(2)}).arguments());
        if (member == QLatin1String("Close")) {
            mutter(QStringLiteral("Stop"), {});
            return reply(message, {});
        }
        return false;
    }

private slots:
    void onTransfer(const QString& mimeType, uint serial)
    {
        emitSignal(QStringLiteral("SelectionTransfer"), {mimeType, serial});
    }
    void onOwnerChanged(const QVariantMap& options)
    {
        emitSignal(QStringLiteral("SelectionOwnerChanged"),
                   {QVariantMap{{QStringLiteral("mime_types"), options.value(QStringLiteral("mime-types"))},
                                {QStringLiteral("session_is_owner"), options.value(QStringLiteral("session-is-owner"))}}});
    }

private:
    bool createSession(const QDBusMessage& message)
    {
        const QDBusReply<QDBusObjectPath> created = m_bus.call(
            QDBusMessage::createMethodCall(kMutter, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), kMutter,
                                           QStringLiteral("CreateSession")));
        if (!created.isValid())
            return respond(message, mapAt(message, 0), 2, {});
        m_mutterSession = created.value().path();
        m_bus.connect(kMutter, m_mutterSession, kMutterSession, QStringLiteral("SelectionTransfer"), this,
                      SLOT(onTransfer(QString, uint)));
        m_bus.connect(kMutter, m_mutterSession, kMutterSession, QStringLiteral("SelectionOwnerChanged"), this,
                      SLOT(onOwnerChanged(QVariantMap)));
        const QVariantMap options = mapAt(message, 0);
        m_session = kObject + QStringLiteral("/session/") + sender(message) + QLatin1Char('/')
            + options.value(QStringLiteral("session_handle_token")).toString();
        return respond(message, options, 0, {{QStringLiteral("session_handle"), m_session}});
    }

    bool start(const QDBusMessage& message)
    {
        print({{"asked", !m_restored}});
        const QVariantMap options = mapAt(message, 2);
        if (m_refuse && !m_restored)
            return respond(message, options, 1, {});
        mutter(QStringLiteral("Start"), {});
        QVariantMap results{{QStringLiteral("devices"), 1u}, {QStringLiteral("clipboard_enabled"), m_clipboard}};
        if (m_persist)
            results.insert(QStringLiteral("restore_token"), kToken);
        return respond(message, options, 0, results);
    }

    static QString sender(const QDBusMessage& message)
    {
        return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    }

    // Answers with the request path, then the Response signal on it.
    bool respond(const QDBusMessage& message, const QVariantMap& options, uint code, const QVariantMap& results)
    {
        const QString path = kObject + QStringLiteral("/request/") + sender(message) + QLatin1Char('/')
            + options.value(QStringLiteral("handle_token")).toString();
        reply(message, {QVariant::fromValue(QDBusObjectPath(path))});
        QDBusMessage response = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                           QStringLiteral("Response"));
        response.setArguments({code, results});
        QTimer::singleShot(0, this, [this, response] { m_bus.send(response); });
        return true;
    }

    bool reply(const QDBusMessage& message, const QVariantList& arguments)
    {
        m_bus.send(message.createReply(arguments));
        return true;
    }

    QDBusMessage mutter(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kMutter, m_mutterSession, kMutterSession, method);
        call.setArguments(arguments);
        const QDBusMessage answer = m_bus.call(call);
        if (answer.type() == QDBusMessage::ErrorMessage)
            std::fprintf(stderr, "fakeportal: mutter %s: %s\n", qPrintable(method), qPrintable(answer.errorMessage()));
        return answer;
    }

    void emitSignal(const QString& name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kObject, QStringLiteral("org.freedesktop.portal.Clipboard"), name);
        signal.setArguments(QVariantList{QVariant::fromValue(QDBusObjectPath(m_session))} + arguments);
        m_bus.send(signal);
    }

    QDBusConnection m_bus;
    bool m_refuse;
    bool m_restored = false;
    bool m_persist = false;
    bool m_clipboard = false;
    QString m_session;
    QString m_mutterSession;
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal(bus, app.arguments().contains(QStringLiteral("refuse")));
    if (!bus.registerVirtualObject(kObject, &portal, QDBusConnection::SubPath)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "fakeportal: cannot own the portal's name\n");
        return 1;
    }
    print({{"ready", true}});
    return app.exec();
}

#include "fakeportal.moc"
