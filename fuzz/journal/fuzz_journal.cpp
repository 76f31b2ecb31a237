// A save cut short and its journal damaged, as the input says: the journal
// of a few ranges is written as a save writes it, some of the ranges' new
// bytes reach the file, bytes of the journal are changed and its end may be
// cut off. Putting it back must never crash, and a file it says it rolled
// back must hold its old content again.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "framework/file.h"
#include "framework/savejournal.h"

namespace {

constexpr size_t kFileSize = 4096;

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Word() { return uint16_t(Byte() | Byte() << 8); }
    bool Empty() const { return at_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_, at_ = 0;
};

std::filesystem::path Folder() {
    static const auto folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("fuzz-journal-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const auto dataPath = Folder() / "data.bfp";
    std::vector<uint8_t> old(kFileSize);
    for (size_t i = 0; i < old.size(); ++i) old[i] = uint8_t(i * 7);
    fw::File file(dataPath, fw::File::Mode::createWrite);
    file.Write(old.data(), old.size());
    file.Close();
    file.Open(dataPath, fw::File::Mode::readWrite);

    const auto journalPath = fw::JournalPathFor(Folder(), file.Identity());
    std::error_code ignored;
    std::filesystem::remove(journalPath, ignored);
    {
        fw::SaveJournal journal;
        journal.Begin(journalPath, file.Identity(), "data.bfp");
        for (int ranges = input.Byte() % 4 + 1, written = input.Byte(); ranges > 0; --ranges, written >>= 1) {
            const size_t offset = input.Word() % kFileSize, length = std::min<size_t>(input.Byte() + 1, kFileSize - offset);
            std::vector<uint8_t> fresh(old.begin() + long(offset), old.begin() + long(offset + length));
            for (auto& byte : fresh) byte ^= 0x5A;
            journal.Add(offset, {old.data() + offset, length}, fresh);
            // Some ranges reach the file before the cut.
            if (written & 1) {
                file.Seek(offset);
                file.Write(fresh.data(), length / (input.Byte() % 2 + 1));
            }
        }
        journal.Seal();
        // The journal stays, as after a kill: Finish is never called.
        std::filesystem::copy_file(journalPath, journalPath.string() + ".kept",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::rename(journalPath.string() + ".kept", journalPath);
    {
        std::vector<uint8_t> bytes(std::filesystem::file_size(journalPath));
        fw::File journal(journalPath, fw::File::Mode::readWrite);
        journal.Read(bytes.data(), bytes.size());
        while (!input.Empty()) {
            const uint16_t at = input.Word();
            const uint8_t change = input.Byte();
            if (at == 0xFFFF) bytes.resize(change < bytes.size() ? bytes.size() - change : 0);
            else if (!bytes.empty()) bytes[at % bytes.size()] ^= change;
        }
        journal.Close();
        std::filesystem::resize_file(journalPath, 0);
        journal.Open(journalPath, fw::File::Mode::readWrite);
        journal.Write(bytes.data(), bytes.size());
        journal.Close();
    }
    try {
        const fw::Replay replay = fw::ReplayJournal(file, journalPath);
        if (replay == fw::Replay::rolledBack) {
            std::vector<uint8_t> now(kFileSize);
            file.Seek(0);
            if (file.Read(now.data(), now.size()) != now.size() || now != old) std::abort();
        }
    } catch (const fw::FileException&) {
    }
    return 0;
}
