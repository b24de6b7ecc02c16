#pragma once

// What the window has for a connected keyboard, for the key and macro commands: its image, the
// two stores and the synchronisation between them, and the steps the commands share.

#include <cstdint>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "control/DeviceSync.h"
#include "device/DeviceImage.h"
#include "store/AppContext.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace zarvin::cli {

// What the window has for a connected keyboard: its image, the two stores and the
// synchronisation between them.
struct KeyboardSession {
    KeyboardSession(const AppContext& context, KeyboardConnection& connection,
                    LanguageTextCache& texts, std::ostream& err)
        : messages(texts, err),
          stores(workingLock, appliedLock),
          working(stores.Working()),
          applied(stores.Applied()),
          sync(context, connection.Link(), device, stores, messages, texts.Lookup()) {
        device.SetModel(connection.Model());
        device.LoadConnectionData(connection.Link(), messages);
    }

    // Before the stores, which keep references to them.
    std::recursive_mutex workingLock;
    std::recursive_mutex appliedLock;
    StreamMessages messages;
    DeviceImage device;
    ProfileStores stores;
    WorkingStore& working;
    AppliedStore& applied;
    DeviceSync sync;
};

// For a command that reads the keyboard, changes what it read and writes it back: the stores
// and the keyboard are held from the read to the write, so that another program's change to the
// keyboard cannot come between the two and be lost (that program waits for the node's lock,
// within its time-out). Taken in the order the window takes them: the stores, then the link.
class ReadChangeWriteHold {
public:
    ReadChangeWriteHold(KeyboardSession& session, KeyboardConnection& connection)
        : stores_(session.stores), link_(connection.Link().Lock()) {}

private:
    ProfileStores::BothLocked stores_;
    std::lock_guard<CommandLock> link_;
};

// Reads the keyboard into the session's working store, through the cache file; false, with the
// reason told, when it cannot.
bool ReadKeyboard(KeyboardSession& session, std::ostream& err);

// True when the whole transfer succeeded; otherwise says what happened (`sent`: whether any
// write reached the keyboard).
bool ReportApply(int result, int firstFailure, bool sent, std::ostream& err);

// The id of the macro called `name`: the exact name first, then the name in any case.
std::optional<uint16_t> MacroIdOfName(const WorkingStore& store, std::string_view name);

// The store's macro names, separated by commas.
std::string MacroNames(const WorkingStore& store);

// "the keyboard has no macro called 'NAME' (its macros: ...)".
std::string NoSuchMacro(const WorkingStore& store, std::string_view name);

}  // namespace zarvin::cli
