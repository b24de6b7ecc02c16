#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "store/RegistryFile.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using namespace std::string_literals;

constexpr std::string_view kKey = "Software\\VX77HUE_8246";

TEST(RegistryFile, WritesValuesItReadsBackInRegSyntax) {
    const TempFolder folder;
    const RegistryFile registry(RegistryFilePath(folder.Path()));
    EXPECT_EQ(registry.File(), folder.Path() / "zarvin" / "registry.reg");

    ASSERT_TRUE(registry.WriteDword(kKey, "dwLanguageId", 0x0416));
    ASSERT_TRUE(registry.WriteString("Software\\Other", "Path", "C:\\a \"b\" \xC3\xA9"));
    ASSERT_TRUE(registry.WriteString("Software\\Other", "", "default"));
    EXPECT_EQ(folder.Read("zarvin/registry.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n"
              "\"dwLanguageId\"=dword:00000416\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\n"
              "\"Path\"=\"C:\\\\a \\\"b\\\" \xC3\xA9\"\n"
              "@=\"default\"\n");

    const RegistryValue<uint32_t> language =
        registry.ReadDword("software\\vx77hue_8246", "DWLANGUAGEID");
    EXPECT_EQ(language.state, RegistryValueState::kPresent);
    EXPECT_EQ(language.value, 0x0416u);
    EXPECT_EQ(registry.ReadString("Software\\Other", "path").value, "C:\\a \"b\" \xC3\xA9");
    EXPECT_EQ(registry.ReadString("Software\\Other", "").value, "default");

    EXPECT_EQ(registry.ReadString(kKey, "dwLanguageId").state, RegistryValueState::kOtherType);
    EXPECT_EQ(registry.ReadDword("Software\\Other", "Path").state, RegistryValueState::kOtherType);
    EXPECT_EQ(registry.ReadDword(kKey, "Missing").state, RegistryValueState::kMissing);
    EXPECT_EQ(registry.ReadDword("Software\\Missing", "dwLanguageId").state,
              RegistryValueState::kMissing);
    EXPECT_EQ(RegistryFile(folder / "absent.reg").ReadDword(kKey, "dwLanguageId").state,
              RegistryValueState::kMissing);

    // A value takes the type of the last write.
    ASSERT_TRUE(registry.WriteString(kKey, "DWLanguageId", "text"));
    EXPECT_EQ(registry.ReadString(kKey, "dwLanguageId").value, "text");
    EXPECT_EQ(registry.ReadDword(kKey, "dwLanguageId").state, RegistryValueState::kOtherType);
}

TEST(RegistryFile, ReadsADamagedFileAsFarAsItCanAndKeepsOtherTypes) {
    const TempFolder folder;
    const fs::path file = folder.Write("damaged.reg",
                                       "\"Orphan\"=dword:00000001\n"
                                       "[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n"
                                       "\"Good\"=dword:0000002A\n"
                                       "\"TooLong\"=dword:123456789\n"
                                       "\"NotHex\"=dword:xyz\n"
                                       "\"Open\"=\"no end\n"
                                       "\"Trailing\"=\"a\" junk\n"
                                       "garbage \x01\x02\xFF\0 line\n"
                                       "\"Binary\"=hex:01,02,\\\n"
                                       "  03,04\n"
                                       "\"Bad\xFFText\"=\"x\xFFy\"\n"
                                       "[-HKEY_CURRENT_USER\\Software\\Gone]\n"
                                       "\"Dropped\"=dword:00000001\n"
                                       "[HKEY_CURRENT_USER\\SOFTWARE\\vx77hue_8246]\n"
                                       "\"good\"=dword:0000002b\n"
                                       "[unterminated\n"s);
    const RegistryFile registry(file);
    EXPECT_EQ(registry.ReadDword(kKey, "Good").value, 0x2Bu);  // the later line wins
    for (const char* bad : {"Orphan", "TooLong", "NotHex", "Open", "Trailing"}) {
        EXPECT_EQ(registry.ReadString(kKey, bad).state, RegistryValueState::kMissing) << bad;
    }
    EXPECT_EQ(registry.ReadString(kKey, "Bad\xEF\xBF\xBDText").value, "x\xEF\xBF\xBDy");
    EXPECT_EQ(registry.ReadDword(kKey, "Binary").state, RegistryValueState::kOtherType);
    EXPECT_EQ(registry.ReadDword("Software\\Gone", "Dropped").state, RegistryValueState::kMissing);

    // A write keeps everything that could be read, the binary value as it was.
    ASSERT_TRUE(registry.WriteDword(kKey, "New", 7));
    EXPECT_EQ(folder.Read("damaged.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n"
              "\"Good\"=dword:0000002b\n"
              "\"Binary\"=hex:01,02,\\\n"
              "03,04\n"
              "\"Bad\xEF\xBF\xBDText\"=\"x\xEF\xBF\xBDy\"\n"
              "\"New\"=dword:00000007\n");
    EXPECT_EQ(registry.ReadDword(kKey, "Binary").state, RegistryValueState::kOtherType);

    // A value whose continuation the end of the file cuts off is not kept: written back, it
    // would take the next value's line as its own.
    const RegistryFile cut(folder.Write("cut.reg",
                                        "[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n"
                                        "\"Cut\"=hex:05,\\"));
    EXPECT_EQ(cut.ReadDword(kKey, "Cut").state, RegistryValueState::kMissing);
    ASSERT_TRUE(cut.WriteDword(kKey, "New", 7));
    EXPECT_EQ(cut.ReadDword(kKey, "New").value, 7u);

    std::string junk;
    for (int i = 0; i < 5000; ++i) {
        junk += static_cast<char>((i * 131) % 256);
    }
    EXPECT_EQ(RegistryFile(folder.Write("binary.reg", junk)).ReadDword(kKey, "Good").state,
              RegistryValueState::kMissing);
}

// regedit exports UTF-16LE with a byte order mark and Windows line breaks.
TEST(RegistryFile, ReadsAFileExportedOnWindows) {
    const TempFolder folder;
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\r\n"
        u"\"dwLanguageId\"=dword:00000416\r\n"
        u"\"Name\"=\"Caf\u00E9\"\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    const RegistryFile registry(folder.Write("exported.reg", bytes));
    EXPECT_EQ(registry.ReadDword(kKey, "dwLanguageId").value, 0x0416u);
    EXPECT_EQ(registry.ReadString(kKey, "Name").value, "Caf\xC3\xA9");
}

TEST(RegistryFile, RefusesWritesThatWouldLoseOrBreakTheFile) {
    const TempFolder folder;
    const fs::path file = folder.Write("settings.reg", "");
    const RegistryFile registry(file);
    ASSERT_TRUE(registry.WriteString(kKey, "Name", "old"));
    const std::string before = folder.Read("settings.reg");
    EXPECT_FALSE(registry.WriteString(kKey, "Name", "two\nlines"));
    EXPECT_FALSE(registry.WriteString(kKey, "Two\nlines", "x"));
    EXPECT_FALSE(registry.WriteDword("", "Name", 1));
    EXPECT_EQ(folder.Read("settings.reg"), before);

    // No folder can be made below a file.
    EXPECT_FALSE(RegistryFile(file / "registry.reg").WriteDword(kKey, "Name", 1));

    if (::geteuid() != 0) {
        fs::permissions(file, fs::perms::owner_write);
        EXPECT_EQ(registry.ReadString(kKey, "Name").state, RegistryValueState::kMissing);
        EXPECT_FALSE(registry.WriteString(kKey, "Other", "x"));
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(folder.Read("settings.reg"), before);
    }
}

}  // namespace
}  // namespace zarvin
