#pragma once

// The main window itself over the stand-in keyboard, which the window finds with its own device
// threads, in per-user folders that vanish afterwards. The keyboard's active profile carries a
// few assignments (a remapped key, a macro on G1, media keys, a keyboard function); each picture
// puts the window into the state it shows.

#include <QImage>
#include <filesystem>
#include <memory>

namespace zarvin::preview {

class MainWindowScene {
public:
    // Throws std::runtime_error when the window does not connect to the stand-in keyboard or
    // the keyboard refuses the assignments.
    explicit MainWindowScene(const std::filesystem::path& programFolder);
    ~MainWindowScene();
    MainWindowScene(const MainWindowScene&) = delete;
    MainWindowScene& operator=(const MainWindowScene&) = delete;

    // Lighting switch off: the keys that carry an assignment in their selected look.
    QImage Assignments();
    // Switch on, custom key colours (effect 20): painted keys, the others in the base colour.
    QImage UserMode();
    // Switch on, the wave effect a few preview frames after it was chosen.
    QImage Animated();
    // Lighting switch off, the top row flipped to D1-D6, and the status line after an export.
    QImage FlippedWithStatus();
    // The about box, beside the window.
    QImage About();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace zarvin::preview
