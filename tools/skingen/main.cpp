// zarvin_skingen FOLDER HOME_PAGE: draws the program's skin into FOLDER. HOME_PAGE is the
// address the main window's name links to. Run with Qt's offscreen platform; the result
// depends only on the program and its arguments.

#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "SkinWriter.h"
#include "Theme.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER HOME_PAGE\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    if (!QFontDatabase::families().contains(QString::fromLatin1(zarvin::skingen::kFontFamily))) {
        std::fprintf(stderr,
                     "error: the font \"%s\" is not installed (Debian: fonts-dejavu-core)\n",
                     zarvin::skingen::kFontFamily);
        return 1;
    }
    try {
        zarvin::skingen::WriteSkin(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 1;
    }
    return 0;
}
