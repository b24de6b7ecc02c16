#include "skin/HyperLink.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QUrl>

#include "skin/FocusRing.h"

namespace zarvin {

namespace {

constexpr QColor kUnvisited(0, 0, 238);
constexpr QColor kVisited(85, 26, 139);
constexpr QColor kHover(255, 0, 0);

// Debian's name for the browser the system chose, the nearest thing to the program registered
// for web pages.
const char* const kSystemBrowser = "x-www-browser";

}  // namespace

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    ShowColour();
}

void CHyperLink::SetAddress(const QString& address) {
    address_ = address;
    setText(address);
    setToolTip(address);
    adjustSize();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Open();
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    ShowColour();
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    ShowColour();
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    hover_ = true;
    ShowColour();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    hover_ = false;
    ShowColour();
    QLabel::leaveEvent(event);
}

void CHyperLink::Open() {
    if (address_.isEmpty()) {
        return;
    }
    const bool opened = QDesktopServices::openUrl(QUrl::fromUserInput(address_)) ||
                        QProcess::startDetached(QString::fromLatin1(kSystemBrowser), {address_});
    if (opened) {
        visited_ = true;
        ShowColour();
    }
}

void CHyperLink::ShowColour() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, hover_      ? kHover
                                           : hasFocus() ? FocusRingColour()
                                           : visited_   ? kVisited
                                                        : kUnvisited);
    setPalette(colours);
}

}  // namespace zarvin
