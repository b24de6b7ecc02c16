// How the settings readers scale with hostile file sizes: a user lighting file with many extra
// sections read as the key-colour view loads a mode, and a registry file of many keys read for
// one value. Each is run at two sizes, so a reader that is worse than linear shows at once.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/RegistryFile.h"
#include "store/UserLightingFiles.h"

namespace {

using namespace zarvin;
namespace fs = std::filesystem;

fs::path ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "zarvin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

void UserModeWithManySections(benchmark::State& state) {
    const fs::path folder = ScratchFolder();
    const UserLightingFiles files(folder, folder / "template_");
    {
        std::ofstream out(files.FileOf(0));
        for (int64_t i = 0; i < state.range(0); ++i) {
            out << "[Extra" << i << "]\nk=1\n";
        }
        out << "[Mode0]\ntool=1\n";
        for (int index = 0; index < kColourIndexCount; ++index) {
            out << index << "=1,2,3,0\n";
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(files.ReadMode(0, 0));
        benchmark::DoNotOptimize(files.ReadModeNames(0));
    }
    fs::remove_all(folder);
}
BENCHMARK(UserModeWithManySections)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

void RegistryWithManyKeys(benchmark::State& state) {
    const fs::path folder = ScratchFolder();
    const RegistryFile registry(folder / "registry.reg");
    {
        std::ofstream out(registry.File());
        out << "Windows Registry Editor Version 5.00\n";
        for (int64_t i = 0; i < state.range(0); ++i) {
            out << "\n[HKEY_CURRENT_USER\\Software\\Key" << i << "]\n\"Value\"=dword:00000001\n";
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(registry.ReadDword("Software\\Key1", "Value"));
    }
    fs::remove_all(folder);
}
BENCHMARK(RegistryWithManyKeys)->Arg(2'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

}  // namespace
