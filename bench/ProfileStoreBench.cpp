// How fast the profile store saves and loads its largest ordinary content: 100 macros of 4000
// actions each and a few launch strings, a file of about 3.3 MB. Each figure is also given as a
// ratio to moving the same number of bytes without the store:
//   SaveFullStore: SaveProfileFile (pack, one buffer, temporary file, fsync, rename) against a
//     memcpy of the file's bytes and against writing them to a file with one write() and fsync.
//   LoadFullStore: EmptyStore + LoadProfileFile (every size and string checked) against a memcpy
//     and against reading the file whole with one read() into a buffer.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"
#include "store/ProfileStore.h"

namespace {

using namespace zarvin;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zarvin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const char* name) const { return path_ / name; }

private:
    fs::path path_;
};

void FillFullStore(WorkingStore& store) {
    std::vector<MacroRecord> macros(kMaxMacroRecords);
    for (size_t m = 0; m < macros.size(); ++m) {
        MacroRecord& macro = macros[m];
        macro.SetName(u"Macro " + std::u16string(1, static_cast<char16_t>(u'A' + m % 26)));
        macro.SetId(static_cast<uint16_t>(m + 1));
        macro.SetCycles(1);
        macro.SetActionCount(MacroRecord::kMaxActions);
        for (size_t i = 0; i < MacroRecord::kMaxActions; ++i) {
            macro.SetAction(i, {.delay = static_cast<int32_t>(i % 400),
                                .key = static_cast<uint16_t>(0x10 + i % 40),
                                .state = static_cast<uint16_t>(i % 2)});
        }
    }
    store.SetMacros(std::move(macros));
    const KeyAssignment program{.type = static_cast<uint16_t>(AssignmentType::LaunchProgram)};
    const KeyAssignment text{.type = static_cast<uint16_t>(AssignmentType::TextBlock)};
    store.SetAssignment(KeyRecordNumber(0, 0x3B), program, u"/usr/bin/gnome-calculator");
    store.SetAssignment(KeyRecordNumber(1, 0x3C), text, std::u16string(2000, u'x'));
}

// Mean seconds per run of `work`, over `runs` runs.
double SecondsPerRun(int runs, const std::function<void()>& work) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        work();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

double SecondsPerMemcpy(size_t bytes) {
    std::vector<char> from(bytes, 'z');
    std::vector<char> to(bytes);
    return SecondsPerRun(50, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    });
}

void WriteAndSync(const fs::path& file, const std::string& bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0) {
        std::abort();
    }
    ::close(fd);
}

void ReadWhole(const fs::path& file, std::vector<char>& into) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (::read(fd, into.data(), into.size()) != static_cast<ssize_t>(into.size())) {
        std::abort();
    }
    ::close(fd);
}

void SaveFullStore(benchmark::State& state) {
    ScratchFolder folder;
    std::recursive_mutex lock;
    WorkingStore store(lock);
    FillFullStore(store);
    const fs::path file = folder / "full.fwc";
    const std::string bytes = store.ProfileFileBytes();

    double taken = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (store.SaveProfileFile(file) != FileResult::Success) {
            state.SkipWithError("save failed");
            break;
        }
        taken += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double perSave = taken / static_cast<double>(state.iterations());
    const fs::path plain = folder / "plain.bin";
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["ratio_to_memcpy"] = perSave / SecondsPerMemcpy(bytes.size());
    state.counters["ratio_to_write_fsync"] =
        perSave / SecondsPerRun(10, [&] { WriteAndSync(plain, bytes); });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(SaveFullStore)->Unit(benchmark::kMillisecond)->UseRealTime();

void LoadFullStore(benchmark::State& state) {
    ScratchFolder folder;
    std::recursive_mutex lock;
    WorkingStore store(lock);
    FillFullStore(store);
    const fs::path file = folder / "full.fwc";
    if (store.SaveProfileFile(file) != FileResult::Success) {
        state.SkipWithError("save failed");
        return;
    }
    const size_t bytes = fs::file_size(file);

    double taken = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        store.EmptyStore();
        if (store.LoadProfileFile(file) != FileResult::Success) {
            state.SkipWithError("load failed");
            break;
        }
        taken += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double perLoad = taken / static_cast<double>(state.iterations());
    std::vector<char> buffer(bytes);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["ratio_to_memcpy"] = perLoad / SecondsPerMemcpy(bytes);
    state.counters["ratio_to_read"] = perLoad / SecondsPerRun(50, [&] { ReadWhole(file, buffer); });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(LoadFullStore)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
