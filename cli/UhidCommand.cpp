#include <filesystem>
#include <string>
#include <system_error>

#include "cli/BlockedStopSignals.h"
#include "cli/Commands.h"
#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"
#include "sim/SimImageFile.h"
#include "sim/UhidKeyboard.h"
#include "store/AppContext.h"

namespace zarvin::cli {

int RunUhidKeyboard(const AppContext& context, sim::SimModel model, std::ostream& out,
                    std::ostream& err) {
    sim::SimFirmware firmware(model);
    const std::filesystem::path file = sim::ImageFilePath(context.userDataFolder, model);
    std::string error;
    std::error_code unknown;
    if (std::filesystem::status(file, unknown).type() != std::filesystem::file_type::not_found &&
        !sim::ReadImageFile(file, model, firmware.Memory(), error)) {
        err << "the stand-in keyboard's memory in " << file.string() << " cannot be used: " << error
            << " (run 'zarvinctl sim-reset' to start again from the factory state)\n";
        return kExitFailed;
    }
    const BlockedStopSignals stop;
    if (stop.Descriptor() < 0) {
        err << "cannot watch for Ctrl+C\n";
        return kExitFailed;
    }
    sim::UhidKeyboard keyboard(firmware);
    if (!keyboard.Create(error)) {
        err << error << '\n';
        return kExitFailed;
    }
    const KeyboardModel& info = sim::InfoOf(model);
    out << "A virtual " << info.keyCount << "-key keyboard is plugged in through /dev/uhid ("
        << info.name << ", its command and consumer-control interfaces). 'zarvinctl list' "
        << "shows its hidraw nodes. Ctrl+C unplugs it.\n"
        << std::flush;
    const bool served = keyboard.Serve(stop.Descriptor(), error);
    if (!served) {
        err << error << '\n';
    }
    std::filesystem::create_directories(file.parent_path(), unknown);
    if (!sim::WriteImageFile(file, model, firmware.Memory(), error)) {
        err << "cannot keep the stand-in keyboard's memory in " << file.string() << ": " << error
            << '\n';
        return kExitFailed;
    }
    return served ? kExitOk : kExitFailed;
}

}  // namespace zarvin::cli
