#pragma once

// CSkinColorBtn: the colour buttons of the lighting panel. The button shows the chosen colour
// (the automatic colour while none is chosen) in a framed swatch over its left part, from the
// left edge to half the width + 5, and over the rest, from half the width + 3 to the right edge,
// a grey box (148, 146, 139) with a small black triangle pointing down. A disabled button leaves
// its swatch unfilled; the focus frame lies 1 pixel inside the edge.
//
// A click opens a popup: the automatic entry on top (when enabled), a grid of colours in the
// given number of columns, and the other-colour entry at the bottom (when enabled), which opens
// the colour dialog. The entries' texts come from the owner. A pick, and only a pick by the user,
// is reported with ColourChosen.

#include <QColor>
#include <QPushButton>
#include <QString>

namespace zarvin {

class CSkinColorBtn : public QPushButton {
    Q_OBJECT

public:
    explicit CSkinColorBtn(QWidget* parent = nullptr);

    // An invalid colour stands for the automatic colour, as when its entry is picked.
    void SetColour(const QColor& colour);
    // The chosen colour; invalid when none is chosen or the automatic entry was picked.
    QColor Colour() const { return colour_; }
    QColor AutomaticColour() const { return automaticColour_; }
    // The chosen colour, else the automatic colour: what the swatch shows.
    QColor ShownColour() const { return colour_.isValid() ? colour_ : automaticColour_; }

    void EnableAutomaticButton(const QString& text, const QColor& colour, bool enable = true);
    void EnableOtherButton(const QString& text, bool enable = true);
    // At least 1.
    void SetColumnsNumber(int columns);

signals:
    // The colour picked, or the automatic colour when the automatic entry was picked.
    void ColourChosen(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Enter picks the popup entry that has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPopup();
    void Pick(const QColor& colour);
    void PickOther();

    QColor colour_;
    QColor automaticColour_ = Qt::black;
    QString automaticText_;
    bool automaticEnabled_ = false;
    QString otherText_;
    bool otherEnabled_ = false;
    int columns_ = 10;
};

}  // namespace zarvin
