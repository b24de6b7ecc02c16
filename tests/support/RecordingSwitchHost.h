#pragma once

// The main window as the profile switch sees it: records each call as one line ("pending 1",
// "apply", "assignments", "menu", "active") and keeps the pending-changes flag as the window
// does, Apply clearing it. RecordingHost extends it to the editors' view of the window.

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "control/ProfileSwitch.h"

namespace zarvin::test_support {

template <typename Host = ProfileSwitchHost>
class RecordingSwitchHost : public Host {
public:
    void SetPendingChanges(bool on) override {
        pending = on;
        calls.push_back(on ? "pending 1" : "pending 0");
    }
    bool HasPendingChanges() const override { return pending; }
    void ApplyChanges() override {
        calls.push_back("apply");
        pending = false;
    }
    void ShowAssignments() override { calls.push_back("assignments"); }
    void RebuildProfileMenu() override { calls.push_back("menu"); }
    void ShowActiveProfile() override { calls.push_back("active"); }

    // The calls whose line starts with `prefix`, in order.
    std::vector<std::string> CallsStartingWith(std::string_view prefix) const {
        std::vector<std::string> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&](const std::string& call) { return call.starts_with(prefix); });
        return found;
    }

    bool pending = false;
    std::vector<std::string> calls;
};

}  // namespace zarvin::test_support
