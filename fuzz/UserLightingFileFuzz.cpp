// Reads arbitrary bytes as a user lighting mode file (.userd), then paints keys into it, and
// checks the promises its reader makes to its callers:
//   - the present mode is always 0 to 9;
//   - a mode read at once answers as the single reads of its tools and keys do;
//   - keys written read back as written, and the other keys of the mode stay as they read;
//     a write that fails changes nothing.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "FuzzFiles.h"
#include "store/UserLightingFiles.h"

namespace {

using namespace zarvin;
using fuzz::Require;

bool SameTools(const UserModeTools& a, const UserModeTools& b) {
    return a.tool == b.tool && a.baseColour == b.baseColour && a.brushColour == b.brushColour;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const UserLightingFiles files(fuzz::ScratchFolder(), fuzz::ScratchFolder() / "template_");
    fuzz::ScratchFile(files.FileOf(0).filename().string(), std::span<const uint8_t>(data, size));

    const int present = files.ReadPresentMode(0);
    Require(present >= 0 && present < kUserModeCount);
    const std::vector<std::string> names = files.ReadModeNames(0);
    Require(names.size() == static_cast<size_t>(kUserModeCount));
    const UserModeContents mode = files.ReadMode(0, present);
    Require(mode.keys.size() == static_cast<size_t>(kColourIndexCount));
    Require(SameTools(mode.tools, files.ReadModeTools(0, present)));
    for (const int index : {0, 1, 77, kColourIndexCount - 1}) {
        Require(mode.keys[static_cast<size_t>(index)] == files.ReadKeyEntry(0, present, index));
    }
    Require(names[static_cast<size_t>(present)] == files.ReadModeName(0, present));

    const std::vector<std::pair<int, UserKeyEntry>> painted = {
        {3, {MakeColour(1, 2, 3), false}}, {140, {MakeColour(255, 255, 0), true}}};
    const bool written = files.WriteKeyEntries(0, present, painted);
    const UserModeContents after = files.ReadMode(0, present);
    for (size_t index = 0; index < after.keys.size(); ++index) {
        if (!written) {
            Require(after.keys[index] == mode.keys[index]);
        } else if (index == 3) {
            Require(after.keys[index] == painted[0].second);
        } else if (index == 140) {
            Require(after.keys[index] == painted[1].second);
        } else {
            Require(after.keys[index] == mode.keys[index]);
        }
    }
    return 0;
}
