#pragma once

#include "actions/common/typedaction.h"

class WidgetIconPluginInputHotkey;
class WidgetPluginInputHotkey;

// Sends its recorded key combination to the focused application when the key is
// triggered: one key-down with the combination's modifiers, through the keyboard
// event service.
class PluginInputHotkey : public TypedAction<PluginInputHotkey, WidgetIconPluginInputHotkey, WidgetPluginInputHotkey>
{
    Q_OBJECT
public:
    explicit PluginInputHotkey(QObject* parent = nullptr);

    using SystemAction::eventReceived;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;
    int onSyncUI() override;

    // The hotkey string a trigger sends.
    QString hotkey() const;

    class PayloadImpl;

protected:
    void syncOwn() override;
    void connectOwn() override;
};
