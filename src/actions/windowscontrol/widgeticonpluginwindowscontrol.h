#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginWindowsControl;
}

// The Windows Control key face: the shared key-face base, nothing of its own.
class WidgetIconPluginWindowsControl : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginWindowsControl(QWidget* parent = nullptr);
    ~WidgetIconPluginWindowsControl() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginWindowsControl> ui;
};
