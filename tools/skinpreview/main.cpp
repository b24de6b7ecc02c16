// zarvin_skinpreview FOLDER: renders each skinned window from the skin and the language file
// beside the program, on Qt's offscreen platform, to PNG files in FOLDER: the main window (with
// a lighting effect, and with per-key colours), the four pages of the composite key editor and
// the profile dialog.

#include <QApplication>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "Capture.h"
#include "CompositePreview.h"
#include "MainPreview.h"
#include "ProfilePreview.h"
#include "StandIns.h"
#include "skin/ControlStyle.h"
#include "skin/ControlStyle.h"
#include "Texts.h"

namespace fs = std::filesystem;

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot shape windows; the pictures are cut to the masks instead, so
// its notice about masks is noise here.
void SkipMaskNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QStringLiteral("does not support setting window masks"))) {
        defaultHandler(type, context, message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    defaultHandler = qInstallMessageHandler(SkipMaskNotice);
    QApplication application(argc, argv);
    zarvin::ApplyControlStyle(application);
    const fs::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const fs::path output = argv[1];
    const zarvin::preview::Texts texts(programFolder / "Lang0416.ini");
    using zarvin::preview::CompositePage;
    using zarvin::preview::MainScene;
    try {
        fs::create_directories(output);
        using zarvin::preview::SavePicture;
        SavePicture(RenderMainWindow(programFolder, texts, MainScene::Effect), output / "main.png");
        SavePicture(RenderMainWindow(programFolder, texts, MainScene::KeyColours),
                    output / "main-key-colours.png");
        const std::pair<CompositePage, const char*> pages[] = {
            {CompositePage::Key, "composite-key.png"},
            {CompositePage::Macro, "composite-macro.png"},
            {CompositePage::Media, "composite-media.png"},
            {CompositePage::Function, "composite-function.png"}};
        for (const auto& [page, name] : pages) {
            SavePicture(RenderCompositeEditor(programFolder, texts, page), output / name);
        }
        SavePicture(zarvin::preview::RenderProfileDialog(programFolder), output / "profile.png");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 1;
    }
    return 0;
}
