#pragma once

#include "pluginopenfile.h"

// Open App/File's record: the shared keys plus "FilePath". Its readers keep what a
// stored object leaves out: an absent or empty list keeps the titles or icons it had,
// a legacy profile sets only the keys it holds.
class PluginOpenFile::PayloadImpl : public ActionPayload
{
public:
    QString filePath;

    void setV1Payload(const QJsonObject& payload) override;
    void setLegacyPayload(const QJsonObject& payload) override;
    void setPreset(const QJsonObject& preset) override;

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;
};
