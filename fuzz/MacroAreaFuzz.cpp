// Decodes arbitrary bytes as a macro area read from the keyboard, with the macro count its header
// gives (as a backup does), and checks the promises the decoder makes to its callers:
//   - at most the count and at most 100 macros, numbered 1, 2, ... in area order;
//   - no macro with more than 4000 actions, and delays that the area can hold;
//   - the decoded macros encode again, and that area decodes to the same macros apart from the
//     keys (a key that reads back from an entry need not go out as the same entry).
//
// Input: the area's bytes, header included.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/MacroArea.h"
#include "model/MacroAreaHeader.h"

namespace {

using namespace zarvin;

void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

std::string Prefix(std::string_view /*key*/) {
    return "Macro ";
}

void CheckSameApartFromKeys(const MacroRecord& first, const MacroRecord& again) {
    Require(again.Id() == first.Id());
    Require(again.Cycles() == first.Cycles());
    Require(again.Name() == first.Name());
    Require(again.ActionCount() == first.ActionCount());
    for (size_t i = 0; i < first.ActionCount(); ++i) {
        Require(again.Action(i).delay == first.Action(i).delay);
        Require(again.Action(i).state == first.Action(i).state);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> area(data, size);
    const size_t count = MacroAreaHeader::Parse(area).macroCount;
    const std::vector<MacroRecord> macros = DecodeMacroArea(area, count, Prefix);

    Require(macros.size() <= count && macros.size() <= 100);
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        Require(macro.Id() == i + 1);
        Require(macro.NewFlag() == 0);
        Require(macro.ActionCount() <= MacroRecord::kMaxActions);
        for (size_t a = 0; a < macro.ActionCount(); ++a) {
            const MacroAction action = macro.Action(a);
            Require(action.delay >= 0 && action.delay <= kMaxMacroAreaDelay);
            Require(action.delay % 10 == 0);
            Require(action.state == MacroAction::kPress || action.state == MacroAction::kRelease);
        }
    }

    const MacroAreaSize sizes = MacroAreaSizes(macros);
    Require(sizes.withoutNames <= sizes.withNames);
    if (sizes.withNames > 0xFFFF) {
        return 0;
    }
    std::vector<uint8_t> again(sizes.withNames);
    Require(EncodeMacroArea(macros, again, true));
    const MacroAreaHeader header = MacroAreaHeader::Parse(again);
    Require(header.HoldsMacros() && header.length == again.size() &&
            header.macroCount == macros.size() && header.namesFlag == 1);
    const std::vector<MacroRecord> decodedAgain = DecodeMacroArea(again, macros.size(), Prefix);
    Require(decodedAgain.size() == macros.size());
    for (size_t i = 0; i < macros.size(); ++i) {
        CheckSameApartFromKeys(macros[i], decodedAgain[i]);
    }
    return 0;
}
