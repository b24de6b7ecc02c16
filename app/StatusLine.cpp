#include "app/StatusLine.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace zarvin {

namespace {

// Long enough to read two lines; the fade itself tells that it is going.
constexpr int kHoldMs = 6000;
constexpr int kFadeMs = 1200;
// Two lines fit the footer's height.
constexpr int kTextPixels = 12;

}  // namespace

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("StatusLine"));
    setWordWrap(true);
    QFont small = font();
    small.setPixelSize(kTextPixels);
    setFont(small);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    opacity_ = new QGraphicsOpacityEffect(this);
    opacity_->setOpacity(1.0);
    setGraphicsEffect(opacity_);
    fade_ = new QPropertyAnimation(opacity_, "opacity", this);
    fade_->setDuration(kFadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(fade_, &QPropertyAnimation::finished, this, &StatusLine::Faded);
    hold_.setSingleShot(true);
    connect(&hold_, &QTimer::timeout, this, &StatusLine::StartFading);
    hide();
}

namespace {

QString WithArgument(QString text, const QString& argument) {
    const qsizetype at = text.indexOf(QStringLiteral("%s"));
    if (at >= 0) {
        text.replace(at, 2, argument);
    }
    return text;
}

}  // namespace

void StatusLine::Say(const QString& text, const QString& argument) {
    fade_->stop();
    opacity_->setOpacity(1.0);
    said_ = WithArgument(text, argument);
    setText(Fitted(text, argument));
    setToolTip(said_);
    setAccessibleName(said_);
    show();
    raise();
    hold_.start(kHoldMs);
}

bool StatusLine::Fits(const QString& shown) const {
    const QRect room = contentsRect();
    const QRect needed = fontMetrics().boundingRect(room, Qt::TextWordWrap, shown);
    return needed.height() <= room.height() && needed.width() <= room.width();
}

// A long file name or a long translation would otherwise lose the sentence's end below the
// footer, which is where it says what to do next.
QString StatusLine::Fitted(const QString& text, const QString& argument) const {
    QString whole = WithArgument(text, argument);
    if (Fits(whole)) {
        return whole;
    }
    const QFontMetrics metrics = fontMetrics();
    constexpr int kStep = 8;
    for (int room = metrics.horizontalAdvance(argument) - kStep; room > 0; room -= kStep) {
        whole = WithArgument(text, metrics.elidedText(argument, Qt::ElideMiddle, room));
        if (Fits(whole)) {
            return whole;
        }
    }
    for (qsizetype kept = whole.size() - 1; kept > 0; --kept) {
        QString cut = whole.left(kept).trimmed() + QChar(0x2026);
        if (Fits(cut)) {
            return cut;
        }
    }
    return QString(QChar(0x2026));
}

void StatusLine::StartFading() {
    fade_->start();
}

void StatusLine::Faded() {
    said_.clear();
    hide();
    setText(QString());
    setToolTip(QString());
    setAccessibleName(QString());
}

}  // namespace zarvin
