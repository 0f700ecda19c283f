#pragma once

#include <QMenu>
#include <QPointer>

class QPushButton;

// Frameless pop-up that hosts the text-settings dialog, shown centred directly above
// the button it belongs to. The button is not owned.
class KyDisplayViewMenu : public QMenu
{
    Q_OBJECT
public:
    explicit KyDisplayViewMenu(QPushButton* button, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QPushButton> m_button;
};
