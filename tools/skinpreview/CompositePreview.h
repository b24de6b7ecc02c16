#pragma once

// The composite key editor as its skin shows it, on one of its four pages.

#include <QImage>
#include <filesystem>

#include "Texts.h"

namespace zarvin::preview {

enum class CompositePage { Key, Macro, Media, Function };

QImage RenderCompositeEditor(const std::filesystem::path& programFolder, const Texts& texts,
                             CompositePage page);

}  // namespace zarvin::preview
