#include "actioninspector.h"

#include "widgets/basepropertywidget.h"

ActionInspector::ActionInspector(QWidget* parent)
    : QWidget(parent)
{
}

void ActionInspector::setBase(BasePropertyWidget* base)
{
    m_base = base;
    m_base->setIconType(BaseIconProperty::Editable, true);
    m_base->setIconChangeable(true);
    m_base->setCurrentId(0);
    m_base->setTextEditable(true);
    connect(m_base, &BasePropertyWidget::pluginTitleChanged, this, &ActionInspector::titleChanged);
    connect(m_base, &BasePropertyWidget::pluginIconChanged, this, &ActionInspector::assetChanged);
    connect(m_base, &BasePropertyWidget::viewAttributeChanged, this, &ActionInspector::viewAttributeChanged);
}

void ActionInspector::setPluginTitle(const QString& title) { m_base->setPluginTitleList({title}); }
void ActionInspector::setPluginIconPath(const QString& path) { m_base->setPluginIconList({path}); }
void ActionInspector::setViewAttribute(const KyDisplayViewAttribute& attribute) { m_base->setViewAttribute(attribute); }
void ActionInspector::adjustView(const KyDisplayViewAttribute& attribute) { m_base->adjustTextLabel(attribute); }

void ActionInspector::setActionModeState()
{
    m_base->setTitleIsReadOnly(true);
    m_base->setIconChangeable(false);
    m_base->setTextEditable(false);
}
