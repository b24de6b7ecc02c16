#include "store/IniFile.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "platform/WholeFile.h"
#include "store/DecimalNumber.h"
#include "store/ParsedFileCache.h"
#include "store/Utf8Text.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

// The blanks the private-profile functions trim: white space and the old end-of-file mark.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::ranges::transform(folded, folded.begin(), FoldCase);
    return folded;
}

// Windows compares names without regard to case; here that covers ASCII letters, which is what
// the program's section and key names are made of.
bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

enum class LineKind { kIgnored, kSection, kKey };

struct IniLine {
    std::string_view raw;  // with its line break, if it has one
    LineKind kind = LineKind::kIgnored;
    std::string_view name;
    std::string_view value;
    bool blank = false;
};

IniLine ParseLine(std::string_view raw, bool first) {
    IniLine line;
    line.raw = raw;
    std::string_view text = raw;
    if (first) {
        text = WithoutUtf8Bom(text);
    }
    text = Trim(text);
    line.blank = text.empty();
    if (text.empty() || text.front() == ';') {
        return line;
    }
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::kSection;
            line.name = Trim(text.substr(1, close - 1));
        }
        return line;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return line;
    }
    line.name = Trim(text.substr(0, equals));
    line.value = Trim(text.substr(equals + 1));
    if (!line.name.empty()) {
        line.kind = LineKind::kKey;
    }
    return line;
}

// The lines of `text`, each with its own line break.
std::vector<IniLine> ParseLines(std::string_view text) {
    std::vector<IniLine> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(ParseLine(text.substr(0, length), lines.empty()));
        text.remove_prefix(length);
    }
    return lines;
}

// Where a section sits in the lines: its header and the end of its lines. Only the first section
// of a name counts, as on Windows.
struct SectionSpan {
    size_t header = 0;
    size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<IniLine>& lines, std::string_view name) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::kSection && SameName(lines[i].name, name)) {
            size_t end = i + 1;
            while (end < lines.size() && lines[end].kind != LineKind::kSection) {
                ++end;
            }
            return SectionSpan{i, end};
        }
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<IniLine>& lines, const SectionSpan& section,
                              std::string_view key) {
    for (size_t i = section.header + 1; i < section.end; ++i) {
        if (lines[i].kind == LineKind::kKey && SameName(lines[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// One pair of matching single or double quotes around a value is not part of it.
std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string CutToBuffer(std::string_view text, size_t bufferChars) {
    // What follows a NUL byte is lost in a C string, as it would be on Windows.
    text = text.substr(0, text.find('\0'));
    return bufferChars == 0 ? std::string() : ValidUtf8Prefix(text, bufferChars - 1);
}

// A file's text and its lines, which view into the text (so it is never copied or moved).
struct IniText {
    explicit IniText(std::string bytes)
        : text(FileTextAsUtf8(std::move(bytes))), lines(ParseLines(text)) {}
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;

    const std::string text;
    const std::vector<IniLine> lines;
};

// The files read, each kept parsed until it changes; the skin and language files are read
// hundreds of times at start.
ParsedFileCache<IniText>& ReadFiles() {
    static ParsedFileCache<IniText> files(
        [](std::string bytes) { return std::make_shared<const IniText>(std::move(bytes)); });
    return files;
}

// The file parsed, or null when it is missing or cannot be read.
std::shared_ptr<const IniText> ReadParsed(const fs::path& file) {
    return ReadFiles().Get(file);
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsWritableName(std::string_view name) {
    return !name.empty() && !HasLineBreakOrNul(name);
}

bool IsWritableKey(std::string_view key) {
    return IsWritableName(key) && key.find('=') == std::string_view::npos && key.front() != ';' &&
           key.front() != '[';
}

// The text of a line without its line break.
std::string_view Content(std::string_view raw) {
    if (raw.ends_with('\n')) {
        raw.remove_suffix(1);
    }
    if (raw.ends_with('\r')) {
        raw.remove_suffix(1);
    }
    return raw;
}

std::string_view LineBreakOf(std::string_view raw) {
    return raw.substr(Content(raw).size());
}

// The line break new lines get: the file's own. A last line cut short after its carriage return
// is ended as CRLF, so ending it never makes a file of LF lines one of mixed breaks.
std::string NewlineOf(std::string_view text) {
    return text.find("\r\n") != std::string_view::npos || text.ends_with('\r') ? "\r\n" : "\n";
}

// Ends the last line of `out` when it has no line break (completing a lone carriage return).
void EndLastLine(std::string& out, const std::string& newline) {
    if (out.empty() || out.ends_with('\n')) {
        return;
    }
    out += out.ends_with('\r') ? "\n" : newline;
}

// The new text of a file after one write; the lines not concerned keep their bytes.
std::string EditedText(std::string_view text, std::string_view section, std::string_view key,
                       const std::optional<std::string>& value) {
    const std::vector<IniLine> lines = ParseLines(text);
    const std::string newline = NewlineOf(text);
    const auto join = [&lines](size_t from, size_t to) {
        std::string out;
        for (size_t i = from; i < to; ++i) {
            out += lines[i].raw;
        }
        return out;
    };

    const std::optional<SectionSpan> span = FindSection(lines, section);
    if (!span) {
        if (!value) {
            return std::string(text);
        }
        std::string out(text);
        EndLastLine(out, newline);
        if (!lines.empty() && !lines.back().blank) {
            out += newline;
        }
        out +=
            "[" + std::string(section) + "]" + newline + std::string(key) + "=" + *value + newline;
        return out;
    }

    const std::optional<size_t> found = FindKey(lines, *span, key);
    if (found) {
        std::string out = join(0, *found);
        if (value) {
            // The key keeps its own spelling and indentation.
            const std::string_view content = Content(lines[*found].raw);
            const size_t nameStart =
                static_cast<size_t>(lines[*found].name.data() - content.data());
            out += std::string(content.substr(0, nameStart)) + std::string(lines[*found].name) +
                   "=" + *value + std::string(LineBreakOf(lines[*found].raw));
        }
        out += join(*found + 1, lines.size());
        return out;
    }
    if (!value) {
        return std::string(text);
    }
    // A new key goes after the last line of the section that is not blank.
    size_t insertAt = span->end;
    while (insertAt > span->header + 1 && lines[insertAt - 1].blank) {
        --insertAt;
    }
    std::string out = join(0, insertAt);
    EndLastLine(out, newline);
    out += std::string(key) + "=" + *value + newline;
    out += join(insertAt, lines.size());
    return out;
}

// The new text after setting several keys of one section, in one pass over the file: the same
// text as setting them one after the other.
std::string TextWithKeysSet(std::string_view text, std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    const std::vector<IniLine> lines = ParseLines(text);
    const std::string newline = NewlineOf(text);
    const std::optional<SectionSpan> span = FindSection(lines, section);

    // Keys already in the section take their new value in place (the first of a name); the
    // others follow its last line that is not blank, in the order given.
    std::unordered_map<std::string, size_t> existing;
    if (span) {
        for (size_t i = span->header + 1; i < span->end; ++i) {
            if (lines[i].kind == LineKind::kKey) {
                existing.try_emplace(Folded(lines[i].name), i);
            }
        }
    }
    std::unordered_map<size_t, std::string_view> replaced;
    std::vector<std::pair<std::string_view, std::string_view>> added;
    std::unordered_map<std::string, size_t> addedAt;
    for (const auto& [rawKey, value] : values) {
        const std::string_view key = Trim(rawKey);
        const std::string folded = Folded(key);
        if (const auto found = existing.find(folded); found != existing.end()) {
            replaced[found->second] = value;
        } else if (const auto again = addedAt.find(folded); again != addedAt.end()) {
            added[again->second].second = value;
        } else {
            addedAt.emplace(folded, added.size());
            added.emplace_back(key, value);
        }
    }

    std::string out;
    out.reserve(text.size() + 64 * added.size());
    size_t insertAt = lines.size();
    if (span) {
        insertAt = span->end;
        while (insertAt > span->header + 1 && lines[insertAt - 1].blank) {
            --insertAt;
        }
    }
    for (size_t i = 0; i < insertAt; ++i) {
        const auto change = replaced.find(i);
        if (change == replaced.end()) {
            out += lines[i].raw;
            continue;
        }
        // The key keeps its own spelling and indentation.
        const std::string_view content = Content(lines[i].raw);
        const size_t nameStart = static_cast<size_t>(lines[i].name.data() - content.data());
        out += content.substr(0, nameStart);
        out += lines[i].name;
        out += '=';
        out += change->second;
        out += LineBreakOf(lines[i].raw);
    }
    if (!added.empty()) {
        EndLastLine(out, newline);
        if (!span) {
            if (!lines.empty() && !lines.back().blank) {
                out += newline;
            }
            out += "[" + std::string(section) + "]" + newline;
        }
        for (const auto& [key, value] : added) {
            out += key;
            out += '=';
            out += value;
            out += newline;
        }
    }
    for (size_t i = insertAt; i < lines.size(); ++i) {
        out += lines[i].raw;
    }
    return out;
}

// Replaces the file; what was kept parsed of it is dropped, whatever its stamp says.
bool WriteAndForget(const fs::path& file, std::string_view text) {
    const bool written = WriteWholeFileAtomically(file, text);
    ReadFiles().Forget(file);
    return written;
}

std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

std::string ReadIniString(const fs::path& file, std::string_view section, std::string_view key,
                          std::string_view fallback, size_t bufferChars) {
    if (const std::shared_ptr<const IniText> parsed = ReadParsed(file)) {
        const std::vector<IniLine>& lines = parsed->lines;
        const std::optional<SectionSpan> span = FindSection(lines, Trim(section));
        if (span) {
            const std::optional<size_t> found = FindKey(lines, *span, Trim(key));
            if (found) {
                return CutToBuffer(WithoutQuotes(lines[*found].value), bufferChars);
            }
        }
    }
    return CutToBuffer(fallback, bufferChars);
}

std::string IniSectionValues::Read(std::string_view key, std::string_view fallback,
                                   size_t bufferChars) const {
    const auto found = values_.find(Folded(Trim(key)));
    return CutToBuffer(found != values_.end() ? std::string_view(found->second) : fallback,
                       bufferChars);
}

IniSectionValues ReadIniSection(const fs::path& file, std::string_view section) {
    IniSectionValues result;
    const std::shared_ptr<const IniText> parsed = ReadParsed(file);
    if (!parsed) {
        return result;
    }
    const std::vector<IniLine>& lines = parsed->lines;
    const std::optional<SectionSpan> span = FindSection(lines, Trim(section));
    if (!span) {
        return result;
    }
    for (size_t i = span->header + 1; i < span->end; ++i) {
        if (lines[i].kind == LineKind::kKey) {
            result.values_.try_emplace(Folded(lines[i].name), WithoutQuotes(lines[i].value));
        }
    }
    return result;
}

int ReadIniInt(const fs::path& file, std::string_view section, std::string_view key, int fallback) {
    const std::string value = ReadIniString(file, section, key, "", kIniBufferChars);
    if (value.empty()) {
        return fallback;
    }
    return LeadingDecimal(value);
}

bool WriteIniString(const fs::path& file, std::string_view section, std::string_view key,
                    const std::optional<std::string>& value) {
    section = Trim(section);
    key = Trim(key);
    if (!IsWritableName(section) || !IsWritableKey(key) || (value && HasLineBreakOrNul(*value))) {
        return false;
    }
    const std::lock_guard lock(WriteLock());
    FileContents contents = ReadWholeFile(file);
    if (contents.status == FileReadStatus::kFailed) {
        // Rewriting a file that could not be read would lose what it holds.
        return false;
    }
    const std::string text = FileTextAsUtf8(std::move(contents.bytes));
    const std::string edited = EditedText(text, section, key, value);
    // Nothing to change: the same value again, or the removal of a key that is not there.
    if (edited == text) {
        return true;
    }
    return WriteAndForget(file, edited);
}

bool WriteIniStrings(const fs::path& file, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    section = Trim(section);
    if (!IsWritableName(section)) {
        return false;
    }
    for (const auto& [key, value] : values) {
        if (!IsWritableKey(Trim(key)) || HasLineBreakOrNul(value)) {
            return false;
        }
    }
    const std::lock_guard lock(WriteLock());
    FileContents contents = ReadWholeFile(file);
    if (contents.status == FileReadStatus::kFailed) {
        return false;
    }
    const std::string text = FileTextAsUtf8(std::move(contents.bytes));
    const std::string edited = TextWithKeysSet(text, section, values);
    if (edited == text) {
        return true;
    }
    return WriteAndForget(file, edited);
}

std::vector<std::string> ReadIniKeys(const fs::path& file, std::string_view section) {
    std::vector<std::string> keys;
    const std::shared_ptr<const IniText> parsed = ReadParsed(file);
    if (!parsed) {
        return keys;
    }
    const std::vector<IniLine>& lines = parsed->lines;
    const std::optional<SectionSpan> span = FindSection(lines, Trim(section));
    if (!span) {
        return keys;
    }
    std::unordered_set<std::string> seen;
    for (size_t i = span->header + 1; i < span->end; ++i) {
        if (lines[i].kind == LineKind::kKey && seen.insert(Folded(lines[i].name)).second) {
            keys.emplace_back(lines[i].name);
        }
    }
    return keys;
}

}  // namespace zarvin
