#pragma once

// The keyboard's request-reply protocol: 64-byte reports of id 4 on the command interface,
// one reply per request, and one operation per command. Operations never show anything; they
// return one of the result codes below.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/CommandLock.h"
#include "keyboard/KeyboardFacts.h"

namespace zarvin {

class HidDevice;

// Results shared by every keyboard operation.
namespace CommandResult {
inline constexpr int Success = 1;
// Not connected, or no reply after all attempts. Also the answer to a call whose buffers or
// arguments cannot hold the transfer (a programming error): such a call sends nothing.
inline constexpr int NoReply = 0;
inline constexpr int WriteFailed = -1;
// Another program kept the keyboard (the command node's lock) past the time-out; nothing was
// sent.
inline constexpr int Busy = -2;
inline constexpr int RefusedFF = -102;
inline constexpr int RefusedFE = -103;
inline constexpr int BadProfile = -201;
}  // namespace CommandResult

inline constexpr size_t kPacketSize = 64;
inline constexpr size_t kPacketDataSize = 56;
inline constexpr uint8_t kCommandReportId = 0x04;

// Byte positions within a request or reply packet.
namespace PacketByte {
inline constexpr size_t ReportId = 0;
inline constexpr size_t Checksum = 1;  // 16-bit little-endian
inline constexpr size_t Command = 3;
inline constexpr size_t Length = 4;
inline constexpr size_t Offset = 5;  // 16-bit little-endian
inline constexpr size_t Status = 7;
inline constexpr size_t Data = 8;
}  // namespace PacketByte

namespace Command {
inline constexpr uint8_t BeginTransfer = 0x01;
inline constexpr uint8_t EndTransfer = 0x02;
inline constexpr uint8_t ReadDeviceInfo = 0x03;
inline constexpr uint8_t WriteDeviceInfo = 0x04;
inline constexpr uint8_t ReadLighting = 0x05;
inline constexpr uint8_t WriteLighting = 0x06;
inline constexpr uint8_t ReadKeyMap = 0x07;
inline constexpr uint8_t WriteKeyMap = 0x08;
inline constexpr uint8_t ReadMacroArea = 0x09;
inline constexpr uint8_t WriteMacroArea = 0x0A;
inline constexpr uint8_t Command0B = 0x0B;
inline constexpr uint8_t Command0C = 0x0C;
inline constexpr uint8_t Command0D = 0x0D;
inline constexpr uint8_t Command0E = 0x0E;
inline constexpr uint8_t ReadDefaultKeyMap = 0x0F;
inline constexpr uint8_t ReadKeyColours = 0x10;
inline constexpr uint8_t WriteKeyColours = 0x11;
inline constexpr uint8_t EnterBootMode = 0xEE;
}  // namespace Command

inline constexpr uint8_t kStatusRefusedFF = 0xFF;
inline constexpr uint8_t kStatusRefusedFE = 0xFE;

using Packet = std::array<uint8_t, kPacketSize>;

// Sum of bytes 3..63 as unsigned bytes.
uint16_t CommandChecksum(std::span<const uint8_t, kPacketSize> packet);
// Writes the checksum into bytes 1-2.
void StampChecksum(Packet& packet);

struct ExchangeTiming {
    std::chrono::milliseconds writeTimeout{1000};
    std::chrono::milliseconds readTimeout{300};
    int attempts = 4;
    // Pause before EndTransfer and command 0x0C.
    std::chrono::milliseconds settle{10};
    // How long an exchange waits while another program holds the keyboard.
    std::chrono::milliseconds nodeLockTimeout{10000};
};

// Whether the connected keyboard echoes a request's bytes 3-6 (command, length, offset) in its
// reply, learnt from the first reply of each connection.
enum class ReplyEcho { Unknown, Echoed, NotEchoed };

// The process-wide connection to the keyboard's command interface: the opened device, the
// connected flag (owned by the device monitor), the key-map geometry of the connected model,
// the command lock and what the keyboard's replies echo.
//
// hidraw hands every reply to every program that has the node open, so a reply is matched to
// its request where the keyboard echoes the request's header: a reply whose bytes 3-6 differ
// is another request's (another program's, or an earlier attempt's that came late) and is
// dropped, and the wait goes on within the same time-out.
class CommandLink {
public:
    explicit CommandLink(HidDevice& device, ExchangeTiming timing = {});

    HidDevice& Device() { return device_; }

    bool Connected() const { return connected_.load(); }
    // Each connection learns the keyboard's echo afresh.
    void SetConnected(bool connected);

    ReplyEcho Echo() const { return echo_.load(); }

    KeyMapGeometry Geometry() const;
    void SetGeometry(KeyMapGeometry geometry);

    const ExchangeTiming& Timing() const { return timing_; }

    // Guards every exchange. Held across a whole exchange (write, read and retries) so two
    // threads never take each other's replies; a caller holds it across a whole batch, which
    // other programs that take the node's lock then cannot come between.
    CommandLock& Lock() { return lock_; }

    // Sends one request (padded or cut to 64 bytes) and waits for its reply; copies at most
    // 64 bytes of it to `reply`. Reports of another report id are not the reply. `attempts`,
    // when given, receives how many times the request was sent.
    int ExchangeCommand(const uint8_t* request, size_t requestLength, uint8_t* reply,
                        size_t replyLength, int* attempts = nullptr);
    // Writes one request without waiting for a reply: 1 when written, 0 otherwise.
    int SendCommand(const uint8_t* request, size_t requestLength);

private:
    void DiscardStaleReports();
    // Waits up to the read time-out for the reply to `request`.
    bool ReadReply(const Packet& request, Packet& reply);
    // Bytes 3-6 of each request written, the last few kept, across connections.
    void RememberSent(const Packet& request);
    bool EchoesAnEarlierRequest(const Packet& reply) const;

    static constexpr size_t kRememberedRequests = 16;
    using Header = std::array<uint8_t, PacketByte::Status - PacketByte::Command>;

    HidDevice& device_;
    ExchangeTiming timing_;
    std::atomic<bool> connected_{false};
    std::atomic<uint32_t> geometry_;  // blockLength | stride << 16
    std::atomic<ReplyEcho> echo_{ReplyEcho::Unknown};
    CommandLock lock_;
    // Under lock_.
    std::array<Header, kRememberedRequests> sent_{};
    size_t sentCount_ = 0;
};

int BeginTransfer(CommandLink& link);
int EndTransfer(CommandLink& link);
int ReadDeviceInfo(CommandLink& link, std::span<uint8_t, kDeviceInfoSize> info);
int WriteDeviceInfo(CommandLink& link, std::span<const uint8_t, kDeviceInfoSize> info);
// Every `length` sent in byte 4 is at most 56.
// Copies all 56 reply data bytes to `buffer`, whatever `length` says.
int ReadLighting(CommandLink& link, std::span<uint8_t, kPacketDataSize> buffer, uint8_t length,
                 uint16_t offset);
// Sends data[0, length); `length` is at most 56 and at most data.size().
int WriteLighting(CommandLink& link, std::span<const uint8_t> data, uint8_t length,
                  uint16_t offset);
// Chunked transfers, each under one hold of the command lock. Where the keyboard does not echo
// its requests, a read in which any request had to be sent again fails (NoReply): the reply
// taken may have been the earlier attempt's, and every later chunk would be one behind. Key
// maps: profile 0..2, else BadProfile with nothing sent; `buffer` or
// `data` holds at least the geometry's block length. Macro area: `count` bytes from offset 0,
// at most the span's size. A count of 0 is a success with nothing sent. The area moved must lie
// within the 16-bit offset range.
int ReadKeyMap(CommandLink& link, std::span<uint8_t> buffer, int profile);
int WriteKeyMap(CommandLink& link, std::span<const uint8_t> data, int profile);
int ReadMacroArea(CommandLink& link, std::span<uint8_t> buffer, size_t count);
int WriteMacroArea(CommandLink& link, std::span<const uint8_t> data, size_t count);
int Command0B(CommandLink& link);
int Command0C(CommandLink& link);
int Command0D(CommandLink& link);
int Command0E(CommandLink& link);
int ReadDefaultKeyMap(CommandLink& link, std::span<uint8_t> buffer);
// Key colours live at 512 x profile + 3 x firstKey, which must fit the 16-bit offset.
// Copies all 56 reply data bytes to `buffer`.
int ReadKeyColours(CommandLink& link, std::span<uint8_t, kPacketDataSize> buffer, uint8_t length,
                   int firstKey, int profile);
// `profile` is the profile the main window shows, whose colours are being painted. Sends
// data[0, length); `length` is at most 56 and at most data.size().
int WriteKeyColours(CommandLink& link, std::span<const uint8_t> data, uint8_t length, int firstKey,
                    int profile);
int ReadLightingWord(CommandLink& link, uint16_t& value);
int WriteLightingWord(CommandLink& link, uint16_t value);
int EnterBootMode(CommandLink& link);

}  // namespace zarvin
