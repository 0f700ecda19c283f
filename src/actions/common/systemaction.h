#pragma once

#include "actionpayload.h"
#include "plugin/kymixerplugindelegate.h"
#include "plugin/kyplugin.h"

// What the six actions share: the init protocol (preset, payload, defaults), the event
// dispatch, the set-settings report and the link to the host. An action supplies its
// record, how the record reaches its widgets, and its reactions to key events.
class SystemAction : public KYPlugin
{
    Q_OBJECT
public:
    using KYPlugin::init;
    using KYPlugin::eventReceived;
    bool init(const QString& target, const QJsonObject& params) override;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QString actionTitle() const override;
    QString actionIconFilePath() const override;
    int onSetSettingsEvent(const QJsonObject&) override;
    bool initWithDefault() override;
    bool initWithPayload(const QJsonObject& payload) override;
    bool initWithPreset(const QJsonObject& preset) override;

    // The record as the host stores it.
    QJsonObject settingsJson() const { return payload().toJson(); }

protected:
    explicit SystemAction(QObject* parent = nullptr);

    virtual ActionPayload& payload() = 0;
    virtual const ActionPayload& payload() const = 0;
    // Pushes the record into the key face and the inspector.
    virtual void syncWidgets() = 0;
    // Connects the inspector's edit signals; called once, on the first init.
    virtual void connectInspector() = 0;
    // Events other than key up, key down and app triggered; the result is the host's.
    virtual void onOtherEvent(const QString& type, QJsonObject& result);
    // Debug trace of one init step ("Preset", "Payload") with its object.
    virtual void traceInit(const QString& step, const QJsonObject& json) const;

    // "[ClassName]", the tag that starts this action's log lines.
    QString logTag() const;
    void reportSettings();
    // Asks the host, a moment after an icon change, to recompute the key's colour.
    void requestKeyRecolour(int delayMs);

    KyMixerPluginDelegate delegate;

private:
    void syncAndConnect();

    bool m_inspectorConnected = false;
};
