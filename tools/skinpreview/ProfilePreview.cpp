#include "ProfilePreview.h"

#include <QColor>
#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>
#include <string>

#include "Capture.h"
#include "SilentUser.h"
#include "control/ConfiguratorCore.h"
#include "dialogs/EditorHost.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "keyboard/KeyboardIds.h"
#include "sim/SimKeyboard.h"
#include "skin/ReportCtrl.h"
#include "store/AppContext.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;

// The keyboard of the picture uses its second profile.
constexpr int kShownProfile = 1;

class IdleHost : public EditorHost {
public:
    void SetPendingChanges(bool) override {}
    bool HasPendingChanges() const override { return false; }
    void ApplyChanges() override {}
    void ShowAssignments() override {}
    void RebuildProfileMenu() override {}
    void ShowActiveProfile() override {}
    void RestoreKeyFaces(int) override {}
    void OpenHelp() override {}
};

// Opens the command interface and loads the connection data, as the device monitor does.
void ConnectCommandInterface(ConfiguratorCore& core, const sim::SimKeyboard& keyboard,
                             UserMessages& messages) {
    bool opened = false;
    if (core.Hid().RefreshPaths()) {
        while (const auto path = core.Hid().NextPath()) {
            if (core.Hid().Open(*path, true, true) &&
                core.Hid().Caps().usagePage == kCommandUsagePage &&
                core.Hid().Caps().usage == kCommandUsage) {
                opened = true;
                break;
            }
        }
    }
    if (!opened) {
        throw std::runtime_error("the stand-in keyboard has no command interface");
    }
    core.Device().SetModel(sim::InfoOf(keyboard.Model()));
    core.Link().SetGeometry(core.Device().Model().Geometry());
    core.Link().SetConnected(true);
    core.Device().LoadConnectionData(core.Link(), messages);
}

}  // namespace

QImage RenderProfileDialog(const fs::path& programFolder) {
    // Holds the per-user folder, where the profile cache file the rows name is made; a short
    // name, so that the rows show the whole folder.
    const QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zv-XXXXXX"));
    if (!root.isValid()) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    const fs::path rootFolder = root.path().toStdString();
    AppContext context(
        AppRoots{programFolder / "zarvin", rootFolder, rootFolder / "config", rootFolder / "run"});
    sim::SimKeyboard keyboard;
    keyboard.WithFirmware(
        [](sim::SimFirmware& firmware) { firmware.SelectProfile(kShownProfile); });
    SilentUser user;
    ConfiguratorCore core(context, keyboard, user, user);
    ConnectCommandInterface(core, keyboard, user);

    IdleHost host;
    CZarvin_DlgProfile dialog(core, host);
    return CaptureWindow(dialog);
}

}  // namespace zarvin::preview
