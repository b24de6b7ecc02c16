#pragma once

// CHyperLink: a web address shown as a link: blue (0, 0, 238) until opened, purple (85, 26, 139)
// once opened, red while the pointer rests on it; underlined, with a hand cursor and the address
// as its tooltip, and as large as its text. A click opens the address in the desktop's browser,
// or, when the desktop cannot, in the system's default browser program. The keyboard reaches it
// with Tab and opens it with Enter or Space; it is underlined in the focus ring's colour while it
// has the focus.

#include <QLabel>
#include <QString>

namespace zarvin {

class CHyperLink : public QLabel {
    Q_OBJECT

public:
    explicit CHyperLink(QWidget* parent = nullptr);

    void SetAddress(const QString& address);
    QString Address() const { return address_; }
    bool Visited() const { return visited_; }
    // Opens the address, as a click does.
    void Activate() { Open(); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Open();
    void ShowColour();

    QString address_;
    bool visited_ = false;
    bool hover_ = false;
};

}  // namespace zarvin
