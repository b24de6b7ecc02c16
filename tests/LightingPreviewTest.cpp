#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "model/KeyboardLayout.h"
#include "model/LightingEffects.h"
#include "model/LightingPreview.h"
#include "model/LightingPreviewTables.h"

namespace zarvin {
namespace {

using namespace preview;

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

constexpr uint32_t Grey(uint32_t level) {
    return Rgb(level, level, level);
}

constexpr uint32_t kWhite = Grey(255);

// Hands out a fixed sequence, starting it again at every seed as the time-seeded generator
// does within one second.
class ScriptedRandom final : public PreviewRandom {
public:
    explicit ScriptedRandom(std::vector<unsigned> values, int* seeds = nullptr)
        : values_(std::move(values)), seeds_(seeds) {}
    void SeedWithTime() override {
        next_ = 0;
        if (seeds_ != nullptr) {
            ++*seeds_;
        }
    }
    unsigned Next() override { return values_[next_++ % values_.size()]; }

private:
    std::vector<unsigned> values_;
    int* seeds_;
    size_t next_ = 0;
};

size_t ButtonIndex(KeyId key) {
    const auto buttons = KeyButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (key == key::Fn ? buttons[i].kind == KeyButtonKind::Fn
                           : buttons[i].kind == KeyButtonKind::Key && buttons[i].keyCode == key) {
            return i;
        }
    }
    ADD_FAILURE() << "no button for key " << key;
    return 0;
}

KeyLight Lit(uint32_t colour) {
    return {KeyLight::State::Lit, colour};
}

KeyLight LightOf(const PreviewColours& frame, KeyId key) {
    return frame[ButtonIndex(key)];
}

// The keys with a non-black colour, for frames where only a few keys light.
std::set<KeyId> BrightKeys(const PreviewColours& frame) {
    std::set<KeyId> keys;
    for (KeyId key : kSweepOrder) {
        if (LightOf(frame, key).colour != 0) {
            keys.insert(key);
        }
    }
    return keys;
}

class LightingPreviewTest : public testing::Test {
protected:
    PreviewColours Frame(uint8_t effect, uint8_t direction = 255, bool multicolour = false,
                         uint32_t mainColour = kWhite) {
        return preview_.PreviewFrame({effect, direction, multicolour, mainColour});
    }
    PreviewColours ResetAndFrame(uint8_t effect, bool multicolour = false) {
        preview_.ResetPreview();
        return Frame(effect, 255, multicolour);
    }

    int seeds_ = 0;
    LightingPreview preview_{
        std::make_unique<ScriptedRandom>(std::vector<unsigned>{7, 300, 509}, &seeds_)};
};

TEST(LightingPreviewTables, EveryKeyOfTheSweepSitsInTheGridAndInExactlyOneRing) {
    std::set<KeyId> sweep(kSweepOrder.begin(), kSweepOrder.end());
    EXPECT_EQ(sweep.size(), 106u);
    for (KeyId key : sweep) {
        ButtonIndex(key);  // fails the test for a key without a button
    }
    std::set<KeyId> grid;
    for (const auto& column : kGrid) {
        for (KeyId key : column) {
            if (key != kNoKey) {
                grid.insert(key);
            }
        }
    }
    EXPECT_EQ(grid, sweep);
    std::multiset<KeyId> rings;
    for (const auto& ring : kRings) {
        rings.insert(ring.begin(), ring.end());
    }
    EXPECT_EQ(rings, std::multiset<KeyId>(sweep.begin(), sweep.end()));
    for (const auto& row : kTypingRows) {
        for (KeyId key : row) {
            EXPECT_TRUE(sweep.contains(key)) << key;
        }
    }
    // Right Windows has no place of its own: it shows the light of Right Alt beside it.
    EXPECT_FALSE(sweep.contains(key::RightWindows));
}

TEST_F(LightingPreviewTest, RightWindowsLightsWithEveryAnimatedEffect) {
    for (const uint8_t effect : std::initializer_list<uint8_t>{1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14,
                                                              15, 16, 18}) {
        SCOPED_TRACE(static_cast<int>(effect));
        preview_.ResetPreview();
        bool lit = false;
        for (int frame = 0; frame < 40; ++frame) {
            const PreviewColours colours = Frame(effect);
            EXPECT_EQ(LightOf(colours, key::RightWindows), LightOf(colours, key::RightAlt));
            lit = lit || LightOf(colours, key::RightWindows).state == KeyLight::State::Lit;
        }
        if (effect == 4 || effect == 6) {
            EXPECT_TRUE(lit);
        }
    }
}

TEST(LightingPreviewTables, CurvesAndPaletteMeetAtTheirSeams) {
    EXPECT_EQ(kRainbow[0], Rgb(255, 1, 0));
    EXPECT_EQ(kRainbow[31], Rgb(255, 255, 0));
    EXPECT_EQ(kRainbow[32], Rgb(248, 255, 0));
    EXPECT_EQ(kRainbow[100], Rgb(0, 194, 255));
    EXPECT_EQ(kRainbow[191], Rgb(255, 0, 0));
    EXPECT_EQ(kBreathing[0], 22);
    EXPECT_EQ(kBreathing[47], 255);
    EXPECT_EQ(kBreathing[48], 255);
    EXPECT_EQ(kBreathing[95], 22);
    EXPECT_EQ(kPulse[15], 20);
    EXPECT_EQ(kPulse[16], 22);
    EXPECT_EQ(kPulse[63], 255);
    EXPECT_EQ(kPulse[64], 255);
    EXPECT_EQ(kPulse[127], 3);
    EXPECT_EQ(kComet[16], 255);
    EXPECT_EQ(kComet[79], 1);
    EXPECT_EQ(kComet[80], 0);
    EXPECT_EQ(kSparkleSequence[103], 63);
    EXPECT_EQ(kSparkleSequence[105], 0);
}

TEST_F(LightingPreviewTest, WholeKeyboardCyclesThroughTheRainbowEitherWay) {
    struct Case {
        uint8_t direction;
        std::vector<uint32_t> colours;
    };
    const Case cases[] = {
        {255, {Rgb(255, 5, 0), Rgb(255, 10, 0), Rgb(255, 18, 0)}},  // entries 2, 4, 6
        {0, {Rgb(255, 0, 2), Rgb(255, 0, 6)}},                      // entries 190, 188
    };
    for (const Case& c : cases) {
        LightingPreview preview;
        for (uint32_t colour : c.colours) {
            const PreviewColours frame = preview.PreviewFrame({4, c.direction, false, kWhite});
            for (KeyId key : kSweepOrder) {
                EXPECT_EQ(LightOf(frame, key), Lit(colour)) << key;
            }
            EXPECT_EQ(LightOf(frame, 0x15C), Lit(colour));  // Right Windows, as Right Alt
            for (size_t g = kKeyViewKeyCount; g < kKeyViewKeyCount + kGKeyCount; ++g) {
                EXPECT_EQ(frame[g].state, KeyLight::State::Unchanged);
            }
        }
    }
}

TEST_F(LightingPreviewTest, ColumnEffectsColourEachGridColumn) {
    // Rainbow waves: phase 9, column c shows entry 9 + 9c; Backspace fills columns 14 and 15.
    PreviewColours frame = Frame(1, 255, true);
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Rgb(255, 200, 0)));  // column 2, entry 27
    EXPECT_EQ(LightOf(frame, key::Q), Lit(Rgb(255, 200, 0)));
    EXPECT_EQ(LightOf(frame, key::Backspace), Lit(Rgb(81, 0, 255)));  // column 15, entry 144
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Rgb(255, 73, 0)));   // column 22, entry 15

    // Breathing backwards from phase 0: phase 89, column 2 at breathing[7] = 42.
    LightingPreview breathing;
    frame = breathing.PreviewFrame({1, 0, false, Rgb(0x40, 0x80, 0xFF)});
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Rgb(10, 21, 42)));

    // Comet: phase 4, column c at comet[4 + 5(c + 1)].
    frame = Frame(2);
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(234)));  // comet[19]
    EXPECT_EQ(LightOf(frame, key::F1), Lit(Grey(200)));   // comet[24]
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(0));     // past the tail

    // Pulse: phase 2, pulse[2] = 4 on every column.
    frame = Frame(5);
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(4)));
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Grey(4)));
}

TEST_F(LightingPreviewTest, SweepAndRowEffectsFollowTheirOrder) {
    PreviewColours frame = Frame(3, 255, true);  // phase 4, key i at entry 4 + 5i
    EXPECT_EQ(LightOf(frame, key::Pause), Lit(Rgb(255, 10, 0)));
    EXPECT_EQ(LightOf(frame, key::IsoHash), Lit(Rgb(89, 0, 255)));  // entry 529 mod 192 = 145

    frame = Frame(12, 0);  // phase 189, row r at entry 189 + 32r
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Rgb(255, 0, 4)));
    EXPECT_EQ(LightOf(frame, key::LeftCtrl), Lit(Rgb(227, 0, 255)));  // entry 157

    // Drifting hues: key i starts at 33(i + 1), reduced only above 192, and moves by 3.
    frame = Frame(11);
    EXPECT_EQ(LightOf(frame, key::Pause), Lit(Rgb(194, 255, 0)));  // hue 36
    EXPECT_EQ(LightOf(frame, key::F10), Lit(Rgb(255, 32, 0)));     // 198 - 192 + 3 = 9
    EXPECT_EQ(LightOf(frame, key::N), Lit(Rgb(255, 1, 0)));        // 192 + 3 wraps to 0
    frame = Frame(11);
    EXPECT_EQ(LightOf(frame, key::Pause), Lit(Rgb(158, 255, 0)));  // hue 39
}

TEST_F(LightingPreviewTest, RingEffectsColourRingsAroundO) {
    PreviewColours frame = Frame(6, 255, true);
    EXPECT_EQ(LightOf(frame, key::O), Lit(Rgb(7, 0, 255)));          // entry 131
    EXPECT_EQ(LightOf(frame, key::Fn), Lit(Rgb(0, 255, 152)));       // ring 4, entry 87
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Rgb(255, 38, 0)));  // ring 11, entry 10

    const uint32_t main = Rgb(1, 2, 3);
    const PreviewColours still = Frame(6, 255, false, main);
    EXPECT_EQ(LightOf(still, key::O), Lit(main));
    EXPECT_EQ(Frame(6, 255, false, main), still);

    frame = ResetAndFrame(18);  // phase 2, ring k at entry 2 + 21(k + 1)
    EXPECT_EQ(LightOf(frame, key::O), Lit(Rgb(255, 152, 0)));
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Rgb(2, 255, 0)));
    preview_.ResetPreview();
    frame = Frame(18, 0);  // below 0 the phase jumps to 192
    EXPECT_EQ(LightOf(frame, key::O), Lit(Rgb(255, 129, 0)));
}

TEST_F(LightingPreviewTest, SparkleLightsThreeKeysPerFrameWithScriptedHues) {
    PreviewColours frame = Frame(10, 255, true);
    // Sequence positions 1-3: sweep 24, 101 and 57, hues 7, 300 mod 255, 509 mod 255; level 235.
    EXPECT_EQ(LightOf(frame, key::RightAlt), Lit(Rgb(235, 20, 0)));
    EXPECT_EQ(LightOf(frame, key::K), Lit(Rgb(86, 235, 0)));
    EXPECT_EQ(LightOf(frame, key::IsoBackslash), Lit(Rgb(1, 235, 0)));
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::RightAlt, key::K, key::IsoBackslash}));

    frame = Frame(10);
    EXPECT_EQ(LightOf(frame, key::RightAlt), Lit(Grey(215)));
    EXPECT_EQ(LightOf(frame, key::Grave), Lit(Grey(235)));
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::RightAlt, key::K, key::IsoBackslash,
                                                  key::Grave, key::RightShift, key::NumMinus}));
    EXPECT_EQ(seeds_, 2);
}

TEST(LightingPreview, TheSameRandomNumbersGiveTheSameSparkles) {
    const auto run = [](std::vector<unsigned> numbers) {
        LightingPreview preview(std::make_unique<ScriptedRandom>(std::move(numbers)));
        std::vector<PreviewColours> frames;
        for (int i = 0; i < 4; ++i) {
            frames.push_back(preview.PreviewFrame({10, 255, true, 0}));
        }
        return frames;
    };
    EXPECT_EQ(run({5, 90, 170}), run({5, 90, 170}));
    EXPECT_NE(run({5, 90, 170}), run({6, 90, 170}));
}

TEST_F(LightingPreviewTest, WaveRisesFromBelowColumnNine) {
    EXPECT_TRUE(BrightKeys(Frame(13)).empty());
    PreviewColours frame = Frame(13);
    EXPECT_EQ(BrightKeys(frame), std::set<KeyId>{key::RightAlt});
    EXPECT_EQ(LightOf(frame, key::RightAlt), Lit(Grey(175)));
    // The front has split: up column 9, and right and down into Right Alt's second cell.
    frame = Frame(13);
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::RightAlt, key::Comma}));
    EXPECT_EQ(LightOf(frame, key::Comma), Lit(Grey(175)));
    EXPECT_EQ(LightOf(frame, key::RightAlt), Lit(Grey(175)));
}

TEST_F(LightingPreviewTest, CornerWaveSpreadsDiagonallyFromTheTopLeft) {
    EXPECT_TRUE(BrightKeys(ResetAndFrame(16)).empty());
    PreviewColours frame = Frame(16);
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::Grave, key::Esc}));
    frame = Frame(16);
    EXPECT_EQ(LightOf(frame, key::Tab), Lit(Grey(235)));
    EXPECT_EQ(LightOf(frame, key::Digit1), Lit(Grey(235)));
    EXPECT_EQ(LightOf(frame, key::F1), Lit(Grey(235)));
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(215)));
    EXPECT_EQ(BrightKeys(frame),
              (std::set<KeyId>{key::Grave, key::Esc, key::Tab, key::Digit1, key::F1}));
}

TEST_F(LightingPreviewTest, RainDropsFallOneRowPerFrame) {
    PreviewColours frame = ResetAndFrame(15);
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::F7, key::F10, key::PrintScreen}));
    frame = Frame(15);
    // New drops in columns 3, 6 and 9; the old ones one row lower; the reset's seed rising at 9.
    for (KeyId key :
         {key::F1, key::F4, key::F6, key::RightAlt, key::Digit9, key::Equals, key::Insert}) {
        EXPECT_EQ(LightOf(frame, key), Lit(Grey(235))) << key;
    }
    for (KeyId key : {key::F7, key::F10, key::PrintScreen}) {
        EXPECT_EQ(LightOf(frame, key), Lit(Grey(215))) << key;
    }
    EXPECT_EQ(BrightKeys(frame).size(), 10u);
}

TEST_F(LightingPreviewTest, TypingScriptStrikesItsRowsAndKeysFadeByTheTypingBands) {
    PreviewColours frame = ResetAndFrame(14, true);
    // Hue counter 1, plus 11 per key struck: Esc hue 12, Num Enter hue 23; level 255 - 30.
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Rgb(225, 44, 0)));
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Rgb(225, 134, 0)));
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::Esc, key::NumEnter}));

    frame = ResetAndFrame(14);
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(225)));
    const uint8_t escLevels[] = {195, 165, 135, 105, 85, 65, 45, 35, 25, 20, 15, 14, 13};
    frame = Frame(14);
    EXPECT_EQ(LightOf(frame, key::F1), Lit(Grey(225)));
    EXPECT_EQ(LightOf(frame, key::NumDot), Lit(Grey(225)));
    for (uint8_t level : escLevels) {
        EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(level)));
        frame = Frame(14);
    }
}

TEST_F(LightingPreviewTest, TypingScriptWaitsForLToGoDarkAfterTheLastPair) {
    // 20 rows, then pairs 0-30; L, struck with pair 28, still glows after frame 51.
    PreviewColours previous = ResetAndFrame(14);
    for (int frame = 2; frame <= 51; ++frame) {
        previous = Frame(14);
    }
    int waited = 0;
    while (LightOf(previous, key::L).colour != 0 && waited < 100) {
        const PreviewColours frame = Frame(14);
        for (KeyId key : kSweepOrder) {
            EXPECT_LE(LightOf(frame, key).colour, LightOf(previous, key).colour) << key;
        }
        previous = frame;
        ++waited;
    }
    EXPECT_GT(waited, 10);
    EXPECT_EQ(LightOf(previous, key::L).colour, 0u);
}

TEST_F(LightingPreviewTest, TypingScriptSpreadsFromPAndThenStartsOver) {
    const PreviewColours first = ResetAndFrame(14);
    bool wholeBoardLit = false;
    bool startedOver = false;
    for (int i = 0; i < 400 && !startedOver; ++i) {
        const PreviewColours frame = Frame(14);
        wholeBoardLit = wholeBoardLit || BrightKeys(frame).size() == kSweepOrder.size();
        startedOver = frame == first;
    }
    EXPECT_TRUE(wholeBoardLit);
    EXPECT_TRUE(startedOver);
}

TEST_F(LightingPreviewTest, ResetRestartsTheScriptedEffectsButKeepsThePhases) {
    Frame(4);
    Frame(14);
    Frame(14);
    Frame(10);
    PreviewColours frame = ResetAndFrame(14);
    EXPECT_EQ(LightOf(frame, key::Esc), Lit(Grey(225)));
    EXPECT_EQ(LightOf(frame, key::NumEnter), Lit(Grey(225)));
    EXPECT_EQ(LightOf(frame, key::F2), Lit(0));
    // The sparkles of effect 10 are gone from the shared cells; rain starts clean.
    frame = ResetAndFrame(15);
    EXPECT_EQ(BrightKeys(frame), (std::set<KeyId>{key::F7, key::F10, key::PrintScreen}));
    preview_.ResetPreview();
    EXPECT_EQ(LightOf(Frame(4), key::Esc), Lit(Rgb(255, 10, 0)));  // entry 4 follows entry 2
}

// The window stops the preview's timer for a still effect after one frame: a still effect must
// draw that frame again and again, and an animated one must move.
TEST_F(LightingPreviewTest, StillEffectsRepeatTheirFrameAndAnimatedOnesMove) {
    for (const LightingEffect& effect : LightingEffects()) {
        for (const bool multicolour : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "effect " << int{effect.code} << " multicolour " << multicolour);
            preview_.ResetPreview();
            const PreviewColours first = Frame(effect.code, 255, multicolour);
            bool moved = false;
            for (int frame = 0; frame < 60 && !moved; ++frame) {
                moved = Frame(effect.code, 255, multicolour) != first;
            }
            EXPECT_EQ(moved, effect.motion == PreviewMotion::Animated);
        }
    }
}

TEST_F(LightingPreviewTest, EffectsWithoutAPreviewClearEveryButtonAndPerKeyColoursStay) {
    for (int effect : {0, 7, 8, 9, 17, 19, 21, 255}) {
        for (const KeyLight& light : Frame(static_cast<uint8_t>(effect))) {
            EXPECT_EQ(light.state, KeyLight::State::Cleared) << effect;
        }
    }
    for (const KeyLight& light : Frame(20)) {
        EXPECT_EQ(light.state, KeyLight::State::Unchanged);
    }
}

}  // namespace
}  // namespace zarvin
