#pragma once

// Sizes, JSON keys and kit image paths of key titles and key faces. The forms carry
// the same image paths in their style sheets; the lists here let the code notice a
// missing image.

#include "widgets/base/keyfacegeometry.h"

#include <QCoreApplication>  // QT_TRANSLATE_NOOP

// Keys of the "displayView" JSON object, in the order toJson writes them.
namespace KyDisplayViewJsonKey {
inline constexpr char payload[] = "displayView";
inline constexpr char family[] = "family";
inline constexpr char size[] = "size";
inline constexpr char color[] = "color";
inline constexpr char horizontalAlignment[] = "horAlignment";
inline constexpr char bold[] = "bold";
inline constexpr char italic[] = "italic";
inline constexpr char underLine[] = "underLine";
}

namespace KyDisplayView {
inline constexpr int kDefaultSize = 13;
inline constexpr int kDefaultAlignment = 132;  // Qt::AlignCenter: counts as centred

// Label sizing: the key face draws the title at twice the inspector's size.
inline constexpr int kIconViewScale = 2;
inline constexpr int kIconViewHeightExtra = 4;
inline constexpr int kIconViewBottomGap = 10;
inline constexpr int kPropertyViewScale = 1;
inline constexpr int kPropertyViewHeightExtra = 5;
inline constexpr int kPropertyViewBottomGap = 8;
// Keeps a hostile "size" from overflowing the label arithmetic.
inline constexpr int kMaxPixelSize = 1000;

inline constexpr int kMinComboSize = 6;
inline constexpr int kMaxComboSize = 18;

// Alignment button ids of the text-settings dialog.
inline constexpr int kAlignLeftId = 0;
inline constexpr int kAlignCenterId = 1;
inline constexpr int kAlignRightId = 2;

inline constexpr char kColorTooltipKey[] = QT_TRANSLATE_NOOP("KyDisplayViewTextSetting", "LAB_TIP_TEXT_EDIT_COLOR");
inline constexpr const char* kUnsupportedFonts[] = {
    "Cambria Math", "Fixedsys", "Marlett", "Modern", "Myanmar Text", "Roman",
    "Script", "Small Fonts", "System", "Terminal", "Webdings",
};

inline constexpr const char* kTextSettingImages[] = {
    ":/images/component_btn_window_close_n.svg",
    ":/images/component_btn_window_close_m.svg",
    ":/images/component_btn_window_close_c.svg",
    ":/images/component_btn_dropdown_n.png",
    ":/images/component_btn_text_bold_n.svg",
    ":/images/component_btn_text_bold_m.svg",
    ":/images/component_btn_text_bold_c.svg",
    ":/images/component_btn_text_under_line_n.svg",
    ":/images/component_btn_text_under_line_m.svg",
    ":/images/component_btn_text_under_line_c.svg",
    ":/images/component_btn_text_italic_n.svg",
    ":/images/component_btn_text_italic_m.svg",
    ":/images/component_btn_text_italic_c.svg",
    ":/images/component_btn_text_position_left_n.svg",
    ":/images/component_btn_text_position_left_m.svg",
    ":/images/component_btn_text_position_left_c.svg",
    ":/images/component_btn_text_position_center_n.svg",
    ":/images/component_btn_text_position_center_m.svg",
    ":/images/component_btn_text_position_center_c.svg",
    ":/images/component_btn_text_position_right_n.svg",
    ":/images/component_btn_text_position_right_m.svg",
    ":/images/component_btn_text_position_right_c.svg",
};
}

namespace KyKeyFace {
// Every frame of a GIF is decoded at its full canvas; a key face shows 150 x 108, and
// the icon builder stores GIFs at that size, so a larger canvas is not played.
inline constexpr qint64 kMaxGifPixels = 2048 * 2048;
inline constexpr char kGifSuffix[] = "gif";
// Characters of a title that are laid out: a key shows a few words, and laying out a
// text costs in proportion to its length. The title itself is kept whole.
inline constexpr int kMaxTitleChars = 1000;
inline constexpr char kDefaultTitle[] = "Template";
inline constexpr char kIconStyle[] = "border:0px;background-color:#00000000;";

inline constexpr const char* kMaskImages[] = {
    ":/images/mainpage_btn_click.png",
    ":/images/mainpage_btn_invalid.svg",
    ":/images/mainpage_btn_disable.png",
};
}

namespace KyTooltip {
inline constexpr int kEventType = 3417;
inline constexpr char kLabelProperty[] = "gaV4Lab";
}

// Name under which a shown tool tip is reported to the host.
inline constexpr char gaV4Event[] = "Tooltip";
