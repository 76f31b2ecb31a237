#pragma once
#include <filesystem>

// While a command writes many export files, none of them waits for the disk
// on its own; the batch syncs them together once when it ends. An export
// is a copy of what stays in the data file: the worst a power cut in the
// middle can do is leave some files to export again, and each file is still
// written beside its name and renamed into place, so a user's previous file
// is never replaced by half a file. Single exports keep their own sync.
class BatchOfWrites {
public:
    // `folder` is where the files go: its file system is the one synced.
    explicit BatchOfWrites(std::filesystem::path folder);
    ~BatchOfWrites();
    BatchOfWrites(const BatchOfWrites&) = delete;
    BatchOfWrites& operator=(const BatchOfWrites&) = delete;

    // Whether a batch is under way, so that a write may leave its sync to it.
    static bool UnderWay();

private:
    std::filesystem::path folder_;
};
