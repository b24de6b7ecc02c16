#include "device/CommandProtocol.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <thread>

#include "device/HidDevice.h"

namespace zarvin {
namespace {

using Clock = std::chrono::steady_clock;

// A call whose buffers or arguments cannot hold the transfer sends nothing and answers as if
// no keyboard were there; callers treat every result other than Success as failure.
constexpr int kRejectedCall = CommandResult::NoReply;

constexpr uint8_t kDeviceInfoLengthByte = 0x2C;
constexpr uint8_t kLightingWordLengthByte = 0x02;
constexpr uint32_t kOffsetRange = 0x10000;

// Replies that arrived after their exchange gave up, and every reply to another program on
// the same node, would otherwise be taken for the reply to the next request. hidraw keeps at
// most 64 reports for each reader; the bound only stops a device that never stops sending.
constexpr int kMaxStaleReports = 1024;

int ToMs(std::chrono::milliseconds duration) {
    return static_cast<int>(duration.count());
}

void PutLe16(Packet& packet, size_t at, uint16_t value) {
    packet[at] = static_cast<uint8_t>(value & 0xFF);
    packet[at + 1] = static_cast<uint8_t>(value >> 8);
}

Packet NewRequest(uint8_t command, uint8_t length, uint16_t offset) {
    Packet packet{};
    packet[PacketByte::ReportId] = kCommandReportId;
    packet[PacketByte::Command] = command;
    packet[PacketByte::Length] = length;
    PutLe16(packet, PacketByte::Offset, offset);
    return packet;
}

int StatusResult(uint8_t status) {
    switch (status) {
        case kStatusRefusedFF:
            return CommandResult::RefusedFF;
        case kStatusRefusedFE:
            return CommandResult::RefusedFE;
        default:
            return CommandResult::Success;
    }
}

// Stamps the checksum, exchanges, and maps the reply's status.
int Exchange(CommandLink& link, Packet& request, Packet& reply, int* attempts = nullptr) {
    StampChecksum(request);
    const int result = link.ExchangeCommand(request.data(), request.size(), reply.data(),
                                            reply.size(), attempts);
    return result == CommandResult::Success ? StatusResult(reply[PacketByte::Status]) : result;
}

bool SameHeader(const Packet& request, const Packet& reply) {
    return std::equal(request.begin() + PacketByte::Command, request.begin() + PacketByte::Status,
                      reply.begin() + PacketByte::Command);
}

// A request that carries nothing but its command.
int SimpleCommand(CommandLink& link, uint8_t command) {
    Packet request = NewRequest(command, 0, 0);
    Packet reply{};
    return Exchange(link, request, reply);
}

int SettledCommand(CommandLink& link, uint8_t command) {
    std::this_thread::sleep_for(link.Timing().settle);
    return SimpleCommand(link, command);
}

int ReadPacketData(CommandLink& link, uint8_t command, uint8_t length, uint16_t offset,
                   std::span<uint8_t, kPacketDataSize> buffer) {
    if (length > kPacketDataSize) {
        return kRejectedCall;
    }
    Packet request = NewRequest(command, length, offset);
    Packet reply{};
    const int result = Exchange(link, request, reply);
    if (result == CommandResult::Success) {
        std::copy_n(reply.begin() + PacketByte::Data, kPacketDataSize, buffer.begin());
    }
    return result;
}

int WritePacketData(CommandLink& link, uint8_t command, std::span<const uint8_t> data,
                    uint8_t length, uint16_t offset) {
    if (length > kPacketDataSize || length > data.size()) {
        return kRejectedCall;
    }
    Packet request = NewRequest(command, length, offset);
    std::copy_n(data.begin(), length, request.begin() + PacketByte::Data);
    Packet reply{};
    return Exchange(link, request, reply);
}

enum class Direction { FromDevice, ToDevice };

// Moves `currentCount()` bytes in chunks of up to 56 at device offsets base + chunk offset.
// The count is asked again before every chunk, as the key-map block length follows the model
// that is connected. Exactly one of `readInto` and `writeFrom` is used, by `direction`.
int TransferChunks(CommandLink& link, uint8_t command, Direction direction, uint32_t base,
                   const std::function<size_t()>& currentCount, std::span<uint8_t> readInto,
                   std::span<const uint8_t> writeFrom) {
    const size_t capacity = direction == Direction::FromDevice ? readInto.size() : writeFrom.size();
    const auto fits = [&](size_t count) {
        return count <= capacity && base + count <= kOffsetRange;
    };

    size_t count = currentCount();
    if (count == 0) {
        return CommandResult::Success;
    }
    if (!fits(count)) {
        return kRejectedCall;
    }
    const std::lock_guard transfer(link.Lock());

    // Cleared once per transfer: a short last chunk carries the previous chunk's bytes past its
    // length, and they count in its checksum.
    Packet packet = NewRequest(command, 0, 0);
    for (size_t chunkOffset = 0; chunkOffset < count; chunkOffset += kPacketDataSize) {
        const size_t chunkLength = std::min(kPacketDataSize, count - chunkOffset);
        packet[PacketByte::Length] = static_cast<uint8_t>(chunkLength);
        PutLe16(packet, PacketByte::Offset, static_cast<uint16_t>(base + chunkOffset));
        if (direction == Direction::ToDevice) {
            std::copy_n(writeFrom.begin() + static_cast<std::ptrdiff_t>(chunkOffset), chunkLength,
                        packet.begin() + PacketByte::Data);
        }
        Packet reply{};
        int attempts = 0;
        const int result = Exchange(link, packet, reply, &attempts);
        if (result != CommandResult::Success) {
            return result;
        }
        if (direction == Direction::FromDevice && attempts > 1 &&
            link.Echo() != ReplyEcho::Echoed) {
            return CommandResult::NoReply;
        }
        if (direction == Direction::FromDevice) {
            std::copy_n(reply.begin() + PacketByte::Data, chunkLength,
                        readInto.begin() + static_cast<std::ptrdiff_t>(chunkOffset));
        }
        count = currentCount();
        if (!fits(count)) {
            return kRejectedCall;
        }
    }
    return CommandResult::Success;
}

bool IsProfile(int profile) {
    return profile >= 0 && profile < kProfileCount;
}

std::function<size_t()> KeyMapLengthOf(CommandLink& link) {
    return [&link] { return size_t{link.Geometry().blockLength}; };
}

std::function<size_t()> FixedCount(size_t count) {
    return [count] { return count; };
}

// Key colours sit at 512 bytes per profile, three bytes per key.
bool KeyColourOffset(int firstKey, int profile, uint16_t& offset) {
    const long long value = static_cast<long long>(kKeyColourProfileStride) * profile +
                            3LL * static_cast<long long>(firstKey);
    if (value < 0 || value >= kOffsetRange) {
        return false;
    }
    offset = static_cast<uint16_t>(value);
    return true;
}

}  // namespace

uint16_t CommandChecksum(std::span<const uint8_t, kPacketSize> packet) {
    // 61 bytes of at most 255 stay below 16 bits.
    return static_cast<uint16_t>(
        std::accumulate(packet.begin() + PacketByte::Command, packet.end(), 0U));
}

void StampChecksum(Packet& packet) {
    PutLe16(packet, PacketByte::Checksum, CommandChecksum(packet));
}

CommandLink::CommandLink(HidDevice& device, ExchangeTiming timing)
    : device_(device), timing_(timing), lock_(device, timing.nodeLockTimeout) {
    SetGeometry(KeyMapGeometry{});
}

void CommandLink::SetConnected(bool connected) {
    echo_.store(ReplyEcho::Unknown);
    connected_.store(connected);
}

KeyMapGeometry CommandLink::Geometry() const {
    const uint32_t packed = geometry_.load();
    return KeyMapGeometry{static_cast<uint16_t>(packed & 0xFFFF),
                          static_cast<uint16_t>(packed >> 16)};
}

void CommandLink::SetGeometry(KeyMapGeometry geometry) {
    geometry_.store(uint32_t{geometry.blockLength} | uint32_t{geometry.stride} << 16);
}

int CommandLink::ExchangeCommand(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                 size_t replyLength, int* attempts) {
    if (attempts != nullptr) {
        *attempts = 0;
    }
    if (!Connected()) {
        return CommandResult::NoReply;
    }

    Packet packet{};
    if (request != nullptr) {
        std::copy_n(request, std::min(requestLength, kPacketSize), packet.begin());
    }

    // Held over the write, the read and every retry, so that no other thread's request comes
    // between a request and its reply.
    std::lock_guard guard(lock_);
    if (!lock_.HoldNode()) {
        return CommandResult::Busy;
    }
    for (int attempt = 0; attempt < timing_.attempts; ++attempt) {
        DiscardStaleReports();
        if (!device_.Write(packet.data(), packet.size(), nullptr, ToMs(timing_.writeTimeout))) {
            return CommandResult::WriteFailed;
        }
        RememberSent(packet);
        if (attempts != nullptr) {
            *attempts = attempt + 1;
        }
        Packet received{};
        if (ReadReply(packet, received)) {
            if (reply != nullptr) {
                std::copy_n(received.begin(), std::min(replyLength, kPacketSize), reply);
            }
            return CommandResult::Success;
        }
    }
    return CommandResult::NoReply;
}

int CommandLink::SendCommand(const uint8_t* request, size_t requestLength) {
    if (!Connected()) {
        return 0;
    }

    Packet packet{};
    if (request != nullptr) {
        std::copy_n(request, std::min(requestLength, kPacketSize), packet.begin());
    }
    std::lock_guard guard(lock_);
    if (!lock_.HoldNode()) {
        return 0;
    }
    if (!device_.Write(packet.data(), packet.size(), nullptr, ToMs(timing_.writeTimeout))) {
        return 0;
    }
    RememberSent(packet);
    return 1;
}

void CommandLink::RememberSent(const Packet& request) {
    std::copy_n(request.begin() + PacketByte::Command, std::tuple_size_v<Header>,
                sent_[sentCount_ % kRememberedRequests].begin());
    ++sentCount_;
}

bool CommandLink::EchoesAnEarlierRequest(const Packet& reply) const {
    const size_t remembered = std::min(sentCount_, kRememberedRequests);
    return std::any_of(sent_.begin(), sent_.begin() + static_cast<std::ptrdiff_t>(remembered),
                       [&reply](const Header& header) {
                           return std::equal(header.begin(), header.end(),
                                             reply.begin() + PacketByte::Command);
                       });
}

void CommandLink::DiscardStaleReports() {
    Packet scratch{};
    for (int discarded = 0; discarded < kMaxStaleReports; ++discarded) {
        if (!device_.Read(scratch.data(), scratch.size(), nullptr, 0)) {
            return;
        }
    }
}

bool CommandLink::ReadReply(const Packet& request, Packet& reply) {
    // Other reports can share the node, and so can replies to other requests; none is the
    // reply, and waiting past them stays within the one read time-out. Until the connection
    // knows whether the keyboard echoes, a reply that does not match may be another program's:
    // it is kept while a matching one may still come, and taken, as the keyboard's way, only
    // when none came within the time-out. A reply that echoes one of this program's earlier
    // requests came late (from before this connection, or an earlier attempt): it shows that
    // the keyboard echoes, and it is never taken.
    const Clock::time_point deadline = Clock::now() + timing_.readTimeout;
    std::optional<Packet> unmatched;
    // At the time-out: the kept reply, if any, is the reply after all.
    const auto takeUnmatched = [&] {
        if (!unmatched || echo_.load() != ReplyEcho::Unknown) {
            return false;
        }
        echo_.store(ReplyEcho::NotEchoed);
        reply = *unmatched;
        return true;
    };
    // The first read waits the whole time-out: the clock is read again only for a report that
    // was not the reply.
    auto left = timing_.readTimeout;
    for (;;) {
        size_t transferred = 0;
        if (!device_.Read(reply.data(), reply.size(), &transferred,
                          ToMs(std::max(left, std::chrono::milliseconds{0})))) {
            return device_.LastError() == HidError::TimedOut && takeUnmatched();
        }
        if (transferred == kPacketSize && reply[PacketByte::ReportId] == kCommandReportId) {
            if (SameHeader(request, reply)) {
                ReplyEcho unknown = ReplyEcho::Unknown;
                echo_.compare_exchange_strong(unknown, ReplyEcho::Echoed);
                return true;
            }
            if (echo_.load() == ReplyEcho::NotEchoed) {
                return true;
            }
            if (EchoesAnEarlierRequest(reply)) {
                ReplyEcho unknown = ReplyEcho::Unknown;
                echo_.compare_exchange_strong(unknown, ReplyEcho::Echoed);
            } else if (echo_.load() == ReplyEcho::Unknown && !unmatched) {
                unmatched = reply;
            }
        }
        left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return takeUnmatched();
        }
    }
}

int BeginTransfer(CommandLink& link) {
    return SimpleCommand(link, Command::BeginTransfer);
}

int EndTransfer(CommandLink& link) {
    return SettledCommand(link, Command::EndTransfer);
}

int ReadDeviceInfo(CommandLink& link, std::span<uint8_t, kDeviceInfoSize> info) {
    Packet request = NewRequest(Command::ReadDeviceInfo, kDeviceInfoLengthByte, 0);
    Packet reply{};
    const int result = Exchange(link, request, reply);
    if (result == CommandResult::Success) {
        std::copy_n(reply.begin() + PacketByte::Data, kDeviceInfoSize, info.begin());
    }
    return result;
}

int WriteDeviceInfo(CommandLink& link, std::span<const uint8_t, kDeviceInfoSize> info) {
    Packet request = NewRequest(Command::WriteDeviceInfo, kDeviceInfoLengthByte, 0);
    std::copy(info.begin(), info.end(), request.begin() + PacketByte::Data);
    Packet reply{};
    return Exchange(link, request, reply);
}

int ReadLighting(CommandLink& link, std::span<uint8_t, kPacketDataSize> buffer, uint8_t length,
                 uint16_t offset) {
    return ReadPacketData(link, Command::ReadLighting, length, offset, buffer);
}

int WriteLighting(CommandLink& link, std::span<const uint8_t> data, uint8_t length,
                  uint16_t offset) {
    return WritePacketData(link, Command::WriteLighting, data, length, offset);
}

int ReadKeyMap(CommandLink& link, std::span<uint8_t> buffer, int profile) {
    if (!IsProfile(profile)) {
        return CommandResult::BadProfile;
    }
    const uint32_t base = uint32_t{link.Geometry().stride} * static_cast<uint32_t>(profile);
    return TransferChunks(link, Command::ReadKeyMap, Direction::FromDevice, base,
                          KeyMapLengthOf(link), buffer, {});
}

int WriteKeyMap(CommandLink& link, std::span<const uint8_t> data, int profile) {
    if (!IsProfile(profile)) {
        return CommandResult::BadProfile;
    }
    const uint32_t base = uint32_t{link.Geometry().stride} * static_cast<uint32_t>(profile);
    return TransferChunks(link, Command::WriteKeyMap, Direction::ToDevice, base,
                          KeyMapLengthOf(link), {}, data);
}

int ReadMacroArea(CommandLink& link, std::span<uint8_t> buffer, size_t count) {
    return TransferChunks(link, Command::ReadMacroArea, Direction::FromDevice, 0, FixedCount(count),
                          buffer, {});
}

int WriteMacroArea(CommandLink& link, std::span<const uint8_t> data, size_t count) {
    return TransferChunks(link, Command::WriteMacroArea, Direction::ToDevice, 0, FixedCount(count),
                          {}, data);
}

int Command0B(CommandLink& link) {
    return SimpleCommand(link, Command::Command0B);
}

int Command0C(CommandLink& link) {
    return SettledCommand(link, Command::Command0C);
}

int Command0D(CommandLink& link) {
    return SimpleCommand(link, Command::Command0D);
}

int Command0E(CommandLink& link) {
    return SimpleCommand(link, Command::Command0E);
}

int ReadDefaultKeyMap(CommandLink& link, std::span<uint8_t> buffer) {
    return TransferChunks(link, Command::ReadDefaultKeyMap, Direction::FromDevice, 0,
                          KeyMapLengthOf(link), buffer, {});
}

int ReadKeyColours(CommandLink& link, std::span<uint8_t, kPacketDataSize> buffer, uint8_t length,
                   int firstKey, int profile) {
    uint16_t offset = 0;
    if (!KeyColourOffset(firstKey, profile, offset)) {
        return kRejectedCall;
    }
    return ReadPacketData(link, Command::ReadKeyColours, length, offset, buffer);
}

int WriteKeyColours(CommandLink& link, std::span<const uint8_t> data, uint8_t length, int firstKey,
                    int profile) {
    uint16_t offset = 0;
    if (!KeyColourOffset(firstKey, profile, offset)) {
        return kRejectedCall;
    }
    return WritePacketData(link, Command::WriteKeyColours, data, length, offset);
}

int ReadLightingWord(CommandLink& link, uint16_t& value) {
    Packet request = NewRequest(Command::ReadLighting, kLightingWordLengthByte, 0);
    Packet reply{};
    const int result = Exchange(link, request, reply);
    if (result == CommandResult::Success) {
        value = static_cast<uint16_t>(reply[PacketByte::Data] | reply[PacketByte::Data + 1] << 8);
    }
    return result;
}

int WriteLightingWord(CommandLink& link, uint16_t value) {
    Packet request = NewRequest(Command::WriteLighting, kLightingWordLengthByte, 0);
    PutLe16(request, PacketByte::Data, value);
    Packet reply{};
    return Exchange(link, request, reply);
}

int EnterBootMode(CommandLink& link) {
    // The boot loader takes this packet with its checksum left at 0, and sends no reply.
    const Packet request = NewRequest(Command::EnterBootMode, Command::EnterBootMode, 0);
    return link.SendCommand(request.data(), request.size());
}

}  // namespace zarvin
