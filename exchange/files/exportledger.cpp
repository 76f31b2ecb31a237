#include "exchange/files/exportledger.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "framework/file.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kReplaceCaption = "Export";

// What a file held. Its modification time is left out on purpose: an
// editor that saved the file without a change has made nothing an export
// could lose.
struct Contents {
    uint64_t size = 0;
    size_t hash = 0;
    bool operator==(const Contents&) const = default;
};

Contents ContentsOfBytes(std::string_view bytes) { return Contents{bytes.size(), std::hash<std::string_view>{}(bytes)}; }

// The file's contents when it has the size expected (only then do its bytes
// matter, and only then are they read); nothing when it cannot be read.
std::optional<Contents> ContentsOf(const std::filesystem::path& file, std::optional<uint64_t> expectedSize) {
    try {
        fw::File in(file, fw::File::Mode::read);
        const uint64_t size = in.Length();
        if (expectedSize && size != *expectedSize) return Contents{size, 0};
        std::string bytes(size, '\0');
        bytes.resize(in.Read(bytes.data(), bytes.size()));
        return ContentsOfBytes(bytes);
    } catch (const fw::FileException&) {
        return std::nullopt;
    }
}

std::map<std::filesystem::path, Contents>& Ledger() {
    static std::map<std::filesystem::path, Contents> ledger;
    return ledger;
}

std::filesystem::path KeyOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(file, error);
    return (error ? file : absolute).lexically_normal();
}

}  // namespace

void RememberExportFile(const std::filesystem::path& file) {
    if (const auto contents = ContentsOf(file, std::nullopt))
        Ledger()[KeyOf(file)] = *contents;
    else
        Ledger().erase(KeyOf(file));
}

void RememberExportFile(const std::filesystem::path& file, std::span<const uint8_t> written) {
    Ledger()[KeyOf(file)] = ContentsOfBytes({reinterpret_cast<const char*>(written.data()), written.size()});
}

bool MayReplaceExportFile(fw::UiServices& ui, const std::filesystem::path& file) {
    const auto known = Ledger().find(KeyOf(file));
    std::error_code error;
    if (known == Ledger().end() || !std::filesystem::exists(file, error)) return true;
    if (ContentsOf(file, known->second.size) == known->second) return true;
    const std::string question = fw::Utf8FromPath(file.filename()) + " was changed since it was exported. Replace it?";
    const fw::MessageStyle style{fw::MessageButtons::yesNo, fw::MessageIcon::question, true};
    return ui.ShowMessage(question, kReplaceCaption, style) == fw::MessageResult::yes;
}
