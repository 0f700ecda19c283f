#pragma once

// Geometry, style sheets and image paths of the icon state panel and the property
// widget base.

#include <QColor>
#include <QRect>

namespace KyPropertyKit {
// Icon state panel.
inline constexpr int kStateButtonWidth = 36;
inline constexpr int kStateButtonHeight = 16;
inline constexpr int kStateButtonY = 206;
inline constexpr int kPreviewAreaHeight = 144;  // the title sits on this area's lower edge
inline constexpr char kStateButtonStyle[] =
    "QPushButton {background-image: url(:/images/component_btn_page_unselected.png);border-width: 0px;}"
    "QPushButton:hover {border-image: url(:/images/component_btn_page_selected.png);}"
    "QPushButton:checked {border-image: url(:/images/component_btn_page_selected.png);}"
    "QToolTip {color:#FFFFFF;background-color:rgb(30,30,30);font-size:12px;border: 1px solid #000000;}";

inline constexpr const char* kIconStateImages[] = {
    ":/images/component_btn_photo_n.svg",
    ":/images/component_btn_photo_m.svg",
    ":/images/component_btn_photo_c.svg",
    ":/images/component_btn_photo_d.svg",
    ":/images/component_btn_text_edit_n.svg",
    ":/images/component_btn_text_edit_m.svg",
    ":/images/component_btn_text_edit_c.svg",
    ":/images/component_btn_text_edit_d.svg",
    ":/images/component_btn_page_unselected.png",
    ":/images/component_btn_page_selected.png",
};

// Property widget base.
inline constexpr QRect kFixedIconGeometry(70, 81, 100, 72);
inline constexpr int kTextSettingWidth = 286;
inline constexpr int kTextSettingHeight = 138;
inline constexpr char kDisplayViewMenuStyle[] = "QMenu { background-color: #00000000; border: none;}";

// Knob widgets.
inline constexpr int kKnobStartAngle16 = 225 * 16;  // the lower left
inline constexpr double kKnobSweepDegrees = 270.0;
inline constexpr int kKnobDefaultArcWidth = 18;
inline constexpr int kKnobDefaultMaximum = 100;
inline constexpr QRgb kKnobDefaultColor = 0xffe09337;
inline constexpr char kKnobPreviewImage[] = ":/images/mainpage_btn_knob_n.svg";
inline constexpr QRect kKnobPreviewRing(18, 18, 74, 74);
inline constexpr qreal kKnobPreviewPenWidth = 10.0;
inline constexpr int kKnobPreviewStart16 = 3680;
inline constexpr int kKnobPreviewSpan16 = -4480;
inline constexpr char kKnobStateButtonStyle[] =
    "QPushButton {background-image: url(:/images/component_btn_page_unselected.png);border-width: 0px;}"
    "QPushButton:hover {border-image: url(:/images/component_btn_page_selected.png);}"
    "QPushButton:checked {border-image: url(:/images/component_btn_page_selected.png);}"
    "QToolTip {color:rgb(161,161,161);background-color:rgb(30,30,30);font-size:12px;border:0px}";
}
