#pragma once

// The windows' texts from the language file beside the program.

#include <QString>
#include <filesystem>

namespace zarvin::preview {

class Texts {
public:
    explicit Texts(std::filesystem::path languageFile) : file_(std::move(languageFile)) {}

    // The text of `key` in `section`; "#Error" when missing, as the windows show it.
    QString Get(const char* section, const char* key) const;

private:
    std::filesystem::path file_;
};

}  // namespace zarvin::preview
