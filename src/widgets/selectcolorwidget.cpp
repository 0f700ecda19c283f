#include "selectcolorwidget.h"

#include "ui_selectcolorwidget.h"

#include <QAbstractButton>
#include <QButtonGroup>

const QList<QColor> SelectColorWidget::m_colorTable{
    QColor(255, 0, 0),   QColor(255, 125, 0), QColor(0, 255, 0),   QColor(0, 255, 125), QColor(0, 255, 255),
    QColor(0, 125, 255), QColor(0, 0, 255),   QColor(125, 0, 255), QColor(255, 0, 255), QColor(255, 125, 255),
};

SelectColorWidget::SelectColorWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::SelectColorWidget>())
    , m_group(new QButtonGroup(this))
{
    ui->setupUi(this);
    m_group->setExclusive(true);
    const QList<QAbstractButton*> buttons{ui->btnColor_01, ui->btnColor_02, ui->btnColor_03, ui->btnColor_04,
                                          ui->btnColor_05, ui->btnColor_06, ui->btnColor_07, ui->btnColor_08,
                                          ui->btnColor_09, ui->btnColor_10};
    for (int id = 0; id < buttons.size(); ++id)
        m_group->addButton(buttons.at(id), id);
    m_group->button(0)->click();  // red, before anyone listens
    connect(m_group, &QButtonGroup::idClicked, this, &SelectColorWidget::onButtonGroupClicked);
}

SelectColorWidget::~SelectColorWidget() = default;

void SelectColorWidget::onButtonGroupClicked(int id)
{
    if (QAbstractButton* button = m_group->button(id))
        button->setChecked(true);
    emit colorSelected(id >= 0 && id < m_colorTable.size() ? m_colorTable.at(id) : QColor());
}

void SelectColorWidget::selectTargetColor(const QColor& color)
{
    disconnect(m_group, &QButtonGroup::idClicked, this, &SelectColorWidget::onButtonGroupClicked);
    const int index = int(m_colorTable.indexOf(color));
    if (QAbstractButton* button = m_group->button(index))
        button->click();
    connect(m_group, &QButtonGroup::idClicked, this, &SelectColorWidget::onButtonGroupClicked);
}
