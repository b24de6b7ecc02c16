#pragma once

// The desktop's colour-scheme preference, read from its settings portal over D-Bus: setting
// "color-scheme" of "org.freedesktop.appearance" (0 no preference, 1 dark, 2 light). Qt 6.4
// offers no colour-scheme hint of its own.

#include <QDBusConnection>
#include <chrono>
#include <cstdint>
#include <optional>

namespace zarvin {

inline constexpr std::chrono::milliseconds kDesktopAnswerTime{1000};

// The preference as the portal on `bus` states it, or nullopt when no portal answers within
// `timeout` or its answer is not a number.
std::optional<uint32_t> ReadDesktopColourScheme(const QDBusConnection& bus,
                                                std::chrono::milliseconds timeout);

}  // namespace zarvin
