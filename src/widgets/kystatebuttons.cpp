#include "kystatebuttons.h"

#include "propertykitconstants.h"
#include "widgets/base/widgetslog.h"

#include <QPushButton>

using namespace KyPropertyKit;

KyStateButtons::KyStateButtons(QObject* parent)
    : QButtonGroup(parent)
{
    setExclusive(true);
}

bool KyStateButtons::generate(QWidget* panel, const QList<QString>& names, bool fromLeft, const char* style)
{
    const int count = int(names.size());
    const int width = panel->width();
    if (width < kStateButtonWidth * count) {
        qCWarning(lcWidgets) << "[KyStateButtons] no room for" << count << "states";
        return false;
    }
    const int margin = (width - kStateButtonWidth * count) / 2;
    for (int i = 0; i < count; ++i) {
        auto* button = new QPushButton(panel);
        const int x = fromLeft ? margin + kStateButtonWidth * i
                               : (width - margin - kStateButtonWidth) - kStateButtonWidth * i;
        button->setGeometry(x, kStateButtonY, kStateButtonWidth, kStateButtonHeight);
        button->setStyleSheet(QLatin1String(style));
        button->setCheckable(true);
        button->setToolTip(names.at(i));
        button->show();
        addButton(button, i);
    }
    return true;
}

void KyStateButtons::clear()
{
    const QList<QAbstractButton*> old = buttons();
    for (QAbstractButton* button : old) {
        removeButton(button);
        button->hide();
        button->deleteLater();
    }
}

void KyStateButtons::clickButton(int id)
{
    if (QAbstractButton* target = button(id))
        target->click();
}

void KyStateButtons::setButtonsVisible(bool visible)
{
    const QList<QAbstractButton*> all = buttons();
    for (QAbstractButton* each : all)
        each->setVisible(visible);
}
