#include "model/TextTemplate.h"

namespace zarvin {

std::string FillTemplate(std::string_view format, std::span<const std::string_view> arguments) {
    std::string text;
    size_t next = 0;
    const auto argument = [&](size_t index) {
        return index < arguments.size() ? arguments[index] : std::string_view();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            text += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            text += '%';
            ++i;
        } else if (format[i + 1] == 's') {
            text += argument(next++);
            ++i;
        } else if (format[i + 1] >= '1' && format[i + 1] <= '9' && i + 3 < format.size() &&
                   format[i + 2] == '$' && format[i + 3] == 's') {
            text += argument(static_cast<size_t>(format[i + 1] - '1'));
            i += 3;
        } else {
            text += '%';
        }
    }
    return text;
}

std::string FillTemplate(std::string_view format,
                         std::initializer_list<std::string_view> arguments) {
    return FillTemplate(format, std::span(arguments.begin(), arguments.size()));
}

}  // namespace zarvin
