#pragma once

// Nobody is there to read or answer while the pictures are taken: messages are dropped and every
// question is answered No.

#include <string_view>

#include "control/UserQuestions.h"
#include "device/UserMessages.h"

namespace zarvin::preview {

class SilentUser : public UserMessages, public UserQuestions {
public:
    void ShowMessage(std::string_view /*textKey*/) override {}
    bool AskYesNo(std::string_view /*textKey*/) override { return false; }
};

}  // namespace zarvin::preview
