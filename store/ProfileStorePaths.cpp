#include "store/ProfileStorePaths.h"

#include <string>
#include <system_error>

#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/UserLightingFiles.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr int kSeededProfiles = 3;

}  // namespace

void EnsureUserFolder(const AppContext& context) {
    std::error_code ec;
    fs::create_directories(context.userDataFolder, ec);
    // Whoever made the folder, each missing user-mode file starts as the factory modes.
    const UserLightingFiles files(context);
    for (int profile = 0; profile < kSeededProfiles; ++profile) {
        files.SeedFromTemplate(profile);
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
