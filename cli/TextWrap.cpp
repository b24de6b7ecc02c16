#include "cli/TextWrap.h"

#include <vector>

namespace zarvin::cli {
namespace {

struct Character {
    std::string_view bytes;
    char32_t code;
};

// The characters of UTF-8 `text`; a byte that starts no valid sequence stands for itself.
std::vector<Character> Characters(std::string_view text) {
    std::vector<Character> characters;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t code = length == 1 ? lead : lead & (0x3Fu >> (length - 1));
        size_t taken = 1;
        while (taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3Fu);
            ++taken;
        }
        if (taken != length) {
            code = lead;
            taken = 1;
        }
        characters.push_back({text.substr(i, taken), code});
        i += taken;
    }
    return characters;
}

// East Asian wide and full-width characters: CJK, kana, hangul, full-width forms.
bool Wide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Punctuation that must not begin a line, and that which must not end one.
bool ClosesText(char32_t c) {
    return std::u32string_view(U"、。，．：；！？）」』】〕〉》・ーぁぃぅぇぉっゃゅょァィゥェォッャュョ,.:;!?)]}'\"")
               .find(c) != std::u32string_view::npos;
}
bool OpensText(char32_t c) {
    return std::u32string_view(U"（「『【〔〈《([{'\"").find(c) != std::u32string_view::npos;
}

size_t Columns(const Character& c) {
    return Wide(c.code) ? 2 : 1;
}

// One line of text, without line breaks, wrapped.
void WrapLine(const std::vector<Character>& line, size_t width, std::string_view& prefix,
              std::string_view restPrefix, std::string& out) {
    size_t start = 0;
    while (start < line.size() && line[start].code == ' ') {
        ++start;
    }
    do {
        const size_t room = width > DisplayWidth(prefix) ? width - DisplayWidth(prefix) : 1;
        size_t used = 0;
        size_t end = start;
        size_t lastBreak = 0;  // where the line may end (exclusive); 0 when nowhere yet
        size_t lastResume = 0;  // where the next line then starts
        while (end < line.size()) {
            const Character& c = line[end];
            if (c.code == ' ') {
                lastBreak = end;
                lastResume = end + 1;
            } else if (end > start && (Wide(c.code) || Wide(line[end - 1].code)) &&
                       line[end - 1].code != ' ' && !ClosesText(c.code) &&
                       !OpensText(line[end - 1].code)) {
                lastBreak = end;
                lastResume = end;
            }
            if (used + Columns(c) > room && c.code != ' ') {
                break;
            }
            used += Columns(c);
            ++end;
        }
        size_t stop = end;
        size_t resume = end;
        if (end < line.size() && lastBreak > start) {
            stop = lastBreak;
            resume = lastResume;
        } else if (end < line.size()) {
            // One word wider than the line: it stands alone, to its next break.
            while (stop < line.size() && line[stop].code != ' ') {
                ++stop;
            }
            resume = stop;
        }
        while (stop > start && line[stop - 1].code == ' ') {
            --stop;
        }
        std::string shown(prefix);
        for (size_t i = start; i < stop; ++i) {
            shown += line[i].bytes;
        }
        // A blank line gets no trailing blanks from its prefix.
        while (!shown.empty() && shown.back() == ' ') {
            shown.pop_back();
        }
        out += shown + '\n';
        prefix = restPrefix;
        start = resume;
        while (start < line.size() && line[start].code == ' ') {
            ++start;
        }
    } while (start < line.size());
}

}  // namespace

size_t DisplayWidth(std::string_view text) {
    size_t width = 0;
    for (const Character& c : Characters(text)) {
        width += Columns(c);
    }
    return width;
}

std::string WrapText(std::string_view text, size_t width, std::string_view firstPrefix,
                     std::string_view restPrefix) {
    std::string out;
    std::string_view prefix = firstPrefix;
    while (true) {
        const size_t end = text.find('\n');
        WrapLine(Characters(text.substr(0, end)), width, prefix, restPrefix, out);
        if (end == std::string_view::npos) {
            return out;
        }
        text.remove_prefix(end + 1);
    }
}

}  // namespace zarvin::cli
