#include "SkinFile.h"

#include <fstream>
#include <stdexcept>

namespace zarvin::skingen {
namespace {

void WriteSection(std::ofstream& out, const char* name, const std::vector<LayoutRect>& entries) {
    out << "\n[" << name << "]\n";
    for (const LayoutRect& entry : entries) {
        out << entry.key << '=' << entry.rect.x() << ',' << entry.rect.y() << ','
            << entry.rect.width() << ',' << entry.rect.height() << '\n';
    }
}

}  // namespace

void WriteSkinFile(const std::filesystem::path& file, const SkinFile& skin) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "[SCREEN]\nMain=" << skin.background << "\nMask=" << skin.mask << '\n';
    if (!skin.link.empty()) {
        out << "Link=" << skin.link << '\n';
    }
    WriteSection(out, "BUTTONINFO", skin.buttonInfo);
    if (!skin.buttonInfo2.empty()) {
        WriteSection(out, "BUTTONINFO2", skin.buttonInfo2);
    }
    out.flush();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

}  // namespace zarvin::skingen
