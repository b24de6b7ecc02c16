#pragma once

// The keyboard's memory as a file, so the stand-in keeps its settings between runs.
//
// Layout, all numbers little-endian:
//   8 bytes   magic "ZVSIMKB\x1A"
//   u16       format version, 1
//   u16, u16  vendor and product id of the model
//   then five areas in this order, each a u32 byte count followed by the bytes:
//   device information (44), lighting (126), key maps (3 × key-map length),
//   macro area (device information byte 11 × 128), key colours (1536).
// Nothing may follow the last area.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "sim/SimFirmware.h"
#include "sim/SimModel.h"

namespace zarvin::sim {

// Where the stand-in keyboard keeps its memory between runs: one file per model in the user's
// data folder.
std::filesystem::path ImageFilePath(const std::filesystem::path& userDataFolder, SimModel model);

std::vector<uint8_t> EncodeImage(SimModel model, const SimMemory& memory);

// Checks every field and size; on failure `error` says what is wrong and `memory` is untouched.
bool DecodeImage(std::span<const uint8_t> bytes, SimModel model, SimMemory& memory,
                 std::string& error);

// Writes a temporary file in the same folder, flushes it to disk and renames it over `file`.
bool WriteImageFile(const std::filesystem::path& file, SimModel model, const SimMemory& memory,
                    std::string& error);

// Names the file in its error only when it cannot be opened or read; for a damaged image the
// error says what is wrong with its contents.
bool ReadImageFile(const std::filesystem::path& file, SimModel model, SimMemory& memory,
                   std::string& error);

}  // namespace zarvin::sim
