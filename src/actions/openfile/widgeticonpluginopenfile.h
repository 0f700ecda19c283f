#pragma once

#include "actions/common/actionkeyface.h"

#include <memory>

namespace Ui {
class WidgetIconPluginOpenFile;
}

// The Open App/File key face: the shared key-face base, nothing of its own.
class WidgetIconPluginOpenFile : public ActionKeyFace
{
    Q_OBJECT
public:
    explicit WidgetIconPluginOpenFile(QWidget* parent = nullptr);
    ~WidgetIconPluginOpenFile() override;

private:
    std::unique_ptr<Ui::WidgetIconPluginOpenFile> ui;
};
