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

void StatusLine::Say(const QString& text) {
    fade_->stop();
    opacity_->setOpacity(1.0);
    said_ = text;
    setText(text);
    setToolTip(text);
    show();
    raise();
    hold_.start(kHoldMs);
}

void StatusLine::StartFading() {
    fade_->start();
}

void StatusLine::Faded() {
    said_.clear();
    hide();
    setText(QString());
}

}  // namespace zarvin
