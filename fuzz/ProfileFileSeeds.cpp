// Writes the seed corpus of the profile file fuzzer: small profile files as this program writes
// them, kept in fuzz/corpus/profile-file/. Run it again when the file form's writer changes:
//
//   zarvin_profile_file_seeds fuzz/corpus/profile-file

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"

namespace {

using namespace zarvin;

KeyAssignment Assigned(AssignmentType type, int32_t value = 0, uint16_t gId = 0) {
    return {.type = static_cast<uint16_t>(type), .gId = gId, .value = value};
}

MacroRecord Macro(uint16_t id, std::u16string_view name,
                  std::initializer_list<MacroAction> actions) {
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(1);
    macro.SetActionCount(static_cast<uint16_t>(actions.size()));
    size_t slot = 0;
    for (const MacroAction& action : actions) {
        macro.SetAction(slot++, action);
    }
    return macro;
}

struct SeedRecord {
    size_t record;
    KeyAssignment assignment;
    std::u16string_view launchString;
};

// Two macros and a record of every type, a program path and two texts among them.
bool WriteFullStore(const std::filesystem::path& file) {
    std::recursive_mutex lock;
    WorkingStore store(lock);
    bool ok = store.SetMacros({
        Macro(1, u"Copy", {{50, 0x01D, 0}, {30, 0x02E, 0}, {20, 0x02E, 1}, {0, 0x01D, 1}}),
        Macro(2, u"Wheel", {{100, 0x161, 0}, {100, 0x162, 0}}),
    });
    const SeedRecord records[] = {
        {KeyRecordNumber(0, 0x3A), Assigned(AssignmentType::Key, 0x01D), {}},
        {KeyRecordNumber(0, 0x3B), Assigned(AssignmentType::Disabled), {}},
        {KeyRecordNumber(0, 0x3C), Assigned(AssignmentType::PlayMacro, 2, 3), {}},
        {KeyRecordNumber(0, 0x3D), Assigned(AssignmentType::StopMacro), {}},
        {KeyRecordNumber(1, 0x3E), Assigned(AssignmentType::Media, 6), {}},
        {KeyRecordNumber(1, 0x3F), Assigned(AssignmentType::Function, 10), {}},
        {KeyRecordNumber(1, kFirstGKeySlot),
         Assigned(AssignmentType::LaunchProgram, 0, kGKeyIds[0]), u"C:\\a.exe"},
        {KeyRecordNumber(2, 0x10), Assigned(AssignmentType::TextBlock), u"Grüße\r\n"},
        {KeyRecordNumber(2, 0x11), Assigned(AssignmentType::TextBlock), u""},
    };
    for (const SeedRecord& seed : records) {
        ok = ok &&
             store.SetAssignment(seed.record, seed.assignment, std::u16string(seed.launchString));
    }
    return ok && store.SaveProfileFile(file) == FileResult::Success;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarvin_profile_file_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const bool ok = CreateDefaultImage(folder / "cleared.fwc", 0) == FileResult::Success &&
                    CreateDefaultImage(folder / "blank-flag-1.fwc", 1) == FileResult::Success &&
                    WriteFullStore(folder / "macros-and-strings.fwc");
    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
