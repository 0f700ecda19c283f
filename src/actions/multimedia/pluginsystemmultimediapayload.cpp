#include "pluginsystemmultimediapayload.h"

#include "actions/common/actionslog.h"

#include <cmath>
#include <limits>

using namespace MultimediaConst;

void PluginSystemMultimedia::PayloadImpl::setPayload(const QJsonObject& payload)
{
    const QJsonValue version = payload.value(QLatin1String(kVersion));
    if (version.isUndefined() || version == QJsonValue(0)) {
        setLegacyPayload(payload);
    } else if (version == QJsonValue(1)) {
        setV1Payload(payload);
    } else {
        qCWarning(lcActions) << "[PluginSystemMultimedia][Payload] unknown version" << version
                             << "- nothing loaded, the settings stay as they were";
    }
}

QString PluginSystemMultimedia::PayloadImpl::imageOrDefault(int i) const
{
    const QString image = icons.value(i);
    return image.isEmpty() && isEntry(i) ? QString::fromLatin1(kDefaultImages[i]) : image;
}

QString PluginSystemMultimedia::PayloadImpl::defaultTitle() const
{
    return QString::fromLatin1(kDefaultTitle);
}

QString PluginSystemMultimedia::PayloadImpl::defaultIcon() const
{
    return QString::fromLatin1(kDefaultImages[0]);
}

QStringList PluginSystemMultimedia::PayloadImpl::defaultImages()
{
    QStringList images;
    for (const char* image : kDefaultImages)
        images << QString::fromLatin1(image);
    return images;
}

void PluginSystemMultimedia::PayloadImpl::resetOwn()
{
    icons = defaultImages();
    index = 0;
}

void PluginSystemMultimedia::PayloadImpl::readOwn(const QJsonObject& json, Form form)
{
    switch (form) {
    case Form::Versioned:
        while (icons.size() < kEntryCount)
            icons << QString();
        break;
    case Form::Legacy:
        icons.clear();
        for (int i = 0; i < kEntryCount; ++i)
            icons << PayloadRead::string(json, QString::fromLatin1(kLegacyImage).arg(i));
        break;
    case Form::Preset:
        icons = defaultImages();  // a preset names no images of its own
        break;
    }
    index = readIndex(json, QLatin1String(form == Form::Preset ? kPresetIndex : kIndex));
}

void PluginSystemMultimedia::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(QLatin1String(kIndex), index);
}

// Missing: play/pause. Not a whole number: play/pause, said aloud. Outside the list:
// kept as stored (the key then sends nothing), said aloud.
int PluginSystemMultimedia::PayloadImpl::readIndex(const QJsonObject& json, const QString& key)
{
    const QJsonValue value = json.value(key);
    if (value.isUndefined())
        return 0;
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || std::floor(number) != number || number < std::numeric_limits<int>::min()
        || number > std::numeric_limits<int>::max()) {
        qCWarning(lcActions).noquote() << "[PluginSystemMultimedia]" << key << "is not a whole number:" << value
                                       << "- play/pause (0) is used";
        return 0;
    }
    const int index = int(number);
    if (!isEntry(index)) {
        qCWarning(lcActions).noquote() << "[PluginSystemMultimedia]" << key << index << "is outside 0 to"
                                       << kEntryCount - 1 << "- the key sends nothing until an action is picked";
    }
    return index;
}
