#include "dialogs/ZarvinDlgComposite.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include "control/ConfiguratorCore.h"
#include "control/ProfileMacros.h"
#include "device/UserMessages.h"
#include "dialogs/EditorHost.h"
#include "dialogs/KeyHook.h"
#include "dialogs/MacroPage.h"
#include "dialogs/OnScreenKeyboard.h"
#include "model/AccessTextKeys.h"
#include "model/EditorPlacement.h"
#include "model/KeyAssignment.h"
#include "model/KeyCaptureRule.h"
#include "model/KeyMapCodec.h"
#include "model/KeyboardLayout.h"
#include "model/MacroArea.h"
#include "model/TextKeys.h"
#include "skin/CaptionStyle.h"
#include "skin/ColourSchemeLook.h"
#include "skin/ControlStyle.h"
#include "skin/LayoutReaders.h"
#include "skin/PictureLoader.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "skin/StateImages.h"
#include "skin/TabOrder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = "BUTTONINFO";
constexpr int kMacroModeControl = 1143;
const QString kFontFace = QStringLiteral("Arial Unicode MS");

constexpr uint16_t TypeOf(AssignmentType type) { return static_cast<uint16_t>(type); }

constexpr int kTitlePoints = 13;

QFont EditorFont(qreal points) {
    QFont font(kFontFace);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points);
    return font;
}

QLabel* MakeLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, SchemeText().label);
    label->setPalette(palette);
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent) {
    auto* box = new QCheckBox(parent);
    box->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, SchemeText().label);
    box->setPalette(palette);
    return box;
}

ButtonFaces FacesOf(const QImage& normal, const QImage& over, const QImage& down,
                    const QImage& disable, const QImage& selected) {
    return {&normal, &over, &down, &disable, &selected};
}

}  // namespace

Zarvin_DlgComposite::Zarvin_DlgComposite(ConfiguratorCore& core, EditorHost& host,
                                         QWidget* parent)
    : CBaseDialog(core.Context().compositeSkinFile, core.Context().compositeSkinFolder, parent),
      core_(core),
      host_(host) {
    CreateControls();
    capture_ = std::make_unique<KeyHook>(
        this, [this](const KeyMessage& message) { return OnKeyMessage(message); });
    const MacroPageControls controls{
        .macroList = macroList_,
        .cycles = cycles_,
        .actions = actions_,
        .add = MacroButton("FUNC_MACRO_ADD"),
        .remove = MacroButton("FUNC_MACRO_DELETE"),
        .record = MacroButton("FUNC_MACRO_RECORD"),
        .deleteAction = MacroButton("FUNC_MACRO_DELETE2"),
        .clearActions = MacroButton("FUNC_MACRO_CLEAR"),
        .moveTop = MacroButton("FUNC_MACRO_UP_TOP"),
        .moveUp = MacroButton("FUNC_MACRO_UP"),
        .moveDown = MacroButton("FUNC_MACRO_DOWN"),
        .moveBottom = MacroButton("FUNC_MACRO_DOWN_BOTTOM"),
        .recordDelay = recordDelay_,
    };
    macros_ = std::make_unique<MacroPage>(core_, this, controls, [this] { MarkChanged(); });
}

Zarvin_DlgComposite::~Zarvin_DlgComposite() {
    qApp->removeEventFilter(this);
}

void Zarvin_DlgComposite::Open(const KeyEditTarget& target) {
    target_ = target;
    macroMode_ = target.controlId == kMacroModeControl;
    open();
}

int Zarvin_DlgComposite::Exec(const KeyEditTarget& target) {
    target_ = target;
    macroMode_ = target.controlId == kMacroModeControl;
    return exec();
}

bool Zarvin_DlgComposite::IsOpen() const {
    return openCount_ > 0;
}

void Zarvin_DlgComposite::CloseIfOpen() {
    if (IsOpen()) {
        reject();
    }
}

void Zarvin_DlgComposite::CreateControls() {
    const auto button = [this] { return new CPngButton(this); };
    // The page background first, so that every other control lies above it. It only shows the
    // page's pictures; the pointer goes through it to the window, which can be dragged there.
    mask_ = button();
    mask_->setAttribute(Qt::WA_TransparentForMouseEvents);
    mask_->SetButtonRole(ButtonRole::Display);
    title_ = button();
    title_->SetButtonRole(ButtonRole::Display);
    osk_ = button();
    clear_ = button();
    mediaPage_ = button();
    macroPage_ = button();
    keyPage_ = button();
    functionPage_ = button();
    ok_ = button();
    cancel_ = button();
    apply_ = button();
    for (const char* entry : {"FUNC_MACRO_DELETE", "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP",
                              "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM",
                              "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD"}) {
        CPngButton* macroButton = button();
        macroButton->setObjectName(QString::fromLatin1(entry));
        macroButtons_.emplace_back(macroButton, entry);
        pageWidgets_.emplace_back(macroButton, Page::Macro);
    }
    for (CPngButton* page : {keyPage_, macroPage_, mediaPage_, functionPage_}) {
        page->SetButtonRole(ButtonRole::Choice);
    }
    keyPage_->setObjectName(QStringLiteral("keyPage"));
    macroPage_->setObjectName(QStringLiteral("macroPage"));
    mediaPage_->setObjectName(QStringLiteral("mediaPage"));
    functionPage_->setObjectName(QStringLiteral("functionPage"));
    clear_->setObjectName(QStringLiteral("clear"));
    osk_->setObjectName(QStringLiteral("onScreenKeyboard"));
    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    apply_->setObjectName(QStringLiteral("apply"));

    const auto onPage = [this](auto* widget, Page page, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        pageWidgets_.emplace_back(widget, page);
        return widget;
    };
    singleLabel_ = onPage(MakeLabel(this), Page::Key, "singleLabel");
    keyField_ = onPage(new QLineEdit(this), Page::Key, "keyField");
    keyField_->setReadOnly(true);
    keyField_->setAlignment(Qt::AlignCenter);
    keyboardChoice_ = onPage(MakeCheckBox(this), Page::Key, "keyboardChoice");
    keyboardLabel_ = onPage(MakeLabel(this), Page::Key, "keyboardLabel");
    mouseChoice_ = onPage(MakeCheckBox(this), Page::Key, "mouseChoice");
    mouseLabel_ = onPage(MakeLabel(this), Page::Key, "mouseLabel");
    mouseList_ = onPage(new QComboBox(this), Page::Key, "mouseList");

    macroNameLabel_ = onPage(MakeLabel(this), Page::Macro, "macroNameLabel");
    macroList_ = onPage(new QComboBox(this), Page::Macro, "macroList");
    macroList_->setEditable(true);
    actions_ = onPage(new CReportCtrl(this), Page::Macro, "actions");
    cyclesLabel_ = onPage(MakeLabel(this), Page::Macro, "cyclesLabel");
    cycles_ = onPage(new QLineEdit(this), Page::Macro, "cycles");
    cycles_->setAlignment(Qt::AlignCenter);
    recordDelay_ = onPage(MakeCheckBox(this), Page::Macro, "recordDelay");
    recordDelayLabel_ = onPage(MakeLabel(this), Page::Macro, "recordDelayLabel");

    mediaLabel_ = onPage(MakeLabel(this), Page::Media, "mediaLabel");
    mediaList_ = onPage(new QComboBox(this), Page::Media, "mediaList");
    functionLabel_ = onPage(MakeLabel(this), Page::Function, "functionLabel");
    functionList_ = onPage(new QComboBox(this), Page::Function, "functionList");

    connect(keyPage_, &CPngButton::clicked, this, [this] { OnKeyPageButton(); });
    connect(macroPage_, &CPngButton::clicked, this,
            [this] { SwitchToType(TypeOf(AssignmentType::PlayMacro)); });
    connect(mediaPage_, &CPngButton::clicked, this,
            [this] { SwitchToType(TypeOf(AssignmentType::Media)); });
    connect(functionPage_, &CPngButton::clicked, this,
            [this] { SwitchToType(TypeOf(AssignmentType::Function)); });
    connect(clear_, &CPngButton::clicked, this, [this] { OnClear(); });
    connect(keyboardChoice_, &QCheckBox::clicked, this,
            [this] { OnSourceChosen(KeySource::Keyboard); });
    connect(mouseChoice_, &QCheckBox::clicked, this, [this] { OnSourceChosen(KeySource::Mouse); });
    connect(osk_, &CPngButton::clicked, this, [] { StartOnScreenKeyboard(); });
    connect(ok_, &CPngButton::clicked, this, [this] {
        if (Apply()) {
            accept();
        }
    });
    connect(cancel_, &CPngButton::clicked, this, [this] { reject(); });
    connect(apply_, &CPngButton::clicked, this, [this] { Apply(); });
    // A choice the user makes in a list changes what Apply writes, so it enables Apply;
    // filling the lists at an opening does not.
    for (QComboBox* list : {mouseList_, mediaList_, functionList_}) {
        connect(list, &QComboBox::activated, this, [this] { SetChanged(true); });
    }
}

CPngButton* Zarvin_DlgComposite::MacroButton(std::string_view entry) const {
    const auto found =
        std::find_if(macroButtons_.begin(), macroButtons_.end(),
                     [entry](const auto& item) { return std::string_view(item.second) == entry; });
    return found == macroButtons_.end() ? nullptr : found->first;
}

void Zarvin_DlgComposite::InitDialog() {
    // The plain controls' look is given when the dialog first opens: until then its many
    // widgets keep nothing for it.
    if (styleSheet().isEmpty()) {
        StyleControls(*this);
    }
    ++openCount_;
    LoadImages();
    PlaceControls();
    // After placement: the action list's columns share the width the skin gives it.
    macros_->SetUpActionList();
    SetFonts();
    osk_->setEnabled(!FindOnScreenKeyboard().isEmpty());

    FillDropDowns();
    macros_->LoadMacroList();
    SetChanged(false);

    ReadTargetRecord();
    if (macroMode_) {
        EnterMacroMode();
    }

    keyField_->clear();
    recordDelay_->setText({});
    keyboardChoice_->setText({});
    mouseChoice_->setText({});
    capturedKey_ = 0;
    // The editor outlives its openings: the choice the last one left must not decide what a
    // key opened on another page is given when the user turns to the single-key page.
    SelectSource(KeySource::Keyboard);
    ShowPage(true);
    SetChanged(false);

    PlaceBesideButton();
    ApplyLanguage();
    OrderTabsByLayout(*this);
    // Enter and Esc are the editor's own while it is open (see eventFilter).
    qApp->installEventFilter(this);
}

void Zarvin_DlgComposite::LoadImages() {
    if (imagesLoaded_) {
        return;
    }
    const QSize client = size();
    const auto load = [&](FaceSet& set, const std::string& name, bool ownDisable) {
        const auto surface = [&](const std::string& state) {
            return MakeStateSurface(LoadSkinPicture(SkinFolder() / (name + "_" + state + ".jpg")),
                                    client);
        };
        set.normal = surface("normal");
        set.over = surface("over");
        set.down = surface("down");
        set.disable = ownDisable ? surface("disable") : set.normal;
    };
    load(keySet_, "key", false);
    applyDisabled_ = MakeStateSurface(LoadSkinPicture(SkinFolder() / "key_disable.jpg"), client);
    load(macroSet_, "macro", true);
    load(macro2Set_, "macro2", true);
    load(mediaSet_, "media", false);
    load(functionSet_, "function", false);
    imagesLoaded_ = true;
}

void Zarvin_DlgComposite::PlaceControls() {
    const fs::path& skin = SkinFile();
    const FaceSet& k = keySet_;
    const ButtonFaces keyFaces = FacesOf(k.normal, k.over, k.down, k.normal, k.down);
    const std::pair<CPngButton*, const char*> frameButtons[] = {
        {mask_, "CONTROL_MASK"},       {title_, "CONTROL_TITLE"},
        {osk_, "CONTROL_OSK"},         {clear_, "CONTROL_CLEAR"},
        {mediaPage_, "CONTROL_MEDIA"}, {macroPage_, "CONTROL_MACRO"},
        {keyPage_, "CONTROL_KEY"},     {functionPage_, "CONTROL_FUNCTION"},
        {ok_, "CONTROL_OK"},           {cancel_, "CONTROL_CANCEL"}};
    for (const auto& [frameButton, entry] : frameButtons) {
        frameButton->setEnabled(true);
        PlaceWithFaces(*frameButton, skin, kSection, entry, keyFaces);
    }
    PlaceWithFaces(*apply_, skin, kSection, "CONTROL_APPLY",
                   FacesOf(k.normal, k.over, k.down, applyDisabled_, k.normal));
    const FaceSet& m = macroSet_;
    const ButtonFaces macroFaces = FacesOf(m.normal, m.over, m.down, m.disable, m.down);
    for (const auto& [macroButton, entry] : macroButtons_) {
        PlaceWithFaces(*macroButton, skin, kSection, entry, macroFaces);
    }
    const std::pair<QWidget*, const char*> placed[] = {
        {recordDelay_, "FUNC_MACRO_RECORD_DELAY"},
        {actions_, "FUNC_MACRO_LIST2"},
        {cycles_, "FUNC_MACRO_CYCLES"},
        {cyclesLabel_, "FUNC_MACRO_CYCLES_PROMPT"},
        {singleLabel_, "TISHI_SINGLE_STATIC"},
        {macroNameLabel_, "MARCO_NAME_SETTING"},
        {mediaLabel_, "MEDIA_SETTING_TISHI"},
        {functionLabel_, "FUNCTION_KEY_SETTING_TISHI"},
        {recordDelayLabel_, "FUNC_MACRO_RECORD_DELAY2"},
        {keyField_, "FUNC_KEY_INPUT"},
        {mediaList_, "FUNC_MEDIA_SELECT"},
        {macroList_, "FUNC_MACRO_LIST"},
        {functionList_, "FUNC_FUNCTION_SELECT"},
        {keyboardChoice_, "FUNC_KEY_RADIO_KB"},
        {keyboardLabel_, "FUNC_KEY_RADIO_KB_STATIC"},
        {mouseChoice_, "FUNC_KEY_RADIO_MOU"},
        {mouseLabel_, "FUNC_KEY_RADIO_MOU_STATIC"},
        {mouseList_, "FUNC_MOUSE_SELECT"}};
    for (const auto& [control, entry] : placed) {
        PlaceControl(*control, skin, kSection, entry);
    }
}

void Zarvin_DlgComposite::SetFonts() {
    // The title is written by the window, not baked into the pictures: it names the key and
    // follows the language.
    const QColor titleColour = SchemeText().title;
    title_->SetTextStyle(true, kTitlePoints, kFontFace,
                         {titleColour, titleColour, titleColour, titleColour, titleColour},
                         text_format::kLeft | text_format::kVerticalCentre |
                             text_format::kSingleLine);
    // The buttons' words too: the pictures leave them out.
    for (CPngButton* button :
         {keyPage_, macroPage_, mediaPage_, functionPage_, ok_, cancel_, apply_}) {
        WriteCaptionOnFace(*button, false);
    }
    for (const auto& [button, entry] : macroButtons_) {
        const std::string_view name = entry;
        if (name != "FUNC_MACRO_ADD" && name != "FUNC_MACRO_DELETE") {
            WriteCaptionOnFace(*button, name == "FUNC_MACRO_RECORD");
        }
    }
    keyField_->setFont(EditorFont(14));
    for (QComboBox* list : {mediaList_, mouseList_, functionList_, macroList_}) {
        list->setFont(EditorFont(12));
    }
    actions_->setFont(EditorFont(8));
    for (QLabel* label : {singleLabel_, macroNameLabel_, mediaLabel_, functionLabel_}) {
        label->setFont(EditorFont(10.8));
    }
}

void Zarvin_DlgComposite::FillDropDowns() {
    const TextLookup texts = core_.Texts();
    const auto fill = [](QComboBox* list, const auto& rows, const auto& textOf) {
        list->clear();
        for (const auto& row : rows) {
            list->addItem(QString::fromStdString(textOf(row)));
        }
        list->setCurrentIndex(0);
    };
    fill(mediaList_, MediaFunctionTable,
         [&](const MediaFunction& row) { return KeyNameOf(row.keyCode, texts); });
    fill(functionList_, text_keys::kFunctionKeyDescriptions,
         [&](std::string_view key) { return core_.Text(key); });
    const std::string_view mouseTexts[] = {
        text_keys::IDS_KEYBOARD_MOU_LEFT, text_keys::IDS_KEYBOARD_MOU_RIGHT,
        text_keys::IDS_KEYBOARD_MOU_MIDDLE, text_keys::IDS_KEYBOARD_ROLL_UP,
        text_keys::IDS_KEYBOARD_ROLL_DOWN};
    fill(mouseList_, mouseTexts, [&](std::string_view key) { return core_.Text(key); });
}

void Zarvin_DlgComposite::ReadTargetRecord() {
    pageType_ = 0;
    initialValue_ = 0;
    const int profile = core_.ActiveProfile();
    if (profile < 0 || profile >= static_cast<int>(kKeyTableCount)) {
        return;
    }
    std::lock_guard lock(core_.Working().Lock());
    const KeyAssignment record = core_.Working().Assignment(
        KeyRecordNumber(static_cast<size_t>(profile), static_cast<size_t>(target_.slot)));
    pageType_ = record.type;
    initialValue_ = record.value;
}

void Zarvin_DlgComposite::EnterMacroMode() {
    pageType_ = TypeOf(AssignmentType::PlayMacro);
    const FaceSet& m = macro2Set_;
    const ButtonFaces faces = FacesOf(m.normal, m.over, m.down, m.disable, m.down);
    for (CPngButton* button : {keyPage_, mediaPage_, functionPage_, clear_}) {
        button->setEnabled(false);
        button->SetStateFaces(faces);
    }
    title_->SetStateFaces(faces);
}

void Zarvin_DlgComposite::PlaceBesideButton() {
    const QScreen* screen = QGuiApplication::screenAt(target_.buttonRect.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    if (macroMode_) {
        move(area.center() - rect().center());
        return;
    }
    const QRect button = target_.buttonRect.translated(-area.topLeft());
    const ScreenPoint at = EditorPositionBeside(
        {button.left(), button.top(), button.right() + 1, button.bottom() + 1}, width(), height(),
        area.width(), area.height());
    move(area.topLeft() + QPoint(at.x, at.y));
}

Zarvin_DlgComposite::Page Zarvin_DlgComposite::PageOf(uint16_t pageType) {
    switch (static_cast<AssignmentType>(pageType)) {
        case AssignmentType::PlayMacro:
            return Page::Macro;
        case AssignmentType::Media:
            return Page::Media;
        case AssignmentType::Function:
            return Page::Function;
        default:
            return Page::Key;
    }
}

void Zarvin_DlgComposite::ShowPage(bool initial) {
    const Page page = PageOf(pageType_);
    const FaceSet* sets[] = {&keySet_, &macroSet_, &mediaSet_, &functionSet_};
    const FaceSet& set = *sets[static_cast<size_t>(page)];
    mask_->SetStateFaces(FacesOf(set.normal, set.over, set.down, set.disable, set.normal));
    const auto selectInitial = [&](QComboBox* list) {
        if (initial && initialValue_ >= 0 && initialValue_ < list->count()) {
            list->setCurrentIndex(initialValue_);
        }
    };
    switch (page) {
        case Page::Macro:
            capture_->Remove();
            macros_->ShowMacroPage(initial, initialValue_);
            break;
        case Page::Media:
            capture_->Remove();
            macros_->StopRecording();
            selectInitial(mediaList_);
            break;
        case Page::Function:
            capture_->Remove();
            macros_->StopRecording();
            selectInitial(functionList_);
            break;
        case Page::Key:
            macros_->StopRecording();
            // The keyboard can only be taken by a window on the screen; showEvent takes it
            // when the editor opens on this page.
            if (isVisible()) {
                ArmCapture();
            }
            if (initial) {
                ShowInitialKey();
            }
            break;
    }
    for (const auto& [widget, widgetPage] : pageWidgets_) {
        widget->setVisible(widgetPage == page);
    }
    const std::pair<CPngButton*, Page> pageButtons[] = {{keyPage_, Page::Key},
                                                        {macroPage_, Page::Macro},
                                                        {mediaPage_, Page::Media},
                                                        {functionPage_, Page::Function}};
    for (const auto& [button, buttonPage] : pageButtons) {
        button->SetSelected(buttonPage == page, true);
    }
}

void Zarvin_DlgComposite::ShowInitialKey() {
    capturedKey_ = static_cast<KeyCode>(initialValue_);
    if (pageType_ != TypeOf(AssignmentType::Key)) {
        SelectSource(KeySource::Keyboard);
        return;
    }
    if (const auto entry = MouseChoiceOf(capturedKey_)) {
        mouseList_->setCurrentIndex(*entry);
        SelectSource(KeySource::Mouse);
        return;
    }
    if (capturedKey_ != 0) {
        keyField_->setText(QString::fromStdString(KeyNameOf(capturedKey_, core_.Texts())));
    }
    SelectSource(KeySource::Keyboard);
}

void Zarvin_DlgComposite::SelectSource(KeySource source) {
    const bool keyboard = source == KeySource::Keyboard;
    if (!keyboard) {
        // A mouse action is chosen in its list, which the keyboard must be free to reach.
        capture_->Remove();
    }
    keyField_->setEnabled(keyboard);
    mouseList_->setEnabled(!keyboard);
    keyboardChoice_->setChecked(keyboard);
    mouseChoice_->setChecked(!keyboard);
}

void Zarvin_DlgComposite::SwitchToType(uint16_t type) {
    if (pageType_ == type) {
        return;
    }
    pageType_ = type;
    ShowPage(false);
    MarkChanged();
}

void Zarvin_DlgComposite::OnKeyPageButton() {
    if (pageType_ != TypeOf(AssignmentType::Default) && pageType_ != TypeOf(AssignmentType::Key)) {
        SwitchToType(TypeOf(AssignmentType::Key));
    }
}

void Zarvin_DlgComposite::OnClear() {
    OnKeyPageButton();
    if (pageType_ == TypeOf(AssignmentType::Key)) {
        keyField_->clear();
        capturedKey_ = 0;
        pageType_ = TypeOf(AssignmentType::Default);
        SelectSource(KeySource::Keyboard);
    }
}

void Zarvin_DlgComposite::OnSourceChosen(KeySource source) {
    SelectSource(source);
    pageType_ = TypeOf(AssignmentType::Key);
    SetChanged(true);
}

void Zarvin_DlgComposite::ArmCapture() {
    if (mouseChoice_->isChecked()) {
        return;
    }
    keyCaptured_ = false;
    keyField_->setFocus(Qt::OtherFocusReason);
    capture_->Install();
}

bool Zarvin_DlgComposite::OnKeyMessage(const KeyMessage& message) {
    const KeyCaptureDecision decision =
        DecideKeyCapture({message.vk, message.keyWord}, mouseChoice_->isChecked());
    // One key per waiting: once the captured key is let go, the keyboard moves between the
    // controls again (Enter or Space on the key field, or a click on it, waits anew).
    if (message.release && keyCaptured_) {
        capture_->Remove();
        return decision.action != KeyCaptureDecision::Action::PassOn;
    }
    switch (decision.action) {
        case KeyCaptureDecision::Action::PassOn:
            return false;
        case KeyCaptureDecision::Action::Swallow:
            return true;
        case KeyCaptureDecision::Action::Capture:
            Capture(decision.key);
            return true;
    }
    return false;
}

void Zarvin_DlgComposite::Capture(KeyCode key) {
    keyCaptured_ = true;
    capturedKey_ = key;
    keyField_->setText(QString::fromStdString(KeyNameOf(key, core_.Texts())));
    pageType_ = TypeOf(AssignmentType::Key);
    MarkChanged();
}

void Zarvin_DlgComposite::SetChanged(bool changed) {
    changed_ = changed;
    apply_->setEnabled(changed);
}

bool Zarvin_DlgComposite::Apply() {
    macros_->EndInPlaceEdit();
    macros_->StopRecording();

    KeyEdit edit{
        .targetSlot = static_cast<size_t>(target_.slot),
        .pageType = pageType_,
        .capturedKey = capturedKey_,
        .source = mouseChoice_->isChecked() ? KeySource::Mouse : KeySource::Keyboard,
        .mouseEntry = mouseList_->currentIndex(),
        .macroListEmpty = macroList_->count() == 0,
        .currentMacroId = 0,
        .cycles = macros_->Cycles(),
        .mediaEntry = mediaList_->currentIndex(),
        .functionEntry = functionList_->currentIndex(),
    };
    try {
        macros_->StoreCurrentMacro();
        std::vector<MacroRecord> list = macros_->Macros();
        edit.macroListEmpty = list.empty();
        const int current = macros_->CurrentMacro();
        if (current >= 0 && current < static_cast<int>(list.size())) {
            edit.currentMacroId = list[static_cast<size_t>(current)].Id();
        }
        CommitMacroList(core_.Working(), std::move(list));
    } catch (const std::bad_alloc&) {
        // The macros stay as the store has them; the key's record is still written.
    }

    const std::optional<std::string_view> refusal = KeyEditRefusal(edit);
    const int profile = core_.ActiveProfile();
    if (!refusal && profile >= 0 && profile < static_cast<int>(kKeyTableCount)) {
        std::lock_guard lock(core_.Working().Lock());
        const size_t record =
            KeyRecordNumber(static_cast<size_t>(profile), static_cast<size_t>(target_.slot));
        core_.Working().SetAssignment(
            record, BuildKeyEditRecord(edit, core_.Working().Assignment(record)));
    }
    host_.ShowAssignments();
    // The macros are committed either way; the key waits for a choice.
    SetChanged(refusal.has_value());
    host_.SetPendingChanges(true);
    if (refusal) {
        core_.Messages().ShowMessage(*refusal);
        return false;
    }
    return true;
}

void Zarvin_DlgComposite::done(int result) {
    if (openCount_ > 0) {
        qApp->removeEventFilter(this);
        capture_->Remove();
        macros_->StopRecording();
        macros_->FreeMacroPage();
        SetChanged(false);
        --openCount_;
        host_.RestoreKeyFaces(target_.controlId);
    }
    CBaseDialog::done(result);
}

void Zarvin_DlgComposite::showEvent(QShowEvent* event) {
    CBaseDialog::showEvent(event);
    if (IsOpen() && PageOf(pageType_) == Page::Key) {
        ArmCapture();
    }
}

bool Zarvin_DlgComposite::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return CBaseDialog::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != this && !isAncestorOf(widget))) {
        return CBaseDialog::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool press = event->type() == QEvent::KeyPress;
    QWidget* focus = QApplication::focusWidget();
    // An action being edited in place takes Enter and Escape itself.
    const auto insideActions = [this](const QWidget* inner) {
        return inner != nullptr && inner != actions_ && actions_->isAncestorOf(inner);
    };
    const bool editingAction = insideActions(widget) || insideActions(focus);
    if (key == Qt::Key_Escape && !editingAction) {
        if (press) {
            reject();
        }
        return true;
    }
    const bool enterOrSpace = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (enterOrSpace && focus == keyField_ && PageOf(pageType_) == Page::Key) {
        if (press) {
            ArmCapture();
        }
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter presses the focused button and never ends the editor by itself.
        return !editingAction && !(qobject_cast<QAbstractButton*>(focus) != nullptr && widget == focus);
    }
    if (key == Qt::Key_F1) {
        if (event->type() == QEvent::KeyPress && !macros_->Recording()) {
            host_.OpenHelp();
        }
        return true;
    }
    return CBaseDialog::eventFilter(watched, event);
}

std::string Zarvin_DlgComposite::TargetKeyName() const {
    if (target_.slot >= static_cast<int>(kFirstGKeySlot)) {
        return "G" + std::to_string(target_.slot - static_cast<int>(kFirstGKeySlot) + 1);
    }
    const KeyButton* button = FindKeyButton(target_.controlId);
    return button != nullptr ? KeyNameOf(button->keyCode, core_.Texts()) : std::string();
}

void Zarvin_DlgComposite::ApplyLanguage() {
    const auto text = [this](std::string_view key) { return QString::fromStdString(core_.Text(key)); };
    using namespace text_keys;
    cyclesLabel_->setText(text(MACRO_CYCLES));
    recordDelayLabel_->setText(text(RECORD_DELAY));
    keyboardLabel_->setText(text(IDS_MACRO_KB_KEY));
    mouseLabel_->setText(text(IDS_MACRO_MOU_KEY));
    singleLabel_->setText(text(SINGLE_STATIC));
    macroNameLabel_->setText(text(MACRO_NAME_SETTING));
    mediaLabel_->setText(text(MEDIA_EDIT_TISHI));
    functionLabel_->setText(text(FUNCTION_TISHI));
    if (macroMode_) {
        title_->setText(text(MACRO_EDIT_TISHI));
        for (CPngButton* button : {keyPage_, mediaPage_, functionPage_}) {
            button->setText({});
        }
    } else {
        // The title names the key being edited, so that the editor never stands for another.
        std::string title = core_.Text(KEY_SETTING_TITLE);
        if (const size_t at = title.find("%s"); at != std::string::npos) {
            title.replace(at, 2, TargetKeyName());
        }
        title_->setText(QString::fromStdString(title));
        keyPage_->setText(text(SINGLE_KEY));
        mediaPage_->setText(text(MULTI_MEDIA));
        functionPage_->setText(text(FUNCTION_KEY));
    }
    // The page buttons keep their names where macro mode leaves them without words.
    keyPage_->setAccessibleName(text(SINGLE_KEY));
    mediaPage_->setAccessibleName(text(MULTI_MEDIA));
    functionPage_->setAccessibleName(text(FUNCTION_KEY));
    setWindowTitle(title_->text());
    macroPage_->setText(text(MACRO_SETTING));
    ok_->setText(text(MACRO_OK));
    cancel_->setText(text(MACRO_CANCLE));
    const std::pair<const char*, std::string_view> buttonTexts[] = {
        {"FUNC_MACRO_RECORD", A_RECORD},     {"FUNC_MACRO_UP_TOP", A_TOP},
        {"FUNC_MACRO_UP", A_UP},             {"FUNC_MACRO_DOWN", A_DOWN},
        {"FUNC_MACRO_DOWN_BOTTOM", A_BOTTOM}, {"FUNC_MACRO_CLEAR", A_CLEAR},
        {"FUNC_MACRO_DELETE2", A_DELETE}};
    for (const auto& [entry, key] : buttonTexts) {
        MacroButton(entry)->setText(text(key));
    }
    macros_->ApplyLanguage();
    clear_->SetTooltip(text(COMPOSITE_PROMPT_CLEAR), true);
    osk_->SetTooltip(text(COMPOSITE_PROMPT_OSK), true);
    apply_->setText(text(PROFILE_APPLY));
    MacroButton("FUNC_MACRO_ADD")->SetTooltip(text(access_keys::MACRO_ADD), true);
    MacroButton("FUNC_MACRO_DELETE")->SetTooltip(text(access_keys::MACRO_REMOVE), true);
    // The fields are named by the labels beside them.
    const std::pair<QWidget*, QLabel*> labelled[] = {
        {keyField_, singleLabel_},       {keyboardChoice_, keyboardLabel_},
        {mouseChoice_, mouseLabel_},     {mouseList_, mouseLabel_},
        {macroList_, macroNameLabel_},   {cycles_, cyclesLabel_},
        {recordDelay_, recordDelayLabel_}, {mediaList_, mediaLabel_},
        {functionList_, functionLabel_}};
    for (const auto& [field, label] : labelled) {
        field->setAccessibleName(label->text());
        label->setBuddy(field);
    }
    actions_->setAccessibleName(text(access_keys::MACRO_ACTIONS));
}

}  // namespace zarvin
