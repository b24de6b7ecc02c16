#include "CompositePreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <chrono>
#include <stdexcept>

#include "Capture.h"
#include "SampleMacro.h"
#include "SilentUser.h"
#include "control/ConfiguratorCore.h"
#include "dialogs/EditorHost.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "keyboard/KeyboardIds.h"
#include "model/KeyAssignment.h"
#include "sim/SimKeyboard.h"
#include "sim/SimModel.h"
#include "skin/ReportCtrl.h"
#include "store/AppContext.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class PreviewHost : public EditorHost {
public:
    void SetPendingChanges(bool pending) override { pending_ = pending; }
    bool HasPendingChanges() const override { return pending_; }
    void ApplyChanges() override {}
    void ShowAssignments() override {}
    void RebuildProfileMenu() override {}
    void ShowActiveProfile() override {}
    void RestoreKeyFaces(int /*controlId*/) override {}
    void OpenHelp() override {}

private:
    bool pending_ = false;
};

constexpr size_t kSlotCapsLock = 0x3A;
constexpr int kControlCapsLock = 1069;
constexpr size_t kSlotG1 = 256;
constexpr int kControlG1 = 1000;
constexpr int kEvdevLeftCtrl = 29;
constexpr int kVolumeDownRow = 5;
constexpr int kFunctionRow = 2;

// The editor's world: the stand-in keyboard connected as the device monitor connects it, the
// core over it, and per-user folders that vanish afterwards.
class EditorScene {
public:
    explicit EditorScene(const fs::path& programFolder)
        : context_(Roots(programFolder)),
          core_(context_, keyboard_, user_, user_,
                ExchangeTiming{.writeTimeout = 200ms, .readTimeout = 100ms}) {
        if (!OpenCommandInterface()) {
            throw std::runtime_error("the stand-in keyboard does not answer");
        }
        core_.Device().SetModel(sim::InfoOf(sim::SimModel::Keyboard126));
        core_.Link().SetGeometry(core_.Device().Model().Geometry());
        core_.Link().SetConnected(true);
        core_.Device().LoadConnectionData(core_.Link(), user_);
        profile_ = core_.ActiveProfile();
        if (profile_ < 0) {
            throw std::runtime_error("the stand-in keyboard names no active profile");
        }
    }

    ConfiguratorCore& Core() { return core_; }
    EditorHost& Host() { return host_; }

    void Assign(size_t slot, AssignmentType type, int32_t value) {
        core_.Working().SetAssignment(KeyRecordNumber(static_cast<size_t>(profile_), slot),
                                    {.type = static_cast<uint16_t>(type), .value = value});
    }

private:
    AppRoots Roots(const fs::path& programFolder) const {
        const fs::path user = userFolder_.path().toStdString();
        return {programFolder / "zarvin", user / "data", user / "config", user / "run"};
    }

    bool OpenCommandInterface() {
        HidDevice& hid = core_.Hid();
        if (!hid.RefreshPaths()) {
            return false;
        }
        while (const auto path = hid.NextPath()) {
            if (hid.Open(*path, true, true) && hid.Caps().usagePage == kCommandUsagePage &&
                hid.Caps().usage == kCommandUsage) {
                return true;
            }
        }
        return false;
    }

    QTemporaryDir userFolder_;
    sim::SimKeyboard keyboard_;
    SilentUser user_;
    PreviewHost host_;
    AppContext context_;
    ConfiguratorCore core_;
    int profile_ = -1;
};

}  // namespace

QImage RenderCompositeEditor(const fs::path& programFolder, CompositePage page) {
    EditorScene scene(programFolder);
    KeyEditTarget target{.slot = kSlotCapsLock,
                         .controlId = kControlCapsLock,
                         .buttonRect = QRect(200, 200, 40, 40)};
    switch (page) {
        case CompositePage::Key:
            break;
        case CompositePage::Macro:
            scene.Core().Working().SetMacros({CopyMacro(1, u"Copy"), CopyMacro(2, u"Copy twice")});
            scene.Assign(kSlotG1, AssignmentType::PlayMacro, 1);
            target = {.slot = kSlotG1, .controlId = kControlG1, .buttonRect = target.buttonRect};
            break;
        case CompositePage::Media:
            scene.Assign(kSlotCapsLock, AssignmentType::Media, kVolumeDownRow);
            break;
        case CompositePage::Function:
            scene.Assign(kSlotCapsLock, AssignmentType::Function, kFunctionRow);
            break;
    }
    Zarvin_DlgComposite editor(scene.Core(), scene.Host());
    editor.Open(target);
    QApplication::processEvents();
    if (page == CompositePage::Key) {
        // Left Ctrl pressed on the keyboard, as X11 reports it (evdev code + 8).
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kEvdevLeftCtrl + 8,
                        0, 0);
        QApplication::sendEvent(&editor, &press);
    }
    const QImage picture = CaptureWindow(editor);
    editor.CloseIfOpen();
    return picture;
}

}  // namespace zarvin::preview
