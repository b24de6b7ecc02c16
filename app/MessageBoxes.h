#pragma once

// The core's messages and questions as message boxes, with the texts of the current language.
// Callable from any thread: a call from another thread is carried out on the window thread and
// returns when the box has closed. Start-up builds it before the core, then gives it the core's
// texts.

#include <QObject>
#include <string>

#include "app/WindowThreadCalls.h"
#include "control/UserQuestions.h"
#include "device/UserMessages.h"
#include "model/KeyCodes.h"

namespace zarvin {

class MessageBoxes : public QObject, public UserMessages, public UserQuestions {
    Q_OBJECT

public:
    MessageBoxes();
    ~MessageBoxes() override;

    // Where the texts come from; until set, the keys themselves are shown.
    void SetTexts(TextLookup texts);

    void ShowMessage(std::string_view textKey) override;
    void ShowFormattedMessage(std::string_view textKey, std::string_view argument) override;
    bool AskYesNo(std::string_view textKey) override;

    // Ends the calls of other threads that wait for a box, without showing it; later ones end
    // at once. The window runs it at exit before it stops the device threads.
    void EndPendingCalls();

    // The text of `textKey` with `argument` in place of its first "%s" or "%d".
    static std::string FillFormat(std::string_view text, std::string_view argument);

private:
    std::string TextOf(std::string_view textKey) const;
    // `ok` is the button's word in the current language.
    static void Show(const std::string& text, const std::string& ok);

    TextLookup texts_;
    WindowThreadCalls calls_{*this};
};

}  // namespace zarvin
