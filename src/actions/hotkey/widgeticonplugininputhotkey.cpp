#include "widgeticonplugininputhotkey.h"

#include "ui_widgeticonplugininputhotkey.h"

WidgetIconPluginInputHotkey::WidgetIconPluginInputHotkey(QWidget* parent)
    : ActionKeyFace(parent)
    , ui(std::make_unique<Ui::WidgetIconPluginInputHotkey>())
{
    ui->setupUi(this);
    setBase(ui->base);
}

WidgetIconPluginInputHotkey::~WidgetIconPluginInputHotkey() = default;
