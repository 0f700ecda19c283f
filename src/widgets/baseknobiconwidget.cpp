#include "baseknobiconwidget.h"

#include "ui_baseknobiconwidget.h"

BaseKnobIconWidget::BaseKnobIconWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::BaseKnobIconWidget>())
{
    ui->setupUi(this);
    ui->lblMaskDisable->hide();
}

BaseKnobIconWidget::~BaseKnobIconWidget() = default;

void BaseKnobIconWidget::setKnobValue(int value) { ui->base->setKnobValue(value); }
void BaseKnobIconWidget::setKnobMaximum(int maximum) { ui->base->setMaxValue(maximum); }
void BaseKnobIconWidget::setKnobMinimum(int minimum) { ui->base->setMinValue(minimum); }
void BaseKnobIconWidget::setKnobColor(const QColor& color) { ui->base->setKnobColor(color); }
void BaseKnobIconWidget::setKnobIcon(const QString& path) { ui->base->setKnobIcon(path); }
void BaseKnobIconWidget::showIcon() { ui->base->showIcon(); }
void BaseKnobIconWidget::hideIcon() { ui->base->hideIcon(); }
void BaseKnobIconWidget::setTitle(const QString& title) { ui->lblImageText->setText(title); }
void BaseKnobIconWidget::showTitle() { ui->lblImageText->show(); }
void BaseKnobIconWidget::hideTitle() { ui->lblImageText->hide(); }
void BaseKnobIconWidget::showDisable() { ui->lblMaskDisable->show(); }
void BaseKnobIconWidget::hideDisable() { ui->lblMaskDisable->hide(); }
