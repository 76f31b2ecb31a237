#include "exchange/formats/formatfiles.h"

#include <cmath>

#include "exchange/formats/modelformats.h"
#include "framework/file.h"
#include "framework/pathtext.h"
#include "framework/safesave.h"

bool IsFinitePoint(double x, double y, double z, double u, double v) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::isfinite(u) && std::isfinite(v);
}

WrittenFiles::~WrittenFiles() {
    for (const auto& path : paths_) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (pictures_) pictures_->paths.erase(path);
    }
}

std::string TooMuchLoaded() {
    return "its files hold more than any model's files hold together (" + std::to_string(kMaxImportBytes >> 20) +
           " MiB)";
}

std::string Capped(const std::string& text) {
    constexpr size_t kShown = 120;
    if (text.size() <= kShown) return text;
    return text.substr(0, kShown) + "... (" + std::to_string(text.size()) + " characters)";
}

std::optional<std::filesystem::path> FileBesideModel(const std::filesystem::path& folder, const std::string& utf8Name) {
    if (utf8Name.empty() || utf8Name == "." || utf8Name == ".." || utf8Name.find_first_of("/\\:") != std::string::npos)
        return std::nullopt;
    const auto path = folder / fw::PathFromUtf8(utf8Name);
    std::error_code error;
    const auto real = std::filesystem::canonical(path, error);
    if (!error && real.parent_path() != std::filesystem::canonical(folder, error)) return std::nullopt;
    return path;
}

std::string Shown(const std::filesystem::path& path) { return fw::Utf8FromPath(path); }

fw::Expected<void> SaveBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    fw::File file;
    try {
        fw::CheckExportTarget(path);
        file.Open(path, fw::File::Mode::createWrite);
        file.Write(bytes.data(), bytes.size());
        // No sync to the disk: an export is made again at will, as the 3DS
        // export's files are, and syncing each file would make Export All crawl.
        file.Close();
        return {};
    } catch (const fw::FileException& error) {
        file.Abort();
        const std::string message = error.Message();
        return fw::Refuse(message.empty() ? "The file " + Shown(path) + " could not be written." : message);
    }
}

fw::Expected<void> SaveText(const std::filesystem::path& path, const std::string& text) {
    return SaveBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

fw::Expected<std::vector<uint8_t>> LoadModelFile(const std::filesystem::path& path) {
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(path, error);
    if (!regular) return fw::Refuse("The file " + Shown(path) + " was not found, or is no ordinary file.");
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error) return fw::Refuse("The file " + Shown(path) + " could not be read: " + error.message() + ".");
    if (size > kMaxModelFileBytes)
        return fw::Refuse("The file " + Shown(path) + " is larger than any model file (32 MiB); it was not read.");
    fw::File file;
    try {
        file.Open(path, fw::File::Mode::read);
        std::vector<uint8_t> bytes(size);
        bytes.resize(file.Read(bytes.data(), size));
        file.Close();
        return bytes;
    } catch (const fw::FileException& failure) {
        file.Abort();
        const std::string message = failure.Message();
        return fw::Refuse(message.empty() ? "The file " + Shown(path) + " could not be read." : message);
    }
}

fw::Expected<std::vector<uint8_t>> LoadPictureBeside(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) ? LoadModelFile(path) : std::vector<uint8_t>();
}
