#include "pluginopenfilepayload.h"

#include <QJsonArray>

using namespace PayloadKey;

namespace {
const QString kFilePath = QStringLiteral("FilePath");

// The one-element list of a stored array's first entry; `kept` when there is none.
QStringList firstOf(const QJsonObject& json, const QString& key, const QStringList& kept)
{
    const QJsonArray array = json.value(key).toArray();
    return array.isEmpty() ? kept : QStringList{array.first().toString()};
}
}

void PluginOpenFile::PayloadImpl::setV1Payload(const QJsonObject& payload)
{
    titles = firstOf(payload, kTitleList, titles);
    icons = firstOf(payload, kIconList, icons);
    readOwn(payload, Form::Versioned);
    actionTitle = payload.contains(kActionTitle) ? PayloadRead::string(payload, kActionTitle) : firstTitle();
    if (payload.contains(kDisplayView))
        displayView = KyDisplayViewAttribute::fromJson(payload.value(kDisplayView).toObject());
}

void PluginOpenFile::PayloadImpl::setPreset(const QJsonObject& preset)
{
    reset();
    setV1Payload(preset);
}

void PluginOpenFile::PayloadImpl::setLegacyPayload(const QJsonObject& payload)
{
    if (payload.contains(kLegacyTitle))
        titles = QStringList{PayloadRead::string(payload, kLegacyTitle)};
    if (payload.contains(kLegacyImage))
        icons = QStringList{PayloadRead::string(payload, kLegacyImage)};
    if (payload.contains(kFilePath))
        readOwn(payload, Form::Legacy);
}

QString PluginOpenFile::PayloadImpl::defaultTitle() const
{
    return QStringLiteral("App/File");
}

QString PluginOpenFile::PayloadImpl::defaultIcon() const
{
    return QStringLiteral(":/SystemDll/images/mainpage_btn_app.png");
}

void PluginOpenFile::PayloadImpl::resetOwn()
{
    filePath.clear();
}

void PluginOpenFile::PayloadImpl::readOwn(const QJsonObject& json, Form)
{
    filePath = PayloadRead::string(json, kFilePath);
}

// The stored action title is always the first title, whatever the field holds.
void PluginOpenFile::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(kFilePath, filePath);
    json.insert(kActionTitle, firstTitle());
}
