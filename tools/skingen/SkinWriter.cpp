#include "SkinWriter.h"

#include <utility>

#include "CompositePainter.h"
#include "ImageFiles.h"
#include "MainPainter.h"
#include "PanelBitmaps.h"
#include "ProfilePainter.h"
#include "Scale.h"
#include "SkinFile.h"
#include "Theme.h"
#include "WindowMask.h"

namespace zarvin::skingen {
namespace {

namespace fs = std::filesystem;

std::vector<LayoutRect> Entries(const std::vector<Control>& controls) {
    std::vector<LayoutRect> entries;
    for (const Control& control : controls) {
        entries.push_back({control.entry, control.rect});
    }
    return entries;
}

void WriteMain(const fs::path& folder, const std::string& homePage) {
    const MainLayout layout = MakeMainLayout();
    std::vector<LayoutRect> origins = layout.arrowOrigins;
    origins.insert(origins.end(), layout.faceOrigins.begin(), layout.faceOrigins.end());
    SkinFile skin{"main_back.png", "main_mask.png", homePage, Entries(layout.controls), origins};
    WriteSkinFile(folder / "Main.ini", skin);
    SavePng(PaintMainWindow(layout, MainImage::Background), folder / skin.background);
    SavePng(MakeWindowMask(layout.size), folder / skin.mask);
    const std::pair<MainImage, const char*> images[] = {{MainImage::Normal, "main_normal.jpg"},
                                                        {MainImage::Over, "main_over.jpg"},
                                                        {MainImage::Down, "main_down.jpg"},
                                                        {MainImage::Disable, "main_disable.jpg"}};
    for (const auto& [image, name] : images) {
        SaveJpeg(PaintMainWindow(layout, image), folder / name);
    }
    // The two colour images are loaded with the others; they show the keyboard as it stands
    // and as it looks under the pointer.
    SaveJpeg(PaintMainWindow(layout, MainImage::Normal), folder / "main_color0.jpg");
    SaveJpeg(PaintMainWindow(layout, MainImage::Over), folder / "main_color1.jpg");
    SaveJpeg(PaintArrowImage(layout), folder / "Arrow.jpg");
    for (const NamedPicture& picture : PaintPanelBitmaps()) {
        SaveBmp(picture.image, folder / picture.name);
    }
}

void WriteComposite(const fs::path& folder) {
    const CompositeLayout layout = MakeCompositeLayout();
    SkinFile skin{"composite_back.png", "composite_mask.png", {}, {}, {}};
    for (const CompositeControl& item : layout.controls) {
        skin.buttonInfo.push_back({item.control.entry, item.control.rect});
    }
    WriteSkinFile(folder / "Composite.ini", skin);
    SavePng(PaintCompositeBackground(layout), folder / skin.background);
    SavePng(MakeWindowMask(layout.size), folder / skin.mask);

    const std::pair<CompositeSet, const char*> sets[] = {{CompositeSet::Key, "key"},
                                                         {CompositeSet::Macro, "macro"},
                                                         {CompositeSet::Macro2, "macro2"},
                                                         {CompositeSet::Media, "media"},
                                                         {CompositeSet::Function, "function"}};
    const std::pair<SetImage, const char*> images[] = {{SetImage::Normal, "normal"},
                                                       {SetImage::Over, "over"},
                                                       {SetImage::Down, "down"},
                                                       {SetImage::Disable, "disable"}};
    for (const auto& [set, setName] : sets) {
        // The macro sets have a disabled image of their own, and the key set one for Apply;
        // the others use their normal image again.
        const bool hasDisable = set == CompositeSet::Macro || set == CompositeSet::Macro2 ||
                                set == CompositeSet::Key;
        for (const auto& [image, imageName] : images) {
            if (image == SetImage::Disable && !hasDisable) {
                continue;
            }
            SaveJpeg(PaintCompositeImage(layout, set, image),
                     folder / (std::string(setName) + "_" + imageName + ".jpg"));
        }
    }
}

void WriteProfile(const fs::path& folder) {
    const ProfileLayout layout = MakeProfileLayout();
    SkinFile skin{"profile_back.png", "profile_mask.png", {}, Entries(layout.controls), {}};
    WriteSkinFile(folder / "Profile.ini", skin);
    SavePng(PaintProfileBackground(layout), folder / skin.background);
    SavePng(MakeWindowMask(layout.size), folder / skin.mask);
    const std::pair<SetImage, const char*> images[] = {{SetImage::Normal, "Profile_normal.jpg"},
                                                       {SetImage::Over, "Profile_over.jpg"},
                                                       {SetImage::Down, "Profile_down.jpg"}};
    for (const auto& [image, name] : images) {
        SaveJpeg(PaintProfileImage(layout, image), folder / name);
    }
}

}  // namespace

void WriteSkin(const fs::path& folder, const std::string& homePage) {
    // The dark skin in the folder itself, the light one with the same geometry beside it.
    const std::pair<Scheme, fs::path> schemes[] = {{Scheme::Dark, folder},
                                                   {Scheme::Light, folder / kLightSkinFolder}};
    for (const auto& [scheme, place] : schemes) {
        std::error_code error;
        fs::create_directories(place, error);
        if (error) {
            throw std::runtime_error("cannot create " + place.string() + ": " + error.message());
        }
        SetScheme(scheme);
        // Every picture twice: as the windows show it at 100 %, and twice as dense for 200 %.
        for (const int scale : {1, 2}) {
            SetDrawingScale(scale);
            WriteMain(place, homePage);
            WriteComposite(place);
            WriteProfile(place);
        }
    }
    SetDrawingScale(1);
    SetScheme(Scheme::Dark);
}

}  // namespace zarvin::skingen
