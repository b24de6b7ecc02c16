#pragma once

#include <string_view>

namespace zarvin {

// How the core tells the user something: by the language text key of the message. The window
// layer looks the text up and shows it; tests record the keys.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(std::string_view textKey) = 0;
};

}  // namespace zarvin
