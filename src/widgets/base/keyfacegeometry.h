#pragma once

// Size of a key face and of its pressed image, shared by the kit and the icon builder,
// which fits every icon to the key.
namespace KyKeyFace {
inline constexpr int kWidth = 150;
inline constexpr int kHeight = 108;
inline constexpr int kDownWidth = 100;
inline constexpr int kDownHeight = 72;
inline constexpr float kAspectRatio = 1.3888888f;  // 150 / 108
}
