// The key and macro commands: backup, restore, show, keys, remap and reset.

#include <algorithm>
#include <cctype>
#include <mutex>
#include <system_error>

#include "cli/AssignmentListing.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/KeyboardSession.h"
#include "cli/LanguageMessages.h"
#include "control/DeviceSync.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "model/KeyMapCodec.h"
#include "model/Utf16Text.h"
#include "platform/WriteTarget.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/ProfileStorePaths.h"
#include "store/ProfileStores.h"

namespace zarvin::cli {
namespace {

namespace fs = std::filesystem;

// Checks a backup file and loads it into `store`; false, with the reason told, when it is no
// backup file or is damaged.
bool LoadBackupFile(const fs::path& file, WorkingStore& store, StreamMessages& messages,
                    std::ostream& err) {
    const size_t shownBefore = messages.Shown();
    switch (ValidateProfileFile(file, messages)) {
        case FileResult::Success:
            break;
        case FileResult::CannotOpen:
            err << CliFormat(cli_text::CANNOT_OPEN_FILE, {file.string()}) << '\n';
            return false;
        case FileResult::OutOfMemory:
            err << CliFormat(cli_text::FILE_TOO_LARGE, {file.string()}) << '\n';
            return false;
        default:
            if (messages.Shown() == shownBefore) {
                std::error_code error;
                if (fs::exists(file, error)) {
                    err << CliFormat(cli_text::NOT_A_BACKUP, {file.string()}) << '\n';
                } else {
                    err << CliFormat(cli_text::NO_SUCH_FILE, {file.string()}) << '\n';
                }
            }
            return false;
    }
    const std::lock_guard lock(store.Lock());
    store.EmptyStore();
    if (store.LoadProfileFile(file) != FileResult::Success) {
        err << CliFormat(cli_text::BACKUP_DAMAGED, {file.string()}) << '\n';
        return false;
    }
    return true;
}

// Whether a position of the keyboard's default key matrix holds the key.
bool KeyboardHasKey(const DeviceImage& device, KeyCode key) {
    const DefaultKeyMatrix matrix = device.KeyMatrix();
    const size_t positions =
        std::min(static_cast<size_t>(device.Model().keyCount), matrix.size() / 3);
    for (size_t i = 0; i < positions; ++i) {
        const KeyMapEntry entry = {matrix[3 * i], matrix[3 * i + 1], matrix[3 * i + 2]};
        const KeyCode code = EntryKeyCode(entry);
        if (code != 0 && SlotOfKeyCode(code) == SlotOfKeyCode(key)) {
            return true;
        }
    }
    return false;
}

// The key slots of the keyboard's default key matrix, for listing every key it has.
SlotFilter KeyboardSlots(const DeviceImage& device) {
    std::vector<bool> present(kFirstGKeySlot + kGKeyIds.size(), false);
    const DefaultKeyMatrix matrix = device.KeyMatrix();
    const size_t positions =
        std::min(static_cast<size_t>(device.Model().keyCount), matrix.size() / 3);
    for (size_t i = 0; i < positions; ++i) {
        const KeyCode code = EntryKeyCode({matrix[3 * i], matrix[3 * i + 1], matrix[3 * i + 2]});
        const size_t slot = SlotOfKeyCode(code);
        if (code != 0 && slot < present.size()) {
            present[slot] = true;
        }
    }
    return [present](size_t slot) { return slot < present.size() && present[slot]; };
}

}  // namespace

int RunBackup(KeyboardConnection& connection, const AppContext& context, const fs::path& file,
              std::ostream& out, std::ostream& err, OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    KeyboardSession session(context, connection, texts, err);
    int result = CommandResult::Success;
    if (session.sync.BackupDeviceToFile(file, &result) != FileResult::Success) {
        std::string unsafe;
        if (result == CommandResult::Success && !WriteTarget(file, unsafe)) {
            err << CliFormat(cli_text::CANNOT_WRITE_FILE_BECAUSE, {file.string(), unsafe}) << '\n';
        } else if (result == CommandResult::Success) {
            err << CliFormat(cli_text::CANNOT_WRITE_FILE, {file.string()}) << '\n';
        } else {
            err << CliFormat(cli_text::CANNOT_READ_KEY_MAPS, {CommandResultText(result)}) << '\n';
        }
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        PrintJson(out, {{"file", file.string()}});
    } else {
        out << CliFormat(cli_text::BACKUP_SAVED, {file.string()}) << '\n';
    }
    return kExitOk;
}

int RunRestore(KeyboardConnection& connection, const AppContext& context, const fs::path& file,
               std::ostream& out, std::ostream& err, OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    KeyboardSession session(context, connection, texts, err);
    const std::lock_guard lock(session.working.Lock());
    if (!LoadBackupFile(file, session.working, session.messages, err)) {
        err << CliText(cli_text::NOTHING_WRITTEN) << '\n';
        return kExitFailed;
    }
    const fs::path cache = ProfilePath(context, 0);
    if (session.working.SaveProfileFile(cache) != FileResult::Success) {
        err << CliFormat(cli_text::CACHE_NOT_SAVED, {cache.string()}) << '\n';
    }
    int firstFailure = CommandResult::Success;
    bool sent = false;
    const int result = session.sync.ApplyToDevice(true, &firstFailure, &sent);
    if (!ReportApply(result, firstFailure, sent, err)) {
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        PrintJson(out, {{"file", file.string()}, {"macros", session.working.MacroCount()}});
    } else {
        out << CliFormat(cli_text::RESTORED,
                         {file.string(), std::to_string(session.working.MacroCount())})
            << '\n';
    }
    return kExitOk;
}

int RunShow(const AppContext& context, const fs::path& file, std::ostream& out, std::ostream& err,
            OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    StreamMessages messages(texts, err);
    std::recursive_mutex lock;
    WorkingStore store(lock);
    if (!LoadBackupFile(file, store, messages, err)) {
        return kExitFailed;
    }
    const TextLookup lookup = texts.Lookup();
    if (form == OutputForm::Json) {
        JsonValue profiles = JsonValue::array();
        for (int profile = 0; profile < kProfileCount; ++profile) {
            profiles.push_back(ProfileAssignmentsJson(store, profile, lookup));
        }
        PrintJson(out, {{"profiles", std::move(profiles)}, {"macros", MacrosJson(store, lookup)}});
        return kExitOk;
    }
    for (int profile = 0; profile < kProfileCount; ++profile) {
        PrintProfileAssignments(store, profile, false, lookup, out);
    }
    PrintMacros(store, lookup, out);
    return kExitOk;
}

int RunKeys(KeyboardConnection& connection, const AppContext& context, std::optional<int> profile,
            bool allKeys, std::ostream& out, std::ostream& err, OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    KeyboardSession session(context, connection, texts, err);
    if (!ReadKeyboard(session, err)) {
        return kExitFailed;
    }
    const int active = session.device.GetActiveProfile(connection.Link());
    const int shown = profile.value_or(active);
    const TextLookup lookup = texts.Lookup();
    const SlotFilter filter = allKeys ? KeyboardSlots(session.device) : SlotFilter();
    if (form == OutputForm::Json) {
        JsonValue listing = ProfileAssignmentsJson(session.working, shown, lookup, filter);
        listing["active"] = shown == active;
        listing["macros"] = MacrosJson(session.working, lookup);
        PrintJson(out, listing);
        return kExitOk;
    }
    PrintProfileAssignments(session.working, shown, shown == active, lookup, out, filter);
    PrintMacros(session.working, lookup, out);
    return kExitOk;
}

int RunRemap(KeyboardConnection& connection, const AppContext& context, std::optional<int> profile,
             KeyCode key, const RemapTarget& target, std::ostream& out, std::ostream& err,
             OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    const TextLookup lookup = texts.Lookup();
    KeyboardSession session(context, connection, texts, err);
    const ReadChangeWriteHold hold(session, connection);
    if (!ReadKeyboard(session, err)) {
        err << CliText(cli_text::NOTHING_WRITTEN) << '\n';
        return kExitFailed;
    }
    if (!KeyboardHasKey(session.device, key)) {
        err << CliFormat(cli_text::NO_SUCH_KEY, {KeyNameOf(key, lookup)}) << '\n';
        return kExitUsage;
    }
    const int active = session.device.GetActiveProfile(connection.Link());
    const int changed = profile.value_or(active);
    const size_t record = KeyRecordNumber(static_cast<size_t>(changed), SlotOfKeyCode(key));

    const std::lock_guard lock(session.working.Lock());
    KeyAssignment assignment = session.working.Assignment(record);
    assignment.type = static_cast<uint16_t>(target.type);
    assignment.value = target.value;
    if (target.type == AssignmentType::PlayMacro) {
        const auto id = MacroIdOfName(session.working, target.macroName);
        if (!id) {
            err << NoSuchMacro(session.working, target.macroName) << '\n';
            return kExitUsage;
        }
        assignment.value = *id;
    }
    if (!session.working.SetAssignment(record, assignment)) {
        err << CliFormat(cli_text::CANNOT_CHANGE_RECORD, {std::to_string(record)}) << '\n';
        return kExitFailed;
    }
    SaveToProfilePath(session.working, context);
    // Only the profile the user changed is written.
    int firstFailure = CommandResult::Success;
    bool sent = false;
    const int result = session.sync.ApplyProfileToDevice(changed, &firstFailure, &sent);
    if (!ReportApply(result, firstFailure, sent, err)) {
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        JsonValue changedKey = ProfileJson(changed);
        changedKey.update(AssignmentJson(session.working, record, lookup));
        PrintJson(out, changedKey);
        return kExitOk;
    }
    out << CliFormat(target.type == AssignmentType::Default ? cli_text::OWN_FUNCTION_AGAIN
                                                            : cli_text::REMAPPED,
                     {std::to_string(ShownProfile(changed)),
                      AssignmentLine(session.working, record, lookup)})
        << '\n';
    return kExitOk;
}

}  // namespace zarvin::cli
