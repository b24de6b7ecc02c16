#pragma once

// What the system knows of the connected keyboard's configuration image, kept between
// operations: the model values, the default key matrix, the macro capacity and the cached
// active profile. Written by the device monitor on connection, read by everything else.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "keyboard/KeyboardModel.h"

namespace zarvin {

class CommandLink;
class UserMessages;

// The matrix in force before any keyboard has answered.
const DefaultKeyMatrix& BuiltInDefaultKeyMatrix();

class DeviceImage {
public:
    DeviceImage();

    KeyboardModel Model() const;
    // Takes the model of the keyboard with these ids. False, keeping the model, for ids the
    // model table does not know.
    [[nodiscard]] bool SetModelFromIds(uint16_t vendorId, uint16_t productId);
    void SetModel(const KeyboardModel& model);

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
    // The keyboard went away: the next GetActiveProfile asks it again, and the next keyboard's
    // layout and capacity must be read before they are used.
    void ForgetActiveProfile();

    // On every connection, before the main window hears of it: the default key matrix and the
    // macro capacity. A failed matrix read tells the user and keeps the previous matrix, which
    // then counts as not read.
    void LoadConnectionData(CommandLink& link, UserMessages& messages);

    // Key maps may only be built or read against the connected keyboard's own layout: reads the
    // default key matrix again when it has not been read since the connection. Success, or the
    // result of the failed read.
    int EnsureKeyMatrix(CommandLink& link);
    // Whether the default key matrix is the connected keyboard's.
    bool KeyMatrixRead() const;
    // The same for the macro capacity, which decides what an apply may write.
    int EnsureMacroCapacity(CommandLink& link);

private:
    mutable std::mutex mutex_;
    KeyboardModel model_;
    DefaultKeyMatrix keyMatrix_;
    size_t macroCapacity_ = 0;
    bool keyMatrixRead_ = false;
    bool macroCapacityRead_ = false;
    int activeProfile_ = -1;
    // Counts ForgetActiveProfile calls, so an answer read before one is not cached after it.
    uint64_t connection_ = 0;
};

}  // namespace zarvin
