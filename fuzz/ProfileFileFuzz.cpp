// Hands arbitrary bytes, as a file, to the validation of backup files and to the profile store's
// loader, and checks the promises they make to their callers:
//   - a file that validation accepts also loads;
//   - a load that fails leaves the store as it was;
//   - a loaded store has at most 100 macros, a launch string for exactly the LaunchProgram and
//     TextBlock records, and a string total that is the sum of the sizes;
//   - a store loaded from a valid file saves a valid file that loads back the same.
//
// Input: the file's bytes. The file lives in memory (memfd) and is opened by its /proc path, so
// the real file code runs, size checks included.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "FuzzFiles.h"
#include "device/UserMessages.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"

namespace {

using namespace zarvin;

using fuzz::MemoryFile;
using fuzz::Require;

class CountingMessages : public UserMessages {
public:
    void ShowMessage(std::string_view /*textKey*/) override { ++shown; }
    int shown = 0;
};

void CheckPromises(const WorkingStore& store) {
    Require(store.MacroCount() <= kMaxMacroRecords);
    uint64_t total = 0;
    for (size_t record = 0; record < kKeyRecordCount; ++record) {
        const uint32_t size = store.LaunchStrings().SizeAt(record);
        Require(store.Assignment(record).CarriesLaunchString() == (size != 0));
        total += size;
    }
    Require(total == store.LaunchStrings().Total());
}

void CheckSavedFileLoadsBack(WorkingStore& store, MemoryFile& file) {
    const std::string saved = store.ProfileFileBytes();
    const std::span bytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
    Require(IsValidProfileFile(bytes));
    file.Fill(bytes);
    std::recursive_mutex lock;
    WorkingStore again(lock);
    Require(again.LoadProfileFile(file.Path()) == FileResult::Success);
    Require(again.Image() == store.Image());
    Require(again.Macros() == store.Macros());
    Require(again.LaunchStrings() == store.LaunchStrings());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile input("profile-input");
    static MemoryFile saved("profile-saved");
    input.Fill({data, size});

    CountingMessages messages;
    const int validation = ValidateProfileFile(input.Path(), messages);
    Require(validation == FileResult::Success || validation == FileResult::Failure);
    const bool judged = size >= kProfileImageBytes;
    Require(messages.shown == (judged && validation == FileResult::Failure ? 1 : 0));

    std::recursive_mutex lock;
    WorkingStore store(lock);
    const int loaded = store.LoadProfileFile(input.Path());
    // The same bytes from memory load exactly as the file does.
    std::recursive_mutex bytesLock;
    WorkingStore fromBytes(bytesLock);
    Require(fromBytes.LoadProfileBytes({reinterpret_cast<const char*>(data), size}) == loaded);
    Require(fromBytes.Image() == store.Image());
    Require(fromBytes.Macros() == store.Macros());
    Require(fromBytes.LaunchStrings() == store.LaunchStrings());
    if (validation == FileResult::Success) {
        Require(loaded == FileResult::Success);
    }
    if (loaded != FileResult::Success) {
        Require(store.Image() == DefaultProfileImage(0));
        Require(store.Macros().empty());
        Require(store.LaunchStrings().Total() == 0);
        return 0;
    }
    CheckPromises(store);
    if (validation == FileResult::Success) {
        CheckSavedFileLoadsBack(store, saved);
    }
    return 0;
}
