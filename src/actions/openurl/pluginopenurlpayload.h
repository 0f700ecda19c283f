#pragma once

#include "pluginopenurl.h"

// Open URL's record: the shared keys plus "Url" (preset: "url").
class PluginOpenUrl::PayloadImpl : public ActionPayload
{
public:
    static const QString kHomePage;

    QString url;

    QString presetProblem(const QJsonObject& preset) const override;

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;
};
