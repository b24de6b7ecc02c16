#pragma once

// What threads and other instances raise on the main window: message numbers (two ASCII letters),
// the four-letter tags they carry, timers, tray icons and the busy indicator's thread messages.
// A handler ignores a message whose tag differs from the one listed with it.

#include <cstdint>

namespace zarvin {

// The two letters as one number, first letter in the high byte: "GS" is 0x4753.
constexpr uint32_t TwoLetterMessage(const char (&letters)[3]) {
    return static_cast<uint32_t>(static_cast<unsigned char>(letters[0])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(letters[1]));
}

namespace WindowMessage {
inline constexpr uint32_t CloseEditors = TwoLetterMessage("GS");  // keyboard gone; tag 0
inline constexpr uint32_t Reload = TwoLetterMessage("TR");        // keyboard found; tag Profile
inline constexpr uint32_t Open = TwoLetterMessage("SP");          // tag Open
inline constexpr uint32_t Kill = TwoLetterMessage("MK");          // tag Kill
inline constexpr uint32_t Initialised = TwoLetterMessage("MN");   // tag Init
inline constexpr uint32_t Language = TwoLetterMessage("PA");      // tag Language
}  // namespace WindowMessage

// The tags' values as the other instances and the window's handlers know them.
namespace MessageTag {
inline constexpr uint32_t None = 0;
inline constexpr uint32_t Open = 0x4F50454E;      // 'OPEN'
inline constexpr uint32_t Kill = 0x4C4C494B;      // 'KILL'
inline constexpr uint32_t Init = 0x494E4954;      // 'INIT'
inline constexpr uint32_t Profile = 0x50524F46;   // 'PROF'
inline constexpr uint32_t Language = 0x4C414E47;  // 'LANG'
}  // namespace MessageTag

namespace WindowTimer {
inline constexpr int BusyFrame = 1050;        // busy indicator, every 50 ms while shown
inline constexpr int LightingChanged = 1051;  // keyboard notice 0x0401
inline constexpr int Preview = 1052;          // lighting preview
inline constexpr int ProfileChanged = 1053;   // keyboard notice 0x0402
}  // namespace WindowTimer

inline constexpr int kBusyFrameIntervalMs = 50;

// Tray icon resources: the two connection icons the window remembers, and the notice icon.
namespace TrayIcon {
inline constexpr int Remembered = 0;  // with mode Connection: show the remembered icon
inline constexpr int Disconnected = 128;
inline constexpr int Connected = 141;
inline constexpr int Notice = 142;
}  // namespace TrayIcon

// SetTrayIconState modes.
namespace TrayMode {
inline constexpr int Connection = 0;  // a connection icon (given, or the remembered one)
inline constexpr int Notice = 1;      // the notice icon
}  // namespace TrayMode

// Thread messages the main window posts to the busy indicator.
namespace BusyMessage {
inline constexpr uint32_t Show = 1025;
inline constexpr uint32_t Hide = 1026;
}  // namespace BusyMessage

static_assert(WindowMessage::CloseEditors == 0x4753 && WindowMessage::Reload == 0x5452 &&
              WindowMessage::Open == 0x5350 && WindowMessage::Kill == 0x4D4B &&
              WindowMessage::Initialised == 0x4D4E && WindowMessage::Language == 0x5041);

}  // namespace zarvin
