#pragma once

#include "pluginsystemmultimedia.h"

// System Multimedia's record: one title, one image per media action in `icons` (seven,
// in list order) and the selected action under "MultimediaIndex". Its versions: 1 is
// read as versioned, none or 0 as legacy ("Title", "ImagePath0" to "ImagePath6"),
// any other loads nothing.
class PluginSystemMultimedia::PayloadImpl : public ActionPayload
{
public:
    int index = 0;

    void setPayload(const QJsonObject& payload) override;
    // The image of entry `i`, or its default image when the stored one is empty.
    QString imageOrDefault(int i) const;
    static bool isEntry(int i) { return i >= 0 && i < MultimediaConst::kEntryCount; }

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;

private:
    static QStringList defaultImages();
    static int readIndex(const QJsonObject& json, const QString& key);
};
