#include "baseknobstatewidget.h"

#include "kystatebuttons.h"
#include "propertykitconstants.h"
#include "ui_baseknobstatewidget.h"

#include <QPainter>

using namespace KyPropertyKit;

BaseKnobStateWidget::BaseKnobStateWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::BaseKnobStateWidget>())
    , m_stateButtons(new KyStateButtons(this))
{
    ui->setupUi(this);
    colorGroupConnection();
}

BaseKnobStateWidget::~BaseKnobStateWidget() = default;

void BaseKnobStateWidget::colorGroupConnection()
{
    connect(ui->selectColorWidget, &SelectColorWidget::colorSelected, this, &BaseKnobStateWidget::colorSelected,
            Qt::UniqueConnection);
}

void BaseKnobStateWidget::setCurrentColor(const QColor& color)
{
    ui->selectColorWidget->selectTargetColor(color);
}

void BaseKnobStateWidget::updateIconView(const QColor& color)
{
    const QPixmap knob(QString::fromLatin1(kKnobPreviewImage));
    if (knob.isNull())
        return;
    QPixmap view(knob.size());
    view.fill(Qt::transparent);
    QPainter painter(&view);
    QPen pen(color);
    pen.setWidthF(kKnobPreviewPenWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawArc(kKnobPreviewRing, kKnobPreviewStart16, kKnobPreviewSpan16);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawPixmap(0, 0, knob);
    painter.end();
    ui->lblBackground->setPixmap(view);
}

void BaseKnobStateWidget::generateButtonsByStateNames(const QList<QString>& names)
{
    if (!m_stateButtons->generate(ui->widgetIcon, names, false, kKnobStateButtonStyle))
        return;
    if (!names.isEmpty())
        clickButton(0);  // before the connection: choosing the first state is no user edit
    connect(m_stateButtons, &QButtonGroup::idClicked, this, &BaseKnobStateWidget::iconIndexChanged,
            Qt::UniqueConnection);
}

void BaseKnobStateWidget::clickButton(int id) { m_stateButtons->clickButton(id); }
int BaseKnobStateWidget::totalButtonNum() const { return m_stateButtons->totalButtonNum(); }
void BaseKnobStateWidget::showButtons() { m_stateButtons->setButtonsVisible(true); }
void BaseKnobStateWidget::hideButtons() { m_stateButtons->setButtonsVisible(false); }
void BaseKnobStateWidget::showColorSelect() { ui->selectColorWidget->show(); }
void BaseKnobStateWidget::hideColorSelect() { ui->selectColorWidget->hide(); }
void BaseKnobStateWidget::hideImageText() { ui->lblImageText->hide(); }
void BaseKnobStateWidget::setCurrentTitle(const QString& title) { ui->lblImageText->setText(title); }
