#include "sim/UhidKeyboard.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>

#include "sim/SimModel.h"
#include "sim/SimReportDescriptors.h"

namespace zarvin::sim {
namespace {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

bool WriteEvent(int fd, const uhid_event& event, std::string& error) {
    for (;;) {
        const ssize_t written = ::write(fd, &event, sizeof event);
        if (written == static_cast<ssize_t>(sizeof event)) {
            return true;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        error = "/dev/uhid refused an event: " + ErrnoText(written < 0 ? errno : EIO);
        return false;
    }
}

template <size_t N>
void CopyText(uint8_t (&field)[N], const std::string& text) {
    const size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = 0;
}

UniqueFd OpenUhid(const std::filesystem::path& uhidNode, std::string& error) {
    UniqueFd fd(::open(uhidNode.c_str(), O_RDWR | O_CLOEXEC));
    if (!fd.Valid()) {
        const int reason = errno;
        error = "cannot open " + uhidNode.string() + ": " + ErrnoText(reason);
        if (reason == ENOENT) {
            error += " (load the uhid module: 'sudo modprobe uhid')";
        } else if (reason == EACCES || reason == EPERM) {
            error += " (creating HID devices needs root)";
        }
    }
    return fd;
}

bool CreateInterface(int fd, SimModel model, int interfaceNumber,
                     const std::vector<uint8_t>& descriptor, std::string& error) {
    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& create = event.u.create2;
    CopyText(create.name, UhidKeyboard::kDeviceName);
    CopyText(create.phys, "zarvinctl-uhid/input" + std::to_string(interfaceNumber));
    CopyText(create.uniq, std::string(InfoOf(model).name));
    create.rd_size = static_cast<uint16_t>(descriptor.size());
    create.bus = BUS_USB;
    create.vendor = InfoOf(model).vendorId;
    create.product = InfoOf(model).productId;
    create.version = InfoOf(model).factoryFirmwareVersion;
    create.country = 0;
    std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
    return WriteEvent(fd, event, error);
}

}  // namespace

UhidKeyboard::UhidKeyboard(SimFirmware& firmware) : firmware_(firmware) {}

// Closing a uhid descriptor removes its device.
UhidKeyboard::~UhidKeyboard() = default;

bool UhidKeyboard::Create(std::string& error, const std::filesystem::path& uhidNode) {
    UniqueFd command = OpenUhid(uhidNode, error);
    if (!command.Valid()) {
        return false;
    }
    UniqueFd consumer = OpenUhid(uhidNode, error);
    return consumer.Valid() && Plug(std::move(command), std::move(consumer), error);
}

bool UhidKeyboard::Plug(UniqueFd command, UniqueFd consumer, std::string& error) {
    const SimModel model = firmware_.Model();
    if (!CreateInterface(command.Get(), model, 1, CommandReportDescriptor(), error) ||
        !CreateInterface(consumer.Get(), model, 2, EventReportDescriptor(), error)) {
        return false;
    }
    command_ = std::move(command);
    consumer_ = std::move(consumer);
    return true;
}

bool UhidKeyboard::Serve(int stopFd, std::string& error) {
    for (;;) {
        pollfd fds[3] = {
            {command_.Get(), POLLIN, 0}, {consumer_.Get(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = "poll failed: " + ErrnoText(errno);
            return false;
        }
        if (fds[2].revents != 0) {
            return true;
        }
        for (int index = 0; index < 2; ++index) {
            const short events = fds[index].revents;
            if ((events & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                error = "/dev/uhid closed the virtual keyboard";
                return false;
            }
            if ((events & POLLIN) != 0 && !HandleEvent(fds[index].fd, index == 0, error)) {
                return false;
            }
        }
    }
}

bool UhidKeyboard::HandleEvent(int fd, bool commandInterface, std::string& error) {
    uhid_event event{};
    const ssize_t count = ::read(fd, &event, sizeof event);
    if (count < 0) {
        if (errno == EINTR || errno == EAGAIN) {
            return true;
        }
        error = "cannot read from /dev/uhid: " + ErrnoText(errno);
        return false;
    }
    if (count == 0) {
        error = "/dev/uhid closed the virtual keyboard";
        return false;
    }
    switch (event.type) {
        case UHID_OUTPUT: {
            // Requests arrive as output reports, report id first; only the command interface
            // has a firmware behind it.
            const uhid_output_req& output = event.u.output;
            const size_t size = std::min<size_t>(output.size, UHID_DATA_MAX);
            if (!commandInterface || output.rtype != UHID_OUTPUT_REPORT) {
                return true;
            }
            int number = 0;
            {
                const std::lock_guard guard(faultMutex_);
                number = ++requests_;
            }
            const auto reply = firmware_.HandleRequest(std::span<const uint8_t>(output.data, size));
            return !reply || ReplyInTurn(fd, number, *reply, error);
        }
        case UHID_GET_REPORT: {
            // The keyboard has no feature reports: refuse at once rather than let the kernel
            // wait for its time-out.
            uhid_event answer{};
            answer.type = UHID_GET_REPORT_REPLY;
            answer.u.get_report_reply.id = event.u.get_report.id;
            answer.u.get_report_reply.err = EIO;
            return WriteEvent(fd, answer, error);
        }
        case UHID_SET_REPORT: {
            uhid_event answer{};
            answer.type = UHID_SET_REPORT_REPLY;
            answer.u.set_report_reply.id = event.u.set_report.id;
            answer.u.set_report_reply.err = EIO;
            return WriteEvent(fd, answer, error);
        }
        default:
            // START, STOP, OPEN and CLOSE need no answer.
            return true;
    }
}

void UhidKeyboard::HoldReply(int late, int until) {
    const std::lock_guard guard(faultMutex_);
    holds_[requests_ + late] = requests_ + until;
}

bool UhidKeyboard::ReplyInTurn(int fd, int number, const Packet& reply, std::string& error) {
    std::optional<Packet> earlier;
    {
        const std::lock_guard guard(faultMutex_);
        if (const auto hold = holds_.find(number); hold != holds_.end()) {
            held_[hold->second] = reply;
            holds_.erase(hold);
            return true;
        }
        if (const auto late = held_.find(number); late != held_.end()) {
            earlier = late->second;
            held_.erase(late);
        }
    }
    return (!earlier || Reply(fd, *earlier, error)) && Reply(fd, reply, error);
}

bool UhidKeyboard::Reply(int fd, std::span<const uint8_t> report, std::string& error) {
    uhid_event event{};
    event.type = UHID_INPUT2;
    const size_t size = std::min<size_t>(report.size(), UHID_DATA_MAX);
    event.u.input2.size = static_cast<uint16_t>(size);
    std::memcpy(event.u.input2.data, report.data(), size);
    return WriteEvent(fd, event, error);
}

}  // namespace zarvin::sim
