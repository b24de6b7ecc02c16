#include "MainLayout.h"

#include <QString>
#include <cmath>
#include <string>

#include "model/KeyboardLayout.h"

namespace zarvin::skingen {
namespace {

constexpr int kWindowWidth = 1040;
constexpr int kWindowHeight = 676;
constexpr int kKeyUnit = 40;  // pixels per key unit
constexpr int kKeyGap = 4;    // between two caps
constexpr QPoint kKeyboardOrigin{40, 92};
constexpr int kHeaderTop = 14;
constexpr int kFooterTop = 622;
constexpr int kButtonHeight = 36;
constexpr int kF1Control = 1010;
constexpr int kF4Control = 1013;

int Pixels(double units) {
    return static_cast<int>(std::lround(units * kKeyUnit));
}

// The cap of a key: its share of the grid less half the gap on each side.
QRect CapRect(const KeyRect& place) {
    const int left = kKeyboardOrigin.x() + Pixels(place.x);
    const int top = kKeyboardOrigin.y() + Pixels(place.y);
    const int right = kKeyboardOrigin.x() + Pixels(place.Right());
    const int bottom = kKeyboardOrigin.y() + Pixels(place.Bottom());
    return QRect(left + kKeyGap / 2, top + kKeyGap / 2, right - left - kKeyGap,
                 bottom - top - kKeyGap);
}

class Builder {
public:
    explicit Builder(MainLayout& layout) : layout_(layout) {}

    Control& Add(std::string entry, QRect rect, FaceRow row, Art art, QString label = {},
                 std::optional<Icon> icon = {}) {
        Control control;
        control.entry = std::move(entry);
        control.rect = rect;
        control.row = row;
        control.art = art;
        control.label = std::move(label);
        control.icon = icon;
        layout_.controls.push_back(std::move(control));
        return layout_.controls.back();
    }

    // A control the window places and draws itself.
    void Place(std::string entry, QRect rect, Art art = Art::Nothing) {
        Add(std::move(entry), rect, FaceRow::None, art);
    }

    void AddKey(const KeyButton& key) {
        Control& control = Add(SkinEntryOf(key), CapRect(key.place), FaceRow::Key, Art::Keycap);
        control.key = &key;
        if (!key.flange.Empty()) {
            const KeyRect bar{key.flange.x, key.flange.y, key.place.Right() - key.flange.x,
                              key.flange.height};
            control.topBar = CapRect(bar);
        }
    }

private:
    MainLayout& layout_;
};

// The name with its link and the version, the profile controls, the window's own buttons.
void AddHeader(Builder& add) {
    add.Add("PELLOQ_LINK", {24, kHeaderTop, 150, kButtonHeight}, FaceRow::Link, Art::Brand);
    add.Add("PELLOQ_VER", {182, 26, 120, 14}, FaceRow::Still, Art::Nothing);
    for (int i = 0; i < 3; ++i) {
        add.Add("FUNC_PROFILE" + std::to_string(i + 1),
                {316 + i * 92, kHeaderTop, 88, kButtonHeight}, FaceRow::Key, Art::Button);
    }
    add.Add("FUNC_PROFILES", {596, kHeaderTop, 36, kButtonHeight}, FaceRow::Command, Art::Button,
            {}, Icon::Profiles);
    add.Add("FUNC_MACRO", {648, kHeaderTop, 92, kButtonHeight}, FaceRow::Command, Art::Button);
    add.Add("FUNC_DEFAULT", {748, kHeaderTop, 92, kButtonHeight}, FaceRow::Key, Art::Button);

    const struct {
        const char* entry;
        Icon icon;
    } windowButtons[] = {{"CONTROL_MENU", Icon::Menu},
                         {"CONTROL_HELP", Icon::Help},
                         {"CONTROL_MINIMIZE", Icon::Minimise},
                         {"CONTROL_CLOSE", Icon::Close}};
    int x = 872;
    for (const auto& button : windowButtons) {
        add.Add(button.entry, {x, 16, 32, 32}, FaceRow::Command, Art::IconButton, {}, button.icon);
        x += 36;
    }
}

// D1-D6 take the place of F1-F4 while the flip switch offers them. Their faces cannot lie
// there too, so the state images hold them in a strip below the window.
void AddExtraKeys(Builder& add, MainLayout& layout) {
    QRect area;
    for (const KeyButton& key : KeyButtons()) {
        if (key.controlId >= kF1Control && key.controlId <= kF4Control) {
            area = area.united(CapRect(key.place));
        }
    }
    constexpr int kCount = 6;
    const int stripTop = kWindowHeight + kKeyGap;
    layout.faceStripHeight = area.height() + 2 * kKeyGap;
    // The six places tile the area, so that the F keys drawn in the background never show
    // between them; each cap keeps the usual gap to its neighbours inside its place.
    for (int n = 0; n < kCount; ++n) {
        const int left = area.x() + n * area.width() / kCount;
        const int right = area.x() + (n + 1) * area.width() / kCount;
        const QRect place(left, area.y(), right - left, area.height());
        Control& key = add.Add("KEY_D" + std::to_string(n + 1), place, FaceRow::Key,
                               Art::Keycap, QStringLiteral("D%1").arg(n + 1));
        key.faceOrigin = QPoint(place.x(), stripTop);
        key.faceInset = QMargins(n == 0 ? 0 : kKeyGap / 2, 0, n == kCount - 1 ? 0 : kKeyGap / 2, 0);
        layout.faceOrigins.push_back({key.entry, QRect(*key.faceOrigin, place.size())});
    }
}

// The keyboard: the keys, G keys and Fn, the lock lights above the keypad, and the top-row
// switch between F1-F4 and D1-D6 above F5-F8 with its two arrow indicators.
void AddKeyboard(Builder& add, MainLayout& layout) {
    for (const KeyButton& key : KeyButtons()) {
        add.AddKey(key);
    }

    const QRect keypadTop = CapRect({20, 0, 4, 1});
    const int lightWidth = (keypadTop.width() + kKeyGap) / 4;
    const struct {
        const char* entry;
        const char* name;
        int slot;  // from the left
    } lights[] = {{"LOCK_NUM", "Num", 0},
                  {"LOCK_CAPS", "Caps", 1},
                  {"LOCK_SCROLL", "Scroll", 2},
                  {"LOCK_AB", "A/B", 3}};
    for (const auto& light : lights) {
        add.Add(light.entry,
                {keypadTop.x() + light.slot * lightWidth, keypadTop.y() + 2, lightWidth - kKeyGap,
                 keypadTop.height() - 4},
                FaceRow::Lock, Art::LockLight, QString::fromLatin1(light.name));
    }

    AddExtraKeys(add, layout);

    const QRect f5ToF8 = CapRect({8, 0, 4, 1});
    const QRect flip0(f5ToF8.center().x() - 42, f5ToF8.y() + 4, 84, 28);
    const QRect flip1(flip0.x() - 32, flip0.y(), 28, 28);
    const QRect flip2(flip0.right() + 5, flip0.y(), 28, 28);
    add.Add("FLIP_0", flip0, FaceRow::FlipDisplay, Art::FlipDisplay);
    add.Add("FLIP_1", flip1, FaceRow::Key, Art::Button, {}, Icon::ChevronLeft);
    add.Add("FLIP_2", flip2, FaceRow::Key, Art::Button, {}, Icon::ChevronRight);

    // The indicators' pictures lie in "Arrow.jpg", one cell per side and direction.
    const QSize arrow(12, 14);
    add.Place("LEFT_ARROW", QRect(QPoint(flip1.x() - 16, flip1.center().y() - 6), arrow));
    add.Place("RIGHT_ARROW", QRect(QPoint(flip2.right() + 5, flip2.center().y() - 6), arrow));
    const char* origins[] = {"UP_ARROW_LEFT1", "DOWN_ARROW_LEFT1", "UP_ARROW_RIGHT1",
                             "DOWN_ARROW_RIGHT1"};
    constexpr int kCell = 20;
    for (int i = 0; i < 4; ++i) {
        layout.arrowOrigins.push_back({origins[i], QRect(QPoint(5 + i * kCell, 5), arrow)});
    }
    layout.arrowImageSize = QSize(8 + 4 * kCell, 8 + kCell);
}

// The report rate, the links to the home page and documentation, the busy indicator, and
// Apply, OK and Cancel.
void AddFooter(Builder& add) {
    add.Place("CONTROL_UsbStatic", {24, kFooterTop + 9, 96, 18});
    const char* rates[] = {"1000 Hz", "500 Hz", "250 Hz", "125 Hz"};
    for (int i = 0; i < 4; ++i) {
        add.Add("FUNC_REPORT" + std::to_string(i + 1), {124 + i * 60, kFooterTop + 2, 56, 32},
                FaceRow::Key, Art::Button, QString::fromLatin1(rates[i]));
    }
    const struct {
        const char* entry;
        Icon icon;
    } links[] = {{"CONTROL_Network", Icon::Globe},
                 {"CONTROL_Facebook", Icon::Book},
                 {"CONTROL_twitter", Icon::Code}};
    int x = 370;
    for (const auto& link : links) {
        add.Add(link.entry, {x, kFooterTop + 4, 28, 28}, FaceRow::None, Art::IconButton, {},
                link.icon);
        x += 34;
    }
    // The mode switch is created hidden and never shown: a place, nothing drawn.
    add.Add("FUNC_SWITCH", {560, kFooterTop + 6, 24, 24}, FaceRow::Key, Art::Nothing);
    // What the last command did, in one or two short lines beside the busy indicator.
    add.Place("CONTROL_StatusStatic", {474, kFooterTop, 210, kButtonHeight});
    add.Place("CONTROL_JDTStatic", {688, kFooterTop + 6, 24, 24});
    add.Add("CONTROL2_APPLY", {724, kFooterTop, 92, kButtonHeight}, FaceRow::Apply, Art::Button);
    add.Add("CONTROL_OK", {824, kFooterTop, 92, kButtonHeight}, FaceRow::Command, Art::Button);
    add.Add("CONTROL_CANCEL", {924, kFooterTop, 92, kButtonHeight}, FaceRow::Command, Art::Button);
}

// The lighting panel, in four columns: switch, effect and direction; brightness and speed;
// the effect's own group; preset colours and the RGB values.
void AddLightingPanel(Builder& add, int top) {
    add.Place("CONTROL_DengStatic", {36, top + 4, 150, 20});
    add.Place("CONTROL_DengStaPic", {204, top, 48, 26});
    // With the switch off the panel says what the switch shows, where the controls will be.
    add.Place("CONTROL_DengHint", {276, top + 4, 232, 100});
    // The effect combo draws its own field and hides with the lighting switch off, when a
    // recess under it would look like an empty combo.
    add.Place("CONTROL_XGcombox", {36, top + 38, 216, 28});
    // The direction controls are placed again per effect; all three styles share one place.
    for (const char* suffix : {"", "2", "3"}) {
        add.Place(std::string("CONTROL_BLFXStatic") + suffix, {36, top + 88, 130, 20});
        add.Place(std::string("CONTROL_BLFXLStaPic") + suffix, {176, top + 84, 36, 28});
        add.Place(std::string("CONTROL_BLFXRStaPic") + suffix, {216, top + 84, 36, 28});
    }

    add.Place("CONTROL_LightStatic", {276, top + 4, 232, 20});
    add.Place("CONTROL_LightSlider", {276, top + 28, 232, 28});
    add.Place("CONTROL_SpeedStatic", {276, top + 72, 232, 20});
    add.Place("CONTROL_SpeedSlider", {276, top + 96, 232, 28});

    // The third column shows one group at a time: colour group A or B, the option colours, or
    // the user-mode tools; the controls that are never shown share the colour groups' places.
    const QRect colourLabel(532, top + 4, 124, 20);
    const QRect colourButton(660, top, 120, 28);
    const QRect multiBox(532, top + 40, 24, 24);
    const QRect multiLabel(562, top + 42, 218, 20);
    const char* groups[][4] = {
        {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStaPic", "CONTROL_HXsjsStatic"},
        {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic"},
        {"CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStaPic", "CONTROL_TSsjsStatic"},
        {"CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStaPic", "CONTROL_CDsjsStatic"},
    };
    for (const auto& group : groups) {
        add.Place(group[0], colourLabel);
        add.Place(group[1], colourButton);
        add.Place(group[2], multiBox);
        add.Place(group[3], multiLabel);
    }
    add.Place("CONTROL_JTysStatic", colourLabel);
    add.Place("CONTROL_JTysButton", colourButton);
    for (const char* label :
         {"CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc"}) {
        add.Place(label, multiLabel);
    }
    add.Place("CONTROL_FYdjcfStaPic", multiBox);
    add.Place("CONTROL_FYggcfStaPic", multiBox);
    const char* options[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                             "CONTROL_LANPIC"};
    for (int i = 0; i < 4; ++i) {
        add.Place(options[i], {532 + i * 40, top, 32, 32});
    }
    add.Place("CONTROL_umCombo", {532, top, 248, 28});
    add.Place("CONTROL_USERysStatic", {532, top + 40, 124, 20});
    add.Place("CONTROL_USERysButton", {660, top + 36, 120, 28});
    add.Place("CONTROL_USERjsStatic", {532, top + 76, 124, 20});
    add.Place("CONTROL_USERjsButton", {660, top + 72, 120, 28});
    add.Place("CONTROL_USERgjStatic", {532, top + 112, 124, 20});
    add.Place("CONTROL_USERgjStaPic1", {660, top + 106, 36, 30});
    add.Place("CONTROL_USERgjStaPic2", {702, top + 106, 36, 30});

    for (int i = 0; i < 8; ++i) {
        add.Place("CONTROL_Color" + std::to_string(i + 1),
                  {800 + (i % 4) * 53, top + (i / 4) * 32, 45, 24});
    }
    add.Place("CONTROL_RGBStatic", {800, top + 80, 40, 20});
    const char* values[] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (int i = 0; i < 3; ++i) {
        add.Place(values[i], {844 + i * 55, top + 76, 50, 28}, Art::Well);
    }
}

}  // namespace

MainLayout MakeMainLayout() {
    MainLayout layout;
    layout.size = {kWindowWidth, kWindowHeight};
    layout.keyboardCard = QRect(16, 72, kWindowWidth - 32, Pixels(KeyboardBounds().height) + 40);
    layout.lightingCard = QRect(16, layout.keyboardCard.bottom() + 13, kWindowWidth - 32, 172);
    layout.lightingDividers = {264, 520, 788};
    Builder add(layout);
    AddHeader(add);
    AddKeyboard(add, layout);
    AddLightingPanel(add, layout.lightingCard.y() + 18);
    AddFooter(add);
    return layout;
}

}  // namespace zarvin::skingen
