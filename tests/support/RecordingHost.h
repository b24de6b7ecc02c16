#pragma once

// The main window as the editors see it: records each call as one line ("pending 1", "apply",
// "assignments", "menu", "active", "faces 1058", "help") and keeps the pending-changes flag as
// the window does, Apply clearing it.

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/EditorHost.h"

namespace zarvin::test_support {

class RecordingHost : public EditorHost {
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
    void RestoreKeyFaces(int controlId) override {
        calls.push_back("faces " + std::to_string(controlId));
    }
    void OpenHelp() override { calls.push_back("help"); }

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
