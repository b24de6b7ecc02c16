#include "app/TrayIcon.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "device/WindowMessages.h"
#include "skin/ControlStyle.h"

namespace zarvin {

namespace {

constexpr int kTipLength = 127;
// The pictures are drawn on a 24-unit grid and rendered at the sizes panels ask for.
constexpr double kGrid = 24;
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The skin's palette: secondary text grey, the accent orange, the window's dark.
const QColor kDisconnectedColour{0x9a, 0xa1, 0xad};
const QColor kConnectedColour{0xff, 0x82, 0x00};
const QColor kKeyCapColour{0x13, 0x15, 0x19};
const QColor kBadgeColour{0xff, 0xff, 0xff};

// A keyboard seen from above: the body in `colour`, with its keys and space bar cut out.
void DrawKeyboard(QPainter& painter, const QColor& colour) {
    QPainterPath body;
    body.addRoundedRect(QRectF(1, 5, 22, 14), 2.5, 2.5);
    QPainterPath keys;
    for (const double y : {7.5, 11.0}) {
        for (double x = 3.5; x < 20; x += 3.5) {
            keys.addRoundedRect(QRectF(x, y, 2.5, 2.5), 0.5, 0.5);
        }
    }
    keys.addRoundedRect(QRectF(7, 14.5, 10, 2.5), 0.5, 0.5);
    painter.fillPath(body.subtracted(keys), colour);
}

// A round badge with an exclamation mark at the top right.
void DrawNoticeBadge(QPainter& painter) {
    const QPointF centre(18.5, 5.5);
    painter.setPen(QPen(kKeyCapColour, 1.2));
    painter.setBrush(kBadgeColour);
    painter.drawEllipse(centre, 5, 5);
    painter.setPen(QPen(kKeyCapColour, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(centre.x(), 3), QPointF(centre.x(), 6.3));
    painter.drawPoint(QPointF(centre.x(), 8.3));
}

QPixmap DrawIcon(TrayIcon iconId, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    DrawKeyboard(painter,
                 iconId == TrayIcon::Disconnected ? kDisconnectedColour : kConnectedColour);
    if (iconId == TrayIcon::Notice) {
        DrawNoticeBadge(painter);
    }
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace

CTrayIcon::CTrayIcon(QObject* parent) : QObject(parent), menu_(std::make_unique<QMenu>()) {
    const struct {
        int command;
        const char* text;
    } items[] = {
        {TrayCommand::Open, "Open"}, {TrayCommand::About, "About"}, {TrayCommand::Exit, "Exit"}};
    for (const auto& item : items) {
        QAction* action = menu_->addAction(QString::fromUtf8(item.text));
        action->setData(item.command);
    }
    menu_->setDefaultAction(menu_->actions().front());
    StyleMenu(*menu_);
    connect(menu_.get(), &QMenu::aboutToShow, this, &CTrayIcon::BeforeMenuOpens);
    connect(menu_.get(), &QMenu::triggered, this,
            [this](QAction* action) { emit Command(action->data().toInt()); });
}

CTrayIcon::~CTrayIcon() {
    Remove();
}

bool CTrayIcon::Create(const QString& tip, TrayIcon iconId) {
    Remove();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;  // the caller tells the user
    }
    tray_ = std::make_unique<QSystemTrayIcon>(IconOf(iconId));
    tray_->setToolTip(tip.left(kTipLength));
    tray_->setContextMenu(menu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &CTrayIcon::OnTrayNotification);
    tray_->show();
    iconId_ = iconId;
    shown_ = true;
    return true;
}

void CTrayIcon::Remove() {
    if (!shown_) {
        return;
    }
    tray_->hide();
    tray_.reset();
    shown_ = false;
}

bool CTrayIcon::Shown() const {
    return shown_;
}

void CTrayIcon::SetIconResource(TrayIcon iconId) {
    if (!shown_ || iconId == iconId_) {
        return;
    }
    const QIcon icon = IconOf(iconId);
    if (icon.isNull()) {
        return;
    }
    tray_->setIcon(icon);
    iconId_ = iconId;
}

void CTrayIcon::SetTip(const QString& tip) {
    if (shown_) {
        tray_->setToolTip(tip.left(kTipLength));
    }
}

void CTrayIcon::SetMenuHook(std::function<void(QMenu& menu)> hook) {
    menuHook_ = std::move(hook);
}

QIcon CTrayIcon::IconOf(TrayIcon iconId) {
    if (iconId != TrayIcon::Disconnected && iconId != TrayIcon::Connected &&
        iconId != TrayIcon::Notice) {
        return {};
    }
    QIcon icon;
    for (const int size : kIconSizes) {
        icon.addPixmap(DrawIcon(iconId, size));
    }
    return icon;
}

void CTrayIcon::OnTrayNotification(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick && !menu_->actions().isEmpty()) {
        emit Command(menu_->actions().front()->data().toInt());
    }
}

void CTrayIcon::BeforeMenuOpens() {
    if (menuHook_) {
        menuHook_(*menu_);
    }
}

}  // namespace zarvin
