#include "kymixerplugindelegate.h"

#include "kyremotecommands.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "pluginlog.h"

#include <QJsonDocument>
#include <QUrl>
#include <QWebSocket>

namespace {
// Far above any message of the protocol; a larger one closes the link instead of
// growing without end.
constexpr quint64 kMaxIncomingBytes = 1024 * 1024;
}

KyMixerPluginDelegate::KyMixerPluginDelegate(QObject* parent)
    : QObject(parent)
    , m_socket(new QWebSocket(QString(), QWebSocketProtocol::Version13, nullptr))
{
    m_socket->setMaxAllowedIncomingMessageSize(kMaxIncomingBytes);
    m_socket->setMaxAllowedIncomingFrameSize(kMaxIncomingBytes);
}

KyMixerPluginDelegate::~KyMixerPluginDelegate()
{
    m_socket->disconnect();
    m_socket->abort();
    delete m_socket;
}

void KyMixerPluginDelegate::connectToServer()
{
    const QUrl url(QStringLiteral("ws://127.0.0.1:%1").arg(KyVantaProxy::getInstance()->port));
    connect(m_socket, &QWebSocket::connected, this, [this] {
        connect(m_socket, &QWebSocket::textMessageReceived, this, &KyMixerPluginDelegate::onTextMessage,
                Qt::UniqueConnection);
    });
    connect(m_socket, &QWebSocket::disconnected, this, [] {});
    m_socket->open(url);
}

void KyMixerPluginDelegate::sendTextMessage(const QJsonObject& message)
{
    if (m_socket)
        m_socket->sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void KyMixerPluginDelegate::onTextMessage(const QString& text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (document.isObject()) {
        emit response(document.object());
        return;
    }
    qCDebug(lcPlugin) << "[MixerPluginDelegate][ConnectToServer]Error" << document;
    emit response(QJsonObject{{QStringLiteral("error"), QStringLiteral("Content was broken")}});
}

void KyMixerPluginDelegate::send(const QString& task, QJsonObject members)
{
    members.insert(QStringLiteral("task"), task);
    sendTextMessage(members);
}

void KyMixerPluginDelegate::subscribeSubjects(const QList<QString>& subjects)
{
    send(KyRemoteCommands::kSubscribeSubjects, {{"subjects", QJsonArray::fromStringList(subjects)}});
}

void KyMixerPluginDelegate::subscribeSubject(const QString& subject)
{
    send(KyRemoteCommands::kSubscribeSubject, {{"subject", subject}});
}

void KyMixerPluginDelegate::subjectSendMessage(const QString& subject)
{
    send(KyRemoteCommands::kSubjectSendMessage, {{"subject", subject}});
}

void KyMixerPluginDelegate::queryMixerMute() { send(KyRemoteCommands::kQueryMixerMute); }

void KyMixerPluginDelegate::updateMixerMute(bool muted, const QJsonArray& mixers)
{
    send(KyRemoteCommands::kUpdateMixerMute, {{"muted", muted}, {"mixers", mixers}});
}

void KyMixerPluginDelegate::queryMixerVolume() { send(KyRemoteCommands::kQueryMixerVolume); }

void KyMixerPluginDelegate::updateMixerVolume(int deck, int category, int volume)
{
    send(KyRemoteCommands::kUpdateMixerVolume, {{"deck", deck}, {"category", category}, {"volume", volume}});
}

void KyMixerPluginDelegate::queryMixerEffect() { send(KyRemoteCommands::kQueryMixerEffect); }

void KyMixerPluginDelegate::updateMixerEffect(bool enable, int effectType, int presetId)
{
    send(KyRemoteCommands::kUpdateMixerEffect, {{"enable", enable}, {"effectType", effectType}, {"presetId", presetId}});
}

void KyMixerPluginDelegate::queryHeadphoneOutput() { send(KyRemoteCommands::kQueryHeadphoneOutput); }

void KyMixerPluginDelegate::updateHeadphoneOutput(bool on)
{
    send(KyRemoteCommands::kUpdateHeadphoneOutput, {{"on", on}});
}

void KyMixerPluginDelegate::queryMonitor() { send(KyRemoteCommands::kQueryMonitor); }

void KyMixerPluginDelegate::updateMonitor(bool on) { send(KyRemoteCommands::kUpdateMonitor, {{"on", on}}); }

void KyMixerPluginDelegate::updatePageSwitch(int page)
{
    send(KyRemoteCommands::kUpdatePageSwitch, {{"page", page}});
}

void KyMixerPluginDelegate::queryHotkeyProfile() { send(KyRemoteCommands::kQueryHotkeyProfile); }

void KyMixerPluginDelegate::updateHotkeyProfile(const QString& profileId)
{
    send(KyRemoteCommands::kUpdateHotkeyProfile, {{"profileId", profileId}});
}

void KyMixerPluginDelegate::queryMixerProfile() { send(KyRemoteCommands::kQueryMixerProfile); }

void KyMixerPluginDelegate::updateMixerProfile(const QString& profileId)
{
    send(KyRemoteCommands::kUpdateMixerProfile, {{"profileId", profileId}});
}

void KyMixerPluginDelegate::enterGroup(const QString& id) { send(KyRemoteCommands::kEnterGroup, {{"id", id}}); }

void KyMixerPluginDelegate::updateFunctionKeyLedLevel(const QString& sender, int level)
{
    send(KyRemoteCommands::kUpdateFunctionKeyLedLevel, {{"sender", sender}, {"level", level}});
}

void KyMixerPluginDelegate::updateFunctionKeyLedAppControl(const QString& sender, const QString& appName,
                                                           const QString& functionName, bool status)
{
    send(KyRemoteCommands::kUpdateFunctionKeyLedAppControl,
         {{"sender", sender}, {"appName", appName}, {"functionName", functionName}, {"status", status}});
}

void KyMixerPluginDelegate::updateFunctionKeyImageColor(const QString& sender)
{
    send(KyRemoteCommands::kUpdateFunctionKeyImageColor, {{"sender", sender}});
}

void KyMixerPluginDelegate::turnOffPanel() { send(KyRemoteCommands::kTurnOffPanel); }

void KyMixerPluginDelegate::queryPageNumber() { send(KyRemoteCommands::kQueryPageIndicatorNumber); }
