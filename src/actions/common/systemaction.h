#pragma once

#include "actionpayload.h"
#include "actioninspector.h"
#include "actionkeyface.h"
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
    QWidget* pluginWidget() override;
    QWidget* propertyWidget() override;
    // Key down shows the pressed look, key up the icon again.
    int onKeyDownEvent(const QJsonObject&) override;
    int onKeyUpEvent(const QJsonObject&) override;
    bool initWithDefault() override;
    bool initWithPayload(const QJsonObject& payload) override;
    bool initWithPreset(const QJsonObject& preset) override;

    // The record as the host stores it.
    QJsonObject settingsJson() const { return payload().toJson(); }
    // Takes a versioned payload as the new settings and reports them.
    void saveProfile(const QJsonObject& stored);

protected:
    explicit SystemAction(QObject* parent = nullptr);

    virtual ActionPayload& payload() = 0;
    virtual const ActionPayload& payload() const = 0;
    // The action's two widgets; null for an action without them. The key face is built
    // with the action. The inspector is built by buildInspector() when the host first
    // asks for it, since most keys are never inspected; it is then filled from the
    // record and connected, and inspector() returns it from then on.
    virtual ActionKeyFace* face() const { return nullptr; }
    virtual ActionInspector* inspector() const { return nullptr; }
    virtual void buildInspector() {}
    void ensureInspector();
    bool hasInspector() const { return m_inspectorBuilt; }
    // Pushes the record into the key face and, once built, the inspector: titles,
    // icons, the display view, action mode; then syncOwn() for the inspector's own
    // fields (called only when there is an inspector).
    virtual void syncWidgets();
    virtual void syncOwn() {}
    // Connects the inspector's title, icon and text-attribute edits to the record
    // (each reported at once), then connectOwn(); called once, when it is built.
    virtual void propertyConnections();
    virtual void connectOwn() {}
    // After an icon change, how long to wait before asking the host for a recolour.
    virtual int recolourDelayMs() const { return 100; }
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

    // The record's reactions to the shared edits; each reports the settings.
    void onTitleEdited(const QString& title);
    void onIconEdited(const QString& path);
    void onViewAttributeEdited(const KyDisplayViewAttribute& attribute);

private:
    void syncInspector();

    bool m_inspectorBuilt = false;
};
