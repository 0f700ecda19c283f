#pragma once

#include "widgets/kydisplayviewattribute.h"

#include <QWidget>

class BasePropertyWidget;

// Base of the inspectors built around one BasePropertyWidget: configures it the same
// way for every action and forwards its edit signals.
class ActionInspector : public QWidget
{
    Q_OBJECT
public:
    void setPluginTitle(const QString& title);
    void setPluginIconPath(const QString& path);
    void setViewAttribute(const KyDisplayViewAttribute& attribute);
    void adjustView(const KyDisplayViewAttribute& attribute);
    // Title read-only, icon fixed, text attributes locked; the action's own fields stay editable.
    virtual void setActionModeState();

signals:
    void titleChanged(int index, const QString& title);
    void assetChanged(int index, const QString& path);
    void viewAttributeChanged(const KyDisplayViewAttribute& attribute);

protected:
    explicit ActionInspector(QWidget* parent = nullptr);
    // Called by the subclass once its form is built.
    void setBase(BasePropertyWidget* base);

    BasePropertyWidget* m_base = nullptr;
};
