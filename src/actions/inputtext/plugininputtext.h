#pragma once

#include "actions/common/typedaction.h"

class TextPaster;
class WidgetIconPluginInputText;
class WidgetPluginInputText;

// Types its text into the focused application by pasting it, optionally followed by
// the keypad Enter key.
class PluginInputText : public TypedAction<PluginInputText, WidgetIconPluginInputText, WidgetPluginInputText>
{
    Q_OBJECT
public:
    explicit PluginInputText(QObject* parent = nullptr);

    using SystemAction::init;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QWidget* pluginWidget() override;
    QWidget* propertyWidget() override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;

    class PayloadImpl;

protected:
    void syncOwn() override;
    void connectOwn() override;

private:
    TextPaster* m_paster = nullptr;  // child of this action
};
