#include "sim/SimImageKeeper.h"

#include <system_error>

#include "sim/SimKeyboard.h"

namespace zarvin::sim {

namespace fs = std::filesystem;

SimImageKeeper::SimImageKeeper(SimKeyboard& keyboard, fs::path file)
    : keyboard_(keyboard), file_(std::move(file)) {}

bool SimImageKeeper::Load(std::string& error) {
    std::error_code missing;
    if (fs::exists(file_, missing) && !keyboard_.LoadImage(file_, error)) {
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
