#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMargins>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "skin/BaseDialog.h"
#include "skin/FacePieces.h"
#include "skin/LayoutEntry.h"
#include "skin/LayoutReaders.h"
#include "skin/OutlineRegion.h"
#include "skin/PictureLoader.h"
#include "skin/PngButton.h"
#include "skin/SkinIniFile.h"
#include "skin/StateImages.h"
#include "support/QtTestApplication.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// '#' is a black pixel, anything else white.
QImage MaskOf(const std::vector<std::string>& rows) {
    QImage mask(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()),
                QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const bool opaque = rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#';
            mask.setPixel(x, y, opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return mask;
}

// A picture whose every pixel tells where it lies: red = x, green = y.
QImage Coordinates(int width, int height, int blue) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x, y, blue));
        }
    }
    return image;
}

QImage Filled(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool SameRegion(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

// Puts back the process-ending handler when a test is done.
class RecordingFailureHandler {
public:
    RecordingFailureHandler()
        : previous_(SetSkinPictureFailureHandler([this](const fs::path& file, int code) {
              calls.push_back({file, code});
          })) {}
    ~RecordingFailureHandler() { SetSkinPictureFailureHandler(previous_); }
    RecordingFailureHandler(const RecordingFailureHandler&) = delete;
    RecordingFailureHandler& operator=(const RecordingFailureHandler&) = delete;

    struct Call {
        fs::path file;
        int code;
    };
    std::vector<Call> calls;

private:
    SkinPictureFailureHandler previous_;
};

// ---- Outline ----

struct RunsCase {
    const char* name;
    std::vector<std::string> rows;
    std::vector<QRect> runs;
};

TEST(OutlineRuns, FollowNonWhitePixelsRowByRow) {
    const std::vector<RunsCase> cases = {
        {"all white row", {"....."}, {}},
        {"run ending at the row end", {".##.#"}, {QRect(1, 0, 2, 1), QRect(4, 0, 1, 1)}},
        {"single pixels", {"#.#.#"}, {QRect(0, 0, 1, 1), QRect(2, 0, 1, 1), QRect(4, 0, 1, 1)}},
        {"whole row", {"####"}, {QRect(0, 0, 4, 1)}},
        {"rows from the top",
         {"....", "##.#", "....", ".##."},
         {QRect(0, 1, 2, 1), QRect(3, 1, 1, 1), QRect(1, 3, 2, 1)}},
    };
    for (const RunsCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OutlineRuns(MaskOf(c.rows)), c.runs);
    }
}

TEST(OutlineRuns, OnlyPureWhiteIsTransparent) {
    QImage mask = MaskOf({"...."});
    mask.setPixel(1, 0, qRgb(254, 255, 255));
    mask.setPixel(2, 0, qRgb(255, 255, 254));
    EXPECT_EQ(OutlineRuns(mask), (std::vector<QRect>{QRect(1, 0, 2, 1)}));
    EXPECT_TRUE(OutlineRuns(QImage()).empty());
}

TEST(OutlineRegion, ExcludesExactlyTheWhitePixels) {
    const QImage mask = MaskOf({".###", "####", "####"});
    const QRegion expected = QRegion(0, 0, 4, 3).subtracted(QRegion(0, 0, 1, 1));
    EXPECT_TRUE(SameRegion(OutlineRegion(mask), expected));
    EXPECT_TRUE(OutlineRegion(MaskOf({"...", "..."})).isEmpty());
}

TEST(OutlineRegion, JoinsBatchesWithoutLosingRuns) {
    // 4500 single-pixel runs in one row: batches of 2000, 2000 and 500.
    std::string row;
    for (int i = 0; i < 4500; ++i) {
        row += "#.";
    }
    const std::vector<QRect> runs = OutlineRuns(MaskOf({row}));
    ASSERT_EQ(runs.size(), 4500u);
    const QRegion region = RegionFromRuns(runs);
    EXPECT_EQ(std::vector<QRect>(region.begin(), region.end()), runs);
}

// ---- Pictures and state surfaces ----

TEST(SkinPicture, PicturesAreRecognisedByTheirContent) {
    const TempFolder folder;
    const QImage picture = Coordinates(20, 10, 0);
    for (const char* format : {"BMP", "JPEG", "PNG"}) {
        SCOPED_TRACE(format);
        const fs::path file = folder / (std::string("picture-") + format + ".img");
        ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), format));
        EXPECT_EQ(ReadPicture(file).size(), picture.size());
    }
}

TEST(SkinPicture, StateSurfaceHoldsTheImageUnscaledOnBlack) {
    // Taller than wide: the whole height is kept.
    const QImage image = Coordinates(40, 90, 7);
    const QImage surface = MakeStateSurface(image, QSize(40, 90));
    ASSERT_EQ(surface.size(), QSize(140, 190));
    EXPECT_EQ(surface.pixel(0, 0), image.pixel(0, 0));
    EXPECT_EQ(surface.pixel(39, 89), image.pixel(39, 89));
    EXPECT_EQ(surface.pixel(40, 10), qRgb(0, 0, 0));
    EXPECT_EQ(surface.pixel(10, 90), qRgb(0, 0, 0));
}

TEST(SkinPicture, MissingStateImageGivesBlackSurfaceSilently) {
    const TempFolder folder;
    const RecordingFailureHandler handler;
    const QImage surface = LoadStateSurface(folder / "main_over.jpg", QSize(30, 20));
    EXPECT_EQ(surface.size(), QSize(130, 120));
    EXPECT_EQ(surface.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_TRUE(handler.calls.empty());
}

TEST(SkinPicture, UnreadableSkinPictureGoesToTheHandler) {
    const TempFolder folder;
    const fs::path broken = folder.Write("broken.jpg", "not a picture");
    const RecordingFailureHandler handler;
    EXPECT_TRUE(LoadSkinPicture(broken).isNull());
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0].file, broken);
    EXPECT_NE(handler.calls[0].code, 0);
}

TEST(SkinPictureDeathTest, MissingPictureEndsTheProcessNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadSkinPicture("/nonexistent/Skins/main_bg.jpg"),
                ::testing::ExitedWithCode(kSkinPictureExitCode),
                "cannot read skin picture: /nonexistent/Skins/main_bg.jpg");
    static_assert(kSkinPictureExitCode != 0);
}

// ---- Image buttons ----

class PngButtonTest : public ::testing::Test {
public:
    void SetUp() override {
        button.emplace();
        button->resize(20, 10);
        button->SetFaces(1, 1, ButtonFaces{&normal, &hover, &pressed, &disabled, &selected});
        button->SetToggleFaces(&toggleOff, &toggleOn, false, false);
        button->SetTextStyle(false, 8, "Sans", colours, text_format::kDefault);
    }

    void Enter() {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(&*button, &enter);
    }

    void SendMouse(QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(&*button, &event);
    }

    QImage normal = Filled(QSize(200, 200), qRgb(10, 10, 10));
    QImage hover = Filled(QSize(200, 200), qRgb(20, 20, 20));
    QImage pressed = Filled(QSize(200, 200), qRgb(30, 30, 30));
    QImage disabled = Filled(QSize(200, 200), qRgb(40, 40, 40));
    QImage selected = Filled(QSize(200, 200), qRgb(50, 50, 50));
    QImage toggleOff = Filled(QSize(200, 200), qRgb(60, 60, 60));
    QImage toggleOn = Filled(QSize(200, 200), qRgb(70, 70, 70));
    const ButtonTextColours colours{Qt::white, Qt::red, Qt::green, Qt::gray, Qt::blue};
    std::optional<CPngButton> button;
};

struct StateCase {
    const char* name;
    bool disabled;
    bool toggleMode;
    bool toggleOn;
    bool down;
    bool hovered;
    bool selected;
    QImage PngButtonTest::*face;
    QColor ButtonTextColours::*textColour;
};

TEST_F(PngButtonTest, FaceFollowsTheStateOrder) {
    using B = PngButtonTest;
    using C = ButtonTextColours;
    const std::vector<StateCase> cases = {
        {"nothing", false, false, false, false, false, false, &B::normal, &C::normal},
        {"selected", false, false, false, false, false, true, &B::selected, &C::selected},
        {"hover over selected", false, false, false, false, true, true, &B::hover, &C::hover},
        {"pressed over hover", false, false, false, true, true, true, &B::pressed, &C::pressed},
        {"toggle on over pressed", false, true, true, true, true, true, &B::toggleOn, &C::normal},
        {"toggle off", false, true, false, false, false, false, &B::toggleOff, &C::normal},
        {"disabled over all", true, true, true, true, true, true, &B::disabled, &C::disabled},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        button->setEnabled(!c.disabled);
        button->SetToggleFaces(&toggleOff, &toggleOn, c.toggleMode, c.toggleOn);
        button->setDown(c.down);
        if (c.hovered) {
            Enter();
        }
        button->SetSelected(c.selected, true);
        ASSERT_EQ(button->IsHovered(), c.hovered);

        const CPngButton::Look look = button->CurrentLook();
        EXPECT_EQ(look.face, &(this->*c.face));
        EXPECT_EQ(look.textColour, colours.*c.textColour);
    }
}

// The window releases its surfaces once its buttons are placed: every state draws the same
// pixels after as before, from pieces cut at the button's place (at 1x and from a 2x surface).
TEST(FacePieces, ButtonsDrawEveryStateTheSameAfterTheSurfacesAreReleased) {
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        std::vector<QImage> surfaces;
        for (int blue : {10, 20, 30, 40, 50}) {
            surfaces.push_back(Coordinates(int(90 * ratio), int(60 * ratio), blue));
            surfaces.back().setDevicePixelRatio(ratio);
        }
        // The hover surface equals the normal one under the button: its piece shares memory.
        surfaces[1] = surfaces[0].copy();
        CPngButton button;
        button.setGeometry(10, 5, 30, 20);
        button.SetFaces(11, 6, {&surfaces[0], &surfaces[1], &surfaces[2], &surfaces[3],
                                &surfaces[4]});
        const auto drawEveryState = [&button] {
            std::vector<QImage> drawn;
            for (int state = 0; state < 5; ++state) {
                button.setEnabled(state != 3);
                button.SetSelected(state == 4, false);
                button.setDown(state == 2);
                if (state == 1) {
                    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
                    QApplication::sendEvent(&button, &enter);
                } else {
                    QEvent leave(QEvent::Leave);
                    QApplication::sendEvent(&button, &leave);
                }
                drawn.push_back(button.grab().toImage());
            }
            return drawn;
        };
        const std::vector<QImage> before = drawEveryState();
        EXPECT_EQ(before[0].pixel(0, 0), surfaces[0].pixel(int(10 * ratio), int(5 * ratio)));
        EXPECT_EQ(button.Pieces().PieceOf(&surfaces[0])->constBits(),
                  button.Pieces().PieceOf(&surfaces[1])->constBits());
        for (QImage& surface : surfaces) {
            surface = QImage();
        }
        // Faces set again from released surfaces keep their pieces.
        button.SetStateFaces({&surfaces[0], &surfaces[1], &surfaces[2], &surfaces[3],
                              &surfaces[4]});
        EXPECT_EQ(drawEveryState(), before);
    }
}

// A place reaching beyond the surface draws only the part the surface has, as drawing from
// the whole surface did; such a button is not opaque.
TEST(FacePieces, APlaceBeyondTheSurfaceKeepsOnlyThePartInside) {
    QImage surface = Coordinates(40, 30, 9);
    FacePieces pieces;
    pieces.Place(QPoint(30, -2), QSize(20, 10));
    pieces.Cut(&surface);
    ASSERT_NE(pieces.PieceOf(&surface), nullptr);
    EXPECT_EQ(pieces.PieceOf(&surface)->size(), QSize(10, 8));
    EXPECT_FALSE(pieces.Covers(&surface));
    QImage drawn(20, 10, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    pieces.Draw(painter, &surface);
    painter.end();
    EXPECT_EQ(drawn.pixel(0, 2), surface.pixel(30, 0));
    EXPECT_EQ(drawn.pixel(9, 9), surface.pixel(39, 7));
    EXPECT_EQ(drawn.pixel(10, 5), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(5, 1), qRgb(255, 255, 255));
}

TEST_F(PngButtonTest, SettingFacesClearsHover) {
    Enter();
    ASSERT_TRUE(button->IsHovered());
    button->SetStateFaces(ButtonFaces{&normal, &hover, &pressed, &disabled, &selected});
    EXPECT_EQ(button->CurrentLook().face, &normal);
}

TEST_F(PngButtonTest, DrawHookLearnsWhetherTheNormalSurfaceWasDrawn) {
    std::vector<bool> calls;
    button->SetDrawHook([&](CPngButton&, bool normalFace) { calls.push_back(normalFace); });
    // The disabled face is the normal surface here, as for the flip buttons.
    button->SetStateFaces(ButtonFaces{&normal, &hover, &pressed, &normal, &selected});
    calls.clear();

    button->grab();
    Enter();
    button->grab();
    button->setEnabled(false);
    button->grab();
    EXPECT_EQ(calls, (std::vector<bool>{true, false, true}));
}

TEST_F(PngButtonTest, OutlineDrawsAFrameAndKeepsTheWidthAtMost100) {
    button->SetOutline(Qt::red, 150, true);
    EXPECT_EQ(button->OutlineWidth(), 100);
    // The frame is the button's two outermost rows and columns, the face shows inside it.
    const QImage drawn = button->grab().toImage();
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const bool frame = x < 2 || y < 2 || x >= drawn.width() - 2 || y >= drawn.height() - 2;
            ASSERT_EQ(drawn.pixel(x, y), frame ? qRgb(255, 0, 0) : normal.pixel(0, 0))
                << x << ", " << y;
        }
    }

    button->SetOutline(Qt::red, 150, false);
    EXPECT_EQ(button->OutlineWidth(), 150);
    EXPECT_EQ(button->grab().toImage().pixel(1, 1), normal.pixel(0, 0));
}

// The box around the pixels that differ from `background`.
QRect InkBox(const QImage& drawn, QRgb background) {
    QRect box;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST_F(PngButtonTest, TextIsDrawnInTheStateColourAndTurnedByTheEscapement) {
    button->resize(60, 60);
    button->setText("WWW");
    button->SetTextStyle(true, 8, "DejaVu Sans", colours, text_format::kDefault);
    Enter();
    const QRgb face = hover.pixel(0, 0);
    const QImage flat = button->grab().toImage();
    const QRect flatBox = InkBox(flat, face);
    ASSERT_TRUE(flatBox.isValid());
    EXPECT_GT(flatBox.width(), flatBox.height());
    EXPECT_LE((flatBox.center() - button->rect().center()).manhattanLength(), 3);
    int reddest = 0;
    for (int y = flatBox.top(); y <= flatBox.bottom(); ++y) {
        for (int x = flatBox.left(); x <= flatBox.right(); ++x) {
            reddest = std::max(reddest, qRed(flat.pixel(x, y)) - qGreen(flat.pixel(x, y)));
        }
    }
    EXPECT_GT(reddest, 100);

    button->SetTextRotation(900, true);
    const QRect turnedBox = InkBox(button->grab().toImage(), face);
    ASSERT_TRUE(turnedBox.isValid());
    EXPECT_GT(turnedBox.height(), turnedBox.width());
    EXPECT_LE((turnedBox.center() - button->rect().center()).manhattanLength(), 3);
}

// Captions in any language stay inside the button and off its margins: a long word shrinks, a
// long phrase breaks into lines, CJK text as well.
TEST_F(PngButtonTest, AFittedCaptionStaysInsideItsMargins) {
    button->resize(74, 28);
    button->SetTextStyle(true, 9, "DejaVu Sans", colours,
                         text_format::kDefault | text_format::kFit);
    button->SetTextMargins(QMargins(6, 1, 6, 1));
    const QRgb face = normal.pixel(0, 0);
    const QRect inside = button->rect().marginsRemoved(QMargins(6, 0, 6, 0));
    for (const char* caption : {"Donaudampfschifffahrt", "Ganz nach oben", "Alle entfernen",
                                "\u5168\u90e8\u6e05\u9664\u3059\u3079\u3066\u6d88\u53bb", "OK"}) {
        SCOPED_TRACE(caption);
        button->setText(QString::fromUtf8(caption));
        const QRect ink = InkBox(button->grab().toImage(), face);
        ASSERT_TRUE(ink.isValid());
        EXPECT_TRUE(inside.contains(ink))
            << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }
    // A caption that fits keeps its size: "OK" is not shrunk to the smallest.
    button->setText(QStringLiteral("OK"));
    const QRect ok = InkBox(button->grab().toImage(), face);
    EXPECT_GE(ok.height(), 7);
}

// The caption is turned about its own centre; the ring drawn after it still frames the button.
TEST_F(PngButtonTest, TheFocusRingFramesAButtonThatWritesItsCaption) {
    button->resize(60, 30);
    button->SetTextStyle(true, 8, "DejaVu Sans", colours, text_format::kDefault);
    button->setText(QStringLiteral("WWW"));
    button->show();
    button->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*button));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage drawn = button->grab().toImage();
    // Whichever face the pointer leaves, it shows between the ring and the caption.
    const QRgb face = drawn.pixel(8, 8);
    for (const QPoint side : {QPoint(1, 15), QPoint(58, 15), QPoint(30, 1), QPoint(30, 28)}) {
        EXPECT_NE(drawn.pixel(side), face) << side.x() << "," << side.y();
    }
}

TEST_F(PngButtonTest, DoubleClickGivesTwoClicks) {
    int clicks = 0;
    QObject::connect(&*button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    SendMouse(QEvent::MouseButtonPress, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, Qt::NoButton);
    SendMouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks, 2);
}

// ---- Layout entries and readers ----

struct ParseCase {
    std::string_view text;
    LayoutEntry entry;
};

TEST(LayoutEntry, ReadsAsScanfReadsFourNumbers) {
    const std::vector<ParseCase> cases = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"5,6,7,8,anything", {5, 6, 7, 8}},
        {"7,9", {7, 9, 0, 0}},
        {" 3, -4,+5 , 6", {3, -4, 5, 0}},
        {"12,x,3,4", {12, 0, 0, 0}},
        {"1;2,3,4", {1, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"+-5,1,1,1", {0, 0, 0, 0}},
        {"99999999999,-99999999999,2,3", {kMaxLayoutCoordinate, -kMaxLayoutCoordinate, 2, 3}},
        {kMissingLayoutEntry, {1, 1, 1, 1}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLayoutEntry(c.text), c.entry);
    }
}

class LayoutReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const CIniFile skin(skinFile);
        for (const auto& [key, value] :
             std::vector<std::pair<const char*, const char*>>{{"FULL", "10,20,30,40"},
                                                              {"TRAILING", "5,6,7,8,anything"},
                                                              {"SHORT", "7,9"},
                                                              {"ONE_ONE", "1,1,50,20"},
                                                              {"MOVE", "100,200,0,0"},
                                                              {"LEFT_ARROW", "60,70,16,12"}}) {
            ASSERT_TRUE(skin.WriteString("BUTTONINFO", key, value));
        }
        ASSERT_TRUE(skin.WriteString("BUTTONINFO2", "UP_ARROW_LEFT1", "300,40,0,0"));
    }

    const TempFolder folder;
    const fs::path skinFile = folder / "Main.ini";
    QWidget window;
    QImage surface = MakeStateSurface(Coordinates(250, 250, 77), QSize(250, 250));
    const ButtonFaces faces{&surface, &surface, &surface, &surface, &surface};
};

struct PlacementCase {
    const char* key;
    QRect place;
    bool enabled;
};

TEST_F(LayoutReaderTest, PlaceWithFacesPlacesAndDisablesRemovedButtons) {
    const std::vector<PlacementCase> cases = {
        {"FULL", QRect(10, 20, 30, 40), true}, {"TRAILING", QRect(5, 6, 7, 8), true},
        {"SHORT", QRect(7, 9, 0, 0), true},    {"ONE_ONE", QRect(1, 1, 50, 20), false},
        {"ABSENT", QRect(1, 1, 1, 1), false},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.key);
        CPngButton button(&window);
        PlaceWithFaces(button, skinFile, "BUTTONINFO", c.key, faces);
        EXPECT_EQ(button.geometry(), c.place);
        EXPECT_EQ(button.Origin(), c.place.topLeft());
        EXPECT_EQ(button.isEnabled(), c.enabled);

        QWidget control(&window);
        PlaceControl(control, skinFile, "BUTTONINFO", c.key);
        EXPECT_EQ(control.geometry(), c.place);
        EXPECT_TRUE(control.isEnabled());
    }
    CPngButton fromMissingFile(&window);
    PlaceWithFaces(fromMissingFile, folder / "Absent.ini", "BUTTONINFO", "FULL", faces);
    EXPECT_EQ(fromMissingFile.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(fromMissingFile.isEnabled());
}

TEST_F(LayoutReaderTest, FaceIsCutOnepixelUpAndLeftOfTheButton) {
    CPngButton button(&window);
    PlaceWithFaces(button, skinFile, "BUTTONINFO", "FULL", faces);
    const QImage drawn = button.grab().toImage();
    ASSERT_EQ(drawn.size(), QSize(30, 40));
    EXPECT_EQ(drawn.pixel(0, 0), qRgb(9, 19, 77));
    EXPECT_EQ(drawn.pixel(29, 39), qRgb(38, 58, 77));
}

TEST_F(LayoutReaderTest, MoveControlKeepsTheSize) {
    QWidget control(&window);
    control.setGeometry(3, 4, 25, 15);
    MoveControl(control, skinFile, "BUTTONINFO", "MOVE");
    EXPECT_EQ(control.geometry(), QRect(100, 200, 25, 15));
}

TEST_F(LayoutReaderTest, PlaceWithOriginTakesTheOriginFromTheSecondEntry) {
    QImage arrow = Filled(QSize(400, 100), qRgb(1, 2, 3));
    CPngButton button(&window);
    PlaceWithOrigin(button, skinFile, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT1",
                    &arrow);
    EXPECT_EQ(button.geometry(), QRect(60, 70, 16, 12));
    EXPECT_EQ(button.Origin(), QPoint(300, 40));
    const ButtonFaces& set = button.Faces();
    for (const QImage* face : {set.normal, set.hover, set.pressed, set.disabled, set.selected}) {
        EXPECT_EQ(face, &arrow);
    }
    EXPECT_TRUE(button.isEnabled());
}

// ---- Skinned dialog ----

class CountingDialog : public CBaseDialog {
public:
    using CBaseDialog::CBaseDialog;
    int initCount = 0;
    QSize sizeAtInit;

protected:
    void InitDialog() override {
        ++initCount;
        sizeAtInit = size();
    }
};

class BaseDialogTest : public ::testing::Test {
protected:
    void WriteSkin(const char* main, const char* mask) {
        fs::remove(skinFile);
        const CIniFile skin(skinFile);
        if (main != nullptr) {
            ASSERT_TRUE(skin.WriteString("SCREEN", "Main", main));
        }
        if (mask != nullptr) {
            ASSERT_TRUE(skin.WriteString("SCREEN", "Mask", mask));
        }
    }

    void SavePicture(const QImage& picture, const char* name) {
        ASSERT_TRUE(picture.save(QString::fromStdString((folder / name).string())));
    }

    const TempFolder folder;
    const fs::path skinFile = folder / "Skin.ini";
    const fs::path skinFolder = folder.Path() / "";
};

TEST_F(BaseDialogTest, TakesItsSizeFromTheBackgroundAndItsOutlineFromTheMask) {
    SavePicture(Coordinates(60, 40, 200), "back.jpg");
    const QImage mask = MaskOf({"..##..", "######", "..##.."}).scaled(60, 40);
    SavePicture(mask, "mask.bmp");
    WriteSkin("back.jpg", "mask.bmp");

    CountingDialog dialog(skinFile, skinFolder);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(60, 40));
    EXPECT_EQ(dialog.sizeAtInit, QSize(60, 40));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(SameRegion(dialog.mask(), OutlineRegion(mask)));
}

TEST_F(BaseDialogTest, BackgroundServesAsMaskWhenNoneIsNamed) {
    QImage back = Filled(QSize(30, 20), qRgb(0, 0, 0));
    back.setPixel(29, 19, qRgb(255, 255, 255));
    SavePicture(back, "back.png");
    WriteSkin("back.png", nullptr);

    CountingDialog dialog(skinFile, skinFolder);
    dialog.show();
    EXPECT_TRUE(SameRegion(dialog.mask(), QRegion(0, 0, 30, 20).subtracted(QRegion(29, 19, 1, 1))));
}

TEST_F(BaseDialogTest, SkinIsAppliedAgainOnEachShowingAfterItEnded) {
    SavePicture(Filled(QSize(30, 20), qRgb(9, 9, 9)), "small.png");
    SavePicture(Filled(QSize(50, 45), qRgb(9, 9, 9)), "large.png");
    WriteSkin("small.png", nullptr);

    CountingDialog dialog(skinFile, skinFolder);
    dialog.show();
    dialog.hide();
    WriteSkin("large.png", nullptr);
    dialog.show();
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_EQ(dialog.size(), QSize(30, 20));

    dialog.reject();
    EXPECT_TRUE(dialog.Background().isNull());
    dialog.show();
    EXPECT_EQ(dialog.initCount, 2);
    EXPECT_EQ(dialog.size(), QSize(50, 45));
}

TEST_F(BaseDialogTest, IsDraggedByItsBackground) {
    SavePicture(Filled(QSize(80, 60), qRgb(9, 9, 9)), "back.png");
    WriteSkin("back.png", nullptr);
    CountingDialog dialog(skinFile, skinFolder);
    dialog.move(100, 100);
    dialog.show();
    const QPoint start = dialog.pos();

    const QPointF grip(10, 10);
    const QPointF globalGrip = dialog.mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, globalGrip, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
    QMouseEvent drag(QEvent::MouseMove, grip, globalGrip + QPointF(30, 20), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, grip, globalGrip + QPointF(30, 20),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &release);

    EXPECT_EQ(dialog.pos(), start + QPoint(30, 20));
}

TEST_F(BaseDialogTest, MissingPicturesAreReportedByName) {
    SavePicture(Filled(QSize(30, 20), qRgb(9, 9, 9)), "back.png");
    struct Case {
        const char* name;
        const char* main;
        const char* mask;
        fs::path reported;
    };
    const std::vector<Case> cases = {
        {"background", "gone.jpg", "back.png", skinFolder / "gone.jpg"},
        {"mask", "back.png", "gone.bmp", skinFolder / "gone.bmp"},
        {"no background named", nullptr, "back.png", skinFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSkin(c.main, c.mask);
        const RecordingFailureHandler handler;
        CountingDialog dialog(skinFile, skinFolder);
        dialog.show();
        ASSERT_EQ(handler.calls.size(), 1u);
        EXPECT_EQ(handler.calls[0].file, c.reported);
        EXPECT_EQ(handler.calls[0].code, kSkinPictureExitCode);
    }
}

// ---- High-density screens ----

TEST_F(BaseDialogTest, AtTwiceTheDensityTheWindowWearsTheTwinsAtItsOwnSize) {
    SavePicture(Filled(QSize(30, 20), qRgb(10, 10, 10)), "back.png");
    SavePicture(Filled(QSize(60, 40), qRgb(200, 0, 0)), "back@2x.png");
    const QImage mask = MaskOf({"..##..", "######", "..##.."}).scaled(30, 20);
    SavePicture(mask, "mask.png");
    SavePicture(mask.scaled(60, 40), "mask@2x.png");
    WriteSkin("back.png", "mask.png");

    SetSkinPictureScale(2);
    CountingDialog dialog(skinFile, skinFolder);
    dialog.show();
    SetSkinPictureScale(0);
    EXPECT_EQ(dialog.size(), QSize(30, 20));
    EXPECT_EQ(dialog.Background().devicePixelRatio(), 2.0);
    EXPECT_EQ(dialog.Background().pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_TRUE(SameRegion(dialog.mask(), OutlineRegion(mask)));
}

TEST_F(BaseDialogTest, APictureWithoutATwinServesAtEveryDensity) {
    SavePicture(Filled(QSize(30, 20), qRgb(10, 10, 10)), "back.png");
    SetSkinPictureScale(2);
    const QImage picture = ReadScaledPicture(folder / "back.png");
    SetSkinPictureScale(0);
    EXPECT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
}

TEST(SkinPicture, ButtonsCutTheirFacesFromADenseSurfaceAtTheirOwnPlace) {
    QImage twin = Coordinates(80, 60, 0);
    twin.setDevicePixelRatio(2);
    const QImage surface = MakeStateSurface(twin, QSize(40, 30));
    EXPECT_EQ(surface.devicePixelRatio(), 2.0);
    EXPECT_EQ(surface.size(), QSize(280, 260));

    CPngButton button;
    button.setGeometry(11, 6, 4, 3);
    button.SetFaces(11, 6, {&surface, &surface, &surface, &surface, &surface});
    const QImage drawn = button.grab().toImage();
    // The face starts at (origin - 1) in window pixels: (20, 10) in the twin's.
    const QColor first = drawn.pixelColor(0, 0);
    EXPECT_NEAR(first.red(), 20, 2);
    EXPECT_NEAR(first.green(), 10, 2);
}

}  // namespace
}  // namespace zarvin
