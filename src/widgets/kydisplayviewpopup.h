#pragma once

class KyDisplayViewMenu;
class KyDisplayViewTextSetting;
class QPushButton;
class QWidget;

// The text-settings pop-up of an inspector's text-edit button: a fixed-size
// KyDisplayViewTextSetting, child of `owner`, inside a parentless KyDisplayViewMenu
// that the button opens and shows checked while it is open. The owner deletes the
// menu and connects the text setting's viewAttributeChanged.
struct KyDisplayViewPopup
{
    KyDisplayViewTextSetting* textSetting = nullptr;
    KyDisplayViewMenu* menu = nullptr;

    static KyDisplayViewPopup attach(QPushButton* button, QWidget* owner);
};
