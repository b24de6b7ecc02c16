#pragma once

// The profile store: the system's copy of what the keyboard keeps about keys and macros. The key
// records of every profile live in an image laid out as the first 32832 bytes of a profile file
// (store/ProfileFile.h), beside it the macro records and the launch strings (program paths and
// text blocks) that LaunchProgram and TextBlock records carry. There are two stores:
//
//   WorkingStore  what the editors change and the per-user cache file mirrors. Launch strings
//                 are kept per key record (LaunchStringTable); the records' `value` means
//                 nothing for them.
//   AppliedStore  the snapshot an apply writes to the keyboard (TakeSnapshotOf). Launch strings
//                 are one packed block, as in a file, and the records hold their offsets in it.
//
// Locks: each store is guarded by a recursive lock it is given (AppContext's workingConfigLock
// and appliedConfigLock, which outlive the stores). Every member function takes its store's lock
// itself. A caller takes it as well (Lock()) to make several calls one step, as a refresh does
// with EmptyStore and LoadProfileFile, and for as long as it uses a reference an accessor
// returned. Where both locks are taken, the working store's comes first.
//
// The working store keeps two promises: at most 100 macros, and a launch string for every
// LaunchProgram and TextBlock record, so that a saved file always has a string for each.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"
#include "store/LaunchStringTable.h"
#include "store/ProfileFile.h"

namespace zarvin {

// What both stores keep the same way.
class ProfileStore {
public:
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    std::recursive_mutex& Lock() const { return lock_; }

    // The caller holds the lock while it uses these.
    const ProfileImage& Image() const { return image_; }
    const std::vector<MacroRecord>& Macros() const { return macros_; }

    uint16_t MacroCount() const;
    // Key record `record` (KeyRecordNumber(profile, slot)); a cleared record outside 0-2047.
    KeyAssignment Assignment(size_t record) const;

protected:
    explicit ProfileStore(std::recursive_mutex& lock) : lock_(lock) {}
    ~ProfileStore() = default;

    std::recursive_mutex& lock_;
    ProfileImage image_{};
    std::vector<MacroRecord> macros_;
};

class WorkingStore : public ProfileStore {
public:
    // Starts with a cleared image (CreateDefaultImage with flag 0), no macros and no strings.
    explicit WorkingStore(std::recursive_mutex& lock);

    // Makes DefaultProfileImage(flag) the image; macros and launch strings stay as they are.
    void CreateDefaultImage(uint8_t flag);

    // Frees the launch strings, the macros and the image. The image left behind is all zeros,
    // every key at its default, so that no reader ever meets a missing one.
    void EmptyStore();

    // Reads a profile file into the store: Success, or Failure with the store as it was. It fails
    // when the file is missing, unreadable or shorter than 32832 bytes, declares more than 100
    // macros or more bytes than it holds, when a string offset lies outside the string block or
    // two strings overlap, or when memory runs out. Strings are read by StringRules::Lenient. The
    // header is not checked further: an import validates first; the cache file is our own.
    int LoadProfileFile(const std::filesystem::path& path);
    // The same for a profile file's bytes already in memory.
    int LoadProfileBytes(std::string_view bytes);

    // Writes ProfileFileBytes() to `path`: to a temporary file in the same folder, flushed to the
    // disk and renamed over `path`, so a failed save leaves the previous file as it was.
    // Success or Failure. (No "take lock" flag: the lock is re-entrant, so it is always taken.)
    int SaveProfileFile(const std::filesystem::path& path);

    // The store in file form. First rewrites the image's header for the macro count and the
    // string total (flag 0) and its device block, and packs the strings (PackLaunchStrings).
    std::string ProfileFileBytes();

    // One block of LaunchStrings().Total() bytes: in record order, the string of each
    // LaunchProgram and TextBlock record goes to the running offset, which becomes the
    // record's `value` in the image; bytes of strings whose record no longer carries one stay
    // zero at the end.
    std::vector<uint8_t> PackLaunchStrings();

    // The caller holds the lock while it uses the reference.
    const LaunchStringTable& LaunchStrings() const { return strings_; }

    // Writes key record `record`, freeing the launch string it had; a LaunchProgram or TextBlock
    // record gets `launchString` as its string. False, with nothing changed, for a record outside
    // 0-2047 or a string that LaunchStringTable::Set refuses.
    bool SetAssignment(size_t record, const KeyAssignment& assignment,
                       std::u16string launchString = {});

    // Replaces the macros, in list order. False, with nothing changed, for more than 100.
    bool SetMacros(std::vector<MacroRecord> macros);

private:
    // LoadProfileFile's work over a ProfileFileReader or the same reads from memory.
    template <typename Reader>
    int Load(Reader& reader);

    LaunchStringTable strings_;
};

class AppliedStore : public ProfileStore {
public:
    // Starts empty: a zero image, no macros, no strings.
    explicit AppliedStore(std::recursive_mutex& lock) : ProfileStore(lock) {}

    // Replaces the whole store with a snapshot of `working`, under the working store's lock and
    // then its own: the working image with its header rewritten (flag 0), its macros, and its
    // strings packed as a save packs them (the offsets go into both images). False, with the
    // snapshot as it was, when memory runs out.
    bool TakeSnapshotOf(WorkingStore& working);

    // The caller holds the lock while it uses the reference.
    const std::vector<uint8_t>& PackedLaunchStrings() const { return packedStrings_; }
    uint32_t LaunchStringTotal() const;

private:
    std::vector<uint8_t> packedStrings_;
};

}  // namespace zarvin
