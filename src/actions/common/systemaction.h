#pragma once

#include "actionpayload.h"
#include "actioninspector.h"
#include "actionkeyface.h"
#include "plugin/kymixerplugindelegate.h"
#include "plugin/kyplugin.h"

#include <functional>
#include <memory>

// What the six actions share: the init protocol (preset, payload, defaults), the event
// dispatch, the set-settings report and the link to the host. It owns the action's
// record, key face and inspector; an action supplies them, how the record reaches its
// inspector's own fields, and its reactions to key events.
class SystemAction : public KYPlugin
{
    Q_OBJECT
public:
    ~SystemAction() override;

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
    // Makes the inspector the first time it is needed.
    using InspectorFactory = std::function<std::unique_ptr<QWidget>()>;

    // Takes the record and the key face (null for an action without one). The inspector
    // is made by `inspector` when the host first asks for it, since most keys are never
    // inspected; it is then filled from the record and connected. Without a factory the
    // action has no inspector, but its own fields are still synced from then on.
    SystemAction(std::unique_ptr<ActionPayload> record, std::unique_ptr<ActionKeyFace> face,
                 InspectorFactory inspector, QObject* parent = nullptr);

    ActionPayload& payload() { return *m_record; }
    const ActionPayload& payload() const { return *m_record; }
    ActionKeyFace* face() const { return m_face.get(); }
    // The inspector once made, else null.
    QWidget* inspectorWidget() const { return m_inspector.get(); }
    // The inspector when it is built on ActionInspector, whose shared fields this class
    // fills and connects; else null, and the action does that in syncOwn() and connectOwn().
    ActionInspector* inspector() const { return m_actionInspector; }
    // Makes, fills and connects the inspector, unless that is done already.
    void ensureInspector();
    // Makes and connects the inspector now, before any settings arrive, for an action
    // whose inspector reports what loading them selects; the next sync fills it.
    void buildInspectorNow();
    bool hasInspector() const { return m_inspectorBuilt; }
    // What the key face shows: after a sync and in the pressed look the title, after a
    // sync and on key up the image. The record's first title and icon by default.
    virtual QString faceTitle() const;
    virtual QString faceImage() const;
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
    void makeInspector();
    void syncInspector();

    std::unique_ptr<ActionPayload> m_record;
    InspectorFactory m_makeInspector;
    std::unique_ptr<QWidget> m_inspector;
    ActionInspector* m_actionInspector = nullptr;  // m_inspector, when it is one
    std::unique_ptr<ActionKeyFace> m_face;         // deleted first, then the inspector and the record
    bool m_inspectorBuilt = false;
};
