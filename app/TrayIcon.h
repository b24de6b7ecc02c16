#pragma once

// CTrayIcon: the notification-area icon over QSystemTrayIcon. A right click opens the menu
// (open, about, exit; relabelled by the menu hook at every opening, the first item the default),
// a double click sends the open command, the picture is one of the icons 128 (keyboard not
// connected), 141 (connected) and 142 (the keyboard's notice). Where the desktop has no
// notification area, Create reports failure and every other operation does nothing.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "device/WindowMessages.h"

class QMenu;

namespace zarvin {

namespace TrayCommand {
inline constexpr int Open = 32771;
inline constexpr int About = 32773;
inline constexpr int Exit = 32774;
}  // namespace TrayCommand

class CTrayIcon : public QObject {
    Q_OBJECT

public:
    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Adds the icon with the tip (cut to 127 characters) and picture `iconId`; false when the
    // desktop has no notification area.
    bool Create(const QString& tip, TrayIcon iconId);
    void Remove();
    bool Shown() const;
    // When shown: changes the picture, or the tip.
    void SetIconResource(TrayIcon iconId);
    void SetTip(const QString& tip);
    // Runs with the menu before it opens; the menu's actions carry their command ids as data.
    void SetMenuHook(std::function<void(QMenu& menu)> hook);

    // The menu the icon opens.
    QMenu& Menu() const { return *menu_; }

    // The program's icon pictures, drawn for this project.
    static QIcon IconOf(TrayIcon iconId);

    // What a click on the icon does: a double click sends the menu's first command (open);
    // every other click does nothing here (the desktop opens the menu itself).
    void OnTrayNotification(QSystemTrayIcon::ActivationReason reason);

signals:
    // A menu command or the double click's open command.
    void Command(int commandId);

private:
    void BeforeMenuOpens();

    // Built at once, so the menu and its hook work the same with or without a notification area.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::function<void(QMenu& menu)> menuHook_;
    bool shown_ = false;
    TrayIcon iconId_ = TrayIcon::Remembered;
};

}  // namespace zarvin
