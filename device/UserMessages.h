#pragma once

#include <string_view>

namespace zarvin {

// How the core tells the user something: by the language text key of the message. The window
// layer looks the text up and shows it; tests record the keys.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(std::string_view textKey) = 0;
    // A message whose text is a format with one string argument, such as a file path. A sink
    // that shows keys only may keep this default, which drops the argument.
    virtual void ShowFormattedMessage(std::string_view textKey, std::string_view /*argument*/) {
        ShowMessage(textKey);
    }
};

}  // namespace zarvin
