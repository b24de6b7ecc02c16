#include "sim/SimFaultList.h"

#include <charconv>
#include <utility>

namespace zarvin::sim {

namespace {

// Packet numbers and delays above this are surely typing mistakes.
constexpr int kLargestNumber = 1'000'000;

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kLargestNumber) {
        return std::nullopt;
    }
    return value;
}

std::optional<SimFaultKind> KindOf(std::string_view name) {
    constexpr std::pair<std::string_view, SimFaultKind> kKinds[] = {
        {"silent", SimFaultKind::Silent},      {"lose", SimFaultKind::Lose},
        {"refuse-fe", SimFaultKind::RefuseFE}, {"refuse-ff", SimFaultKind::RefuseFF},
        {"fail-write", SimFaultKind::FailWrite}, {"unplug", SimFaultKind::Unplug},
        {"delay", SimFaultKind::Delay},
    };
    for (const auto& [known, kind] : kKinds) {
        if (name == known) {
            return kind;
        }
    }
    return std::nullopt;
}

std::optional<SimFault> ParseOne(std::string_view part, std::string& error) {
    const auto fail = [&](std::string why) -> std::optional<SimFault> {
        error = "fault '" + std::string(part) + "': " + std::move(why);
        return std::nullopt;
    };
    const size_t at = part.rfind('@');
    if (at == std::string_view::npos) {
        return fail("say at which packet, as in lose@3");
    }
    std::string_view name = part.substr(0, at);
    std::optional<int> milliseconds;
    if (const size_t equals = name.find('='); equals != std::string_view::npos) {
        milliseconds = Number(name.substr(equals + 1));
        name = name.substr(0, equals);
        if (!milliseconds) {
            return fail("the delay is a number of milliseconds, as in delay=20@1");
        }
    }
    const std::optional<SimFaultKind> kind = KindOf(name);
    if (!kind) {
        return fail("unknown fault (silent, lose, refuse-fe, refuse-ff, fail-write, unplug or "
                    "delay=MS)");
    }
    if ((*kind == SimFaultKind::Delay) != milliseconds.has_value()) {
        return fail(*kind == SimFaultKind::Delay ? "say how long, as in delay=20@1"
                                                 : "only delay takes a value");
    }
    const std::optional<int> packet = Number(part.substr(at + 1));
    if (!packet || *packet < 1) {
        return fail("the packet is a number from 1");
    }
    return SimFault{*kind, *packet, std::chrono::milliseconds(milliseconds.value_or(0))};
}

}  // namespace

std::optional<std::vector<SimFault>> ParseSimFaults(std::string_view list, std::string& error) {
    std::vector<SimFault> faults;
    while (true) {
        const size_t comma = list.find(',');
        std::optional<SimFault> fault = ParseOne(list.substr(0, comma), error);
        if (!fault) {
            return std::nullopt;
        }
        faults.push_back(*fault);
        if (comma == std::string_view::npos) {
            return faults;
        }
        list.remove_prefix(comma + 1);
    }
}

}  // namespace zarvin::sim
