#pragma once

// Answers every question with `answer` (No unless the test says otherwise) and records them by
// text key.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control/UserQuestions.h"

namespace zarvin::test_support {

class ScriptedQuestions : public UserQuestions {
public:
    bool AskYesNo(std::string_view textKey) override {
        asked.emplace_back(textKey);
        if (const std::function<void()> hook = std::exchange(whileAsking, nullptr)) {
            hook();
        }
        return answer;
    }

    bool answer = false;
    // Runs once, while the next question is on screen, as an event its message loop handles.
    std::function<void()> whileAsking;
    std::vector<std::string> asked;
};

}  // namespace zarvin::test_support
