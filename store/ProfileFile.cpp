#include "store/ProfileFile.h"

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

#include "device/UserMessages.h"
#include "model/LittleEndian.h"
#include "model/TextKeys.h"
#include "platform/WholeFile.h"
#include "store/ProfileFileReader.h"

namespace zarvin {

namespace {

bool IsValidHeader(std::span<const uint8_t, kProfileHeaderBytes> bytes) {
    const ProfileFileHeader header = ProfileFileHeader::Parse(bytes);
    return header.magic == ProfileFileHeader::kMagic && header.headerSize == kProfileHeaderBytes &&
           header.word4 == ProfileFileHeader::kWord4 && header.word6 == ProfileFileHeader::kWord6 &&
           header.totalSize >= kProfileImageBytes &&
           header.keyEntries == ProfileFileHeader::kKeyEntries &&
           header.macroCount <= kMaxMacroRecords && header.flag <= 1 &&
           header.totalSize == ProfileFileSize(header.macroCount, header.stringBytes) &&
           header.checksum == ProfileHeaderChecksum(bytes);
}

// A record as this program writes it: a terminated name and no more actions than it holds.
bool IsValidMacroRecord(std::span<const uint8_t, MacroRecord::kSize> bytes) {
    if (LoadLe16(bytes, MacroRecord::kActionCountOffset) > MacroRecord::kMaxActions) {
        return false;
    }
    for (size_t unit = 0; unit <= MacroRecord::kMaxNameLength; ++unit) {
        if (LoadLe16(bytes, MacroRecord::kNameOffset + 2 * unit) == 0) {
            return true;
        }
    }
    return false;
}

// Where the terminator of the string at `offset` starts, looking no further than `limit`.
std::optional<size_t> FindTerminator(std::span<const uint8_t> block, size_t offset, size_t limit) {
    for (size_t at = offset; at + 1 < limit; at += 2) {
        if (block[at] == 0 && block[at + 1] == 0) {
            return at;
        }
    }
    return std::nullopt;
}

}  // namespace

uint64_t ProfileFileSize(uint64_t macroCount, uint64_t stringBytes) {
    return kProfileImageBytes + macroCount * MacroRecord::kSize + stringBytes;
}

ProfileFileHeader ProfileFileHeader::Parse(std::span<const uint8_t, kProfileHeaderBytes> bytes) {
    return ProfileFileHeader{
        .magic = LoadLe16(bytes, 0),
        .headerSize = LoadLe16(bytes, 2),
        .word4 = LoadLe16(bytes, 4),
        .word6 = LoadLe16(bytes, 6),
        .totalSize = LoadLe32(bytes, 8),
        .keyEntries = LoadLe16(bytes, 12),
        .macroCount = LoadLe16(bytes, 14),
        .stringBytes = LoadLe32(bytes, 16),
        .flag = bytes[30],
        .checksum = bytes[31],
    };
}

uint8_t ProfileHeaderChecksum(std::span<const uint8_t, kProfileHeaderBytes> header) {
    unsigned sum = 0;
    for (size_t i = 0; i < kProfileHeaderBytes - 1; ++i) {
        sum += header[i];
    }
    return static_cast<uint8_t>(sum);
}

void WriteProfileHeader(ProfileImage& image, uint16_t macroCount, uint32_t stringBytes,
                        uint8_t flag) {
    const std::span<uint8_t> bytes(image);
    std::fill_n(bytes.begin(), kProfileHeaderBytes, uint8_t{0});
    StoreLe16(bytes, 0, ProfileFileHeader::kMagic);
    StoreLe16(bytes, 2, kProfileHeaderBytes);
    StoreLe16(bytes, 4, ProfileFileHeader::kWord4);
    StoreLe16(bytes, 6, ProfileFileHeader::kWord6);
    StoreLe32(bytes, 8, static_cast<uint32_t>(ProfileFileSize(macroCount, stringBytes)));
    StoreLe16(bytes, 12, ProfileFileHeader::kKeyEntries);
    StoreLe16(bytes, 14, macroCount);
    StoreLe32(bytes, 16, stringBytes);
    bytes[30] = flag;
    bytes[31] = ProfileHeaderChecksum(bytes.first<kProfileHeaderBytes>());
    std::copy(kDeviceBlock.begin(), kDeviceBlock.end(), bytes.begin() + kDeviceBlockOffset);
}

ProfileImage DefaultProfileImage(uint8_t flag) {
    ProfileImage image{};
    WriteProfileHeader(image, 0, 0, flag);
    for (size_t i = 0; i < kGKeyIds.size(); ++i) {
        StoreLe16(RecordBytes(image, KeyRecordNumber(0, kFirstGKeySlot + i)), 2, kGKeyIds[i]);
    }
    return image;
}

int CreateDefaultImage(const std::filesystem::path& path, uint8_t flag) {
    const ProfileImage image = DefaultProfileImage(flag);
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    return WriteWholeFileAtomically(path, bytes) ? FileResult::Success : FileResult::Failure;
}

std::span<const uint8_t, KeyAssignment::kSize> RecordBytes(ImageBytes image, size_t record) {
    return image.subspan(kKeyTablesOffset + KeyAssignment::kSize * record)
        .first<KeyAssignment::kSize>();
}

std::span<uint8_t, KeyAssignment::kSize> RecordBytes(ProfileImage& image, size_t record) {
    return std::span(image)
        .subspan(kKeyTablesOffset + KeyAssignment::kSize * record)
        .first<KeyAssignment::kSize>();
}

std::optional<std::vector<LaunchStringPlace>> LocateLaunchStrings(ImageBytes image,
                                                                  std::span<const uint8_t> block,
                                                                  StringRules rules) {
    std::vector<LaunchStringPlace> places;
    for (size_t record = 0; record < kKeyRecordCount; ++record) {
        const KeyAssignment assignment = LoadKeyAssignment(RecordBytes(image, record));
        if (!assignment.CarriesLaunchString()) {
            continue;
        }
        size_t offset = static_cast<uint32_t>(assignment.value);
        if (offset % 2 != 0) {
            if (rules == StringRules::Strict) {
                return std::nullopt;
            }
            --offset;
        }
        if (offset >= block.size()) {
            return std::nullopt;
        }
        places.push_back({.record = record, .offset = offset});
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const auto& a, const auto& b) { return a.offset < b.offset; });

    // Each string must end before the next one starts, so the block is scanned once in all.
    for (size_t i = 0; i < places.size(); ++i) {
        LaunchStringPlace& place = places[i];
        const bool last = i + 1 == places.size();
        const size_t limit = last ? block.size() : places[i + 1].offset;
        if (const auto terminator = FindTerminator(block, place.offset, limit)) {
            place.length = (*terminator - place.offset) / 2;
        } else if (last && rules == StringRules::Lenient) {
            place.length = (block.size() - place.offset) / 2;
        } else {
            return std::nullopt;
        }
    }
    return places;
}

std::u16string LaunchStringAt(std::span<const uint8_t> block, const LaunchStringPlace& place) {
    std::u16string text(place.length, u'\0');
    for (size_t i = 0; i < place.length; ++i) {
        text[i] = static_cast<char16_t>(LoadLe16(block, place.offset + 2 * i));
    }
    return text;
}

bool IsValidProfileFile(std::span<const uint8_t> file) {
    if (file.size() < kProfileImageBytes || !IsValidHeader(file.first<kProfileHeaderBytes>())) {
        return false;
    }
    const ProfileFileHeader header = ProfileFileHeader::Parse(file.first<kProfileHeaderBytes>());
    if (file.size() < header.totalSize) {
        return false;
    }
    for (size_t i = 0; i < header.macroCount; ++i) {
        const auto record =
            file.subspan(kProfileImageBytes + i * MacroRecord::kSize).first<MacroRecord::kSize>();
        if (!IsValidMacroRecord(record)) {
            return false;
        }
    }
    const auto block = file.subspan(kProfileImageBytes + header.macroCount * MacroRecord::kSize,
                                    header.stringBytes);
    return LocateLaunchStrings(file.first<kProfileImageBytes>(), block, StringRules::Strict)
        .has_value();
}

int ValidateProfileFile(const std::filesystem::path& path, UserMessages& messages) {
    ProfileFileReader reader;
    if (const int opened = reader.Open(path); opened != FileResult::Success) {
        return opened;
    }
    if (reader.Size() < kProfileImageBytes || reader.Size() > kMaxProfileFileBytes) {
        return FileResult::Failure;
    }
    std::vector<uint8_t> bytes(kProfileImageBytes);
    if (!reader.Read(bytes)) {
        return FileResult::CannotOpen;
    }
    // Bytes past the declared size are never used, so they are not read either.
    const uint64_t declared = std::max<uint64_t>(LoadLe32(bytes, 8), kProfileImageBytes);
    try {
        bytes.resize(static_cast<size_t>(std::min(reader.Size(), declared)));
    } catch (const std::bad_alloc&) {
        return FileResult::OutOfMemory;
    }
    if (!reader.Read(std::span(bytes).subspan(kProfileImageBytes))) {
        return FileResult::CannotOpen;
    }
    if (!IsValidProfileFile(bytes)) {
        messages.ShowFormattedMessage(text_keys::PROFILE_FORMAT_ERROR, path.string());
        return FileResult::Failure;
    }
    return FileResult::Success;
}

KeyTableBytes KeyTableOf(ProfileImage& image, size_t table) {
    return std::span(image)
        .subspan(kKeyTablesOffset + kKeyTableBytes * table)
        .first<kKeyTableBytes>();
}

}  // namespace zarvin
