#include "skin/LayoutReaders.h"

#include <QRect>
#include <QWidget>

#include "skin/LayoutEntry.h"

namespace zarvin {

namespace {

QRect PlaceOf(const LayoutEntry& entry) {
    return {entry.x, entry.y, entry.w, entry.h};
}

}  // namespace

void PlaceWithFaces(CPngButton& button, const std::filesystem::path& skinFile,
                    std::string_view section, std::string_view key, const ButtonFaces& faces) {
    const LayoutEntry entry = ReadLayoutEntry(skinFile, section, key);
    button.setGeometry(PlaceOf(entry));
    button.SetFaces(entry.x, entry.y, faces);
    if (entry.x == 1 && entry.y == 1) {
        button.setEnabled(false);
    }
}

void PlaceControl(QWidget& control, const std::filesystem::path& skinFile, std::string_view section,
                  std::string_view key) {
    control.setGeometry(PlaceOf(ReadLayoutEntry(skinFile, section, key)));
}

void MoveControl(QWidget& control, const std::filesystem::path& skinFile, std::string_view section,
                 std::string_view key) {
    const LayoutEntry entry = ReadLayoutEntry(skinFile, section, key);
    control.move(entry.x, entry.y);
    control.update();
}

void PlaceWithOrigin(CPngButton& button, const std::filesystem::path& skinFile,
                     std::string_view section, std::string_view key, std::string_view originSection,
                     std::string_view originKey, const QImage* face) {
    button.setGeometry(PlaceOf(ReadLayoutEntry(skinFile, section, key)));
    const LayoutEntry origin = ReadLayoutEntry(skinFile, originSection, originKey);
    button.SetFaces(origin.x, origin.y, ButtonFaces{face, face, face, face, face});
}

}  // namespace zarvin
