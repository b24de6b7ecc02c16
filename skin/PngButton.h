#pragma once

// CPngButton: the picture button of every skinned window. It draws no look of its own: each of
// its faces is cut from a full-window state image (skin/StateImages.h). The face is the
// rectangle of the button's size whose top-left corner lies at (origin - 1) on the surface; with
// PlaceWithFaces (skin/LayoutReaders.h) the origin is the button's own position, so the face is
// the part of the state image under the button, shifted one pixel up and left.
//
// The face follows the first state that holds, in this order:
//   disabled              -> disabled face, disabled text colour
//   toggle mode           -> toggle-on or toggle-off face, normal text colour
//   pressed (held down)   -> pressed face, pressed text colour
//   hover (pointer on it) -> hover face, hover text colour
//   selected (set by the owner) -> selected face, selected text colour
//   otherwise             -> normal face, normal text colour
//
// The button keeps only the pieces of the surfaces under it (skin/FacePieces.h), cut when its
// faces are set: the window may release its surfaces once its buttons are placed, as long as
// the faces it sets afterwards name only surfaces the button has cut already (a button showing
// a face it never cut while the surface was loaded shows what lies beneath).
//
// Outline mode draws a 2-pixel frame in the outline colour over the face. With the text style
// on, the button's text is drawn over it. After every draw the draw hook, when set, learns
// whether the face drawn was the normal one. A double click gives two clicks. The surfaces are
// not owned; the button knows its faces by their surfaces' addresses, so the QImage objects
// (not their pixels) must outlive it. A face that was never set draws nothing, leaving what
// lies beneath (the window's background) visible.
//
// For the keyboard and assistive technology (skin/SkinAccessibility.h) the button has a role: a
// toggle or a choice is on while it is selected; a display takes no focus. Its accessible name
// is the name its owner sets, else its text, else its tooltip.

#include <QAbstractButton>
#include <QColor>
#include <QMargins>
#include <QString>
#include <QTimer>
#include <functional>

#include "skin/ButtonRole.h"
#include "skin/FacePieces.h"

class QEnterEvent;
class QResizeEvent;
class QImage;
class QPainter;

namespace zarvin {

struct ButtonFaces {
    const QImage* normal = nullptr;
    const QImage* hover = nullptr;
    const QImage* pressed = nullptr;
    const QImage* disabled = nullptr;
    const QImage* selected = nullptr;
};

struct ButtonTextColours {
    QColor normal = Qt::black;
    QColor hover = Qt::black;
    QColor pressed = Qt::black;
    QColor disabled = Qt::black;
    QColor selected = Qt::black;
};

// Text placement flags, bit for bit those of the skin's text formats.
namespace text_format {
inline constexpr unsigned kLeft = 0x00;
inline constexpr unsigned kCentre = 0x01;
inline constexpr unsigned kRight = 0x02;
inline constexpr unsigned kVerticalCentre = 0x04;  // single line only
inline constexpr unsigned kBottom = 0x08;          // single line only
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
// A caption too wide for its place first shrinks a little (a short caption stays on one line),
// then breaks at its words (and between CJK characters) and shrinks further, as far as
// kMinFitPoints, until it fits: words of any language, however long, stay in the button.
inline constexpr unsigned kFit = 0x40;
inline constexpr unsigned kDefault = kCentre | kVerticalCentre | kSingleLine;
}  // namespace text_format

class CPngButton : public QAbstractButton {
    Q_OBJECT

public:
    // Called after every draw with the button and whether the face drawn is the normal face.
    // It runs inside the button's paint event: it may update() other widgets, not repaint() them.
    using DrawHook = std::function<void(CPngButton& button, bool normalFace)>;

    // The face and text colour of the present state, by the order above.
    struct Look {
        const QImage* face = nullptr;
        QColor textColour;
    };

    static constexpr int kMaxOutlineWidth = 100;
    // The frame drawn in outline mode: the button's outermost rows and columns.
    static constexpr int kOutlineFrameWidth = 2;
    static constexpr int kMaxTextChars = 259;
    static constexpr int kTooltipDelayMs = 300;
    static constexpr qreal kMinFitPoints = 6;
    // How far a fitted caption shrinks to stay on one line before it breaks instead.
    static constexpr qreal kOneLineShrink = 0.85;

    explicit CPngButton(QWidget* parent = nullptr);

    // The setters that change the faces clear the hover state and draw at once.
    void SetFaces(int originX, int originY, const ButtonFaces& faces);
    void SetStateFaces(const ButtonFaces& faces);
    void SetToggleFaces(const QImage* off, const QImage* on, bool toggleMode, bool toggleOn);
    void SetSelected(bool selected, bool draw);
    // A button whose selected face tells a mode (Stop while recording) keeps it under the
    // pointer: the hover face no longer takes its place while selected.
    void SetSelectedOverHover(bool on) { selectedOverHover_ = on; }
    // The width is only stored (at most kMaxOutlineWidth while on); the frame is 2 pixels. The
    // button paints again only when its look changed.
    void SetOutline(const QColor& colour, int width, bool on);
    // The same without painting: true when the look changed, and the caller has the button
    // painted (many buttons in one update of their window).
    bool ChangeOutline(const QColor& colour, int width, bool on);
    void SetTextStyle(bool textOn, int pointSize, const QString& faceName,
                      const ButtonTextColours& colours, unsigned format);
    // The text keeps off the button's edges by these margins (an icon drawn in its face takes
    // the left one).
    void SetTextMargins(const QMargins& margins);
    const QMargins& TextMargins() const { return textMargins_; }
    // `escapement` in tenths of a degree, counter-clockwise: the text turns about the centre of
    // the place it would take unturned. `rotated` draws it heavy (weight 956).
    void SetTextRotation(int escapement, bool rotated);
    // An empty text changes nothing. An inactive tooltip is not shown until the pointer next
    // enters the button, which activates it again.
    void SetTooltip(const QString& text, bool activate);
    void SetDrawHook(DrawHook hook) { drawHook_ = std::move(hook); }
    void SetButtonRole(ButtonRole role);
    ButtonRole Role() const { return role_; }
    // The name assistive technology reads: the accessible name, the text or the tooltip.
    QString SpokenName() const;
    void Redraw() { repaint(); }

    // The outline's frame around `area` (the button's rectangle): its outermost
    // kOutlineFrameWidth rows and columns, the pixels app/KeyOutlineLayer.h fills through its
    // mask for the keys it frames.
    static void DrawOutlineFrame(QPainter& painter, const QRect& area, const QColor& colour);

    Look CurrentLook() const;
    QPoint Origin() const { return {originX_, originY_}; }
    const ButtonFaces& Faces() const { return faces_; }
    const FacePieces& Pieces() const { return pieces_; }
    bool IsSelected() const { return selected_; }
    bool IsHovered() const { return hover_; }
    bool IsOutlineOn() const { return outline_; }
    const QColor& OutlineColour() const { return outlineColour_; }
    int OutlineWidth() const { return outlineWidth_; }
    const QString& TooltipText() const { return tooltipText_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter presses the button as Space does.
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether every face the button may show covers all of it with opaque pixels.
    bool CoveredByEveryFace() const;
    // Cuts the pieces of every face the button may show at its place.
    void CutFaces();
    void UpdateOpaque();
    void DrawText(QPainter& painter, const QColor& colour) const;
    void ShowTooltip();

    ButtonFaces faces_;
    FacePieces pieces_;
    int originX_ = 0;
    int originY_ = 0;
    bool hover_ = false;
    bool selected_ = false;
    bool selectedOverHover_ = false;

    bool toggleMode_ = false;
    bool toggleOn_ = false;
    const QImage* faceToggleOff_ = nullptr;
    const QImage* faceToggleOn_ = nullptr;

    bool outline_ = false;
    QColor outlineColour_ = Qt::black;
    int outlineWidth_ = 0;

    bool textOn_ = false;
    int pointSize_ = 8;
    QString faceName_ = QStringLiteral("Tahoma Unicode MS");
    ButtonTextColours colours_;
    unsigned textFormat_ = text_format::kDefault;
    QMargins textMargins_;
    int escapement_ = 0;
    bool rotated_ = false;

    QString tooltipText_;
    bool tooltipActive_ = false;
    QTimer tooltipTimer_;

    DrawHook drawHook_;
    ButtonRole role_ = ButtonRole::Push;
};

}  // namespace zarvin
