#pragma once

#include "actions/common/systemaction.h"

class WidgetIconPluginWindowsControl;
class WidgetPluginWindowsControl;

// Resizes and moves, minimises, maximises or closes a window of another application,
// named by its title, when the key is triggered. The inspector holds the window
// control and does the work, with the values it shows; the action keeps the record.
class PluginWindowsControl : public SystemAction
{
    Q_OBJECT
public:
    explicit PluginWindowsControl(QObject* parent = nullptr);
    ~PluginWindowsControl() override;

    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;
    int onSyncUI() override;

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
    WidgetIconPluginWindowsControl* keyFace = nullptr;
    WidgetPluginWindowsControl* m_propertyWidget = nullptr;
    PayloadImpl* m_payloadImpl = nullptr;
};
