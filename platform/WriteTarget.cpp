#include "platform/WriteTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <system_error>
#include <vector>

namespace zarvin {

namespace fs = std::filesystem;

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

std::deque<fs::path> PartsOf(const fs::path& path) {
    std::deque<fs::path> parts;
    for (const fs::path& part : path.relative_path()) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

std::optional<fs::path> ReadLink(const fs::path& link) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return fs::path(std::string(buffer.data(), static_cast<size_t>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::optional<fs::path> WriteTarget(const fs::path& file, std::string& error) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec);
    if (ec) {
        error = "cannot resolve " + file.string() + ": " + ec.message();
        return std::nullopt;
    }
    std::deque<fs::path> left = PartsOf(absolute);
    fs::path done = absolute.root_path();
    int links = 0;
    while (!left.empty()) {
        const fs::path part = left.front();
        left.pop_front();
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            done = done.parent_path();
            continue;
        }
        const fs::path next = done / part;
        struct stat info {};
        if (::lstat(next.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            done = next;  // a missing entry or a file: the write itself says what is wrong
            continue;
        }
        if (++links > kMaxLinks) {
            error = "too many links in " + file.string();
            return std::nullopt;
        }
        if (info.st_uid != ::geteuid() && info.st_uid != 0) {
            error = "will not follow the link " + next.string() + ": it belongs to another user";
            return std::nullopt;
        }
        struct stat folder {};
        if (::stat(done.c_str(), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            error = "will not follow the link " + next.string() + ": others may write to " +
                    done.string();
            return std::nullopt;
        }
        const std::optional<fs::path> target = ReadLink(next);
        if (!target) {
            error = "cannot read the link " + next.string();
            return std::nullopt;
        }
        std::deque<fs::path> parts = PartsOf(*target);
        left.insert(left.begin(), parts.begin(), parts.end());
        if (target->is_absolute()) {
            done = target->root_path();
        }
    }
    return done;
}

}  // namespace zarvin
