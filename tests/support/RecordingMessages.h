#pragma once

// Records the messages shown, by text key ("KEY:argument" for one with an argument), from any
// thread: the device threads raise messages too.

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/UserMessages.h"

namespace zarvin::test_support {

class RecordingMessages : public UserMessages {
public:
    void ShowMessage(std::string_view textKey) override { Record(std::string(textKey)); }
    void ShowFormattedMessage(std::string_view textKey, std::string_view argument) override {
        Record(std::string(textKey) + ':' + std::string(argument));
    }

    std::vector<std::string> Shown() const {
        const std::lock_guard lock(mutex_);
        return shown_;
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        shown_.clear();
    }

private:
    void Record(std::string message) {
        const std::lock_guard lock(mutex_);
        shown_.push_back(std::move(message));
    }

    mutable std::mutex mutex_;
    std::vector<std::string> shown_;
};

}  // namespace zarvin::test_support
