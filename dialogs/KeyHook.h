#pragma once

// KeyHook: while installed, every key press and release of the application reaches the handler
// first, as the (virtual key, key-message word) pair of a Windows key message, so the key code
// table's KeyCodeOfKeyEvent reads it unchanged. The grabbing widget takes the keyboard
// (QWidget::grabKeyboard), so the Super keys and the keys that would move the focus reach it.
// Key events come from the native scan code (evdev code + 8, platform/LinuxKeyEvents.h); an
// event without a known scan code is passed on untouched.

#include <QObject>
#include <QPointer>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace zarvin {

struct KeyMessage {
    uint8_t vk = 0;         // Windows virtual-key code
    uint32_t keyWord = 0;   // make code bits 16-23, extended bit 24, previous-state bit 30
                            // (auto-repeat), transition bit 31 (release)
    bool release = false;   // bit 31
    bool autoRepeat = false;  // bit 30 on a press
};

// Nothing for an event whose native scan code names no key of the key code table.
std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event);

class KeyHook : public QObject {
    Q_OBJECT

public:
    // Returns true to swallow the event; false passes it on to its receiver.
    using Handler = std::function<bool(const KeyMessage& message)>;

    KeyHook(QWidget* grabber, Handler handler);
    ~KeyHook() override;

    // Idempotent. Install grabs the keyboard for `grabber` and filters the application's key
    // events; Remove releases both.
    void Install();
    void Remove();
    bool Installed() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Evdev key codes run from 0 to KEY_MAX (0x2FF).
    static constexpr size_t kKeyCodeSlots = 0x300;

    // What identifies one key event while it travels from the window to its receiver and
    // on to the receiver's parents, so the handler hears about it once.
    struct EventSignature {
        const QEvent* event = nullptr;
        int type = 0;
        quint32 nativeScanCode = 0;
        quint64 timestamp = 0;
        bool autoRepeat = false;

        bool operator==(const EventSignature&) const = default;
    };

    QPointer<QWidget> grabber_;
    Handler handler_;
    bool installed_ = false;
    std::optional<EventSignature> passedOn_;
    // Keys whose last press the handler swallowed: their auto-repeat releases go the same way.
    std::bitset<kKeyCodeSlots> swallowedPresses_;
};

}  // namespace zarvin
