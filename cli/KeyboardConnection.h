#pragma once

#include <string>

#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardModel.h"

namespace zarvin::cli {

// Finds the command interface of the first supported keyboard that a node source offers and
// keeps it open for the protocol.
class KeyboardConnection {
public:
    explicit KeyboardConnection(HidNodeSource& source, ExchangeTiming timing = {});
    ~KeyboardConnection();
    KeyboardConnection(const KeyboardConnection&) = delete;
    KeyboardConnection& operator=(const KeyboardConnection&) = delete;

    // On failure `error` tells the user why, naming the device node where there is one.
    bool Connect(std::string& error);

    HidDevice& Device() { return device_; }
    CommandLink& Link() { return link_; }
    // The model of the connected keyboard (the first of the table before a connection).
    const KeyboardModel& Model() const { return *model_; }

private:
    HidDevice device_;
    CommandLink link_;
    const KeyboardModel* model_ = &KeyboardModels().front();
};

// What a keyboard operation's result means, for messages.
std::string CommandResultText(int result);

// "no supported keyboard found (looked for USB ids ...)", in the command line's language.
std::string NoKeyboardFound();

}  // namespace zarvin::cli
