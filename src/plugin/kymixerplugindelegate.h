#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class QWebSocket;

// One action's WebSocket link to the host's local server on 127.0.0.1. Connects once;
// a refused or lost connection stays closed (no retry), and messages given while it is
// not open are dropped.
class KyMixerPluginDelegate : public QObject
{
    Q_OBJECT
public:
    explicit KyMixerPluginDelegate(QObject* parent = nullptr);
    ~KyMixerPluginDelegate() override;

    void connectToServer();
    void sendTextMessage(const QJsonObject& message);

    void subscribeSubjects(const QList<QString>& subjects);
    void subscribeSubject(const QString& subject);
    void subjectSendMessage(const QString& subject);
    void queryMixerMute();
    void updateMixerMute(bool muted, const QJsonArray& mixers);
    void queryMixerVolume();
    void updateMixerVolume(int deck, int category, int volume);
    void queryMixerEffect();
    void updateMixerEffect(bool enable, int effectType, int presetId);
    void queryHeadphoneOutput();
    void updateHeadphoneOutput(bool on);
    void queryMonitor();
    void updateMonitor(bool on);
    void updatePageSwitch(int page);
    void queryHotkeyProfile();
    void updateHotkeyProfile(const QString& profileId);
    void queryMixerProfile();
    void updateMixerProfile(const QString& profileId);
    void enterGroup(const QString& id);
    void updateFunctionKeyLedLevel(const QString& sender, int level);
    void updateFunctionKeyLedAppControl(const QString& sender, const QString& appName,
                                        const QString& functionName, bool status);
    void updateFunctionKeyImageColor(const QString& sender);
    void turnOffPanel();
    void queryPageNumber();

signals:
    void connected(const QJsonObject&);
    void response(const QJsonObject& message);

private:
    void send(const QString& task, QJsonObject members = {});
    void onTextMessage(const QString& text);

    QWebSocket* m_socket = nullptr;
};
