#include "kydisplayviewpopup.h"

#include "kydisplayviewmenu.h"
#include "kydisplayviewtextsetting.h"
#include "propertykitconstants.h"

#include <QPointer>
#include <QPushButton>
#include <QWidgetAction>

KyDisplayViewPopup KyDisplayViewPopup::attach(QPushButton* button, QWidget* owner)
{
    KyDisplayViewPopup popup;
    popup.textSetting = new KyDisplayViewTextSetting(owner);
    popup.textSetting->setFixedSize(KyPropertyKit::kTextSettingWidth, KyPropertyKit::kTextSettingHeight);

    auto* action = new QWidgetAction(owner);
    action->setDefaultWidget(popup.textSetting);
    popup.menu = new KyDisplayViewMenu(button);
    popup.menu->addAction(action);
    popup.menu->setStyleSheet(QLatin1String(KyPropertyKit::kDisplayViewMenuStyle));

    QObject::connect(popup.textSetting, &KyDisplayViewTextSetting::aboutToClose, popup.menu, &QMenu::hide);
    QPointer<QPushButton> anchor(button);
    QObject::connect(popup.textSetting, &KyDisplayViewTextSetting::aboutToShow, owner, [anchor] {
        if (anchor)
            anchor->showMenu();
    });
    QObject::connect(popup.menu, &QMenu::aboutToShow, button, [button] { button->setChecked(true); });
    QObject::connect(popup.menu, &QMenu::aboutToHide, button, [button] { button->setChecked(false); });
    button->setMenu(popup.menu);
    return popup;
}
