#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/KeyboardView.h"
#include "app/LightingPanelView.h"
#include "control/KeyColours.h"
#include "control/LightingState.h"
#include "control/ProfileKeyMaps.h"
#include "device/CommandProtocol.h"
#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "model/KeyboardLayout.h"
#include "skin/BaseDialog.h"
#include "skin/BitmapSlider.h"
#include "skin/FocusRing.h"
#include "skin/LayoutEntry.h"
#include "skin/PngButton.h"
#include "skin/SkinColorBtn.h"
#include "skin/StateImages.h"
#include "store/LightingSwitchFile.h"
#include "store/UserLightingFiles.h"
#include "support/ConnectedCoreRig.h"
#include "support/QtTestApplication.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

constexpr int kKeyA = 1058;
constexpr int kKeyF1 = 1010;
constexpr int kKeyD1 = 1016;
constexpr int kFlipLeft = 1130;
constexpr int kGKey1 = 1000;

// The main window's keyboard and lighting panel over the stand-in keyboard on profile 1, with
// the built skin and language file.
struct ViewRig : test_support::ConnectedCoreRig {
    ViewRig() : ConnectedCoreRig(1, ZARVIN_PROGRAM_DATA_FOLDER) {
        fs::create_directories(context.userDataFolder);
        window.show();
        const QSize size = window.size();
        normal = LoadStateSurface(context.skinFolder / "main_normal.jpg", size);
        over = LoadStateSurface(context.skinFolder / "main_over.jpg", size);
        down = LoadStateSurface(context.skinFolder / "main_down.jpg", size);
        disable = LoadStateSurface(context.skinFolder / "main_disable.jpg", size);
        arrows = LoadStateSurface(context.skinFolder / "Arrow.jpg", size);
        keys = std::make_unique<KeyboardView>(window, core, faces, faces, arrows);
        keys->SkinKeyButtons();
        panel = std::make_unique<LightingPanelView>(
            window, core, *keys,
            LightingPanelView::WindowHooks{[this] { keys->ShowAssignments(); },
                                           [] { return true; }, nullptr});
        panel->PlaceControls();
        panel->ApplyLanguage();
    }

    CPngButton& Key(int controlId) {
        CPngButton* button = keys->Button(controlId);
        EXPECT_NE(button, nullptr) << controlId;
        return *button;
    }

    // The lighting writes the keyboard received, as (offset, bytes).
    std::vector<std::pair<int, std::vector<uint8_t>>> LightingWrites() const {
        std::vector<std::pair<int, std::vector<uint8_t>>> writes;
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            if (packet[PacketByte::Command] != Command::WriteLighting) {
                continue;
            }
            const int offset = packet[PacketByte::Offset] | packet[PacketByte::Offset + 1] << 8;
            const auto data = packet.begin() + PacketByte::Data;
            writes.emplace_back(offset,
                                std::vector<uint8_t>(data, data + packet[PacketByte::Length]));
        }
        return writes;
    }

    CBaseDialog window{context.mainSkinFile, context.skinFolder};
    QImage normal, over, down, disable, arrows;
    KeyFaceSet faces{&normal, &over, &down, &disable};
    std::unique_ptr<KeyboardView> keys;
    std::unique_ptr<LightingPanelView> panel;
};

TEST(KeyboardViewTest, ClicksReportTheControlAndSlotsFollowTheKeyCode) {
    ViewRig rig;
    std::vector<int> clicked;
    rig.keys->SetKeyClickHandler([&](int controlId) { clicked.push_back(controlId); });

    QTest::mouseClick(&rig.Key(kKeyA), Qt::LeftButton);
    QTest::mouseClick(&rig.Key(kFnControlId), Qt::LeftButton);

    EXPECT_EQ(clicked, (std::vector<int>{kKeyA, kFnControlId}));
    EXPECT_EQ(KeyboardView::SlotOfControl(kKeyA), 0x1E);
    EXPECT_EQ(KeyboardView::SlotOfControl(1103), 0xC8);     // Up, an extended key
    EXPECT_EQ(KeyboardView::SlotOfControl(1143), 256 + 8);  // G9
    EXPECT_EQ(KeyboardView::SlotOfControl(kFnControlId), std::nullopt);
    EXPECT_EQ(KeyboardView::SlotOfControl(1005), std::nullopt);
}

TEST(KeyboardViewTest, KeysArePlacedFromTheirSlotEntries) {
    ViewRig rig;
    const struct {
        int controlId;
        const char* entry;
    } cases[] = {{1089, "KEY_09D"},
                 {1104, "KEY_0C5"},
                 {kKeyA, "KEY_01E"},
                 {1004, "FUNC_G5"},
                 {kFnControlId, "KEY_FN"}};
    for (const auto& c : cases) {
        const LayoutEntry entry = ReadLayoutEntry(rig.context.mainSkinFile, "BUTTONINFO", c.entry);
        EXPECT_NE(entry, ParseLayoutEntry(kMissingLayoutEntry)) << c.entry;
        EXPECT_EQ(rig.Key(c.controlId).geometry(), QRect(entry.x, entry.y, entry.w, entry.h))
            << c.entry;
        EXPECT_EQ(rig.Key(c.controlId).Faces().selected, &rig.disable) << c.entry;
    }
}

TEST(KeyboardViewTest, AssignedKeysShowTheSelectedLookAndTheirCaption) {
    ViewRig rig;
    const KeyAssignment disabled{.type = static_cast<uint16_t>(AssignmentType::Disabled)};
    ASSERT_TRUE(rig.core.Working().SetAssignment(KeyRecordNumber(1, 0x1E), disabled));
    // The same key in another profile, which is not the keyboard's.
    ASSERT_TRUE(rig.core.Working().SetAssignment(KeyRecordNumber(0, 0x30), disabled));

    rig.keys->ShowAssignments();

    const TextLookup texts = rig.core.Texts();
    const AssignmentCaptionText a =
        AssignmentCaption(KeyNameOf(0x1E, texts), disabled, rig.core.Working(), texts);
    EXPECT_TRUE(rig.Key(kKeyA).IsSelected());
    EXPECT_EQ(rig.Key(kKeyA).TooltipText().toStdString(), a.caption);
    EXPECT_FALSE(rig.Key(1075).IsSelected());  // B

    const AssignmentCaptionText g1 = AssignmentCaption(
        "G1", rig.core.Working().Assignment(KeyRecordNumber(1, 256)), rig.core.Working(), texts);
    EXPECT_FALSE(g1.assigned);
    EXPECT_FALSE(rig.Key(kGKey1).IsSelected());
    EXPECT_EQ(rig.Key(kGKey1).TooltipText().toStdString(), g1.caption);
}

TEST(KeyboardViewTest, FlipSwitchesBetweenTheFKeysAndTheExtraKeys) {
    ViewRig rig;
    EXPECT_TRUE(rig.Key(kKeyF1).isEnabled());
    EXPECT_FALSE(rig.Key(kKeyD1).isEnabled());

    rig.core.UserSettings().WriteProfileString("Flip", "1");
    rig.keys->ApplyFlip();
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(rig.Key(kKeyF1 + i).isEnabled());
    }
    // The extra keys take the place of F1-F4, with faces of their own from the skin.
    QRect fKeys;
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(rig.Key(kKeyF1 + i).isVisibleTo(&rig.window));
        fKeys = fKeys.united(rig.Key(kKeyF1 + i).geometry());
    }
    for (int i = 0; i < 6; ++i) {
        CPngButton& key = rig.Key(kKeyD1 + i);
        EXPECT_TRUE(key.isEnabled());
        EXPECT_TRUE(key.isVisibleTo(&rig.window));
        EXPECT_TRUE(fKeys.contains(key.geometry())) << i;
        EXPECT_NE(key.Origin(), key.geometry().topLeft()) << i;
    }

    QTest::mouseClick(&rig.Key(kFlipLeft), Qt::LeftButton);
    EXPECT_EQ(rig.core.UserSettings().ReadProfileString("Flip", "(none)"), "0");
    EXPECT_TRUE(rig.Key(kKeyF1 + 3).isEnabled());
    EXPECT_TRUE(rig.Key(kKeyF1 + 3).isVisibleTo(&rig.window));
    EXPECT_FALSE(rig.Key(kKeyD1 + 5).isEnabled());
    EXPECT_FALSE(rig.Key(kKeyD1 + 5).isVisibleTo(&rig.window));
}

// What the window shows of one key's place.
QImage KeyPicture(ViewRig& rig, int controlId) {
    return rig.window.grab(rig.Key(controlId).geometry()).toImage().convertToFormat(
        QImage::Format_RGB32);
}

TEST(KeyboardViewTest, AKeysColourIsAFrameOverItsFaceAndAFocusedKeyKeepsItsRingOnTop) {
    ViewRig rig;
    // The keys were made after the window showed.
    for (QWidget* key : rig.keys->KeyWidgets()) {
        key->show();
    }
    const QImage plain = KeyPicture(rig, kKeyA);
    const auto isFrame = [&plain](int x, int y) {
        return x < 2 || y < 2 || x >= plain.width() - 2 || y >= plain.height() - 2;
    };

    rig.keys->ShowKeyColour(kKeyA, MakeColour(0, 200, 0));
    const QImage framed = KeyPicture(rig, kKeyA);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            ASSERT_EQ(framed.pixel(x, y), isFrame(x, y) ? qRgb(0, 200, 0) : plain.pixel(x, y))
                << x << ", " << y;
        }
    }

    // A preview frame that gives every key a colour changes this one's frame too.
    PreviewColours frame{};
    for (KeyLight& light : frame) {
        light = {KeyLight::State::Lit, MakeColour(0, 0, 210)};
    }
    rig.keys->ShowPreviewFrame(frame);
    EXPECT_EQ(KeyPicture(rig, kKeyA).pixel(0, 0), qRgb(0, 0, 210));
    EXPECT_EQ(KeyPicture(rig, kGKey1).pixel(0, 0), qRgb(0, 0, 210));

    // The focus ring runs along the frame; with the focus the ring is seen, not the frame.
    rig.window.activateWindow();
    for (int wait = 0; wait < 500 && QApplication::activeWindow() != &rig.window; ++wait) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    rig.Key(kKeyA).setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(rig.Key(kKeyA).hasFocus());
    const QImage focused = KeyPicture(rig, kKeyA);
    EXPECT_EQ(focused.pixel(plain.width() / 2, 0), FocusRingColour().rgb());

    rig.keys->ClearKeyColour(kKeyA);
    rig.Key(kKeyA).clearFocus();
    EXPECT_EQ(KeyPicture(rig, kKeyA), plain);
    EXPECT_EQ(KeyPicture(rig, kGKey1).pixel(0, 0), qRgb(0, 0, 210));
}

// What the screen shows of a key's place: the window's backing store, which only what asked to
// be painted again has reached (KeyPicture's grab() paints everything anew).
QImage KeyOnScreen(ViewRig& rig, const CPngButton& key) {
    const QRect place = key.geometry();
    return rig.window.screen()
        ->grabWindow(rig.window.winId(), place.x(), place.y(), place.width(), place.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(KeyboardViewTest, EveryKeyAPreviewFrameChangesReachesTheScreenAndNoOtherChanges) {
    ViewRig rig;
    for (QWidget* key : rig.keys->KeyWidgets()) {
        key->show();
    }
    rig.keys->ShowAssignments();  // and the top row as its flip shows it
    // The keys in sight, by their positions in KeyButtons().
    std::vector<size_t> shown;
    for (size_t i = 0; i < KeyButtons().size(); ++i) {
        if (rig.Key(KeyButtons()[i].controlId).isVisibleTo(&rig.window)) {
            shown.push_back(i);
        }
    }
    // Each step gives the keys in sight a light by their place among them; on screen every key
    // then looks as a fresh drawing of the window shows it, a lit one framed in its colour.
    const auto showFrame = [&](const std::function<KeyLight(size_t)>& lightOf) {
        PreviewColours frame{};
        for (size_t n = 0; n < shown.size(); ++n) {
            frame[shown[n]] = lightOf(n);
        }
        rig.keys->ShowPreviewFrame(frame);
        for (int turn = 0; turn < 20; ++turn) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        for (size_t n = 0; n < shown.size(); ++n) {
            const int controlId = KeyButtons()[shown[n]].controlId;
            const CPngButton& key = rig.Key(controlId);
            const QImage screen = KeyOnScreen(rig, key);
            ASSERT_EQ(screen, KeyPicture(rig, controlId)) << n;
            // A key with the focus shows its ring over its frame.
            if (key.IsOutlineOn() && !key.hasFocus()) {
                ASSERT_EQ(screen.pixel(0, screen.height() / 2), key.OutlineColour().rgb()) << n;
            }
        }
    };
    const KeyLight unchanged{KeyLight::State::Unchanged, 0};
    showFrame([](size_t) { return KeyLight{KeyLight::State::Lit, MakeColour(0, 0, 210)}; });
    // Every other key and the last (far from the first) change; the rest keep their frame.
    showFrame([&](size_t n) {
        return n % 2 == 0 || n + 1 == shown.size()
                   ? KeyLight{KeyLight::State::Lit, MakeColour(200, 10, 30)}
                   : unchanged;
    });
    showFrame([&](size_t n) {
        return n % 3 == 0 ? KeyLight{KeyLight::State::Cleared, 0} : unchanged;
    });
}

TEST(LightingPanelViewTest, APreviewTickLightsTheKeysWhileTheSwitchIsOn) {
    ViewRig rig;
    LightingState& lighting = rig.panel->Lighting();
    ASSERT_EQ(lighting.LoadLighting(), 0);
    lighting.RefreshLightingPanel();
    auto* effects = qobject_cast<QComboBox*>(rig.panel->EffectCombo());
    ASSERT_NE(effects, nullptr);
    ASSERT_GE(lighting.PositionOfEffect(4), 0);
    effects->setCurrentIndex(lighting.PositionOfEffect(4));  // the whole keyboard cycles
    ASSERT_EQ(lighting.Effect(), 4);
    EXPECT_TRUE(rig.panel->PreviewRestartPending());

    rig.panel->PreviewTick();  // switch off: nothing drawn
    EXPECT_FALSE(rig.Key(kKeyA).IsOutlineOn());
    EXPECT_TRUE(rig.panel->PreviewRestartPending());

    lighting.ToggleLightingPanel();
    ASSERT_TRUE(lighting.LightingPanelOn());
    EXPECT_EQ(ReadDengCheck(LightingSwitchFile(rig.context.userDataFolder)), "1");
    rig.panel->PreviewTick();

    EXPECT_FALSE(rig.panel->PreviewRestartPending());
    // Every key lights, Right Windows (which shares Right Alt's light) included.
    for (const KeyButton& key : KeyViewKeys()) {
        EXPECT_TRUE(rig.Key(key.controlId).IsOutlineOn()) << key.legend;
    }
}

TEST(LightingPanelViewTest, SliderMovesAreWrittenToTheCurrentProfilesRecord) {
    ViewRig rig;
    LightingState& lighting = rig.panel->Lighting();
    ASSERT_EQ(lighting.LoadLighting(), 0);
    lighting.SetCurrentProfile(1);
    lighting.RefreshLightingPanel();
    EXPECT_TRUE(rig.LightingWrites().empty());  // filling the panel is not a user's choice
    rig.keyboard.ClearLog();
    auto* speed = qobject_cast<CBitmapSlider*>(rig.panel->Control(LightingControl::SpeedSlider));
    ASSERT_NE(speed, nullptr);
    speed->SetPosition(2);

    QTest::keyClick(speed, Qt::Key_Right);
    QApplication::processEvents();

    EXPECT_EQ(lighting.Speed(), 3);
    const std::vector<std::pair<int, std::vector<uint8_t>>> expected{
        {42 + static_cast<int>(LightingField::Speed), {2}}};
    EXPECT_EQ(rig.LightingWrites(), expected);
}

TEST(LightingPanelViewTest, ChipsFillTheEditBoxesAndLabelsComeFromTheLanguage) {
    ViewRig rig;
    QWidget* chip = rig.panel->Control(1213);
    ASSERT_NE(chip, nullptr);

    QTest::mouseClick(chip, Qt::LeftButton);

    std::vector<std::string> rgb;
    for (int id :
         {LightingControl::RedEdit, LightingControl::GreenEdit, LightingControl::BlueEdit}) {
        auto* edit = qobject_cast<QLineEdit*>(rig.panel->Control(id));
        ASSERT_NE(edit, nullptr);
        rgb.push_back(edit->text().toStdString());
    }
    EXPECT_EQ(rgb, (std::vector<std::string>{"0", "126", "255"}));
    auto* label = qobject_cast<QLabel*>(rig.panel->Control(1172));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), rig.core.LightText("Light"));
}

TEST(LightingPanelViewTest, TypingInTheModeComboRenamesTheCurrentMode) {
    ViewRig rig;
    KeyColours& colours = rig.panel->Colours();
    colours.FillModeCombo(0);
    auto* modes = qobject_cast<QComboBox*>(rig.panel->Control(UserModeControl::ModeCombo));
    ASSERT_NE(modes, nullptr);
    ASSERT_EQ(modes->count(), kUserModeCount);
    colours.SelectUserMode(2);
    ASSERT_EQ(modes->currentIndex(), 2);

    modes->lineEdit()->selectAll();
    QTest::keyClicks(modes->lineEdit(), "Night");

    EXPECT_EQ(modes->itemText(2).toStdString(), "Night");
    EXPECT_EQ(modes->lineEdit()->text().toStdString(), "Night");
    EXPECT_EQ(modes->count(), kUserModeCount);
    EXPECT_EQ(colours.CurrentMode(), 2);
    EXPECT_EQ(UserLightingFiles(rig.context).ReadModeName(0, 2), "Night");

    modes->setCurrentIndex(4);  // as a pick from the list
    EXPECT_EQ(colours.CurrentMode(), 4);
    EXPECT_EQ(UserLightingFiles(rig.context).ReadPresentMode(0), 4);
}

// Every panel control reaches its lighting operation with its own arguments: each click or colour
// pick writes exactly its field of the current profile's record.
TEST(LightingPanelViewTest, EachControlWritesItsOwnField) {
    ViewRig rig;
    LightingState& lighting = rig.panel->Lighting();
    ASSERT_EQ(lighting.LoadLighting(), 0);
    lighting.SetCurrentProfile(1);
    lighting.RefreshLightingPanel();
    constexpr int kBase = 42;
    using Writes = std::vector<std::pair<int, std::vector<uint8_t>>>;
    const auto click = [&rig](int controlId) {
        return [&rig, controlId] {
            QWidget* control = rig.panel->Control(controlId);
            ASSERT_NE(control, nullptr) << controlId;
            QTest::mouseClick(control, Qt::LeftButton);
        };
    };
    const auto pick = [&rig](int controlId, QColor colour) {
        return [&rig, controlId, colour] {
            auto* button = qobject_cast<CSkinColorBtn*>(rig.panel->Control(controlId));
            ASSERT_NE(button, nullptr) << controlId;
            emit button->ColourChosen(colour);
        };
    };
    const uint8_t multicolourAfterToggle = lighting.Multicolour() ? 0 : 1;
    const struct {
        const char* control;
        std::function<void()> use;
        Writes expected;
    } cases[] = {
        {"first arrow", click(LightingControl::FirstArrow), {{kBase + 3, {255}}}},
        {"second arrow", click(LightingControl::SecondArrow), {{kBase + 3, {0}}}},
        {"multicolour A", click(LightingControl::MulticolourA),
         {{kBase + 4, {multicolourAfterToggle}}}},
        {"multicolour B", click(LightingControl::MulticolourB),
         {{kBase + 4, {static_cast<uint8_t>(1 - multicolourAfterToggle)}}}},
        {"green option", click(LightingControl::OptionGreen), {{kBase + 17, {2}}}},
        {"third report rate", click(LightingControl::ReportRate3), {{kBase + 15, {2}}}},
        {"red chip", click(1212), {{kBase + 4, {0}}, {kBase + 5, {255, 0, 0}}}},
        {"colour A", pick(LightingControl::ColourAButton, QColor(1, 2, 3)),
         {{kBase + 4, {0}}, {kBase + 5, {1, 2, 3}}}},
        {"colour B", pick(LightingControl::ColourBButton, QColor(4, 5, 6)),
         {{kBase + 4, {0}}, {kBase + 5, {4, 5, 6}}}},
        {"lighting switch", click(LightingControl::LightingSwitch), {}},
        {"brush colour", pick(UserModeControl::BrushColour, QColor(7, 8, 9)), {}},
    };
    for (const auto& c : cases) {
        rig.keyboard.ClearLog();
        c.use();
        EXPECT_EQ(rig.LightingWrites(), c.expected) << c.control;
    }
    EXPECT_TRUE(lighting.LightingPanelOn());
    EXPECT_EQ(lighting.ReportRate(), 2);
    EXPECT_EQ(lighting.OptionColour(), 2);
    EXPECT_EQ(rig.panel->Colours().BrushColour(), MakeColour(7, 8, 9));

    QTest::mouseClick(rig.panel->Control(UserModeControl::BaseColourTool), Qt::LeftButton);
    EXPECT_EQ(rig.panel->Colours().Tool(), kBaseColourTool);
    QTest::mouseClick(rig.panel->Control(UserModeControl::OwnColourTool), Qt::LeftButton);
    EXPECT_EQ(rig.panel->Colours().Tool(), kOwnColourTool);
}

}  // namespace
}  // namespace zarvin
