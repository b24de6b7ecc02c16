#pragma once

// KeyOutlineLayer: the frames of the key buttons that show a colour, drawn by one widget laid over
// the keyboard. The lighting preview changes nearly every key 20 times a second; painting each
// key button again for its frame costs the window a pass over its widgets per key, while this
// layer paints all changed frames at once. It is opaque exactly where the frames are and lets
// everything else, the pointer included, through to the buttons beneath.
//
// A key that has the focus draws its own frame, so that its focus ring stays above the frame.

#include <QRect>
#include <QWidget>
#include <span>
#include <utility>
#include <vector>

namespace zarvin {

class CPngButton;

class KeyOutlineLayer : public QWidget {
public:
    // Covers the whole of `window`, above the widgets it holds so far.
    explicit KeyOutlineLayer(QWidget& window);

    // `keys` are every key button that may show a colour; `changed` those whose outline changed
    // since the last call. Frames are taken from the buttons' outline state.
    void Show(std::span<CPngButton* const> keys, std::span<CPngButton* const> changed);

    // Whether the layer draws `key`'s frame now.
    bool Frames(const CPngButton& key) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::pair<const CPngButton*, QRect>> framed_;
    // The next frame's list, kept to spare an allocation per preview frame.
    std::vector<std::pair<const CPngButton*, QRect>> nextFramed_;
};

}  // namespace zarvin
