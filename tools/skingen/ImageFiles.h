#pragma once

// Saving the skin's pictures. State images are JPEG, as the windows name them, at a quality
// that keeps legends sharp; masks are PNG so that their white stays exactly white; the lighting
// panel's pictures are BMP. At drawing scale 2 each goes under its twin's name ("name@2x.ext").
// Each throws std::runtime_error naming the file on failure.

#include <QImage>
#include <filesystem>

namespace zarvin::skingen {

void SaveJpeg(const QImage& image, const std::filesystem::path& file);
void SavePng(const QImage& image, const std::filesystem::path& file);
void SaveBmp(const QImage& image, const std::filesystem::path& file);

}  // namespace zarvin::skingen
