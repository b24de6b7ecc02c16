#pragma once

// The user lighting mode files: per profile one INI file in the per-user folder holding the
// current user mode, the ten mode names, and per mode its brush, base colour and the colour of
// every key; and the template beside the program that gives back the factory layouts. Nothing
// here reports an error: whatever cannot be read reads as the defaults (mode 0, names "0",
// tool 0, black base and brush colours, red keys that follow the base colour), and writes that
// fail leave the file as it was (the present mode's write says so, as it decides what is sent).

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/ColourValue.h"

namespace zarvin {

class AppContext;

inline constexpr int kUserModeCount = 10;
// Colour indexes 0 to 143 are in use.
inline constexpr int kColourIndexCount = 144;

// The brush in use and the colours of one mode. `tool` is kept as read: 0 own colour, 1 base
// colour; painting does nothing with any other value.
struct UserModeTools {
    int tool = 0;
    ColourValue baseColour = 0;
    ColourValue brushColour = 0;
};

// One key's colour in a mode, and whether it follows the base colour.
struct UserKeyEntry {
    ColourValue colour = MakeColour(255, 0, 0);
    bool followsBase = true;

    bool operator==(const UserKeyEntry&) const = default;
};

// A mode's brush and the entries of every colour index, read in one go.
struct UserModeContents {
    UserModeTools tools;
    std::vector<UserKeyEntry> keys;  // by colour index, kColourIndexCount of them
};

class UserLightingFiles {
public:
    // `userDataFolder` and `userColourPrefix` as the application context gives them.
    UserLightingFiles(std::filesystem::path userDataFolder, std::filesystem::path userColourPrefix);
    explicit UserLightingFiles(const AppContext& context);

    // "UserDengColor_<profile>.userd" in the per-user folder.
    std::filesystem::path FileOf(int profile) const;
    // "UserDengColor_3.userd" in Skins/ beside the program.
    std::filesystem::path TemplateFile() const;

    // Always 0 to 9: a value that is not a number reads as 0, one outside the range is brought
    // to its nearer end.
    int ReadPresentMode(int profile) const;
    // False when the file cannot be written; it is then as it was.
    bool WritePresentMode(int profile, int mode) const;

    std::string ReadModeName(int profile, int mode) const;
    // The names of all kUserModeCount modes, from one read of the file.
    std::vector<std::string> ReadModeNames(int profile) const;
    void WriteModeName(int profile, int mode, std::string_view name) const;

    UserModeTools ReadModeTools(int profile, int mode) const;
    void WriteModeTools(int profile, int mode, const UserModeTools& tools) const;

    UserKeyEntry ReadKeyEntry(int profile, int mode, int colourIndex) const;
    // The tools and every key entry of a mode from one read of the file, however large it is.
    UserModeContents ReadMode(int profile, int mode) const;
    void WriteKeyEntry(int profile, int mode, int colourIndex, const UserKeyEntry& entry) const;
    // Many keys at once, in one write of the file. False when the file cannot be written; it
    // is then as it was.
    bool WriteKeyEntries(int profile, int mode,
                         const std::vector<std::pair<int, UserKeyEntry>>& entries) const;

    // Replaces the profile's file with a byte-for-byte copy of the template; without a
    // template the file is left empty, so every read gives the defaults.
    void RestoreFromTemplate(int profile) const;
    // The same only when the profile has no file at all: a file that is there, whatever it
    // holds, is the user's. Without a template nothing is made.
    void SeedFromTemplate(int profile) const;

private:
    std::filesystem::path userPrefix_;
    std::filesystem::path templatePrefix_;
};

}  // namespace zarvin
