#pragma once

#include <string_view>

namespace zarvin {

// How the core asks the user a yes/no question: by the language text key of the question. The
// window layer shows it with No as the default button; tests answer from a script.
class UserQuestions {
public:
    virtual ~UserQuestions() = default;
    // True for Yes.
    virtual bool AskYesNo(std::string_view textKey) = 0;
};

}  // namespace zarvin
