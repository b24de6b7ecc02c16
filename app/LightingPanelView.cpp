#include "app/LightingPanelView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <array>
#include <span>

#include "app/KeyboardView.h"
#include "control/ConfiguratorCore.h"
#include "control/KeyColours.h"
#include "control/LightingState.h"
#include "device/UserMessages.h"
#include "model/AccessTextKeys.h"
#include "model/LightingEffects.h"
#include "model/LightingPreview.h"
#include "model/SpokenNames.h"
#include "model/TextKeys.h"
#include "model/TextTemplate.h"
#include "skin/BaseDialog.h"
#include "skin/BitmapSlider.h"
#include "skin/ColourSchemeLook.h"
#include "skin/ControlStyle.h"
#include "skin/LayoutReaders.h"
#include "skin/PictureButton.h"
#include "skin/PictureLoader.h"
#include "skin/PngButton.h"
#include "skin/SkinColorBtn.h"
#include "store/LightingSwitchFile.h"
#include "store/UserLightingFiles.h"

namespace zarvin {
namespace {

namespace Id = LightingControl;

constexpr std::string_view kSection = "BUTTONINFO";
constexpr int kLabelPixelSize = 13;
constexpr int kColourColumns = 10;
constexpr int kSliderPageSize = 10;

// Controls of the panel that the lighting model does not name.
constexpr int kSwitchLabel = 1171;
constexpr int kBrightnessLabel = 1172;
constexpr int kSpeedLabel = 1166;
constexpr int kColourBLabel = 1151;
constexpr int kColourALabel = 1154;
constexpr int kMulticolourALabel = 1173;
constexpr int kMulticolourBLabel = 1176;
constexpr int kBrushLabel = 1159;
constexpr int kBaseLabel = 1161;
constexpr int kToolLabel = 1163;
constexpr int kReportRateLabel = 1204;
constexpr int kRgbLabel = 1207;
// Says, while the switch is off, what switching it on shows.
constexpr int kSwitchHint = 11710;  // no dialog id of its own; a key of the control map

constexpr std::array<int, 4> kReportRateButtons{Id::ReportRate1, Id::ReportRate2, Id::ReportRate3,
                                                Id::ReportRate4};

struct Group {
    LightingGroup group;
    std::span<const int> controls;
};

constexpr int kEffectControls[] = {Id::EffectCombo};
constexpr int kBrightnessControls[] = {kBrightnessLabel, Id::BrightnessSlider};
constexpr int kSpeedControls[] = {kSpeedLabel, Id::SpeedSlider};
constexpr int kDirectionControls[] = {Id::DirectionLabel, Id::FirstArrow, Id::SecondArrow};
constexpr int kColourAControls[] = {kColourALabel, Id::ColourAButton, kMulticolourALabel,
                                    Id::MulticolourA};
constexpr int kColourBControls[] = {kColourBLabel, Id::ColourBButton, Id::MulticolourB,
                                    kMulticolourBLabel};
constexpr int kOptionControls[] = {Id::OptionRed, Id::OptionYellow, Id::OptionGreen,
                                   Id::OptionBlue};
constexpr int kUserModeControls[] = {kBrushLabel,
                                     UserModeControl::BrushColour,
                                     kBaseLabel,
                                     UserModeControl::BaseColour,
                                     kToolLabel,
                                     UserModeControl::OwnColourTool,
                                     UserModeControl::BaseColourTool,
                                     UserModeControl::ModeCombo};
constexpr int kNeverShownControls[] = {1157, 1158, 1180, 1181, 1182, 1183, 1184, 1186,
                                       1187, 1188, 1189, 1190, 1191, 1192, 1193};

constexpr Group kGroups[] = {
    {LightingGroup::Effect, kEffectControls},
    {LightingGroup::Brightness, kBrightnessControls},
    {LightingGroup::Speed, kSpeedControls},
    {LightingGroup::Direction, kDirectionControls},
    {LightingGroup::ColourA, kColourAControls},
    {LightingGroup::ColourB, kColourBControls},
    {LightingGroup::OptionColours, kOptionControls},
    {LightingGroup::UserModeTools, kUserModeControls},
    {LightingGroup::NeverShown, kNeverShownControls},
};

struct Label {
    int controlId;
    const char* skinEntry;
    const char* textKey;  // in section "LIGHT"
};

constexpr Label kLabels[] = {
    {kSwitchLabel, "CONTROL_DengStatic", "Deng"},
    {kBrightnessLabel, "CONTROL_LightStatic", "Light"},
    {kSpeedLabel, "CONTROL_SpeedStatic", "Speed"},
    {Id::DirectionLabel, "CONTROL_BLFXStatic", "FX"},
    {kColourBLabel, "CONTROL_FYYSStatic", "Color"},
    {kMulticolourBLabel, "CONTROL_FYSJSStatic", "DC"},
    {kColourALabel, "CONTROL_HXysStatic", "Color"},
    {kMulticolourALabel, "CONTROL_HXsjsStatic", "DC"},
    {kBrushLabel, "CONTROL_USERysStatic", "Color"},
    {kBaseLabel, "CONTROL_USERjsStatic", "JColor"},
    {kToolLabel, "CONTROL_USERgjStatic", "Tool"},
    {kReportRateLabel, "CONTROL_UsbStatic", "Usb"},
};

// Labels and pictures that are placed but never shown.
constexpr Label kHiddenLabels[] = {
    {1157, "CONTROL_JTysStatic", nullptr},   {1182, "CONTROL_FYCFStatic", nullptr},
    {1181, "CONTROL_FYdjcfStatic", nullptr}, {1184, "CONTROL_FYggcfStatc", nullptr},
    {1186, "CONTROL_TSysStatic", nullptr},   {1189, "CONTROL_TSsjsStatic", nullptr},
    {1190, "CONTROL_CDysStatic", nullptr},   {1193, "CONTROL_CDsjsStatic", nullptr},
};

struct Picture {
    int controlId;
    const char* skinEntry;
    const char* bitmap;
    ButtonRole role;
};

constexpr Picture kPictures[] = {
    {Id::LightingSwitch, "CONTROL_DengStaPic", "dengup.bmp", ButtonRole::Toggle},
    {Id::FirstArrow, "CONTROL_BLFXLStaPic", "leftdown.bmp", ButtonRole::Choice},
    {Id::SecondArrow, "CONTROL_BLFXRStaPic", "rightup.bmp", ButtonRole::Choice},
    {Id::MulticolourB, "CONTROL_FYSJSStaPic", "sjsup.bmp", ButtonRole::Toggle},
    {Id::MulticolourA, "CONTROL_HXsjsStaPic", "sjsup.bmp", ButtonRole::Toggle},
    {Id::OptionRed, "CONTROL_HONGPIC", "hong.bmp", ButtonRole::Choice},
    {Id::OptionYellow, "CONTROL_HUANGPIC", "huang.bmp", ButtonRole::Choice},
    {Id::OptionGreen, "CONTROL_LVPIC", "lv.bmp", ButtonRole::Choice},
    {Id::OptionBlue, "CONTROL_LANPIC", "lan.bmp", ButtonRole::Choice},
    {UserModeControl::OwnColourTool, "CONTROL_USERgjStaPic1", "user1down.bmp",
     ButtonRole::Choice},
    {UserModeControl::BaseColourTool, "CONTROL_USERgjStaPic2", "user2up.bmp", ButtonRole::Choice},
    {1183, "CONTROL_FYdjcfStaPic", "", ButtonRole::Display},
    {1180, "CONTROL_FYggcfStaPic", "", ButtonRole::Display},
    {1188, "CONTROL_TSsjsStaPic", "sjsup.bmp", ButtonRole::Display},
    {1192, "CONTROL_CDsjsStaPic", "sjsup.bmp", ButtonRole::Display},
};

// What each report-rate button sets, in the order of the buttons.
constexpr std::array<const char*, 4> kReportRates{"1000 Hz", "500 Hz", "250 Hz", "125 Hz"};

// The option colours' names, in the order of their buttons.
constexpr std::array<std::string_view, 4> kOptionColourNames{
    access_keys::COLOUR_RED, access_keys::COLOUR_YELLOW, access_keys::COLOUR_GREEN,
    access_keys::COLOUR_BLUE};

// The direction an arrow picture shows, by the start of the picture's name.
struct ArrowName {
    std::string_view picturePrefix;
    std::string_view textKey;
};
constexpr ArrowName kArrowNames[] = {
    {"left", access_keys::DIRECTION_LEFT},    {"right", access_keys::DIRECTION_RIGHT},
    {"up", access_keys::DIRECTION_UP},        {"down", access_keys::DIRECTION_DOWN},
    {"julong", access_keys::DIRECTION_INWARDS}, {"kuosan", access_keys::DIRECTION_OUTWARDS},
};

struct ColourButton {
    int controlId;
    const char* skinEntry;
};

constexpr ColourButton kColourButtons[] = {
    {Id::ColourBButton, "CONTROL_FYYSButton"},
    {Id::ColourAButton, "CONTROL_HXysButton"},
    {UserModeControl::BrushColour, "CONTROL_USERysButton"},
    {UserModeControl::BaseColour, "CONTROL_USERjsButton"},
    {1158, "CONTROL_JTysButton"},
    {Id::HiddenColourB, "CONTROL_TSysButton"},
    {Id::HiddenColourC, "CONTROL_CDysButton"},
};

QColor ToQColor(ColourValue colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

ColourValue ToColourValue(const QColor& colour) {
    return MakeColour(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                      static_cast<uint8_t>(colour.blue()));
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LightingPanelView::LightingPanelView(CBaseDialog& window, ConfiguratorCore& core,
                                     KeyboardView& keys, WindowHooks hooks)
    : window_(window), core_(core), keys_(keys), hooks_(std::move(hooks)) {
    lighting_ = std::make_unique<LightingState>(
        core_.Link(), *this, *this,
        [this](int code) { return core_.ModeText(EffectNameKey(code)); },
        LightingSwitchFile(core_.Context().userDataFolder));
    colours_ = std::make_unique<KeyColours>(core_.Link(), *lighting_, core_.Device(),
                                            UserLightingFiles(core_.Context()), keys_, *this, *this);
    preview_ = std::make_unique<LightingPreview>();
}

LightingPanelView::~LightingPanelView() = default;

LightingState& LightingPanelView::Lighting() {
    return *lighting_;
}

KeyColours& LightingPanelView::Colours() {
    return *colours_;
}

QWidget* LightingPanelView::EffectCombo() const {
    return effectCombo_;
}

QWidget* LightingPanelView::Control(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

// Read when a control is to show it; the controls keep what they show, so the panel holds only
// the bitmaps in sight (a slider has 26, of which it shows one). A bitmap that cannot be read
// is empty: its control shows nothing.
QPixmap LightingPanelView::Bitmap(std::string_view name) const {
    return QPixmap::fromImage(ReadScaledPicture(window_.SkinFolder() / std::string(name)));
}

template <typename Widget>
Widget* LightingPanelView::Place(int controlId, std::string_view skinEntry, Widget* widget) {
    PlaceControl(*widget, window_.SkinFile(), kSection, skinEntry);
    widget->setProperty("controlId", controlId);
    controls_[controlId] = widget;
    return widget;
}

void LightingPanelView::PlaceLabel(int controlId, std::string_view skinEntry) {
    auto* label = new QLabel(&window_);
    QFont font = label->font();
    font.setPixelSize(kLabelPixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, SchemeText().label);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    Place(controlId, skinEntry, label);
}

void LightingPanelView::PlacePicture(int controlId, std::string_view skinEntry,
                                     std::string_view bitmap, ButtonRole role) {
    auto* picture = Place(controlId, skinEntry, new CPictureButton(&window_));
    picture->SetButtonRole(role);
    if (!bitmap.empty()) {
        picture->SetPicture(Bitmap(bitmap));
    }
    connect(picture, &CPictureButton::clicked, this,
            [this, controlId] { OnPictureClicked(controlId); });
}

void LightingPanelView::PlaceColourButton(int controlId, std::string_view skinEntry) {
    auto* button = Place(controlId, skinEntry, new CSkinColorBtn(&window_));
    // The picker's own entries are named in ApplyLanguage.
    button->EnableOtherButton(QString());
    button->EnableAutomaticButton(QString(), QColor(0, 0, 0));
    button->SetColumnsNumber(kColourColumns);
    connect(button, &CSkinColorBtn::ColourChosen, this, [this, controlId](const QColor& colour) {
        OnColourChosen(controlId, ToColourValue(colour));
        NameColourButton(controlId);
    });
}

void LightingPanelView::PlaceSliderControl(int controlId, std::string_view skinEntry) {
    auto* slider = Place(controlId, skinEntry, new CBitmapSlider(controlId, &window_));
    slider->SetRange(0, kSliderMax);
    slider->SetPageSize(kSliderPageSize);
    connect(slider, &CBitmapSlider::Moved, this, &LightingPanelView::OnSliderMoved);
}

void LightingPanelView::PlaceEdits() {
    const struct {
        int controlId;
        const char* skinEntry;
    } edits[] = {{Id::RedEdit, "COLOR_R"}, {Id::GreenEdit, "COLOR_G"}, {Id::BlueEdit, "COLOR_B"}};
    for (const auto& entry : edits) {
        auto* edit = Place(entry.controlId, entry.skinEntry, new QLineEdit(&window_));
        StyleField(*edit);
        edit->setAlignment(Qt::AlignCenter);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        const int controlId = entry.controlId;
        connect(edit, &QLineEdit::textChanged, this, [this, controlId](const QString& text) {
            lighting_->OnRgbEditChanged(controlId, text.toStdString());
        });
        // Enter, or the focus leaving the box after an edit, applies the typed colour.
        connect(edit, &QLineEdit::editingFinished, this, [this] { CommitRgbEdits(); });
    }
}

void LightingPanelView::PlaceCombos() {
    effectCombo_ = Place(Id::EffectCombo, "CONTROL_XGcombox", new QComboBox(&window_));
    StyleField(*effectCombo_);
    connect(effectCombo_, &QComboBox::currentIndexChanged, this,
            [this](int position) { lighting_->SelectEffect(position); });

    modeCombo_ = Place(UserModeControl::ModeCombo, "CONTROL_umCombo", new QComboBox(&window_));
    StyleField(*modeCombo_);
    modeCombo_->setEditable(true);
    modeCombo_->setInsertPolicy(QComboBox::NoInsert);
    // A new name is typed as it stands, never completed from the other names.
    modeCombo_->setCompleter(nullptr);
    connect(modeCombo_, &QComboBox::currentIndexChanged, this, [this](int mode) {
        if (!colours_->SelectUserMode(mode)) {
            core_.Messages().ShowFormattedMessage(
                text_keys::MAIN_USERMODE_NOT_KEPT,
                UserLightingFiles(core_.Context()).FileOf(lighting_->CurrentProfile()).string());
        }
    });
    connect(modeCombo_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& name) { colours_->RenameUserMode(name.toStdString()); });
}

void LightingPanelView::PlaceReportRateButtons() {
    const KeyFaceSet& faces = keys_.KeyFaces();
    const ButtonFaces buttonFaces{faces.normal, faces.over, faces.down, faces.normal,
                                  faces.disable};
    for (size_t n = 0; n < kReportRateButtons.size(); ++n) {
        auto* button = new CPngButton(&window_);
        PlaceWithFaces(*button, window_.SkinFile(), kSection, "FUNC_REPORT" + std::to_string(n + 1),
                       buttonFaces);
        button->SetButtonRole(ButtonRole::Choice);
        controls_[kReportRateButtons[n]] = button;
        const int rate = static_cast<int>(n);
        connect(button, &CPngButton::clicked, this,
                [this, rate] { lighting_->SetReportRate(rate); });
    }
}

void LightingPanelView::PlaceControls() {
    for (const Label& label : kLabels) {
        PlaceLabel(label.controlId, label.skinEntry);
    }
    for (const Label& label : kHiddenLabels) {
        PlaceLabel(label.controlId, label.skinEntry);
    }
    PlaceLabel(kRgbLabel, "CONTROL_RGBStatic");
    PlaceLabel(kSwitchHint, "CONTROL_DengHint");
    if (auto* hint = qobject_cast<QLabel*>(Control(kSwitchHint))) {
        hint->setWordWrap(true);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (const Picture& picture : kPictures) {
        PlacePicture(picture.controlId, picture.skinEntry, picture.bitmap, picture.role);
    }
    for (int chip = Id::FirstColourChip; chip <= Id::LastColourChip; ++chip) {
        const int n = chip - Id::FirstColourChip + 1;
        PlacePicture(chip, "CONTROL_Color" + std::to_string(n),
                     "Color" + std::to_string(n) + ".bmp", ButtonRole::Push);
    }
    for (const ColourButton& button : kColourButtons) {
        PlaceColourButton(button.controlId, button.skinEntry);
    }
    PlaceSliderControl(Id::BrightnessSlider, "CONTROL_LightSlider");
    PlaceSliderControl(Id::SpeedSlider, "CONTROL_SpeedSlider");
    SetBitmap(Id::BrightnessSlider, "0.bmp");
    SetBitmap(Id::SpeedSlider, "6.bmp");
    PlaceEdits();
    PlaceCombos();
    PlaceReportRateButtons();
    // Until the first reload the switch reads off: no group is shown.
    for (const Group& group : kGroups) {
        ShowGroup(group.group, false);
    }
}

void LightingPanelView::ApplyLanguage() {
    for (const Label& label : kLabels) {
        if (auto* widget = qobject_cast<QLabel*>(Control(label.controlId))) {
            widget->setText(QString::fromStdString(core_.LightText(label.textKey)));
        }
    }
    if (auto* rgb = qobject_cast<QLabel*>(Control(kRgbLabel))) {
        rgb->setText(QStringLiteral("RGB"));
    }
    NameControls();
    // The switch shows and hides the controls; said plainly, since "lighting" and a switch
    // read as turning the lights off.
    const QString switchTip = QString::fromStdString(core_.Text(text_keys::LIGHT_SWITCH_TIP));
    for (int controlId : {kSwitchLabel, static_cast<int>(Id::LightingSwitch)}) {
        if (QWidget* widget = Control(controlId)) {
            widget->setToolTip(switchTip);
        }
    }
    if (auto* hint = qobject_cast<QLabel*>(Control(kSwitchHint))) {
        hint->setText(QString::fromStdString(core_.Text(text_keys::LIGHT_SWITCH_HINT)));
    }
    // The effects the keyboard offers keep their places; only their names change.
    if (effectCombo_ != nullptr) {
        for (int position = 0; position < effectCombo_->count(); ++position) {
            effectCombo_->setItemText(
                position, QString::fromStdString(core_.ModeText(
                              EffectNameKey(lighting_->EffectAtPosition(position)))));
        }
    }
}

QString LightingPanelView::Text(std::string_view key) const {
    return QString::fromStdString(core_.Text(key));
}

void LightingPanelView::SetName(int controlId, const QString& name) {
    if (QWidget* control = Control(controlId)) {
        control->setAccessibleName(name);
        control->setToolTip(name);
    }
}

void LightingPanelView::NameControls() {
    const auto light = [this](const char* key) {
        return QString::fromStdString(core_.LightText(key));
    };
    SetName(Id::EffectCombo, Text(access_keys::LIGHT_EFFECT));
    SetName(UserModeControl::ModeCombo, Text(access_keys::LIGHT_USER_MODE));
    SetName(Id::BrightnessSlider, light("Light"));
    SetName(Id::SpeedSlider, light("Speed"));
    SetName(Id::LightingSwitch, light("Deng"));
    SetName(Id::MulticolourA, light("DC"));
    SetName(Id::MulticolourB, light("DC"));
    SetName(Id::RedEdit, Text(access_keys::LIGHT_RED));
    SetName(Id::GreenEdit, Text(access_keys::LIGHT_GREEN));
    SetName(Id::BlueEdit, Text(access_keys::LIGHT_BLUE));
    SetName(UserModeControl::OwnColourTool, Text(access_keys::LIGHT_OWN_TOOL));
    SetName(UserModeControl::BaseColourTool, Text(access_keys::LIGHT_BASE_TOOL));
    for (size_t n = 0; n < kOptionColourNames.size(); ++n) {
        SetName(Id::OptionRed + static_cast<int>(n),
                QString::fromStdString(FillTemplate(core_.Text(access_keys::LIGHT_OPTION_COLOUR),
                                                    {core_.Text(kOptionColourNames[n])})));
    }
    for (size_t n = 0; n < kReportRateButtons.size(); ++n) {
        SetName(kReportRateButtons[n],
                QString::fromStdString(
                    FillTemplate(core_.Text(access_keys::LIGHT_REPORT_RATE), {kReportRates[n]})));
    }
    for (int chip = Id::FirstColourChip; chip <= Id::LastColourChip; ++chip) {
        if (auto* picture = qobject_cast<CPictureButton*>(Control(chip))) {
            // The chip says the colour it shows.
            const QImage image = picture->Picture().toImage();
            const QColor shown = image.isNull() ? QColor(Qt::black)
                                                : image.pixelColor(image.rect().center());
            SetName(chip, QString::fromStdString(FillTemplate(
                              core_.Text(access_keys::LIGHT_PRESET),
                              {ColourSpokenName(ToColourValue(shown), core_.Texts())})));
        }
    }
    for (const int controlId : {Id::FirstArrow, Id::SecondArrow}) {
        if (auto* picture = qobject_cast<CPictureButton*>(Control(controlId))) {
            NameArrow(*picture, arrowPictures_[controlId]);
        }
    }
    for (const ColourButton& button : kColourButtons) {
        NameColourButton(button.controlId);
        if (auto* picker = qobject_cast<CSkinColorBtn*>(Control(button.controlId))) {
            picker->EnableOtherButton(Text(text_keys::COLOUR_MORE));
            picker->EnableAutomaticButton(Text(text_keys::COLOUR_AUTOMATIC), QColor(0, 0, 0));
        }
    }
}

void LightingPanelView::NameArrow(CPictureButton& arrow, std::string_view bitmap) {
    const int controlId = arrow.property("controlId").toInt();
    arrowPictures_[controlId] = std::string(bitmap);
    for (const ArrowName& name : kArrowNames) {
        if (bitmap.starts_with(name.picturePrefix)) {
            const QString spoken = QString::fromStdString(
                FillTemplate(core_.Text(access_keys::LIGHT_DIRECTION), {core_.Text(name.textKey)}));
            arrow.setAccessibleName(spoken);
            arrow.setToolTip(spoken);
            return;
        }
    }
}

void LightingPanelView::NameColourButton(int controlId) {
    auto* button = qobject_cast<CSkinColorBtn*>(Control(controlId));
    if (button == nullptr) {
        return;
    }
    const char* label = controlId == UserModeControl::BaseColour ? "JColor" : "Color";
    const std::string colour =
        ColourSpokenName(ToColourValue(button->ShownColour()), core_.Texts());
    SetName(controlId, QString::fromStdString(FillTemplate(core_.Text(access_keys::NAMED_COLOUR),
                                                           {core_.LightText(label), colour})));
}

void LightingPanelView::ShowPictureStates() {
    const auto setOn = [this](int controlId, bool on) {
        if (auto* picture = qobject_cast<CPictureButton*>(Control(controlId))) {
            picture->SetOn(on);
        }
    };
    setOn(Id::LightingSwitch, lighting_->LightingPanelOn());
    setOn(Id::FirstArrow, lighting_->Direction() == kDirectionFirst);
    setOn(Id::SecondArrow, lighting_->Direction() == kDirectionSecond);
    setOn(Id::MulticolourA, lighting_->Multicolour());
    setOn(Id::MulticolourB, lighting_->Multicolour());
    for (int n = 0; n < static_cast<int>(kOptionColourNames.size()); ++n) {
        setOn(Id::OptionRed + n, lighting_->OptionColour() == n);
    }
    if (colours_) {
        setOn(UserModeControl::OwnColourTool, colours_->Tool() == kOwnColourTool);
        setOn(UserModeControl::BaseColourTool, colours_->Tool() == kBaseColourTool);
    }
}

void LightingPanelView::PreviewTick() {
    if (!lighting_->LightingPanelOn()) {
        return;
    }
    if (restartPreview_) {
        preview_->ResetPreview();
        restartPreview_ = false;
    }
    PreviewSettings settings;
    settings.effect = static_cast<uint8_t>(lighting_->Effect());
    settings.direction = static_cast<uint8_t>(lighting_->Direction());
    settings.multicolour = lighting_->Multicolour();
    settings.mainColour = lighting_->MainColour();
    keys_.ShowPreviewFrame(preview_->PreviewFrame(settings));
}

bool LightingPanelView::PreviewAnimates() const {
    return lighting_->PreviewAnimates();
}

void LightingPanelView::OnSliderMoved(int controlId, int position) {
    lighting_->OnSliderMoved(controlId, position);
}

void LightingPanelView::OnPictureClicked(int controlId) {
    RunPicture(controlId);
    // A click on a choice already made changes nothing the model would show again.
    ShowPictureStates();
}

void LightingPanelView::RunPicture(int controlId) {
    switch (controlId) {
        case Id::LightingSwitch:
            lighting_->ToggleLightingPanel();
            return;
        case Id::FirstArrow:
            lighting_->SetDirection(kDirectionFirst);
            return;
        case Id::SecondArrow:
            lighting_->SetDirection(kDirectionSecond);
            return;
        case Id::MulticolourA:
        case Id::MulticolourB:
            lighting_->ToggleMulticolour();
            return;
        case Id::OptionRed:
        case Id::OptionYellow:
        case Id::OptionGreen:
        case Id::OptionBlue:
            lighting_->SetOptionColour(controlId - Id::OptionRed);
            return;
        case UserModeControl::OwnColourTool:
            colours_->SelectTool(kOwnColourTool);
            return;
        case UserModeControl::BaseColourTool:
            colours_->SelectTool(kBaseColourTool);
            return;
        default:
            if (controlId >= Id::FirstColourChip && controlId <= Id::LastColourChip) {
                lighting_->ApplyPresetColour(controlId);
            }
    }
}

bool LightingPanelView::CommitRgbEditsFrom(const QObject* widget) {
    for (int controlId : {Id::RedEdit, Id::GreenEdit, Id::BlueEdit}) {
        if (widget != nullptr && widget == Control(controlId)) {
            CommitRgbEdits();
            return true;
        }
    }
    return false;
}

void LightingPanelView::CommitRgbEdits() {
    std::array<QLineEdit*, 3> edits{};
    bool edited = false;
    const int ids[] = {Id::RedEdit, Id::GreenEdit, Id::BlueEdit};
    for (size_t n = 0; n < edits.size(); ++n) {
        edits[n] = qobject_cast<QLineEdit*>(Control(ids[n]));
        if (edits[n] == nullptr) {
            return;
        }
        edited = edited || edits[n]->isModified();
    }
    if (!edited) {
        return;
    }
    for (QLineEdit* edit : edits) {
        edit->setModified(false);
    }
    lighting_->CommitRgbEdits(edits[0]->text().toStdString(), edits[1]->text().toStdString(),
                              edits[2]->text().toStdString());
}

void LightingPanelView::OnColourChosen(int controlId, ColourValue colour) {
    switch (controlId) {
        case Id::ColourAButton:
        case Id::ColourBButton:
            lighting_->SetMainColour(controlId, colour);
            break;
        case UserModeControl::BrushColour:
            colours_->SetBrushColour(colour);
            break;
        case UserModeControl::BaseColour:
            colours_->SetBaseColour(colour);
            break;
        default:
            break;
    }
}

// LightingPanel

void LightingPanelView::ShowGroup(LightingGroup group, bool shown) {
    // The effect combo is shown exactly while the switch is on; the hint stands in for it.
    if (group == LightingGroup::Effect) {
        if (QWidget* hint = Control(kSwitchHint)) {
            hint->setVisible(!shown);
        }
    }
    for (const Group& entry : kGroups) {
        if (entry.group != group) {
            continue;
        }
        for (int controlId : entry.controls) {
            if (QWidget* widget = Control(controlId)) {
                widget->setVisible(shown);
            }
        }
    }
}

void LightingPanelView::SetBitmap(int controlId, std::string_view bitmap) {
    QWidget* widget = Control(controlId);
    if (auto* slider = qobject_cast<CBitmapSlider*>(widget)) {
        slider->SetBitmap(Bitmap(bitmap));
    } else if (auto* picture = qobject_cast<CPictureButton*>(widget)) {
        picture->SetPicture(Bitmap(bitmap));
        if (controlId == Id::FirstArrow || controlId == Id::SecondArrow) {
            NameArrow(*picture, bitmap);
        }
        ShowPictureStates();
    }
}

void LightingPanelView::CheckButton(int controlId, bool checked) {
    if (auto* button = qobject_cast<CPngButton*>(Control(controlId))) {
        button->SetSelected(checked, true);
    }
}

void LightingPanelView::FillEffectCombo(const std::vector<std::string>& names) {
    if (effectCombo_ == nullptr) {
        return;
    }
    const QSignalBlocker blocker(effectCombo_);
    effectCombo_->clear();
    for (const std::string& name : names) {
        effectCombo_->addItem(QString::fromStdString(name));
    }
}

void LightingPanelView::SelectEffectPosition(int position) {
    if (effectCombo_ == nullptr) {
        return;
    }
    const QSignalBlocker blocker(effectCombo_);
    effectCombo_->setCurrentIndex(position);
}

void LightingPanelView::PlaceSlider(int controlId, int position) {
    if (auto* slider = qobject_cast<CBitmapSlider*>(Control(controlId))) {
        slider->SetPosition(position);
    }
}

void LightingPanelView::ShowColour(int controlId, ColourValue colour) {
    if (auto* button = qobject_cast<CSkinColorBtn*>(Control(controlId))) {
        button->SetColour(ToQColor(colour));
        NameColourButton(controlId);
    }
}

void LightingPanelView::SetEditText(int controlId, std::string_view text) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(controlId))) {
        const QString shown = ToQString(text);
        if (edit->text() != shown) {
            const QSignalBlocker blocker(edit);
            edit->setText(shown);
        }
    }
}

void LightingPanelView::MoveControl(int controlId, std::string_view skinEntry) {
    if (QWidget* widget = Control(controlId)) {
        ::zarvin::MoveControl(*widget, window_.SkinFile(), kSection, skinEntry);
    }
}

// UserModeCombo

void LightingPanelView::FillModeNames(const std::vector<std::string>& names) {
    if (modeCombo_ == nullptr) {
        return;
    }
    const QSignalBlocker blocker(modeCombo_);
    modeCombo_->clear();
    for (const std::string& name : names) {
        modeCombo_->addItem(QString::fromStdString(name));
    }
}

void LightingPanelView::SelectMode(int mode) {
    if (modeCombo_ == nullptr) {
        return;
    }
    const QSignalBlocker blocker(modeCombo_);
    modeCombo_->setCurrentIndex(mode);
}

// Called while the user types: the entry changes, the text being typed and the cursor stay.
void LightingPanelView::ReplaceModeName(int mode, std::string_view name) {
    if (modeCombo_ == nullptr || mode < 0 || mode >= modeCombo_->count()) {
        return;
    }
    const QSignalBlocker blocker(modeCombo_);
    QLineEdit* edit = modeCombo_->lineEdit();
    const QString typed = edit->text();
    const int cursor = edit->cursorPosition();
    const int current = modeCombo_->currentIndex();
    modeCombo_->removeItem(mode);
    modeCombo_->insertItem(mode, ToQString(name));
    modeCombo_->setCurrentIndex(current);
    edit->setText(typed);
    edit->setCursorPosition(cursor);
}

// LightingCompanion

void LightingPanelView::ClearKeyColours() {
    if (colours_) {
        colours_->ClearKeyColours();
    }
}

void LightingPanelView::ShowKeyColours() {
    if (colours_) {
        colours_->ShowKeyColours();
    }
}

void LightingPanelView::RefreshUserModeTools() {
    if (colours_) {
        colours_->RefreshUserModeTools();
    }
}

void LightingPanelView::ReloadUserModesAndSendColours() {
    if (colours_) {
        colours_->ReloadUserModesAndSendColours();
    }
}

void LightingPanelView::RestoreUserModesFromTemplate() {
    if (colours_) {
        colours_->RestoreProfileUserModes();
    }
}

void LightingPanelView::ColourPicked(uint32_t colour) {
    if (colours_) {
        colours_->SetBrushColour(colour);
    }
}

void LightingPanelView::RestartPreview() {
    restartPreview_ = true;
}

void LightingPanelView::PreviewChanged() {
    if (hooks_.previewChanged) {
        hooks_.previewChanged();
    }
}

void LightingPanelView::ShowAssignments() {
    if (hooks_.showAssignments) {
        hooks_.showAssignments();
    }
}

bool LightingPanelView::SelectProfile() {
    return hooks_.selectProfile ? hooks_.selectProfile() : true;
}

}  // namespace zarvin
