// Reads arbitrary bytes as the stand-in keyboard's memory file, and checks the promises of the
// reader: a damaged file gives an error and leaves the memory as it was; a file it accepts
// writes back byte for byte.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "sim/SimImageFile.h"

namespace {

using namespace zarvin;
using fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFile input("sim-image");
    const std::span<const uint8_t> bytes(data, size);
    input.Fill(bytes);
    for (const sim::SimModel model : {sim::SimModel::Keyboard126, sim::SimModel::Keyboard128}) {
        const sim::SimMemory factory = sim::FactoryMemory(model);
        sim::SimMemory memory = factory;
        std::string error;
        const bool read = sim::ReadImageFile(input.Path(), model, memory, error);
        if (!read) {
            Require(!error.empty());
            Require(memory == factory);
            continue;
        }
        const std::vector<uint8_t> again = sim::EncodeImage(model, memory);
        Require(std::vector<uint8_t>(bytes.begin(), bytes.end()) == again);
    }
    return 0;
}
