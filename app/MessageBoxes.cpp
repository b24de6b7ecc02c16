#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <utility>

#include "model/TextKeys.h"
#include "skin/ControlStyle.h"

namespace zarvin {

MessageBoxes::MessageBoxes() = default;

MessageBoxes::~MessageBoxes() = default;

void MessageBoxes::SetTexts(TextLookup texts) {
    texts_ = std::move(texts);
}

void MessageBoxes::EndPendingCalls() {
    calls_.EndCalls();
}

std::string MessageBoxes::TextOf(std::string_view textKey) const {
    return texts_ ? texts_(textKey) : std::string(textKey);
}

std::string MessageBoxes::FillFormat(std::string_view text, std::string_view argument) {
    for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 2)) {
        if (at + 1 < text.size() && (text[at + 1] == 's' || text[at + 1] == 'd')) {
            std::string filled(text.substr(0, at));
            filled += argument;
            filled += text.substr(at + 2);
            return filled;
        }
    }
    return std::string(text);
}

void MessageBoxes::Show(const std::string& text, const std::string& ok) {
    // The boxes carry no caption, as the program's own messages always have; their buttons
    // speak the window's language, which Qt's own words would not.
    QMessageBox box(QMessageBox::Information, QString(), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QString::fromStdString(ok));
    StyleControls(box);
    box.exec();
}

// The calls own what they use: at exit a caller may stop waiting while its box is still open.
void MessageBoxes::ShowMessage(std::string_view textKey) {
    calls_.RunAndWait(
        [text = TextOf(textKey), ok = TextOf(text_keys::PROFILE_OK)] { Show(text, ok); });
}

void MessageBoxes::ShowFormattedMessage(std::string_view textKey, std::string_view argument) {
    calls_.RunAndWait([text = FillFormat(TextOf(textKey), argument),
                       ok = TextOf(text_keys::PROFILE_OK)] { Show(text, ok); });
}

bool MessageBoxes::AskYesNo(std::string_view textKey) {
    auto yes = std::make_shared<bool>(false);
    calls_.RunAndWait([yes, text = QString::fromStdString(TextOf(textKey)),
                       yesWord = QString::fromStdString(TextOf(text_keys::MESSAGE_YES)),
                       noWord = QString::fromStdString(TextOf(text_keys::MESSAGE_NO))] {
        QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        StyleControls(box);
        box.button(QMessageBox::Yes)->setText(yesWord);
        box.button(QMessageBox::No)->setText(noWord);
        *yes = box.exec() == QMessageBox::Yes;
    });
    return *yes;
}

}  // namespace zarvin
