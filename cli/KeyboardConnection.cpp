#include "cli/KeyboardConnection.h"

#include "keyboard/KeyboardIds.h"
#include "keyboard/KeyboardModel.h"
#include "platform/AccessGuidance.h"

namespace zarvin::cli {

KeyboardConnection::KeyboardConnection(HidNodeSource& source, ExchangeTiming timing)
    : device_(source), link_(device_, timing) {}

KeyboardConnection::~KeyboardConnection() {
    link_.SetConnected(false);
    device_.Close();
}

bool KeyboardConnection::Connect(std::string& error) {
    if (!device_.RefreshPaths()) {
        error = "cannot list the HID devices of this machine";
        return false;
    }
    std::string refusedNode;
    HidError refusal = HidError::None;
    bool keyboardSeen = false;
    while (const auto path = device_.NextPath()) {
        if (!MatchKeyboardPath(*path)) {
            continue;
        }
        keyboardSeen = true;
        if (!device_.Open(*path, true, true)) {
            if (refusal == HidError::None) {
                refusal = device_.LastError();
                refusedNode = path->substr(0, path->find('#'));
            }
            continue;
        }
        const HidAttributes& ids = device_.Attributes();
        const KeyboardModel* model = ModelForIds(ids.vendorId, ids.productId);
        if (model != nullptr && device_.Caps().usagePage == kCommandUsagePage &&
            device_.Caps().usage == kCommandUsage) {
            model_ = model;
            link_.SetGeometry(model->Geometry());
            link_.SetConnected(true);
            device_.FreePaths();
            return true;
        }
        device_.Close();
    }
    device_.FreePaths();
    if (refusal == HidError::PermissionDenied) {
        error = "no read/write access to " + refusedNode + ".\n" + AccessRemedy();
    } else if (refusal != HidError::None) {
        error = "cannot open " + refusedNode + ": " + HidErrorText(refusal);
    } else if (keyboardSeen) {
        error = "a supported keyboard is attached, but its command interface was not found";
    } else {
        error = "no supported keyboard found (looked for USB ids " + SupportedIdsText("and") + ")";
    }
    return false;
}

std::string CommandResultText(int result) {
    switch (result) {
        case CommandResult::Success:
            return "success";
        case CommandResult::NoReply:
            return "the keyboard did not answer";
        case CommandResult::WriteFailed:
            return "the request could not be sent to the keyboard";
        case CommandResult::Busy:
            return "another program kept the keyboard busy for more than " +
                   std::to_string(ExchangeTiming{}.nodeLockTimeout.count() / 1000) +
                   " s (close other programs that configure it, or try again)";
        case CommandResult::RefusedFF:
            return "the keyboard refused the request (status 0xff)";
        case CommandResult::RefusedFE:
            return "the keyboard refused the request (status 0xfe)";
        case CommandResult::BadProfile:
            return "no such profile";
        default:
            return "unexpected result " + std::to_string(result);
    }
}

}  // namespace zarvin::cli
