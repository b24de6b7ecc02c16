#include "MainPreview.h"

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "Capture.h"
#include "SampleMacro.h"
#include "SilentUser.h"
#include "app/AboutBox.h"
#include "app/KeyboardView.h"
#include "app/LightingPanelView.h"
#include "app/ZarvinDlg.h"
#include "control/ConfiguratorCore.h"
#include "control/KeyColours.h"
#include "control/LightingPanel.h"
#include "control/LightingState.h"
#include "device/WindowMessages.h"
#include "model/KeyAssignment.h"
#include "model/KeyboardLayout.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The window finds the stand-in keyboard within milliseconds.
constexpr DeviceThreadTiming kQuickThreads{.startDelay = 1ms,
                                           .presencePoll = 20ms,
                                           .rescan = 10ms,
                                           .trayNoticeHold = 1ms,
                                           .busyHideDelay = 5ms};
constexpr auto kConnectionWait = 5s;

constexpr int kWaveEffect = 1;
// Enough frames for the wave to cross part of the keyboard.
constexpr int kPreviewFrames = 12;

constexpr uint16_t kMacroId = 1;

struct Assignment {
    int controlId;
    AssignmentType type;
    int32_t value;
};

// Control ids of the keyboard view and the values the key editor stores.
constexpr Assignment kAssignments[] = {
    {1069, AssignmentType::Key, 0x01D},           // Caps Lock: left Ctrl
    {1000, AssignmentType::PlayMacro, kMacroId},  // G1: the macro
    {1025, AssignmentType::Media, 1},             // F9: play/pause
    {1026, AssignmentType::Media, 7},             // F10: mute
    {1027, AssignmentType::Media, 5},             // F11: volume down
    {1028, AssignmentType::Media, 6},             // F12: volume up
    {1093, AssignmentType::Function, 2},          // Pause: a keyboard function
    {1084, AssignmentType::Disabled, 0},          // left Win: off
};

const QString kModeName = QStringLiteral("Rainbow letters");
const QColor kBaseColour(0, 70, 255);
const QColor kLastBrushColour(255, 130, 0);

ColourValue ToColourValue(const QColor& colour) {
    return MakeColour(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                      static_cast<uint8_t>(colour.blue()));
}

// Letters and digits get their own colours in the user-mode picture.
bool IsLetterOrDigit(const KeyButton& key) {
    const std::string_view legend = key.legend;
    return key.kind == KeyButtonKind::Key && legend.size() == 1 &&
           ((legend[0] >= 'A' && legend[0] <= 'Z') || (legend[0] >= '0' && legend[0] <= '9'));
}

// Runs the window's event loop until `condition` holds.
bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kConnectionWait;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

AppRoots RootsIn(const QTemporaryDir& userFolder, const fs::path& programFolder) {
    if (!userFolder.isValid()) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    const fs::path user = userFolder.path().toStdString();
    return {programFolder / "zarvin", user / "data", user / "config", user / "run"};
}

}  // namespace

struct MainWindowScene::Parts {
    explicit Parts(const fs::path& programFolder)
        : context(RootsIn(userFolder, programFolder)),
          core(context, keyboard, user, user),
          window(core, keyboard) {}

    LightingState& Lighting() { return window.Panel().Lighting(); }

    // The assignments go through the working store and Apply, as the key editor's do.
    void AssignKeys() {
        const int profile = core.ActiveProfile();
        if (profile < 0) {
            throw std::runtime_error("the stand-in keyboard names no active profile");
        }
        {
            const std::lock_guard lock(core.Working().Lock());
            core.Working().SetMacros({CopyMacro(kMacroId, u"Copy")});
            for (const Assignment& assignment : kAssignments) {
                const std::optional<int> slot = KeyboardView::SlotOfControl(assignment.controlId);
                if (!slot) {
                    throw std::logic_error("control " + std::to_string(assignment.controlId) +
                                           " is no key");
                }
                core.Working().SetAssignment(
                    KeyRecordNumber(static_cast<size_t>(profile), static_cast<size_t>(*slot)),
                    {.type = static_cast<uint16_t>(assignment.type), .value = assignment.value});
            }
        }
        window.SetPendingChanges(true);
        window.RunCommand(MainControl::Apply);
        if (window.HasPendingChanges()) {
            throw std::runtime_error("the stand-in keyboard did not take the assignments");
        }
        window.ShowAssignments();
    }

    // What a click on the lighting switch does.
    void SetLightingSwitch(bool on) {
        if (Lighting().LightingPanelOn() != on) {
            Lighting().ToggleLightingPanel();
        }
        if (Lighting().LightingPanelOn() != on) {
            throw std::runtime_error("the lighting switch does not turn");
        }
    }

    // Chosen in the effect combo, as the user chooses it.
    void SelectEffect(int code) {
        auto* combo = qobject_cast<QComboBox*>(window.Panel().EffectCombo());
        const int position = Lighting().PositionOfEffect(code);
        if (combo == nullptr || position < 0) {
            throw std::runtime_error("the stand-in keyboard offers no effect " +
                                     std::to_string(code));
        }
        combo->setCurrentIndex(position);
    }

    void ShowPreviewFrames() {
        for (int frame = 0; frame < kPreviewFrames; ++frame) {
            window.Panel().PreviewTick();
        }
    }

    // A rainbow from left to right over the letters and digits, painted with the own-colour
    // brush; the keys that follow the base colour show it.
    void PaintKeys() {
        KeyColours& colours = window.Panel().Colours();
        colours.SetBaseColour(ToColourValue(kBaseColour));
        colours.SelectTool(kOwnColourTool);
        const double width = KeyboardBounds().width;
        for (const KeyButton& key : KeyButtons()) {
            if (IsLetterOrDigit(key)) {
                const double middle = key.place.x + key.place.width / 2;
                const int hue = static_cast<int>(middle / width * 300);
                colours.SetBrushColour(ToColourValue(QColor::fromHsv(hue, 230, 255)));
                window.OnKeyClicked(key.controlId);
            }
        }
        colours.SetBrushColour(ToColourValue(kLastBrushColour));
        colours.RefreshUserModeTools();
    }

    // Typed over the mode combo's text, as the user names the mode.
    void NameUserMode() {
        auto* combo = qobject_cast<QComboBox*>(window.Panel().Control(UserModeControl::ModeCombo));
        if (combo == nullptr || combo->lineEdit() == nullptr) {
            throw std::runtime_error("the lighting panel has no mode name to edit");
        }
        QLineEdit& edit = *combo->lineEdit();
        edit.selectAll();
        for (const QChar character : kModeName) {
            QKeyEvent press(QEvent::KeyPress, static_cast<int>(character.toUpper().unicode()),
                            Qt::NoModifier, QString(character));
            QApplication::sendEvent(&edit, &press);
        }
        if (combo->itemText(combo->currentIndex()) != kModeName) {
            throw std::runtime_error("the user mode did not take its new name");
        }
    }

    QTemporaryDir userFolder;
    sim::SimKeyboard keyboard;
    SilentUser user;
    AppContext context;
    ConfiguratorCore core;
    CZarvinDlg window;
};

MainWindowScene::MainWindowScene(const fs::path& programFolder)
    : parts_(std::make_unique<Parts>(programFolder)) {
    CZarvinDlg& window = parts_->window;
    window.SetDeviceThreadTiming(kQuickThreads);
    window.Initialise();
    // The first connection opens the window by itself.
    if (!WaitUntil([&] {
            return window.CurrentTrayIcon() == TrayIcon::Connected && window.isVisible();
        })) {
        throw std::runtime_error("the main window does not connect to the stand-in keyboard");
    }
    // Preview frames come from the pictures rather than the clock, so that every run shows the
    // same frame.
    window.KillTimer(WindowTimer::Preview);
    parts_->AssignKeys();
}

MainWindowScene::~MainWindowScene() {
    parts_->window.ExitApplication();
}

QImage MainWindowScene::Assignments() {
    parts_->SetLightingSwitch(false);
    return CaptureWindow(parts_->window);
}

QImage MainWindowScene::UserMode() {
    parts_->SetLightingSwitch(true);
    parts_->SelectEffect(kUserModeEffect);
    parts_->PaintKeys();
    parts_->NameUserMode();
    parts_->ShowPreviewFrames();
    return CaptureWindow(parts_->window);
}

QImage MainWindowScene::Animated() {
    parts_->SetLightingSwitch(true);
    parts_->SelectEffect(kWaveEffect);
    parts_->ShowPreviewFrames();
    return CaptureWindow(parts_->window);
}

QImage MainWindowScene::FlippedWithStatus() {
    CZarvinDlg& window = parts_->window;
    parts_->SetLightingSwitch(false);
    if (window.Keys().FlipValue() != 1) {
        window.Keys().ToggleFlip();
    }
    const fs::path backup = fs::path(parts_->userFolder.path().toStdString()) / "My keys.fwc";
    window.SetFileChooser([backup](CZarvinDlg::FileChoice) { return std::optional(backup); });
    window.RunCommand(MainControl::Export);
    if (window.StatusText().isEmpty()) {
        throw std::runtime_error("the export said nothing in the status line");
    }
    const QImage picture = CaptureWindow(window);
    window.Keys().ToggleFlip();
    return picture;
}

QImage MainWindowScene::About() {
    CZarvinDlg& window = parts_->window;
    window.ShowAboutBox();
    AboutBox& about = *window.About();
    const QImage picture = CaptureWindow(about);
    about.hide();
    return picture;
}

}  // namespace zarvin::preview
