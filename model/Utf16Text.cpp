#include "model/Utf16Text.h"

#include <cstdint>

namespace zarvin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The code point at `at`, and how many bytes it takes; one byte of U+FFFD when malformed.
char32_t DecodeUtf8At(std::string_view text, size_t at, size_t& used) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    used = 1;
    if (lead < 0x80) {
        return lead;
    }
    size_t extra = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1Fu, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0Fu, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07u, lowest = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - at <= extra) {
        return kReplacement;
    }
    for (size_t i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return kReplacement;
        }
        code = code << 6 | (byte(at + i) & 0x3Fu);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return kReplacement;
    }
    used = extra + 1;
    return code;
}

}  // namespace

std::u16string Utf16OfUtf8(std::string_view text) {
    std::u16string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t used = 1;
        AppendUtf16(out, DecodeUtf8At(text, at, used));
        at += used;
    }
    return out;
}

std::string Utf8OfUtf16(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace zarvin
