#pragma once

#include <QPushButton>

// A push button that reports to the application, once per hover, that its tool tip
// was shown, under the label in its "gaV4Lab" property.
class TovTooltipButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TovTooltipButton(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    bool m_tooltipReported = false;
};
