#include "widgeticonpluginwindowscontrol.h"

#include "ui_widgeticonpluginwindowscontrol.h"

WidgetIconPluginWindowsControl::WidgetIconPluginWindowsControl(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginWindowsControl>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginWindowsControl::~WidgetIconPluginWindowsControl() = default;
