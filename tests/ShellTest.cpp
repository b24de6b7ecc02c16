// The application shell's Qt parts: the tray icon's pictures, menu and clicks; requests of other
// instances reaching the window; the companion daemon's launch; quitting on a signal.

#include <gtest/gtest.h>
#include <signal.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/DaemonLauncher.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "device/WindowMessages.h"
#include "support/QtTestApplication.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 5000;

// ---- CTrayIcon ----

// The icon's colour at a point of the 24-unit grid, rendered at 48 pixels.
QColor ColourAt(TrayIcon iconId, double x, double y) {
    const QImage image = CTrayIcon::IconOf(iconId).pixmap(48, 48).toImage();
    return image.pixelColor(static_cast<int>(x * 2), static_cast<int>(y * 2));
}

TEST(TrayIconPictures, ShowTheConnectionStateAndTheNotice) {
    for (const TrayIcon id : {TrayIcon::Disconnected, TrayIcon::Connected, TrayIcon::Notice}) {
        EXPECT_FALSE(CTrayIcon::IconOf(id).isNull()) << static_cast<int>(id);
        EXPECT_FALSE(CTrayIcon::IconOf(id).availableSizes().isEmpty()) << static_cast<int>(id);
    }
    EXPECT_TRUE(CTrayIcon::IconOf(TrayIcon::Remembered).isNull());

    // The keyboard's body, left of its keys: grey when not connected, orange when connected.
    const QColor disconnected = ColourAt(TrayIcon::Disconnected, 2, 12);
    const QColor connected = ColourAt(TrayIcon::Connected, 2, 12);
    EXPECT_EQ(disconnected.alpha(), 255);
    EXPECT_LT(std::abs(disconnected.red() - disconnected.blue()), 40) << "not grey";
    EXPECT_GT(connected.red() - connected.blue(), 150) << "not orange";
    EXPECT_EQ(ColourAt(TrayIcon::Notice, 2, 12), connected);
    // The notice's badge sits at the top right, where the other pictures are empty.
    EXPECT_EQ(ColourAt(TrayIcon::Connected, 18.5, 2).alpha(), 0);
    EXPECT_EQ(ColourAt(TrayIcon::Notice, 17, 5.5), QColor(Qt::white));
}

// The menu a tray icon made: the one new top-level menu since `before`.
QMenu* NewMenu(const QWidgetList& before) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && !before.contains(menu)) {
            return menu;
        }
    }
    return nullptr;
}

std::vector<int> CommandsOf(const QMenu& menu) {
    std::vector<int> commands;
    for (const QAction* action : menu.actions()) {
        commands.push_back(action->data().toInt());
    }
    return commands;
}

TEST(TrayIconMenu, IsRelabelledAtEachOpeningAndSendsTheChosenCommand) {
    const QWidgetList before = QApplication::topLevelWidgets();
    CTrayIcon tray;
    QMenu* menu = NewMenu(before);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CommandsOf(*menu), (std::vector<int>{32771, 32773, 32774}));
    EXPECT_EQ(menu->defaultAction(), menu->actions().front());

    std::map<int, QString> texts{{32771, "Open"}, {32773, "About"}, {32774, "Exit"}};
    int openings = 0;
    tray.SetMenuHook([&](QMenu& shown) {
        ++openings;
        for (QAction* action : shown.actions()) {
            action->setText(texts[action->data().toInt()]);
        }
    });
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions()[2]->text(), "Exit");
    texts = {{32771, "Abrir"}, {32773, "Sobre"}, {32774, "Sair"}};  // the language changed
    emit menu->aboutToShow();
    EXPECT_EQ(openings, 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Abrir");
    EXPECT_EQ(menu->actions()[1]->text(), "Sobre");
    EXPECT_EQ(menu->actions()[2]->text(), "Sair");

    QSignalSpy commands(&tray, &CTrayIcon::Command);
    menu->actions()[2]->trigger();
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][0].toInt(), TrayCommand::Exit);
}

TEST(TrayIconClicks, ADoubleClickOpensAndOtherClicksDoNothing) {
    CTrayIcon tray;
    QSignalSpy commands(&tray, &CTrayIcon::Command);
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick,
                              QSystemTrayIcon::Context, QSystemTrayIcon::Unknown}) {
        tray.OnTrayNotification(reason);
    }
    EXPECT_EQ(commands.size(), 0);
    tray.OnTrayNotification(QSystemTrayIcon::DoubleClick);
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][0].toInt(), TrayCommand::Open);
}

TEST(TrayIconWithoutNotificationArea, FailsAndIgnoresTheRest) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "run on the offscreen platform";
    CTrayIcon tray;
    EXPECT_FALSE(tray.Create("Zarvin", TrayIcon::Disconnected));
    EXPECT_FALSE(tray.Shown());
    tray.SetIconResource(TrayIcon::Connected);
    tray.SetTip("Zarvin");
    tray.Remove();
    EXPECT_FALSE(tray.Shown());
}

// ---- SingleInstance ----

struct RequestCase {
    InstanceRequest request;
    WindowMessage message;
    // Whether the sender is still waiting while the window handles the request.
    bool senderWaits;
};

class InstanceRequestsReachTheWindow : public ::testing::TestWithParam<RequestCase> {};

TEST_P(InstanceRequestsReachTheWindow, AndAreAnswered) {
    const RequestCase& c = GetParam();
    test::TempFolder temp;
    const fs::path socketPath = InstanceSocketPath(temp.Path());
    std::string error;
    auto listener = InstanceListener::Claim(socketPath, error);
    ASSERT_TRUE(listener.has_value()) << error;

    std::future<SendResult> sent;
    std::vector<WindowMessage> handled;
    bool senderWaited = false;
    const SingleInstance instance(*listener, [&](WindowMessage message) {
        handled.push_back(message);
        // A sender that waits shows it at once; one that does not may take a while to return.
        const auto wait =
            c.senderWaits ? std::chrono::milliseconds(20) : std::chrono::milliseconds(kWaitMs);
        senderWaited = sent.wait_for(wait) == std::future_status::timeout;
    });
    sent =
        std::async(std::launch::async, [&] { return SendInstanceRequest(socketPath, c.request); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        kWaitMs));
    EXPECT_EQ(sent.get(), SendResult::Handled);
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0], c.message);
    EXPECT_EQ(senderWaited, c.senderWaits);
}

// A reload comes from zarvinctl, which must not wait for the window's user: it is answered when
// taken.
INSTANTIATE_TEST_SUITE_P(
    EveryRequest, InstanceRequestsReachTheWindow,
    ::testing::Values(RequestCase{InstanceRequest::Open, WindowMessage::Open, true},
                      RequestCase{InstanceRequest::Kill, WindowMessage::Kill, true},
                      RequestCase{InstanceRequest::Reload, WindowMessage::Reload, false}));

// zarvinctl changes the keyboard while the window shows the message box of an open request: it
// gets its answer while the box is open, and the window reloads once the box is closed.
TEST(SingleInstanceReload, IsAnsweredWhileAnEarlierRequestsBoxIsOpenAndHandledAfterIt) {
    test::TempFolder temp;
    const fs::path socketPath = InstanceSocketPath(temp.Path());
    std::string error;
    auto listener = InstanceListener::Claim(socketPath, error);
    ASSERT_TRUE(listener.has_value()) << error;

    QEventLoop box;
    std::future<SendResult> reload;
    std::vector<WindowMessage> handled;
    bool reloadAnsweredWhileBoxOpen = false;
    const SingleInstance instance(*listener, [&](WindowMessage message) {
        handled.push_back(message);
        if (message == WindowMessage::Open) {
            reload = std::async(std::launch::async, [&] {
                return SendInstanceRequest(socketPath, InstanceRequest::Reload);
            });
            // The box stays open until the reload's sender has its answer, or gives up.
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (reload.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                    reloadAnsweredWhileBoxOpen = true;
                    box.exit();
                }
            });
            poll.start(5);
            QTimer::singleShot(kWaitMs, &box, [&] { box.exit(); });
            box.exec();
        }
    });
    std::future<SendResult> open = std::async(
        std::launch::async, [&] { return SendInstanceRequest(socketPath, InstanceRequest::Open); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return open.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
                   handled.size() == 2;
        },
        kWaitMs));
    EXPECT_TRUE(reloadAnsweredWhileBoxOpen);
    EXPECT_EQ(handled, (std::vector<WindowMessage>{WindowMessage::Open, WindowMessage::Reload}));
    EXPECT_EQ(open.get(), SendResult::Handled);
    ASSERT_TRUE(reload.valid());
    EXPECT_EQ(reload.get(), SendResult::Handled);
}

// "/Kill" while the running instance shows the message box of an open request: the box's loop
// takes the kill, whose exit path ends the box.
TEST(SingleInstanceKill, IsHandledWhileAnEarlierRequestsBoxIsOpen) {
    test::TempFolder temp;
    const fs::path socketPath = InstanceSocketPath(temp.Path());
    std::string error;
    auto listener = InstanceListener::Claim(socketPath, error);
    ASSERT_TRUE(listener.has_value()) << error;

    constexpr int kBoxEndedByKill = 0;
    constexpr int kBoxTimedOut = 1;
    QEventLoop box;
    std::future<SendResult> kill;
    std::vector<WindowMessage> handled;
    int boxEnd = -1;
    const SingleInstance instance(*listener, [&](WindowMessage message) {
        handled.push_back(message);
        if (message == WindowMessage::Kill) {
            box.exit(kBoxEndedByKill);
        } else if (message == WindowMessage::Open) {
            kill = std::async(std::launch::async, [&] {
                return SendInstanceRequest(socketPath, InstanceRequest::Kill);
            });
            QTimer::singleShot(2000, &box, [&] { box.exit(kBoxTimedOut); });
            boxEnd = box.exec();
        }
    });
    std::future<SendResult> open = std::async(
        std::launch::async, [&] { return SendInstanceRequest(socketPath, InstanceRequest::Open); });
    const auto ready = [](std::future<SendResult>& sent) {
        return sent.valid() && sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return ready(open) && ready(kill); }, kWaitMs));
    EXPECT_EQ(boxEnd, kBoxEndedByKill);
    EXPECT_EQ(handled, (std::vector<WindowMessage>{WindowMessage::Open, WindowMessage::Kill}));
    EXPECT_EQ(open.get(), SendResult::Handled);
    ASSERT_TRUE(kill.valid());
    EXPECT_EQ(kill.get(), SendResult::Handled);
}

// ---- The companion daemon ----

TEST(DaemonLauncher, StartsTheDaemonBesideTheProgramWithoutArguments) {
    test::TempFolder temp;
    const fs::path daemon = temp / "DoZovivu";
    const fs::path ran = temp / "ran";
    temp.Write("DoZovivu", "#!/bin/sh\necho $# > \"" + ran.string() + ".part\"\nmv \"" +
                               ran.string() + ".part\" \"" + ran.string() + "\"\n");
    fs::permissions(daemon, fs::perms::owner_all);
    ASSERT_TRUE(LaunchDaemon(daemon));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(ran); }, kWaitMs));
    EXPECT_EQ(temp.Read("ran"), "0\n");
}

TEST(DaemonLauncher, AMissingDaemonIsNoError) {
    test::TempFolder temp;
    EXPECT_FALSE(LaunchDaemon(temp / "DoZovivu"));
    EXPECT_FALSE(LaunchDaemon(temp.Path()));  // a folder of that name is no program either
}

// ---- Quitting on a signal ----

TEST(QuitSignals, ATerminationSignalRunsTheExitOnTheWindowThread) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        int calls = 0;
        const QuitSignals quit([&] { ++calls; });
        ::raise(signal);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, kWaitMs)) << signal;
    }
}

}  // namespace
}  // namespace zarvin
