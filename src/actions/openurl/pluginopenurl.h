#pragma once

#include "actions/common/typedaction.h"

class WidgetIconPluginOpenUrl;
class WidgetPluginOpenUrl;

// Opens its URL with the platform's default handler when the key is triggered.
class PluginOpenUrl : public TypedAction<PluginOpenUrl, WidgetIconPluginOpenUrl, WidgetPluginOpenUrl>
{
    Q_OBJECT
public:
    explicit PluginOpenUrl(QObject* parent = nullptr);

    using SystemAction::init;
    bool init(const QString& target, const QJsonObject& params) override;
    QWidget* pluginWidget() override;
    QWidget* propertyWidget() override;
    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;
    int onSyncUI() override;
    bool initWithDefault() override;

    class PayloadImpl;

protected:
    void syncOwn() override;
    void connectOwn() override;
    void onOtherEvent(const QString& type, QJsonObject& result) override;
    void traceInit(const QString& step, const QJsonObject& json) const override;
};
