#pragma once

#include <QButtonGroup>
#include <QList>
#include <QString>

class QWidget;

// The state buttons of an icon panel: one checkable 36 x 16 button per state along
// the panel's lower edge, centred as a row that runs from the left or from the right
// edge, with the state's name as tool tip and its index as id. The buttons are
// children of the panel; the group is exclusive.
class KyStateButtons : public QButtonGroup
{
    Q_OBJECT
public:
    explicit KyStateButtons(QObject* parent = nullptr);

    // Adds a button per name; none at all, and false, when they do not fit the panel.
    bool generate(QWidget* panel, const QList<QString>& names, bool fromLeft, const char* style);
    // Removes and deletes every button.
    void clear();
    void clickButton(int id);
    void setButtonsVisible(bool visible);
    int totalButtonNum() const { return int(buttons().size()); }
};
