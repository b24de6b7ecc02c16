#pragma once

// CZarvinDlg: the configurator's one top-level window. It carries the keyboard view, the
// lighting panel, the profile buttons, Apply and Default and its own small buttons and menus,
// owns the editor dialogs and the tray icon, and receives every message of the device threads
// (MainWindowLink) and of other program instances.

#include <QEventLoop>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/QtDialogTexts.h"
#include "app/WindowThreadCalls.h"
#include "control/ProfileSwitch.h"
#include "device/DeviceThreadTiming.h"
#include "device/MainWindowLink.h"
#include "dialogs/EditorHost.h"
#include "skin/BaseDialog.h"

class QLabel;
class QMenu;
class QTimer;

namespace zarvin {

class AboutBox;
struct ButtonFaces;
class BusyIndicator;
class CPngButton;
class CTrayIcon;
class CZarvin_DlgProfile;
class ConfiguratorCore;
class DeviceMonitor;
class EventListener;
class HidNodeSource;
class KeyboardView;
class LightingPanelView;
class StatusLine;
class Zarvin_DlgComposite;

// Control and command ids of the window's own buttons and menus.
namespace MainControl {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Profiles = 1005;
inline constexpr int Apply = 1006;
inline constexpr int Macro = 1007;
inline constexpr int Link = 1121;
inline constexpr int Help = 1122;
inline constexpr int Minimise = 1123;
inline constexpr int Close = 1124;
inline constexpr int Version = 1134;
inline constexpr int Profile1 = 1135;
inline constexpr int Profile2 = 1136;
inline constexpr int Profile3 = 1137;
inline constexpr int Default = 1138;
inline constexpr int Menu = 1139;
inline constexpr int MacroKey = 1143;  // G9, which the macro button clicks
inline constexpr int Web = 1219;
inline constexpr int Documentation = 1220;
inline constexpr int Source = 1221;
inline constexpr int Import = 32776;
inline constexpr int Export = 32777;
}  // namespace MainControl

class CZarvinDlg : public CBaseDialog,
                   public MainWindowLink,
                   public EditorHost,
                   public ProfileSwitchWindows {
    Q_OBJECT

public:
    // `eventNodes` is where the event listener finds the keyboard's consumer-control interface
    // (the same source the core's link uses).
    CZarvinDlg(ConfiguratorCore& core, HidNodeSource& eventNodes, QWidget* parent = nullptr);
    ~CZarvinDlg() override;

    // Initialises the window (hidden, behind the tray icon), starts the device threads and runs
    // until the exit path ends the run; returns the exit code.
    int Run();

    // A window message, as another instance or a test sends it; handled on this thread before
    // returning.
    void HandleMessage(WindowMessage message);

    // What Run() does before it waits: shows the window once (it hides itself at once) and
    // starts the device threads. Tests call it and then drive the window's event loop.
    void Initialise();
    // The waits of the device threads; set before Initialise.
    void SetDeviceThreadTiming(DeviceThreadTiming timing) { timing_ = timing; }

    // A button, menu or tray command by its id.
    void RunCommand(int commandId);
    // A click on a key button, G key or Fn.
    void OnKeyClicked(int controlId);
    void OpenMainWindow();
    void ExitApplication();
    void ShowAboutBox();
    // The language menu's choice: a shipped language by its index, kept for the next start;
    // every window sets its texts again.
    void ChooseLanguage(int languageIndex);
    // Shows the profile button of the keyboard's active profile as selected.
    void SyncProfileButtons();
    bool Exited() const { return exited_; }
    // The event listener has the keyboard's notice interface open.
    bool ListeningToKeyboard() const;

    // Where import and export ask for a file; nothing when the user cancels.
    enum class FileChoice { Open, Save };
    using FileChooser = std::function<std::optional<std::filesystem::path>(FileChoice choice)>;
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // The picture the tray icon shows, also where the desktop has no tray.
    TrayIcon CurrentTrayIcon() const { return currentTrayIcon_; }
    CPngButton* Button(int controlId) const;
    KeyboardView& Keys() { return *keys_; }
    LightingPanelView& Panel() { return *panel_; }
    Zarvin_DlgComposite& KeyEditor() { return *keyEditor_; }
    CZarvin_DlgProfile& ProfileDialog() { return *profileDialog_; }
    AboutBox* About() const { return about_; }
    // What the status line says now (empty once it has faded).
    QString StatusText() const;
    CTrayIcon& Tray() const { return *tray_; }

    // MainWindowLink
    void SendMessage(WindowMessage message) override;
    void PostMessage(WindowMessage message) override;
    void StartTimer(WindowTimer timer, int milliseconds) override;
    void KillTimer(WindowTimer timer) override;
    // Whether a window timer is counting down (the preview's runs only while it draws frames).
    bool TimerRunning(WindowTimer timer) const;
    void HideWindow() override;
    void SetTrayIconState(TrayMode mode, TrayIcon icon) override;
    void ShowBusyIndicator(bool shown) override;

    // EditorHost
    void SetPendingChanges(bool pending) override;
    bool HasPendingChanges() const override { return pendingChanges_; }
    void ApplyChanges() override;
    void ShowAssignments() override;
    void RebuildProfileMenu() override;
    void ShowActiveProfile() override;
    void RestoreKeyFaces(int controlId) override;
    void OpenHelp() override;

    // ProfileSwitchWindows
    bool KeyEditorOpen() const override;
    bool ProfileDialogOpen() const override;
    bool ProfileDialogApplyEnabled() const override;
    void ProfileDialogShowActive(int profile) override;

public slots:
    // Cancel, Escape and the window's close command only hide the window.
    void reject() override;

protected:
    void InitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadWindowImages();
    // Every button has cut the pieces of the state images it shows: the whole images go.
    void ReleaseStateImages();
    void PlaceButtons();
    CPngButton* PlaceButton(int controlId, const char* skinEntry, const ButtonFaces& faces);
    void PlaceBusyIndicator();
    void PlaceStatusLine();
    // The status line says the language text of `textKey` (a format filled with `argument`
    // when one is given).
    void Say(std::string_view textKey, const std::string& argument = {});
    void CreateTrayIcon();
    void ApplyLanguage(int languageIndex);
    // The backup menu's submenu of the shipped languages.
    void AddLanguageMenu(QMenu& menu);
    void SetTaskbarButton(bool shown);

    void OnTimer(WindowTimer timer);
    // Starts or stops the preview's frame timer after a change of the lighting.
    void PacePreview();
    void ShowNextBusyFrame();
    void RefreshConnection();
    void CloseEditors();
    void CheckFirmware();
    bool SelectKeyboardProfile();
    // What an Apply did: nothing to write, written, or not written (the changes stay pending).
    enum class ApplyOutcome { Nothing, Written, NotWritten };
    ApplyOutcome ApplyPending();
    void OnProfileButton(int profile);
    // The profile buttons and the lighting panel show the keyboard's active profile; the
    // lighting is read again when the panel showed another profile, or always with `reload`.
    void FollowActiveProfile(bool reloadLighting);
    void RestoreDefaults();
    void ImportBackup();
    void ExportBackup();
    void ShowBackupMenu();
    void OpenAddress(const QString& address);
    void ShowTrayIcon(TrayIcon icon);
    void StopDeviceThreads();
    std::optional<std::filesystem::path> AskForFile(FileChoice choice);
    // Where the file dialogs open: the folder of the last backup, else the home folder.
    std::filesystem::path BackupFolder() const;

    ConfiguratorCore& core_;
    HidNodeSource& eventNodes_;
    DeviceThreadTiming timing_;
    WindowThreadCalls calls_{*this};
    QEventLoop run_;
    FileChooser chooseFile_;
    QtDialogTexts qtTexts_;

    // The window images: one face set that buttons, keys and the flip display share (released
    // once the buttons are placed; the buttons know their faces by these objects), and the
    // arrow indicators, which move over theirs while the window shows.
    QImage normal_, over_, down_, disable_;
    QImage arrow_;
    std::array<QImage, 10> busyFrames_;
    QString linkAddress_;

    std::unique_ptr<KeyboardView> keys_;
    std::unique_ptr<LightingPanelView> panel_;
    std::unique_ptr<Zarvin_DlgComposite> keyEditor_;
    std::unique_ptr<CZarvin_DlgProfile> profileDialog_;
    std::unique_ptr<ProfileSwitch> profileSwitch_;
    std::unique_ptr<CTrayIcon> tray_;
    AboutBox* about_ = nullptr;
    std::map<int, CPngButton*> buttons_;
    std::map<WindowTimer, QTimer*> timers_;
    QLabel* busyLabel_ = nullptr;
    StatusLine* status_ = nullptr;

    std::unique_ptr<EventListener> listener_;
    std::unique_ptr<DeviceMonitor> monitor_;
    std::unique_ptr<BusyIndicator> busy_;

    bool pendingChanges_ = false;
    bool exited_ = false;
    bool placed_ = false;  // moved to the middle of the screen at the first opening
    TrayIcon currentTrayIcon_ = TrayIcon::Disconnected;
    TrayIcon rememberedTrayIcon_ = TrayIcon::Disconnected;
    int busyFrame_ = 0;
};

}  // namespace zarvin
