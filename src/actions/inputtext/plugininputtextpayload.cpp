#include "plugininputtextpayload.h"

using namespace PayloadKey;

namespace {
const QString kSendTextKey = QStringLiteral("SendText");
const QString kPressEnterKey = QStringLiteral("PressEnterStatus");
}

const QString PluginInputText::PayloadImpl::kPressEnter = QStringLiteral("true");
const QString PluginInputText::PayloadImpl::kNoPressEnter = QStringLiteral("False");

void PluginInputText::PayloadImpl::setPreset(const QJsonObject& preset)
{
    if (preset.contains(kTitleList))
        titles = PayloadRead::strings(preset, kTitleList);
    if (preset.contains(kIconList))
        icons = PayloadRead::strings(preset, kIconList);
    actionTitle = preset.contains(kActionTitle) ? PayloadRead::string(preset, kActionTitle) : firstTitle();
    if (preset.contains(kDisplayView))
        displayView = KyDisplayViewAttribute::fromJson(preset.value(kDisplayView).toObject());
    readOwn(preset, Form::Preset);
}

QString PluginInputText::PayloadImpl::defaultTitle() const
{
    return QStringLiteral("Text");
}

QString PluginInputText::PayloadImpl::defaultIcon() const
{
    return QStringLiteral(":/SystemDll/images/mainpage_btn_text.png");
}

void PluginInputText::PayloadImpl::resetOwn()
{
    sendText.clear();
    pressEnterStatus = kPressEnter;
}

void PluginInputText::PayloadImpl::readOwn(const QJsonObject& json, Form)
{
    sendText = PayloadRead::string(json, kSendTextKey);
    pressEnterStatus = PayloadRead::string(json, kPressEnterKey);
}

void PluginInputText::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(kSendTextKey, sendText);
    json.insert(kPressEnterKey, pressEnterStatus);
}
