// Plays a keyboard whose memory holds arbitrary bytes, so every reply the host decodes carries
// them: the device information (active profile, macro capacity, effects offered), the lighting
// records, the key maps and the macro area, read by a connection's load, the lighting panel's
// reload and a backup. The host code runs unchanged over the stand-in keyboard; a crash, a
// sanitizer report or a hang is a finding, and what the host keeps of the replies must be
// something it can show: an active profile of one byte or -1, slider positions in range, combo
// positions that name an offered effect.
//
// Input: the bytes of the device information (44), the lighting area (126), the three key
// maps and the macro area (its length from device information byte 11), in that order, the
// input repeated as often as needed.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzFiles.h"
#include "cli/NoLightingView.h"
#include "control/LightingState.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"
#include "support/CommandInterface.h"
#include "support/CoreRig.h"

namespace {

using namespace zarvin;
using fuzz::Require;

class Filler {
public:
    explicit Filler(std::span<const uint8_t> input) : input_(input) {}

    template <typename Area>
    void Fill(Area& area) {
        for (uint8_t& byte : area) {
            byte = input_[at_++ % input_.size()];
        }
    }

private:
    std::span<const uint8_t> input_;
    size_t at_ = 0;
};

// The stand-in as the input has it, before the host connects.
struct FilledKeyboardRig : test_support::CoreRig {
    explicit FilledKeyboardRig(std::span<const uint8_t> input) {
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            Filler filler(input);
            sim::SimMemory& memory = firmware.Memory();
            filler.Fill(memory.deviceInfo);
            firmware.SetMacroCapacity(memory.deviceInfo[sim::DeviceInfoByte::MacroCapacity]);
            filler.Fill(memory.lighting);
            filler.Fill(memory.keyMaps);
            filler.Fill(memory.macroArea);
        });
    }
};

void LoadLighting(ConfiguratorCore& core, const std::filesystem::path& switchFile) {
    cli::NoLightingView panel;
    LightingCompanion companion;
    LightingState state(core.Link(), panel, companion, [](int) { return std::string("effect"); },
                        switchFile);
    state.LoadLightingOnConnection();
    for (int profile = 0; profile < 3; ++profile) {
        state.SetCurrentProfile(profile);
        state.RefreshLightingPanel();
        Require(state.BrightnessPosition() >= 0 && state.BrightnessPosition() <= kSliderMax);
        Require(state.SpeedPosition() >= 0 && state.SpeedPosition() <= kSliderMax);
        const int position = state.PositionOfEffect(state.Effect());
        Require(position == -1 || state.EffectAtPosition(position) == state.Effect());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    FilledKeyboardRig rig({data, size});
    ConfiguratorCore& core = rig.core;
    if (!test_support::OpenCommandInterface(core.Hid())) {
        return 0;
    }
    core.Device().SetModel(sim::InfoOf(rig.keyboard.Model()));
    core.Link().SetGeometry(core.Device().Model().Geometry());
    core.Link().SetConnected(true);
    core.Device().LoadConnectionData(core.Link(), rig.messages);

    const int profile = core.Device().GetActiveProfile(core.Link());
    Require(profile >= -1 && profile <= 255);
    LoadLighting(core, rig.folder / "duva.ini");
    core.Sync().LoadFromDevice();
    core.Sync().BackupDeviceToFile(rig.folder / "backup.fwc");
    return 0;
}
