#include "skin/ComboBox4ListCtrl.h"

#include <QCoreApplication>

namespace zarvin {

QEvent::Type CComboBox4ListCtrl::PostedMessage::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CComboBox4ListCtrl::PostedMessage::PostedMessage(unsigned number, quintptr word, qintptr value)
    : QEvent(EventType()), message(number), wParam(word), lParam(value) {}

CComboBox4ListCtrl::CComboBox4ListCtrl(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, &CComboBox4ListCtrl::PostToTarget);
}

void CComboBox4ListCtrl::SetTarget(QObject* target, unsigned message, quintptr wParam,
                                   qintptr lParam) {
    target_ = target;
    message_ = message;
    wParam_ = wParam;
    lParam_ = lParam;
}

void CComboBox4ListCtrl::PostToTarget() {
    if (target_) {
        QCoreApplication::postEvent(target_, new PostedMessage(message_, wParam_, lParam_));
    }
}

}  // namespace zarvin
