#pragma once

// Settings files that are there but that the program does not read: larger than any settings
// file (kMaxSettingsFileBytes), not a regular file, or refused by the system. Every reader takes
// such a file as missing and every writer leaves it as it is, so nothing in it is lost; this is
// how the user learns that it is not used.

#include <filesystem>
#include <string>
#include <vector>

namespace zarvin {

class AppContext;
class UserMessages;

struct UnreadableFile {
    std::filesystem::path file;
    std::string reason;  // "it is larger than 16777216 bytes", "it is a folder, not a file", ...
};

// The registry file, the lighting switch file and every profile's user lighting file, those of
// them that are there and cannot be read.
std::vector<UnreadableFile> UnreadableSettingsFiles(const AppContext& context);

// Tells the user of each with EXTRA_SETTINGS_FILE_UNUSED, naming the file and the reason.
void ReportUnreadableSettingsFiles(const AppContext& context, UserMessages& messages);

}  // namespace zarvin
