#pragma once

// Key maps and key captions from the profile stores, with the default key matrix and the model
// of the connected keyboard.
//
// Locks: BuildKeyMap holds both stores' locks (ProfileStores::BothLocked); MacroPosition and
// AssignmentCaption take the working store's lock.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/KeyMapCodec.h"

namespace zarvin {

class DeviceImage;
class ProfileStores;
class WorkingStore;

// Fills `block` (the model's key-map length, at most 512 bytes) with profile `profile`'s key
// map from the applied store. First copies the default entry of position 106 over position 99
// in `device`'s default key matrix itself; that stays until the matrix is read again. Positions
// beyond the key count or the block keep the matrix's bytes. A profile outside 0-3 gives the
// default entries. With `held`, keys the user did not touch keep the keyboard's bytes
// (EncodeKeyMap).
void BuildKeyMap(int profile, std::span<uint8_t> block, DeviceImage& device,
                 const ProfileStores& stores, const HeldKeyMap* held = nullptr);

// DecodeKeyMap against the default key matrix and key count of `device`.
void DecodeKeyMap(std::span<const uint8_t> deviceBlock, const DeviceImage& device,
                  KeyTableBytes records);

// MacroPosition in the working store's macro list.
uint8_t MacroPosition(int32_t macroId, const WorkingStore& working);

// AssignmentCaption and KeySpokenName with the macro names of the working store.
AssignmentCaptionText AssignmentCaption(std::string_view buttonName, const KeyAssignment& record,
                                        const WorkingStore& working, const TextLookup& texts);
std::string KeySpokenName(std::string_view keyName, const KeyAssignment& record,
                          const WorkingStore& working, const TextLookup& texts);

}  // namespace zarvin
