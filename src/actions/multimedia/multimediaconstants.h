#pragma once

// The seven media actions of a System Multimedia key, in list order, and the keys of
// its settings and of the object the action hands to its inspector.

#include "platform/media/mediakeys.h"

namespace MultimediaConst {
inline constexpr int kEntryCount = 7;

// Index: 0 play/pause, 1 stop, 2 previous, 3 next, 4 mute, 5 volume up, 6 volume down.
inline constexpr const char* kDefaultImages[kEntryCount] = {
    ":/SystemDll/images/mainpage_btn_multimedia.png",
    ":/SystemDll/images/mainpage_btn_multimedia_stop.png",
    ":/SystemDll/images/mainpage_btn_multimedia_previoustrack.png",
    ":/SystemDll/images/mainpage_btn_multimedia_nexttrack.png",
    ":/SystemDll/images/mainpage_btn_multimedia_mute.png",
    ":/SystemDll/images/mainpage_btn_multimedia_increasevolume.png",
    ":/SystemDll/images/mainpage_btn_multimedia_decreasevolume.png",
};
inline constexpr void (*const kMediaFunctions[kEntryCount])() = {
    playMedia, stopMedia, previousMedia, nextMedia, volumeMute, volumeUp, volumeDown,
};

inline constexpr char kDefaultTitle[] = "Multimedia";
inline constexpr char kFaceImage[] = ":/SystemDll/images/mainpage_btn_multimedia.png";

// Settings.
inline constexpr char kVersion[] = "version";
inline constexpr char kIndex[] = "MultimediaIndex";
inline constexpr char kPresetIndex[] = "index";
inline constexpr char kLegacyImage[] = "ImagePath%1";
inline constexpr char kTitleList[] = "titlelist";
inline constexpr char kIconList[] = "iconlist";

// The UI-parameter object: {"payload": {...}}.
inline constexpr char kUiPayload[] = "payload";
inline constexpr char kUiHotkey[] = "lblPluginImageBarHotkey";
inline constexpr char kUiHotkeySize[] = "lblPluginImageBarHotkeySize";
inline constexpr char kUiHotkeySizeText[] = "1 x 1";
inline constexpr char kUiTitleLabel[] = "lblPluginTitle";
inline constexpr char kUiActionLabel[] = "lblPluginSystemMultimedia";
inline constexpr char kUiTitleEdit[] = "txtEditPluginTitle";
inline constexpr char kUiImageText[] = "lblPluginImageText";
inline constexpr char kUiIconImageText[] = "Icon_lblPluginImageText";
inline constexpr char kUiList[] = "cbMultimediaList";
inline constexpr char kUiImagePath[] = "Icon_lblPluginImagePath%1";

// The inspector's preview.
inline constexpr char kImageLabel[] = "imgPluginImage%1";
inline constexpr char kImageLabelStyle[] = "border:0px;background-color:#00000000;";
inline constexpr int kPreviewWidth = 75;
inline constexpr int kPreviewHeight = 54;
inline constexpr int kPreviewAreaHeight = 144;
} // namespace MultimediaConst
