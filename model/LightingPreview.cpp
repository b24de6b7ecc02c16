#include "model/LightingPreview.h"

#include "model/LightingEffects.h"

#include <cstdlib>
#include <ctime>

namespace zarvin {
namespace {

using namespace preview;

constexpr int kNoPosition = -1;
enum Plane : size_t { kA, kB, kC, kD };

// Where each key of the tables sits among the buttons and in the sweep order, worked out once.
struct KeyIndexes {
    std::array<size_t, kSweepKeyCount> buttonOfSweep{};
    std::array<std::array<int, kGridRows>, kGridColumns> sweepOfGrid{};
    std::array<int, kSweepKeyCount> ringOfSweep{};
};

int SweepPositionOf(KeyId key) {
    for (int i = 0; i < kSweepKeyCount; ++i) {
        if (kSweepOrder[static_cast<size_t>(i)] == key) {
            return i;
        }
    }
    return kNoPosition;
}

size_t ButtonIndexOf(KeyId key) {
    const auto buttons = KeyButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        const bool isFn = buttons[i].kind == KeyButtonKind::Fn;
        if ((key == key::Fn && isFn) ||
            (buttons[i].kind == KeyButtonKind::Key && buttons[i].keyCode == key)) {
            return i;
        }
    }
    return buttons.size();
}

KeyIndexes BuildKeyIndexes() {
    KeyIndexes indexes;
    for (size_t i = 0; i < kSweepOrder.size(); ++i) {
        indexes.buttonOfSweep[i] = ButtonIndexOf(kSweepOrder[i]);
    }
    for (size_t c = 0; c < kGrid.size(); ++c) {
        for (size_t r = 0; r < kGrid[c].size(); ++r) {
            indexes.sweepOfGrid[c][r] =
                kGrid[c][r] == kNoKey ? kNoPosition : SweepPositionOf(kGrid[c][r]);
        }
    }
    indexes.ringOfSweep.fill(kNoPosition);
    for (size_t ring = 0; ring < kRings.size(); ++ring) {
        for (KeyId key : kRings[ring]) {
            const int position = SweepPositionOf(key);
            if (position != kNoPosition) {
                indexes.ringOfSweep[static_cast<size_t>(position)] = static_cast<int>(ring);
            }
        }
    }
    return indexes;
}

const KeyIndexes& Indexes() {
    static const KeyIndexes indexes = BuildKeyIndexes();
    return indexes;
}

uint32_t Palette(int hue) {
    return kRainbow[static_cast<size_t>(hue % kPaletteSize)];
}

uint32_t Scaled(uint32_t colour, unsigned level) {
    uint32_t scaled = 0;
    for (unsigned shift = 0; shift < 24; shift += 8) {
        scaled |= ((colour >> shift & 0xFFu) * level / 255u) << shift;
    }
    return scaled;
}

// Moves value by amount within 0..size-1, up for a non-zero direction and down for 0.
int Step(uint8_t direction, int value, int amount, int size) {
    if (direction != 0) {
        const int next = value + amount;
        return next >= size ? next - size : next;
    }
    const int next = value - amount;
    return next < 0 ? next + size : next;
}

uint8_t Decayed(uint8_t level, const DecayBands& bands) {
    uint8_t drop = 0;
    if (level >= 128) {
        drop = bands.from128;
    } else if (level >= 64) {
        drop = bands.from64;
    } else if (level >= 32) {
        drop = bands.from32;
    } else if (level >= 17) {
        drop = bands.from17;
    } else if (level >= 1) {
        drop = bands.from1;
    }
    return static_cast<uint8_t>(level - drop);
}

void Light(PreviewColours& out, size_t sweepPosition, uint32_t colour) {
    const size_t button = Indexes().buttonOfSweep[sweepPosition];
    if (button < out.size()) {
        out[button] = {KeyLight::State::Lit, colour};
    }
}

void LightSweep(PreviewColours& out, auto colourOfPosition) {
    for (size_t i = 0; i < kSweepOrder.size(); ++i) {
        Light(out, i, colourOfPosition(static_cast<int>(i)));
    }
}

// A wide key fills two cells and takes the colour of the later one.
void LightGrid(PreviewColours& out, auto colourOfCell) {
    for (size_t c = 0; c < kGridColumns; ++c) {
        for (size_t r = 0; r < kGridRows; ++r) {
            const int position = Indexes().sweepOfGrid[c][r];
            if (position != kNoPosition) {
                Light(out, static_cast<size_t>(position),
                      colourOfCell(static_cast<int>(c), static_cast<int>(r)));
            }
        }
    }
}

// Ends a cell-based frame: every key's level fades, then the key shows its colour at that level.
void DecayAndShow(auto& cells, const DecayBands& bands, const PreviewSettings& settings,
                  PreviewColours& out) {
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i].level = Decayed(cells[i].level, bands);
        const uint32_t colour = settings.multicolour ? Palette(cells[i].hue) : settings.mainColour;
        Light(out, i, Scaled(colour, cells[i].level));
    }
}

uint8_t PlaneBits(const auto& planes, size_t column) {
    return static_cast<uint8_t>(planes[kA][column] | planes[kB][column] | planes[kC][column] |
                                planes[kD][column]);
}

void SetInAllPlanes(auto& planes, size_t column, uint8_t bit) {
    for (auto& plane : planes) {
        plane[column] = static_cast<uint8_t>(plane[column] | bit);
    }
}

uint8_t Down(uint8_t bits) {
    return static_cast<uint8_t>(bits << 1);
}

uint8_t Up(uint8_t bits) {
    return static_cast<uint8_t>(bits >> 1);
}

// Each plane's bits move one row and one column per frame, away from where they were set.
void SpreadMove(auto& planes) {
    const auto before = planes;
    constexpr size_t kLast = kGridColumns - 1;
    for (size_t c = 0; c < kLast; ++c) {
        planes[kA][c] = static_cast<uint8_t>(Down(before[kA][c]) | before[kA][c + 1]);
        planes[kD][c] = static_cast<uint8_t>(Up(before[kD][c]) | before[kD][c + 1]);
    }
    planes[kA][kLast] = Down(before[kA][kLast]);
    planes[kD][kLast] = Up(before[kD][kLast]);
    for (size_t c = 1; c < kGridColumns; ++c) {
        planes[kB][c] = static_cast<uint8_t>(Down(before[kB][c]) | before[kB][c - 1]);
        planes[kC][c] = static_cast<uint8_t>(Up(before[kC][c]) | before[kC][c - 1]);
    }
    planes[kB][0] = Down(before[kB][0]);
    planes[kC][0] = Up(before[kC][0]);
}

// Lit rows fall in planes A and B and rise in C and D.
void FallMove(auto& planes) {
    for (size_t c = 0; c < kGridColumns; ++c) {
        planes[kA][c] = Down(planes[kA][c]);
        planes[kB][c] = Down(planes[kB][c]);
        planes[kC][c] = Up(planes[kC][c]);
        planes[kD][c] = Up(planes[kD][c]);
    }
}

// Clears the busy flag of an effect when its frame ends.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& busy_;
};

}  // namespace

void TimeSeededRandom::SeedWithTime() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

unsigned TimeSeededRandom::Next() {
    return static_cast<unsigned>(std::rand());
}

LightingPreview::LightingPreview() : LightingPreview(std::make_unique<TimeSeededRandom>()) {}

LightingPreview::LightingPreview(std::unique_ptr<PreviewRandom> random)
    : random_(std::move(random)) {}

void LightingPreview::ResetPreview() {
    typingPhase_ = 0;
    typingHue_ = 0;
    stepCounter_ = 0;
    sharedCells_.fill({});
    cornerCells_.fill({});
    for (auto& plane : rainPlanes_) {
        plane.fill(0);
    }
    SetInAllPlanes(rainPlanes_, 9, 0x40);
    for (auto& plane : cornerPlanes_) {
        plane.fill(0);
    }
    SetInAllPlanes(cornerPlanes_, 1, 0x01);
}

PreviewColours LightingPreview::PreviewFrame(const PreviewSettings& settings) {
    PreviewColours out{};
    const uint8_t effect = settings.effect;
    const PreviewDrawer draw = LightingEffectOf(effect).preview;
    if (draw == nullptr) {
        out.fill({KeyLight::State::Cleared, 0});
        return out;
    }
    if (busy_[effect]) {
        return out;
    }
    const BusyGuard guard(busy_[effect]);
    (this->*draw)(settings, out);
    out[ButtonIndexOf(kSharedCellKey)] = out[ButtonIndexOf(kSharedCellOwner)];
    return out;
}

void LightingPreview::DrawColumns(const PreviewSettings& settings, PreviewColours& out) {
    if (settings.multicolour) {
        columnsPhase_ = Step(settings.direction, columnsPhase_, 9, kPaletteSize);
        LightGrid(out, [&](int c, int) { return Palette(columnsPhase_ + 9 * c); });
        return;
    }
    columnsPhase_ = Step(settings.direction, columnsPhase_, 7, kBreathingSize);
    LightGrid(out, [&](int c, int) {
        return Scaled(settings.mainColour,
                      kBreathing[static_cast<size_t>((columnsPhase_ + 7 * c) % kBreathingSize)]);
    });
}

void LightingPreview::DrawComet(const PreviewSettings& settings, PreviewColours& out) {
    if (settings.multicolour) {
        cometPhase_ = Step(settings.direction, cometPhase_, 4, kPaletteSize);
        LightGrid(out, [&](int c, int) { return Palette(cometPhase_ + 5 * c); });
        return;
    }
    cometPhase_ = Step(255, cometPhase_, 4, 128);
    // The comet's index walks the columns from the phase; index 128 is the dark end of the table.
    std::array<uint32_t, kGridColumns> columnColours{};
    int k = cometPhase_;
    for (uint32_t& colour : columnColours) {
        if (settings.direction != 0) {
            k += 5;
            if (k > 128) {
                k -= 128;
            }
        } else {
            k -= 5;
            if (k < 0) {
                k += 128;
            }
        }
        colour = Scaled(settings.mainColour, kComet[static_cast<size_t>(k)]);
    }
    LightGrid(out, [&](int c, int) { return columnColours[static_cast<size_t>(c)]; });
}

void LightingPreview::DrawSweep(const PreviewSettings& settings, PreviewColours& out) {
    if (settings.multicolour) {
        sweepPhase_ = Step(settings.direction, sweepPhase_, 4, kPaletteSize);
        LightSweep(out, [&](int i) { return Palette(sweepPhase_ + 5 * i); });
        return;
    }
    sweepPhase_ = Step(settings.direction, sweepPhase_, 4, kBreathingSize);
    LightSweep(out, [&](int i) {
        return Scaled(settings.mainColour,
                      kBreathing[static_cast<size_t>((sweepPhase_ + 5 * i) % kBreathingSize)]);
    });
}

void LightingPreview::DrawHueCycle(const PreviewSettings& settings, PreviewColours& out) {
    cyclePhase_ = Step(settings.direction, cyclePhase_, 2, kPaletteSize);
    LightSweep(out, [&](int) { return Palette(cyclePhase_); });
}

void LightingPreview::DrawPulse(const PreviewSettings& settings, PreviewColours& out) {
    pulsePhase_ = Step(255, pulsePhase_, 2, kPulseSize);
    const uint8_t level = kPulse[static_cast<size_t>(pulsePhase_)];
    LightGrid(out, [&](int c, int) {
        return Scaled(settings.multicolour ? Palette(7 * c) : settings.mainColour, level);
    });
}

void LightingPreview::DrawRings(const PreviewSettings& settings, PreviewColours& out) {
    LightSweep(out, [&](int i) {
        const int ring = Indexes().ringOfSweep[static_cast<size_t>(i)];
        return settings.multicolour ? Palette(131 - 11 * ring) : settings.mainColour;
    });
}

void LightingPreview::DrawSparkle(const PreviewSettings& settings, PreviewColours& out) {
    random_->SeedWithTime();
    for (int spark = 0; spark < 3; ++spark) {
        sparklePosition_ = (sparklePosition_ + 1) % kSweepKeyCount;
        Cell& cell = sharedCells_[kSparkleSequence[static_cast<size_t>(sparklePosition_)]];
        cell.level = 255;
        cell.hue = static_cast<uint8_t>(random_->Next() % 255);
    }
    DecayAndShow(sharedCells_, kCommonDecay, settings, out);
}

void LightingPreview::DrawHueDrift(const PreviewSettings&, PreviewColours& out) {
    if (!driftHuesSet_) {
        // 33 apart around the palette, each key starting where the one before it left off.
        int hue = 0;
        for (uint8_t& keyHue : driftHues_) {
            hue += 33;
            if (hue > kPaletteSize) {
                hue -= kPaletteSize;
            }
            keyHue = static_cast<uint8_t>(hue);
        }
        driftHuesSet_ = true;
    }
    for (uint8_t& keyHue : driftHues_) {
        keyHue = static_cast<uint8_t>(keyHue + 3 >= kPaletteSize ? 0 : keyHue + 3);
    }
    LightSweep(out, [&](int i) { return Palette(driftHues_[static_cast<size_t>(i)]); });
}

void LightingPreview::LightStep(const PlaneSet& planes, CellSet& cells, bool multicolour) {
    random_->SeedWithTime();
    for (size_t c = 0; c < kGridColumns; ++c) {
        const uint8_t bits = PlaneBits(planes, c);
        for (size_t r = 0; r < kGridRows; ++r) {
            const int position = Indexes().sweepOfGrid[c][r];
            if ((bits >> r & 1u) == 0 || position == kNoPosition) {
                continue;
            }
            Cell& cell = cells[static_cast<size_t>(position)];
            cell.level = 255;
            if (multicolour) {
                cell.hue = static_cast<uint8_t>(random_->Next() % 255);
            }
        }
    }
}

void LightingPreview::DrawRows(const PreviewSettings& settings, PreviewColours& out) {
    rowsPhase_ = Step(settings.direction, rowsPhase_, 3, kPaletteSize);
    LightGrid(out, [&](int, int r) { return Palette(rowsPhase_ + 32 * r); });
}

void LightingPreview::DrawWave(const PreviewSettings& settings, PreviewColours& out) {
    constexpr size_t kColumn = 9;
    if (!waveSeeded_) {
        SetInAllPlanes(wavePlanes_, kColumn, 0x40);
        waveSeeded_ = true;
    }
    // A wave that reached the top row starts one from below the grid, and the other way round.
    const uint8_t front = PlaneBits(wavePlanes_, kColumn);
    if (front == 0x01) {
        SetInAllPlanes(wavePlanes_, kColumn, 0x01);
    } else if (front == 0x40) {
        SetInAllPlanes(wavePlanes_, kColumn, 0x40);
    }
    LightStep(wavePlanes_, waveCells_, settings.multicolour);
    SpreadMove(wavePlanes_);
    DecayAndShow(waveCells_, kWaveDecay, settings, out);
}

void LightingPreview::DrawTyping(const PreviewSettings& settings, PreviewColours& out) {
    const auto strike = [&](KeyId key, int hueStep) {
        Cell& cell = typingCells_[static_cast<size_t>(SweepPositionOf(key))];
        cell.level = 255;
        if (settings.multicolour) {
            typingHue_ = static_cast<uint8_t>(typingHue_ + hueStep);
            cell.hue = typingHue_;
        }
    };
    const auto levelOf = [&](KeyId key) {
        return typingCells_[static_cast<size_t>(SweepPositionOf(key))].level;
    };
    ++typingHue_;
    switch (typingPhase_) {
        case 0:
            for (KeyId key : kTypingRows[stepCounter_]) {
                strike(key, 11);
            }
            if (++stepCounter_ == kTypingRowCount) {
                stepCounter_ = 0;
                typingPhase_ = 1;
            }
            break;
        case 1:
            if (stepCounter_ <= 30) {
                for (KeyId key : kTypingPairs[stepCounter_ % kTypingPairCount]) {
                    strike(key, 1);
                }
                ++stepCounter_;
            }
            if (stepCounter_ > 30 && levelOf(key::L) == 0) {
                stepCounter_ = 0;
                typingPhase_ = 2;
            }
            break;
        case 2:
            // P's cell: column 11, row 2.
            SetInAllPlanes(typingPlanes_, 11, 1u << 2);
            typingPhase_ = 3;
            break;
        case 3:
            LightStep(typingPlanes_, typingCells_, settings.multicolour);
            SpreadMove(typingPlanes_);
            if (levelOf(key::LeftCtrl) != 0) {
                typingPhase_ = 4;
            }
            break;
        default:
            if (levelOf(key::LeftCtrl) == 0) {
                stepCounter_ = 0;
                typingPhase_ = 0;
            }
            break;
    }
    DecayAndShow(typingCells_, kTypingDecay, settings, out);
}

void LightingPreview::DrawRain(const PreviewSettings& settings, PreviewColours& out) {
    int column = (stepCounter_ + 7) % kGridColumns;
    for (int drop = 0; drop < 3; ++drop) {
        column = (column + 3) % kGridColumns;
        SetInAllPlanes(rainPlanes_, static_cast<size_t>(column), 0x01);
    }
    stepCounter_ = static_cast<uint8_t>(column);
    LightStep(rainPlanes_, sharedCells_, settings.multicolour);
    FallMove(rainPlanes_);
    DecayAndShow(sharedCells_, kCommonDecay, settings, out);
}

void LightingPreview::DrawCornerWaves(const PreviewSettings& settings, PreviewColours& out) {
    constexpr size_t kLeft = 1;
    constexpr size_t kRight = kGridColumns - 1;
    if (PlaneBits(cornerPlanes_, kLeft) == 0x01) {
        SetInAllPlanes(cornerPlanes_, kLeft, 0x01);
    }
    if (PlaneBits(cornerPlanes_, kRight) == 0x40) {
        SetInAllPlanes(cornerPlanes_, kRight, 0x40);
    }
    LightStep(cornerPlanes_, cornerCells_, settings.multicolour);
    SpreadMove(cornerPlanes_);
    DecayAndShow(cornerCells_, kCommonDecay, settings, out);
}

void LightingPreview::DrawRingSweep(const PreviewSettings& settings, PreviewColours& out) {
    int phase = stepCounter_;
    if (settings.direction != 0) {
        phase += 2;
        if (phase >= kPaletteSize) {
            phase = 0;
        }
    } else {
        phase = phase < 2 ? kPaletteSize : phase - 2;
    }
    stepCounter_ = static_cast<uint8_t>(phase);
    LightSweep(out, [&](int i) {
        const int ring = Indexes().ringOfSweep[static_cast<size_t>(i)];
        return Palette(phase + 21 * (ring + 1));
    });
}

void LightingPreview::LeaveKeyColours(const PreviewSettings&, PreviewColours&) {}

}  // namespace zarvin
