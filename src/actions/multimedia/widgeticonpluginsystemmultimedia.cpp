#include "widgeticonpluginsystemmultimedia.h"

#include "ui_widgeticonpluginsystemmultimedia.h"

WidgetIconPluginSystemMultimedia::WidgetIconPluginSystemMultimedia(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginSystemMultimedia>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginSystemMultimedia::~WidgetIconPluginSystemMultimedia() = default;
