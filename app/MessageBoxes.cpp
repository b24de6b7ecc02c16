#include "app/MessageBoxes.h"

#include <QMessageBox>
#include <QString>
#include <memory>
#include <utility>

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

void MessageBoxes::Show(const std::string& text) {
    // The boxes carry no caption, as the program's own messages always have.
    QMessageBox::information(nullptr, QString(), QString::fromStdString(text));
}

// The calls own what they use: at exit a caller may stop waiting while its box is still open.
void MessageBoxes::ShowMessage(std::string_view textKey) {
    calls_.RunAndWait([text = TextOf(textKey)] { Show(text); });
}

void MessageBoxes::ShowFormattedMessage(std::string_view textKey, std::string_view argument) {
    calls_.RunAndWait([text = FillFormat(TextOf(textKey), argument)] { Show(text); });
}

bool MessageBoxes::AskYesNo(std::string_view textKey) {
    auto yes = std::make_shared<bool>(false);
    calls_.RunAndWait([yes, text = QString::fromStdString(TextOf(textKey))] {
        *yes = QMessageBox::question(nullptr, QString(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    return *yes;
}

}  // namespace zarvin
