#include "framework/profile.h"

#include <algorithm>

#include "framework/os.h"

namespace fw {

namespace {

constexpr const char* kRecentSection = "Recent File List";

std::string EntryName(size_t index) { return "File" + std::to_string(index + 1); }

bool SamePath(const std::string& a, const std::string& b) { return os::SamePathText(a, b); }

}  // namespace

std::string MemoryProfile::GetString(const std::string& section, const std::string& entry,
                                     const std::string& fallback) const {
    const auto found = values_.find({section, entry});
    return found == values_.end() ? fallback : found->second;
}

void MemoryProfile::WriteString(const std::string& section, const std::string& entry, const std::string& value) {
    values_[{section, entry}] = value;
}

RecentFileList::RecentFileList(Profile& profile, size_t capacity) : profile_(profile), capacity_(capacity) { Load(); }

void RecentFileList::Add(const std::string& path) {
    const auto same =
        std::find_if(files_.begin(), files_.end(), [&](const std::string& file) { return SamePath(file, path); });
    if (same != files_.end()) files_.erase(same);
    files_.insert(files_.begin(), path);
    if (files_.size() > capacity_) files_.resize(capacity_);
    Store();
}

void RecentFileList::Remove(size_t index) {
    if (index >= files_.size()) return;
    files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
    Store();
}

void RecentFileList::Load() {
    for (size_t i = 0; i < capacity_; ++i) {
        std::string file = profile_.GetString(kRecentSection, EntryName(i));
        if (!file.empty()) files_.push_back(std::move(file));
    }
}

void RecentFileList::Store() {
    for (size_t i = 0; i < capacity_; ++i)
        profile_.WriteString(kRecentSection, EntryName(i), i < files_.size() ? files_[i] : std::string());
}

}  // namespace fw
