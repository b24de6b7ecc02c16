#pragma once

// The kernel's side of one keyboard's command node, played in a test the way hidraw behaves
// when several programs have the node open: each open is a socketpair, the requests of every
// opener go to one stand-in firmware, and every reply goes to every opener. The node's lock is
// a file that every open locks, as every open of a device node shares its flock.
// Choices: a keyboard that does not echo its requests' header (bytes 3-6 of its replies are 0),
// a node whose opens do not share a lock, and a reply held back until a later request came.

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/HidNodeSource.h"
#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"
#include "sim/SimReportDescriptors.h"
#include "support/TempFolder.h"

namespace zarvin::test_support {

struct KernelOptions {
    bool echo = true;
    bool sharedLock = true;
};

class BroadcastKernel : public HidNodeSource {
public:
    static constexpr const char* kNode = "/dev/hidraw-broadcast";

    explicit BroadcastKernel(sim::SimModel model, KernelOptions options = {})
        : model_(model), options_(options), firmware_(model), wake_(::eventfd(0, EFD_CLOEXEC)) {
        std::ofstream(LockFile()).put('\n');
        service_ = std::thread([this] { Serve(); });
    }

    ~BroadcastKernel() override {
        {
            const std::lock_guard guard(mutex_);
            stopping_ = true;
        }
        Wake();
        service_.join();
    }

    bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) override {
        nodes = {Info()};
        return true;
    }

    HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                      HidNodeInfo& info) override {
        if (node != kNode) {
            return HidError::NotFound;
        }
        info = Info();
        if (!read && !write) {
            return HidError::None;
        }
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
            return HidError::Io;
        }
        fd.Reset(ends[0]);
        {
            const std::lock_guard guard(mutex_);
            readers_.push_back(Reader{nextReader_++, UniqueFd(ends[1])});
        }
        Wake();
        return HidError::None;
    }

    UniqueFd OpenNodeLock(const std::string&) override {
        return options_.sharedLock ? UniqueFd(::open(LockFile().c_str(), O_RDONLY | O_CLOEXEC))
                                   : UniqueFd();
    }

    // The reply to request number `late` (1 = the first the keyboard receives) leaves when
    // request number `until` arrives, just before that request's own reply (if that one is not
    // held too).
    void HoldReply(int late, int until) {
        const std::lock_guard guard(mutex_);
        holds_[late] = until;
    }

    struct Request {
        int reader;  // 0 for the first open, 1 for the second, ...
        Packet packet;
    };
    std::vector<Request> Received() const {
        const std::lock_guard guard(mutex_);
        return received_;
    }

    sim::SimMemory Memory() const {
        const std::lock_guard guard(mutex_);
        return firmware_.Memory();
    }

    template <typename Edit>
    void EditMemory(Edit edit) {
        const std::lock_guard guard(mutex_);
        edit(firmware_.Memory());
    }

private:
    struct Reader {
        int id;
        UniqueFd end;
    };

    HidNodeInfo Info() const {
        const KeyboardModel& model = sim::InfoOf(model_);
        return HidNodeInfo{kNode, model.vendorId, model.productId, model.factoryFirmwareVersion, 2,
                           sim::CommandReportDescriptor()};
    }

    std::filesystem::path LockFile() const { return folder_.Path() / "node-lock"; }

    void Wake() const {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    }

    void Serve() {
        std::unique_lock guard(mutex_);
        while (!stopping_) {
            std::vector<pollfd> fds{{wake_.Get(), POLLIN, 0}};
            for (const Reader& reader : readers_) {
                fds.push_back({reader.end.Get(), POLLIN, 0});
            }
            guard.unlock();
            ::poll(fds.data(), fds.size(), -1);
            guard.lock();
            if (fds[0].revents != 0) {
                uint64_t count = 0;
                [[maybe_unused]] const ssize_t drained = ::read(wake_.Get(), &count, sizeof count);
            }
            // Only this thread removes readers, so the first fds.size() - 1 are those polled.
            for (size_t i = fds.size() - 1; i > 0; --i) {
                if (fds[i].revents == 0) {
                    continue;
                }
                Packet request{};
                const ssize_t got =
                    ::recv(readers_[i - 1].end.Get(), request.data(), request.size(), 0);
                if (got <= 0) {
                    readers_.erase(readers_.begin() + static_cast<std::ptrdiff_t>(i - 1));
                    continue;
                }
                Answer(readers_[i - 1].id, request);
            }
        }
    }

    void Answer(int reader, const Packet& request) {
        received_.push_back({reader, request});
        const int number = static_cast<int>(received_.size());
        std::optional<Packet> reply = firmware_.HandleRequest(request);
        if (!reply) {
            return;
        }
        if (!options_.echo) {
            std::fill(reply->begin() + PacketByte::Command, reply->begin() + PacketByte::Status,
                      0);
        }
        if (const auto late = held_.find(number); late != held_.end()) {
            Broadcast(reader, late->second);
            held_.erase(late);
        }
        if (const auto hold = holds_.find(number); hold != holds_.end()) {
            held_[hold->second] = *reply;
            return;
        }
        Broadcast(reader, *reply);
    }

    // The other readers first and the asker last, so that no reader sees a reply before every
    // reader has it, as hidraw queues a report for every reader before it wakes any.
    void Broadcast(int asker, const Packet& reply) {
        for (const bool toAsker : {false, true}) {
            for (const Reader& reader : readers_) {
                if ((reader.id == asker) == toAsker) {
                    [[maybe_unused]] const ssize_t sent = ::send(
                        reader.end.Get(), reply.data(), reply.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
                }
            }
        }
    }

    const sim::SimModel model_;
    const KernelOptions options_;
    test::TempFolder folder_;
    mutable std::mutex mutex_;
    sim::SimFirmware firmware_;
    std::vector<Reader> readers_;
    int nextReader_ = 0;
    std::map<int, int> holds_;     // late request number -> request number it waits for
    std::map<int, Packet> held_;   // request number -> reply sent just before its own
    std::vector<Request> received_;
    bool stopping_ = false;
    UniqueFd wake_;
    std::thread service_;
};

}  // namespace zarvin::test_support
