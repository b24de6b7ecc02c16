#pragma once

// ColorStatic: a caption or label over a skinned window's background. It paints no background,
// so the window's picture shows through; only its text colour (white unless set) and its font
// height are its own. Changing either repaints it at once.

#include <QColor>
#include <QLabel>

namespace zarvin {

class ColorStatic : public QLabel {
    Q_OBJECT

public:
    explicit ColorStatic(QWidget* parent = nullptr);

    void SetTextColour(const QColor& colour);
    QColor TextColour() const { return textColour_; }
    // The height of the characters, in pixels.
    void SetFontHeight(int pixels);

private:
    QColor textColour_ = Qt::white;
};

}  // namespace zarvin
