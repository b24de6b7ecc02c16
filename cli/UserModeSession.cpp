#include "cli/UserModeSession.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "device/CommandProtocol.h"
#include "platform/WholeFile.h"
#include "store/ProfileStorePaths.h"

namespace zarvin::cli {

UserModeSession::UserModeSession(KeyboardConnection& keyboard, const AppContext& appContext)
    : connection(keyboard),
      context(appContext),
      lighting(
          keyboard.Link(), panel, companion, [](int code) { return std::to_string(code); },
          appContext.userDataFolder / "duva.ini"),
      files(appContext),
      colours(keyboard.Link(), lighting, device, files, panel, panel, panel) {
    device.SetModel(keyboard.Model());
}

bool UserModeSession::Open(std::optional<int> given, std::ostream& err) {
    int result = CommandResult::Success;
    profile = given ? *given : device.GetActiveProfile(connection.Link(), &result);
    if (profile < 0 || profile >= kProfileCount) {
        err << "cannot read the keyboard's active profile: " << CommandResultText(result) << '\n';
        return false;
    }
    // A profile whose file is gone gets the factory modes again.
    EnsureUserFolder(context);
    lighting.SetCurrentProfile(profile);
    return true;
}

bool UserModeSession::KeepPresentMode(int mode, std::ostream& err) const {
    errno = 0;
    if (files.WritePresentMode(profile, mode)) {
        return true;
    }
    TellUnkept(mode, errno, err);
    return false;
}

bool UserModeSession::CanReadFile(std::ostream& err) const {
    const FileContents contents = ReadWholeFile(files.FileOf(profile));
    if (contents.status != FileReadStatus::kFailed) {
        return true;
    }
    err << CliFormat(cli_text::USER_MODES_UNREADABLE, {files.FileOf(profile).string(), contents.error})
        << '\n';
    return false;
}

void UserModeSession::TellUnkept(std::optional<int> mode, int writeError,
                                 std::ostream& err) const {
    const FileContents now = ReadWholeFile(files.FileOf(profile));
    const std::string reason = now.status == FileReadStatus::kFailed ? now.error
                               : writeError != 0 ? std::strerror(writeError)
                                                 : CliText(cli_text::FILE_NOT_WRITABLE);
    const std::string file = files.FileOf(profile).string();
    err << (mode ? CliFormat(cli_text::USER_MODE_UNKEPT, {std::to_string(*mode), file, reason})
                 : CliFormat(cli_text::KEY_COLOURS_UNKEPT, {file, reason}))
        << '\n';
}

}  // namespace zarvin::cli
