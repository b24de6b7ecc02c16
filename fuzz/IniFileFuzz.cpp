// Reads arbitrary bytes as a private-profile INI file (skin and language files, duva.ini, the
// user lighting files all are), then writes to it, and checks the promises the reader and the
// writer make to their callers:
//   - a read never gives more than the buffer's characters, and a section read at once answers
//     as the single reads do;
//   - a write that succeeds reads back, several keys at once give the same file as one after
//     the other, and a write that fails leaves the file as it was.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFiles.h"
#include "store/IniFile.h"
#include "platform/WholeFile.h"

namespace {

using namespace zarvin;
using fuzz::Require;

constexpr std::string_view kMissing = "\x01missing";

size_t CodePoints(std::string_view text) {
    size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

void CheckReads(const std::filesystem::path& file, std::string_view section) {
    const IniSectionValues values = ReadIniSection(file, section);
    const std::vector<std::string> keys = ReadIniKeys(file, section);
    for (const std::string& key : keys) {
        const std::string value = ReadIniString(file, section, key, kMissing);
        Require(values.Read(key, kMissing) == value);
        Require(CodePoints(ReadIniString(file, section, key, kMissing, 4)) <= 3);
    }
    Require(values.Read("no such key", kMissing) ==
            ReadIniString(file, section, "no such key", kMissing));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFile input("ini-input");
    const std::span<const uint8_t> bytes(data, size);
    input.Fill(bytes);
    for (const std::string_view section : {"Mode0", "MODENAME", "Text", "S"}) {
        CheckReads(input.Path(), section);
    }

    const std::filesystem::path atOnce = fuzz::ScratchFile("at-once.ini", bytes);
    const std::filesystem::path oneByOne = fuzz::ScratchFile("one-by-one.ini", bytes);
    const std::vector<std::pair<std::string, std::string>> values = {
        {"1", "255,0,0,1"}, {"tool", "1"}, {"TOOL", "0"}, {"new key", "\"quoted\""}};
    const bool written = WriteIniStrings(atOnce, "Mode0", values);
    bool each = true;
    for (const auto& [key, value] : values) {
        each = WriteIniString(oneByOne, "Mode0", key, value) && each;
    }
    Require(written == each);
    const FileContents first = ReadWholeFile(atOnce);
    const FileContents second = ReadWholeFile(oneByOne);
    Require(first.bytes == second.bytes);
    if (written) {
        Require(ReadIniString(atOnce, "mode0", "1", kMissing) == "255,0,0,1");
        Require(ReadIniString(atOnce, "Mode0", "Tool", kMissing) == "0");
        Require(ReadIniString(atOnce, "Mode0", "new key", kMissing) == "quoted");
    } else {
        Require(first.bytes == std::string(reinterpret_cast<const char*>(data), size));
    }
    return 0;
}
