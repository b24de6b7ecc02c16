// The usermode command: one of a profile's ten user lighting modes, from its file, sent to the
// keyboard as the window's user-mode combo sends it.

#include "cli/Commands.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/UserModeSession.h"
#include "device/CommandProtocol.h"

namespace zarvin::cli {

int RunUserMode(KeyboardConnection& connection, const AppContext& context,
                std::optional<int> profile, int mode, std::ostream& out, std::ostream& err,
                OutputForm form) {
    UserModeSession session(connection, context);
    if (!session.Open(profile, err)) {
        return kExitFailed;
    }
    const int target = session.profile;
    // The file says which mode the profile shows: one it does not keep is not sent.
    if (!session.KeepPresentMode(mode, err)) {
        return kExitFailed;
    }
    session.colours.LoadUserMode(target, false);
    const int result = session.colours.SendKeyColours(target);
    if (result != CommandResult::Success) {
        err << CliFormat(cli_text::SENDING_COLOURS_FAILED, {CommandResultText(result)}) << '\n';
        return kExitFailed;
    }
    const std::string name = session.files.ReadModeName(target, mode);
    if (form == OutputForm::Json) {
        JsonValue sent = ProfileJson(target);
        sent.update(JsonValue{{"mode", mode}, {"name", name}});
        PrintJson(out, sent);
        return kExitOk;
    }
    out << CliFormat(cli_text::USER_MODE_SENT,
                     {std::to_string(ShownProfile(target)), std::to_string(mode), name})
        << '\n';
    return kExitOk;
}

}  // namespace zarvin::cli
