#include "kydisplayviewmenu.h"

#include <QPushButton>

KyDisplayViewMenu::KyDisplayViewMenu(QPushButton* button, QWidget* parent)
    : QMenu(parent)
    , m_button(button)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
}

void KyDisplayViewMenu::showEvent(QShowEvent* event)
{
    // The button placed the menu below itself; lift it above, centred on the button.
    if (m_button) {
        const QPoint below = pos();
        move(below.x() - width() / 2 + m_button->width() / 2, below.y() - height() - m_button->height());
    }
    QMenu::showEvent(event);
}
