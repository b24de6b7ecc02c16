#pragma once

// CPictureButton: a button that is one picture of the skin (the lighting panel's switch, arrows,
// colour options, tools and colour chips). The owner swaps the picture to show the state; the
// button takes the picture's size. It takes the focus from the keyboard only, draws the focus
// ring over the picture while it has it, and is pressed with the mouse, Space or Enter.
//
// Its role (skin/ButtonRole.h) and whether it is on are the owner's, for assistive technology
// (skin/SkinAccessibility.h); its accessible name is the one the owner sets, else its tooltip.

#include <QAbstractButton>
#include <QPixmap>

#include "skin/ButtonRole.h"

namespace zarvin {

class CPictureButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CPictureButton(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

    void SetButtonRole(ButtonRole role) { role_ = role; }
    ButtonRole Role() const { return role_; }
    // On (a toggle) or chosen (a choice); tells assistive technology when it changes.
    void SetOn(bool on);
    bool IsOn() const { return on_; }
    QString SpokenName() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap picture_;
    ButtonRole role_ = ButtonRole::Push;
    bool on_ = false;
};

}  // namespace zarvin
