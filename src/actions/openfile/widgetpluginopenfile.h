#pragma once

#include "widgets/kydisplayviewattribute.h"
#include "widgets/propertylostdelegates.h"

#include <QSize>
#include <memory>

class KyDisplayViewMenu;
class KyDisplayViewTextSetting;
class QMovie;

namespace Ui {
class WidgetPluginOpenFile;
}

// The Open App/File inspector. It draws its own title editor and icon preview: the
// user picks the application or file to open, whose system icon becomes the key
// icon, or replaces the icon by hand. Owns its form, its preview movie and the
// text-settings pop-up.
class WidgetPluginOpenFile : public PropertyLostDelegates
{
    Q_OBJECT
public:
    explicit WidgetPluginOpenFile(QWidget* parent = nullptr);
    ~WidgetPluginOpenFile() override;

    // Programmatic updates: none of them is reported as an edit.
    void setPluginTitle(const QString& title);
    void setPluginIconPath(const QString& path);
    void setFilePath(const QString& path);
    void setActionModeState();
    void setViewAttribute(const KyDisplayViewAttribute& attribute);
    void adjustView(const KyDisplayViewAttribute& attribute);
    // Deletes a generated icon (empty: the current one) if it lies directly in the
    // picture folder; any other file is kept.
    void removePictureFile(QString path);

    QString pluginIconPath() const { return imagePath; }
    // The size a GIF of `image` size plays at in the 75 x 54 preview.

signals:
    void titleDidChange(const QString& title);
    void imageDidChange(const QString& path);
    void fileDidChange(const QString& path);
    void viewAttributeChanged(const KyDisplayViewAttribute& attribute);

private slots:
    void selectFile();
    void on_btnPluginImageEdit_clicked();

private:
    void initDisplayViewSetting();
    void showIcon(const QString& path);
    void showStill(const QString& path);
    // Makes the built key image `path` the icon: the old generated one goes.
    void replaceIcon(const QString& path);
    QString chooseTarget() const;
    static QString keyImageFromFile(const QString& target);

    std::unique_ptr<Ui::WidgetPluginOpenFile> ui;
    QString imagePath;
    QString filePath;
    std::unique_ptr<QMovie> movie;
    KyDisplayViewAttribute viewAttribute;
    KyDisplayViewMenu* displayViewMenu = nullptr;  // no parent; deleted here
    KyDisplayViewTextSetting* textSetting = nullptr;  // child of this widget
};
