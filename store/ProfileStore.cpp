#include "store/ProfileStore.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "model/LittleEndian.h"
#include "platform/WholeFile.h"
#include "store/ProfileFileReader.h"

namespace zarvin {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

std::span<uint8_t> BytesOf(std::vector<MacroRecord>& macros) {
    return {reinterpret_cast<uint8_t*>(macros.data()), macros.size() * MacroRecord::kSize};
}

std::string_view CharsOf(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A profile file already in memory, read as ProfileFileReader reads one on disk.
class ProfileBytesReader {
public:
    explicit ProfileBytesReader(std::string_view bytes) : rest_(bytes), size_(bytes.size()) {}

    uint64_t Size() const { return size_; }

    bool Read(std::span<uint8_t> into) {
        if (into.size() > rest_.size()) {
            return false;
        }
        std::copy_n(rest_.begin(), into.size(), into.begin());
        rest_.remove_prefix(into.size());
        return true;
    }

private:
    std::string_view rest_;
    uint64_t size_;
};

}  // namespace

uint16_t ProfileStore::MacroCount() const {
    const Guard guard(lock_);
    return static_cast<uint16_t>(macros_.size());
}

KeyAssignment ProfileStore::Assignment(size_t record) const {
    const Guard guard(lock_);
    return record < kKeyRecordCount ? LoadKeyAssignment(RecordBytes(image_, record))
                                    : KeyAssignment{};
}

WorkingStore::WorkingStore(std::recursive_mutex& lock) : ProfileStore(lock) {
    CreateDefaultImage(0);
}

void WorkingStore::CreateDefaultImage(uint8_t flag) {
    const Guard guard(lock_);
    image_ = DefaultProfileImage(flag);
}

void WorkingStore::EmptyStore() {
    const Guard guard(lock_);
    strings_.ClearAll();
    std::vector<MacroRecord>().swap(macros_);
    image_.fill(0);
}

int WorkingStore::LoadProfileFile(const std::filesystem::path& path) {
    ProfileFileReader reader;
    if (reader.Open(path) != FileResult::Success) {
        return FileResult::Failure;
    }
    return Load(reader);
}

int WorkingStore::LoadProfileBytes(std::string_view bytes) {
    ProfileBytesReader reader(bytes);
    return Load(reader);
}

template <typename Reader>
int WorkingStore::Load(Reader& reader) {
    const Guard guard(lock_);
    try {
        if (reader.Size() < kProfileImageBytes) {
            return FileResult::Failure;
        }
        ProfileImage image;
        if (!reader.Read(image)) {
            return FileResult::Failure;
        }
        const auto header =
            ProfileFileHeader::Parse(std::span(image).template first<kProfileHeaderBytes>());
        if (header.macroCount > kMaxMacroRecords ||
            ProfileFileSize(header.macroCount, header.stringBytes) > reader.Size()) {
            return FileResult::Failure;
        }
        std::vector<MacroRecord> macros(header.macroCount);
        std::vector<uint8_t> block(header.stringBytes);
        if (!reader.Read(BytesOf(macros)) || !reader.Read(block)) {
            return FileResult::Failure;
        }
        const auto places = LocateLaunchStrings(image, block, StringRules::Lenient);
        if (!places) {
            return FileResult::Failure;
        }
        LaunchStringTable strings;
        for (const LaunchStringPlace& place : *places) {
            if (!strings.Set(place.record, LaunchStringAt(block, place))) {
                return FileResult::Failure;
            }
        }
        image_ = image;
        macros_ = std::move(macros);
        strings_ = std::move(strings);
        return FileResult::Success;
    } catch (const std::bad_alloc&) {
        return FileResult::Failure;
    }
}

int WorkingStore::SaveProfileFile(const std::filesystem::path& path) {
    const Guard guard(lock_);
    std::string bytes;
    try {
        bytes = ProfileFileBytes();
    } catch (const std::bad_alloc&) {
        return FileResult::Failure;
    }
    return WriteWholeFileIfChanged(path, bytes) ? FileResult::Success : FileResult::Failure;
}

std::string WorkingStore::ProfileFileBytes() {
    const Guard guard(lock_);
    const std::vector<uint8_t> block = PackLaunchStrings();
    WriteProfileHeader(image_, MacroCount(), strings_.Total(), 0);
    std::string bytes;
    bytes.reserve(ProfileFileSize(macros_.size(), block.size()));
    bytes += CharsOf(image_);
    bytes += CharsOf(BytesOf(macros_));
    bytes += CharsOf(block);
    return bytes;
}

std::vector<uint8_t> WorkingStore::PackLaunchStrings() {
    const Guard guard(lock_);
    std::vector<uint8_t> block(strings_.Total());
    size_t offset = 0;
    for (size_t record = 0; record < kKeyRecordCount; ++record) {
        const uint32_t size = strings_.SizeAt(record);
        const auto recordBytes = RecordBytes(image_, record);
        if (size == 0 || offset + size > block.size() ||
            !LoadKeyAssignment(recordBytes).CarriesLaunchString()) {
            continue;
        }
        const std::u16string& text = *strings_.At(record);
        for (size_t i = 0; i < text.size(); ++i) {
            StoreLe16(block, offset + 2 * i, text[i]);
        }
        StoreLe32(recordBytes, 4, static_cast<uint32_t>(offset));
        offset += size;
    }
    return block;
}

bool WorkingStore::SetAssignment(size_t record, const KeyAssignment& assignment,
                                 std::u16string launchString) {
    const Guard guard(lock_);
    if (record >= kKeyRecordCount) {
        return false;
    }
    if (assignment.CarriesLaunchString()) {
        if (!strings_.Set(record, std::move(launchString))) {
            return false;
        }
    } else {
        strings_.Clear(record);
    }
    StoreKeyAssignment(assignment, RecordBytes(image_, record));
    return true;
}

bool WorkingStore::SetMacros(std::vector<MacroRecord> macros) {
    const Guard guard(lock_);
    if (macros.size() > kMaxMacroRecords) {
        return false;
    }
    macros_ = std::move(macros);
    return true;
}

bool AppliedStore::TakeSnapshotOf(WorkingStore& working) {
    const Guard workingGuard(working.Lock());
    const Guard guard(lock_);
    try {
        // Packed before the image is copied, so that the snapshot's records point into the
        // snapshot's own block.
        std::vector<uint8_t> block = working.PackLaunchStrings();
        ProfileImage image = working.Image();
        WriteProfileHeader(image, working.MacroCount(), static_cast<uint32_t>(block.size()), 0);
        std::vector<MacroRecord> macros = working.Macros();
        image_ = image;
        macros_ = std::move(macros);
        packedStrings_ = std::move(block);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

uint32_t AppliedStore::LaunchStringTotal() const {
    const Guard guard(lock_);
    return static_cast<uint32_t>(packedStrings_.size());
}

}  // namespace zarvin
