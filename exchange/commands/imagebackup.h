#pragma once
#include <cstdint>
#include <vector>

#include "datafile/pallixdoc.h"

// Keeps the bytes of the image's ranges a command is about to change, and
// the document's modified flag, so that a cancelled command can put the
// document back as it was.
class ImageBackup {
public:
    explicit ImageBackup(CPallixDoc& document) : document_(document), wasModified_(document.IsModified()) {}

    // Keeps the range's present bytes; the part beyond the image is no part of it.
    void Keep(uint32_t offset, uint32_t size);
    // Puts every kept range back, the latest first, and the modified flag.
    void PutBack();

private:
    struct Range {
        uint32_t offset;
        std::vector<uint8_t> bytes;
    };
    CPallixDoc& document_;
    bool wasModified_;
    std::vector<Range> kept_;
};
