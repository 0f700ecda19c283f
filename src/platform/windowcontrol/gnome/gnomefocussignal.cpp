#include "gnomefocussignal.h"

GnomeFocusSignal::GnomeFocusSignal(std::function<void(const QString&)> handler)
    : m_handler(std::move(handler))
{
}

void GnomeFocusSignal::focusChanged(const QString& window)
{
    m_handler(window);
}
