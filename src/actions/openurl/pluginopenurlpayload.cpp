#include "pluginopenurlpayload.h"

namespace {
const QString kUrlKey = QStringLiteral("Url");
const QString kPresetUrlKey = QStringLiteral("url");
const QString kPresetTitleKey = QStringLiteral("title");
}

const QString PluginOpenUrl::PayloadImpl::kHomePage = QStringLiteral("https://www.example.com/");

QString PluginOpenUrl::PayloadImpl::presetProblem(const QJsonObject& preset) const
{
    if (!preset.contains(kPresetTitleKey))
        return QStringLiteral("the preset has no \"title\"");
    if (!preset.contains(kPresetUrlKey))
        return QStringLiteral("the preset has no \"url\"");
    return {};
}

QString PluginOpenUrl::PayloadImpl::defaultTitle() const
{
    return QStringLiteral("URL");
}

QString PluginOpenUrl::PayloadImpl::defaultIcon() const
{
    return QStringLiteral(":/SystemDll/images/mainpage_btn_url.png");
}

void PluginOpenUrl::PayloadImpl::resetOwn()
{
    url = kHomePage;
}

void PluginOpenUrl::PayloadImpl::readOwn(const QJsonObject& json, Form form)
{
    url = PayloadRead::string(json, form == Form::Preset ? kPresetUrlKey : kUrlKey);
}

void PluginOpenUrl::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(kUrlKey, url);
}
