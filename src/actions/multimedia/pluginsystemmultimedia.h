#pragma once

#include "actions/common/typedaction.h"
#include "multimediaconstants.h"

class WidgetIconPluginSystemMultimedia;
class WidgetPluginSystemMultimedia;

// Sends one of seven media keys (play/pause, stop, previous, next, mute, volume up,
// volume down) through the media-key service when the key is triggered. Its inspector
// keeps the selection, the title and one image per media action, and reports every
// change as a profile, which becomes the settings sent to the host.
class PluginSystemMultimedia
    : public TypedAction<PluginSystemMultimedia, WidgetIconPluginSystemMultimedia, WidgetPluginSystemMultimedia>
{
    Q_OBJECT
public:
    explicit PluginSystemMultimedia(QObject* parent = nullptr);

    QString actionIconFilePath() const override;
    int onAppTriggeredEvent(const QJsonObject&) override;

    // Selects the media action; the inspector reports the profile that follows.
    void setMultimedia(int index);
    int multimediaIndex() const;

    class PayloadImpl;

signals:
    void imageDidClick(const QString& m_imgbackgroundColor);  // for hosts that listen; never emitted

public slots:
    void updateImageColor();

protected:
    // The title shown, even one that was never stored, and the image the inspector last
    // reported for the key.
    QString faceTitle() const override { return title; }
    QString faceImage() const override { return currentImage; }
    void syncWidgets() override;
    void syncOwn() override;
    void connectOwn() override;

private:
    void onImageChanged(const QString& path);
    void onTitleChanged(const QString& newTitle);
    void onViewAttributeChanged(const KyDisplayViewAttribute& attribute);
    QJsonObject uiParameters() const;

    QJsonObject uiSettings;
    QString currentImage;  // shown when the key is released
    QString title;
};
