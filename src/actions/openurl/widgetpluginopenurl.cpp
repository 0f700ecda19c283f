#include "widgetpluginopenurl.h"

#include "ui_widgetpluginopenurl.h"

WidgetPluginOpenUrl::WidgetPluginOpenUrl(QWidget* parent)
    : ActionInspector(parent)
    , ui(std::make_unique<Ui::WidgetPluginOpenUrl>())
{
    ui->setupUi(this);
    ui->txtEditPluginURL->setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(ui->txtEditPluginURL, &QLineEdit::textEdited, this, &WidgetPluginOpenUrl::onUrlEdited);
    setBase(ui->base);
}

WidgetPluginOpenUrl::~WidgetPluginOpenUrl() = default;

void WidgetPluginOpenUrl::setPluginUrl(const QString& url)
{
    m_url = url;
    ui->txtEditPluginURL->setText(url);  // setText never emits textEdited
}

void WidgetPluginOpenUrl::onUrlEdited(const QString& url)
{
    m_url = url;
    emit urlChanged(url);
}
