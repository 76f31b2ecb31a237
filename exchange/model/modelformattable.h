#pragma once
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "exchange/formats/modelformats.h"
#include "framework/expected.h"

// The model formats the program exchanges, one row each: what the user and
// pallix-cli call it, its file, and its reader and writer. The commands, the
// format question, pallix-cli's FORMAT words and Import All all go through
// the rows, so a new format is one row plus its reader and writer.
using ModelWriter = fw::Expected<WriteNotes> (*)(const ExportedModel& model, const std::filesystem::path& path,
                                                 WrittenPictures* written);
using ModelReader = fw::Expected<ImportedMesh> (*)(const std::filesystem::path& path);
// What the writer puts in the model's own file at `path`, made in memory:
// a file that names its companions names them after its own name.
using ModelBytesWriter = fw::Expected<std::vector<uint8_t>> (*)(const ExportedModel& model,
                                                                const std::filesystem::path& path);

struct ModelFormat {
    const char* name;           // as pallix-cli takes it
    const char* label;          // as the user picks it
    const char* extension;      // of the model's file
    const char* exportCaption;  // of what its export tells the user
    const char* importCaption;  // over the path its import announces
    // The 3DS import marks the document modified whatever it read, as it
    // always has; the other formats only when the model changed.
    bool modifiesWhenUnchanged;
    // Of the file the writer keeps beside the model's own; null for none.
    const char* companionExtension;
    ModelWriter write;
    ModelReader read;
    // Import All compares a file with these bytes, writing nothing.
    ModelBytesWriter bytes;
};

// The rows in the order the format question lists them; 3DS first.
std::span<const ModelFormat> ModelFormats();
// The row of a pallix-cli FORMAT word; null for none.
const ModelFormat* ModelFormatNamed(const std::string& name);
// By the file's extension, without regard to case; null for none of ours.
const ModelFormat* ModelFormatOfFile(const std::filesystem::path& path);
// The format of the plain Export Model and Import Model.
const ModelFormat& Model3dsFormat();
