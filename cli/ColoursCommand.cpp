// The colours command: per-key colours of a user lighting mode printed, or painted as the
// window's own-colour brush paints them, written to the user-mode file and sent.

#include <cerrno>
#include <cstdio>
#include <sstream>
#include <string>

#include "cli/ColourArguments.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "cli/LanguageMessages.h"
#include "cli/UserModeSession.h"
#include "device/CommandProtocol.h"
#include "model/KeyboardLayout.h"

namespace zarvin::cli {
namespace {

std::string HexOf(ColourValue colour) {
    char text[7];
    std::snprintf(text, sizeof text, "%02x%02x%02x", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return text;
}

JsonValue KeyColourJson(const KeyButton& button, const UserKeyEntry& entry,
                        const TextLookup& texts) {
    JsonValue key = button.kind == KeyButtonKind::Fn ? JsonValue{{"name", "Fn"}}
                                                     : KeyJson(button.keyCode, texts);
    return {{"key", std::move(key)},
            {"colour", HexOf(entry.colour)},
            {"followsBase", entry.followsBase}};
}

void PrintHeader(const UserModeSession& session, int mode, std::ostream& out) {
    out << CliFormat(cli_text::USER_MODE_HEADING,
                     {std::to_string(ShownProfile(session.profile)), std::to_string(mode),
                      session.files.ReadModeName(session.profile, mode)});
}

// Every key of `mode` as its file holds it, as KEY=RRGGBB lines that "colours" takes back.
int PrintColours(const UserModeSession& session, int mode, std::ostream& out, OutputForm form) {
    LanguageTextCache texts(session.context.programFolder);
    const int profile = session.profile;
    if (form == OutputForm::Json) {
        JsonValue keys = JsonValue::array();
        for (const KeyButton& button : KeyButtons()) {
            keys.push_back(KeyColourJson(
                button, session.files.ReadKeyEntry(profile, mode, button.colourIndex),
                texts.Lookup()));
        }
        JsonValue result = ProfileJson(profile);
        result.update(JsonValue{{"mode", mode},
                                {"name", session.files.ReadModeName(profile, mode)},
                                {"keys", std::move(keys)}});
        PrintJson(out, result);
        return kExitOk;
    }
    PrintHeader(session, mode, out);
    out << '\n';
    for (const KeyButton& button : KeyButtons()) {
        const UserKeyEntry entry = session.files.ReadKeyEntry(profile, mode, button.colourIndex);
        out << "  " << ColourKeyName(button) << '=' << HexOf(entry.colour) << '\n';
    }
    return kExitOk;
}

}  // namespace

int RunColours(KeyboardConnection& connection, const AppContext& context,
               std::optional<int> profile, std::optional<int> mode,
               const std::vector<KeyColours::PaintedKey>& keys, std::ostream& out,
               std::ostream& err, OutputForm form) {
    UserModeSession session(connection, context);
    if (!session.Open(profile, err)) {
        return kExitFailed;
    }
    const int target = session.profile;
    if (keys.empty()) {
        if (!session.CanReadFile(err)) {
            return kExitFailed;
        }
        return PrintColours(session, mode ? *mode : session.files.ReadPresentMode(target), out,
                            form);
    }
    // As choosing the mode in the window's list and then painting: the mode becomes the
    // profile's present one, so the keyboard shows what its file holds.
    if (mode && !session.KeepPresentMode(*mode, err)) {
        return kExitFailed;
    }
    session.colours.LoadUserMode(target, false);
    const int shownMode = session.colours.CurrentMode();
    errno = 0;
    const auto painted = session.colours.PaintKeys(keys);
    if (!painted) {
        session.TellUnkept(std::nullopt, errno, err);
        return kExitFailed;
    }
    const int result = *painted;
    if (result != CommandResult::Success) {
        err << CliFormat(cli_text::COLOURS_KEPT_NOT_SENT, {CommandResultText(result)}) << '\n';
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        LanguageTextCache texts(context.programFolder);
        JsonValue paintedJson = JsonValue::array();
        for (const KeyColours::PaintedKey& key : keys) {
            paintedJson.push_back(KeyColourJson(*FindKeyButton(key.controlId), {key.colour, false},
                                            texts.Lookup()));
        }
        JsonValue sent = ProfileJson(target);
        sent.update(JsonValue{{"mode", shownMode},
                              {"name", session.files.ReadModeName(target, shownMode)},
                              {"keys", std::move(paintedJson)}});
        PrintJson(out, sent);
        return kExitOk;
    }
    std::ostringstream header;
    PrintHeader(session, shownMode, header);
    out << CliFormat(keys.size() == 1 ? cli_text::KEY_COLOURS_SENT_ONE
                                      : cli_text::KEY_COLOURS_SENT_MANY,
                     {header.str(), std::to_string(keys.size())})
        << '\n';
    return kExitOk;
}

}  // namespace zarvin::cli
