#include "store/ProfileStorePaths.h"

#include <string>
#include <system_error>

#include "app/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/WholeFile.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr int kTemplateNumber = 3;
constexpr int kSeededProfiles = 3;

fs::path LightingFile(const fs::path& prefix, int number) {
    return prefix.string() + std::to_string(number) + ".userd";
}

}  // namespace

void EnsureUserFolder(const AppContext& context) {
    std::error_code ec;
    if (fs::exists(context.userDataFolder, ec) ||
        !fs::create_directories(context.userDataFolder, ec)) {
        return;
    }
    const FileContents lightingTemplate =
        ReadWholeFile(LightingFile(context.userColourPrefix, kTemplateNumber));
    if (lightingTemplate.status != FileReadStatus::kRead) {
        return;
    }
    const fs::path userPrefix = context.userDataFolder / "UserDengColor_";
    for (int profile = 0; profile < kSeededProfiles; ++profile) {
        WriteWholeFileAtomically(LightingFile(userPrefix, profile), lightingTemplate.bytes);
    }
}

fs::path ProfilePath(const AppContext& context, int /*profile*/) {
    EnsureUserFolder(context);
    return context.userDataFolder / kProfileCacheFileName;
}

int SaveToProfilePath(WorkingStore& store, const AppContext& context) {
    const fs::path cache = ProfilePath(context, 0);
    std::error_code ec;
    if (!fs::exists(cache, ec)) {
        return FileResult::Failure;
    }
    return store.SaveProfileFile(cache);
}

}  // namespace zarvin
