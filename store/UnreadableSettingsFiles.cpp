#include "store/UnreadableSettingsFiles.h"

#include "device/UserMessages.h"
#include "keyboard/KeyboardFacts.h"
#include "model/TextKeys.h"
#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/LightingSwitchFile.h"
#include "store/RegistryFile.h"
#include "store/UserLightingFiles.h"

namespace zarvin {

std::vector<UnreadableFile> UnreadableSettingsFiles(const AppContext& context) {
    std::vector<std::filesystem::path> files = {RegistryFilePath(context.configFolder),
                                                LightingSwitchFile(context.userDataFolder)};
    const UserLightingFiles userModes(context);
    for (int profile = 0; profile < kProfileCount; ++profile) {
        files.push_back(userModes.FileOf(profile));
    }
    std::vector<UnreadableFile> unreadable;
    for (const std::filesystem::path& file : files) {
        // Read as every reader reads it, so the answer is theirs.
        FileContents contents = ReadWholeFile(file);
        if (contents.status == FileReadStatus::kFailed) {
            unreadable.push_back({file, std::move(contents.error)});
        }
    }
    return unreadable;
}

void ReportUnreadableSettingsFiles(const AppContext& context, UserMessages& messages) {
    for (const UnreadableFile& unreadable : UnreadableSettingsFiles(context)) {
        messages.ShowFormattedMessage(text_keys::EXTRA_SETTINGS_FILE_UNUSED,
                                      unreadable.file.string() + " (" + unreadable.reason + ")");
    }
}

}  // namespace zarvin
