#include "plugininputhotkeypayload.h"

using namespace PayloadKey;

namespace {
const QString kSendHotkey = QStringLiteral("SendHotkey");

// The first entry of a preset list, or the fallback when the list is missing or empty.
QString firstOf(const QJsonObject& preset, const QString& key, const QString& fallback)
{
    const QStringList list = PayloadRead::strings(preset, key);
    return list.isEmpty() ? fallback : list.first();
}
}

QString PluginInputHotkey::PayloadImpl::defaultTitle() const
{
    return QStringLiteral("Hotkey");
}

QString PluginInputHotkey::PayloadImpl::defaultIcon() const
{
    return QStringLiteral(":/SystemDll/images/mainpage_btn_hotkey.png");
}

void PluginInputHotkey::PayloadImpl::resetOwn()
{
    sendHotkey.clear();
}

void PluginInputHotkey::PayloadImpl::readOwn(const QJsonObject& json, Form form)
{
    sendHotkey = PayloadRead::string(json, kSendHotkey);
    if (form != Form::Preset)
        return;
    titles = QStringList{firstOf(json, kTitleList, defaultTitle())};
    icons = QStringList{firstOf(json, kIconList, defaultIcon())};
    actionTitle = json.contains(kActionTitle) ? PayloadRead::string(json, kActionTitle) : firstTitle();
}

void PluginInputHotkey::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(kSendHotkey, sendHotkey);
}
