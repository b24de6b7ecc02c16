#pragma once

// The composite key editor itself, over the stand-in keyboard, showing one of its four pages
// with contents: a key taken from the keyboard, a recorded macro, a multimedia function and a
// keyboard function.

#include <QImage>
#include <filesystem>

namespace zarvin::preview {

enum class CompositePage { Key, Macro, Media, Function };

QImage RenderCompositeEditor(const std::filesystem::path& programFolder, CompositePage page);

}  // namespace zarvin::preview
