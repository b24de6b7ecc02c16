// Writes the udev rule from its template: the lines that match the supported keyboards and the
// list of their ids come from the keyboard model table, the helper's installed path from the
// build.
//   zarvin_udevrulegen TEMPLATE OUTPUT HELPER

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "keyboard/KeyboardModel.h"

namespace {

// One match per model, on the parent HID device's name "0003:VVVV:PPPP.NNNN" (bus USB).
std::string MatchLines() {
    std::string lines;
    for (const zarvin::KeyboardModel& model : zarvin::KeyboardModels()) {
        char line[80];
        std::snprintf(line, sizeof line, "KERNELS==\"0003:%04X:%04X.*\", GOTO=\"zarvin_keyboard\"\n",
                      model.vendorId, model.productId);
        lines += line;
    }
    return lines;
}

bool Replace(std::string& text, std::string_view placeholder, std::string_view value) {
    const size_t at = text.find(placeholder);
    if (at == std::string::npos) {
        std::cerr << "the template has no " << placeholder << '\n';
        return false;
    }
    text.replace(at, placeholder.size(), value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: zarvin_udevrulegen TEMPLATE OUTPUT HELPER\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::cerr << "cannot read " << argv[1] << '\n';
        return 1;
    }
    // The match lines stand on their own line in the template; the placeholder's line end goes
    // with it.
    if (!Replace(text, "@ZARVIN_KEYBOARD_IDS@", zarvin::SupportedIdsText("and")) ||
        !Replace(text, "@ZARVIN_KEYBOARD_MATCHES@\n", MatchLines()) ||
        !Replace(text, "@ZARVIN_UDEV_HELPER@", argv[3])) {
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
