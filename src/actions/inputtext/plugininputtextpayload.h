#pragma once

#include "plugininputtext.h"

// Input Text's record: the shared keys plus "SendText" and "PressEnterStatus". The
// status is a string: exactly "true" means press Enter.
class PluginInputText::PayloadImpl : public ActionPayload
{
public:
    static const QString kPressEnter;    // "true"
    static const QString kNoPressEnter;  // "False", as the inspector writes it

    QString sendText;
    QString pressEnterStatus;

    bool pressesEnter() const { return pressEnterStatus == kPressEnter; }
    // A preset reads the versioned keys; its lists replace ours only when present.
    void setPreset(const QJsonObject& preset) override;

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;
};
