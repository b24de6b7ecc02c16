// Writes the seed corpora of the macro-area, key-map and stand-in memory file fuzzers from this
// program's own encoders and the stand-in keyboards' factory memory, into FOLDER/macro-area/,
// FOLDER/key-map/ and FOLDER/sim-image-file/. Run it again when an encoding changes:
//
//   zarvin_codec_seeds fuzz/corpus

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

#include "control/ProfileKeyMaps.h"
#include "device/DeviceImage.h"
#include "model/KeyMapCodec.h"
#include "model/MacroArea.h"
#include "sim/SimFirmware.h"
#include "sim/SimImageFile.h"
#include "sim/SimModel.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace {

using namespace zarvin;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

bool WriteSeed(const fs::path& file, std::span<const uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

MacroRecord Macro(uint16_t id, std::u16string_view name, uint8_t cycles,
                  std::initializer_list<MacroAction> actions) {
    MacroRecord macro;
    macro.SetId(id);
    macro.SetName(name);
    macro.SetCycles(cycles);
    macro.SetActionCount(static_cast<uint16_t>(actions.size()));
    size_t slot = 0;
    for (const MacroAction& action : actions) {
        macro.SetAction(slot++, action);
    }
    return macro;
}

std::vector<MacroRecord> SeedMacros() {
    return {
        Macro(1, u"Copy", 1, {{50, 0x01D, 0}, {30, 0x02E, 0}, {20, 0x02E, 1}, {0, 0x01D, 1}}),
        Macro(2, u"Wheel", 3, {{100, 0x161, 0}, {100, 0x162, 0}, {0, 0x171, 0}, {10, 0x171, 1}}),
        Macro(3, u"Grüße", 255, {{40950, 0x15E, 0}, {0, 0x130, 1}, {120, 0x054, 0}}),
    };
}

Bytes EncodedArea(const std::vector<MacroRecord>& macros, bool withNames) {
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    Bytes area(withNames ? sizes.withNames : sizes.withoutNames);
    return EncodeMacroArea(macros, area, withNames) ? area : Bytes();
}

bool WriteMacroAreaSeeds(const fs::path& folder) {
    const std::vector<MacroRecord> macros = SeedMacros();
    const Bytes named = EncodedArea(macros, true);
    const Bytes unnamed = EncodedArea(macros, false);
    const Bytes single = EncodedArea({Macro(1, u"ab", 1, {{120, 0x01E, 0}})}, true);
    const Bytes empty = EncodedArea({}, true);
    return !named.empty() && !unnamed.empty() && !single.empty() && !empty.empty() &&
           WriteSeed(folder / "three-named", named) &&
           WriteSeed(folder / "three-unnamed", unnamed) &&
           WriteSeed(folder / "one-named", single) && WriteSeed(folder / "no-macros", empty);
}

// Byte 0 picks the model by its place in the model table, then the default key matrix, then the
// key map sent.
Bytes KeyMapInput(sim::SimModel model, std::span<const uint8_t> sent) {
    const std::span<const uint8_t> matrix = sim::InfoOf(model).factoryKeyMatrix;
    Bytes input{static_cast<uint8_t>(model)};
    input.insert(input.end(), matrix.begin(), matrix.end());
    input.insert(input.end(), sent.begin(), sent.end());
    return input;
}

// The key map this program builds for the model from a profile with one assignment of each kind.
Bytes BuiltKeyMap(sim::SimModel model) {
    const KeyboardModel& info = sim::InfoOf(model);
    DeviceImage device;
    device.SetModel(info);
    DefaultKeyMatrix matrix{};
    const std::span<const uint8_t> factory = info.factoryKeyMatrix;
    std::copy(factory.begin(), factory.end(), matrix.begin());
    device.SetKeyMatrix(matrix);

    std::recursive_mutex workingLock;
    std::recursive_mutex appliedLock;
    ProfileStores stores(workingLock, appliedLock);
    WorkingStore& working = stores.Working();
    AppliedStore& applied = stores.Applied();
    working.SetMacros(SeedMacros());
    const auto assign = [&](KeyCode key, AssignmentType type, int32_t value) {
        working.SetAssignment(KeyRecordNumber(0, SlotOfKeyCode(key)),
                              {.type = static_cast<uint16_t>(type), .value = value});
    };
    assign(0x03A, AssignmentType::Key, 0x01D);  // Caps Lock: Left Ctrl
    assign(0x01E, AssignmentType::Key, 0x162);  // A: wheel down
    assign(0x01F, AssignmentType::Key, 0x172);  // S: right button
    assign(0x020, AssignmentType::Disabled, 0);
    assign(0x011, AssignmentType::PlayMacro, 3);
    assign(0x012, AssignmentType::StopMacro, 0);
    assign(0x013, AssignmentType::Media, 6);
    assign(0x014, AssignmentType::Function, 10);
    assign(0x200, AssignmentType::Key, 0x145);  // G1: Num Lock
    applied.TakeSnapshotOf(working);
    Bytes block(info.keyMapLength);
    BuildKeyMap(0, block, device, stores);
    return block;
}

bool WriteKeyMapSeeds(const fs::path& folder) {
    bool ok = true;
    for (const sim::SimModel model : sim::AllSimModels()) {
        const std::string name(sim::InfoOf(model).name);
        const std::span<const uint8_t> factory = sim::InfoOf(model).factoryKeyMatrix;
        ok = ok && WriteSeed(folder / ("factory-" + name), KeyMapInput(model, factory)) &&
             WriteSeed(folder / ("assigned-" + name), KeyMapInput(model, BuiltKeyMap(model)));
    }
    return ok;
}

// Each model's factory memory, and one whose macro area is as small as a keyboard's can be.
bool WriteSimImageSeeds(const fs::path& folder) {
    bool ok = true;
    for (const auto& [model, name] : {std::pair{sim::SimModel::Keyboard126, "126"},
                                      std::pair{sim::SimModel::Keyboard128, "128"}}) {
        sim::SimFirmware firmware(model);
        ok = ok && WriteSeed(folder / (std::string("factory-") + name),
                             sim::EncodeImage(model, firmware.Memory()));
        firmware.SetMacroCapacity(1);
        ok = ok && WriteSeed(folder / (std::string("one-macro-unit-") + name),
                             sim::EncodeImage(model, firmware.Memory()));
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarvin_codec_seeds FOLDER\n");
        return 2;
    }
    const fs::path macroArea = fs::path(argv[1]) / "macro-area";
    const fs::path keyMap = fs::path(argv[1]) / "key-map";
    const fs::path simImage = fs::path(argv[1]) / "sim-image-file";
    std::error_code ec;
    for (const fs::path& folder : {macroArea, keyMap, simImage}) {
        fs::create_directories(folder, ec);
    }
    if (!WriteMacroAreaSeeds(macroArea) || !WriteKeyMapSeeds(keyMap) ||
        !WriteSimImageSeeds(simImage)) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
