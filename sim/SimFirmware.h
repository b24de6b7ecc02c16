#pragma once

// The keyboard's firmware as the stand-in plays it: the memory areas and the answer to each
// request of the command protocol. Pure: no I/O, no clock and no lock (SimKeyboard keeps one).
//
// How it answers a request (64 bytes; a shorter one reads as if padded with zeros, a longer
// one is cut):
// - Report id other than 4: not a report of this interface, no reply.
// - EnterBootMode (command 0xEE; its checksum is not checked, the host sends none): no reply,
//   and the firmware is in boot mode from then on. The boot loader speaks no command protocol,
//   so every later request goes unanswered until PowerCycle(), which the stand-in does when it
//   is plugged in again. Memory is kept.
// - Otherwise one reply: report id 4, command, length and offset echoed, status at byte 7,
//   data from byte 8 and its own checksum. The status, tested in this order:
//     0xFF  the checksum (bytes 1-2) is not the 16-bit sum of bytes 3..63; unknown command.
//     0xFE  length above 56 (any command); a write reaching past its area; a read whose offset
//           lies outside its area; device information not asked as the 44-byte record at
//           offset 0; a device information write whose active profile (byte 10) is above 2.
//     0     success.
//   A refused request changes nothing and its reply carries no data.
// - Reads answer the 56 bytes of the area from the offset on, bytes past the area reading 0
//   (so the lighting word, command 05 with length 2 at offset 0, is the effect and brightness
//   of profile 0, and writing it with command 06 sets them). Device information answers its
//   44 bytes.
// - Device information writes take bytes 0-7 and the active profile (byte 10); the firmware
//   version, the macro capacity and the effect list are the firmware's own and stay.
// - BeginTransfer and EndTransfer only mark an open transfer (nothing is held back until
//   EndTransfer); commands 0B-0E are accepted and do nothing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/CommandProtocol.h"
#include "sim/SimModel.h"

namespace zarvin::sim {

inline constexpr size_t kLightingRecordSize = 42;
inline constexpr size_t kLightingAreaSize = kProfileCount * kLightingRecordSize;
inline constexpr size_t kKeyColourAreaSize = kProfileCount * kKeyColourProfileStride;
inline constexpr size_t kMacroUnitSize = 128;
inline constexpr uint8_t kStatusOk = 0x00;

// Device information bytes.
namespace DeviceInfoByte {
inline constexpr size_t VendorId = 0;         // 16-bit little-endian, the stand-in's own choice
inline constexpr size_t ProductId = 2;        // 16-bit little-endian, the stand-in's own choice
inline constexpr size_t KeyCount = 4;         // the stand-in's own choice; bytes 5-7 are 0
inline constexpr size_t FirmwareVersion = 8;  // 16-bit little-endian
inline constexpr size_t ActiveProfile = 10;
inline constexpr size_t MacroCapacity = 11;  // in units of 128 bytes
inline constexpr size_t Effects = 12;        // 32 effect codes, 0 = empty slot
}  // namespace DeviceInfoByte

// Everything the keyboard keeps when it is unplugged. The key maps hold three blocks at the
// model's key-map length; the macro area is device information byte 11 × 128 bytes long.
struct SimMemory {
    std::array<uint8_t, kDeviceInfoSize> deviceInfo{};
    std::array<uint8_t, kLightingAreaSize> lighting{};
    std::vector<uint8_t> keyMaps;
    std::vector<uint8_t> macroArea;
    std::array<uint8_t, kKeyColourAreaSize> keyColours{};

    bool operator==(const SimMemory&) const = default;
};

// A keyboard as it leaves the factory: device information with the model's factory firmware
// version and macro capacity (model table), profile 0 active and every effect of
// model/LightingEffects; a lighting record per profile; key maps equal to the model's factory
// key matrix; an empty macro area; every key lit sky blue.
SimMemory FactoryMemory(SimModel model);

class SimFirmware {
public:
    explicit SimFirmware(SimModel model);

    SimModel Model() const { return model_; }

    // The reply to one request, or nothing (see above).
    std::optional<Packet> HandleRequest(std::span<const uint8_t> request);
    // The reply to `request` with `status`: its header echoed, no data (how a refusal looks).
    static Packet EmptyReply(std::span<const uint8_t> request, uint8_t status);

    bool InBootMode() const { return bootMode_; }
    bool InTransfer() const { return inTransfer_; }
    // Leaves boot mode and forgets an open transfer; memory is kept.
    void PowerCycle();

    // The keyboard's own buttons. False, changing nothing, for a profile outside 0-2 or an
    // effect the device information does not offer.
    bool SelectProfile(int profile);
    bool SelectEffect(uint8_t effect);
    int ActiveProfile() const;

    // Sets device information byte 11 and resizes the macro area to match, keeping its start.
    void SetMacroCapacity(uint8_t units);

    const SimMemory& Memory() const { return memory_; }
    SimMemory& Memory() { return memory_; }
    std::span<const uint8_t> DefaultKeyMatrix() const;

private:
    uint8_t Execute(uint8_t command, uint8_t length, uint16_t offset, std::span<const uint8_t> data,
                    std::span<uint8_t> replyData);

    SimModel model_;
    SimMemory memory_;
    bool bootMode_ = false;
    bool inTransfer_ = false;
};

}  // namespace zarvin::sim
