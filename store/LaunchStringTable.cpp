#include "store/LaunchStringTable.h"

#include "model/KeyAssignment.h"
#include "store/ProfileFile.h"

namespace zarvin {

namespace {

uint64_t FileBytesOf(const std::u16string& text) {
    return 2 * (uint64_t{text.size()} + 1);
}

}  // namespace

LaunchStringTable::LaunchStringTable() : strings_(kKeyRecordCount) {}

const std::u16string* LaunchStringTable::At(size_t record) const {
    if (record >= strings_.size() || !strings_[record]) {
        return nullptr;
    }
    return &*strings_[record];
}

uint32_t LaunchStringTable::SizeAt(size_t record) const {
    const std::u16string* text = At(record);
    return text == nullptr ? 0 : static_cast<uint32_t>(FileBytesOf(*text));
}

bool LaunchStringTable::Set(size_t record, std::u16string text) {
    if (record >= strings_.size() || text.find(u'\0') != std::u16string::npos) {
        return false;
    }
    const uint64_t total = uint64_t{total_} - SizeAt(record) + FileBytesOf(text);
    if (total > kMaxLaunchStringTotal) {
        return false;
    }
    strings_[record] = std::move(text);
    total_ = static_cast<uint32_t>(total);
    return true;
}

void LaunchStringTable::Clear(size_t record) {
    if (record < strings_.size()) {
        total_ -= SizeAt(record);
        strings_[record].reset();
    }
}

void LaunchStringTable::ClearAll() {
    for (auto& text : strings_) {
        text.reset();
    }
    total_ = 0;
}

}  // namespace zarvin
