#include "skin/SkinColorBtn.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "skin/ControlStyle.h"
#include "skin/FocusRing.h"

namespace zarvin {

namespace {

constexpr QColor kDropBoxGrey(148, 146, 139);
constexpr int kSwatchEntrySize = 28;
constexpr int kSwatchIconSize = 22;

// Ten greys from white to black, then ten hues pure, dark and pale.
std::array<QColor, 40> PopupColours() {
    constexpr std::array<int, 10> kHues = {0, 30, 60, 90, 120, 180, 210, 240, 270, 300};
    std::array<QColor, 40> colours;
    for (size_t i = 0; i < 10; ++i) {
        const int grey = 255 - static_cast<int>(i) * 255 / 9;
        colours[i] = QColor(grey, grey, grey);
        colours[10 + i] = QColor::fromHsv(kHues[i], 255, 255).toRgb();
        colours[20 + i] = QColor::fromHsv(kHues[i], 255, 150).toRgb();
        colours[30 + i] = QColor::fromHsv(kHues[i], 90, 255).toRgb();
    }
    return colours;
}

QIcon SwatchIcon(const QColor& colour) {
    QPixmap swatch(kSwatchIconSize, kSwatchIconSize);
    swatch.fill(colour);
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return QIcon(swatch);
}

QToolButton* TextEntry(QWidget* popup, const QString& name, const QString& text) {
    auto* entry = new QToolButton(popup);
    entry->setObjectName(name);
    entry->setText(text);
    entry->setAutoRaise(true);
    entry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return entry;
}

}  // namespace

CSkinColorBtn::CSkinColorBtn(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, &CSkinColorBtn::ShowPopup);
}

void CSkinColorBtn::SetColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void CSkinColorBtn::EnableAutomaticButton(const QString& text, const QColor& colour, bool enable) {
    automaticText_ = text;
    automaticColour_ = colour;
    automaticEnabled_ = enable;
    update();
}

void CSkinColorBtn::EnableOtherButton(const QString& text, bool enable) {
    otherText_ = text;
    otherEnabled_ = enable;
}

void CSkinColorBtn::SetColumnsNumber(int columns) {
    columns_ = std::max(columns, 1);
}

void CSkinColorBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int right = width();
    const int middle = height() / 2;

    const QRect swatch(0, 0, right / 2 + 5, height());
    painter.setPen(palette().color(underMouse() ? QPalette::Highlight : QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    if (isEnabled()) {
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), ShownColour());
    }

    painter.fillRect(QRect(QPoint(right / 2 + 3, 0), QPoint(right - 1, height() - 1)),
                     kDropBoxGrey);
    const std::array<QPoint, 3> triangle = {QPoint(right - 11, middle - 2),
                                            QPoint(right - 5, middle - 2),
                                            QPoint(right - 8, middle + 1)};
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(triangle.data(), static_cast<int>(triangle.size()));

    if (hasFocus()) {
        DrawFocusRing(painter, rect());
    }
}

void CSkinColorBtn::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    if (mouseGrabber() == this) {
        releaseMouse();
    }
    setDown(false);
    repaint();
}

void CSkinColorBtn::ShowPopup() {
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setObjectName(QStringLiteral("ColourPopup"));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameShape(QFrame::StyledPanel);
    StyleControls(*popup);
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    if (automaticEnabled_) {
        QToolButton* automatic = TextEntry(popup, QStringLiteral("automatic"), automaticText_);
        automatic->setIcon(SwatchIcon(automaticColour_));
        automatic->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        connect(automatic, &QToolButton::clicked, this, [this, popup] {
            popup->close();
            Pick(QColor());
        });
        layout->addWidget(automatic);
    }

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    const std::array<QColor, 40> colours = PopupColours();
    for (size_t i = 0; i < colours.size(); ++i) {
        const QColor colour = colours[i];
        auto* entry = new QToolButton(popup);
        entry->setObjectName(colour.name());
        entry->setToolTip(colour.name());
        entry->setAutoRaise(true);
        entry->setFixedSize(kSwatchEntrySize, kSwatchEntrySize);
        entry->setIconSize(QSize(kSwatchIconSize, kSwatchIconSize));
        entry->setIcon(SwatchIcon(colour));
        connect(entry, &QToolButton::clicked, this, [this, popup, colour] {
            popup->close();
            Pick(colour);
        });
        const int index = static_cast<int>(i);
        grid->addWidget(entry, index / columns_, index % columns_);
    }
    layout->addLayout(grid);

    if (otherEnabled_) {
        QToolButton* other = TextEntry(popup, QStringLiteral("other"), otherText_);
        connect(other, &QToolButton::clicked, this, [this, popup] {
            popup->close();
            PickOther();
        });
        layout->addWidget(other);
    }

    popup->move(mapToGlobal(QPoint(0, height())));
    popup->installEventFilter(this);
    popup->show();
    // The keyboard starts at the first entry; Tab and the arrows move, Enter or Space picks,
    // Escape closes.
    const QList<QToolButton*> entries = popup->findChildren<QToolButton*>();
    if (!entries.isEmpty()) {
        entries.front()->setFocus(Qt::PopupFocusReason);
    }
    update();
}

bool CSkinColorBtn::eventFilter(QObject* watched, QEvent* event) {
    auto* popup = qobject_cast<QWidget*>(watched);
    if (popup != nullptr && popup->windowType() == Qt::Popup && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* entry = qobject_cast<QToolButton*>(popup->focusWidget())) {
                entry->click();
                return true;
            }
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void CSkinColorBtn::Pick(const QColor& colour) {
    SetColour(colour);
    emit ColourChosen(ShownColour());
}

void CSkinColorBtn::PickOther() {
    QColorDialog dialog(ShownColour(), this);
    if (!otherText_.isEmpty()) {
        dialog.setWindowTitle(otherText_);
    }
    StyleControls(dialog);
    if (dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid()) {
        Pick(dialog.selectedColor());
    }
}

}  // namespace zarvin
