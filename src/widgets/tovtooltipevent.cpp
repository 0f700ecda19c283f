#include "tovtooltipevent.h"

#include "keyfaceconstants.h"

static_assert(TovTooltipEvent::kType == KyTooltip::kEventType, "the host dispatches on this number");

TovTooltipEvent::TovTooltipEvent(const QString& eventName, const QString& label)
    : QEvent(kType)
    , m_eventName(eventName)
    , m_label(label)
{
}
