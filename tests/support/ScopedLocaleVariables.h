#pragma once

// The locale variables a test sets, put back as they were when it ends. LC_ALL and LC_MESSAGES
// start unset, so that LANG alone decides.

#include <cstdlib>
#include <optional>
#include <string>

namespace zarvin::test {

class ScopedLocaleVariables {
public:
    ScopedLocaleVariables() {
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
    }
    ~ScopedLocaleVariables() {
        Restore("LC_ALL", all_);
        Restore("LC_MESSAGES", messages_);
        Restore("LANG", lang_);
    }
    ScopedLocaleVariables(const ScopedLocaleVariables&) = delete;
    ScopedLocaleVariables& operator=(const ScopedLocaleVariables&) = delete;

private:
    static std::optional<std::string> Kept(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }

    std::optional<std::string> all_ = Kept("LC_ALL");
    std::optional<std::string> messages_ = Kept("LC_MESSAGES");
    std::optional<std::string> lang_ = Kept("LANG");
};

}  // namespace zarvin::test
