#pragma once

#include "actions/common/systemaction.h"
#include "multimediaconstants.h"

class WidgetIconPluginSystemMultimedia;
class WidgetPluginSystemMultimedia;

// Sends one of seven media keys (play/pause, stop, previous, next, mute, volume up,
// volume down) through the media-key service when the key is triggered. Its inspector
// keeps the selection, the title and one image per media action, and reports every
// change as a profile, which becomes the settings sent to the host.
class PluginSystemMultimedia : public SystemAction
{
    Q_OBJECT
public:
    explicit PluginSystemMultimedia(QObject* parent = nullptr);
    ~PluginSystemMultimedia() override;

    QWidget* propertyWidget() override;
    QString actionIconFilePath() const override;
    int onKeyDownEvent(const QJsonObject&) override;
    int onKeyUpEvent(const QJsonObject&) override;
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
    ActionPayload& payload() override;
    const ActionPayload& payload() const override;
    ActionKeyFace* face() const override;
    void syncWidgets() override;

private:
    void connectInspector();
    void onImageChanged(const QString& path);
    void onTitleChanged(const QString& newTitle);
    void onViewAttributeChanged(const KyDisplayViewAttribute& attribute);
    QJsonObject uiParameters() const;

    WidgetIconPluginSystemMultimedia* keyFace = nullptr;
    WidgetPluginSystemMultimedia* m_propertyWidget = nullptr;
    PayloadImpl* m_payloadImpl = nullptr;
    QJsonObject uiSettings;
    QString currentImage;  // shown when the key is released
    QString title;
};
