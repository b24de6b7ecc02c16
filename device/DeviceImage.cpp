#include "device/DeviceImage.h"

#include <algorithm>

#include "device/CommandProtocol.h"
#include "device/DeviceInfo.h"
#include "device/UserMessages.h"

namespace zarvin {
namespace {

constexpr const char* kDefaultMatrixPrompt = "MAIN_DEFAULT_MATRIX_PROMPT";

// The matrix a keyboard of the first model sends before it has been asked, one 3-byte entry
// per position written as 0xKKFFSS (kind, first, second byte).
constexpr uint32_t kBuiltInEntries[] = {
    0x050000, 0x050000, 0x050000, 0x050000, 0x050000, 0x050000, 0x000000, 0x000000,
    0x020229, 0x020235, 0x02022B, 0x020239, 0x020102, 0x020101, 0x000000, 0x000000,
    0x02023A, 0x02021E, 0x020214, 0x020204, 0x02021D, 0x020108, 0x000000, 0x000000,
    0x02023B, 0x02021F, 0x02021A, 0x020216, 0x02021B, 0x020104, 0x000000, 0x000000,
    0x02023C, 0x020220, 0x020208, 0x020207, 0x020206, 0x02022C, 0x020246, 0x000000,
    0x02023D, 0x020221, 0x020215, 0x020209, 0x020219, 0x020140, 0x020247, 0x000000,
    0x02023E, 0x020222, 0x020217, 0x02020A, 0x020205, 0x050202, 0x02022E, 0x000000,
    0x02023F, 0x020223, 0x02021C, 0x02020B, 0x020211, 0x020265, 0x020248, 0x000000,
};

constexpr DefaultKeyMatrix MakeBuiltInMatrix() {
    DefaultKeyMatrix matrix{};
    size_t at = 0;
    for (const uint32_t entry : kBuiltInEntries) {
        matrix[at++] = static_cast<uint8_t>(entry >> 16);
        matrix[at++] = static_cast<uint8_t>(entry >> 8);
        matrix[at++] = static_cast<uint8_t>(entry);
    }
    return matrix;
}

constexpr DefaultKeyMatrix kBuiltInMatrix = MakeBuiltInMatrix();

}  // namespace

const DefaultKeyMatrix& BuiltInDefaultKeyMatrix() {
    return kBuiltInMatrix;
}

DeviceImage::DeviceImage() : model_(KeyboardModels().front()), keyMatrix_(kBuiltInMatrix) {}

KeyboardModel DeviceImage::Model() const {
    const std::lock_guard lock(mutex_);
    return model_;
}

bool DeviceImage::SetModelFromIds(uint16_t vendorId, uint16_t productId) {
    const KeyboardModel* model = ModelForIds(vendorId, productId);
    if (model == nullptr) {
        return false;
    }
    SetModel(*model);
    return true;
}

void DeviceImage::SetModel(const KeyboardModel& model) {
    const std::lock_guard lock(mutex_);
    model_ = model;
}

DefaultKeyMatrix DeviceImage::KeyMatrix() const {
    const std::lock_guard lock(mutex_);
    return keyMatrix_;
}

void DeviceImage::SetKeyMatrix(const DefaultKeyMatrix& matrix) {
    const std::lock_guard lock(mutex_);
    keyMatrix_ = matrix;
}

DefaultKeyMatrix DeviceImage::CopyMatrixEntry(size_t from, size_t to) {
    constexpr size_t kEntry = 3;
    const std::lock_guard lock(mutex_);
    if ((from + 1) * kEntry <= keyMatrix_.size() && (to + 1) * kEntry <= keyMatrix_.size()) {
        std::copy_n(keyMatrix_.begin() + static_cast<std::ptrdiff_t>(from * kEntry), kEntry,
                    keyMatrix_.begin() + static_cast<std::ptrdiff_t>(to * kEntry));
    }
    return keyMatrix_;
}

size_t DeviceImage::MacroCapacity() const {
    const std::lock_guard lock(mutex_);
    return macroCapacity_;
}

int DeviceImage::GetActiveProfile(CommandLink& link, int* readResult) {
    uint64_t connection = 0;
    {
        const std::lock_guard lock(mutex_);
        if (activeProfile_ != -1) {
            if (readResult != nullptr) {
                *readResult = CommandResult::Success;
            }
            return activeProfile_;
        }
        connection = connection_;
    }
    DeviceInfo info;
    const int result = ReadDeviceInfo(link, info.bytes);
    if (readResult != nullptr) {
        *readResult = result;
    }
    if (result != CommandResult::Success) {
        return -1;
    }
    const int profile = info.ActiveProfile();
    const std::lock_guard lock(mutex_);
    // A keyboard that went away during the read must not leave its answer for the next one.
    if (connection == connection_) {
        activeProfile_ = profile;
    }
    return profile;
}

int DeviceImage::SetActiveProfile(CommandLink& link, int profile) {
    if (profile < 0 || profile > 0xFF) {
        return CommandResult::BadProfile;
    }
    uint64_t connection = 0;
    {
        const std::lock_guard lock(mutex_);
        connection = connection_;
    }
    DeviceInfo info;
    const int readResult = ReadDeviceInfo(link, info.bytes);
    if (readResult != CommandResult::Success) {
        return readResult;
    }
    info.SetActiveProfile(static_cast<uint8_t>(profile));
    const int writeResult = WriteDeviceInfo(link, info.bytes);
    const std::lock_guard lock(mutex_);
    if (writeResult != CommandResult::Success) {
        activeProfile_ = -1;
    } else if (connection == connection_) {
        activeProfile_ = info.ActiveProfile();
    }
    return writeResult;
}

void DeviceImage::ForgetActiveProfile() {
    const std::lock_guard lock(mutex_);
    activeProfile_ = -1;
    keyMatrixRead_ = false;
    macroCapacityRead_ = false;
    ++connection_;
}

void DeviceImage::LoadConnectionData(CommandLink& link, UserMessages& messages) {
    {
        const std::lock_guard lock(mutex_);
        keyMatrixRead_ = false;
        macroCapacityRead_ = false;
    }
    if (EnsureKeyMatrix(link) != CommandResult::Success) {
        messages.ShowMessage(kDefaultMatrixPrompt);
    }
    EnsureMacroCapacity(link);
}

int DeviceImage::EnsureKeyMatrix(CommandLink& link) {
    if (KeyMatrixRead()) {
        return CommandResult::Success;
    }
    DefaultKeyMatrix matrix{};
    const int result = ReadDefaultKeyMap(link, matrix);
    if (result == CommandResult::Success) {
        const std::lock_guard lock(mutex_);
        keyMatrix_ = matrix;
        keyMatrixRead_ = true;
    }
    return result;
}

bool DeviceImage::KeyMatrixRead() const {
    const std::lock_guard lock(mutex_);
    return keyMatrixRead_;
}

int DeviceImage::EnsureMacroCapacity(CommandLink& link) {
    {
        const std::lock_guard lock(mutex_);
        if (macroCapacityRead_) {
            return CommandResult::Success;
        }
    }
    DeviceInfo info;
    const int result = ReadDeviceInfo(link, info.bytes);
    if (result == CommandResult::Success) {
        const std::lock_guard lock(mutex_);
        macroCapacity_ = info.MacroCapacityBytes();
        macroCapacityRead_ = true;
    }
    return result;
}

}  // namespace zarvin
