// zarvin_skinpreview FOLDER [light]: renders the program's windows, from the skin (the light one
// when asked) and the language file beside the program, on Qt's offscreen platform, to PNG files in FOLDER. The windows are the
// real ones over the stand-in keyboard: the main window (with its assignments, with custom key
// colours, with an animated effect, and flipped to D1-D6 with a status line), the about box,
// the four pages of the composite key editor and the profile dialog.

#include <QApplication>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string_view>
#include <utility>

#include "Capture.h"
#include "CompositePreview.h"
#include "MainPreview.h"
#include "ProfilePreview.h"
#include "skin/ColourSchemeLook.h"

namespace fs = std::filesystem;

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot shape, raise or focus windows; the pictures are cut to the
// masks instead and need nothing else, so its notices about what it lacks are noise here.
void SkipPlatformNotices(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (!message.startsWith(QStringLiteral("This plugin does not support"))) {
        defaultHandler(type, context, message);
    }
}

void RenderMainWindow(const fs::path& programFolder, const fs::path& output) {
    using zarvin::preview::SavePicture;
    zarvin::preview::MainWindowScene scene(programFolder);
    SavePicture(scene.Assignments(), output / "main-assignments.png");
    SavePicture(scene.UserMode(), output / "main-user-mode.png");
    SavePicture(scene.Animated(), output / "main-animated.png");
    SavePicture(scene.FlippedWithStatus(), output / "main-flip-status.png");
    SavePicture(scene.About(), output / "about.png");
}

}  // namespace

int main(int argc, char** argv) {
    const bool light = argc == 3 && std::string_view(argv[2]) == "light";
    if (argc != 2 && !light) {
        std::fprintf(stderr, "usage: %s FOLDER [light]\n", argv[0]);
        return 2;
    }
    defaultHandler = qInstallMessageHandler(SkipPlatformNotices);
    QApplication application(argc, argv);
    zarvin::UseColourScheme(light ? zarvin::ColourScheme::Light : zarvin::ColourScheme::Dark);
    const fs::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const fs::path output = argv[1];
    using zarvin::preview::CompositePage;
    using zarvin::preview::SavePicture;
    try {
        fs::create_directories(output);
        RenderMainWindow(programFolder, output);
        const std::pair<CompositePage, const char*> pages[] = {
            {CompositePage::Key, "composite-key.png"},
            {CompositePage::Macro, "composite-macro.png"},
            {CompositePage::Media, "composite-media.png"},
            {CompositePage::Function, "composite-function.png"}};
        for (const auto& [page, name] : pages) {
            SavePicture(RenderCompositeEditor(programFolder, page), output / name);
        }
        SavePicture(zarvin::preview::RenderProfileDialog(programFolder), output / "profile.png");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 1;
    }
    return 0;
}
