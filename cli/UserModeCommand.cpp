// The usermode command: one of a profile's ten user lighting modes, from its file, sent to the
// keyboard as the window's user-mode combo sends it.

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/NoLightingView.h"
#include "control/KeyColours.h"
#include "control/LightingCompanion.h"
#include "control/LightingState.h"
#include "device/DeviceImage.h"
#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/ProfileStorePaths.h"
#include "store/UserLightingFiles.h"

namespace zarvin::cli {

int RunUserMode(KeyboardConnection& connection, const AppContext& context,
                std::optional<int> profile, int mode, std::ostream& out, std::ostream& err,
                OutputForm form) {
    DeviceImage device;
    const HidAttributes& ids = connection.Device().Attributes();
    device.SetModelFromIds(ids.vendorId, ids.productId);
    int result = CommandResult::Success;
    const int target = profile ? *profile : device.GetActiveProfile(connection.Link(), &result);
    if (target < 0 || target >= kProfileCount) {
        err << "cannot read the keyboard's active profile: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }

    // A profile whose file is gone gets the factory modes again.
    EnsureUserFolder(context);
    const UserLightingFiles files(context);

    NoLightingView panel;
    LightingCompanion companion;
    LightingState lighting(
        connection.Link(), panel, companion, [](int code) { return std::to_string(code); },
        context.userDataFolder / "duva.ini");
    lighting.SetCurrentProfile(target);
    KeyColours colours(connection.Link(), lighting, device, files, panel, panel, panel);
    // The file says which mode the profile shows: one it does not keep is not sent.
    errno = 0;
    if (!files.WritePresentMode(target, mode)) {
        const int writeError = errno;
        const FileContents now = ReadWholeFile(files.FileOf(target));
        const std::string reason = now.status == FileReadStatus::kFailed ? now.error
                                   : writeError != 0 ? std::strerror(writeError)
                                                     : "it cannot be written";
        err << "cannot keep user mode " << mode << " in " << files.FileOf(target).string() << ": "
            << reason << "; nothing was sent to the keyboard\n";
        return kExitFailed;
    }
    colours.LoadUserMode(target, false);
    result = colours.SendKeyColours(target);
    if (result != CommandResult::Success) {
        err << "sending the key colours failed: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        JsonValue sent = ProfileJson(target);
        sent.update(JsonValue{{"mode", mode}, {"name", files.ReadModeName(target, mode)}});
        PrintJson(out, sent);
        return kExitOk;
    }
    out << "profile " << ShownProfile(target) << ": user mode " << mode << " (" << files.ReadModeName(target, mode)
        << ") sent\n";
    return kExitOk;
}

}  // namespace zarvin::cli
