#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginInputHotkey;
}

// The Input Hotkey key face: the shared key-face base, nothing of its own.
class WidgetIconPluginInputHotkey : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginInputHotkey(QWidget* parent = nullptr);
    ~WidgetIconPluginInputHotkey() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginInputHotkey> ui;
};
