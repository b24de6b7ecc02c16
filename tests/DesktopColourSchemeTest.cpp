// The desktop's colour-scheme preference read over D-Bus, from a stand-in portal on a private
// session bus: the test program runs under dbus-run-session with a bus that starts no services.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QThread>
#include <QVariant>
#include <chrono>
#include <optional>

#include "app/DesktopColourScheme.h"
#include "support/QtTestApplication.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");

enum class PortalKind {
    Current,  // has ReadOne
    Older,    // has only Read, which wraps the value in a second variant
    Silent,   // never answers
};

class StandInPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    StandInPortal(PortalKind kind, QVariant colourScheme)
        : kind_(kind), colourScheme_(std::move(colourScheme)) {}

public slots:
    QDBusVariant ReadOne(const QString& space, const QString& key) {
        if (kind_ == PortalKind::Older) {
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("no ReadOne here"));
            return {};
        }
        return Answer(space, key);
    }

    QDBusVariant Read(const QString& space, const QString& key) {
        return QDBusVariant(QVariant::fromValue(Answer(space, key)));
    }

private:
    QDBusVariant Answer(const QString& space, const QString& key) {
        if (kind_ == PortalKind::Silent) {
            setDelayedReply(true);
            return {};
        }
        if (space != QStringLiteral("org.freedesktop.appearance") ||
            key != QStringLiteral("color-scheme") || !colourScheme_.isValid()) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                           QStringLiteral("no such setting"));
            return {};
        }
        return QDBusVariant(colourScheme_);
    }

    PortalKind kind_;
    QVariant colourScheme_;
};

// The portal on its own connection and thread: the reader blocks the test's thread while it
// waits for the answer.
class PortalOnTheBus {
public:
    PortalOnTheBus(PortalKind kind, QVariant colourScheme)
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)),
          portal_(kind, std::move(colourScheme)) {
        thread_.start();
        portal_.moveToThread(&thread_);
        EXPECT_TRUE(bus_.registerObject(kObject, &portal_, QDBusConnection::ExportAllSlots));
        EXPECT_TRUE(bus_.registerService(kService));
    }
    ~PortalOnTheBus() {
        bus_.unregisterService(kService);
        bus_.unregisterObject(kObject);
        QDBusConnection::disconnectFromBus(kConnection);
        thread_.quit();
        thread_.wait();
        portal_.moveToThread(QThread::currentThread());
    }

private:
    static inline const QString kConnection = QStringLiteral("stand-in portal");
    QDBusConnection bus_;
    QThread thread_;
    StandInPortal portal_;
};

TEST(DesktopColourScheme, ReadsThePortalsPreferenceAndNothingFromAPortalWithoutOne) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
        << "run under dbus-run-session (the test command does)";
    const std::optional<uint32_t> nothing;
    const struct {
        const char* what;
        PortalKind kind;
        QVariant colourScheme;
        std::optional<uint32_t> expected;
    } cases[] = {
        {"prefers dark", PortalKind::Current, QVariant(1u), 1u},
        {"prefers light", PortalKind::Current, QVariant(2u), 2u},
        {"no preference", PortalKind::Current, QVariant(0u), 0u},
        {"older portal", PortalKind::Older, QVariant(2u), 2u},
        {"not a number", PortalKind::Current, QVariant(QStringLiteral("light")), nothing},
        {"setting unknown", PortalKind::Current, QVariant(), nothing},
        {"silent portal", PortalKind::Silent, QVariant(2u), nothing},
    };
    for (const auto& c : cases) {
        const PortalOnTheBus portal(c.kind, c.colourScheme);
        EXPECT_EQ(ReadDesktopColourScheme(QDBusConnection::sessionBus(), 300ms), c.expected)
            << c.what;
    }
    EXPECT_EQ(ReadDesktopColourScheme(QDBusConnection::sessionBus(), 300ms), nothing)
        << "no portal on the bus";
}

}  // namespace
}  // namespace zarvin

#include "DesktopColourSchemeTest.moc"
