#include "exchange/formats/formatfiles.h"

#include <cmath>

#include "framework/file.h"
#include "framework/pathtext.h"

bool IsFinitePoint(double x, double y, double z, double u, double v) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::isfinite(u) && std::isfinite(v);
}

std::string Shown(const std::filesystem::path& path) { return fw::Utf8FromPath(path); }

std::string SaveBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    fw::File file;
    try {
        file.Open(path, fw::File::Mode::createWrite);
        file.Write(bytes.data(), bytes.size());
        // No sync to the disk: an export is made again at will, as the 3DS
        // export's files are, and syncing each file would make Export All crawl.
        file.Close();
        return {};
    } catch (const fw::FileException& error) {
        file.Abort();
        const std::string message = error.Message();
        return message.empty() ? "The file " + Shown(path) + " could not be written." : message;
    }
}

std::string SaveText(const std::filesystem::path& path, const std::string& text) {
    return SaveBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

LoadedBytes LoadModelFile(const std::filesystem::path& path) {
    LoadedBytes loaded;
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(path, error);
    if (!regular) {
        loaded.failure = "The file " + Shown(path) + " was not found, or is no ordinary file.";
        return loaded;
    }
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error) {
        loaded.failure = "The file " + Shown(path) + " could not be read: " + error.message() + ".";
        return loaded;
    }
    if (size > kMaxModelFileBytes) {
        loaded.failure = "The file " + Shown(path) + " is larger than any model file (32 MiB); it was not read.";
        return loaded;
    }
    fw::File file;
    try {
        file.Open(path, fw::File::Mode::read);
        loaded.bytes.resize(size);
        loaded.bytes.resize(file.Read(loaded.bytes.data(), size));
        file.Close();
    } catch (const fw::FileException& failure) {
        file.Abort();
        const std::string message = failure.Message();
        loaded.bytes.clear();
        loaded.failure = message.empty() ? "The file " + Shown(path) + " could not be read." : message;
    }
    return loaded;
}

LoadedBytes LoadPictureBeside(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) ? LoadModelFile(path) : LoadedBytes{};
}
