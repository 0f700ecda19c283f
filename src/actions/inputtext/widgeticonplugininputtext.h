#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginInputText;
}

// The Input Text key face: the shared key-face base, nothing of its own.
class WidgetIconPluginInputText : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginInputText(QWidget* parent = nullptr);
    ~WidgetIconPluginInputText() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginInputText> ui;
};
