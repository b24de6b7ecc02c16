#include "platform/FreedMemory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace zarvin {
namespace {

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Blocks freed between blocks still in use stay resident until the allocator is told to hand
// them back; a window that sits in the tray for hours would otherwise keep its start's garbage.
TEST(FreedMemory, PagesFreedBetweenLiveBlocksLeaveTheProcess) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator keeps its own pages";
#endif
    constexpr size_t kBlock = 64 * 1024;  // small enough to come from the heap, not mmap
    constexpr size_t kBlocks = 256;
    constexpr size_t kKeepEvery = 16;
    std::vector<std::unique_ptr<char[]>> blocks;
    for (size_t i = 0; i < kBlocks; ++i) {
        blocks.push_back(std::make_unique<char[]>(kBlock));
        std::memset(blocks.back().get(), 1, kBlock);
    }
    // Every sixteenth block and the last stay, so no freed run lies at the heap's end, which
    // free() itself would give back.
    for (size_t i = 0; i + 1 < kBlocks; ++i) {
        if (i % kKeepEvery != 0) {
            blocks[i].reset();
        }
    }
    const long before = ResidentBytes();

    ReturnFreedMemory();

    const long freed = static_cast<long>(kBlock * (kBlocks - kBlocks / kKeepEvery - 1));
    EXPECT_GT(before - ResidentBytes(), freed / 2);
}

}  // namespace
}  // namespace zarvin
