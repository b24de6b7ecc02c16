#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>

#include "sim/SimImageFile.h"
#include "sim/SimImageKeeper.h"
#include "sim/SimImageLock.h"
#include "sim/SimKeyboard.h"
#include "support/LinkRig.h"
#include "support/TempFolder.h"

namespace zarvin::sim {
namespace {

// A memory that differs from the factory one in every area.
SimMemory UsedMemory(SimModel model) {
    SimFirmware firmware(model);
    firmware.SelectProfile(2);
    firmware.SetMacroCapacity(3);
    SimMemory& memory = firmware.Memory();
    memory.deviceInfo[0] = 0x5A;
    memory.lighting[100] = 0x77;
    memory.keyMaps[memory.keyMaps.size() - 1] = 0x42;
    memory.macroArea[0] = 0xAA;
    memory.macroArea[1] = 0x55;
    memory.keyColours[1535] = 0x11;
    return memory;
}

using test::TempFolder;

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(SimImageFile, RoundTripsEveryAreaOfBothModels) {
    for (SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        const SimMemory saved = UsedMemory(model);
        SimMemory loaded = SimFirmware(model).Memory();
        std::string error;
        ASSERT_TRUE(DecodeImage(EncodeImage(model, saved), model, loaded, error)) << error;
        EXPECT_EQ(loaded, saved);
    }
}

TEST(SimImageFile, FileIsReplacedWholeAndReadsBack) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "keyboard.img";
    const SimModel model = SimModel::Keyboard126;
    std::string error;
    ASSERT_TRUE(WriteImageFile(file, model, SimFirmware(model).Memory(), error)) << error;
    const SimMemory used = UsedMemory(model);
    ASSERT_TRUE(WriteImageFile(file, model, used, error)) << error;

    SimMemory loaded = SimFirmware(model).Memory();
    ASSERT_TRUE(ReadImageFile(file, model, loaded, error)) << error;
    EXPECT_EQ(loaded, used);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

TEST(SimImageFile, WriteIntoAMissingFolderFailsWithAnError) {
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(WriteImageFile(folder.Path() / "absent" / "keyboard.img", SimModel::Keyboard126,
                                SimFirmware(SimModel::Keyboard126).Memory(), error));
    EXPECT_NE(error.find("absent"), std::string::npos) << error;
}

struct DamageCase {
    const char* name;
    std::vector<uint8_t> (*damage)(std::vector<uint8_t>);
    const char* errorPart;
};

std::vector<uint8_t> CutTo(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

const DamageCase kDamage[] = {
    {"Empty", [](std::vector<uint8_t>) { return std::vector<uint8_t>{}; }, "magic"},
    {"BadMagic",
     [](std::vector<uint8_t> b) {
         b[0] = 'X';
         return b;
     },
     "magic"},
    {"TruncatedHeader", [](std::vector<uint8_t> b) { return CutTo(b, 11); }, "truncated"},
    {"FutureVersion",
     [](std::vector<uint8_t> b) {
         b[8] = 2;
         return b;
     },
     "version 2"},
    {"OtherModel",
     [](std::vector<uint8_t> b) {
         b[10] = 0x0F;
         b[11] = 0x32;
         return b;
     },
     "320f:5004"},
    {"TruncatedInKeyMaps",
     [](std::vector<uint8_t> b) { return CutTo(b, 14 + 4 + 44 + 4 + 126 + 4 + 100); },
     "truncated in the key maps"},
    {"TruncatedByOneByte", [](std::vector<uint8_t> b) { return CutTo(b, b.size() - 1); },
     "truncated in the key colours"},
    {"WrongLightingSize",
     [](std::vector<uint8_t> b) {
         b[14 + 4 + 44] = 125;
         return b;
     },
     "125 bytes, expected 126"},
    {"MacroSizeNotByteEleven",
     [](std::vector<uint8_t> b) {
         b[14 + 4 + 11] = 99;
         return b;
     },
     "expected 12672"},
    {"TrailingBytes",
     [](std::vector<uint8_t> b) {
         b.push_back(0);
         return b;
     },
     "1 unexpected"},
    {"HugeAreaCount",
     [](std::vector<uint8_t> b) {
         b[14 + 4 + 44 + 3] = 0xFF;
         return b;
     },
     "expected 126"},
};

class DamagedImage : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedImage, IsRejectedWithAClearErrorAndChangesNothing) {
    const SimModel model = SimModel::Keyboard126;
    const std::vector<uint8_t> bytes = GetParam().damage(EncodeImage(model, UsedMemory(model)));
    const SimMemory factory = SimFirmware(model).Memory();
    SimMemory memory = factory;
    std::string error;
    EXPECT_FALSE(DecodeImage(bytes, model, memory, error));
    EXPECT_NE(error.find(GetParam().errorPart), std::string::npos) << error;
    EXPECT_EQ(memory, factory);
}

INSTANTIATE_TEST_SUITE_P(Images, DamagedImage, testing::ValuesIn(kDamage),
                         [](const testing::TestParamInfo<DamageCase>& param) {
                             return param.param.name;
                         });

TEST(SimImageFile, ImageOfTheOtherModelIsRefusedByFile) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "keyboard.img";
    WriteBytes(file, EncodeImage(SimModel::Keyboard128, UsedMemory(SimModel::Keyboard128)));
    SimMemory memory = SimFirmware(SimModel::Keyboard126).Memory();
    std::string error;
    EXPECT_FALSE(ReadImageFile(file, SimModel::Keyboard126, memory, error));
    EXPECT_NE(error.find("320f:5000, not 0c45:5004"), std::string::npos) << error;
}

TEST(SimImageFile, MissingFileGivesAnError) {
    TempFolder folder;
    SimMemory memory = SimFirmware(SimModel::Keyboard126).Memory();
    std::string error;
    EXPECT_FALSE(ReadImageFile(folder.Path() / "none.img", SimModel::Keyboard126, memory, error));
    EXPECT_NE(error.find("none.img"), std::string::npos) << error;
}

}  // namespace
}  // namespace zarvin::sim

namespace zarvin::sim {
namespace {

// Two zarvinctl --simulate runs at once: the second waits for the first's memory, and a first
// that holds it too long is named.
TEST(SimImageLock, ASecondRunWaitsForTheFirstAndGivesUpWithAReason) {
    const test::TempFolder folder;
    const std::filesystem::path image = folder / "data" / "stand-in.img";
    std::string error;
    auto first = std::make_unique<SimImageLock>(image, std::chrono::milliseconds(0), error);
    ASSERT_TRUE(first->Held()) << error;

    const SimImageLock refused(image, std::chrono::milliseconds(50), error);
    EXPECT_FALSE(refused.Held());
    EXPECT_NE(error.find("another zarvinctl --simulate"), std::string::npos) << error;

    std::thread release([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        first.reset();
    });
    std::string laterError;
    const SimImageLock waited(image, std::chrono::seconds(10), laterError);
    release.join();
    EXPECT_TRUE(waited.Held()) << laterError;
}

TEST(SimImageKeeper, WritesOnlyChangesAndTakesInWhatAnotherProgramWrote) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "keyboard" / "stand-in.img";
    SimKeyboard window;
    SimImageKeeper kept(window, file);
    std::string error;
    ASSERT_TRUE(kept.Load(error)) << error;  // no file yet: the factory memory stays

    ASSERT_TRUE(kept.SaveIfChanged(error)) << error;
    EXPECT_FALSE(std::filesystem::exists(file)) << "nothing changed, nothing written";

    window.ChangeProfileOnKeyboard(2);
    ASSERT_TRUE(kept.SaveIfChanged(error)) << error;
    ASSERT_TRUE(std::filesystem::exists(file));
    const auto written = std::filesystem::last_write_time(file);

    // The command line, on the same file, sees the change and makes one of its own.
    SimKeyboard commandLine;
    SimImageKeeper other(commandLine, file);
    ASSERT_TRUE(other.Load(error)) << error;
    EXPECT_EQ(commandLine.ImageBytes(), window.ImageBytes());
    commandLine.ChangeProfileOnKeyboard(1);
    ASSERT_TRUE(other.SaveIfChanged(error)) << error;

    ASSERT_TRUE(kept.Load(error)) << error;
    EXPECT_EQ(window.ImageBytes(), commandLine.ImageBytes());
    ASSERT_TRUE(kept.SaveIfChanged(error)) << error;
    EXPECT_NE(std::filesystem::last_write_time(file), written);
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(SimImageKeeper, KeepingWritesEachChangeSoonWithoutBeingAsked) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "stand-in.img";
    test_support::LinkRig rig;
    ASSERT_TRUE(rig.opened);
    SimImageKeeper kept(rig.keyboard, file);
    std::string error;
    ASSERT_TRUE(kept.Load(error)) << error;
    ASSERT_TRUE(kept.StartKeeping(std::chrono::milliseconds(1), nullptr));

    // A write through the command interface, as the window makes it, and the keyboard's own
    // profile key.
    ASSERT_EQ(WriteLightingWord(rig.link, 0x0305), 1);
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(file) == rig.keyboard.ImageBytes(); }));
    rig.keyboard.ChangeProfileOnKeyboard(2);
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(file) == rig.keyboard.ImageBytes(); }));
    EXPECT_TRUE(kept.StopKeeping(error)) << error;
}

TEST(SimImageKeeper, StoppingWritesWhatTheDelayHeldBack) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "stand-in.img";
    SimKeyboard keyboard;
    SimImageKeeper kept(keyboard, file);
    std::string error;
    ASSERT_TRUE(kept.Load(error)) << error;
    // A delay longer than any run: only the stop writes, and it does not wait for the delay.
    ASSERT_TRUE(kept.StartKeeping(std::chrono::hours(1), nullptr));
    keyboard.ChangeProfileOnKeyboard(1);
    ASSERT_TRUE(kept.StopKeeping(error)) << error;
    EXPECT_EQ(FileBytes(file), keyboard.ImageBytes());

    // Stopped, changes are written only when asked, as before keeping began.
    keyboard.ChangeProfileOnKeyboard(2);
    EXPECT_NE(FileBytes(file), keyboard.ImageBytes());
}

TEST(SimImageKeeper, AFailedWriteIsToldOnceAndTheStopSaysItToo) {
    TempFolder folder;
    const std::filesystem::path blocker = folder.Write("blocker", "a file, not a folder");
    const std::filesystem::path file = blocker / "stand-in.img";
    SimKeyboard keyboard;
    SimImageKeeper kept(keyboard, file);
    std::string error;
    ASSERT_TRUE(kept.Load(error)) << error;
    std::mutex toldMutex;
    std::vector<std::string> told;
    ASSERT_TRUE(kept.StartKeeping(std::chrono::milliseconds(1), [&](const std::string& failure) {
        const std::lock_guard lock(toldMutex);
        told.push_back(failure);
    }));
    keyboard.ChangeProfileOnKeyboard(1);
    ASSERT_TRUE(WaitUntil([&] {
        const std::lock_guard lock(toldMutex);
        return !told.empty();
    }));
    keyboard.ChangeProfileOnKeyboard(2);
    EXPECT_FALSE(kept.StopKeeping(error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(file.string()), std::string::npos) << told[0];
}

TEST(SimImageKeeper, DamagedFileIsRefusedAndTheKeyboardKeepsItsMemory) {
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / "stand-in.img";
    WriteBytes(file, {1, 2, 3});
    SimKeyboard keyboard;
    const std::vector<uint8_t> before = keyboard.ImageBytes();
    SimImageKeeper kept(keyboard, file);
    std::string error;
    EXPECT_FALSE(kept.Load(error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_EQ(keyboard.ImageBytes(), before);
}

}  // namespace
}  // namespace zarvin::sim
