#pragma once

// Shows a skinned window on the offscreen platform and takes its picture: what the window
// draws, transparent outside its outline (its mask), as the desktop would show it.

#include <QImage>
#include <filesystem>

class QWidget;

namespace zarvin::preview {

QImage CaptureWindow(QWidget& window);

// Throws std::runtime_error naming the file when it cannot be written.
void SavePicture(const QImage& picture, const std::filesystem::path& file);

}  // namespace zarvin::preview
