#pragma once

#include <QEvent>
#include <QString>

// Posted to the application object when a reporting button shows its tool tip. The
// host's handler reads the event name (always "Tooltip") and the button's label.
class TovTooltipEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(3417);

    TovTooltipEvent(const QString& eventName, const QString& label);

    QString eventName() const { return m_eventName; }
    QString label() const { return m_label; }

private:
    QString m_eventName;
    QString m_label;
};
