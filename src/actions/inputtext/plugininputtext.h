#pragma once

#include "actions/common/systemaction.h"

class TextPaster;
class WidgetIconPluginInputText;
class WidgetPluginInputText;

// Types its text into the focused application by pasting it, optionally followed by
// the keypad Enter key.
class PluginInputText : public SystemAction
{
    Q_OBJECT
public:
    explicit PluginInputText(QObject* parent = nullptr);
    ~PluginInputText() override;

    using SystemAction::init;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QWidget* pluginWidget() override;
    QWidget* propertyWidget() override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;

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
    WidgetIconPluginInputText* keyFace = nullptr;
    WidgetPluginInputText* m_propertyWidget = nullptr;
    QString m_pressEnterStatus;
    PayloadImpl* m_payloadImpl = nullptr;
    TextPaster* m_paster = nullptr;
};
