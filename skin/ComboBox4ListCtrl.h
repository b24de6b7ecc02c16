#pragma once

// CComboBox4ListCtrl: the drop-down list shown inside a report list to edit a cell in place.
// The owner stores a target, a message number and two values; whenever the user picks an entry
// (not when the program sets one) the combo posts that message with those values to the target,
// as a PostedMessage event that arrives from the event loop. Without a target, or once the target
// is gone, nothing is posted. Losing the focus does nothing.

#include <QComboBox>
#include <QEvent>
#include <QPointer>

namespace zarvin {

class CComboBox4ListCtrl : public QComboBox {
    Q_OBJECT

public:
    class PostedMessage : public QEvent {
    public:
        static QEvent::Type EventType();
        PostedMessage(unsigned number, quintptr word, qintptr value);

        const unsigned message;
        const quintptr wParam;
        const qintptr lParam;
    };

    explicit CComboBox4ListCtrl(QWidget* parent = nullptr);

    void SetTarget(QObject* target, unsigned message, quintptr wParam, qintptr lParam);

private:
    void PostToTarget();

    QPointer<QObject> target_;
    unsigned message_ = 0;
    quintptr wParam_ = 0;
    qintptr lParam_ = 0;
};

}  // namespace zarvin
