#pragma once

#include <chrono>

#include "device/CommandProtocol.h"

namespace zarvin::test_support {

// Short enough that a silent keyboard costs a test little; the stand-in answers well within it.
inline constexpr ExchangeTiming kQuickTiming{.writeTimeout = std::chrono::milliseconds(100),
                                             .readTimeout = std::chrono::milliseconds(30)};

}  // namespace zarvin::test_support
