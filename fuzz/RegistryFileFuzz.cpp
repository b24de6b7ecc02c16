// Reads arbitrary bytes as the registry stand-in, then writes values to it, and checks the
// promises it makes to its callers:
//   - a value read as present has the type asked for;
//   - a write that succeeds reads back, and leaves every other value the file had as it read
//     before;
//   - a write that fails leaves the file as it was.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "FuzzFiles.h"
#include "store/RegistryFile.h"
#include "platform/WholeFile.h"

namespace {

using namespace zarvin;
using fuzz::Require;

constexpr std::string_view kKey = "Software\\VX77HUE_8246";
constexpr std::string_view kNames[] = {"dwLanguageId", "Name", "MinSize", "", "x"};

struct Seen {
    RegistryValue<uint32_t> dword;
    RegistryValue<std::string> text;
};

Seen Read(const RegistryFile& registry, std::string_view name) {
    return {registry.ReadDword(kKey, name), registry.ReadString(kKey, name)};
}

bool Same(const Seen& a, const Seen& b) {
    return a.dword.state == b.dword.state && a.dword.value == b.dword.value &&
           a.text.state == b.text.state && a.text.value == b.text.value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const RegistryFile registry(fuzz::ScratchFile("registry.reg", bytes));
    Seen before[std::size(kNames)];
    for (size_t i = 0; i < std::size(kNames); ++i) {
        before[i] = Read(registry, kNames[i]);
        Require(!(before[i].dword.Present() && before[i].text.Present()));
    }

    const bool wroteDword = registry.WriteDword(kKey, "MinSize", 0x1234);
    const bool wroteString = registry.WriteString(kKey, "Name", "a \"quoted\" C:\\path");
    if (!wroteDword && !wroteString) {
        Require(ReadWholeFile(registry.File()).bytes ==
                std::string(reinterpret_cast<const char*>(data), size));
    }
    for (size_t i = 0; i < std::size(kNames); ++i) {
        const Seen after = Read(registry, kNames[i]);
        if (kNames[i] == "MinSize" && wroteDword) {
            Require(after.dword.Present() && after.dword.value == 0x1234);
        } else if (kNames[i] == "Name" && wroteString) {
            Require(after.text.Present() && after.text.value == "a \"quoted\" C:\\path");
        } else {
            Require(Same(after, before[i]));
        }
    }
    return 0;
}
