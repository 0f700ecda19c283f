#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginOpenUrl;
}

// The Open URL key face: the shared key-face base, nothing of its own.
class WidgetIconPluginOpenUrl : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginOpenUrl(QWidget* parent = nullptr);
    ~WidgetIconPluginOpenUrl() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginOpenUrl> ui;
};
