#pragma once

// Where the profile store's files live: the per-user folder and the profile cache file in it,
// which holds all three profiles and mirrors the keyboard.

#include <filesystem>
#include <string_view>

namespace zarvin {

class AppContext;
class WorkingStore;

// Formed from "$Profile%d" with 0, whatever the profile.
inline constexpr std::string_view kProfileCacheFileName = "$Profile0";

// Creates the per-user folder when it is missing and seeds each of the three user lighting files
// that is missing, "UserDengColor_0.userd" to "UserDengColor_2.userd", with a copy of the
// template beside the program (userColourPrefix + "3.userd"), whoever made the folder. Files
// that are there stay as they are. Nothing is reported: without the folder later writes fail on
// their own, and without the template the lighting files are simply not seeded.
void EnsureUserFolder(const AppContext& context);

// Runs EnsureUserFolder and gives the profile cache file. Every profile shares the one file, so
// `profile` is not used.
std::filesystem::path ProfilePath(const AppContext& context, int profile);

// Saves `store` to the profile cache file, only when that file exists already.
// FileResult::Success, or Failure when it does not or the save fails.
int SaveToProfilePath(WorkingStore& store, const AppContext& context);

}  // namespace zarvin
