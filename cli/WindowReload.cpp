#include "cli/WindowReload.h"

#include <string>

#include "platform/InstanceChannel.h"

namespace zarvin::cli {

bool ChangesKeyboard(const CliOptions& options) {
    const std::string& command = options.command;
    return (command == "profile" && options.newProfile) || command == "restore" ||
           command == "remap" || command == "reset" ||
           (command == "lighting" && options.lightingSet) || command == "usermode" ||
           command == "sim-reset" ||
           (command == "colours" && !options.keyColours.empty()) ||
           (command == "macro" && options.macro.action != "list" &&
            options.macro.action != "show");
}

void AskWindowToReload(const std::filesystem::path& runtimeFolder, std::ostream& err) {
    std::string error;
    const SendResult result = SendInstanceRequest(
        InstanceSocketPath(runtimeFolder), InstanceRequest::Reload, &error, kWindowAnswerTime);
    if (result == SendResult::Failed) {
        err << "the keyboard was changed, but the running zarvin window could not be asked to "
               "reload"
            << (error.empty() ? std::string() : ": " + error) << "; reopen it to see the change\n";
    }
}

}  // namespace zarvin::cli
