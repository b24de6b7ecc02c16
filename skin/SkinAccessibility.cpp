#include "skin/SkinAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "skin/BitmapSlider.h"
#include "skin/HyperLink.h"
#include "skin/PictureButton.h"
#include "skin/PngButton.h"

namespace zarvin {

namespace {

QAccessible::Role RoleOf(ButtonRole role) {
    switch (role) {
        case ButtonRole::Push:
        case ButtonRole::Toggle:
            return QAccessible::Button;
        case ButtonRole::Choice:
            return QAccessible::RadioButton;
        case ButtonRole::Display:
            return QAccessible::StaticText;
    }
    return QAccessible::Button;
}

// One interface for both picture buttons: `Button` is CPngButton or CPictureButton.
template <typename Button>
class AccessiblePictureButton : public QAccessibleWidget {
public:
    explicit AccessiblePictureButton(Button* button)
        : QAccessibleWidget(button, RoleOf(button->Role())) {}

    QAccessible::Role role() const override { return RoleOf(button()->Role()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return button()->SpokenName();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const ButtonRole role = button()->Role();
        if (role == ButtonRole::Toggle || role == ButtonRole::Choice) {
            state.checkable = true;
            state.checked = IsOn();
        }
        state.pressed = button()->isDown();
        if (role == ButtonRole::Display) {
            state.focusable = false;
        }
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->Role() != ButtonRole::Display && button()->isEnabled()) {
            names.prepend(button()->Role() == ButtonRole::Toggle ? toggleAction() : pressAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (!button()->isEnabled() || button()->Role() == ButtonRole::Display) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (action == pressAction() || action == toggleAction()) {
            button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    Button* button() const { return static_cast<Button*>(widget()); }
    bool IsOn() const;
};

template <>
bool AccessiblePictureButton<CPngButton>::IsOn() const {
    return button()->IsSelected();
}

template <>
bool AccessiblePictureButton<CPictureButton>::IsOn() const {
    return button()->IsOn();
}

class AccessibleBitmapSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleBitmapSlider(CBitmapSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return QString::number(slider()->Position());
        }
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return slider()->Position(); }
    void setCurrentValue(const QVariant& value) override { slider()->MoveByUser(value.toInt()); }
    QVariant maximumValue() const override { return slider()->Maximum(); }
    QVariant minimumValue() const override { return slider()->Minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    CBitmapSlider* slider() const { return static_cast<CBitmapSlider*>(widget()); }
};

class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(CHyperLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return link()->text();
        }
        if (kind == QAccessible::Value) {
            return link()->Address();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.traversed = link()->Visited();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            link()->Activate();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    CHyperLink* link() const { return static_cast<CHyperLink*>(widget()); }
};

QAccessibleInterface* SkinControlInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(CPngButton::staticMetaObject.className())) {
        return new AccessiblePictureButton<CPngButton>(static_cast<CPngButton*>(object));
    }
    if (className == QLatin1String(CPictureButton::staticMetaObject.className())) {
        return new AccessiblePictureButton<CPictureButton>(static_cast<CPictureButton*>(object));
    }
    if (className == QLatin1String(CBitmapSlider::staticMetaObject.className())) {
        return new AccessibleBitmapSlider(static_cast<CBitmapSlider*>(object));
    }
    if (className == QLatin1String(CHyperLink::staticMetaObject.className())) {
        return new AccessibleLink(static_cast<CHyperLink*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallSkinAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SkinControlInterface);
        return true;
    }();
    (void)installed;
}

void NotifyCheckedChanged(QObject* control) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

void NotifyNameChanged(QObject* control) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace zarvin
