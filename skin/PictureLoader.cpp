#include "skin/PictureLoader.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace zarvin {

namespace {

void EndProcessForMissingPicture(const std::filesystem::path& file, int exitCode) {
    std::fprintf(stderr, "cannot read skin picture: %s\n", file.c_str());
    std::fflush(stderr);
    // At once, as the window cannot be built: no static destructors run behind a live
    // application object.
    std::_Exit(exitCode);
}

SkinPictureFailureHandler& FailureHandler() {
    static SkinPictureFailureHandler handler = EndProcessForMissingPicture;
    return handler;
}

}  // namespace

QImage ReadPicture(const std::filesystem::path& file) {
    QImageReader reader(QFile::decodeName(file.c_str()));
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

SkinPictureFailureHandler SetSkinPictureFailureHandler(SkinPictureFailureHandler handler) {
    if (!handler) {
        handler = EndProcessForMissingPicture;
    }
    return std::exchange(FailureHandler(), std::move(handler));
}

namespace {

int& ChosenScale() {
    static int scale = 0;
    return scale;
}

}  // namespace

int SkinPictureScale() {
    if (ChosenScale() != 0) {
        return ChosenScale();
    }
    return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0 ? 2 : 1;
}

void SetSkinPictureScale(int scale) {
    ChosenScale() = scale;
}

std::filesystem::path TwinOf(const std::filesystem::path& file, int scale) {
    std::filesystem::path twin = file;
    twin.replace_filename(file.stem().string() + "@" + std::to_string(scale) + "x" +
                          file.extension().string());
    return twin;
}

QImage ReadScaledPicture(const std::filesystem::path& file) {
    const int scale = SkinPictureScale();
    if (scale > 1) {
        QImage twin = ReadPicture(TwinOf(file, scale));
        if (!twin.isNull()) {
            twin.setDevicePixelRatio(scale);
            return twin;
        }
    }
    return ReadPicture(file);
}

QImage LoadSkinPicture(const std::filesystem::path& file) {
    QImage picture = ReadScaledPicture(file);
    if (picture.isNull()) {
        FailureHandler()(file, kSkinPictureExitCode);
    }
    return picture;
}

}  // namespace zarvin
