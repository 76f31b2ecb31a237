#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "datafile/imagememory.h"
#include "framework/document.h"
#include "framework/file.h"

// The open data file: its whole content held in memory as one block, the
// image. Records are addressed by their offset into it; the image never
// changes length while it is held.
class CPallixDoc : public fw::Document {
public:
    explicit CPallixDoc(fw::UiServices& ui) : fw::Document(ui) {}

    bool OnOpenDocument(const std::string& path) override;
    // A save of the document's own path writes only over the file it was
    // read from or last saved to, and only while nobody else changed it.
    bool OnSaveDocument(const std::string& path) override;
    bool HasContentsToSave() const override { return HasImage(); }
    bool OnSaveDocumentAs(const std::string& path) override;

    // Releases the image.
    void Clear();
    bool HasImage() const { return m_pImage != nullptr; }
    std::span<uint8_t> Image() { return {m_pImage.get(), m_nImageSize}; }
    std::span<const uint8_t> Image() const { return {m_pImage.get(), m_nImageSize}; }

    pallix::ImageMemory m_pImage;
    uint32_t m_nImageSize = 0;
    std::string m_strImagePath;

protected:
    void DeleteContents() override { Clear(); }

private:
    bool PrepareLoad(const std::string& path, fw::File& file, pallix::ImageMemory& block);
    bool Save(const std::string& path, bool ownFile);
    enum class ReadOutcome { read, incomplete, cancelled };
    ReadOutcome ReadImage(fw::File& file, const pallix::ImageMemory& block, uint32_t length, const std::string& path);

    // The data file as this document last read or wrote it.
    std::optional<fw::FileIdentity> m_diskState;
};
