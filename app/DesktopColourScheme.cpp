#include "app/DesktopColourScheme.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QMetaType>
#include <QString>
#include <QVariant>

namespace zarvin {
namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kColourScheme = QStringLiteral("color-scheme");
const QString kUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");

QDBusMessage Ask(const QDBusConnection& bus, const QString& method, int timeoutMs) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kPortalService, kPortalObject, kSettingsInterface, method);
    call << kAppearance << kColourScheme;
    return bus.call(call, QDBus::Block, timeoutMs);
}

}  // namespace

std::optional<uint32_t> ReadDesktopColourScheme(const QDBusConnection& bus,
                                                std::chrono::milliseconds timeout) {
    if (!bus.isConnected()) {
        return std::nullopt;
    }
    const int timeoutMs = static_cast<int>(timeout.count());
    // ReadOne answers with the value in one variant; portals older than it only have Read,
    // which wraps the value in a second one.
    QDBusMessage reply = Ask(bus, QStringLiteral("ReadOne"), timeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage && reply.errorName() == kUnknownMethod) {
        reply = Ask(bus, QStringLiteral("Read"), timeoutMs);
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    QVariant value = reply.arguments().constFirst();
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    if (value.metaType() != QMetaType::fromType<uint>()) {
        return std::nullopt;
    }
    return value.toUInt();
}

}  // namespace zarvin
