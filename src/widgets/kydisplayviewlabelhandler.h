#pragma once

class KyDisplayViewAttribute;
class QLabel;

// Applies title attributes to a label: font, colour, alignment, and a height and
// position that keep the text on the lower edge of an area `height` pixels high.
// The key face draws at twice the inspector preview's size.
class KyDisplayViewLabelHandler
{
public:
    static void modifyIconWidgetLabel(QLabel* label, int height, const KyDisplayViewAttribute& attribute);
    static void modifyPropertyWidgetLabel(QLabel* label, int height, const KyDisplayViewAttribute& attribute);
};
