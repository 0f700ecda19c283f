#pragma once

#include <QPixmap>

class QWidget;

// Renders a widget and its children into a transparent pixmap of the widget's size,
// without the widget's window background.
class IconViewGrabber
{
public:
    static QPixmap getCurrentView(QWidget* widget);
};
