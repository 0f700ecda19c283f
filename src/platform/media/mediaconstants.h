#pragma once

#include <QtGlobal>

// Numbers and names of the media-key service, in one place.

// The auxiliary-key event record handed to the HID system and its field values.
namespace AuxKey {
constexpr int kRecordSize = 48;
constexpr int kSubtypeOffset = 2;
constexpr int kData1Offset = 4;
constexpr quint16 kSubtypeAuxControlButtons = 8;  // NX_SUBTYPE_AUX_CONTROL_BUTTONS
constexpr quint8 kStateDown = 0x0A;               // NX_KEYDOWN
constexpr quint8 kStateUp = 0x0B;                 // NX_KEYUP
constexpr int kKeyTypeShift = 16;
constexpr int kStateShift = 8;

// Where and how the record is posted: NX_SYSDEFINED, event-data version 2.
constexpr char kHidSystemService[] = "IOHIDSystem";
constexpr quint32 kEventTypeSysDefined = 14;
constexpr quint32 kEventDataVersion = 2;
} // namespace AuxKey

// Key types of the media keys (NX_KEYTYPE_*).
namespace MediaKeyType {
constexpr quint8 kSoundUp = 0;
constexpr quint8 kSoundDown = 1;
constexpr quint8 kMute = 7;
constexpr quint8 kPlay = 16;
constexpr quint8 kNext = 17;
constexpr quint8 kPrevious = 18;
} // namespace MediaKeyType

namespace MediaBackend {
constexpr char kVariable[] = "SYSTEMDLL_MEDIA_BACKEND";
constexpr char kRecord[] = "record";
constexpr char kX11[] = "x11";
constexpr char kMpris[] = "mpris";
constexpr char kMac[] = "mac";
} // namespace MediaBackend

// The media player interface on the session bus.
namespace Mpris {
constexpr char kServicePrefix[] = "org.mpris.MediaPlayer2.";
constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";
constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
constexpr char kPlaybackStatus[] = "PlaybackStatus";
constexpr char kPlaying[] = "Playing";
constexpr char kPlayPause[] = "PlayPause";
constexpr char kNext[] = "Next";
constexpr char kPrevious[] = "Previous";
constexpr char kStop[] = "Stop";

constexpr char kBusService[] = "org.freedesktop.DBus";
constexpr char kBusPath[] = "/org/freedesktop/DBus";
constexpr char kBusInterface[] = "org.freedesktop.DBus";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";

// A call that gets no answer within this time is abandoned: the GUI thread never
// waits longer than this for a player or the bus.
constexpr int kCallTimeoutMs = 250;
} // namespace Mpris
