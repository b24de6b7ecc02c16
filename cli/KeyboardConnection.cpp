#include "cli/KeyboardConnection.h"

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
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
        error = CliText(cli_text::CANNOT_LIST_DEVICES);
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
        error = CliFormat(cli_text::NO_ACCESS, {refusedNode}) + "\n" + AccessRemedy();
    } else if (refusal != HidError::None) {
        error = CliFormat(cli_text::CANNOT_OPEN_NODE, {refusedNode, HidErrorText(refusal)});
    } else if (keyboardSeen) {
        error = CliText(cli_text::NO_COMMAND_INTERFACE);
    } else {
        error = NoKeyboardFound();
    }
    return false;
}

std::string NoKeyboardFound() {
    std::string joiner = CliText(cli_text::WORD_AND);
    joiner.erase(0, joiner.find_first_not_of(' '));
    joiner.erase(joiner.find_last_not_of(' ') + 1);
    return CliFormat(cli_text::NO_KEYBOARD, {SupportedIdsText(joiner)});
}

std::string CommandResultText(int result) {
    switch (result) {
        case CommandResult::Success:
            return CliText(cli_text::RESULT_SUCCESS);
        case CommandResult::NoReply:
            return CliText(cli_text::RESULT_NO_REPLY);
        case CommandResult::WriteFailed:
            return CliText(cli_text::RESULT_WRITE_FAILED);
        case CommandResult::Busy:
            return CliFormat(cli_text::RESULT_BUSY,
                             {std::to_string(ExchangeTiming{}.nodeLockTimeout.count() / 1000)});
        case CommandResult::RefusedFF:
            return CliFormat(cli_text::RESULT_REFUSED, {"0xff"});
        case CommandResult::RefusedFE:
            return CliFormat(cli_text::RESULT_REFUSED, {"0xfe"});
        case CommandResult::BadProfile:
            return CliText(cli_text::RESULT_BAD_PROFILE);
        default:
            return CliFormat(cli_text::RESULT_UNEXPECTED, {std::to_string(result)});
    }
}

}  // namespace zarvin::cli
