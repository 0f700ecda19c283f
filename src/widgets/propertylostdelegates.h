#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class KyDisplayViewAttribute;
class KyDisplayViewMenu;
class KyDisplayViewTextSetting;
class QPushButton;

// Base of the inspectors that edit icons: the three requests an inspector makes to
// the host about icon files. The package only emits them; the host answers.
class PropertyLostDelegates : public QWidget
{
    Q_OBJECT
public:
    explicit PropertyLostDelegates(QWidget* parent = nullptr);

signals:
    // Just before an icon file dialog opens. `folder` holds the pictures location; a
    // receiver connected directly may replace it with the folder to open.
    void iconFolderChanging(QString& folder);
    // The user picked a file in this folder (absolute path).
    void iconFolderChanged(const QString& folder);
    // The user chose the host's icon builder.
    void buildIcon();

protected:
    // Gives `button` the title's text-settings pop-up: a child KyDisplayViewTextSetting
    // inside a parentless KyDisplayViewMenu, which `menu` receives and the caller
    // deletes. The dialog's edits go to `changed`; the button is on while it shows.
    KyDisplayViewTextSetting* attachTextSettings(QPushButton* button, KyDisplayViewMenu** menu,
                                                 const std::function<void(const KyDisplayViewAttribute&)>& changed);
};
