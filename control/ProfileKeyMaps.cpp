#include "control/ProfileKeyMaps.h"

#include <mutex>

#include "device/DeviceImage.h"
#include "model/SpokenNames.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace zarvin {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

}  // namespace

void BuildKeyMap(int profile, std::span<uint8_t> block, DeviceImage& device,
                 const ProfileStores& stores, const HeldKeyMap* held) {
    const DefaultKeyMatrix matrix =
        device.CopyMatrixEntry(kSharedDefaultSource, kSharedDefaultTarget);
    if (profile < 0 || static_cast<size_t>(profile) >= kKeyTableCount) {
        FillDefaultKeyMap(block, matrix, held);
        return;
    }
    const ProfileStores::BothLocked locked(stores);
    const AppliedStore& applied = stores.Applied();
    const size_t profileIndex = static_cast<size_t>(profile);
    EncodeKeyMap(
        block, matrix, device.Model().keyCount,
        [&](size_t slot) { return applied.Assignment(KeyRecordNumber(profileIndex, slot)); },
        stores.Working().Macros(), held);
}

void DecodeKeyMap(std::span<const uint8_t> deviceBlock, const DeviceImage& device,
                  KeyTableBytes records) {
    DecodeKeyMap(deviceBlock, device.KeyMatrix(), device.Model().keyCount, records);
}

uint8_t MacroPosition(int32_t macroId, const WorkingStore& working) {
    const Guard guard(working.Lock());
    return MacroPosition(macroId, std::span<const MacroRecord>(working.Macros()));
}

AssignmentCaptionText AssignmentCaption(std::string_view buttonName, const KeyAssignment& record,
                                        const WorkingStore& working, const TextLookup& texts) {
    const Guard guard(working.Lock());
    return AssignmentCaption(buttonName, record, std::span<const MacroRecord>(working.Macros()),
                             texts);
}

std::string KeySpokenName(std::string_view keyName, const KeyAssignment& record,
                          const WorkingStore& working, const TextLookup& texts) {
    const Guard guard(working.Lock());
    return KeySpokenName(keyName, record, std::span<const MacroRecord>(working.Macros()), texts);
}

}  // namespace zarvin
