#pragma once

#include "widgets/kydisplayviewattribute.h"
#include "widgets/propertylostdelegates.h"

#include <QJsonObject>
#include <QStringList>
#include <memory>

class KyDisplayViewMenu;
class KyDisplayViewTextSetting;
class QLabel;
class QMovie;

namespace Ui {
class WidgetPluginSystemMultimedia;
}

// The System Multimedia inspector: the list of the seven media actions, the key
// title, the title attributes and a preview of the selected action's image, which
// the user may replace. It keeps its own copy of the settings and hands every change
// back as a profile {"titlelist", "iconlist", "MultimediaIndex"}. Owns its form, the
// preview movie, the text-settings dialog and its parentless pop-up menu.
class WidgetPluginSystemMultimedia : public PropertyLostDelegates
{
    Q_OBJECT
public:
    explicit WidgetPluginSystemMultimedia(QWidget* parent = nullptr);
    ~WidgetPluginSystemMultimedia() override;

    void setUIParameters(const QJsonObject& parameters);
    void setActionModeState();
    void setViewAttribute(const KyDisplayViewAttribute& attribute);
    void adjustView(const KyDisplayViewAttribute& attribute);
    // Moves the list without reporting it; the list then reports no selection at all.
    void setFunctionIndex(int index);

    QStringList images() const { return m_images; }
    int index() const { return m_index; }
    QString title() const { return m_title; }
    KyDisplayViewAttribute viewAttribute() const { return m_viewAttribute; }

signals:
    void titleDidChange(const QString& title);
    void imageDidChange(const QString& path);
    void multimediaDidChange(int index);
    void callbackToSaveProfile(const QJsonObject& profile);
    void viewAttributeChanged(const KyDisplayViewAttribute& attribute);

private slots:
    void on_btnPluginImageEdit_clicked();
    void on_txtEditPluginTitle_textEdited(const QString& text);
    void on_cbMultimediaList_currentIndexChanged(int index);

private:
    void showWidgetUi(const QJsonObject& parameters);
    void setDefualImage(int index);
    void showImage(const QString& path, QLabel* label);
    QLabel* imageLabel(int index) const;
    void saveProfile();
    void initDisplayViewSetting();

    std::unique_ptr<Ui::WidgetPluginSystemMultimedia> ui;
    std::unique_ptr<QMovie> m_movie;  // shared by the image labels that show a GIF
    QString m_title;
    QStringList m_images;
    int m_index = 0;
    QString m_lastImagePath;
    KyDisplayViewAttribute m_viewAttribute;
    KyDisplayViewMenu* m_textSettingMenu = nullptr;  // no parent; deleted here
    KyDisplayViewTextSetting* m_textSetting = nullptr;
};
