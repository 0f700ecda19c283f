#include "tovtooltipbutton.h"

#include "keyfaceconstants.h"
#include "tovtooltipevent.h"

#include <QCoreApplication>
#include <QVariant>

TovTooltipButton::TovTooltipButton(QWidget* parent)
    : QPushButton(parent)
{
}

bool TovTooltipButton::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (!m_tooltipReported) {
            m_tooltipReported = true;
            const QString label = property(KyTooltip::kLabelProperty).toString();
            // Posted, not sent: the host handles it on a later pass of its loop.
            QCoreApplication::postEvent(QCoreApplication::instance(),
                                        new TovTooltipEvent(QString::fromLatin1(gaV4Event), label));
        }
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        m_tooltipReported = false;
        break;
    default:
        break;
    }
    return QPushButton::event(event);
}
