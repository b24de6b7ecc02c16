#include "FullMacroArea.h"

#include <array>
#include <string>

#include "model/KeyCodes.h"

namespace zarvin::bench {

std::vector<MacroRecord> FullCapacityMacros() {
    constexpr size_t kActionsPerMacro = 790;
    // A key, a modifier, a mouse button, a wheel step, a system control and a multimedia key.
    constexpr std::array<KeyCode, 6> kKeys = {0x01E, 0x01D, 0x171, 0x162, 0x15E, 0x130};
    std::vector<MacroRecord> macros(kFullAreaMacros);
    for (size_t m = 0; m < kFullAreaMacros; ++m) {
        MacroRecord& macro = macros[m];
        macro.SetId(static_cast<uint16_t>(m + 1));
        macro.SetCycles(1);
        macro.SetName(u"Full macro no." + std::u16string(1, static_cast<char16_t>(u'1' + m)));
        for (size_t a = 0; a < kActionsPerMacro; ++a) {
            macro.SetAction(a, {.delay = static_cast<int32_t>(10 * (a % 4096)),
                                .key = kKeys[a % kKeys.size()],
                                .state = static_cast<uint16_t>(a % 2)});
        }
        macro.SetActionCount(kActionsPerMacro);
    }
    return macros;
}

}  // namespace zarvin::bench
