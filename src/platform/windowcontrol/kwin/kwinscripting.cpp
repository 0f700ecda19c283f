#include "kwinscripting.h"

#include "kwinanswerreceiver.h"
#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <atomic>

namespace C = WindowControlConstants;

namespace {

const QString kKWin = QStringLiteral("org.kde.KWin");
const QString kScriptingPath = QStringLiteral("/Scripting");
const QString kScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString kScriptInterface = QStringLiteral("org.kde.kwin.Script");

// Where KWin shows a loaded script, by its id: KWin 5.27 as "/<id>" (seen on 5.27.5),
// KWin 6 as "/Scripting/Script<id>".
const QString kScriptPrefixes[] = {QStringLiteral("/"), QStringLiteral("/Scripting/Script")};

// Helpers for every script; KWin 5 and 6 name the window list and the active window
// differently.
const char kPrelude[] = R"(
function windows() {
    return workspace.windowList ? workspace.windowList() : workspace.clientList();
}
function activeWindow() {
    return workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient;
}
function answer(value) {
    callDBus(input.service, input.path, input.interface, input.method, input.token, JSON.stringify(value));
}
function listed(w) {
    return (w.normalWindow || w.dialog) && w.managed !== false;
}
function describe(w) {
    var g = w.frameGeometry;
    return { id: String(w.internalId), title: w.caption, pid: w.pid,
             appId: w.desktopFileName || w.resourceClass || "",
             x: g.x, y: g.y, width: g.width, height: g.height, minimized: w.minimized };
}
function find(id) {
    var all = windows();
    for (var i = 0; i < all.length; ++i) {
        if (String(all[i].internalId) === id)
            return all[i];
    }
    return null;
}
)";

std::atomic<int> s_instances{0};

QDBusMessage callKWin(const QDBusConnection& bus, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kKWin, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, C::kIpcTimeoutMs);
}

} // namespace

std::unique_ptr<KWinScripting> KWinScripting::open(const QDBusConnection& bus, QString* problem)
{
    QString why;
    if (!bus.isConnected()) {
        why = QStringLiteral("no session bus");
    } else {
        const QDBusReply<bool> scripting =
            callKWin(bus, kScriptingPath, kScriptingInterface, QStringLiteral("isScriptLoaded"), {QString()});
        if (!scripting.isValid()) {
            why = scripting.error().type() == QDBusError::ServiceUnknown
                ? QStringLiteral("KWin is not running")
                : QStringLiteral("KWin offers no scripting on the bus (%1)").arg(scripting.error().message());
        } else {
            const int instance = ++s_instances;
            const QString service = QStringLiteral("com.corvane.VantaKWin.p%1_%2").arg(QCoreApplication::applicationPid()).arg(instance);
            const QString path = QStringLiteral("/com/corvane/VantaKWin/%1").arg(instance);
            auto receiver = std::make_unique<KWinAnswerReceiver>();
            QDBusConnection own = bus;
            if (own.registerObject(path, receiver.get(), QDBusConnection::ExportScriptableSlots) && own.registerService(service))
                return std::unique_ptr<KWinScripting>(new KWinScripting(bus, service, path, std::move(receiver)));
            own.unregisterObject(path);
            why = QStringLiteral("cannot take the bus name %1 for KWin's answers (%2)").arg(service, own.lastError().message());
        }
    }
    if (problem)
        *problem = why;
    return nullptr;
}

KWinScripting::KWinScripting(const QDBusConnection& bus, const QString& service, const QString& path,
                             std::unique_ptr<KWinAnswerReceiver> receiver)
    : m_bus(bus)
    , m_service(service)
    , m_path(path)
    , m_receiver(std::move(receiver))
{
    QObject::connect(m_receiver.get(), &KWinAnswerReceiver::answered, m_receiver.get(),
                     [this](const QString& token, const QString& json) { received(token, json); });
    if (!m_folder.isValid())
        qCWarning(lcWindowControl) << "no private folder for KWin scripts:" << m_folder.errorString();
}

KWinScripting::~KWinScripting()
{
    stop();
    m_receiver->disconnect();
    m_bus.unregisterObject(m_path);
    m_bus.unregisterService(m_service);
}

QString KWinScripting::nextToken()
{
    return QStringLiteral("vanta-%1-%2").arg(m_service.section(QLatin1Char('.'), -1)).arg(++m_sequence);
}

QString KWinScripting::source(const QString& token, const QString& body, const QJsonObject& args) const
{
    const QJsonObject input{{QStringLiteral("service"), m_service},
                            {QStringLiteral("path"), m_path},
                            {QStringLiteral("interface"), QLatin1String(KWinAnswerReceiver::kInterface)},
                            {QStringLiteral("method"), QLatin1String(KWinAnswerReceiver::kMethod)},
                            {QStringLiteral("token"), token},
                            {QStringLiteral("args"), args}};
    // JSON is a script literal, except that older script engines end a line at the two
    // Unicode separators even inside a string.
    QString literal = QString::fromUtf8(QJsonDocument(input).toJson(QJsonDocument::Compact));
    literal.replace(QChar(0x2028), QLatin1String("\\u2028")).replace(QChar(0x2029), QLatin1String("\\u2029"));
    return QStringLiteral("var input = %1;\n%2\n%3\n").arg(literal, QLatin1String(kPrelude), body);
}

QString KWinScripting::load(const QString& token, const QString& body, const QJsonObject& args)
{
    const QString file = m_folder.filePath(token + QLatin1String(".js"));
    QFile script(file);
    if (!m_folder.isValid() || !script.open(QIODevice::WriteOnly) || script.write(source(token, body, args).toUtf8()) < 0)
        return QStringLiteral("cannot write %1: %2").arg(file, script.errorString());
    script.close();
    const QDBusReply<int> id = callKWin(m_bus, kScriptingPath, kScriptingInterface, QStringLiteral("loadScript"), {file, token});
    if (!id.isValid() || id.value() < 0) {
        QFile::remove(file);
        return QStringLiteral("KWin did not load it: %1").arg(id.isValid() ? QStringLiteral("refused") : id.error().message());
    }
    QDBusMessage ran;
    for (const QString& prefix : kScriptPrefixes) {
        if (!m_scriptPrefix.isEmpty() && prefix != m_scriptPrefix)
            continue;
        ran = callKWin(m_bus, prefix + QString::number(id.value()), kScriptInterface, QStringLiteral("run"), {});
        if (ran.type() == QDBusMessage::ReplyMessage) {
            m_scriptPrefix = prefix;
            return {};
        }
    }
    unload(token);
    return QStringLiteral("KWin did not run it: %1").arg(ran.errorMessage());
}

void KWinScripting::unload(const QString& token)
{
    callKWin(m_bus, kScriptingPath, kScriptingInterface, QStringLiteral("unloadScript"), {token});
    QFile::remove(m_folder.filePath(token + QLatin1String(".js")));
}

void KWinScripting::received(const QString& token, const QString& json)
{
    QJsonParseError error;
    const QJsonDocument answer = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCWarning(lcWindowControl) << "unreadable answer from a KWin script:" << error.errorString();
        return;
    }
    for (Waiting* waiting = m_waiting; waiting; waiting = waiting->outer) {
        if (token == waiting->token) {
            if (!waiting->enough) {
                waiting->answered = true;
                waiting->enough = (*waiting->take)(answer);
            }
            return;
        }
    }
    if (!m_standing.isEmpty() && token == m_standing && m_standingTake) {
        m_standingTake(answer);
    }
}

bool KWinScripting::run(const char* what, const QString& body, const QJsonObject& args, const Take& take, int moreMs)
{
    QElapsedTimer took;
    took.start();
    // A listener called from a wait may run a script of its own: the outer wait still
    // takes its answers, and resumes after.
    Waiting waiting{nextToken(), &take, m_waiting};
    m_waiting = &waiting;
    if (const QString failed = load(waiting.token, body, args); !failed.isEmpty()) {
        qCWarning(lcWindowControl).noquote() << QStringLiteral("no script to %1: %2").arg(QLatin1String(what), failed);
    } else {
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        const QMetaObject::Connection answered =
            QObject::connect(m_receiver.get(), &KWinAnswerReceiver::answered, &loop, [&](const QString& token) {
                if (token != waiting.token)
                    return;
                if (waiting.enough)
                    loop.quit();
                else if (moreMs > 0 && deadline.remainingTime() > moreMs)
                    deadline.start(moreMs);
            });
        if (!waiting.enough) {
            deadline.start(C::kIpcTimeoutMs);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        QObject::disconnect(answered);
        unload(waiting.token);
        if (!waiting.answered)
            qCWarning(lcWindowControl) << "KWin did not answer the script to" << what << "within" << C::kIpcTimeoutMs << "ms";
        else
            qCDebug(lcWindowControl) << "KWin script to" << what << "took" << took.elapsed() << "ms";
    }
    m_waiting = waiting.outer;
    return waiting.answered;
}

bool KWinScripting::start(const char* what, const QString& body, const QJsonObject& args,
                          std::function<void(const QJsonDocument&)> take)
{
    stop();
    const QString token = nextToken();
    m_standing = token;
    m_standingTake = std::move(take);
    const QString failed = load(token, body, args);
    if (failed.isEmpty())
        return true;
    qCDebug(lcWindowControl).noquote() << QStringLiteral("no script to %1: %2").arg(QLatin1String(what), failed);
    m_standing.clear();
    m_standingTake = nullptr;
    return false;
}

void KWinScripting::stop()
{
    if (m_standing.isEmpty())
        return;
    unload(std::exchange(m_standing, QString()));
    m_standingTake = nullptr;
}
