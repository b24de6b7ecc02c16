#include "dialogs/OnScreenKeyboard.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace zarvin {

QString FindOnScreenKeyboard() {
    // In order of preference: the desktops' usual ones first.
    static const QStringList kPrograms = {
        QStringLiteral("onboard"), QStringLiteral("florence"), QStringLiteral("matchbox-keyboard"),
        QStringLiteral("kvkbd"), QStringLiteral("xvkbd")};
    for (const QString& program : kPrograms) {
        QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

bool StartOnScreenKeyboard() {
    const QString program = FindOnScreenKeyboard();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

}  // namespace zarvin
