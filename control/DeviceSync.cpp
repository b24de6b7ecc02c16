#include "control/DeviceSync.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "control/ProfileKeyMaps.h"
#include "control/ProfileMacros.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/UserMessages.h"
#include "model/KeyMapCodec.h"
#include "model/MacroArea.h"
#include "model/MacroAreaHeader.h"
#include "model/TextKeys.h"
#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/ProfileStorePaths.h"
#include "store/ProfileStores.h"

namespace zarvin {
namespace {

std::vector<int32_t> MacroIdsOf(const std::vector<MacroRecord>& macros) {
    std::vector<int32_t> ids;
    ids.reserve(macros.size());
    for (const MacroRecord& macro : macros) {
        ids.push_back(macro.Id());
    }
    return ids;
}

// Key-map buffers are as large as the largest model's block.
using KeyMapBlock = std::array<uint8_t, kDefaultKeyMatrixBytes>;

// The backup refuses a keyboard that names an active profile beyond this.
constexpr int kHighestActiveProfile = 3;

// Keeps the result of the first operation that failed.
class FirstFailure {
public:
    explicit FirstFailure(int* target) : target_(target) {
        if (target_ != nullptr) {
            *target_ = CommandResult::Success;
        }
    }
    // Returns `result`, noting it when it is the first failure.
    int Note(int result) {
        if (target_ != nullptr && result != CommandResult::Success &&
            *target_ == CommandResult::Success) {
            *target_ = result;
        }
        return result;
    }

private:
    int* target_;
};

}  // namespace

DeviceSync::DeviceSync(const AppContext& context, CommandLink& link, DeviceImage& device,
                       ProfileStores& stores, UserMessages& messages, TextLookup texts)
    : context_(context),
      link_(link),
      device_(device),
      stores_(stores),
      messages_(messages),
      texts_(std::move(texts)) {}

int DeviceSync::BackupDeviceToFile(const std::filesystem::path& path, int* commandResult) {
    std::string file;
    if (ReadDeviceInFileForm(file, commandResult) != FileResult::Success) {
        return FileResult::Failure;
    }
    // A keyboard that did not change since the last connection gives the same 3 MB again.
    return WriteWholeFileIfChanged(path, file) ? FileResult::Success : FileResult::Failure;
}

int DeviceSync::ReadDeviceInFileForm(std::string& file, int* commandResult) {
    FirstFailure failure(commandResult);
    int profileRead = CommandResult::Success;
    const int active = device_.GetActiveProfile(link_, &profileRead);
    if (active < 0) {
        failure.Note(profileRead);
        return FileResult::Failure;
    }
    if (active > kHighestActiveProfile) {
        failure.Note(CommandResult::BadProfile);
        return FileResult::Failure;
    }

    // Entries mean something only against the keyboard's own layout.
    if (failure.Note(device_.EnsureKeyMatrix(link_)) != CommandResult::Success) {
        return FileResult::Failure;
    }
    std::array<KeyMapBlock, kProfileCount> keyMaps{};
    for (int profile = 0; profile < kProfileCount; ++profile) {
        if (failure.Note(ReadKeyMap(link_, keyMaps[static_cast<size_t>(profile)], profile)) !=
            CommandResult::Success) {
            return FileResult::Failure;
        }
    }
    std::array<uint8_t, MacroAreaHeader::kSize> headerBytes{};
    if (failure.Note(ReadMacroArea(link_, headerBytes, headerBytes.size())) !=
        CommandResult::Success) {
        return FileResult::Failure;
    }
    const MacroAreaHeader header = MacroAreaHeader::Parse(headerBytes);
    std::vector<MacroRecord> macros;
    if (header.HoldsMacros()) {
        // The whole area again, header included, as long as the header says.
        std::vector<uint8_t> area(header.length);
        if (failure.Note(ReadMacroArea(link_, area, area.size())) != CommandResult::Success) {
            return FileResult::Failure;
        }
        macros = DecodeMacroArea(area, header.macroCount, texts_);
    }

    ProfileImage image{};
    WriteProfileHeader(image, static_cast<uint16_t>(macros.size()), 0, 0);
    const size_t keyMapLength =
        std::min<size_t>(link_.Geometry().blockLength, kDefaultKeyMatrixBytes);
    for (size_t profile = 0; profile < keyMaps.size(); ++profile) {
        DecodeKeyMap(std::span<const uint8_t>(keyMaps[profile]).first(keyMapLength), device_,
                     KeyTableOf(image, profile));
    }
    file.clear();
    file.reserve(image.size() + macros.size() * MacroRecord::kSize);
    file.append(image.begin(), image.end());
    for (const MacroRecord& macro : macros) {
        file.append(macro.bytes.begin(), macro.bytes.end());
    }
    return FileResult::Success;
}

int DeviceSync::LoadFromDevice(const std::function<void()>& refreshKeyView, int* commandResult) {
    EnsureUserFolder(context_);
    const std::filesystem::path cache = ProfilePath(context_, 0);
    // The read refuses a keyboard without an active profile itself. The store is loaded from
    // the bytes just written, not from the file read back.
    std::string file;
    bool read = ReadDeviceInFileForm(file, commandResult) == FileResult::Success &&
                WriteWholeFileIfChanged(cache, file);
    WorkingStore& working = stores_.Working();
    const std::lock_guard lock(working.Lock());
    working.EmptyStore();
    if (read && working.LoadProfileBytes(file) != FileResult::Success) {
        read = false;
    }
    if (read) {
        startedCleared_.reset();
        keyboardMacroIds_ = MacroIdsOf(working.Macros());
    } else {
        keyboardMacroIds_.reset();
        working.CreateDefaultImage(0);
        startedCleared_ = working.Image();
    }
    if (refreshKeyView) {
        refreshKeyView();
    }
    return read ? FileResult::Success : FileResult::Failure;
}

int DeviceSync::ApplyToDevice(bool allProfiles, int* firstFailure, bool* sent) {
    FirstFailure failure(firstFailure);
    if (sent != nullptr) {
        *sent = false;
    }
    const ProfileStores::BothLocked locked(stores_);
    if (!stores_.Applied().TakeSnapshotOf(stores_.Working())) {
        return CommandResult::NoReply;
    }
    return WriteKeysAndMacros(allProfiles, firstFailure, sent);
}

int DeviceSync::ApplyProfileToDevice(int profile, int* firstFailure, bool* sent) {
    FirstFailure failure(firstFailure);
    if (sent != nullptr) {
        *sent = false;
    }
    if (profile < 0 || profile >= kProfileCount) {
        failure.Note(CommandResult::BadProfile);
        return CommandResult::NoReply;
    }
    const ProfileStores::BothLocked locked(stores_);
    if (!stores_.Applied().TakeSnapshotOf(stores_.Working())) {
        return CommandResult::NoReply;
    }
    return WriteProfiles(profile, false, firstFailure, sent);
}

int DeviceSync::WriteKeysAndMacros(bool allProfiles, int* firstFailure, bool* sent) {
    return WriteProfiles(std::nullopt, allProfiles, firstFailure, sent);
}

int DeviceSync::WriteProfiles(std::optional<int> only, bool allProfiles, int* firstFailure,
                              bool* sent) {
    FirstFailure failure(firstFailure);
    if (sent != nullptr) {
        *sent = false;
    }
    // Building the key maps reads the working store's macro list as well.
    const ProfileStores::BothLocked locked(stores_);

    // What decides the bytes: the keyboard's layout and the room it has for macros.
    if (failure.Note(device_.EnsureKeyMatrix(link_)) != CommandResult::Success ||
        failure.Note(device_.EnsureMacroCapacity(link_)) != CommandResult::Success) {
        messages_.ShowMessage(text_keys::MAIN_APPLY_NOT_READ);
        return CommandResult::NoReply;
    }
    const auto layout =
        ChooseMacroAreaLayout(MacroAreaSizes(stores_.Applied()), device_.MacroCapacity());
    if (!layout) {
        messages_.ShowMessage(text_keys::EXTRA_MACRO_TOO_LONG);
        return CommandResult::NoReply;
    }
    std::vector<uint8_t> area;
    try {
        area.resize(layout->length);
    } catch (const std::bad_alloc&) {
        return CommandResult::NoReply;
    }
    if (!EncodeMacroArea(stores_.Applied(), area, layout->withNames)) {
        return CommandResult::NoReply;
    }

    const std::vector<int32_t> macroIds = MacroIdsOf(stores_.Applied().Macros());
    const bool macrosMove = keyboardMacroIds_ != macroIds;
    std::vector<int> profiles;
    if (only) {
        profiles = {*only};
    } else if (allProfiles) {
        profiles = {0, 1, 2};
    } else {
        int profileRead = CommandResult::Success;
        const int active = device_.GetActiveProfile(link_, &profileRead);
        if (active < 0) {
            failure.Note(profileRead);
            return CommandResult::NoReply;
        }
        profiles = {active};
    }
    if (macrosMove) {
        profiles = {0, 1, 2};
    }

    const size_t keyMapLength =
        std::min<size_t>(link_.Geometry().blockLength, kDefaultKeyMatrixBytes);
    int lastKeyMapWrite = CommandResult::NoReply;
    {
        // What the keyboard holds is read under the same lock as the writes that follow it.
        const std::lock_guard batch(link_.Lock());
        std::vector<KeyMapBlock> held(profiles.size());
        for (size_t i = 0; i < profiles.size(); ++i) {
            if (failure.Note(ReadKeyMap(link_, held[i], profiles[i])) != CommandResult::Success) {
                messages_.ShowMessage(text_keys::MAIN_APPLY_NOT_READ);
                return CommandResult::NoReply;
            }
        }
        std::vector<KeyMapBlock> keyMaps(profiles.size());
        for (size_t i = 0; i < profiles.size(); ++i) {
            HeldKeyMap keyboard{.block = std::span<const uint8_t>(held[i]).first(keyMapLength),
                                .startingTable = {}};
            if (startedCleared_) {
                keyboard.startingTable =
                    KeyTableOf(*startedCleared_, static_cast<size_t>(profiles[i]));
            }
            BuildKeyMap(profiles[i], keyMaps[i], device_, stores_, &keyboard);
        }
        if (sent != nullptr) {
            *sent = true;
        }
        failure.Note(BeginTransfer(link_));
        // A working store that started cleared knows nothing of the keyboard's macros: unless
        // the user made some, those on the keyboard stay.
        const bool writeArea = !startedCleared_ || stores_.Applied().MacroCount() > 0;
        bool allWritten = !writeArea || failure.Note(WriteMacroArea(link_, area, area.size())) ==
                                            CommandResult::Success;
        for (size_t i = 0; i < profiles.size(); ++i) {
            lastKeyMapWrite = failure.Note(WriteKeyMap(link_, keyMaps[i], profiles[i]));
            allWritten = allWritten && lastKeyMapWrite == CommandResult::Success;
        }
        failure.Note(EndTransfer(link_));
        // After a partial write, some key map may still name the old positions: the next apply
        // writes all three again.
        if (!allWritten) {
            keyboardMacroIds_.reset();
        } else if (writeArea) {
            keyboardMacroIds_ = macroIds;
        }
    }
    if (!layout->withNames) {
        messages_.ShowMessage(text_keys::EXTRA_PROFILE_SPACE_TIGHT);
    }
    return lastKeyMapWrite == CommandResult::Success ? CommandResult::Success
                                                     : CommandResult::NoReply;
}

}  // namespace zarvin
