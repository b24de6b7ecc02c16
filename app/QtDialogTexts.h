#pragma once

// Qt's own words in the chosen language: the file dialog of export and import, the colour
// dialog, the standard buttons of message boxes. They come from Qt's translations
// (qt6-translations-l10n); without them, or for English, Qt speaks English.

#include <QTranslator>
#include <memory>
#include <string_view>

namespace zarvin {

class QtDialogTexts {
public:
    // `localeName` as the command line takes it ("de", "pt_BR", "zh_TW"). False when Qt has no
    // translation for it here: Qt's words stay English.
    bool Use(std::string_view localeName);

private:
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace zarvin
