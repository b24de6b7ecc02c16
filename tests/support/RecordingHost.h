#pragma once

// The main window as the editors see it: the profile switch's calls (RecordingSwitchHost) and
// "faces 1058", "help".

#include <string>

#include "dialogs/EditorHost.h"
#include "support/RecordingSwitchHost.h"

namespace zarvin::test_support {

class RecordingHost : public RecordingSwitchHost<EditorHost> {
public:
    void RestoreKeyFaces(int controlId) override {
        calls.push_back("faces " + std::to_string(controlId));
    }
    void OpenHelp() override { calls.push_back("help"); }
};

}  // namespace zarvin::test_support
