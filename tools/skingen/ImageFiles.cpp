#include "ImageFiles.h"

#include <QImageWriter>
#include <QString>
#include <stdexcept>

#include "Scale.h"

namespace zarvin::skingen {
namespace {

constexpr int kJpegQuality = 95;

void Save(const QImage& image, const std::filesystem::path& name, const char* format,
          int quality) {
    const std::filesystem::path file = ScaledName(name);
    QImageWriter writer(QString::fromStdString(file.string()), format);
    writer.setQuality(quality);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        throw std::runtime_error("cannot write " + file.string() + ": " +
                                 writer.errorString().toStdString());
    }
}

}  // namespace

void SaveJpeg(const QImage& image, const std::filesystem::path& file) {
    Save(image, file, "jpg", kJpegQuality);
}

void SavePng(const QImage& image, const std::filesystem::path& file) {
    Save(image, file, "png", -1);
}

void SaveBmp(const QImage& image, const std::filesystem::path& file) {
    Save(image, file, "bmp", -1);
}

}  // namespace zarvin::skingen
