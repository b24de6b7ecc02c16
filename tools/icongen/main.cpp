// zarvin_icongen FOLDER SIZE...: writes zarvin.svg and zarvin-SIZE.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

#include "AppIcon.h"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: zarvin_icongen FOLDER SIZE...\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "zarvin_icongen: cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    for (qsizetype index = 2; index < arguments.size(); ++index) {
        bool ok = false;
        const int size = arguments.at(index).toInt(&ok);
        const QString file = folder.filePath(QStringLiteral("zarvin-%1.png").arg(size));
        if (!ok || size < 8 || size > 1024 || !zarvin::icongen::RenderAppIcon(size).save(file)) {
            std::fprintf(stderr, "zarvin_icongen: cannot write an icon of size '%s'\n",
                         qPrintable(arguments.at(index)));
            return 1;
        }
    }
    QSaveFile svg(folder.filePath(QStringLiteral("zarvin.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(zarvin::icongen::AppIconSvg().toUtf8()) < 0 ||
        !svg.commit()) {
        std::fprintf(stderr, "zarvin_icongen: cannot write zarvin.svg\n");
        return 1;
    }
    return 0;
}
