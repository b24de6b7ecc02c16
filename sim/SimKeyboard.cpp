#include "sim/SimKeyboard.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <list>
#include <map>
#include <optional>
#include <system_error>
#include <thread>

#include "sim/SimImageFile.h"
#include "sim/SimReportDescriptors.h"
#include "sim/SimRequestArrival.h"

namespace zarvin::sim {
namespace {

constexpr int kEventInterface = 1;
constexpr int kCommandInterface = 2;

using Clock = std::chrono::steady_clock;

// The reply timer is set early by the lateness of its last wake-up and this much more, and the
// rest of the hold is spun; never more than the most.
constexpr Clock::duration kWakeEarlyAllowance = std::chrono::microseconds(20);
constexpr Clock::duration kMostWakeEarly = std::chrono::microseconds(200);

std::string NodeName(const KeyboardModel& info, int interfaceNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "sim:%04x:%04x/%d", info.vendorId, info.productId,
                  interfaceNumber);
    return name;
}

// Readable once the keyboard was plugged in or unplugged since the changes were last taken.
class SimNodeWatch : public NodeWatch {
public:
    explicit SimNodeWatch(std::shared_ptr<UniqueFd> event) : event_(std::move(event)) {}
    int Descriptor() const override { return event_->Get(); }
    bool TakeChanges() override {
        uint64_t count = 0;
        return ::read(event_->Get(), &count, sizeof count) == static_cast<ssize_t>(sizeof count);
    }

private:
    std::shared_ptr<UniqueFd> event_;
};

}  // namespace

struct SimKeyboard::State {
    // One open of a node: the stand-in's end of its socketpair.
    struct Channel {
        uint64_t id;
        bool commandNode;
        bool takesRequests;  // opened for writing and not cut off by FailWrites
        UniqueFd simEnd;
    };

    struct PendingReply {
        Clock::time_point due;
        Packet packet;
    };

    explicit State(SimModel keyboardModel) : model(keyboardModel), firmware(keyboardModel) {}

    HidNodeInfo NodeInfo(bool commandNode) const;
    void Wake() const;
    void ArmReplyTimer();
    void Serve();
    void Receive(Channel& channel);
    // `arrival`: when the request reached the stand-in, where the hold of its reply starts.
    void HandlePacket(std::span<const uint8_t> bytes, Clock::time_point arrival);
    void SendDueReplies();
    void Broadcast(bool commandNode, std::span<const uint8_t> report);
    void SendEventLocked(uint16_t code);
    void UnplugLocked();
    void DropGoneWatches();
    void TellWatches();
    void TellMemoryChange() const;
    void FailWritesLocked();
    void CutOffCommandChannels();
    void StartScheduledFaults();
    std::list<Channel>::iterator FindChannel(uint64_t id);

    const SimModel model;
    mutable std::mutex lock;
    SimFirmware firmware;
    bool plugged = true;
    bool stopping = false;
    std::list<Channel> channels;
    uint64_t nextChannelId = 1;
    std::deque<PendingReply> pending;
    std::vector<Packet> log;
    uint64_t received = 0;  // command packets since construction

    int silentLeft = 0;
    std::map<uint64_t, uint8_t> refusals;  // packet number → status
    uint64_t unplugAt = 0;                 // packet number, 0 = none
    bool failWrites = false;
    std::chrono::microseconds reportDelay{0};
    // Scheduled faults by the packet number they start at.
    std::multimap<uint64_t, SimFault> scheduled;

    // The eventfds of the node watches; a watch that went leaves an expired entry.
    std::vector<std::weak_ptr<UniqueFd>> watches;
    std::function<void()> memoryChanged;

    UniqueFd wake;
    // Fires at the first pending reply's due time, an absolute deadline: a relative poll timeout
    // would add its slack and the time spent computing it to every held reply.
    UniqueFd replyTimer;
    std::optional<Clock::time_point> timerArmedFor;  // none while disarmed
    // A timer's wake-up comes tens of microseconds late on a virtual machine, more on a loaded
    // one, and a held reply would leave that much after its due time: the timer is set this much
    // before it (following the lateness last seen) and the rest is spun.
    Clock::duration wakeEarly{0};
    Clock::time_point timerExpiry;  // when the armed timer fires
    std::thread service;
};

HidNodeInfo SimKeyboard::State::NodeInfo(bool commandNode) const {
    const KeyboardModel& info = InfoOf(model);
    HidNodeInfo node;
    node.interfaceNumber = commandNode ? kCommandInterface : kEventInterface;
    node.node = NodeName(info, node.interfaceNumber);
    node.vendorId = info.vendorId;
    node.productId = info.productId;
    node.versionNumber = info.factoryFirmwareVersion;
    node.reportDescriptor = commandNode ? CommandReportDescriptor() : EventReportDescriptor();
    return node;
}

void SimKeyboard::State::Wake() const {
    const uint64_t one = 1;
    // A full counter already means a wake-up is pending.
    [[maybe_unused]] const ssize_t written = ::write(wake.Get(), &one, sizeof one);
}

std::list<SimKeyboard::State::Channel>::iterator SimKeyboard::State::FindChannel(uint64_t id) {
    return std::find_if(channels.begin(), channels.end(),
                        [id](const Channel& channel) { return channel.id == id; });
}

void SimKeyboard::State::ArmReplyTimer() {
    std::optional<Clock::time_point> due;
    if (!pending.empty()) {
        due = pending.front().due;
    }
    if (due == timerArmedFor) {
        return;  // most turns of the loop change nothing: no call for them
    }
    itimerspec when{};  // all zero disarms
    if (due) {
        timerExpiry = *due - wakeEarly;
        const auto sinceOrigin =
            std::chrono::duration_cast<std::chrono::nanoseconds>(timerExpiry.time_since_epoch());
        // Zero would disarm: a reply due at the clock's origin is due now all the same.
        const int64_t nanoseconds = std::max<int64_t>(sinceOrigin.count(), 1);
        when.it_value = timespec{static_cast<time_t>(nanoseconds / 1'000'000'000),
                                 static_cast<long>(nanoseconds % 1'000'000'000)};
    }
    ::timerfd_settime(replyTimer.Get(), TFD_TIMER_ABSTIME, &when, nullptr);
    timerArmedFor = due;
}

void SimKeyboard::State::Serve() {
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    std::unique_lock guard(lock);
    while (!stopping) {
        fds.assign({pollfd{wake.Get(), POLLIN, 0}, pollfd{replyTimer.Get(), POLLIN, 0}});
        ids.clear();
        for (const Channel& channel : channels) {
            const short events = channel.takesRequests ? POLLIN : 0;
            fds.push_back(pollfd{channel.simEnd.Get(), events, 0});
            ids.push_back(channel.id);
        }
        ArmReplyTimer();
        guard.unlock();
        const int ready = ::poll(fds.data(), fds.size(), -1);
        guard.lock();

        if (ready > 0) {
            uint64_t count = 0;
            if (fds[0].revents & POLLIN) {
                [[maybe_unused]] const ssize_t drained = ::read(wake.Get(), &count, sizeof count);
            }
            if (fds[1].revents & POLLIN) {
                [[maybe_unused]] const ssize_t expired =
                    ::read(replyTimer.Get(), &count, sizeof count);
                timerArmedFor.reset();  // an expired timer is disarmed
                wakeEarly = std::clamp(Clock::now() - timerExpiry + kWakeEarlyAllowance,
                                       Clock::duration::zero(), kMostWakeEarly);
            }
            for (size_t i = 0; i < ids.size(); ++i) {
                const pollfd& polled = fds[i + 2];
                auto channel = FindChannel(ids[i]);
                // Skip channels closed, or cut off by FailWrites, while the lock was free.
                if (channel == channels.end() || polled.revents == 0) {
                    continue;
                }
                if ((polled.revents & POLLIN) && channel->takesRequests) {
                    Receive(*channel);
                } else if (polled.revents & (POLLHUP | POLLERR | POLLNVAL)) {
                    channels.erase(channel);
                }
            }
        }
        SendDueReplies();
    }
}

void SimKeyboard::State::Receive(Channel& channel) {
    uint8_t buffer[256];
    const auto [count, arrival] = ReceiveWithArrival(channel.simEnd.Get(), buffer, MSG_DONTWAIT);
    if (count > 0) {
        HandlePacket(std::span(buffer, static_cast<size_t>(count)), arrival);
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        channels.erase(FindChannel(channel.id));  // the host closed its end
    }
}

void SimKeyboard::State::HandlePacket(std::span<const uint8_t> bytes, Clock::time_point arrival) {
    Packet packet{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kPacketSize), packet.begin());
    ++received;
    log.push_back(packet);
    StartScheduledFaults();

    if (received == unplugAt) {
        unplugAt = 0;
        UnplugLocked();
        return;
    }
    if (silentLeft > 0) {
        --silentLeft;
        return;
    }
    std::optional<Packet> reply;
    if (auto refusal = refusals.find(received); refusal != refusals.end()) {
        reply = SimFirmware::EmptyReply(packet, refusal->second);
        refusals.erase(refusal);
    } else {
        reply = firmware.HandleRequest(packet);
        TellMemoryChange();
    }
    if (reply) {
        // Replies leave in order, like the answers of a device that does one thing at a time.
        Clock::time_point due = arrival + reportDelay;
        if (!pending.empty()) {
            due = std::max(due, pending.back().due);
        }
        pending.push_back(PendingReply{due, *reply});
    }
}

void SimKeyboard::State::StartScheduledFaults() {
    // A write that is to fail must fail before its packet arrives: the open command descriptors
    // are cut off while the packet before it is handled (its reply still goes out).
    const auto [next, afterNext] = scheduled.equal_range(received + 1);
    for (auto fault = next; fault != afterNext; ++fault) {
        if (fault->second.kind == SimFaultKind::FailWrite) {
            CutOffCommandChannels();
            break;
        }
    }
    const auto [first, last] = scheduled.equal_range(received);
    for (auto entry = first; entry != last; ++entry) {
        const SimFault& fault = entry->second;
        switch (fault.kind) {
            case SimFaultKind::Silent:
                silentLeft = std::max(silentLeft, kSilentPackets);
                break;
            case SimFaultKind::Lose:
                silentLeft = std::max(silentLeft, 1);
                break;
            case SimFaultKind::RefuseFE:
                refusals[received] = kStatusRefusedFE;
                break;
            case SimFaultKind::RefuseFF:
                refusals[received] = kStatusRefusedFF;
                break;
            case SimFaultKind::Unplug:
                unplugAt = received;
                break;
            case SimFaultKind::Delay:
                reportDelay = fault.delay;
                break;
            case SimFaultKind::FailWrite:
                break;  // cut off with the packet before
        }
    }
    scheduled.erase(first, last);
}

void SimKeyboard::State::FailWritesLocked() {
    failWrites = true;
    CutOffCommandChannels();
}

void SimKeyboard::State::CutOffCommandChannels() {
    for (Channel& channel : channels) {
        if (channel.commandNode && channel.takesRequests) {
            ::shutdown(channel.simEnd.Get(), SHUT_RD);
            channel.takesRequests = false;
        }
    }
    Wake();
}

void SimKeyboard::State::SendDueReplies() {
    Clock::time_point now = Clock::now();
    // The timer woke the thread early for this reply: the rest of its hold is spun.
    if (!pending.empty() && pending.front().due > now && pending.front().due - now <= wakeEarly) {
        while ((now = Clock::now()) < pending.front().due) {
        }
    }
    while (!pending.empty() && pending.front().due <= now) {
        Broadcast(true, pending.front().packet);
        pending.pop_front();
    }
}

void SimKeyboard::State::Broadcast(bool commandNode, std::span<const uint8_t> report) {
    for (const Channel& channel : channels) {
        if (channel.commandNode == commandNode) {
            // A full queue loses the report; a closed peer is noticed by the next poll.
            [[maybe_unused]] const ssize_t sent = ::send(
                channel.simEnd.Get(), report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        }
    }
}

void SimKeyboard::State::SendEventLocked(uint16_t code) {
    const std::array<uint8_t, kEventReportSize> press = {
        kEventReportId, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)};
    const std::array<uint8_t, kEventReportSize> release = {kEventReportId, 0, 0};
    Broadcast(false, press);
    Broadcast(false, release);
}

void SimKeyboard::State::UnplugLocked() {
    plugged = false;
    channels.clear();
    pending.clear();
    TellWatches();
}

void SimKeyboard::State::DropGoneWatches() {
    std::erase_if(watches, [](const std::weak_ptr<UniqueFd>& watch) { return watch.expired(); });
}

void SimKeyboard::State::TellWatches() {
    DropGoneWatches();
    const uint64_t one = 1;
    for (const std::weak_ptr<UniqueFd>& watch : watches) {
        if (const std::shared_ptr<UniqueFd> event = watch.lock()) {
            [[maybe_unused]] const ssize_t written = ::write(event->Get(), &one, sizeof one);
        }
    }
}

void SimKeyboard::State::TellMemoryChange() const {
    if (memoryChanged) {
        memoryChanged();
    }
}

SimKeyboard::SimKeyboard(SimModel model) : state_(std::make_unique<State>(model)) {
    state_->wake = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!state_->wake.Valid()) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    state_->replyTimer =
        UniqueFd(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK));
    if (!state_->replyTimer.Valid()) {
        throw std::system_error(errno, std::generic_category(), "timerfd_create");
    }
    state_->service = std::thread([state = state_.get()] { state->Serve(); });
}

SimKeyboard::~SimKeyboard() {
    {
        std::lock_guard guard(state_->lock);
        state_->stopping = true;
    }
    state_->Wake();
    state_->service.join();
}

SimModel SimKeyboard::Model() const {
    return state_->model;
}

bool SimKeyboard::EnumerateNodes(std::vector<HidNodeInfo>& nodes) {
    std::lock_guard guard(state_->lock);
    nodes.clear();
    if (state_->plugged) {
        nodes.push_back(state_->NodeInfo(false));
        nodes.push_back(state_->NodeInfo(true));
    }
    return true;
}

std::unique_ptr<NodeWatch> SimKeyboard::WatchNodes() {
    auto event = std::make_shared<UniqueFd>(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!event->Valid()) {
        return nullptr;
    }
    std::lock_guard guard(state_->lock);
    state_->DropGoneWatches();
    state_->watches.push_back(event);
    return std::make_unique<SimNodeWatch>(std::move(event));
}

HidError SimKeyboard::OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                               HidNodeInfo& info) {
    std::lock_guard guard(state_->lock);
    if (!state_->plugged) {
        return HidError::NotFound;
    }
    const bool commandNode = node == NodeName(InfoOf(state_->model), kCommandInterface);
    if (!commandNode && node != NodeName(InfoOf(state_->model), kEventInterface)) {
        return HidError::NotFound;
    }
    info = state_->NodeInfo(commandNode);
    if (!read && !write) {
        return HidError::None;
    }

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        return HidError::Io;
    }
    UniqueFd hostEnd(ends[0]);
    UniqueFd simEnd(ends[1]);
    if (::fcntl(hostEnd.Get(), F_SETFL, O_NONBLOCK) != 0) {
        return HidError::Io;
    }
    // The consumer-control interface has no output report to take.
    const bool takesRequests = commandNode && write && !state_->failWrites;
    if (!takesRequests) {
        ::shutdown(simEnd.Get(), SHUT_RD);
    }
    if (!read) {
        ::shutdown(simEnd.Get(), SHUT_WR);
    }
    // Without stamps a reply's hold starts when the request is read.
    AskForArrivalStamps(simEnd.Get());
    state_->channels.push_back(
        State::Channel{state_->nextChannelId++, commandNode, takesRequests, std::move(simEnd)});
    fd = std::move(hostEnd);
    state_->Wake();
    return HidError::None;
}

void SimKeyboard::WithFirmware(const std::function<void(SimFirmware&)>& action) {
    std::lock_guard guard(state_->lock);
    action(state_->firmware);
    state_->TellMemoryChange();
}

void SimKeyboard::Plug() {
    std::lock_guard guard(state_->lock);
    if (!state_->plugged) {
        state_->plugged = true;
        state_->firmware.PowerCycle();
        state_->TellWatches();
    }
}

void SimKeyboard::Unplug() {
    std::lock_guard guard(state_->lock);
    state_->UnplugLocked();
    state_->Wake();
}

bool SimKeyboard::Plugged() const {
    std::lock_guard guard(state_->lock);
    return state_->plugged;
}

void SimKeyboard::StaySilentFor(int requests) {
    std::lock_guard guard(state_->lock);
    state_->silentLeft = std::max(requests, 0);
}

void SimKeyboard::RefusePacket(int packetNumber, uint8_t status) {
    std::lock_guard guard(state_->lock);
    if (packetNumber > 0) {
        state_->refusals[state_->received + static_cast<uint64_t>(packetNumber)] = status;
    }
}

void SimKeyboard::FailWrites(bool fail) {
    std::lock_guard guard(state_->lock);
    if (fail) {
        state_->FailWritesLocked();
    } else {
        state_->failWrites = false;
    }
}

void SimKeyboard::ScheduleFaults(const std::vector<SimFault>& faults) {
    std::lock_guard guard(state_->lock);
    for (const SimFault& fault : faults) {
        if (fault.packet < 1) {
            continue;
        }
        if (fault.kind == SimFaultKind::FailWrite && fault.packet == 1) {
            state_->FailWritesLocked();
            continue;
        }
        state_->scheduled.emplace(state_->received + static_cast<uint64_t>(fault.packet), fault);
    }
}

void SimKeyboard::UnplugAtPacket(int packetNumber) {
    std::lock_guard guard(state_->lock);
    state_->unplugAt =
        packetNumber > 0 ? state_->received + static_cast<uint64_t>(packetNumber) : 0;
}

void SimKeyboard::SetReportDelay(std::chrono::microseconds delay) {
    std::lock_guard guard(state_->lock);
    state_->reportDelay = std::max(delay, std::chrono::microseconds{0});
}

void SimKeyboard::ClearFaults() {
    std::lock_guard guard(state_->lock);
    state_->silentLeft = 0;
    state_->refusals.clear();
    state_->unplugAt = 0;
    state_->failWrites = false;
    state_->reportDelay = std::chrono::microseconds{0};
    state_->scheduled.clear();
}

void SimKeyboard::SendEvent(uint16_t code) {
    std::lock_guard guard(state_->lock);
    state_->SendEventLocked(code);
}

void SimKeyboard::ChangeProfileOnKeyboard(int profile) {
    std::lock_guard guard(state_->lock);
    if (state_->firmware.SelectProfile(profile)) {
        state_->TellMemoryChange();
        state_->SendEventLocked(0x0402);
    }
}

void SimKeyboard::ChangeLightingOnKeyboard(uint8_t effect) {
    std::lock_guard guard(state_->lock);
    if (state_->firmware.SelectEffect(effect)) {
        state_->TellMemoryChange();
        state_->SendEventLocked(0x0401);
    }
}

std::vector<Packet> SimKeyboard::ReceivedPackets() const {
    std::lock_guard guard(state_->lock);
    return state_->log;
}

void SimKeyboard::ClearLog() {
    std::lock_guard guard(state_->lock);
    state_->log.clear();
}

bool SimKeyboard::SaveImage(const std::filesystem::path& file, std::string& error) const {
    std::lock_guard guard(state_->lock);
    return WriteImageFile(file, state_->model, state_->firmware.Memory(), error);
}

bool SimKeyboard::LoadImage(const std::filesystem::path& file, std::string& error) {
    std::lock_guard guard(state_->lock);
    if (!ReadImageFile(file, state_->model, state_->firmware.Memory(), error)) {
        return false;
    }
    state_->TellMemoryChange();
    return true;
}

void SimKeyboard::OnMemoryChange(std::function<void()> changed) {
    std::lock_guard guard(state_->lock);
    state_->memoryChanged = std::move(changed);
}

std::vector<uint8_t> SimKeyboard::ImageBytes() const {
    std::lock_guard guard(state_->lock);
    return EncodeImage(state_->model, state_->firmware.Memory());
}

}  // namespace zarvin::sim
