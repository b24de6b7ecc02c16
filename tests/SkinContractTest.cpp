// The generated skin against what the windows read: every layout entry each window reads is in
// its skin file and parses, image buttons lie inside their window without covering each other,
// every picture named exists and has its window's size, the masks are exactly black and white
// with rounded corners, and the light skin matches the dark one.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/KeyboardLayout.h"
#include "store/IniFile.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

const fs::path kSkins = ZARVIN_SKIN_FOLDER;
// The margin the windows keep around their state surfaces (kStateSurfaceMargin).
constexpr int kFaceStripMargin = 100;

// D1-D6 take the place of F1-F4 while the flip switch offers them.
bool ShareAPlace(const std::string& a, const std::string& b) {
    const auto extra = [](const std::string& key) { return key.rfind("KEY_D", 0) == 0; };
    const auto fKey = [](const std::string& key) {
        return key == "KEY_03B" || key == "KEY_03C" || key == "KEY_03D" || key == "KEY_03E";
    };
    return (extra(a) && fKey(b)) || (fKey(a) && extra(b));
}
constexpr const char* kMissing = "<missing>";

std::string Read(const fs::path& file, const char* section, const std::string& key) {
    return ReadIniString(file, section, key, kMissing);
}

// Exactly "x,y,w,h" with a positive size.
std::optional<QRect> ParseEntry(const std::string& text) {
    int x = 0, y = 0, w = 0, h = 0, end = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%n", &x, &y, &w, &h, &end) != 4 ||
        static_cast<size_t>(end) != text.size() || w <= 0 || h <= 0) {
        return std::nullopt;
    }
    return QRect(x, y, w, h);
}

QImage Picture(const fs::path& file) {
    return QImage(QString::fromStdString(file.string()));
}

struct Window {
    const char* skinFile;
    std::vector<std::string> withFaces;  // PlaceWithFaces
    std::vector<std::string> placed;     // PlaceControl, MoveControl, PlaceWithOrigin
    std::vector<std::string> stateImages;
};

void PrintTo(const Window& window, std::ostream* out) {
    *out << window.skinFile;
}

Window MainWindow() {
    Window window{"Main.ini", {}, {}, {}};
    for (int n = 1; n <= 9; ++n) {
        window.withFaces.push_back("FUNC_G" + std::to_string(n));
    }
    for (const KeyButton& key : KeyViewKeys()) {
        window.withFaces.push_back(SkinEntryOf(key));
    }
    for (int n = 1; n <= 6; ++n) {
        window.withFaces.push_back("KEY_D" + std::to_string(n));
    }
    for (const char* key : {"PELLOQ_LINK",    "FUNC_PROFILES",  "FUNC_MACRO",    "CONTROL_OK",
                            "CONTROL_CANCEL", "CONTROL_HELP",   "CONTROL_CLOSE", "CONTROL_MINIMIZE",
                            "CONTROL_MENU",   "CONTROL2_APPLY", "LOCK_CAPS",     "LOCK_NUM",
                            "LOCK_SCROLL",    "LOCK_AB",        "FLIP_0",        "FLIP_1",
                            "FLIP_2",         "PELLOQ_VER",     "FUNC_PROFILE1", "FUNC_PROFILE2",
                            "FUNC_PROFILE3",  "FUNC_DEFAULT",   "FUNC_SWITCH",   "FUNC_REPORT1",
                            "FUNC_REPORT2",   "FUNC_REPORT3",   "FUNC_REPORT4",  "KEY_FN"}) {
        window.withFaces.push_back(key);
    }
    window.placed = {"COLOR_R",
                     "CONTROL_StatusStatic",
                     "CONTROL_DengHint",
                     "COLOR_G",
                     "COLOR_B",
                     "CONTROL_UsbStatic",
                     "CONTROL_RGBStatic",
                     "CONTROL_DengStatic",
                     "CONTROL_DengStaPic",
                     "CONTROL_XGcombox",
                     "CONTROL_JDTStatic",
                     "CONTROL_LightStatic",
                     "CONTROL_LightSlider",
                     "CONTROL_SpeedStatic",
                     "CONTROL_SpeedSlider",
                     "CONTROL_BLFXStatic",
                     "CONTROL_BLFXLStaPic",
                     "CONTROL_BLFXRStaPic",
                     "CONTROL_FYYSStatic",
                     "CONTROL_FYYSButton",
                     "CONTROL_FYSJSStaPic",
                     "CONTROL_FYSJSStatic",
                     "CONTROL_FYCFStatic",
                     "CONTROL_FYdjcfStatic",
                     "CONTROL_FYggcfStatc",
                     "CONTROL_FYdjcfStaPic",
                     "CONTROL_FYggcfStaPic",
                     "CONTROL_HONGPIC",
                     "CONTROL_HUANGPIC",
                     "CONTROL_LVPIC",
                     "CONTROL_LANPIC",
                     "CONTROL_HXysStatic",
                     "CONTROL_HXysButton",
                     "CONTROL_HXsjsStatic",
                     "CONTROL_HXsjsStaPic",
                     "CONTROL_JTysStatic",
                     "CONTROL_JTysButton",
                     "CONTROL_USERysStatic",
                     "CONTROL_USERysButton",
                     "CONTROL_USERjsStatic",
                     "CONTROL_USERjsButton",
                     "CONTROL_USERgjStatic",
                     "CONTROL_USERgjStaPic1",
                     "CONTROL_USERgjStaPic2",
                     "CONTROL_Color1",
                     "CONTROL_Color2",
                     "CONTROL_Color3",
                     "CONTROL_Color4",
                     "CONTROL_Color5",
                     "CONTROL_Color6",
                     "CONTROL_Color7",
                     "CONTROL_Color8",
                     "CONTROL_Network",
                     "CONTROL_Facebook",
                     "CONTROL_twitter",
                     "CONTROL_TSysStatic",
                     "CONTROL_TSysButton",
                     "CONTROL_TSsjsStatic",
                     "CONTROL_TSsjsStaPic",
                     "CONTROL_CDysStatic",
                     "CONTROL_CDysButton",
                     "CONTROL_CDsjsStatic",
                     "CONTROL_CDsjsStaPic",
                     "CONTROL_umCombo",
                     "CONTROL_BLFXStatic2",
                     "CONTROL_BLFXLStaPic2",
                     "CONTROL_BLFXRStaPic2",
                     "CONTROL_BLFXStatic3",
                     "CONTROL_BLFXLStaPic3",
                     "CONTROL_BLFXRStaPic3",
                     "LEFT_ARROW",
                     "RIGHT_ARROW"};
    window.stateImages = {"main_normal.jpg",  "main_over.jpg",   "main_down.jpg",
                          "main_disable.jpg", "main_color0.jpg", "main_color1.jpg"};
    return window;
}

Window CompositeWindow() {
    Window window{"Composite.ini", {}, {}, {}};
    window.withFaces = {
        "CONTROL_MASK",       "CONTROL_TITLE",    "CONTROL_OSK",       "CONTROL_CLEAR",
        "CONTROL_MEDIA",      "CONTROL_MACRO",    "CONTROL_KEY",       "CONTROL_FUNCTION",
        "CONTROL_OK",         "CONTROL_CANCEL",   "FUNC_MACRO_DELETE", "FUNC_MACRO_ADD",
        "FUNC_MACRO_UP_TOP",  "FUNC_MACRO_UP",    "FUNC_MACRO_DOWN",   "FUNC_MACRO_DOWN_BOTTOM",
        "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD", "CONTROL_APPLY"};
    window.placed = {"FUNC_MACRO_RECORD_DELAY",
                     "FUNC_MACRO_LIST2",
                     "FUNC_MACRO_CYCLES",
                     "FUNC_MACRO_CYCLES_PROMPT",
                     "TISHI_SINGLE_STATIC",
                     "MARCO_NAME_SETTING",
                     "KEY_SETTING",
                     "MEDIA_SETTING_TISHI",
                     "FUNCTION_KEY_SETTING_TISHI",
                     "FUNC_MACRO_RECORD_DELAY2",
                     "FUNC_KEY_INPUT",
                     "FUNC_MEDIA_SELECT",
                     "FUNC_MACRO_LIST",
                     "FUNC_FUNCTION_SELECT",
                     "FUNC_KEY_RADIO_KB",
                     "FUNC_KEY_RADIO_KB_STATIC",
                     "FUNC_KEY_RADIO_MOU",
                     "FUNC_KEY_RADIO_MOU_STATIC",
                     "FUNC_MOUSE_SELECT"};
    window.stateImages.push_back("key_disable.jpg");
    for (const char* set : {"key", "media", "function"}) {
        for (const char* state : {"normal", "over", "down"}) {
            window.stateImages.push_back(std::string(set) + "_" + state + ".jpg");
        }
    }
    for (const char* set : {"macro", "macro2"}) {
        for (const char* state : {"normal", "over", "down", "disable"}) {
            window.stateImages.push_back(std::string(set) + "_" + state + ".jpg");
        }
    }
    return window;
}

Window ProfileWindow() {
    return {
        "Profile.ini",
        {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY"},
        {"PROGRAM_LIST"},
        {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}};
}

class SkinContract : public ::testing::TestWithParam<Window> {
protected:
    fs::path SkinFile() const { return kSkins / GetParam().skinFile; }

    QSize WindowSize() const { return Picture(kSkins / Read(SkinFile(), "SCREEN", "Main")).size(); }
};

TEST_P(SkinContract, BackgroundAndMaskExistWithOneSize) {
    const std::string background = Read(SkinFile(), "SCREEN", "Main");
    const std::string mask = Read(SkinFile(), "SCREEN", "Mask");
    ASSERT_NE(background, kMissing);
    ASSERT_NE(mask, kMissing);
    const QImage backgroundImage = Picture(kSkins / background);
    const QImage maskImage = Picture(kSkins / mask);
    ASSERT_FALSE(backgroundImage.isNull()) << background;
    ASSERT_FALSE(maskImage.isNull()) << mask;
    EXPECT_EQ(maskImage.size(), backgroundImage.size());
    EXPECT_NE(QImageReader(QString::fromStdString((kSkins / mask).string())).format(), "jpeg")
        << "a mask must be lossless";
}

// Only exact white is outside the window: a mask of any other shade would leave a visible rim.
TEST_P(SkinContract, MaskIsBlackAndWhiteWithRoundedCorners) {
    const QImage mask =
        Picture(kSkins / Read(SkinFile(), "SCREEN", "Mask")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(mask.isNull());
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb pixel = mask.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(pixel == 0xFFFFFF || pixel == 0) << x << "," << y;
        }
    }
    const int right = mask.width() - 1;
    const int bottom = mask.height() - 1;
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
        EXPECT_EQ(mask.pixel(corner) & 0xFFFFFF, 0xFFFFFFu) << "corner " << corner.x();
    }
    EXPECT_EQ(mask.pixel(mask.width() / 2, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(mask.pixel(mask.width() / 2, mask.height() / 2) & 0xFFFFFF, 0u);
}

// A state image may be taller than its window by a strip of faces that lie away from their
// controls' places, within the margin the windows' surfaces keep.
TEST_P(SkinContract, StateImagesExistAtTheWindowsSize) {
    const QSize size = WindowSize();
    ASSERT_TRUE(size.isValid());
    for (const std::string& name : GetParam().stateImages) {
        const QImageReader reader(QString::fromStdString((kSkins / name).string()));
        EXPECT_EQ(reader.format(), "jpeg") << name;
        EXPECT_EQ(reader.size().width(), size.width()) << name;
        EXPECT_GE(reader.size().height(), size.height()) << name;
        EXPECT_LE(reader.size().height(), size.height() + kFaceStripMargin) << name;
    }
}

TEST_P(SkinContract, EveryEntryTheWindowReadsParsesAndLiesInside) {
    const QRect window(QPoint(0, 0), WindowSize());
    std::vector<std::string> keys = GetParam().withFaces;
    keys.insert(keys.end(), GetParam().placed.begin(), GetParam().placed.end());
    for (const std::string& key : keys) {
        const std::string text = Read(SkinFile(), "BUTTONINFO", key);
        ASSERT_NE(text, kMissing) << key;
        const std::optional<QRect> rect = ParseEntry(text);
        ASSERT_TRUE(rect) << key << "=" << text;
        EXPECT_TRUE(window.contains(*rect)) << key << "=" << text;
    }
}

// An image button at (1, 1) would be disabled; its face is cut one pixel up and left, which
// must stay inside the state image; two image buttons must not cover each other.
TEST_P(SkinContract, ImageButtonsAreEnabledAndApart) {
    std::vector<std::pair<std::string, QRect>> buttons;
    for (const std::string& key : GetParam().withFaces) {
        const std::optional<QRect> rect = ParseEntry(Read(SkinFile(), "BUTTONINFO", key));
        ASSERT_TRUE(rect) << key;
        EXPECT_FALSE(rect->x() == 1 && rect->y() == 1) << key;
        EXPECT_TRUE(rect->x() >= 1 && rect->y() >= 1) << key;
        if (key != "CONTROL_MASK") {  // the page area lies under the pages' buttons
            buttons.emplace_back(key, *rect);
        }
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            if (ShareAPlace(buttons[i].first, buttons[j].first)) {
                continue;
            }
            EXPECT_FALSE(buttons[i].second.intersects(buttons[j].second))
                << buttons[i].first << " and " << buttons[j].first;
        }
    }
}

// D1-D6 stand where F1-F4 are (never both at once); their faces lie in the state images' strip
// below the window, apart from each other, and each shows a cap.
TEST(MainSkin, ExtraKeysShareTheFKeysPlaceWithFacesOfTheirOwn) {
    const fs::path file = kSkins / "Main.ini";
    QRect fKeys;
    for (const char* key : {"KEY_03B", "KEY_03C", "KEY_03D", "KEY_03E"}) {
        const std::optional<QRect> rect = ParseEntry(Read(file, "BUTTONINFO", key));
        ASSERT_TRUE(rect) << key;
        fKeys = fKeys.united(*rect);
    }
    const QImage normal = Picture(kSkins / "main_normal.jpg");
    const int windowHeight = Picture(kSkins / Read(file, "SCREEN", "Main")).height();
    std::vector<QRect> faces;
    for (int n = 1; n <= 6; ++n) {
        const std::string key = "KEY_D" + std::to_string(n);
        const std::optional<QRect> place = ParseEntry(Read(file, "BUTTONINFO", key));
        const std::optional<QRect> origin = ParseEntry(Read(file, "BUTTONINFO2", key));
        ASSERT_TRUE(place && origin) << key;
        EXPECT_TRUE(fKeys.contains(*place)) << key;
        const QRect face(origin->topLeft() - QPoint(1, 1), place->size());
        EXPECT_GE(face.top(), windowHeight - 1) << key;
        EXPECT_TRUE(normal.rect().contains(face)) << key;
        for (const QRect& other : faces) {
            EXPECT_FALSE(other.intersects(face)) << key;
        }
        faces.push_back(face);
        // Drawn: the cap's middle differs from the strip's ground at its corner.
        EXPECT_NE(normal.pixel(face.center()), normal.pixel(face.bottomRight() + QPoint(2, 2)))
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, SkinContract,
                         ::testing::Values(MainWindow(), CompositeWindow(), ProfileWindow()),
                         [](const auto& window) {
                             const std::string file = window.param.skinFile;
                             return file.substr(0, file.find('.'));
                         });

// Screens at 200 % read the twin "name@2x.ext" of every picture: the same picture, twice as
// wide and high.
TEST(SkinPictures, EveryPictureHasItsTwinOfTwiceTheSize) {
    int pictures = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kSkins)) {
        const fs::path file = entry.path();
        const std::string stem = file.stem().string();
        if (!entry.is_regular_file() || stem.ends_with("@2x") ||
            QImageReader(QString::fromStdString(file.string())).format().isEmpty()) {
            continue;
        }
        ++pictures;
        const fs::path twin = file.parent_path() / (stem + "@2x" + file.extension().string());
        const QImageReader picture(QString::fromStdString(file.string()));
        const QImageReader twinPicture(QString::fromStdString(twin.string()));
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(twinPicture.format(), picture.format()) << twin;
        EXPECT_EQ(twinPicture.size(), picture.size() * 2) << twin;
    }
    EXPECT_GT(pictures, 100);
}

std::string WholeText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double MeanLightness(const QImage& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            sum += QColor(picture.pixel(x, y)).lightnessF();
        }
    }
    return sum / (picture.width() * picture.height());
}

// The light skin is the dark one's geometry in other colours: the same layout files, a twin of
// every picture at the same size, and the windows light where the dark ones are dark.
TEST(LightSkin, HasTheDarkSkinsLayoutAndPicturesInLightColours) {
    const fs::path light = kSkins / "Light";
    int pictures = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSkins)) {
        const fs::path file = entry.path();
        const fs::path twin = light / file.filename();
        if (!entry.is_regular_file()) {
            continue;
        }
        if (file.extension() == ".ini") {
            EXPECT_EQ(WholeText(twin), WholeText(file)) << twin;
            continue;
        }
        const QImageReader picture(QString::fromStdString(file.string()));
        if (picture.format().isEmpty()) {
            continue;
        }
        ++pictures;
        const QImageReader twinPicture(QString::fromStdString(twin.string()));
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(twinPicture.format(), picture.format()) << twin;
        EXPECT_EQ(twinPicture.size(), picture.size()) << twin;
    }
    EXPECT_GT(pictures, 100);
    for (const char* window : {"main_normal.jpg", "composite_back.png", "Profile_normal.jpg"}) {
        EXPECT_LT(MeanLightness(Picture(kSkins / window)), 0.3) << window;
        EXPECT_GT(MeanLightness(Picture(light / window)), 0.7) << window;
    }
}

TEST(MainSkin, LinksToAnAddressOfAtMost259Characters) {
    const std::string link = Read(kSkins / "Main.ini", "SCREEN", "Link");
    ASSERT_NE(link, kMissing);
    EXPECT_LE(link.size(), 259u);
    EXPECT_EQ(link.rfind("https://", 0), 0u) << link;
}

TEST(MainSkin, ArrowIndicatorsFindTheirPicturesInTheArrowImage) {
    const fs::path file = kSkins / "Main.ini";
    const QImage arrows = Picture(kSkins / "Arrow.jpg");
    ASSERT_FALSE(arrows.isNull());
    for (const char* side : {"LEFT", "RIGHT"}) {
        const std::optional<QRect> indicator =
            ParseEntry(Read(file, "BUTTONINFO", std::string(side) + "_ARROW"));
        ASSERT_TRUE(indicator) << side;
        for (const char* direction : {"UP", "DOWN"}) {
            const std::string key = std::string(direction) + "_ARROW_" + side + "1";
            const std::optional<QRect> origin = ParseEntry(Read(file, "BUTTONINFO2", key));
            ASSERT_TRUE(origin) << key;
            const QRect face(origin->topLeft() - QPoint(1, 1), indicator->size());
            EXPECT_TRUE(arrows.rect().contains(face)) << key;
        }
    }
}

// The keys keep the places of the keyboard: a key left of (above) another in key units is left
// of (above) it on screen, and wider keys are wider.
TEST(MainSkin, KeysStandAtTheirKeyboardPlaces) {
    const fs::path file = kSkins / "Main.ini";
    std::vector<std::pair<const KeyButton*, QRect>> keys;
    for (const KeyButton& key : KeyButtons()) {
        const std::optional<QRect> rect = ParseEntry(Read(file, "BUTTONINFO", SkinEntryOf(key)));
        ASSERT_TRUE(rect) << SkinEntryOf(key);
        keys.emplace_back(&key, *rect);
    }
    for (const auto& [a, rectA] : keys) {
        for (const auto& [b, rectB] : keys) {
            if (a->place.Right() <= b->place.x) {
                EXPECT_LT(rectA.right(), rectB.left()) << SkinEntryOf(*a) << " " << SkinEntryOf(*b);
            }
            if (a->place.Bottom() <= b->place.y) {
                EXPECT_LT(rectA.bottom(), rectB.top()) << SkinEntryOf(*a) << " " << SkinEntryOf(*b);
            }
            if (a->place.width > b->place.width) {
                EXPECT_GT(rectA.width(), rectB.width())
                    << SkinEntryOf(*a) << " " << SkinEntryOf(*b);
            }
        }
    }
}

TEST(MainSkin, LightingPanelPicturesExist) {
    std::vector<std::string> names;
    for (int n = 1; n <= 8; ++n) {
        names.push_back("Color" + std::to_string(n) + ".bmp");
    }
    for (int n = 0; n <= 25; ++n) {
        names.push_back(std::to_string(n) + ".bmp");
    }
    for (int n = 1; n <= 10; ++n) {
        names.push_back("jdt" + std::to_string(n) + ".bmp");
    }
    for (const char* name :
         {"dengup", "dengdown", "leftup",   "leftdown", "rightup",    "rightdown", "upup",
          "updown", "downup",   "downdown", "julong",   "julongdown", "kuosan",    "kuosandown",
          "hong",   "hongok",   "huang",    "huangok",  "lv",         "lvok",      "lan",
          "lanok",  "sjsup",    "sjsdown",  "user1up",  "user1down",  "user2up",   "user2down"}) {
        names.push_back(std::string(name) + ".bmp");
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(Picture(kSkins / name).isNull()) << name;
    }
    EXPECT_FALSE(Picture(kSkins / "Arrow.jpg").isNull());
}

// The panel's pictures are shown at their own size, so each must fit the place it is shown at.
TEST(MainSkin, LightingPanelPicturesHaveTheSizeOfTheirPlaces) {
    const struct {
        const char* entry;
        std::vector<std::string> pictures;
    } places[] = {
        {"CONTROL_LightSlider", {"0.bmp", "1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"}},
        {"CONTROL_SpeedSlider", {"6.bmp", "7.bmp", "8.bmp", "9.bmp", "10.bmp", "11.bmp"}},
        {"CONTROL_DengStaPic", {"dengup.bmp", "dengdown.bmp"}},
        {"CONTROL_BLFXLStaPic",
         {"leftup.bmp", "leftdown.bmp", "upup.bmp", "updown.bmp", "kuosan.bmp", "kuosandown.bmp"}},
        {"CONTROL_BLFXRStaPic",
         {"rightup.bmp", "rightdown.bmp", "downup.bmp", "downdown.bmp", "julong.bmp",
          "julongdown.bmp"}},
        {"CONTROL_HONGPIC", {"hong.bmp", "hongok.bmp"}},
        {"CONTROL_LANPIC", {"lan.bmp", "lanok.bmp"}},
        {"CONTROL_HXsjsStaPic", {"sjsup.bmp", "sjsdown.bmp"}},
        {"CONTROL_FYSJSStaPic", {"sjsup.bmp", "sjsdown.bmp"}},
        {"CONTROL_USERgjStaPic1", {"user1up.bmp", "user1down.bmp"}},
        {"CONTROL_USERgjStaPic2", {"user2up.bmp", "user2down.bmp"}},
        {"CONTROL_Color1", {"Color1.bmp"}},
        {"CONTROL_Color8", {"Color8.bmp"}},
        {"CONTROL_JDTStatic", {"jdt1.bmp", "jdt10.bmp"}},
    };
    for (const auto& place : places) {
        const std::optional<QRect> rect =
            ParseEntry(Read(kSkins / "Main.ini", "BUTTONINFO", place.entry));
        ASSERT_TRUE(rect) << place.entry;
        for (const std::string& name : place.pictures) {
            EXPECT_EQ(Picture(kSkins / name).size(), rect->size()) << place.entry << " " << name;
        }
    }
}

}  // namespace
}  // namespace zarvin
