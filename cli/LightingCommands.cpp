// The lighting commands: lighting and lighting set, on the same operations as the window's
// lighting panel.

#include <algorithm>
#include <array>
#include <cstdio>
#include <mutex>
#include <sstream>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "cli/EffectNames.h"
#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "cli/NoLightingView.h"
#include "cli/TextWrap.h"
#include "control/LightingState.h"
#include "device/DeviceImage.h"
#include "model/LightingEffects.h"
#include "store/AppContext.h"
#include "store/LanguageTexts.h"
#include "store/LightingSwitchFile.h"

namespace zarvin::cli {
namespace {

// The lighting state of one profile, loaded from the keyboard as the window loads it.
struct LightingSession {
    LightingSession(KeyboardConnection& connection, const AppContext& context)
        : texts(context.programFolder),
          state(
              connection.Link(), panel, companion,
              [this](int code) { return texts.LoadModeText(EffectNameKey(code), CommandLineLanguage()); },
              LightingSwitchFile(context.userDataFolder)) {}

    LanguageTexts texts;
    NoLightingView panel;
    LightingCompanion companion;
    LightingState state;
};

// Loads `profile`, or the active one; false when the keyboard cannot say.
bool Load(KeyboardConnection& connection, LightingSession& session, std::optional<int> profile,
          int& activeProfile, std::ostream& err) {
    DeviceImage image;
    int result = CommandResult::Success;
    activeProfile = image.GetActiveProfile(connection.Link(), &result);
    if (!profile && (activeProfile < 0 || activeProfile >= kProfileCount)) {
        err << CliFormat(cli_text::CANNOT_READ_KEYBOARD_PROFILE, {CommandResultText(result)})
            << '\n';
        return false;
    }
    session.state.SetCurrentProfile(profile.value_or(activeProfile));
    if (session.state.LoadLighting() != 0) {
        err << CliText(cli_text::CANNOT_READ_KEYBOARD_INFO) << '\n';
        return false;
    }
    session.state.RefreshLightingPanel();
    return true;
}

std::string Hex(ColourValue colour) {
    char text[7];
    std::snprintf(text, sizeof text, "%02X%02X%02X", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return text;
}

// The words of the arrows an effect shows.
std::string DirectionText(int effect, int direction) {
    const bool first = direction == kDirectionFirst;
    std::string_view word;
    switch (LightingEffectOf(effect).arrows) {
        case EffectArrows::OutwardInward:
            word = first ? cli_text::DIRECTION_OUTWARD : cli_text::DIRECTION_INWARD;
            break;
        case EffectArrows::UpDown:
            word = first ? cli_text::DIRECTION_UP : cli_text::DIRECTION_DOWN;
            break;
        case EffectArrows::LeftRight:
            word = first ? cli_text::DIRECTION_LEFT : cli_text::DIRECTION_RIGHT;
            break;
    }
    return std::string(first ? "A" : "B") + " (" + CliText(word) + ")";
}

// What the keyboard holds beside what the window takes from it, when the two differ.
// A row's label, indented and padded so that the values of the rows line up.
std::string Label(std::string_view key) {
    constexpr std::array kLabels{cli_text::LABEL_EFFECT,      cli_text::LABEL_BRIGHTNESS,
                                 cli_text::LABEL_SPEED,       cli_text::LABEL_DIRECTION,
                                 cli_text::LABEL_COLOUR,      cli_text::LABEL_MULTICOLOUR,
                                 cli_text::LABEL_OPTION,      cli_text::LABEL_RATE};
    size_t column = 11;
    for (const std::string_view label : kLabels) {
        column = std::max(column, DisplayWidth(CliText(label)));
    }
    const std::string text = CliText(key);
    return "  " + text + std::string(column + 2 - DisplayWidth(text), ' ');
}

std::string OutOfRange(int held) {
    return ' ' + CliFormat(cli_text::OUT_OF_RANGE, {std::to_string(held)});
}

std::string ShownValue(int shown, int held) {
    return std::to_string(shown) + (shown == held ? "" : OutOfRange(held));
}

std::string ProfileLine(const LightingState& state, int activeProfile) {
    return CliFormat(state.CurrentProfile() == activeProfile ? cli_text::PROFILE_HEADING_ACTIVE
                                                             : cli_text::PROFILE_HEADING,
                     {std::to_string(ShownProfile(state.CurrentProfile()))});
}

std::string EffectName(const LightingSession& session, int code) {
    return session.texts.LoadModeText(EffectNameKey(code), CommandLineLanguage());
}

std::string EffectText(const LightingSession& session, int code) {
    return std::to_string(code) + " (" + EffectName(session, code) + ")";
}

// The whole record as --json gives it, the speed as the slider shows it.
JsonValue LightingJson(const LightingSession& session, int activeProfile) {
    const LightingState& state = session.state;
    JsonValue object = ProfileJson(state.CurrentProfile());
    object.update(JsonValue{
        {"active", state.CurrentProfile() == activeProfile},
        {"effect", {{"code", state.Effect()}, {"name", EffectName(session, state.Effect())}}},
        {"brightness", state.Brightness()},
        {"speed", kSliderMax - state.Speed()},
        {"direction", state.Direction() == kDirectionFirst ? "A" : "B"},
        {"colour", Hex(state.MainColour())},
        {"multicolour", state.Multicolour()},
        {"option", OptionColourName(state.OptionColour())},
        {"rate", state.ReportRate()}});
    return object;
}

// Writes the fields given, each as the panel writes it, and prints them.
int WriteLighting(LightingSession& session, int activeProfile, const LightingSettings& settings,
                  std::ostream& out, std::ostream& err, OutputForm form) {
    LightingState& state = session.state;
    if (settings.effect && state.PositionOfEffect(*settings.effect) < 0) {
        std::string offered;
        for (const uint8_t code : state.Info().Effects())
            offered += (offered.empty() ? "" : " ") + std::to_string(code);
        err << CliFormat(cli_text::EFFECT_NOT_OFFERED, {std::to_string(*settings.effect), offered})
            << '\n';
        return kExitUsage;
    }

    // The text names the fields written; JSON gives the whole record afterwards. Either is
    // told only once every write went through.
    state.TakeWriteFailure();
    std::ostringstream shown;
    shown << ProfileLine(state, activeProfile) << '\n';
    if (settings.effect) {
        state.SelectEffect(state.PositionOfEffect(*settings.effect));
        shown << Label(cli_text::LABEL_EFFECT) << EffectText(session, *settings.effect) << '\n';
    }
    if (settings.brightness) {
        state.OnSliderMoved(LightingControl::BrightnessSlider, *settings.brightness);
        shown << Label(cli_text::LABEL_BRIGHTNESS) << *settings.brightness << '\n';
    }
    if (settings.speed) {
        state.OnSliderMoved(LightingControl::SpeedSlider, *settings.speed);
        shown << Label(cli_text::LABEL_SPEED) << *settings.speed << '\n';
    }
    if (settings.direction) {
        state.SetDirection(*settings.direction);
        shown << Label(cli_text::LABEL_DIRECTION) << DirectionText(state.Effect(), *settings.direction) << '\n';
    }
    if (settings.colour) {
        state.SetMainColour(LightingControl::ColourAButton, *settings.colour);
        shown << Label(cli_text::LABEL_COLOUR) << Hex(*settings.colour) << '\n';
    }
    if (settings.multicolour) {
        // The checkbox toggles; one that already shows the wanted state is left alone.
        if (state.Multicolour() != *settings.multicolour)
            state.ToggleMulticolour();
        shown << Label(cli_text::LABEL_MULTICOLOUR) << (*settings.multicolour ? "on" : "off") << '\n';
    }
    if (settings.option) {
        state.SetOptionColour(*settings.option);
        shown << Label(cli_text::LABEL_OPTION) << OptionColourName(*settings.option) << '\n';
    }
    if (settings.rate) {
        state.SetReportRate(*settings.rate);
        shown << Label(cli_text::LABEL_RATE) << *settings.rate << '\n';
    }
    if (const int failure = state.TakeWriteFailure(); failure != CommandResult::Success) {
        err << CliFormat(cli_text::LIGHTING_WRITE_FAILED, {CommandResultText(failure)}) << '\n';
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        PrintJson(out, LightingJson(session, activeProfile));
    } else {
        out << shown.str();
    }
    return kExitOk;
}

}  // namespace

int RunLighting(KeyboardConnection& connection, const AppContext& context,
                std::optional<int> profile, std::ostream& out, std::ostream& err,
                OutputForm form) {
    LightingSession session(connection, context);
    int activeProfile = -1;
    if (!Load(connection, session, profile, activeProfile, err))
        return kExitFailed;
    if (form == OutputForm::Json) {
        PrintJson(out, LightingJson(session, activeProfile));
        return kExitOk;
    }
    const LightingState& state = session.state;
    // Values the keyboard should not hold are shown as the window takes them, and marked.
    const LightingRecord& held = state.Record(state.CurrentProfile());
    const int heldDirection = held[LightingField::Direction];
    const int heldOption = held[LightingField::OptionColour];
    out << ProfileLine(state, activeProfile) << '\n'
        << Label(cli_text::LABEL_EFFECT) << EffectText(session, state.Effect()) << '\n'
        << Label(cli_text::LABEL_BRIGHTNESS)
        << ShownValue(state.BrightnessPosition(), held[LightingField::Brightness]) << '\n'
        << Label(cli_text::LABEL_SPEED) << state.SpeedPosition()
        << (kSliderMax - state.SpeedPosition() == held[LightingField::Speed]
                ? ""
                : OutOfRange(held[LightingField::Speed]))
        << '\n'
        << Label(cli_text::LABEL_DIRECTION) << DirectionText(state.Effect(), state.Direction())
        << (heldDirection == kDirectionFirst || heldDirection == kDirectionSecond
                ? ""
                : OutOfRange(heldDirection))
        << '\n'
        << Label(cli_text::LABEL_COLOUR) << Hex(state.MainColour()) << '\n'
        << Label(cli_text::LABEL_MULTICOLOUR) << (state.Multicolour() ? "on" : "off") << '\n'
        << Label(cli_text::LABEL_OPTION) << OptionColourName(state.OptionColour())
        << (heldOption == state.OptionColour() ? "" : OutOfRange(heldOption)) << '\n'
        << Label(cli_text::LABEL_RATE) << ShownValue(state.ReportRate(), held[LightingField::ReportRate])
        << '\n';
    return kExitOk;
}

int RunLightingSet(KeyboardConnection& connection, const AppContext& context,
                   std::optional<int> profile, const LightingSettings& settings, std::ostream& out,
                   std::ostream& err, OutputForm form) {
    LightingSession session(connection, context);
    // From the read to the write, as ReadChangeWriteHold (cli/KeyboardSession.h) holds a key
    // command: another program's lighting change cannot come between them and be lost.
    const std::lock_guard hold(connection.Link().Lock());
    int activeProfile = -1;
    if (!Load(connection, session, profile, activeProfile, err))
        return kExitFailed;
    LightingState& state = session.state;
    LightingSettings resolved = settings;
    if (settings.effectName) {
        // The English names, which completion offers, or else those of the language shown.
        std::vector<NamedEffect> english;
        std::vector<NamedEffect> shown;
        for (const uint8_t code : state.Info().Effects()) {
            english.push_back(
                {code, session.texts.LoadModeText(EffectNameKey(code), kEnglishLanguageIndex)});
            shown.push_back({code, EffectName(session, code)});
        }
        std::string error;
        resolved.effect = EffectCodeOfName(*settings.effectName, english, error);
        if (!resolved.effect) {
            resolved.effect = EffectCodeOfName(*settings.effectName, shown, error);
        }
        if (!resolved.effect) {
            err << error << '\n';
            return kExitUsage;
        }
    }
    return WriteLighting(session, activeProfile, resolved, out, err, form);
}

}  // namespace zarvin::cli
