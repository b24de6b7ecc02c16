#include "app/ZarvinDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMargins>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "app/AboutBox.h"
#include "app/KeyboardView.h"
#include "app/LightingPanelView.h"
#include "app/MessageBoxes.h"
#include "app/StatusLine.h"
#include "app/TrayIcon.h"
#include "control/ConfiguratorCore.h"
#include "control/FirmwareCheck.h"
#include "control/KeyColours.h"
#include "control/LightingState.h"
#include "device/BusyIndicator.h"
#include "device/DeviceInfo.h"
#include "device/DeviceMonitor.h"
#include "device/EventListener.h"
#include "device/WindowMessages.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "model/AccessTextKeys.h"
#include "model/KeyboardLayout.h"
#include "model/TextKeys.h"
#include "platform/AccessGuidance.h"
#include "platform/FreedMemory.h"
#include "skin/ColourSchemeLook.h"
#include "skin/ControlStyle.h"
#include "skin/LayoutReaders.h"
#include "skin/PictureLoader.h"
#include "skin/PngButton.h"
#include "skin/SkinIniFile.h"
#include "skin/StateImages.h"
#include "skin/TabOrder.h"
#include "store/LanguageTables.h"
#include "store/ProfileFile.h"
#include "store/ProfileStorePaths.h"
#include "store/UnreadableSettingsFiles.h"

namespace zarvin {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kButtonSection = "BUTTONINFO";
constexpr int kProfileCountShown = 3;
constexpr int kBusyFrameCount = 10;
constexpr int kPreviewMs = 50;
constexpr auto kFirmwareQuestionPause = std::chrono::milliseconds(10);
// Time for an opened window to paint itself before its freed memory is handed back.
constexpr auto kSettleAfterOpen = std::chrono::seconds(1);

const QString kTextFace = QStringLiteral("Arial Unicode MS");
// Centred on one line, fitted to the button (a long word in another language shrinks or breaks)
// and kept off its rounded edges.
constexpr unsigned kCentredText = text_format::kDefault | text_format::kFit;
const QMargins kTextMargins(4, 1, 4, 1);

// The language index a language menu entry stands for.
constexpr const char* kLanguageProperty = "languageIndex";

// The setting that keeps the folder of the last backup imported or exported.
constexpr std::string_view kBackupFolderSetting = "BackupFolder";

struct TextButton {
    int controlId;
    const char* textKey;
    int pointSize;
};
constexpr TextButton kTextButtons[] = {
    {MainControl::Profile1, "PROFILE_1", 10},     {MainControl::Profile2, "PROFILE_2", 10},
    {MainControl::Profile3, "PROFILE_3", 10},     {MainControl::Macro, "PROFILE_MACRO", 10},
    {MainControl::Default, "PROFILE_DEFAULT", 8}, {MainControl::Ok, "PROFILE_OK", 8},
    {MainControl::Cancel, "PROFILE_CANCLE", 8},   {MainControl::Apply, "PROFILE_APPLY", 8},
};

// The buttons that show a picture without words: the tooltip is also the name screen readers
// read.
struct Tooltip {
    int controlId;
    std::string_view textKey;
};
constexpr Tooltip kTooltips[] = {
    {MainControl::Help, "MAIN_HELP_PROMPT"},
    {MainControl::Minimise, "MAIN_MINIMIZE_PROMPT"},
    {MainControl::Menu, "MAIN_MENU_PROMPT"},
    {MainControl::Close, "MAIN_CLOSE_PROMPT"},
    {MainControl::Macro, "MAIN_MACRO_PROMPT"},
    {MainControl::Profiles, "PROFILE_TIP"},
    {MainControl::Web, access_keys::MAIN_WEB},
    {MainControl::Documentation, access_keys::MAIN_DOCUMENTATION},
    {MainControl::Source, access_keys::MAIN_SOURCE},
};

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool IsEnterOrEscape(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

QString PathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// The first show only loads the skin and places the controls; the window hides itself right
// after, so that show never reaches the screen. Ends that state before the window really shows.
void EndHiddenFirstShow(QWidget& window) {
    if (window.testAttribute(Qt::WA_DontShowOnScreen)) {
        window.hide();
        window.setAttribute(Qt::WA_DontShowOnScreen, false);
    }
}

// A message box, file dialog or menu still open runs a loop of its own inside the window's run,
// which cannot end before it. QCoreApplication::exit would end those loops too, but it also
// keeps every later loop of this thread from running; closing them is enough.
void CloseModalWindows() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (popup->isVisible()) {
            break;
        }
    }
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        if (modal->isVisible()) {
            break;
        }
    }
}

}  // namespace

CZarvinDlg::CZarvinDlg(ConfiguratorCore& core, HidNodeSource& eventNodes, QWidget* parent)
    : CBaseDialog(core.Context().mainSkinFile, core.Context().skinFolder, parent),
      core_(core),
      eventNodes_(eventNodes),
      chooseFile_([this](FileChoice choice) { return AskForFile(choice); }),
      keyEditor_(std::make_unique<Zarvin_DlgComposite>(core, *this, this)),
      profileDialog_(std::make_unique<CZarvin_DlgProfile>(core, *this, this)),
      profileSwitch_(std::make_unique<ProfileSwitch>(core, *this, *this)),
      tray_(std::make_unique<CTrayIcon>()) {
    connect(tray_.get(), &CTrayIcon::Command, this, &CZarvinDlg::RunCommand);
    qApp->installEventFilter(this);
}

CZarvinDlg::~CZarvinDlg() {
    qApp->removeEventFilter(this);
    StopDeviceThreads();
}

int CZarvinDlg::Run() {
    Initialise();
    if (exited_) {
        return 0;
    }
    return run_.exec();
}

void CZarvinDlg::Initialise() {
    setAttribute(Qt::WA_DontShowOnScreen);  // until 'MN' 'INIT' hides it (EndHiddenFirstShow)
    show();
    listener_ = std::make_unique<EventListener>(eventNodes_, *this, timing_);
    listener_->Start();
    monitor_ = std::make_unique<DeviceMonitor>(core_.Link(), core_.Device(), core_.Messages(), *this,
                                               core_.Context().autoShowDone, timing_);
    monitor_->Start();
    busy_ = std::make_unique<BusyIndicator>(*this, timing_);
    if (!busy_->Start()) {
        busy_.reset();  // applies run without the indicator
    }
}

void CZarvinDlg::InitDialog() {
    // The program's icon is the window's (drawn once at start; a copy of its eight sizes here
    // would be a second third of a megabyte).
    if (QApplication::windowIcon().isNull()) {
        setWindowIcon(CTrayIcon::IconOf(TrayIcon::Disconnected));
    }
    core_.Device().ForgetActiveProfile();

    LoadWindowImages();
    linkAddress_ =
        QString::fromStdString(CIniFile(SkinFile()).GetString("SCREEN", "Link", "").value_or(""));

    keys_ = std::make_unique<KeyboardView>(
        *this, core_, KeyFaceSet{&normal_, &over_, &down_, &disable_},
        KeyFaceSet{&normal_, &over_, &down_, &disable_}, arrow_);
    keys_->SetKeyClickHandler([this](int controlId) { OnKeyClicked(controlId); });
    keys_->SkinKeyButtons();
    PlaceButtons();

    EnsureUserFolder(core_.Context());
    panel_ = std::make_unique<LightingPanelView>(
        *this, core_, *keys_,
        LightingPanelView::WindowHooks{[this] { ShowAssignments(); },
                                       [this] { return SelectKeyboardProfile(); },
                                       [this] { PacePreview(); }});
    panel_->PlaceControls();
    PlaceBusyIndicator();
    PlaceStatusLine();

    SetTaskbarButton(false);
    setWindowTitle(QString::fromStdString(core_.Text("MAIN_CAPTION")));
    CreateTrayIcon();
    SetPendingChanges(false);
    // A settings file the program does not read is left as it is; the user learns that it is
    // unused and why.
    ReportUnreadableSettingsFiles(core_.Context(), core_.Messages());

    // The keyboard takes one place in the Tab order; the arrows move inside it.
    OrderTabsByLayout(*this, {keys_->KeyWidgets()});
    ReleaseStateImages();

    currentTrayIcon_ = TrayIcon::Disconnected;
    PostMessage(WindowMessage::Initialised);
    HandleMessage(WindowMessage::Language);
}

void CZarvinDlg::LoadWindowImages() {
    const QSize client = size();
    // A window image that cannot be read ends the program (the picture loader's handler).
    const auto load = [&](QImage& surface, const char* file) {
        surface = MakeStateSurface(LoadSkinPicture(SkinFolder() / file), client);
    };
    load(normal_, "main_normal.jpg");
    load(over_, "main_over.jpg");
    load(down_, "main_down.jpg");
    load(disable_, "main_disable.jpg");
    // The arrow indicators are cut from a small picture: its surface takes the picture's size,
    // not a whole window's.
    const QImage arrows = LoadSkinPicture(SkinFolder() / "Arrow.jpg");
    arrow_ = MakeStateSurface(arrows, arrows.deviceIndependentSize().toSize());
}

void CZarvinDlg::ReleaseStateImages() {
    for (QImage* image : {&normal_, &over_, &down_, &disable_}) {
        *image = QImage();
    }
}

CPngButton* CZarvinDlg::PlaceButton(int controlId, const char* skinEntry,
                                    const ButtonFaces& faces) {
    auto* button = new CPngButton(this);
    PlaceWithFaces(*button, SkinFile(), kButtonSection, skinEntry, faces);
    connect(button, &CPngButton::clicked, this, [this, controlId] { RunCommand(controlId); });
    buttons_[controlId] = button;
    return button;
}

void CZarvinDlg::PlaceButtons() {
    const ButtonFaces key{&normal_, &over_, &down_, &normal_, &disable_};
    const ButtonFaces command{&normal_, &over_, &down_, &normal_, &normal_};
    const ButtonFaces apply{&normal_, &over_, &down_, &disable_, &normal_};
    const ButtonFaces still{&normal_, &normal_, &normal_, &normal_, &normal_};

    CPngButton* link = PlaceButton(MainControl::Link, "PELLOQ_LINK",
                                   {&normal_, &over_, &disable_, &normal_, &normal_});
    link->SetTooltip(linkAddress_, true);
    CPngButton* profiles = PlaceButton(MainControl::Profiles, "FUNC_PROFILES", command);
    profiles->SetTextStyle(true, 10, kTextFace, SchemeText().buttons, 0x28);
    PlaceButton(MainControl::Macro, "FUNC_MACRO", command);
    PlaceButton(MainControl::Ok, "CONTROL_OK", command);
    PlaceButton(MainControl::Cancel, "CONTROL_CANCEL", command);
    PlaceButton(MainControl::Help, "CONTROL_HELP", command);
    PlaceButton(MainControl::Close, "CONTROL_CLOSE", command);
    PlaceButton(MainControl::Minimise, "CONTROL_MINIMIZE", command);
    PlaceButton(MainControl::Menu, "CONTROL_MENU", command);
    PlaceButton(MainControl::Apply, "CONTROL2_APPLY", apply);
    for (const int profile : {MainControl::Profile1, MainControl::Profile2, MainControl::Profile3}) {
        const std::string entry = "FUNC_PROFILE" + std::to_string(profile - MainControl::Profile1 + 1);
        PlaceButton(profile, entry.c_str(), key)->SetButtonRole(ButtonRole::Choice);
    }
    PlaceButton(MainControl::Default, "FUNC_DEFAULT", key);
    PlaceButton(MainControl::Web, "CONTROL_Network", command);
    PlaceButton(MainControl::Documentation, "CONTROL_Facebook", command);
    PlaceButton(MainControl::Source, "CONTROL_twitter", command);

    CPngButton* version = PlaceButton(MainControl::Version, "PELLOQ_VER", still);
    version->SetTextStyle(true, 8, QStringLiteral("Verdana Unicode MS"), SchemeText().buttons,
                          0x24);
    version->setText(QString());
    version->setEnabled(false);
    version->SetButtonRole(ButtonRole::Display);
}

void CZarvinDlg::PlaceBusyIndicator() {
    for (int frame = 0; frame < kBusyFrameCount; ++frame) {
        busyFrames_[static_cast<size_t>(frame)] =
            ReadScaledPicture(SkinFolder() / ("jdt" + std::to_string(frame + 1) + ".bmp"));
    }
    busyLabel_ = new QLabel(this);
    PlaceControl(*busyLabel_, SkinFile(), kButtonSection, "CONTROL_JDTStatic");
    busyLabel_->setPixmap(QPixmap::fromImage(busyFrames_[0]));
    busyFrame_ = 1;
    busyLabel_->hide();
}

void CZarvinDlg::PlaceStatusLine() {
    status_ = new StatusLine(this);
    PlaceControl(*status_, SkinFile(), kButtonSection, "CONTROL_StatusStatic");
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, SchemeText().buttons.normal);
    status_->setPalette(palette);
}

void CZarvinDlg::Say(std::string_view textKey, const std::string& argument) {
    if (status_ != nullptr) {
        status_->Say(QString::fromStdString(core_.Text(textKey)), QString::fromStdString(argument));
    }
}

QString CZarvinDlg::StatusText() const {
    return status_ != nullptr ? status_->Said() : QString();
}

void CZarvinDlg::CreateTrayIcon() {
    tray_->SetMenuHook([this](QMenu& menu) {
        // The menu's name for screen readers.
        menu.setWindowTitle(QString::fromStdString(core_.Text("KEYBOARD_TRAY_DESC")));
        for (QAction* action : menu.actions()) {
            const int command = action->data().toInt();
            const char* key = command == TrayCommand::Open    ? "MENU_11"
                              : command == TrayCommand::About ? "MENU_22"
                              : command == TrayCommand::Exit  ? "MENU_33"
                                                              : nullptr;
            if (key != nullptr) {
                action->setText(QString::fromStdString(core_.Text(key)));
            }
        }
    });
    if (!tray_->Create(QString::fromStdString(core_.Text("KEYBOARD_TRAY_DESC")),
                       TrayIcon::Disconnected)) {
        std::fputs(
            "zarvin: the desktop has no notification area, so the window has no tray icon; "
            "start the program again to open the window.\n",
            stderr);
    }
}

void CZarvinDlg::SetTaskbarButton(bool shown) {
    const Qt::WindowFlags flags =
        (windowFlags() & ~Qt::WindowType_Mask) | (shown ? Qt::Dialog : Qt::Tool);
    if (flags != windowFlags()) {
        setWindowFlags(flags);
    }
}

bool CZarvinDlg::ListeningToKeyboard() const {
    return listener_ && listener_->Listening();
}

CPngButton* CZarvinDlg::Button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

// ---- messages, timers and the device threads' calls ----

void CZarvinDlg::HandleMessage(WindowMessage message) {
    if (exited_) {
        return;
    }
    switch (message) {
        case WindowMessage::Initialised:
            hide();
            EndHiddenFirstShow(*this);
            break;
        case WindowMessage::Open:
            OpenMainWindow();
            // The first paints of a shown window leave megabytes of temporary images freed
            // between live blocks; they are handed back once the window has settled.
            QTimer::singleShot(kSettleAfterOpen, this, [] { ReturnFreedMemory(); });
            // The "no keyboard" box may have been ended by the exit path.
            if (!exited_) {
                CheckFirmware();
            }
            break;
        case WindowMessage::Kill:
            ExitApplication();
            break;
        case WindowMessage::Reload: {
            // Another program changed the keyboard: the window shows what the keyboard holds
            // now, and edits not applied yet give way to it, said rather than dropped unseen.
            const bool dropped = pendingChanges_;
            RefreshConnection();
            if (dropped) {
                Say(text_keys::STATUS_RELOAD_DROPPED_CHANGES);
            }
            // The load's transfers and the profile cache file's bytes are let go by now.
            ReturnFreedMemory();
            break;
        }
        case WindowMessage::CloseEditors:
            CloseEditors();
            break;
        case WindowMessage::Language:
            ApplyLanguage(core_.LanguageIndex());
            break;
    }
}

void CZarvinDlg::SendMessage(WindowMessage message) {
    calls_.RunAndWait([this, message] { HandleMessage(message); });
}

void CZarvinDlg::PostMessage(WindowMessage message) {
    calls_.Post([this, message] { HandleMessage(message); });
}

void CZarvinDlg::StartTimer(WindowTimer timerId, int milliseconds) {
    if (QThread::currentThread() != thread()) {
        calls_.Post([this, timerId, milliseconds] { StartTimer(timerId, milliseconds); });
        return;
    }
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] { OnTimer(timerId); });
    }
    timer->start(milliseconds);
}

void CZarvinDlg::KillTimer(WindowTimer timerId) {
    if (QThread::currentThread() != thread()) {
        calls_.Post([this, timerId] { KillTimer(timerId); });
        return;
    }
    const auto found = timers_.find(timerId);
    if (found != timers_.end()) {
        found->second->stop();
    }
}

bool CZarvinDlg::TimerRunning(WindowTimer timerId) const {
    const auto found = timers_.find(timerId);
    return found != timers_.end() && found->second->isActive();
}

void CZarvinDlg::PacePreview() {
    // With the switch off the preview draws nothing, so no timer wakes the window for it. A
    // timer already running keeps its pace: its next frame shows the change.
    if (!panel_->Lighting().LightingPanelOn()) {
        KillTimer(WindowTimer::Preview);
    } else if (!TimerRunning(WindowTimer::Preview)) {
        StartTimer(WindowTimer::Preview, kPreviewMs);
    }
}

void CZarvinDlg::HideWindow() {
    if (QThread::currentThread() != thread()) {
        calls_.Post([this] { hide(); });
        return;
    }
    hide();
}

void CZarvinDlg::SetTrayIconState(TrayMode mode, TrayIcon icon) {
    if (QThread::currentThread() != thread()) {
        calls_.Post([this, mode, icon] { SetTrayIconState(mode, icon); });
        return;
    }
    if (mode == TrayMode::Notice) {
        ShowTrayIcon(TrayIcon::Notice);
    } else if (icon != TrayIcon::Remembered) {
        rememberedTrayIcon_ = icon;
        ShowTrayIcon(icon);
    } else {
        ShowTrayIcon(rememberedTrayIcon_);
    }
}

void CZarvinDlg::ShowTrayIcon(TrayIcon icon) {
    if (icon != currentTrayIcon_) {
        currentTrayIcon_ = icon;
        tray_->SetIconResource(icon);
    }
}

void CZarvinDlg::ShowBusyIndicator(bool shown) {
    if (QThread::currentThread() != thread()) {
        calls_.Post([this, shown] { ShowBusyIndicator(shown); });
        return;
    }
    if (busyLabel_ != nullptr) {
        busyLabel_->setVisible(shown);
    }
}

void CZarvinDlg::OnTimer(WindowTimer timerId) {
    switch (timerId) {
        case WindowTimer::BusyFrame:
            ShowNextBusyFrame();
            break;
        case WindowTimer::LightingChanged:
            KillTimer(timerId);
            panel_->Lighting().LoadLighting();
            panel_->Lighting().RefreshLightingPanel();
            break;
        case WindowTimer::Preview:
            KillTimer(timerId);
            panel_->PreviewTick();
            // A still effect keeps its frame until the next change starts the timer again.
            if (panel_->PreviewAnimates()) {
                StartTimer(timerId, kPreviewMs);
            }
            break;
        case WindowTimer::ProfileChanged:
            KillTimer(timerId);
            // The keyboard chose the profile itself: ask it again rather than the cache.
            core_.Device().ForgetActiveProfile();
            panel_->Colours().ResetUserModes([this] { return SelectKeyboardProfile(); },
                                             [this] { SyncProfileButtons(); });
            panel_->Lighting().LoadLighting();
            panel_->Lighting().RefreshLightingPanel();
            break;
        default:
            break;
    }
}

void CZarvinDlg::ShowNextBusyFrame() {
    busyLabel_->setPixmap(QPixmap::fromImage(busyFrames_[static_cast<size_t>(busyFrame_)]));
    busyFrame_ = (busyFrame_ + 1) % kBusyFrameCount;
}

// ---- commands ----

void CZarvinDlg::RunCommand(int commandId) {
    if (exited_) {
        return;
    }
    switch (commandId) {
        case MainControl::Ok:
            ApplyChanges();
            hide();
            break;
        case MainControl::Cancel:
            hide();
            break;
        case MainControl::Profiles:
            profileDialog_->Open();
            break;
        case MainControl::Apply:
            ApplyChanges();
            break;
        case MainControl::Macro:
            OnKeyClicked(MainControl::MacroKey);
            break;
        case MainControl::Link:
        case MainControl::Web:
        case MainControl::Source:
            OpenAddress(linkAddress_);
            break;
        case MainControl::Help:
        case MainControl::Documentation:
            OpenHelp();
            break;
        case MainControl::Minimise:
            QMetaObject::invokeMethod(this, &QWidget::showMinimized, Qt::QueuedConnection);
            break;
        case MainControl::Close:
        case TrayCommand::Exit:
            ExitApplication();
            break;
        case MainControl::Profile1:
        case MainControl::Profile2:
        case MainControl::Profile3:
            OnProfileButton(commandId - MainControl::Profile1);
            break;
        case MainControl::Default:
            RestoreDefaults();
            break;
        case MainControl::Menu:
            ShowBackupMenu();
            break;
        case MainControl::Import:
            ImportBackup();
            break;
        case MainControl::Export:
            ExportBackup();
            break;
        case TrayCommand::Open:
            OpenMainWindow();
            break;
        case TrayCommand::About:
            ShowAboutBox();
            break;
        default:
            break;
    }
}

void CZarvinDlg::OnKeyClicked(int controlId) {
    if (panel_->Lighting().LightingPanelOn()) {
        // Keys are painted only with custom key colours; under any other effect a click would
        // otherwise do nothing at all.
        if (panel_->Lighting().Effect() == kUserModeEffect) {
            panel_->Colours().PaintKey(controlId);
        } else if (KeyboardView::SlotOfControl(controlId) || controlId == kFnControlId) {
            Say(text_keys::STATUS_KEY_CLICK_LIGHTING);
        }
        return;
    }
    const std::optional<int> slot = KeyboardView::SlotOfControl(controlId);
    if (!slot) {
        return;
    }
    keys_->ShowEditingFaces(controlId);
    keyEditor_->Open(KeyEditTarget{*slot, controlId, keys_->ButtonScreenRect(controlId)});
}

void CZarvinDlg::OpenMainWindow() {
    if (!core_.Link().Connected()) {
        // A keyboard that is there but refuses this user needs another answer than none.
        const std::string refused = monitor_ ? monitor_->RefusedNode() : std::string();
        if (refused.empty()) {
            core_.Messages().ShowMessage("MAIN_NO_DEVICE_PROMPT");
        } else {
            core_.Messages().ShowFormattedMessage("MAIN_NO_ACCESS_PROMPT", AccessGuidance(refused));
        }
        return;
    }
    EndHiddenFirstShow(*this);
    SetTaskbarButton(true);
    // Frameless, the window is one that window managers often leave where it was made: the
    // first opening puts it in the middle of the screen; later ones keep where the user moved it.
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    show();
    raise();
    activateWindow();
}

void CZarvinDlg::CheckFirmware() {
    DeviceInfo info;
    ReadDeviceInfo(core_.Link(), info.bytes);
    const HidAttributes& ids = core_.Hid().Attributes();
    if (!FirmwareUpdateOffered(ids.vendorId, ids.productId, info.FirmwareVersion())) {
        return;
    }
    std::this_thread::sleep_for(kFirmwareQuestionPause);
    QMessageBox question(QMessageBox::Question,
                         QString::fromUtf8(firmware_update::kCaption.data(),
                                           static_cast<qsizetype>(firmware_update::kCaption.size())),
                         QString::fromUtf8(firmware_update::kQuestion.data(),
                                           static_cast<qsizetype>(firmware_update::kQuestion.size())),
                         QMessageBox::Ok | QMessageBox::Cancel, this);
    question.setDefaultButton(QMessageBox::Ok);
    StyleControls(question);
    if (question.exec() != QMessageBox::Ok) {
        ExitApplication();
        return;
    }
    std::this_thread::sleep_for(kFirmwareQuestionPause);
    const fs::path updater = core_.Context().programFolder / firmware_update::kUpdaterFile;
    if (fs::exists(updater)) {
        QProcess::startDetached(
            PathText(updater),
            {QString::fromUtf8(firmware_update::kUpdaterArgument.data(),
                               static_cast<qsizetype>(firmware_update::kUpdaterArgument.size()))},
            PathText(core_.Context().helpFolder));
    }
}

void CZarvinDlg::ShowAboutBox() {
    if (about_ == nullptr) {
        about_ = new AboutBox(core_, linkAddress_, this);
    }
    if (!about_->isVisible()) {
        about_->show();
    }
}

void CZarvinDlg::OpenAddress(const QString& address) {
    if (!address.isEmpty()) {
        QDesktopServices::openUrl(QUrl(address));
    }
}

void CZarvinDlg::OpenHelp() {
    const fs::path page = core_.Context().helpFolder / "index.html";
    // Without a program to open web pages (xdg-open) the user still learns where the page is.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(page)))) {
        core_.Messages().ShowFormattedMessage(text_keys::MAIN_HELP_NOT_OPENED, page.string());
    }
}

void CZarvinDlg::ShowBackupMenu() {
    QMenu menu(this);
    StyleMenu(menu);
    menu.addAction(QString::fromStdString(core_.Text("MENU_1")))->setData(MainControl::Import);
    menu.addAction(QString::fromStdString(core_.Text("MENU_2")))->setData(MainControl::Export);
    menu.addSeparator();
    AddLanguageMenu(menu);
    menu.addAction(QString::fromStdString(core_.Text("MENU_3")))->setData(TrayCommand::About);
    // Opened from the keyboard, the menu opens below its button rather than at the pointer.
    const CPngButton* button = Button(MainControl::Menu);
    const QPoint at = button != nullptr && !button->underMouse()
                          ? button->mapToGlobal(QPoint(0, button->height()))
                          : QCursor::pos();
    if (const QAction* chosen = menu.exec(at)) {
        const QVariant language = chosen->property(kLanguageProperty);
        if (language.isValid()) {
            ChooseLanguage(language.toInt());
        } else {
            RunCommand(chosen->data().toInt());
        }
    }
}

void CZarvinDlg::AddLanguageMenu(QMenu& menu) {
    QMenu* languages = menu.addMenu(QString::fromStdString(core_.Text(text_keys::MENU_LANGUAGE)));
    for (int index = 0; index < static_cast<int>(SupportedLanguages.size()); ++index) {
        // Each language is listed in its own words, so that it is found whatever the window
        // shows now; a language whose file is not installed is not offered.
        const std::string name = core_.TextIn(text_keys::LANGUAGE_NAME, index);
        if (name == kMissingText) {
            continue;
        }
        QAction* action = languages->addAction(QString::fromStdString(name));
        action->setProperty(kLanguageProperty, index);
        action->setCheckable(true);
        action->setChecked(index == core_.LanguageIndex());
    }
}

void CZarvinDlg::ChooseLanguage(int languageIndex) {
    core_.ChooseLanguage(languageIndex);
    ApplyLanguage(core_.LanguageIndex());
}

void CZarvinDlg::ApplyLanguage(int languageIndex) {
    core_.SetLanguageIndex(languageIndex);
    const auto index = static_cast<size_t>(core_.LanguageIndex());
    qtTexts_.Use(index < LanguageCodes.size() ? LanguageCodes[index] : LanguageCodes[0]);
    if (about_ != nullptr) {
        about_->ApplyLanguage();
    }
    keyEditor_->ApplyLanguage();
    setWindowTitle(QString::fromStdString(core_.Text("MAIN_CAPTION")));
    tray_->SetTip(QString::fromStdString(core_.Text("KEYBOARD_TRAY_DESC")));
    // The key buttons' tooltips and spoken names hold key names and captions.
    keys_->ApplyLanguage();
    keys_->ShowAssignments();
    for (const Tooltip& tooltip : kTooltips) {
        Button(tooltip.controlId)
            ->SetTooltip(QString::fromStdString(core_.Text(tooltip.textKey)), true);
    }
    Button(MainControl::Link)
        ->setAccessibleName(QString::fromStdString(core_.Text(access_keys::MAIN_HOME_PAGE)));
    // The lighting labels, the report-rate label and the "RGB" label are the panel's.
    panel_->ApplyLanguage();
    for (const TextButton& text : kTextButtons) {
        CPngButton* button = Button(text.controlId);
        button->setText(QString::fromStdString(core_.Text(text.textKey)));
        button->SetTextStyle(true, text.pointSize, kTextFace, SchemeText().buttons,
                             kCentredText);
        button->SetTextMargins(kTextMargins);
    }
}

// ---- the editors' host ----

void CZarvinDlg::SetPendingChanges(bool pending) {
    pendingChanges_ = pending;
    if (CPngButton* apply = Button(MainControl::Apply)) {
        apply->setEnabled(pending);
    }
}

void CZarvinDlg::ApplyChanges() {
    switch (ApplyPending()) {
        case ApplyOutcome::Nothing:
            Say(text_keys::STATUS_NOTHING_TO_APPLY);
            break;
        case ApplyOutcome::Written:
            Say(text_keys::STATUS_APPLIED);
            break;
        case ApplyOutcome::NotWritten:
            Say(text_keys::STATUS_APPLY_FAILED);
            break;
    }
}

CZarvinDlg::ApplyOutcome CZarvinDlg::ApplyPending() {
    if (busy_) {
        busy_->Post(BusyMessage::Show);
    }
    ApplyOutcome outcome = ApplyOutcome::Nothing;
    if (pendingChanges_) {
        const std::lock_guard lock(core_.Working().Lock());
        if (SaveToProfilePath(core_.Working(), core_.Context()) == FileResult::Success &&
            core_.Sync().ApplyToDevice(false) == CommandResult::Success) {
            SetPendingChanges(false);
            outcome = ApplyOutcome::Written;
        } else {
            outcome = ApplyOutcome::NotWritten;
        }
    }
    if (busy_) {
        busy_->Post(BusyMessage::Hide);
    }
    return outcome;
}

void CZarvinDlg::ShowAssignments() {
    if (keys_) {
        keys_->ShowAssignments();
    }
}

void CZarvinDlg::RebuildProfileMenu() {
    CPngButton* profiles = Button(MainControl::Profiles);
    profiles->setText(QString());
    profiles->SetTooltip(QString::fromStdString(core_.Text("PROFILE_TIP")), true);
}

void CZarvinDlg::RestoreKeyFaces(int controlId) {
    keys_->RestoreKeyFaces(controlId);
}

bool CZarvinDlg::KeyEditorOpen() const {
    return keyEditor_->IsOpen();
}

bool CZarvinDlg::ProfileDialogOpen() const {
    return profileDialog_->IsOpen();
}

bool CZarvinDlg::ProfileDialogApplyEnabled() const {
    return profileDialog_->ApplyEnabled();
}

void CZarvinDlg::ProfileDialogShowActive(int profile) {
    profileDialog_->CheckProfileRow(profile);
    profileDialog_->EnableApply(false);
}

// ---- profiles, defaults and backups ----

bool CZarvinDlg::SelectKeyboardProfile() {
    return profileSwitch_->SelectProfile(core_.ActiveProfile()) == 1;
}

void CZarvinDlg::SyncProfileButtons() {
    const int active = core_.ActiveProfile();
    if (active < 0 || active >= kProfileCountShown) {
        return;
    }
    for (int profile = 0; profile < kProfileCountShown; ++profile) {
        Button(MainControl::Profile1 + profile)->SetSelected(profile == active, true);
    }
    panel_->Lighting().SetCurrentProfile(active);
}

void CZarvinDlg::OnProfileButton(int profile) {
    // The keyboard switches first: a refused switch leaves the buttons, the key view and the
    // lighting panel on the profile the keyboard keeps, so no later edit lands elsewhere.
    if (core_.ActiveProfile() != profile && profileSwitch_->SelectProfile(profile) == 0) {
        return;
    }
    LightingState& lighting = panel_->Lighting();
    if (lighting.LightingPanelOn()) {
        lighting.ToggleLightingPanel();
    }
    FollowActiveProfile(true);
    keys_->ShowAssignments();
}

void CZarvinDlg::ShowActiveProfile() {
    FollowActiveProfile(false);
}

void CZarvinDlg::FollowActiveProfile(bool reloadLighting) {
    const int active = core_.ActiveProfile();
    if (active < 0 || active >= kProfileCountShown) {
        return;
    }
    for (int profile = 0; profile < kProfileCountShown; ++profile) {
        Button(MainControl::Profile1 + profile)->SetSelected(profile == active, true);
    }
    LightingState& lighting = panel_->Lighting();
    if (!reloadLighting && lighting.CurrentProfile() == active) {
        return;
    }
    lighting.SetCurrentProfile(active);
    lighting.LoadLighting();
    if (lighting.OffersUserModes()) {
        panel_->Colours().FillModeCombo(active);
        panel_->Colours().LoadUserMode(active, true);
    }
    lighting.RefreshLightingPanel();
}

void CZarvinDlg::RestoreDefaults() {
    if (!core_.Questions().AskYesNo("MAIN_PROMPT_DEFAULT")) {
        return;
    }
    {
        const std::lock_guard lock(core_.Working().Lock());
        const int profile = core_.ActiveProfile();
        if (profile >= 0 && profile < kProfileCountShown) {
            const auto table = static_cast<size_t>(profile);
            for (const KeyButton& button : KeyButtons()) {
                if (const std::optional<int> slot = KeyboardView::SlotOfControl(button.controlId)) {
                    core_.Working().SetAssignment(KeyRecordNumber(table, static_cast<size_t>(*slot)),
                                                KeyAssignment{});
                }
            }
        }
        keys_->ShowAssignments();
        SetPendingChanges(true);
    }
    const bool lighting = panel_->Lighting().LightingPanelOn();
    if (lighting) {
        panel_->Lighting().RestoreLightingDefaults();
    }
    if (ApplyPending() == ApplyOutcome::Written) {
        Say(lighting ? text_keys::STATUS_DEFAULT_WITH_LIGHTING_DONE : text_keys::STATUS_DEFAULT_DONE);
    } else {
        Say(text_keys::STATUS_DEFAULT_FAILED);
    }
}

fs::path CZarvinDlg::BackupFolder() const {
    const fs::path last = core_.UserSettings().ReadProfileString(kBackupFolderSetting, "");
    std::error_code error;
    if (!last.empty() && fs::is_directory(last, error)) {
        return last;
    }
    return QDir::homePath().toStdString();
}

std::optional<fs::path> CZarvinDlg::AskForFile(FileChoice choice) {
    const QStringList filters{QString::fromStdString(core_.Text(text_keys::BACKUP_FILE_FILTER)),
                              QString::fromStdString(core_.Text(text_keys::ALL_FILES_FILTER))};
    // The dialog sizes its tool buttons to its name box as it builds them, so it is built
    // inside a hidden holder of the plain controls' look rather than styled afterwards.
    QWidget styleHolder(this);
    StyleControls(styleHolder);
    QFileDialog dialog(&styleHolder, QString(), PathText(BackupFolder()));
    dialog.setObjectName(QStringLiteral("BackupFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("fwc"));
    if (choice == FileChoice::Open) {
        dialog.setWindowTitle(QString::fromStdString(core_.Text(text_keys::MENU_1)));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setWindowTitle(QString::fromStdString(core_.Text(text_keys::MENU_2)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return fs::path(dialog.selectedFiles().front().toStdString());
}

void CZarvinDlg::ImportBackup() {
    const std::optional<fs::path> file = chooseFile_(FileChoice::Open);
    // Cancelling the file dialog is not a failure: nothing to say.
    if (!file) {
        return;
    }
    core_.UserSettings().WriteProfileString(kBackupFolderSetting, file->parent_path().string());
    if (ValidateProfileFile(*file, core_.Messages()) <= 0) {
        core_.Messages().ShowMessage("MAIN_PROMPT_INPORT");
        return;
    }
    bool written = false;
    {
        const std::lock_guard lock(core_.Working().Lock());
        core_.Working().EmptyStore();
        core_.Working().LoadProfileFile(*file);
        core_.Sync().WorkingStoreReplaced();
        SaveToProfilePath(core_.Working(), core_.Context());
        written = core_.Sync().ApplyToDevice(true) == CommandResult::Success;
        keys_->ShowAssignments();
    }
    // A backup the keyboard did not take stays to be applied: the window shows it, the keyboard
    // does not have it yet.
    SetPendingChanges(!written);
    Say(written ? text_keys::STATUS_IMPORTED : text_keys::STATUS_IMPORT_NOT_WRITTEN,
        file->filename().string());
}

void CZarvinDlg::ExportBackup() {
    const std::optional<fs::path> file = chooseFile_(FileChoice::Save);
    if (!file) {
        return;
    }
    core_.UserSettings().WriteProfileString(kBackupFolderSetting, file->parent_path().string());
    int saved = FileResult::Failure;
    {
        const std::lock_guard lock(core_.Working().Lock());
        saved = core_.Working().SaveProfileFile(*file);
    }
    // The user chose where the backup goes; not finding it there later would be worse.
    if (saved != FileResult::Success) {
        core_.Messages().ShowFormattedMessage("MAIN_PROMPT_EXPORT", file->string());
        return;
    }
    Say(text_keys::STATUS_EXPORTED, file->filename().string());
}

// ---- connection, editors and exit ----

void CZarvinDlg::RefreshConnection() {
    // A reload request may follow a profile change made elsewhere (zarvinctl): the keyboard is
    // asked again rather than the cache.
    core_.Device().ForgetActiveProfile();
    core_.Sync().LoadFromDevice([this] { ShowAssignments(); });
    SetPendingChanges(false);
    SyncProfileButtons();
    LightingState& lighting = panel_->Lighting();
    lighting.LoadLightingOnConnection();
    lighting.RefreshLightingPanel();
    if (lighting.OffersUserModes()) {
        panel_->Colours().DeriveBaseFlags();
    }
}

void CZarvinDlg::CloseEditors() {
    if (about_ != nullptr) {
        about_->hide();
    }
    profileDialog_->CloseIfOpen();
    keyEditor_->CloseIfOpen();
    if (QWidget* combo = panel_->EffectCombo()) {
        combo->setFocus();
    }
    Button(MainControl::Profile1)->setFocus();
}

void CZarvinDlg::reject() {
    hide();
}

bool CZarvinDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != this && !isAncestorOf(widget))) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (IsEnterOrEscape(key)) {
        // Neither closes the window: Enter presses the button that has the focus, and in an RGB
        // box it applies the typed colour.
        if (key != Qt::Key_Escape && event->type() == QEvent::KeyPress && panel_) {
            panel_->CommitRgbEditsFrom(watched);
        }
        const bool onButton = qobject_cast<QAbstractButton*>(widget) != nullptr &&
                              widget == QApplication::focusWidget();
        return !(onButton && key != Qt::Key_Escape);
    }
    if (key == Qt::Key_F1) {
        if (event->type() == QEvent::KeyPress) {
            OpenHelp();
        }
        return true;
    }
    if (IsArrowKey(key) && panel_) {
        const QWidget* combo = panel_->EffectCombo();
        const QWidget* focus = QApplication::focusWidget();
        return combo != nullptr && focus != nullptr &&
               (focus == combo || combo->isAncestorOf(focus));
    }
    return false;
}

void CZarvinDlg::ExitApplication() {
    if (exited_) {
        return;
    }
    hide();
    if (about_ != nullptr) {
        about_->hide();
    }
    profileDialog_->CloseIfOpen();
    keyEditor_->CloseIfOpen();
    tray_->Remove();
    SetPendingChanges(false);
    exited_ = true;
    StopDeviceThreads();
    for (const auto& [id, timer] : timers_) {
        timer->stop();
    }
    {
        const std::lock_guard lock(core_.Working().Lock());
        core_.Working().EmptyStore();
    }
    CloseModalWindows();
    run_.exit(0);
}

void CZarvinDlg::StopDeviceThreads() {
    // A device thread may wait on this thread (a sent message, a message box): end those waits
    // first, so that joining it cannot wait for ever.
    calls_.EndCalls();
    if (auto* boxes = dynamic_cast<MessageBoxes*>(&core_.Messages())) {
        boxes->EndPendingCalls();
    }
    if (monitor_) {
        monitor_->Stop();
    }
    if (listener_) {
        listener_->Stop();
    }
    if (busy_) {
        busy_->Stop();
    }
    monitor_.reset();
    listener_.reset();
    busy_.reset();
}

}  // namespace zarvin
