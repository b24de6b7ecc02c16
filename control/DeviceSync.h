#pragma once

// Moves the key and macro configuration between the keyboard and the profile stores: a backup of
// the keyboard in the profile file form, the refresh of the working store from the keyboard
// through the profile cache file, and the apply, which snapshots the working store into the
// applied store and writes it to the keyboard in one transfer:
//
//   BeginTransfer, the macro area, the key map of each profile written, EndTransfer
//
// with the command lock held across the whole batch, so no other exchange lands in between.
// Lighting and key colours do not pass through here.
//
// Locks: LoadFromDevice takes the working store's lock; ApplyToDevice and WriteKeysAndMacros
// hold both stores' locks (ProfileStores::BothLocked) for the whole snapshot and write. Every keyboard exchange runs on the calling thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/KeyCodes.h"
#include "store/ProfileFile.h"

namespace zarvin {

class AppContext;
class CommandLink;
class DeviceImage;
class ProfileStores;
class UserMessages;

class DeviceSync {
public:
    // `device` holds the connected keyboard's model, default key matrix and macro capacity
    // (DeviceImage::LoadConnectionData has run). `texts` names macros that the keyboard keeps
    // without names. Every collaborator outlives this object.
    DeviceSync(const AppContext& context, CommandLink& link, DeviceImage& device,
               ProfileStores& stores, UserMessages& messages, TextLookup texts);

    // Reads the three key maps and the macro area and writes them to `path` in file form.
    // FileResult::Success, or Failure when the keyboard names no active profile in 0-3, a read
    // fails or the file cannot be written (then the file is as it was). `commandResult`, when
    // given, receives the result of the keyboard operation that failed, else Success.
    int BackupDeviceToFile(const std::filesystem::path& path, int* commandResult = nullptr);

    // Replaces the working store with what the keyboard holds, writing the profile cache file;
    // when the keyboard cannot be read, with a cleared image and no macros. `refreshKeyView`
    // runs while the working store's lock is still held. Success when the keyboard was read,
    // Failure when the cleared image was taken; `commandResult` as for BackupDeviceToFile.
    // Disabling the window's apply afterwards is the caller's.
    int LoadFromDevice(const std::function<void()>& refreshKeyView = {},
                       int* commandResult = nullptr);

    // The working store was replaced as a whole (a backup file imported): every record in it is
    // what the user wants written, even after a failed read of the keyboard.
    void WorkingStoreReplaced() { startedCleared_.reset(); }

    // Snapshots the working store into the applied store and writes it with WriteKeysAndMacros.
    int ApplyToDevice(bool allProfiles, int* firstFailure = nullptr, bool* sent = nullptr);
    // The same for the key map of `profile` (0-2) alone, whether it is active or not.
    int ApplyProfileToDevice(int profile, int* firstFailure = nullptr, bool* sent = nullptr);

    // Writes the applied store: the macro area (with the macros' names when they fit the
    // capacity, else without them and then EXTRA_PROFILE_SPACE_TIGHT), then the key map of the
    // active profile, or of profiles 0, 1 and 2 with `allProfiles`. When the macros' order on the
    // keyboard changes (one deleted, say) or is not known, all three key maps are written, so no
    // key of another profile is left playing whichever macro moved into its old position. Macros too large even
    // without names: EXTRA_MACRO_TOO_LONG and nothing is sent. CommandResult::Success when the
    // last key-map write succeeded, else NoReply; the other writes' results do not decide it
    // (the keyboard may be left partly written). `firstFailure`, when given, receives the result
    // of the first operation of the batch that failed, else Success; `sent`, whether any write
    // reached the keyboard.
    //
    // Key maps are built only against the keyboard's own layout and over what it holds now: the
    // default key matrix (when not read since the connection), the macro capacity (likewise) and
    // the key maps about to be written are read first, and a key whose record the user did not
    // change keeps the keyboard's bytes. When any of these reads fails, MAIN_APPLY_NOT_READ is
    // shown and nothing is sent.
    int WriteKeysAndMacros(bool allProfiles, int* firstFailure = nullptr, bool* sent = nullptr);

private:
    // Reads the three key maps and the macro area into `file`, in file form; Success or Failure
    // as BackupDeviceToFile, short of the writing.
    int ReadDeviceInFileForm(std::string& file, int* commandResult);

    // The profiles to write: `only`, or the active one, or all three; all three whenever the
    // macros' positions in the area change, since every key map names macros by position.
    int WriteProfiles(std::optional<int> only, bool allProfiles, int* firstFailure, bool* sent);

    const AppContext& context_;
    CommandLink& link_;
    DeviceImage& device_;
    ProfileStores& stores_;
    UserMessages& messages_;
    TextLookup texts_;
    // The cleared image the working store took when the keyboard could not be read; until the
    // next successful read, a record still as in it counts as untouched.
    std::optional<ProfileImage> startedCleared_;
    // The ids of the macros in the keyboard's area, in order, as last read or written; unknown
    // after a failed read or write.
    std::optional<std::vector<int32_t>> keyboardMacroIds_;
};

}  // namespace zarvin
