#include "PanelBitmaps.h"

#include <QPainter>
#include <cmath>
#include <numbers>

#include "Icons.h"
#include "Look.h"
#include "Scale.h"
#include "Theme.h"

namespace zarvin::skingen {
namespace {

constexpr int kSliderPositions = 6;

QImage Blank(QSize size, const QColor& background = Colours().card) {
    QImage image = NewPicture(size);
    image.fill(background);
    return image;
}

// The preset colours, in chip order.
const QColor kChipColours[] = {{235, 99, 30}, {255, 0, 0},   {0, 126, 255}, {90, 255, 0},
                               {234, 255, 0}, {255, 192, 0}, {255, 0, 180}, {174, 0, 255}};

QImage Chip(const QColor& fill) {
    QImage image = Blank({45, 24});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 44, 23), 6, 6);
    return image;
}

// A slider at one of its six positions. The thumb sits where a click selects that position:
// the slider maps a click at x to position (x + 10) * 5 / width.
QImage Slider(int position, const QColor& fill) {
    constexpr int kWidth = 232;
    constexpr int kHeight = 28;
    constexpr double kEnds = 12;
    QImage image = Blank({kWidth, kHeight});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double mid = kHeight / 2.0;
    const double step = (kWidth - 2 * kEnds) / (kSliderPositions - 1);
    const double thumb = kEnds + position * step;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colours().well);
    painter.drawRoundedRect(QRectF(kEnds - 3, mid - 3, kWidth - 2 * kEnds + 6, 6), 3, 3);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(kEnds - 3, mid - 3, thumb - kEnds + 6, 6), 3, 3);
    for (int i = 0; i < kSliderPositions; ++i) {
        const double x = kEnds + i * step;
        painter.setBrush(i <= position ? Colours().accentSoft : Colours().faceEdge);
        painter.drawEllipse(QPointF(x, mid), 1.6, 1.6);
    }
    painter.setBrush(Colours().faceShadow);
    painter.drawEllipse(QPointF(thumb, mid + 1), 8.5, 8.5);
    painter.setBrush(Colours().textBright);
    painter.drawEllipse(QPointF(thumb, mid), 8, 8);
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(thumb, mid), 3.2, 3.2);
    return image;
}

// Busy frame k of 10: ten dots round a circle, the k-th brightest, the ones before it fading.
QImage BusyFrame(int frame) {
    constexpr int kDots = 10;
    QImage image = Blank({24, 24}, Colours().window);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kDots; ++i) {
        const int age = (frame - i + kDots) % kDots;
        const double angle = 2 * std::numbers::pi * i / kDots - std::numbers::pi / 2;
        QColor dot = Colours().accent;
        dot.setAlpha(std::max(40, 255 - age * 50));
        painter.setBrush(age < 5 ? dot : Colours().faceEdge);
        painter.drawEllipse(QPointF(12 + 8.5 * std::cos(angle), 12 + 8.5 * std::sin(angle)), 1.9,
                            1.9);
    }
    return image;
}

QImage Switch(bool on) {
    QImage image = Blank({48, 26});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(on ? Qt::NoPen : QPen(Colours().faceEdge, 1));
    painter.setBrush(on ? Colours().accent : Colours().well);
    painter.drawRoundedRect(QRectF(2.5, 2.5, 43, 21), 10.5, 10.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(on ? Colours().textBright : Colours().textSecondary);
    painter.drawEllipse(QPointF(on ? 35 : 13, 13), 8, 8);
    return image;
}

// A small square button with an icon: plain, or lit when it shows the current choice.
QImage IconTile(QSize size, Icon icon, bool chosen) {
    QImage image = Blank(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -1.5);
    painter.setPen(QPen(chosen ? Colours().accent : Colours().faceEdge, 1));
    painter.setBrush(chosen ? Colours().accentDeep : Colours().face);
    painter.drawRoundedRect(area, 7, 7);
    const double side = std::min(area.width(), area.height()) * 0.72;
    DrawIcon(painter, icon,
             QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side),
             chosen ? Colours().accentSoft : Colours().textSecondary);
    return image;
}

QImage OptionColour(const QColor& fill, bool chosen) {
    QImage image = Blank({32, 32});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (chosen) {
        painter.setPen(QPen(Colours().accent, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(16, 16), 14, 14);
    }
    painter.setPen(QPen(QColor(255, 255, 255, 50), 1));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(16, 16), 10, 10);
    if (chosen) {
        DrawIcon(painter, Icon::Check, QRectF(8, 8, 16, 16), QColor(20, 20, 20));
    }
    return image;
}

QImage CheckBox(bool checked) {
    QImage image = Blank({24, 24});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(checked ? Qt::NoPen : QPen(Colours().faceEdge, 1.2));
    painter.setBrush(checked ? Colours().accent : Colours().well);
    painter.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 4.5, 4.5);
    if (checked) {
        DrawIcon(painter, Icon::Check, QRectF(4, 4, 16, 16), Colours().window);
    }
    return image;
}

}  // namespace

std::vector<NamedPicture> PaintPanelBitmaps() {
    std::vector<NamedPicture> pictures;
    auto add = [&](std::string name, QImage image) {
        pictures.push_back({std::move(name), std::move(image)});
    };
    for (int i = 0; i < 8; ++i) {
        add("Color" + std::to_string(i + 1) + ".bmp", Chip(kChipColours[i]));
    }
    // 0-5 brightness, 6-11 speed; 12-25 are loaded but never shown: further slider faces in
    // the quiet colour.
    for (int n = 0; n <= 25; ++n) {
        const QColor fill = n < 2 * kSliderPositions ? Colours().accent : Colours().textSecondary;
        add(std::to_string(n) + ".bmp", Slider(n % kSliderPositions, fill));
    }
    for (int frame = 1; frame <= 10; ++frame) {
        add("jdt" + std::to_string(frame) + ".bmp", BusyFrame(frame - 1));
    }
    add("dengup.bmp", Switch(false));
    add("dengdown.bmp", Switch(true));
    const QSize arrow(36, 28);
    const struct {
        const char* name;
        Icon icon;
    } arrows[] = {{"left", Icon::ArrowLeft}, {"right", Icon::ArrowRight},
                  {"up", Icon::ArrowUp},     {"down", Icon::ArrowDown},
                  {"julong", Icon::Inward},  {"kuosan", Icon::Outward}};
    for (const auto& a : arrows) {
        const std::string name = a.name;
        // Direction arrows are "up" (plain) and "down" (chosen); the in and out arrows are
        // plain under their bare name.
        const bool bareName = name == "julong" || name == "kuosan";
        add(name + (bareName ? "" : "up") + ".bmp", IconTile(arrow, a.icon, false));
        add(name + "down.bmp", IconTile(arrow, a.icon, true));
    }
    const struct {
        const char* name;
        QColor fill;
    } options[] = {{"hong", {235, 64, 52}},
                   {"huang", {245, 200, 40}},
                   {"lv", {70, 200, 90}},
                   {"lan", {50, 130, 240}}};
    for (const auto& option : options) {
        add(std::string(option.name) + ".bmp", OptionColour(option.fill, false));
        add(std::string(option.name) + "ok.bmp", OptionColour(option.fill, true));
    }
    add("sjsup.bmp", CheckBox(false));
    add("sjsdown.bmp", CheckBox(true));
    const QSize tool(36, 30);
    add("user1up.bmp", IconTile(tool, Icon::Brush, false));
    add("user1down.bmp", IconTile(tool, Icon::Brush, true));
    add("user2up.bmp", IconTile(tool, Icon::Bucket, false));
    add("user2down.bmp", IconTile(tool, Icon::Bucket, true));
    return pictures;
}

}  // namespace zarvin::skingen
