#pragma once

#include "actions/common/typedaction.h"

class WidgetIconPluginOpenFile;
class WidgetPluginOpenFile;

// Opens its stored path when the key is triggered: an application starts, a document
// opens with its default application. A path that is gone opens nothing.
class PluginOpenFile : public TypedAction<PluginOpenFile, WidgetIconPluginOpenFile, WidgetPluginOpenFile>
{
    Q_OBJECT
public:
    explicit PluginOpenFile(QObject* parent = nullptr);

    using SystemAction::eventReceived;
    void eventReceived(const QJsonObject& event, QJsonObject& result) override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;

    class PayloadImpl;

protected:
    void syncOwn() override;
    void connectOwn() override;
};
