#pragma once

#include "actions/common/systemaction.h"

class WidgetIconPluginOpenFile;
class WidgetPluginOpenFile;

// Opens its stored path when the key is triggered: an application starts, a document
// opens with its default application. A path that is gone opens nothing.
class PluginOpenFile : public SystemAction
{
    Q_OBJECT
public:
    explicit PluginOpenFile(QObject* parent = nullptr);
    ~PluginOpenFile() override;

    using SystemAction::eventReceived;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QWidget* propertyWidget() override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;

    class PayloadImpl;

protected:
    ActionPayload& payload() override;
    const ActionPayload& payload() const override;
    ActionKeyFace* face() const override;
    void buildInspector() override;
    void syncOwn() override;
    void connectOwn() override;

private:
    WidgetIconPluginOpenFile* keyFace = nullptr;
    WidgetPluginOpenFile* m_propertyWidget = nullptr;
    PayloadImpl* m_payloadImpl = nullptr;
};
