#include "widgeticonpluginopenurl.h"

#include "ui_widgeticonpluginopenurl.h"

WidgetIconPluginOpenUrl::WidgetIconPluginOpenUrl(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginOpenUrl>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginOpenUrl::~WidgetIconPluginOpenUrl() = default;
