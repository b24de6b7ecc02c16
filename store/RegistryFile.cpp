#include "store/RegistryFile.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/WholeFile.h"
#include "store/Utf8Text.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUserRoot = "HKEY_CURRENT_USER\\";

// The text after "=" of a value of a type the program does not use, continuation lines included.
struct OtherData {
    std::string text;
};

using ValueData = std::variant<uint32_t, std::string, OtherData>;

struct Value {
    std::string name;  // empty for the key's default value, written "@"
    ValueData data;
};

struct Key {
    std::string path;  // as in the file, root included
    std::vector<Value> values;
    std::unordered_map<std::string, size_t> valueAt;  // by name in lower case
};

// The keys in file order, found by path in lower case: a file of many keys reads in one pass.
struct Keys {
    std::vector<Key> list;
    std::unordered_map<std::string, size_t> at;
};

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::ranges::transform(folded, folded.begin(), FoldCase);
    return folded;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A quoted text with \\ and \" escapes at the start of `text`; the rest of the line is left in
// `text`. Nothing when the closing quote is missing.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (!text.starts_with('"')) {
        return std::nullopt;
    }
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return ValidUtf8Prefix(out, std::numeric_limits<size_t>::max());
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            ++i;
        }
        out += text[i];
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::optional<uint32_t> ParseDword(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char c : digits) {
        const char lower = FoldCase(c);
        uint32_t digit = 0;
        if (lower >= '0' && lower <= '9') {
            digit = static_cast<uint32_t>(lower - '0');
        } else if (lower >= 'a' && lower <= 'f') {
            digit = static_cast<uint32_t>(lower - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = value << 4 | digit;
    }
    return value;
}

// The data of one value line, after "=".
std::optional<ValueData> ParseData(std::string_view data) {
    if (data.starts_with('"')) {
        std::optional<std::string> text = TakeQuoted(data);
        if (!text || !Trim(data).empty()) {
            return std::nullopt;
        }
        return ValueData(std::move(*text));
    }
    constexpr std::string_view kDword = "dword:";
    if (data.size() >= kDword.size() && SameName(data.substr(0, kDword.size()), kDword)) {
        const std::optional<uint32_t> value = ParseDword(data.substr(kDword.size()));
        if (!value) {
            return std::nullopt;
        }
        return ValueData(*value);
    }
    // "-" deletes a value when a .reg file is imported; there is nothing to keep.
    if (data.empty() || data == "-") {
        return std::nullopt;
    }
    return ValueData(OtherData{std::string(data)});
}

void SetValue(Key& key, std::string_view name, ValueData data) {
    const auto [found, added] = key.valueAt.try_emplace(Folded(name), key.values.size());
    if (added) {
        key.values.push_back(Value{std::string(name), std::move(data)});
    } else {
        key.values[found->second].data = std::move(data);
    }
}

Key& KeyOf(Keys& keys, std::string_view path) {
    const auto [found, added] = keys.at.try_emplace(Folded(path), keys.list.size());
    if (added) {
        keys.list.push_back(Key{std::string(path), {}, {}});
    }
    return keys.list[found->second];
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// Later lines win, as when a .reg file is imported: a key given twice is one key, and a value
// given twice keeps the last data.
Keys ParseRegistryText(std::string_view text) {
    Keys keys;
    Key* current = nullptr;
    const std::vector<std::string_view> lines = SplitLines(WithoutUtf8Bom(text));
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i]);
        if (line.starts_with('[')) {
            current = nullptr;
            // "[-key]" deletes a key on import; its values, if any follow, belong nowhere.
            if (line.size() > 2 && line.back() == ']' && line[1] != '-') {
                current = &KeyOf(keys, Trim(line.substr(1, line.size() - 2)));
            }
            continue;
        }
        if (current == nullptr || !(line.starts_with('"') || line.starts_with('@'))) {
            continue;  // the header, a comment, a blank or a line that is not understood
        }
        std::string_view rest = line;
        std::string name;
        if (rest.starts_with('@')) {
            rest.remove_prefix(1);
        } else {
            std::optional<std::string> quoted = TakeQuoted(rest);
            if (!quoted) {
                continue;
            }
            name = std::move(*quoted);
        }
        rest = Trim(rest);
        if (!rest.starts_with('=')) {
            continue;
        }
        std::string data(Trim(rest.substr(1)));
        // Binary data goes on over the following lines while each ends in a backslash.
        if (!data.starts_with('"')) {
            while (data.ends_with('\\') && i + 1 < lines.size()) {
                data += '\n';
                data += Trim(lines[++i]);
            }
            // Cut off by the end of the file: written back as it stands, it would swallow the
            // line written after it.
            if (data.ends_with('\\')) {
                continue;
            }
        }
        std::optional<ValueData> value = ParseData(data);
        if (value) {
            SetValue(*current, name, std::move(*value));
        }
    }
    return keys;
}

std::string FormatRegistryText(const Keys& keys) {
    std::string out(kHeader);
    out += "\n";
    for (const Key& key : keys.list) {
        out += "\n[" + key.path + "]\n";
        for (const Value& value : key.values) {
            out += value.name.empty() ? "@" : Quoted(value.name);
            out += "=";
            if (const auto* number = std::get_if<uint32_t>(&value.data)) {
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", *number);
                out += "dword:";
                out += digits;
            } else if (const auto* text = std::get_if<std::string>(&value.data)) {
                out += Quoted(*text);
            } else {
                out += std::get<OtherData>(value.data).text;
            }
            out += "\n";
        }
    }
    return out;
}

std::string FullPath(std::string_view key) {
    return std::string(kUserRoot) + std::string(key);
}

std::optional<ValueData> FindValue(const fs::path& file, std::string_view key,
                                   std::string_view name) {
    FileContents contents = ReadWholeFile(file);
    if (contents.status != FileReadStatus::kRead) {
        return std::nullopt;
    }
    const Keys keys = ParseRegistryText(FileTextAsUtf8(std::move(contents.bytes)));
    const auto k = keys.at.find(Folded(FullPath(key)));
    if (k == keys.at.end()) {
        return std::nullopt;
    }
    const Key& found = keys.list[k->second];
    const auto value = found.valueAt.find(Folded(name));
    if (value == found.valueAt.end()) {
        return std::nullopt;
    }
    return found.values[value->second].data;
}

bool Writable(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

bool WriteValue(const fs::path& file, std::string_view key, std::string_view name, ValueData data) {
    if (key.empty() || !Writable(key) || !Writable(name) ||
        (std::holds_alternative<std::string>(data) && !Writable(std::get<std::string>(data)))) {
        return false;
    }
    const std::lock_guard lock(WriteLock());
    std::error_code ec;
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), ec);
    }
    FileContents contents = ReadWholeFile(file);
    if (contents.status == FileReadStatus::kFailed) {
        return false;
    }
    const std::string before = FileTextAsUtf8(std::move(contents.bytes));
    Keys keys = ParseRegistryText(before);
    SetValue(KeyOf(keys, FullPath(key)), name, std::move(data));
    const std::string after = FormatRegistryText(keys);
    return after == before || WriteWholeFileAtomically(file, after);
}

template <typename T>
RegistryValue<T> ReadTyped(const fs::path& file, std::string_view key, std::string_view name) {
    RegistryValue<T> result;
    std::optional<ValueData> data = FindValue(file, key, name);
    if (!data) {
        return result;
    }
    if (T* value = std::get_if<T>(&*data)) {
        result.state = RegistryValueState::kPresent;
        result.value = std::move(*value);
    } else {
        result.state = RegistryValueState::kOtherType;
    }
    return result;
}

}  // namespace

fs::path RegistryFilePath(const fs::path& configFolder) {
    return configFolder / "zarvin" / "registry.reg";
}

RegistryValue<uint32_t> RegistryFile::ReadDword(std::string_view key, std::string_view name) const {
    return ReadTyped<uint32_t>(file_, key, name);
}

RegistryValue<std::string> RegistryFile::ReadString(std::string_view key,
                                                    std::string_view name) const {
    return ReadTyped<std::string>(file_, key, name);
}

bool RegistryFile::WriteDword(std::string_view key, std::string_view name, uint32_t value) const {
    return WriteValue(file_, key, name, ValueData(value));
}

bool RegistryFile::WriteString(std::string_view key, std::string_view name,
                               std::string_view value) const {
    return WriteValue(file_, key, name, ValueData(std::string(value)));
}

}  // namespace zarvin
