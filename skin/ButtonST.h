#pragma once

// CButtonST: a plain push button that draws itself: a flat face that lightens under the pointer
// and darkens while held down, a thin frame and the centred text. Nothing beyond a plain button.

#include <QPushButton>

namespace zarvin {

class CButtonST : public QPushButton {
    Q_OBJECT

public:
    explicit CButtonST(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zarvin
