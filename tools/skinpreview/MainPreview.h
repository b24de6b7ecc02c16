#pragma once

// The main window as its skin shows it: every image button placed with its faces, the lighting
// panel's controls, and a plausible state (profile 1 active, some keys assigned, lighting on).

#include <QImage>
#include <filesystem>

#include "Texts.h"

namespace zarvin::preview {

enum class MainScene {
    Effect,     // a lighting effect with its colour, speed and direction controls
    KeyColours  // effect 20: the user-mode tools and per-key colours on the keys
};

QImage RenderMainWindow(const std::filesystem::path& programFolder, const Texts& texts,
                        MainScene scene);

}  // namespace zarvin::preview
