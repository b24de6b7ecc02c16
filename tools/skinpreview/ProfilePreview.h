#pragma once

// The profile dialog as its skin shows it: the list of the three profiles and its buttons.

#include <QImage>
#include <filesystem>

namespace zarvin::preview {

QImage RenderProfileDialog(const std::filesystem::path& programFolder);

}  // namespace zarvin::preview
