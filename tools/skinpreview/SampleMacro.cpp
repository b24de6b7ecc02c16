#include "SampleMacro.h"

#include <iterator>

namespace zarvin::preview {

MacroRecord CopyMacro(uint16_t id, std::u16string_view name) {
    const MacroAction actions[] = {{50, 0x01D, MacroAction::kPress},
                                   {50, 0x02E, MacroAction::kPress},
                                   {50, 0x02E, MacroAction::kRelease},
                                   {0, 0x01D, MacroAction::kRelease}};
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(3);
    macro.SetActionCount(static_cast<uint16_t>(std::size(actions)));
    for (size_t slot = 0; slot < std::size(actions); ++slot) {
        macro.SetAction(slot, actions[slot]);
    }
    return macro;
}

}  // namespace zarvin::preview
