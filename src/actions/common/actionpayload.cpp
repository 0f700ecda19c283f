#include "actionpayload.h"

#include <QJsonArray>

using namespace PayloadKey;

namespace {
const QString kPresetTitle = QStringLiteral("title");
const QString kPresetIcon = QStringLiteral("icon");
constexpr int kWrittenVersion = 1;
}

namespace PayloadRead {

QString string(const QJsonObject& json, const QString& key)
{
    return json.value(key).toString();
}

QStringList strings(const QJsonObject& json, const QString& key)
{
    QStringList list;
    const QJsonArray array = json.value(key).toArray();
    list.reserve(array.size());
    for (const QJsonValue& value : array)
        list << value.toString();
    return list;
}

} // namespace PayloadRead

ActionPayload::~ActionPayload() = default;

void ActionPayload::reset()
{
    version = kWrittenVersion;
    titles = QStringList{defaultTitle()};
    icons = QStringList{defaultIcon()};
    actionTitle = defaultTitle();
    resetOwn();
}

void ActionPayload::setV1Payload(const QJsonObject& payload)
{
    titles = PayloadRead::strings(payload, kTitleList);
    icons = PayloadRead::strings(payload, kIconList);
    actionTitle = payload.contains(kActionTitle) ? PayloadRead::string(payload, kActionTitle) : firstTitle();
    if (payload.contains(kDisplayView))
        displayView = KyDisplayViewAttribute::fromJson(payload.value(kDisplayView).toObject());
    readOwn(payload, Form::Versioned);
}

void ActionPayload::setLegacyPayload(const QJsonObject& payload)
{
    titles = QStringList{PayloadRead::string(payload, kLegacyTitle)};
    icons = QStringList{PayloadRead::string(payload, kLegacyImage)};
    actionTitle = firstTitle();
    readOwn(payload, Form::Legacy);
}

void ActionPayload::setPreset(const QJsonObject& preset)
{
    titles = QStringList{PayloadRead::string(preset, kPresetTitle)};
    icons = QStringList{PayloadRead::string(preset, kPresetIcon)};
    actionTitle = preset.contains(kActionTitle) ? PayloadRead::string(preset, kActionTitle) : firstTitle();
    if (preset.contains(kDisplayView))
        displayView = KyDisplayViewAttribute::fromJson(preset.value(kDisplayView).toObject());
    readOwn(preset, Form::Preset);
}

void ActionPayload::setPayload(const QJsonObject& payload)
{
    if (payload.contains(kVersion))
        setV1Payload(payload);
    else
        setLegacyPayload(payload);
}

QJsonObject ActionPayload::toJson() const
{
    QJsonObject json{
        {kVersion, version},
        {kTitleList, QJsonArray::fromStringList(titles)},
        {kIconList, QJsonArray::fromStringList(icons)},
        {kActionTitle, actionTitle},
        {kDisplayView, KyDisplayViewAttribute::toJson(displayView)},
    };
    writeOwn(json);
    return json;
}

void ActionPayload::setFirstTitle(const QString& title)
{
    if (titles.isEmpty())
        titles << title;
    else
        titles[0] = title;
}

void ActionPayload::setFirstIcon(const QString& icon)
{
    if (icons.isEmpty())
        icons << icon;
    else
        icons[0] = icon;
}

QString ActionPayload::presetProblem(const QJsonObject&) const
{
    return {};
}
