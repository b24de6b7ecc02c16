#pragma once

// What the system knows of the connected keyboard's configuration image, kept between
// operations: the model values, the default key matrix, the macro capacity and the cached
// active profile. Written by the device monitor on connection, read by everything else.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "model/KeyboardModel.h"

namespace zarvin {

class CommandLink;
class UserMessages;

inline constexpr size_t kDefaultKeyMatrixBytes = 512;
using DefaultKeyMatrix = std::array<uint8_t, kDefaultKeyMatrixBytes>;

// The matrix in force before any keyboard has answered.
const DefaultKeyMatrix& BuiltInDefaultKeyMatrix();

class DeviceImage {
public:
    DeviceImage();

    KeyboardModel Model() const;
    // Takes the model of the keyboard with these ids (see ModelForIds).
    void SetModelFromIds(uint16_t vendorId, uint16_t productId);

    DefaultKeyMatrix KeyMatrix() const;
    void SetKeyMatrix(const DefaultKeyMatrix& matrix);
    // Copies the 3-byte entry of position `from` over position `to` in one step, so a matrix
    // loaded meanwhile by the monitor is never overwritten with an older one; returns the
    // matrix as it is then.
    DefaultKeyMatrix CopyMatrixEntry(size_t from, size_t to);
    // Bytes of macro area the keyboard offers; 0 until a keyboard has told.
    size_t MacroCapacity() const;

    // The active profile, from the cache or the keyboard; -1 when the keyboard cannot say.
    // `readResult`, when given, receives the result of the keyboard read (Success when the
    // cache answered), so a caller can tell why there is no profile.
    int GetActiveProfile(CommandLink& link, int* readResult = nullptr);
    // Reads the device information and writes it back with `profile` active. Returns the
    // result of the keyboard operation that failed, or Success. A profile outside 0-255 does
    // nothing and returns BadProfile. A refused write empties the cache.
    int SetActiveProfile(CommandLink& link, int profile);
    // The keyboard went away: the next GetActiveProfile asks it again.
    void ForgetActiveProfile();

    // On every connection, before the main window hears of it: the default key matrix and the
    // macro capacity. A failed matrix read tells the user and keeps the previous matrix.
    void LoadConnectionData(CommandLink& link, UserMessages& messages);

private:
    mutable std::mutex mutex_;
    KeyboardModel model_;
    DefaultKeyMatrix keyMatrix_;
    size_t macroCapacity_ = 0;
    int activeProfile_ = -1;
    // Counts ForgetActiveProfile calls, so an answer read before one is not cached after it.
    uint64_t connection_ = 0;
};

}  // namespace zarvin
