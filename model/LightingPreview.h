#pragma once

// The animated preview of the lighting effects on the on-screen keyboard. Each call draws one
// frame of the effect from fixed tables and a few fields of the lighting record; the caller
// shows the result as the key buttons' outline colours. Nothing is sent to the keyboard.

#include <array>
#include <cstdint>
#include <memory>

#include "model/KeyboardLayout.h"
#include "model/LightingPreviewTables.h"

namespace zarvin {

// The fields of the lighting record that the preview reads.
struct PreviewSettings {
    uint8_t effect = 1;
    uint8_t direction = 255;  // 255: first arrow; 0: second arrow
    bool multicolour = false;
    uint32_t mainColour = 0;  // red | green << 8 | blue << 16
};

// Random numbers for the sparkle, rain and wave hues. Tests pass a scripted source.
class PreviewRandom {
public:
    virtual ~PreviewRandom() = default;
    // Restart the sequence from the current time; called once per frame that needs numbers.
    virtual void SeedWithTime() = 0;
    virtual unsigned Next() = 0;
};

// The C library's generator, seeded with the time in seconds.
class TimeSeededRandom final : public PreviewRandom {
public:
    void SeedWithTime() override;
    unsigned Next() override;
};

// What a frame does to one key button.
struct KeyLight {
    enum class State : uint8_t { Unchanged, Cleared, Lit };
    State state = State::Unchanged;
    uint32_t colour = 0;  // when Lit

    friend bool operator==(const KeyLight&, const KeyLight&) = default;
};

// One entry per key button, in the order of KeyButtons().
using PreviewColours = std::array<KeyLight, kKeyButtonCount>;

class LightingPreview {
public:
    LightingPreview();
    explicit LightingPreview(std::unique_ptr<PreviewRandom> random);

    // Restarts the animations that begin anew with every effect selection.
    void ResetPreview();
    // Draws the next frame of the effect in settings.
    PreviewColours PreviewFrame(const PreviewSettings& settings);

    // One frame of one effect each; the effect table (model/LightingEffects) names them.
    void DrawColumns(const PreviewSettings& settings, PreviewColours& out);
    void DrawComet(const PreviewSettings& settings, PreviewColours& out);
    void DrawSweep(const PreviewSettings& settings, PreviewColours& out);
    void DrawHueCycle(const PreviewSettings& settings, PreviewColours& out);
    void DrawPulse(const PreviewSettings& settings, PreviewColours& out);
    void DrawRings(const PreviewSettings& settings, PreviewColours& out);
    void DrawSparkle(const PreviewSettings& settings, PreviewColours& out);
    void DrawHueDrift(const PreviewSettings& settings, PreviewColours& out);
    void DrawRows(const PreviewSettings& settings, PreviewColours& out);
    void DrawWave(const PreviewSettings& settings, PreviewColours& out);
    void DrawTyping(const PreviewSettings& settings, PreviewColours& out);
    void DrawRain(const PreviewSettings& settings, PreviewColours& out);
    void DrawCornerWaves(const PreviewSettings& settings, PreviewColours& out);
    void DrawRingSweep(const PreviewSettings& settings, PreviewColours& out);
    // The per-key colours stay as they are shown.
    void LeaveKeyColours(const PreviewSettings& settings, PreviewColours& out);

private:
    struct Cell {
        uint8_t hue = 0;
        uint8_t level = 0;
    };
    using CellSet = std::array<Cell, preview::kSweepKeyCount>;
    // Planes A, B, C and D: one byte per grid column, bit r for row r (bits 6 and 7 lie below
    // the grid and are never lit).
    using PlaneSet = std::array<std::array<uint8_t, preview::kGridColumns>, 4>;

    void LightStep(const PlaneSet& planes, CellSet& cells, bool multicolour);

    std::unique_ptr<PreviewRandom> random_;

    int columnsPhase_ = 0;     // effect 1
    int cometPhase_ = 0;       // effect 2
    int sweepPhase_ = 0;       // effect 3
    int cyclePhase_ = 0;       // effect 4
    int pulsePhase_ = 0;       // effect 5
    int rowsPhase_ = 0;        // effect 12
    uint8_t stepCounter_ = 0;  // effects 14, 15 and 18
    int typingPhase_ = 0;
    uint8_t typingHue_ = 0;
    int sparklePosition_ = 0;
    bool driftHuesSet_ = false;  // effect 11, once per run
    bool waveSeeded_ = false;    // effect 13, once per run
    std::array<uint8_t, preview::kSweepKeyCount> driftHues_{};
    CellSet sharedCells_{};  // effects 10 and 15
    CellSet waveCells_{};
    CellSet typingCells_{};
    CellSet cornerCells_{};
    PlaneSet rainPlanes_{};
    PlaneSet wavePlanes_{};
    PlaneSet typingPlanes_{};
    PlaneSet cornerPlanes_{};
    std::array<bool, 256> busy_{};  // by effect code: a frame of it is being drawn
};

}  // namespace zarvin
