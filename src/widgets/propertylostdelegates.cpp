#include "propertylostdelegates.h"

#include "kydisplayviewmenu.h"
#include "kydisplayviewtextsetting.h"
#include "propertykitconstants.h"

#include <QPointer>
#include <QPushButton>
#include <QWidgetAction>

PropertyLostDelegates::PropertyLostDelegates(QWidget* parent)
    : QWidget(parent)
{
}

KyDisplayViewTextSetting* PropertyLostDelegates::attachTextSettings(
    QPushButton* button, KyDisplayViewMenu** menu, const std::function<void(const KyDisplayViewAttribute&)>& changed)
{
    auto* setting = new KyDisplayViewTextSetting(this);
    setting->setFixedSize(KyPropertyKit::kTextSettingWidth, KyPropertyKit::kTextSettingHeight);

    auto* action = new QWidgetAction(this);
    action->setDefaultWidget(setting);
    auto* popup = new KyDisplayViewMenu(button);
    popup->addAction(action);
    popup->setStyleSheet(QLatin1String(KyPropertyKit::kDisplayViewMenuStyle));
    *menu = popup;

    connect(setting, &KyDisplayViewTextSetting::viewAttributeChanged, this, changed);
    connect(setting, &KyDisplayViewTextSetting::aboutToClose, popup, &QMenu::hide);
    QPointer<QPushButton> anchor(button);
    connect(setting, &KyDisplayViewTextSetting::aboutToShow, this, [anchor] {
        if (anchor)
            anchor->showMenu();
    });
    connect(popup, &QMenu::aboutToShow, button, [button] { button->setChecked(true); });
    connect(popup, &QMenu::aboutToHide, button, [button] { button->setChecked(false); });
    button->setMenu(popup);
    return setting;
}
