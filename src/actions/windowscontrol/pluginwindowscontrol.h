#pragma once

#include "actions/common/typedaction.h"

class InterfaceToWindowControl;
class WidgetIconPluginWindowsControl;
class WidgetPluginWindowsControl;

// Resizes and moves, minimises, maximises or closes a window of another application,
// named by its title, when the key is triggered: the record becomes a window task, which
// the window control carries out. The inspector edits the record; it shares the action's
// window control, so a trigger sees the windows the inspector listed.
class PluginWindowsControl
    : public TypedAction<PluginWindowsControl, WidgetIconPluginWindowsControl, WidgetPluginWindowsControl>
{
    Q_OBJECT
public:
    explicit PluginWindowsControl(QObject* parent = nullptr);

    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;
    int onSyncUI() override;

    class PayloadImpl;

protected:
    void syncOwn() override;
    void connectOwn() override;

private:
    // Made on first use, a child of this action.
    InterfaceToWindowControl* windowControl();

    InterfaceToWindowControl* m_windowControl = nullptr;
};
