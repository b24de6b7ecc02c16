#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "device/HidrawNodeSource.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

// The fields a caller relies on, comparable and printable in one go.
auto Fields(const HidNodeInfo& info) {
    return std::tie(info.node, info.vendorId, info.productId, info.versionNumber,
                    info.interfaceNumber, info.reportDescriptor);
}

void WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
    ASSERT_TRUE(out.good()) << path;
}

// One hidraw node as sysfs shows it. Empty texts leave the file out.
struct FakeNode {
    unsigned number = 0;
    std::string uevent = "DRIVER=hid-generic\nHID_ID=0003:00000C45:00005004\nHID_NAME=Zarvin\n";
    std::vector<uint8_t> descriptor = {0x06, 0x1C, 0xFF, 0x09, 0x92};
    std::string interfaceNumber = "01\n";
    std::string bcdDevice = "0107\n";
};

// A sysfs and /dev tree in a temporary folder, laid out as the kernel does: the class entry's
// "device" link leads to the HID device, which sits in its USB interface, in its USB device.
class FakeHidrawTree : public ::testing::Test {
protected:
    FakeHidrawTree() {
        std::string pattern = (fs::temp_directory_path() / "zarvin-hidraw-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary folder";
        }
        root_ = pattern;
        fs::create_directories(SysClassHidraw());
        fs::create_directories(Dev());
    }
    ~FakeHidrawTree() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path SysClassHidraw() const { return root_ / "sys/class/hidraw"; }
    fs::path Dev() const { return root_ / "dev"; }
    static std::string Name(unsigned number) { return "hidraw" + std::to_string(number); }
    fs::path NodePath(unsigned number) const { return Dev() / Name(number); }
    fs::path ClassEntry(unsigned number) const { return SysClassHidraw() / Name(number); }

    // Returns the HID device folder, so a test can spoil what is in it.
    fs::path AddNode(const FakeNode& node) {
        const std::string n = std::to_string(node.number);
        const fs::path usbDevice = "devices/usb1/1-" + n;
        const fs::path usbInterface = usbDevice / ("1-" + n + ":1.0");
        const fs::path hidDevice = usbInterface / ("0003:0C45:5004.000" + n);
        const fs::path sys = root_ / "sys";
        fs::create_directories(sys / hidDevice);
        if (!node.uevent.empty()) {
            WriteFile(sys / hidDevice / "uevent", node.uevent);
        }
        WriteFile(sys / hidDevice / "report_descriptor",
                  std::string(node.descriptor.begin(), node.descriptor.end()));
        if (!node.interfaceNumber.empty()) {
            WriteFile(sys / usbInterface / "bInterfaceNumber", node.interfaceNumber);
        }
        if (!node.bcdDevice.empty()) {
            WriteFile(sys / usbDevice / "bcdDevice", node.bcdDevice);
        }
        fs::create_directories(ClassEntry(node.number));
        fs::create_directory_symlink("../../.." / hidDevice, ClassEntry(node.number) / "device");
        WriteFile(NodePath(node.number), "");
        return sys / hidDevice;
    }

    HidNodeInfo Expected(unsigned number, uint16_t vendor, uint16_t product, uint16_t version,
                         int interfaceNumber, std::vector<uint8_t> descriptor) const {
        HidNodeInfo info;
        info.node = NodePath(number).string();
        info.vendorId = vendor;
        info.productId = product;
        info.versionNumber = version;
        info.interfaceNumber = interfaceNumber;
        info.reportDescriptor = std::move(descriptor);
        return info;
    }

    HidrawNodeSource Source() const { return HidrawNodeSource(SysClassHidraw(), Dev()); }

    fs::path root_;
};

std::string Hex2(unsigned value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

TEST_F(FakeHidrawTree, EnumeratesNodesInNumericOrderWithTheirSysfsData) {
    std::vector<FakeNode> made;
    std::vector<HidNodeInfo> expected;
    for (unsigned number = 0; number < 12; ++number) {
        const bool is128 = number % 2 == 1;
        FakeNode node;
        node.number = number;
        node.uevent = is128 ? "HID_ID=0003:0000320F:00005000\n" : "HID_ID=0003:00000c45:00005004\n";
        node.descriptor = {0x05, 0x0C, 0x09, 0x01, static_cast<uint8_t>(number)};
        node.interfaceNumber = Hex2(number) + "\n";  // hidraw10 has interface "0a"
        node.bcdDevice = "01" + Hex2(number) + "\n";
        made.push_back(node);
        expected.push_back(Expected(number, is128 ? 0x320F : 0x0C45, is128 ? 0x5000 : 0x5004,
                                    static_cast<uint16_t>(0x0100 + number),
                                    static_cast<int>(number), node.descriptor));
    }
    // Made last to first, so that neither the order of making nor the order of names
    // (hidraw1, hidraw10, hidraw11, hidraw2) can pass for the numeric order.
    for (auto node = made.rbegin(); node != made.rend(); ++node) {
        AddNode(*node);
    }

    std::vector<HidNodeInfo> nodes;
    ASSERT_TRUE(Source().EnumerateNodes(nodes));

    ASSERT_EQ(nodes.size(), expected.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(Fields(nodes[i]), Fields(expected[i])) << "entry " << i;
    }
}

TEST_F(FakeHidrawTree, SkipsNodesThatCannotBeRead) {
    AddNode({.number = 0});
    AddNode({.number = 1, .uevent = ""});
    AddNode({.number = 2, .uevent = "DRIVER=hid-generic\nHID_NAME=Zarvin\n"});
    AddNode({.number = 3, .uevent = "HID_ID=0003:00000C45\n"});
    AddNode({.number = 4, .uevent = "HID_ID=0003:00010C45:00005004\n"});  // not 16 bits
    AddNode({.number = 5, .uevent = "HID_ID=0003:0000XC45:00005004\n"});
    fs::remove(AddNode({.number = 6}) / "report_descriptor");
    fs::remove_all(AddNode({.number = 7}));  // the "device" link leads nowhere
    AddNode({.number = 8});
    fs::remove(ClassEntry(8) / "device");
    // Larger than any report descriptor may be.
    AddNode({.number = 9, .descriptor = std::vector<uint8_t>(4097, 0x81)});

    std::vector<HidNodeInfo> nodes;
    ASSERT_TRUE(Source().EnumerateNodes(nodes));

    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].node, NodePath(0).string());
}

TEST_F(FakeHidrawTree, InterfaceAndReleaseAreUnknownUnlessUsbSysfsGivesThem) {
    AddNode({.number = 0, .interfaceNumber = "", .bcdDevice = ""});
    AddNode({.number = 1, .uevent = "HID_ID=0005:0000320F:00005000\n"});
    AddNode({.number = 2, .interfaceNumber = "zz\n", .bcdDevice = "10000\n"});

    std::vector<HidNodeInfo> nodes;
    ASSERT_TRUE(Source().EnumerateNodes(nodes));

    ASSERT_EQ(nodes.size(), 3u);
    for (const HidNodeInfo& node : nodes) {
        EXPECT_EQ(node.interfaceNumber, -1) << node.node;
        EXPECT_EQ(node.versionNumber, 0) << node.node;
    }
}

TEST_F(FakeHidrawTree, NoSysfsFolderMeansNoNodes) {
    std::vector<HidNodeInfo> nodes(2);
    EXPECT_TRUE(HidrawNodeSource(root_ / "no-such-folder", Dev()).EnumerateNodes(nodes));
    EXPECT_TRUE(nodes.empty());
}

TEST_F(FakeHidrawTree, SysfsFolderThatCannotBeListedIsAFailure) {
    WriteFile(root_ / "not-a-folder", "");
    std::vector<HidNodeInfo> nodes;
    EXPECT_FALSE(HidrawNodeSource(root_ / "not-a-folder", Dev()).EnumerateNodes(nodes));
}

TEST_F(FakeHidrawTree, OpensAPlainFileWithTheAccessAskedForAndDescribesItFromSysfs) {
    AddNode({.number = 0});
    AddNode({.number = 3, .descriptor = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0xC0}});
    const HidNodeInfo expected =
        Expected(3, 0x0C45, 0x5004, 0x0107, 1, {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0xC0});
    struct Access {
        bool read;
        bool write;
        int mode;
    };
    HidrawNodeSource source = Source();
    for (const Access access : {Access{true, false, O_RDONLY}, Access{false, true, O_WRONLY},
                                Access{true, true, O_RDWR}}) {
        SCOPED_TRACE(testing::Message() << "read " << access.read << " write " << access.write);
        UniqueFd fd;
        HidNodeInfo info;
        ASSERT_EQ(source.OpenNode(NodePath(3).string(), access.read, access.write, fd, info),
                  HidError::None);
        ASSERT_TRUE(fd.Valid());
        const int flags = ::fcntl(fd.Get(), F_GETFL);
        EXPECT_EQ(flags & O_ACCMODE, access.mode);
        EXPECT_NE(flags & O_NONBLOCK, 0);
        EXPECT_NE(::fcntl(fd.Get(), F_GETFD) & FD_CLOEXEC, 0);
        EXPECT_EQ(Fields(info), Fields(expected));
    }
}

TEST_F(FakeHidrawTree, PresenceCheckNeedsTheNodeAndItsSysfsEntry) {
    AddNode({.number = 0});
    AddNode({.number = 1});
    AddNode({.number = 2});
    fs::remove(NodePath(1));
    fs::remove_all(ClassEntry(2));
    HidrawNodeSource source = Source();

    struct Case {
        fs::path node;
        HidError result;
    };
    for (const Case& c :
         {Case{NodePath(0), HidError::None}, Case{NodePath(1), HidError::NotFound},
          Case{NodePath(2), HidError::NotFound}, Case{Dev() / "..", HidError::NotFound}}) {
        UniqueFd fd(::dup(STDIN_FILENO));
        HidNodeInfo info;
        EXPECT_EQ(source.OpenNode(c.node.string(), false, false, fd, info), c.result) << c.node;
        EXPECT_FALSE(fd.Valid()) << c.node;
    }
}

TEST_F(FakeHidrawTree, WatchTellsOfHidrawNodesComingGoingAndChangingAccessOnly) {
    AddNode({.number = 3});
    WriteFile(Dev() / "tty5", "");
    HidrawNodeSource source = Source();
    const std::unique_ptr<NodeWatch> watch = source.WatchNodes();
    ASSERT_NE(watch, nullptr);
    const auto readable = [&] {
        pollfd fd{watch->Descriptor(), POLLIN, 0};
        return ::poll(&fd, 1, 0) == 1;
    };
    EXPECT_FALSE(readable());

    struct Case {
        const char* name;
        std::function<void()> change;
        bool ours;
    };
    const Case cases[] = {
        {"node made", [&] { WriteFile(NodePath(7), ""); }, true},
        {"access changed", [&] { fs::permissions(NodePath(3), fs::perms::owner_read); }, true},
        {"node renamed", [&] { fs::rename(NodePath(7), NodePath(8)); }, true},
        {"node removed", [&] { fs::remove(NodePath(3)); }, true},
        {"another device's node made", [&] { WriteFile(Dev() / "input9", ""); }, false},
        {"another device's node changed",
         [&] { fs::permissions(Dev() / "tty5", fs::perms::owner_read); }, false},
        {"a node written to", [&] { WriteFile(NodePath(8), "report"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        EXPECT_EQ(watch->TakeChanges(), c.ours);
        EXPECT_FALSE(readable());  // all taken
    }
}

TEST_F(FakeHidrawTree, OpenFailuresSayWhy) {
    AddNode({.number = 0});
    AddNode({.number = 2});
    fs::remove(NodePath(0));
    fs::remove(NodePath(2));
    fs::create_directory(NodePath(2));
    WriteFile(NodePath(5), "");  // in /dev, but sysfs knows no such node
    HidrawNodeSource source = Source();

    struct Case {
        const char* what;
        fs::path node;
        HidError result;
    };
    for (const Case& c : {Case{"missing node", NodePath(0), HidError::NotFound},
                          Case{"folder opened for writing", NodePath(2), HidError::Io},
                          Case{"file without sysfs entry", NodePath(5), HidError::NotFound}}) {
        UniqueFd fd;
        HidNodeInfo info;
        EXPECT_EQ(source.OpenNode(c.node.string(), true, true, fd, info), c.result) << c.what;
        EXPECT_FALSE(fd.Valid()) << c.what;
    }
}

TEST_F(FakeHidrawTree, NodeThisUserMayNotOpenIsPermissionDenied) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root opens files whatever their mode";
    }
    AddNode({.number = 0});
    fs::permissions(NodePath(0), fs::perms::none);

    UniqueFd fd;
    HidNodeInfo info;
    EXPECT_EQ(Source().OpenNode(NodePath(0).string(), true, true, fd, info),
              HidError::PermissionDenied);
    EXPECT_FALSE(fd.Valid());
}

}  // namespace
}  // namespace zarvin
