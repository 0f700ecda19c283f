#pragma once

#include "actions/common/systemaction.h"

class WidgetIconPluginInputHotkey;
class WidgetPluginInputHotkey;

// Sends its recorded key combination to the focused application when the key is
// triggered: one key-down with the combination's modifiers, through the keyboard
// event service.
class PluginInputHotkey : public SystemAction
{
    Q_OBJECT
public:
    explicit PluginInputHotkey(QObject* parent = nullptr);
    ~PluginInputHotkey() override;

    using SystemAction::eventReceived;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;
    int onSyncUI() override;

    // The hotkey string a trigger sends.
    QString hotkey() const;

    class PayloadImpl;

protected:
    ActionPayload& payload() override;
    const ActionPayload& payload() const override;
    ActionKeyFace* face() const override;
    ActionInspector* inspector() const override;
    void buildInspector() override;
    void syncOwn() override;
    void connectOwn() override;

private:
    WidgetIconPluginInputHotkey* keyFace = nullptr;
    WidgetPluginInputHotkey* m_propertyWidget = nullptr;
    PayloadImpl* m_payloadImpl = nullptr;
};
