#include "app/DaemonLauncher.h"

#include <QProcess>
#include <QString>
#include <system_error>

namespace zarvin {

bool LaunchDaemon(const std::filesystem::path& daemonPath) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(daemonPath, error)) {
        return false;
    }
    return QProcess::startDetached(QString::fromStdString(daemonPath.string()), {});
}

}  // namespace zarvin
