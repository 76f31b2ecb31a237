#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "exchange/formats/modelformats.h"
#include "framework/expected.h"

// Writes the model as a 3DS mesh file whose materials name the bank's
// bitmaps, in the shape of every other format's writer. A 3DS file carries
// no pictures of its own, so `written` is not used and there are no notes;
// a failure is refused with the toolkit's error list, newest first.
fw::Expected<WriteNotes> Write3ds(const ExportedModel& model, const std::filesystem::path& path,
                                  WrittenPictures* written = nullptr);
// What Write3ds puts in the file, made in memory: asking whether a file is
// still what an export writes then writes nothing.
fw::Expected<std::vector<uint8_t>> Write3dsBytes(const ExportedModel& model);
