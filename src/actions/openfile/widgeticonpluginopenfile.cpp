#include "widgeticonpluginopenfile.h"

#include "ui_widgeticonpluginopenfile.h"

WidgetIconPluginOpenFile::WidgetIconPluginOpenFile(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginOpenFile>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginOpenFile::~WidgetIconPluginOpenFile() = default;
