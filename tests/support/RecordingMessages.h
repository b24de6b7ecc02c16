#pragma once

// Records the messages shown, by text key ("KEY:argument" for one with an argument), from any
// thread: the device threads raise messages too.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "device/UserMessages.h"

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
    // The text keys alone, without the arguments.
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys = Shown();
        for (std::string& key : keys) {
            key = key.substr(0, key.find(':'));
        }
        return keys;
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        shown_.clear();
    }

    // Called with each message as it is recorded, for a test that notes what else had happened
    // by then. Set it before the code under test runs.
    std::function<void(std::string_view message)> onShown;

private:
    void Record(std::string message) {
        {
            const std::lock_guard lock(mutex_);
            shown_.push_back(message);
        }
        if (onShown) {
            onShown(message);
        }
    }

    mutable std::mutex mutex_;
    std::vector<std::string> shown_;
};

}  // namespace zarvin::test_support
