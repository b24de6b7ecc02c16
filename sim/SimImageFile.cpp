#include "sim/SimImageFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/WholeFile.h"

namespace zarvin::sim {
namespace {

constexpr std::array<uint8_t, 8> kMagic = {'Z', 'V', 'S', 'I', 'M', 'K', 'B', 0x1A};
constexpr uint16_t kFormatVersion = 1;
// Far above the largest image (about 40 KiB), so a wrong file is never read whole.
constexpr std::uintmax_t kMaxImageFileSize = 1 << 20;

std::string IdsText(uint16_t vendorId, uint16_t productId) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutArea(std::vector<uint8_t>& out, std::span<const uint8_t> area) {
    PutLe(out, static_cast<uint32_t>(area.size()), 4);
    out.insert(out.end(), area.begin(), area.end());
}

// Reads the image front to back; every Take checks there is enough left.
class ImageReader {
public:
    explicit ImageReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Take(size_t count, std::span<const uint8_t>& out) {
        if (bytes_.size() - position_ < count) {
            return false;
        }
        out = bytes_.subspan(position_, count);
        position_ += count;
        return true;
    }

    bool TakeLe(int count, uint32_t& value) {
        std::span<const uint8_t> raw;
        if (!Take(static_cast<size_t>(count), raw)) {
            return false;
        }
        value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = value << 8 | raw[static_cast<size_t>(i)];
        }
        return true;
    }

    size_t Left() const { return bytes_.size() - position_; }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// One area: its byte count must be `expected` and its bytes must all be there.
bool TakeArea(ImageReader& reader, const char* name, size_t expected,
              std::span<const uint8_t>& area, std::string& error) {
    uint32_t count = 0;
    if (!reader.TakeLe(4, count)) {
        error = std::string("the keyboard image is truncated before the ") + name;
        return false;
    }
    if (count != expected) {
        error = std::string("the ") + name + " in the keyboard image are " + std::to_string(count) +
                " bytes, expected " + std::to_string(expected);
        return false;
    }
    if (!reader.Take(count, area)) {
        error = std::string("the keyboard image is truncated in the ") + name;
        return false;
    }
    return true;
}

std::string SystemError(const char* what, const std::filesystem::path& file) {
    return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

}  // namespace

std::vector<uint8_t> EncodeImage(SimModel model, const SimMemory& memory) {
    const KeyboardModel& info = InfoOf(model);
    std::vector<uint8_t> out(kMagic.begin(), kMagic.end());
    PutLe(out, kFormatVersion, 2);
    PutLe(out, info.vendorId, 2);
    PutLe(out, info.productId, 2);
    PutArea(out, memory.deviceInfo);
    PutArea(out, memory.lighting);
    PutArea(out, memory.keyMaps);
    PutArea(out, memory.macroArea);
    PutArea(out, memory.keyColours);
    return out;
}

bool DecodeImage(std::span<const uint8_t> bytes, SimModel model, SimMemory& memory,
                 std::string& error) {
    const KeyboardModel& info = InfoOf(model);
    ImageReader reader(bytes);

    std::span<const uint8_t> magic;
    if (!reader.Take(kMagic.size(), magic) ||
        !std::equal(magic.begin(), magic.end(), kMagic.begin())) {
        error = "not a keyboard image (wrong magic)";
        return false;
    }
    uint32_t version = 0;
    uint32_t vendorId = 0;
    uint32_t productId = 0;
    if (!reader.TakeLe(2, version) || !reader.TakeLe(2, vendorId) || !reader.TakeLe(2, productId)) {
        error = "the keyboard image is truncated in its header";
        return false;
    }
    if (version != kFormatVersion) {
        error = "keyboard image format version " + std::to_string(version) +
                " is not supported (expected " + std::to_string(kFormatVersion) + ")";
        return false;
    }
    if (vendorId != info.vendorId || productId != info.productId) {
        error = "the keyboard image is of keyboard " +
                IdsText(static_cast<uint16_t>(vendorId), static_cast<uint16_t>(productId)) +
                ", not " + IdsText(info.vendorId, info.productId);
        return false;
    }

    SimMemory loaded;
    std::span<const uint8_t> area;
    if (!TakeArea(reader, "device information", kDeviceInfoSize, area, error)) {
        return false;
    }
    std::copy(area.begin(), area.end(), loaded.deviceInfo.begin());
    if (!TakeArea(reader, "lighting records", kLightingAreaSize, area, error)) {
        return false;
    }
    std::copy(area.begin(), area.end(), loaded.lighting.begin());
    if (!TakeArea(reader, "key maps", size_t{kProfileCount} * info.keyMapLength, area, error)) {
        return false;
    }
    loaded.keyMaps.assign(area.begin(), area.end());
    const size_t macroSize =
        size_t{loaded.deviceInfo[DeviceInfoByte::MacroCapacity]} * kMacroUnitSize;
    if (!TakeArea(reader, "macro area", macroSize, area, error)) {
        return false;
    }
    loaded.macroArea.assign(area.begin(), area.end());
    if (!TakeArea(reader, "key colours", kKeyColourAreaSize, area, error)) {
        return false;
    }
    std::copy(area.begin(), area.end(), loaded.keyColours.begin());
    if (reader.Left() != 0) {
        error = "the keyboard image has " + std::to_string(reader.Left()) +
                " unexpected bytes after the key colours";
        return false;
    }
    memory = std::move(loaded);
    return true;
}

bool WriteImageFile(const std::filesystem::path& file, SimModel model, const SimMemory& memory,
                    std::string& error) {
    const std::vector<uint8_t> bytes = EncodeImage(model, memory);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!WriteWholeFileAtomically(file, text)) {
        error = SystemError("cannot write", file);
        return false;
    }
    return true;
}

bool ReadImageFile(const std::filesystem::path& file, SimModel model, SimMemory& memory,
                   std::string& error) {
    // Never blocks, whatever stands in the file's place (a named pipe, a device).
    const FileContents contents = ReadWholeFile(file, kMaxImageFileSize);
    if (contents.status != FileReadStatus::kRead) {
        error = "cannot read " + file.string() + ": " + contents.error;
        return false;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(contents.bytes.data());
    return DecodeImage(std::span(bytes, contents.bytes.size()), model, memory, error);
}

std::filesystem::path ImageFilePath(const std::filesystem::path& userDataFolder, SimModel model) {
    return userDataFolder / ("stand-in-keyboard-" + std::string(InfoOf(model).name) + ".img");
}

}  // namespace zarvin::sim
