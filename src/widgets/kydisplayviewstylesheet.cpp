#include "kydisplayviewstylesheet.h"

namespace {

const char* const kColorLabel =
    "QLabel {background-color: rgb(%1,%2,%3);border:2px solid rgb(140,140,140);}";
const char* const kIconViewLabel =
    "QLabel {color: rgb(%1,%2,%3); font-size:%4px; border:1px; background-color:#00000000;}";
const char* const kPropertyViewLabel =
    "QLabel {color: rgb(%1,%2,%3); font-size:%4px; border:0px; background-color:#00000000;}";

QString withColor(const char* pattern, const QColor& color)
{
    return QString::fromLatin1(pattern).arg(color.red()).arg(color.green()).arg(color.blue());
}

} // namespace

QString KyDisplayViewStyleSheet::getColorLabelString(const QColor& color)
{
    return withColor(kColorLabel, color);
}

QString KyDisplayViewStyleSheet::getIconViewLabelTextString(const QColor& color, int pixelSize)
{
    return withColor(kIconViewLabel, color).arg(pixelSize);
}

QString KyDisplayViewStyleSheet::getPropertyViewLabelTextString(const QColor& color, int pixelSize)
{
    return withColor(kPropertyViewLabel, color).arg(pixelSize);
}
