#include "sim/SimImageKeeper.h"

#include <system_error>

#include "sim/SimKeyboard.h"

namespace zarvin::sim {

namespace fs = std::filesystem;

SimImageKeeper::SimImageKeeper(SimKeyboard& keyboard, fs::path file)
    : keyboard_(keyboard), file_(std::move(file)) {}

bool SimImageKeeper::Load(std::string& error) {
    // Only a file that is not there at all keeps the memory as it is; anything else in its
    // place (a symbolic link loop, a named pipe) must be read and is refused with its reason.
    std::error_code unknown;
    if (fs::status(file_, unknown).type() != fs::file_type::not_found &&
        !keyboard_.LoadImage(file_, error)) {
        error = "the stand-in keyboard's memory in " + file_.string() +
                " cannot be used: " + error;
        return false;
    }
    kept_ = keyboard_.ImageBytes();
    return true;
}

bool SimImageKeeper::SaveIfChanged(std::string& error) {
    std::vector<uint8_t> now = keyboard_.ImageBytes();
    if (now == kept_) {
        return true;
    }
    std::error_code made;
    fs::create_directories(file_.parent_path(), made);
    if (!keyboard_.SaveImage(file_, error)) {
        error = "cannot keep the stand-in keyboard's memory in " + file_.string() + ": " + error;
        return false;
    }
    kept_ = std::move(now);
    return true;
}

}  // namespace zarvin::sim
