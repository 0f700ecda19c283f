#pragma once

#include <QRgb>

// Sizes, names and image paths of the icon edit menu and the icon builder.

#include "widgets/base/keyfacegeometry.h"

namespace IconBuilderConst {
inline constexpr int kKeyWidth = KyKeyFace::kWidth;
inline constexpr int kKeyHeight = KyKeyFace::kHeight;
inline constexpr float kKeyAspectRatio = KyKeyFace::kAspectRatio;

// Fitting modes, the index into the builder's mode list.
enum Mode { kModeFill = 0, kModeFit = 1, kModeStretch = 2, kModeTile = 3, kModeCenter = 4, kModeCount = 5 };
inline constexpr const char* kModeTexts[kModeCount] = {
    "LAB_SET_BG_PIC_FILL", "LAB_SET_BG_PIC_FIT", "LAB_SET_BG_PIC_STRETCH",
    "LAB_SET_BG_PIC_TILE", "LAB_SET_BG_PIC_CENTER",
};

// Icon folder below the host's configuration directory; file names carry no hour.
inline constexpr char kIconFolder[] = "icon";
inline constexpr char kFileNameFormat[] = "yyyyMMddmmss";
inline constexpr char kCounterSeparator[] = "_";
inline constexpr int kMaxCounter = 100000;
inline constexpr char kGifSuffix[] = "gif";
inline constexpr char kPngSuffix[] = "png";

// Pictures of files' system icons, in the application's data folder.
inline constexpr char kPictureFolder[] = "Picture";
inline constexpr char kPictureSuffix[] = "jpg";
inline constexpr char kPictureFormat[] = "JPEG";
// JPEG keeps no transparency: a clear picture is laid on the key face's background.
inline constexpr QRgb kPictureBackground = 0xFF1E1E1E;
inline constexpr char kPictureFallbackName[] = "icon";
inline constexpr char kBundleSuffix[] = ".app";
// Below any real width difference: the first size is taken until a better one comes.
inline constexpr int kNoSizeDifference = -1500;

inline constexpr char kImageFilterSuffixes[] = "(*.jpg *.png *.gif)";
inline constexpr int kTitleBarHeight = 38;
// A GIF preview decodes every frame at the canvas size on the GUI thread: up to this.
inline constexpr qint64 kMaxPreviewGifPixels = 2048 * 2048;
// A still up to this many pixels renders at once; a larger one on a worker.
inline constexpr qint64 kGuiThreadPixels = 4 * 1024 * 1024;

// Result codes of the icon edit menu.
inline constexpr int kMenuLocalDisk = 0;
inline constexpr int kMenuIconBuilder = 1;
inline constexpr int kMenuDismissed = -1;
inline constexpr int kMenuOffsetX = 15;
inline constexpr int kMenuOffsetY = 5;

inline constexpr const char* kBuilderImages[] = {
    ":/images/component_btn_photo_n.png",
    ":/images/component_btn_photo_m.png",
    ":/images/component_btn_photo_c.png",
    ":/images/component_btn_photo_d.png",
};
}
