#include "widgeticonplugininputtext.h"

#include "ui_widgeticonplugininputtext.h"

WidgetIconPluginInputText::WidgetIconPluginInputText(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginInputText>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginInputText::~WidgetIconPluginInputText() = default;
