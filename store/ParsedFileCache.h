#pragma once

// Settings files parsed once and kept until they change. The program reads the same few files
// (the skin's Main.ini, the language file, the user-mode files) hundreds of times at start and
// on every connection; each use now costs one stat. A kept file whose stamp (platform/FileStamp)
// differs is read and parsed again. A file whose times are too recent to trust its stamp is read
// again on each use and compared byte for byte, and parsed again only when its bytes differ.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/FileStamp.h"
#include "platform/WholeFile.h"

namespace zarvin {

template <typename Parsed>
class ParsedFileCache {
public:
    // Makes the parsed form of a file's bytes. It may keep views into the string it is given,
    // so it takes the bytes into the object it returns.
    using Parser = std::function<std::shared_ptr<const Parsed>(std::string bytes)>;

    // How a file's stamp is taken: CurrentStamp, or in tests a file system whose clock stands
    // still.
    using Stamper = std::function<std::optional<FileStamp>(const std::filesystem::path&)>;

    explicit ParsedFileCache(Parser parse, size_t capacity = 16, Stamper stamp = CurrentStamp)
        : parse_(std::move(parse)), capacity_(capacity), stamp_(std::move(stamp)) {}

    // The file as it is on disk now, parsed; null when it is missing or cannot be read
    // (ReadWholeFile's rules).
    std::shared_ptr<const Parsed> Get(const std::filesystem::path& file) {
        const std::lock_guard lock(mutex_);
        const auto found = entries_.find(file);
        // Taken before the read: a rewrite after it changes the stamp the next use sees.
        const std::optional<FileStamp> stamp = stamp_(file);
        if (found != entries_.end() && !found->second.tooRecent && stamp == found->second.stamp) {
            found->second.lastUse = ++uses_;
            return found->second.parsed;
        }
        FileContents contents = ReadWholeFile(file);
        if (!stamp || contents.status != FileReadStatus::kRead) {
            if (found != entries_.end()) {
                entries_.erase(found);
            }
            return nullptr;
        }
        const bool tooRecent = StampTooRecent(*stamp, std::chrono::system_clock::now());
        if (found != entries_.end() && found->second.tooRecent &&
            found->second.bytes == contents.bytes) {
            Entry& entry = found->second;
            entry.stamp = *stamp;
            entry.tooRecent = tooRecent;
            if (!tooRecent) {
                std::string().swap(entry.bytes);
            }
            entry.lastUse = ++uses_;
            return entry.parsed;
        }
        std::string bytes = tooRecent ? contents.bytes : std::string();
        std::shared_ptr<const Parsed> parsed = parse_(std::move(contents.bytes));
        if (found == entries_.end() && entries_.size() >= capacity_) {
            DropLeastRecentlyUsed();
        }
        entries_[file] = Entry{*stamp, tooRecent, std::move(bytes), parsed, ++uses_};
        return parsed;
    }

    // Drops what is kept of `file`: this program has just replaced it.
    void Forget(const std::filesystem::path& file) {
        const std::lock_guard lock(mutex_);
        entries_.erase(file);
    }

private:
    struct Entry {
        FileStamp stamp;
        bool tooRecent = true;
        // Kept only while the stamp is too recent to tell a rewrite: the parsed form holds the
        // text already, and a second copy of every kept file would only serve this comparison.
        std::string bytes;
        std::shared_ptr<const Parsed> parsed;
        uint64_t lastUse = 0;
    };

    void DropLeastRecentlyUsed() {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) {
                oldest = it;
            }
        }
        if (oldest != entries_.end()) {
            entries_.erase(oldest);
        }
    }

    Parser parse_;
    size_t capacity_;
    Stamper stamp_;
    std::mutex mutex_;
    std::map<std::filesystem::path, Entry> entries_;
    uint64_t uses_ = 0;
};

}  // namespace zarvin
