#include "Scale.h"

namespace zarvin::skingen {

namespace {

int& Scale() {
    static int scale = 1;
    return scale;
}

}  // namespace

int DrawingScale() {
    return Scale();
}

void SetDrawingScale(int scale) {
    Scale() = scale;
}

QImage NewPicture(QSize size) {
    QImage image(size * DrawingScale(), QImage::Format_RGB32);
    image.setDevicePixelRatio(DrawingScale());
    return image;
}

std::filesystem::path ScaledName(const std::filesystem::path& file) {
    if (DrawingScale() == 1) {
        return file;
    }
    std::filesystem::path scaled = file;
    scaled.replace_filename(file.stem().string() + "@" + std::to_string(DrawingScale()) + "x" +
                            file.extension().string());
    return scaled;
}

}  // namespace zarvin::skingen
