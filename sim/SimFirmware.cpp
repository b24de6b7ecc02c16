#include "sim/SimFirmware.h"

#include <algorithm>

#include "model/LightingEffects.h"

namespace zarvin::sim {
namespace {

struct FactoryLighting {
    uint8_t effect;
    uint8_t brightness;
    uint8_t speed;
    uint8_t direction;
    uint8_t multicolour;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

constexpr std::array<FactoryLighting, kProfileCount> kFactoryLighting = {{
    {1, 5, 2, 255, 1, 0xFF, 0x00, 0x00},   // wave, rainbow over red
    {6, 4, 3, 0, 0, 0x00, 0x80, 0xFF},     // blue
    {20, 5, 0, 255, 0, 0xFF, 0xFF, 0xFF},  // the per-key colours
}};

constexpr std::array<uint8_t, 3> kFactoryKeyColour = {0x00, 0xAA, 0xFF};  // sky blue

// The firmware sums for itself, so a fault in the host's checksum shows.
uint16_t ChecksumOf(const Packet& packet) {
    unsigned sum = 0;
    for (size_t i = PacketByte::Command; i < kPacketSize; ++i) {
        sum += packet[i];
    }
    return static_cast<uint16_t>(sum);
}

void PutLe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}

uint16_t GetLe16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

// A read: the 56 bytes from the offset, zero past the area. The offset must lie in the area.
uint8_t ReadArea(std::span<const uint8_t> area, uint16_t offset, std::span<uint8_t> replyData) {
    if (offset >= area.size()) {
        return kStatusRefusedFE;
    }
    const size_t count = std::min(replyData.size(), area.size() - offset);
    std::copy_n(area.begin() + offset, count, replyData.begin());
    return kStatusOk;
}

// A write: every byte written must lie in the area.
uint8_t WriteArea(std::span<uint8_t> area, uint8_t length, uint16_t offset,
                  std::span<const uint8_t> data) {
    if (size_t{offset} + length > area.size()) {
        return kStatusRefusedFE;
    }
    std::copy_n(data.begin(), length, area.begin() + offset);
    return kStatusOk;
}

}  // namespace

SimMemory FactoryMemory(SimModel model) {
    const KeyboardModel& info = InfoOf(model);
    SimMemory memory;

    uint8_t* deviceInfo = memory.deviceInfo.data();
    PutLe16(deviceInfo + DeviceInfoByte::VendorId, info.vendorId);
    PutLe16(deviceInfo + DeviceInfoByte::ProductId, info.productId);
    deviceInfo[DeviceInfoByte::KeyCount] = static_cast<uint8_t>(info.keyCount);
    PutLe16(deviceInfo + DeviceInfoByte::FirmwareVersion, info.factoryFirmwareVersion);
    deviceInfo[DeviceInfoByte::ActiveProfile] = 0;
    deviceInfo[DeviceInfoByte::MacroCapacity] = info.factoryMacroCapacity;
    // It offers every effect the program knows, its effect button stepping through them in
    // the order of their codes.
    size_t slot = DeviceInfoByte::Effects;
    for (const LightingEffect& effect : LightingEffects())
        memory.deviceInfo[slot++] = effect.code;

    for (size_t profile = 0; profile < kFactoryLighting.size(); ++profile) {
        const FactoryLighting& light = kFactoryLighting[profile];
        uint8_t* record = memory.lighting.data() + profile * kLightingRecordSize;
        record[0] = light.effect;
        record[1] = light.brightness;
        record[2] = light.speed;
        record[3] = light.direction;
        record[4] = light.multicolour;
        record[5] = light.red;
        record[6] = light.green;
        record[7] = light.blue;
    }

    const std::span<const uint8_t> matrix = info.factoryKeyMatrix;
    for (int profile = 0; profile < kProfileCount; ++profile) {
        memory.keyMaps.insert(memory.keyMaps.end(), matrix.begin(), matrix.end());
    }

    memory.macroArea.assign(size_t{info.factoryMacroCapacity} * kMacroUnitSize, 0);

    for (size_t profile = 0; profile < kProfileCount; ++profile) {
        const size_t base = profile * kKeyColourProfileStride;
        for (size_t key = 0; 3 * key + 3 <= kKeyColourProfileStride; ++key) {
            std::copy(kFactoryKeyColour.begin(), kFactoryKeyColour.end(),
                      memory.keyColours.begin() + static_cast<std::ptrdiff_t>(base + 3 * key));
        }
    }
    return memory;
}

SimFirmware::SimFirmware(SimModel model) : model_(model), memory_(FactoryMemory(model)) {}

std::span<const uint8_t> SimFirmware::DefaultKeyMatrix() const {
    return InfoOf(model_).factoryKeyMatrix;
}

void SimFirmware::PowerCycle() {
    bootMode_ = false;
    inTransfer_ = false;
}

int SimFirmware::ActiveProfile() const {
    return memory_.deviceInfo[DeviceInfoByte::ActiveProfile];
}

bool SimFirmware::SelectProfile(int profile) {
    if (profile < 0 || profile >= kProfileCount) {
        return false;
    }
    memory_.deviceInfo[DeviceInfoByte::ActiveProfile] = static_cast<uint8_t>(profile);
    return true;
}

bool SimFirmware::SelectEffect(uint8_t effect) {
    const auto effects = std::span(memory_.deviceInfo).subspan(DeviceInfoByte::Effects);
    if (effect == 0 || std::find(effects.begin(), effects.end(), effect) == effects.end()) {
        return false;
    }
    // A profile byte that is out of range (only possible by editing memory directly) is left
    // alone rather than written past the lighting area.
    const int profile = ActiveProfile();
    if (profile >= kProfileCount) {
        return false;
    }
    memory_.lighting[static_cast<size_t>(profile) * kLightingRecordSize] = effect;
    return true;
}

void SimFirmware::SetMacroCapacity(uint8_t units) {
    memory_.deviceInfo[DeviceInfoByte::MacroCapacity] = units;
    memory_.macroArea.resize(size_t{units} * kMacroUnitSize, 0);
}

Packet SimFirmware::EmptyReply(std::span<const uint8_t> request, uint8_t status) {
    Packet reply{};
    reply[PacketByte::ReportId] = kCommandReportId;
    for (size_t i :
         {PacketByte::Command, PacketByte::Length, PacketByte::Offset, PacketByte::Offset + 1}) {
        reply[i] = i < request.size() ? request[i] : 0;
    }
    reply[PacketByte::Status] = status;
    PutLe16(&reply[PacketByte::Checksum], ChecksumOf(reply));
    return reply;
}

std::optional<Packet> SimFirmware::HandleRequest(std::span<const uint8_t> request) {
    Packet packet{};
    std::copy_n(request.begin(), std::min(request.size(), kPacketSize), packet.begin());

    if (bootMode_ || packet[PacketByte::ReportId] != kCommandReportId) {
        return std::nullopt;
    }
    const uint8_t command = packet[PacketByte::Command];
    if (command == Command::EnterBootMode) {
        bootMode_ = true;
        inTransfer_ = false;
        return std::nullopt;
    }
    if (ChecksumOf(packet) != GetLe16(&packet[PacketByte::Checksum])) {
        return EmptyReply(packet, kStatusRefusedFF);
    }

    std::array<uint8_t, kPacketDataSize> data{};
    const uint8_t status =
        Execute(command, packet[PacketByte::Length], GetLe16(&packet[PacketByte::Offset]),
                std::span(packet).subspan(PacketByte::Data), data);
    Packet reply = EmptyReply(packet, status);
    if (status == kStatusOk) {
        std::copy(data.begin(), data.end(), reply.begin() + PacketByte::Data);
        PutLe16(&reply[PacketByte::Checksum], ChecksumOf(reply));
    }
    return reply;
}

uint8_t SimFirmware::Execute(uint8_t command, uint8_t length, uint16_t offset,
                             std::span<const uint8_t> data, std::span<uint8_t> replyData) {
    const bool knownCommand =
        (command >= Command::BeginTransfer && command <= Command::ReadDefaultKeyMap) ||
        command == Command::ReadKeyColours || command == Command::WriteKeyColours;
    if (!knownCommand) {
        return kStatusRefusedFF;
    }
    if (length > kPacketDataSize) {
        return kStatusRefusedFE;
    }

    switch (command) {
        case Command::BeginTransfer:
            inTransfer_ = true;
            return kStatusOk;
        case Command::EndTransfer:
            inTransfer_ = false;
            return kStatusOk;
        case Command::ReadDeviceInfo:
            if (offset != 0 || length != kDeviceInfoSize) {
                return kStatusRefusedFE;
            }
            std::copy(memory_.deviceInfo.begin(), memory_.deviceInfo.end(), replyData.begin());
            return kStatusOk;
        case Command::WriteDeviceInfo:
            if (offset != 0 || length != kDeviceInfoSize ||
                data[DeviceInfoByte::ActiveProfile] >= kProfileCount) {
                return kStatusRefusedFE;
            }
            std::copy_n(data.begin(), DeviceInfoByte::FirmwareVersion, memory_.deviceInfo.begin());
            memory_.deviceInfo[DeviceInfoByte::ActiveProfile] = data[DeviceInfoByte::ActiveProfile];
            return kStatusOk;
        case Command::ReadLighting:
            return ReadArea(memory_.lighting, offset, replyData);
        case Command::WriteLighting:
            return WriteArea(memory_.lighting, length, offset, data);
        case Command::ReadKeyMap:
            return ReadArea(memory_.keyMaps, offset, replyData);
        case Command::WriteKeyMap:
            return WriteArea(memory_.keyMaps, length, offset, data);
        case Command::ReadMacroArea:
            return ReadArea(memory_.macroArea, offset, replyData);
        case Command::WriteMacroArea:
            return WriteArea(memory_.macroArea, length, offset, data);
        case Command::ReadDefaultKeyMap:
            return ReadArea(DefaultKeyMatrix(), offset, replyData);
        case Command::ReadKeyColours:
            return ReadArea(memory_.keyColours, offset, replyData);
        case Command::WriteKeyColours:
            return WriteArea(memory_.keyColours, length, offset, data);
        default:  // commands 0B-0E
            return kStatusOk;
    }
}

}  // namespace zarvin::sim
