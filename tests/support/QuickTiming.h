#pragma once

#include <chrono>

#include "device/CommandProtocol.h"

namespace zarvin::test_support {

// Short enough that a silent keyboard costs a test little. Long enough that the stand-in's
// thread, started late on a loaded machine or under a sanitizer, still answers within it: a
// reply past it means a second send, which tests that count packets would take for a fault.
inline constexpr ExchangeTiming kQuickTiming{.writeTimeout = std::chrono::milliseconds(100),
                                             .readTimeout = std::chrono::milliseconds(100)};

}  // namespace zarvin::test_support
