#include "store/UserLightingFiles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <system_error>
#include <utility>

#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/IniFile.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr int kTemplateNumber = 3;
constexpr std::string_view kPresentModeSection = "PRESENTMODE";
constexpr std::string_view kPresentModeKey = "mode";
constexpr std::string_view kModeNameSection = "MODENAME";
constexpr std::string_view kDefaultModeName = "0";

fs::path NumberedFile(const fs::path& prefix, int number) {
    return prefix.string() + std::to_string(number) + ".userd";
}

std::string ModeSection(int mode) { return "Mode" + std::to_string(mode); }

// Reads up to values.size() comma-separated decimal numbers the way "%d,%d,..." scans them:
// blanks before a number are skipped, the comma must follow the number at once. Returns how
// many were read; the values after them are left as they are. Numbers too large for a colour
// component saturate instead of wrapping.
size_t ScanNumbers(std::string_view text, std::span<int> values) {
    size_t at = 0;
    size_t read = 0;
    for (; read < values.size(); ++read) {
        if (read > 0) {
            if (at >= text.size() || text[at] != ',') {
                break;
            }
            ++at;
        }
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
            ++at;
        }
        bool negative = false;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
            negative = text[at] == '-';
            ++at;
        }
        const size_t digitsStart = at;
        int64_t number = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
            number = std::min<int64_t>(number * 10 + (text[at] - '0'), INT32_MAX);
        }
        if (at == digitsStart) {
            break;
        }
        values[read] = static_cast<int>(negative ? -number : number);
    }
    return read;
}

uint8_t Component(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

ColourValue ColourOf(std::span<const int> rgb) {
    return MakeColour(Component(rgb[0]), Component(rgb[1]), Component(rgb[2]));
}

std::string ColourText(ColourValue colour) {
    return std::to_string(RedOf(colour)) + ',' + std::to_string(GreenOf(colour)) + ',' +
           std::to_string(BlueOf(colour));
}

// A colour key of a mode section; components that are not read are 0.
ColourValue ReadColour(const IniSectionValues& section, std::string_view key) {
    std::array<int, 3> rgb{0, 0, 0};
    ScanNumbers(section.Read(key, "0,0,0"), rgb);
    return ColourOf(rgb);
}

UserModeTools ToolsOf(const IniSectionValues& section) {
    std::array<int, 1> tool{0};
    ScanNumbers(section.Read("tool", "0"), tool);
    return {.tool = tool[0],
            .baseColour = ReadColour(section, "jcolor"),
            .brushColour = ReadColour(section, "color")};
}

UserKeyEntry KeyEntryOf(const IniSectionValues& section, int colourIndex) {
    std::array<int, 4> values{255, 0, 0, 1};
    ScanNumbers(section.Read(std::to_string(colourIndex), "255,0,0,1"), values);
    return {.colour = ColourOf(std::span(values).first<3>()), .followsBase = values[3] != 0};
}

}  // namespace

UserLightingFiles::UserLightingFiles(fs::path userDataFolder, fs::path userColourPrefix)
    : userPrefix_(std::move(userDataFolder) / "UserDengColor_"),
      templatePrefix_(std::move(userColourPrefix)) {}

UserLightingFiles::UserLightingFiles(const AppContext& context)
    : UserLightingFiles(context.userDataFolder, context.userColourPrefix) {}

fs::path UserLightingFiles::FileOf(int profile) const { return NumberedFile(userPrefix_, profile); }

fs::path UserLightingFiles::TemplateFile() const {
    return NumberedFile(templatePrefix_, kTemplateNumber);
}

int UserLightingFiles::ReadPresentMode(int profile) const {
    std::array<int, 1> mode{0};
    ScanNumbers(ReadIniString(FileOf(profile), kPresentModeSection, kPresentModeKey, "0"), mode);
    return std::clamp(mode[0], 0, kUserModeCount - 1);
}

bool UserLightingFiles::WritePresentMode(int profile, int mode) const {
    return WriteIniString(FileOf(profile), kPresentModeSection, kPresentModeKey, std::to_string(mode));
}

std::string UserLightingFiles::ReadModeName(int profile, int mode) const {
    return ReadIniString(FileOf(profile), kModeNameSection, std::to_string(mode),
                         kDefaultModeName);
}

void UserLightingFiles::WriteModeName(int profile, int mode, std::string_view name) const {
    WriteIniString(FileOf(profile), kModeNameSection, std::to_string(mode), std::string(name));
}

std::vector<std::string> UserLightingFiles::ReadModeNames(int profile) const {
    const IniSectionValues section = ReadIniSection(FileOf(profile), kModeNameSection);
    std::vector<std::string> names;
    for (int mode = 0; mode < kUserModeCount; ++mode) {
        names.push_back(section.Read(std::to_string(mode), kDefaultModeName));
    }
    return names;
}

UserModeTools UserLightingFiles::ReadModeTools(int profile, int mode) const {
    return ToolsOf(ReadIniSection(FileOf(profile), ModeSection(mode)));
}

void UserLightingFiles::WriteModeTools(int profile, int mode, const UserModeTools& tools) const {
    const fs::path file = FileOf(profile);
    const std::string section = ModeSection(mode);
    WriteIniString(file, section, "tool", std::to_string(tools.tool));
    WriteIniString(file, section, "jcolor", ColourText(tools.baseColour));
    WriteIniString(file, section, "color", ColourText(tools.brushColour));
}

UserKeyEntry UserLightingFiles::ReadKeyEntry(int profile, int mode, int colourIndex) const {
    return KeyEntryOf(ReadIniSection(FileOf(profile), ModeSection(mode)), colourIndex);
}

UserModeContents UserLightingFiles::ReadMode(int profile, int mode) const {
    const IniSectionValues section = ReadIniSection(FileOf(profile), ModeSection(mode));
    UserModeContents contents{.tools = ToolsOf(section), .keys = {}};
    contents.keys.reserve(kColourIndexCount);
    for (int colourIndex = 0; colourIndex < kColourIndexCount; ++colourIndex) {
        contents.keys.push_back(KeyEntryOf(section, colourIndex));
    }
    return contents;
}

void UserLightingFiles::WriteKeyEntry(int profile, int mode, int colourIndex,
                                      const UserKeyEntry& entry) const {
    WriteIniString(FileOf(profile), ModeSection(mode), std::to_string(colourIndex),
                   ColourText(entry.colour) + (entry.followsBase ? ",1" : ",0"));
}

bool UserLightingFiles::WriteKeyEntries(
    int profile, int mode, const std::vector<std::pair<int, UserKeyEntry>>& entries) const {
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(entries.size());
    for (const auto& [colourIndex, entry] : entries) {
        values.emplace_back(std::to_string(colourIndex),
                            ColourText(entry.colour) + (entry.followsBase ? ",1" : ",0"));
    }
    return WriteIniStrings(FileOf(profile), ModeSection(mode), values);
}

void UserLightingFiles::SeedFromTemplate(int profile) const {
    std::error_code missing;
    if (fs::symlink_status(FileOf(profile), missing).type() != fs::file_type::not_found) {
        return;
    }
    const FileContents factory = ReadWholeFile(TemplateFile());
    if (factory.status == FileReadStatus::kRead) {
        WriteWholeFileAtomically(FileOf(profile), factory.bytes);
    }
}

void UserLightingFiles::RestoreFromTemplate(int profile) const {
    const FileContents factory = ReadWholeFile(TemplateFile());
    WriteWholeFileAtomically(FileOf(profile),
                             factory.status == FileReadStatus::kRead ? factory.bytes : "");
}

}  // namespace zarvin
