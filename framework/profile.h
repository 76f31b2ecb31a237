#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fw {

// The program's settings store (the registry on Windows): sections of
// named string entries.
class Profile {
public:
    virtual ~Profile() = default;
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback = {}) const = 0;
    virtual void WriteString(const std::string& section, const std::string& entry, const std::string& value) = 0;
};

// Settings kept in memory only, for the command-line program and the tests.
class MemoryProfile : public Profile {
public:
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback = {}) const override;
    void WriteString(const std::string& section, const std::string& entry, const std::string& value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

// The most recently used files, newest first, kept in the profile as
// "Recent File List"/"File1".."FileN".
class RecentFileList {
public:
    RecentFileList(Profile& profile, size_t capacity);

    void Add(const std::string& path);
    void Remove(size_t index);
    const std::vector<std::string>& Files() const { return files_; }
    size_t Capacity() const { return capacity_; }

private:
    void Load();
    void Store();

    Profile& profile_;
    size_t capacity_;
    std::vector<std::string> files_;
};

}  // namespace fw
