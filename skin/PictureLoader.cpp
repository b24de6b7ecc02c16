#include "skin/PictureLoader.h"

#include <QFile>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>
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

QImage LoadSkinPicture(const std::filesystem::path& file) {
    QImage picture = ReadPicture(file);
    if (picture.isNull()) {
        FailureHandler()(file, kSkinPictureExitCode);
    }
    return picture;
}

}  // namespace zarvin
