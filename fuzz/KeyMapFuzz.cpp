// Decodes an arbitrary key map against an arbitrary default key matrix, builds a key map back
// from what was decoded, and checks the promises both make to their callers:
//   - decoding clears the table first: the G-key records keep their identifiers, the unused
//     slots stay zero, and every record holds a type and value the decoder gives;
//   - building writes the whole block, and positions whose default entry gives no key keep it.
//
// Input: byte 0 picks the model (bit 0: the 128-key one), then the default key matrix (the
// model's key-map length; missing bytes are zero), then the key map read from the keyboard (any
// length).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <span>
#include <vector>

#include "control/ProfileKeyMaps.h"
#include "device/DeviceImage.h"
#include "keyboard/KeyboardModel.h"
#include "model/KeyMapCodec.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace {

using namespace zarvin;

void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

void CheckRecord(size_t slot, const KeyAssignment& record) {
    if (slot >= kFirstGKeySlot && slot < kFirstGKeySlot + kGKeyIds.size()) {
        Require(record.gId == kGKeyIds[slot - kFirstGKeySlot]);
    } else {
        Require(record.gId == 0);
    }
    Require(record.mark == 0 && record.reserved == 0);
    switch (static_cast<AssignmentType>(record.type)) {
        case AssignmentType::Default:
        case AssignmentType::Disabled:
        case AssignmentType::StopMacro:
            Require(record.value == 0);
            break;
        case AssignmentType::Key:
            Require(record.value > 0 && record.value <= 0xFFFF);
            break;
        case AssignmentType::PlayMacro:
            Require(record.value >= 1 && record.value <= 256);
            break;
        case AssignmentType::Media:
            Require(record.value >= 0 &&
                    static_cast<size_t>(record.value) < MediaFunctionTable.size());
            break;
        case AssignmentType::Function:
            Require(record.value >= 0 && record.value <= 0xFF);
            break;
        default:
            Require(false);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::span<const uint8_t> input(data, size);
    const auto models = KeyboardModels();
    DeviceImage device;
    device.SetModel(models[input[0] % models.size()]);
    const KeyboardModel model = device.Model();

    const std::span<const uint8_t> rest = input.subspan(1);
    const size_t matrixBytes = std::min<size_t>(rest.size(), model.keyMapLength);
    DefaultKeyMatrix matrix{};
    std::copy_n(rest.begin(), matrixBytes, matrix.begin());
    device.SetKeyMatrix(matrix);
    const std::span<const uint8_t> sent = rest.subspan(matrixBytes);

    ProfileImage image{};
    DecodeKeyMap(sent, device, KeyTableOf(image, 0));
    std::recursive_mutex workingLock;
    std::recursive_mutex appliedLock;
    ProfileStores stores(workingLock, appliedLock);
    WorkingStore& working = stores.Working();
    AppliedStore& applied = stores.Applied();
    for (size_t slot = 0; slot < kKeyTableRecords; ++slot) {
        const KeyAssignment record = LoadKeyAssignment(RecordBytes(image, slot));
        CheckRecord(slot, record);
        Require(working.SetAssignment(slot, record));
    }

    Require(applied.TakeSnapshotOf(working));
    std::vector<uint8_t> block(model.keyMapLength, 0xEE);
    BuildKeyMap(0, block, device, stores);
    const DefaultKeyMatrix used = device.KeyMatrix();
    const auto entryOf = [](std::span<const uint8_t> bytes, size_t position) {
        return KeyMapEntry{bytes[3 * position], bytes[3 * position + 1], bytes[3 * position + 2]};
    };
    Require(entryOf(used, kSharedDefaultTarget) == entryOf(used, kSharedDefaultSource));
    const size_t positions = block.size() / 3;
    for (size_t i = 0; i < positions; ++i) {
        const KeyMapEntry defaultEntry = entryOf(used, i);
        if (i >= static_cast<size_t>(model.keyCount) || EntryKeyCode(defaultEntry) == 0) {
            Require(entryOf(block, i) == defaultEntry);
        }
    }
    for (size_t i = 3 * positions; i < block.size(); ++i) {
        Require(block[i] == used[i]);
    }
    return 0;
}
