#include "app/KeyboardView.h"

#include <QImage>
#include <algorithm>
#include <QKeyEvent>
#include <QMetaObject>
#include <vector>
#include <string>

#include "app/KeyOutlineLayer.h"
#include "control/ConfiguratorCore.h"
#include "control/ProfileKeyMaps.h"
#include "model/AccessTextKeys.h"
#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/KeyMapCodec.h"
#include "model/KeyNavigation.h"
#include "model/KeyboardLayout.h"
#include "model/SpokenNames.h"
#include "skin/BaseDialog.h"
#include "skin/LayoutEntry.h"
#include "skin/LayoutReaders.h"

namespace zarvin {
namespace {

constexpr std::string_view kSection = "BUTTONINFO";
constexpr std::string_view kOriginSection = "BUTTONINFO2";
constexpr std::string_view kFlipSetting = "Flip";
constexpr int kOutlineWidth = 50;
// A G key's code: 0x200 + (n - 1) for G key n.
constexpr int kGKeyCodeBase = 0x200;

QColor ToQColor(uint32_t colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

}  // namespace

KeyboardView::KeyboardView(CBaseDialog& window, ConfiguratorCore& core, const KeyFaceSet& keyFaces,
                           const KeyFaceSet& flipFaces, const QImage& arrows)
    : window_(window), core_(core), keyFaces_(keyFaces), flipFaces_(flipFaces), arrows_(arrows) {}

KeyboardView::~KeyboardView() = default;

ButtonFaces KeyboardView::KeyButtonFaces() const {
    return {keyFaces_.normal, keyFaces_.over, keyFaces_.down, keyFaces_.normal, keyFaces_.disable};
}

CPngButton* KeyboardView::AddButton(int controlId, std::string_view skinEntry,
                                    const ButtonFaces& faces) {
    auto* button = new CPngButton(&window_);
    PlaceWithFaces(*button, window_.SkinFile(), kSection, skinEntry, faces);
    buttons_[controlId] = button;
    return button;
}

void KeyboardView::AddIndicator(int controlId, std::string_view skinEntry) {
    auto* indicator = new CPngButton(&window_);
    indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    indicator->SetButtonRole(ButtonRole::Display);
    PlaceControl(*indicator, window_.SkinFile(), kSection, skinEntry);
    buttons_[controlId] = indicator;
}

void KeyboardView::SkinKeyButtons() {
    const ButtonFaces keyFaces = KeyButtonFaces();
    for (const KeyButton& key : KeyButtons()) {
        CPngButton* button = AddButton(key.controlId, SkinEntryOf(key), keyFaces);
        // Until the assignments are known the key says its own name.
        button->setAccessibleName(QString::fromStdString(KeyButtonName(key)));
        const int controlId = key.controlId;
        connect(button, &CPngButton::clicked, this, [this, controlId] {
            if (clickHandler_) {
                clickHandler_(controlId);
            }
        });
    }

    // The six extra keys share the place of F1-F4: a skin that draws them keeps their faces
    // elsewhere in its state images ("BUTTONINFO2"); a skin without their entries keeps them
    // out of sight.
    const LayoutEntry missing = ParseLayoutEntry(kMissingLayoutEntry);
    dKeysShown_ = true;
    for (int n = 1; n <= kDKeyCount; ++n) {
        const std::string entry = "KEY_D" + std::to_string(n);
        CPngButton* button = AddButton(kFirstDKey + n - 1, entry, keyFaces);
        button->setAccessibleName(QStringLiteral("D%1").arg(n));
        const LayoutEntry origin = ReadLayoutEntry(window_.SkinFile(), kOriginSection, entry);
        if (origin != missing) {
            button->SetFaces(origin.x, origin.y, keyFaces);
        }
        if (ReadLayoutEntry(window_.SkinFile(), kSection, entry) == missing) {
            dKeysShown_ = false;
        }
    }

    const ButtonFaces lockFaces{keyFaces_.normal, keyFaces_.normal, keyFaces_.normal,
                                keyFaces_.normal, keyFaces_.over};
    AddButton(kLockCaps, "LOCK_CAPS", lockFaces);
    AddButton(kLockNum, "LOCK_NUM", lockFaces);
    AddButton(kLockScroll, "LOCK_SCROLL", lockFaces);
    AddButton(kLockAb, "LOCK_AB", lockFaces)->SetDrawHook([this](CPngButton& b, bool normal) {
        RedrawLinked(b, normal);
    });
    // The lock lights only show.
    for (const int lock : {kLockCaps, kLockNum, kLockScroll, kLockAb}) {
        Button(lock)->SetButtonRole(ButtonRole::Display);
    }

    AddIndicator(kLeftIndicator, "LEFT_ARROW");
    AddIndicator(kRightIndicator, "RIGHT_ARROW");
    AddButton(kFlipDisplay, "FLIP_0", {})->SetButtonRole(ButtonRole::Display);
    for (int controlId : {kFlipLeft, kFlipRight}) {
        CPngButton* flip =
            AddButton(controlId, controlId == kFlipLeft ? "FLIP_1" : "FLIP_2", keyFaces);
        connect(flip, &CPngButton::clicked, this, &KeyboardView::ToggleFlip);
    }
    const auto redrawLinked = [this](CPngButton& b, bool normal) { RedrawLinked(b, normal); };
    for (int controlId : {kFlipDisplay, kFlipLeft, kFlipRight, kEnter}) {
        buttons_.at(controlId)->SetDrawHook(redrawLinked);
    }
    for (const auto& [controlId, button] : buttons_) {
        if (IsKeyControl(controlId)) {
            button->setFocusPolicy(Qt::NoFocus);
            button->installEventFilter(this);
        }
    }
    for (const KeyButton& key : KeyButtons()) {
        colourKeys_.push_back(Button(key.controlId));
    }
    outlines_ = new KeyOutlineLayer(window_);
    // The display cuts its faces for the other flip too while the state images are loaded.
    buttons_.at(kFlipDisplay)->SetStateFaces(FlipDisplayFaces(FlipValue() != 1));
    ApplyFlip();
    // Tab reaches the keyboard at its top-left key; the arrows move from there.
    std::vector<QWidget*> keys = KeyWidgets();
    const auto topLeft = std::min_element(keys.begin(), keys.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    if (topLeft != keys.end()) {
        MakeFocusKey(static_cast<CPngButton*>(*topLeft));
    }
}

bool KeyboardView::IsKeyControl(int controlId) {
    return FindKeyButton(controlId) != nullptr ||
           (controlId >= kFirstDKey && controlId < kFirstDKey + kDKeyCount);
}

std::vector<QWidget*> KeyboardView::KeyWidgets() const {
    std::vector<QWidget*> keys;
    for (const auto& [controlId, button] : buttons_) {
        if (IsKeyControl(controlId)) {
            keys.push_back(button);
        }
    }
    return keys;
}

void KeyboardView::MakeFocusKey(CPngButton* key) {
    if (focusKey_ == key) {
        return;
    }
    if (focusKey_ != nullptr) {
        focusKey_->setFocusPolicy(Qt::NoFocus);
    }
    focusKey_ = key;
    focusKey_->setFocusPolicy(Qt::TabFocus);
}

void KeyboardView::MoveFocus(CPngButton& from, int arrow) {
    const KeyDirection direction = arrow == Qt::Key_Left    ? KeyDirection::Left
                                   : arrow == Qt::Key_Right ? KeyDirection::Right
                                   : arrow == Qt::Key_Up    ? KeyDirection::Up
                                                            : KeyDirection::Down;
    // Keys out of sight or switched off (F1-F4 or D1-D6) are passed over.
    std::vector<CPngButton*> keys;
    std::vector<KeyRect> places;
    size_t start = 0;
    for (QWidget* widget : KeyWidgets()) {
        auto* key = static_cast<CPngButton*>(widget);
        if (key == &from) {
            start = keys.size();
        } else if (!key->isVisible() || !key->isEnabled()) {
            continue;
        }
        keys.push_back(key);
        const QRect place = key->geometry();
        places.push_back({static_cast<double>(place.x()), static_cast<double>(place.y()),
                          static_cast<double>(place.width()), static_cast<double>(place.height())});
    }
    if (const std::optional<size_t> next = NearestKeyInDirection(places, start, direction)) {
        MakeFocusKey(keys[*next]);
        keys[*next]->setFocus(Qt::OtherFocusReason);
    }
}

bool KeyboardView::eventFilter(QObject* watched, QEvent* event) {
    auto* key = qobject_cast<CPngButton*>(watched);
    if (key == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (event->type() == QEvent::FocusIn) {
            MakeFocusKey(key);
        }
        // A key with the focus draws its frame itself, under its focus ring.
        ShowOutlines({&key, 1});
    } else if (event->type() == QEvent::KeyPress) {
        const int arrow = static_cast<QKeyEvent*>(event)->key();
        if (arrow == Qt::Key_Left || arrow == Qt::Key_Right || arrow == Qt::Key_Up ||
            arrow == Qt::Key_Down) {
            MoveFocus(*key, arrow);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void KeyboardView::SetKeyClickHandler(std::function<void(int controlId)> handler) {
    clickHandler_ = std::move(handler);
}

void KeyboardView::ApplyLanguage() {
    const QString name = QString::fromStdString(core_.Text(access_keys::MAIN_FLIP));
    for (int controlId : {kFlipLeft, kFlipRight}) {
        if (CPngButton* flip = Button(controlId)) {
            flip->setAccessibleName(name);
            flip->SetTooltip(name, true);
        }
    }
}

void KeyboardView::ShowAssignments() {
    const int profile = core_.ActiveProfile();
    const TextLookup texts = core_.Texts();
    for (const KeyButton& key : KeyButtons()) {
        const std::optional<int> slot = SlotOfControl(key.controlId);
        CPngButton* button = Button(key.controlId);
        if (!slot || button == nullptr) {
            continue;
        }
        // A keyboard that cannot say its profile leaves every key unassigned.
        const KeyAssignment record =
            profile < 0 ? KeyAssignment{}
                        : core_.Working().Assignment(KeyRecordNumber(static_cast<size_t>(profile),
                                                                   static_cast<size_t>(*slot)));
        const std::string name = KeyButtonName(key);
        const AssignmentCaptionText caption = AssignmentCaption(name, record, core_.Working(), texts);
        button->SetSelected(caption.assigned, true);
        button->SetTooltip(QString::fromStdString(caption.caption), true);
        button->setAccessibleName(
            QString::fromStdString(KeySpokenName(name, record, core_.Working(), texts)));
    }
    ApplyFlip();
}

std::string KeyboardView::KeyButtonName(const KeyButton& key) const {
    if (key.kind == KeyButtonKind::GKey) {
        return "G" + std::to_string(key.keyCode - kGKeyCodeBase + 1);
    }
    if (key.kind == KeyButtonKind::Fn) {
        return "Fn";
    }
    return KeyNameOf(key.keyCode, core_.Texts());
}

int KeyboardView::FlipValue() const {
    return core_.UserSettings().ReadProfileNumber(kFlipSetting, 0) == 1 ? 1 : 0;
}

void KeyboardView::ApplyFlip() {
    const bool flipped = FlipValue() == 1;
    // With the extra keys drawn, the offered half takes the place and the other steps aside;
    // without them the F keys stay in sight, disabled.
    for (int i = 0; i < 4; ++i) {
        if (CPngButton* key = Button(kFirstFKey + i)) {
            key->setEnabled(!flipped);
            key->setVisible(!(flipped && dKeysShown_));
        }
    }
    for (int i = 0; i < kDKeyCount; ++i) {
        if (CPngButton* key = Button(kFirstDKey + i)) {
            key->setEnabled(flipped);
            key->setVisible(flipped && dKeysShown_);
        }
    }
    if (CPngButton* display = Button(kFlipDisplay)) {
        display->SetStateFaces(FlipDisplayFaces(flipped));
    }
    // Keys out of sight show no frame.
    ShowOutlines({});
}

ButtonFaces KeyboardView::FlipDisplayFaces(bool flipped) const {
    // The display's selected face (from the "disable" picture) lights the D1-D6 half; with
    // flip 1 it shows that face in every state.
    const KeyFaceSet& set = flipped ? flipFaces_ : keyFaces_;
    const QImage* lit = set.disable != nullptr ? set.disable : keyFaces_.disable;
    return flipped ? ButtonFaces{lit, lit, lit, lit, lit}
                   : ButtonFaces{set.normal, set.normal, set.normal, set.normal, lit};
}

void KeyboardView::ToggleFlip() {
    core_.UserSettings().WriteProfileFlag(kFlipSetting, 1 - FlipValue());
    ApplyFlip();
}

std::optional<int> KeyboardView::SlotOfControl(int controlId) {
    const KeyButton* key = FindKeyButton(controlId);
    if (key == nullptr || key->kind == KeyButtonKind::Fn) {
        return std::nullopt;
    }
    return SlotOfKeyCode(key->keyCode);
}

QRect KeyboardView::ButtonScreenRect(int controlId) const {
    const CPngButton* button = Button(controlId);
    if (button == nullptr) {
        return {};
    }
    return {button->mapToGlobal(QPoint(0, 0)), button->size()};
}

void KeyboardView::ShowEditingFaces(int controlId) {
    if (CPngButton* button = Button(controlId)) {
        button->SetStateFaces(
            {keyFaces_.over, keyFaces_.over, keyFaces_.down, keyFaces_.normal, keyFaces_.over});
    }
}

void KeyboardView::RestoreKeyFaces(int controlId) {
    if (CPngButton* button = Button(controlId)) {
        button->SetStateFaces(KeyButtonFaces());
    }
}

void KeyboardView::ShowPreviewFrame(const PreviewColours& frame) {
    // A frame comes every 50 ms: the frames that changed are painted in one pass.
    std::vector<CPngButton*> changed;
    for (size_t i = 0; i < colourKeys_.size() && i < frame.size(); ++i) {
        CPngButton* button = colourKeys_[i];
        bool redraw = false;
        switch (frame[i].state) {
            case KeyLight::State::Unchanged:
                break;
            case KeyLight::State::Cleared:
                redraw = button->ChangeOutline(QColor(0, 0, 0), kOutlineWidth, false);
                button->SetSelected(false, true);
                break;
            case KeyLight::State::Lit:
                redraw = button->ChangeOutline(ToQColor(frame[i].colour), kOutlineWidth, true);
                break;
        }
        if (redraw) {
            changed.push_back(button);
        }
    }
    ShowOutlines(changed);
}

void KeyboardView::ShowOutlines(std::span<CPngButton* const> changed) {
    if (outlines_ != nullptr) {
        outlines_->Show(colourKeys_, changed);
    }
}

CPngButton* KeyboardView::Button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

void KeyboardView::ShowKeyColour(int controlId, ColourValue colour) {
    CPngButton* button = Button(controlId);
    if (button != nullptr && button->ChangeOutline(ToQColor(colour), kOutlineWidth, true)) {
        ShowOutlines({&button, 1});
    }
}

void KeyboardView::ClearKeyColour(int controlId) {
    CPngButton* button = Button(controlId);
    if (button == nullptr) {
        return;
    }
    if (button->ChangeOutline(QColor(0, 0, 0), kOutlineWidth, false)) {
        ShowOutlines({&button, 1});
    }
    button->SetSelected(false, true);
}

void KeyboardView::Update(int controlId) const {
    if (CPngButton* button = Button(controlId)) {
        button->update();
    }
}

// Buttons drawn over or beside each other: drawing one covers part of the other, so the other is
// drawn again; the flip buttons also carry the arrow indicators.
void KeyboardView::RedrawLinked(CPngButton& button, bool normalFace) {
    if (&button == Button(kLockAb)) {
        for (const KeyButton& key : GKeys()) {
            Update(key.controlId);
        }
    } else if (&button == Button(kEnter)) {
        Update(kKeyAboveEnter);
    } else if (&button == Button(kFlipDisplay)) {
        const bool flipped = FlipValue() == 1;
        const int first = flipped ? kFirstDKey : kFirstFKey;
        const int count = flipped ? kDKeyCount : 4;
        for (int i = 0; i < count; ++i) {
            Update(first + i);
        }
        Update(kF5);
        Update(kFlipLeft);
        Update(kFlipRight);
    } else if (normalFace && &button == Button(kFlipLeft)) {
        UpdateIndicator(kLeftIndicator, "LEFT_ARROW", "LEFT");
    } else if (normalFace && &button == Button(kFlipRight)) {
        UpdateIndicator(kRightIndicator, "RIGHT_ARROW", "RIGHT");
    }
}

// Runs inside the flip button's paint event, which must not repaint other widgets: the
// indicator is placed afterwards, and only when the flip value asks for another picture.
void KeyboardView::UpdateIndicator(int controlId, std::string_view skinEntry,
                                   std::string_view side) {
    CPngButton* indicator = Button(controlId);
    if (indicator == nullptr) {
        return;
    }
    const std::string originKey =
        std::string(FlipValue() == 1 ? "UP_ARROW_" : "DOWN_ARROW_") + std::string(side) + "1";
    const LayoutEntry origin = ReadLayoutEntry(window_.SkinFile(), kOriginSection, originKey);
    if (indicator->Faces().normal == &arrows_ &&
        indicator->Origin() == QPoint(origin.x, origin.y)) {
        return;
    }
    QMetaObject::invokeMethod(
        indicator,
        [indicator, skinFile = window_.SkinFile(), entry = std::string(skinEntry), originKey,
         arrows = &arrows_] {
            PlaceWithOrigin(*indicator, skinFile, kSection, entry, kOriginSection, originKey,
                            arrows);
        },
        Qt::QueuedConnection);
}

}  // namespace zarvin
