#include "platform/ProgramPath.h"

#include <system_error>

namespace zarvin {

std::filesystem::path ProgramFilePath() {
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
    return program;
}

}  // namespace zarvin
