#include "dialogs/KeyHook.h"

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/LinuxKeyEvents.h"

namespace zarvin {

namespace {

constexpr uint32_t kTransitionBit = 1U << 31;

// The keys Windows reports under another make code while a modifier is held: Print Screen with
// Alt is Sys Req, Pause with Ctrl is Break. Linux keeps the key's own code for both.
std::optional<LinuxKeyTranslation> TranslateWithModifiers(uint16_t evdevCode,
                                                          Qt::KeyboardModifiers modifiers) {
    constexpr LinuxKeyTranslation kSysReq{0x54, false, 0x2C};
    constexpr LinuxKeyTranslation kBreak{0x46, true, 0x03};
    if (evdevCode == KEY_SYSRQ && modifiers.testFlag(Qt::AltModifier)) {
        return kSysReq;
    }
    if (evdevCode == KEY_BREAK ||
        (evdevCode == KEY_PAUSE && modifiers.testFlag(Qt::ControlModifier))) {
        return kBreak;
    }
    return TranslateLinuxKey(evdevCode);
}

bool IsKeyEvent(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease ||
           type == QEvent::ShortcutOverride;
}

}  // namespace

std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event) {
    const uint16_t evdevCode = EvdevCodeOfNativeScanCode(event.nativeScanCode());
    if (evdevCode == 0) {
        return std::nullopt;
    }
    const std::optional<LinuxKeyTranslation> key =
        TranslateWithModifiers(evdevCode, event.modifiers());
    if (!key) {
        return std::nullopt;
    }
    KeyMessage message;
    message.vk = key->vk;
    message.release = event.type() == QEvent::KeyRelease;
    message.autoRepeat = event.isAutoRepeat() && !message.release;
    message.keyWord = KeyMessageWord(key->makeCode, key->extended, event.isAutoRepeat());
    if (message.release) {
        message.keyWord |= kTransitionBit;
    }
    return message;
}

KeyHook::KeyHook(QWidget* grabber, Handler handler)
    : grabber_(grabber), handler_(std::move(handler)) {}

KeyHook::~KeyHook() {
    Remove();
}

void KeyHook::Install() {
    if (installed_) {
        return;
    }
    installed_ = true;
    passedOn_.reset();
    swallowedPresses_.reset();
    qApp->installEventFilter(this);
    if (grabber_ != nullptr) {
        grabber_->grabKeyboard();
    }
}

void KeyHook::Remove() {
    if (!installed_) {
        return;
    }
    installed_ = false;
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
    if (grabber_ != nullptr && QWidget::keyboardGrabber() == grabber_) {
        grabber_->releaseKeyboard();
    }
}

bool KeyHook::Installed() const {
    return installed_;
}

bool KeyHook::eventFilter(QObject* watched, QEvent* event) {
    if (!IsKeyEvent(event->type())) {
        return QObject::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<const QKeyEvent*>(event);
    const std::optional<KeyMessage> message = KeyMessageOf(*keyEvent);
    if (!message) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed as an ordinary key press, so no shortcut acts on it before the handler has
        // seen it.
        event->accept();
        return true;
    }
    const EventSignature signature{event, event->type(), keyEvent->nativeScanCode(),
                                   keyEvent->timestamp(), keyEvent->isAutoRepeat()};
    if (passedOn_ == signature) {
        return false;
    }
    const size_t slot = EvdevCodeOfNativeScanCode(keyEvent->nativeScanCode());
    bool swallow = false;
    if (message->release && keyEvent->isAutoRepeat()) {
        // X11 and Wayland clients repeat a held key as release and press pairs; Windows repeats
        // presses only, so the handler never hears these.
        swallow = swallowedPresses_.test(slot);
    } else {
        const QPointer<KeyHook> alive(this);
        swallow = handler_(*message);
        if (alive == nullptr) {
            return swallow;  // the handler ended its hook
        }
        if (!message->release) {
            swallowedPresses_.set(slot, swallow);
        }
    }
    if (swallow) {
        passedOn_.reset();
    } else {
        passedOn_ = signature;
    }
    return swallow;
}

}  // namespace zarvin
