#pragma once

// Reading skin pictures. Any format Qt's image readers know (BMP, JPEG, PNG, GIF, ICO) is
// accepted, recognised by the file's content rather than its name.
//
// A window's background and mask are essential: without them the window cannot be shown, so a
// picture that cannot be read ends the process. It ends with kSkinPictureExitCode and one line
// on standard error naming the file, through a handler that tests replace.

#include <QImage>
#include <filesystem>
#include <functional>

namespace zarvin {

inline constexpr int kSkinPictureExitCode = 1;

// The picture in `file`; a null image when it cannot be read or decoded.
QImage ReadPicture(const std::filesystem::path& file);

// High-density screens: every skin picture "name.ext" has a twin "name@2x.ext", twice as wide
// and high. At a device pixel ratio above 1 the windows read the twins, with their device pixel
// ratio set to 2, so that they keep their size in the layout and draw as sharp as the text.
// SkinPictureScale() is 2 there and 1 otherwise; a test may set the scale (0 follows the
// screens again).
int SkinPictureScale();
void SetSkinPictureScale(int scale);
std::filesystem::path TwinOf(const std::filesystem::path& file, int scale);
// The picture for the scale: the twin when the scale is 2 and the twin can be read, else the
// picture itself.
QImage ReadScaledPicture(const std::filesystem::path& file);

// Called with the unreadable file and the exit code. The default handler prints
// "cannot read skin picture: <file>" on standard error and ends the process with `exitCode`.
using SkinPictureFailureHandler =
    std::function<void(const std::filesystem::path& file, int exitCode)>;

// Installs `handler` (an empty one restores the default) and returns the one it replaces.
// Only the user-interface thread reads skins, so no lock guards the handler.
SkinPictureFailureHandler SetSkinPictureFailureHandler(SkinPictureFailureHandler handler);

// The picture in `file` at the scale (ReadScaledPicture). When it cannot be read the failure
// handler runs; should it return (tests), the result is a null image.
QImage LoadSkinPicture(const std::filesystem::path& file);

}  // namespace zarvin
