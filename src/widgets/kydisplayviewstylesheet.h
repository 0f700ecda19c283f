#pragma once

#include <QColor>
#include <QString>

// Style sheets of the colour swatch and of key titles, from a colour and a pixel size.
class KyDisplayViewStyleSheet
{
public:
    static QString getColorLabelString(const QColor& color);
    static QString getIconViewLabelTextString(const QColor& color, int pixelSize);
    static QString getPropertyViewLabelTextString(const QColor& color, int pixelSize);
};
