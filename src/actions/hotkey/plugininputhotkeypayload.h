#pragma once

#include "plugininputhotkey.h"

// Input Hotkey's record: the shared keys plus "SendHotkey", the hotkey string the
// inspector recorded. Its presets carry "titlelist" and "iconlist", of which only the
// first entries count.
class PluginInputHotkey::PayloadImpl : public ActionPayload
{
public:
    QString sendHotkey;

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;
};
