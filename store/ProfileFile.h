#pragma once

// The profile file form, one layout for the per-user cache file, ".fwc" backups and the blank
// profiles of the profile dialog. Numbers are little-endian, strings UTF-16LE:
//
//   offset 0        32          header (ProfileFileHeader)
//   offset 32       32          device block: fixed contents, written always, never read
//   offset 64       32768       four key tables of 512 KeyAssignment records, table p at
//                               64 + 8192 × p
//   offset 32832    n × 32512   n macro records (MacroRecord), at most 100
//   then            s           launch-string block: UTF-16 strings with their terminators, one
//                               after another; a LaunchProgram or TextBlock record holds the byte
//                               offset of its string in `value`
//
// The first 32832 bytes are the store's image. Files are untrusted: every size, count and offset
// is checked against the real file and the block it points into before anything is read.
// Validation (before an import) refuses what no writer of the form produces; loading follows the
// form's reading rules where they are safe (see LocateLaunchStrings).

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"

namespace zarvin {

class UserMessages;

// Results of the file operations.
namespace FileResult {
inline constexpr int Success = 1;
// Failed; for validation also: missing, or not a profile file.
inline constexpr int Failure = 0;
inline constexpr int CannotOpen = -2;
inline constexpr int OutOfMemory = -3;
}  // namespace FileResult

inline constexpr size_t kProfileHeaderBytes = 32;
inline constexpr size_t kDeviceBlockOffset = 32;
inline constexpr size_t kKeyTablesOffset = 64;
inline constexpr size_t kProfileImageBytes = kKeyTablesOffset + kKeyTableCount * kKeyTableBytes;
static_assert(kProfileImageBytes == 32832);
// The total size is a 32-bit field.
inline constexpr uint64_t kMaxProfileFileBytes = UINT32_MAX;
// Launch strings may take what a file of the largest size leaves them.
inline constexpr uint32_t kMaxLaunchStringTotal = static_cast<uint32_t>(
    kMaxProfileFileBytes - kProfileImageBytes - kMaxMacroRecords * MacroRecord::kSize);

using ProfileImage = std::array<uint8_t, kProfileImageBytes>;
// Table `table` (0-3) of `image`.
KeyTableBytes KeyTableOf(ProfileImage& image, size_t table);

inline constexpr std::array<uint8_t, 32> kDeviceBlock = {
    0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
    0x45, 0x0C, 0x04, 0x50, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

struct ProfileFileHeader {
    static constexpr uint16_t kMagic = 0x4446;  // the bytes 46 44
    static constexpr uint16_t kWord4 = 3;
    static constexpr uint16_t kWord6 = 1;
    static constexpr uint16_t kKeyEntries = kKeyRecordCount;

    uint16_t magic = 0;
    uint16_t headerSize = 0;
    uint16_t word4 = 0;  // always 3
    uint16_t word6 = 0;  // always 1
    uint32_t totalSize = 0;
    uint16_t keyEntries = 0;
    uint16_t macroCount = 0;
    uint32_t stringBytes = 0;
    uint8_t flag = 0;
    uint8_t checksum = 0;

    static ProfileFileHeader Parse(std::span<const uint8_t, kProfileHeaderBytes> bytes);
};

// 32832 + n × 32512 + s: the size a header declares, and the bytes a file must hold.
uint64_t ProfileFileSize(uint64_t macroCount, uint64_t stringBytes);

// The low 8 bits of the sum of header bytes 0-30.
uint8_t ProfileHeaderChecksum(std::span<const uint8_t, kProfileHeaderBytes> header);

// Writes the header for `macroCount` records and `stringBytes` of strings, with its checksum,
// and the device block.
void WriteProfileHeader(ProfileImage& image, uint16_t macroCount, uint32_t stringBytes,
                        uint8_t flag);

// Header with n = 0 and s = 0, the device block, all four key tables cleared except that the G
// keys of table 0 carry their identifiers.
ProfileImage DefaultProfileImage(uint8_t flag);

// Writes DefaultProfileImage(flag) as the whole file at `path` (a blank profile).
// Success or Failure; a failed write keeps what was there.
int CreateDefaultImage(const std::filesystem::path& path, uint8_t flag);

using ImageBytes = std::span<const uint8_t, kProfileImageBytes>;

// The 16 bytes of key record `record` (0-2047) of an image.
std::span<const uint8_t, KeyAssignment::kSize> RecordBytes(ImageBytes image, size_t record);
std::span<uint8_t, KeyAssignment::kSize> RecordBytes(ProfileImage& image, size_t record);

// Where the string of a LaunchProgram or TextBlock record lies in a launch-string block.
struct LaunchStringPlace {
    size_t record = 0;
    size_t offset = 0;  // bytes into the block
    size_t length = 0;  // UTF-16 units before the terminator or the block's end
};

enum class StringRules {
    // Validation: offsets even, every string terminated inside the block.
    Strict,
    // Loading, as the form is read: an odd offset is rounded down, and a string that runs to the
    // block's end without terminator ends there.
    Lenient,
};

// The places of the strings of every LaunchProgram and TextBlock record of `image` in `block`,
// or nothing when one lies outside the block, two strings overlap (each string is placed on its
// own, so a shared or overlapping offset is a damaged file) or `rules` refuse one. Reads
// nothing outside the block and takes time in proportion to the block's size.
std::optional<std::vector<LaunchStringPlace>> LocateLaunchStrings(ImageBytes image,
                                                                  std::span<const uint8_t> block,
                                                                  StringRules rules);

// The string at `place`, without terminator.
std::u16string LaunchStringAt(std::span<const uint8_t> block, const LaunchStringPlace& place);

// Everything the validation checks, over a whole file's bytes: the header's fixed fields, its
// checksum, flag 0 or 1, n ≤ 100, total size = 32832 + n × 32512 + s; beyond that, that the file
// holds the total size (longer files pass; what follows is never read), that every macro's name
// is terminated and its action count at most 4000, and that the strings follow StringRules::Strict.
bool IsValidProfileFile(std::span<const uint8_t> file);

// Checks a file before an import: Success when valid; Failure when missing or when it has fewer
// than 32832 or more than 2^32 - 1 bytes (without a message), or when IsValidProfileFile refuses
// it (then `messages` shows PROFILE_FORMAT_ERROR with the path); CannotOpen when it is there but
// cannot be read (no permission, not a regular file); OutOfMemory when it cannot be held.
int ValidateProfileFile(const std::filesystem::path& path, UserMessages& messages);

}  // namespace zarvin
