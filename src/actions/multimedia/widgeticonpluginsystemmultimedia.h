#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginSystemMultimedia;
}

// The System Multimedia key face: the shared key-face base, nothing of its own.
class WidgetIconPluginSystemMultimedia : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginSystemMultimedia(QWidget* parent = nullptr);
    ~WidgetIconPluginSystemMultimedia() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginSystemMultimedia> ui;
};
