#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

#include "framework/uiservices.h"

// What this run of the program last wrote into each export file, so that an
// export does not replace, unasked, a file the user has changed since: the
// texture they are painting, the mesh they are editing. The record is kept
// in memory only. A file that an earlier run (or anybody else) wrote is
// replaced as it always was: with no record, nothing tells the user's work
// from an older export of ours, and asking about every file that differs
// would ask about each file of a bank after every import. A record in the
// export folder would be a file of ours among the user's, carried into
// whatever they pack from there.

// Notes the file, as it is now, as the export folder's own: just written by
// an export, or read whole by an import, so that the next export of the
// same item may replace it without asking.
void RememberExportFile(const std::filesystem::path& file);
// The same for a file just written with these bytes, without reading it back.
void RememberExportFile(const std::filesystem::path& file, std::span<const uint8_t> written);

// Whether an export may write the file: it is not there, this run did not
// write it, it is still as this run left it, or the user answered Yes to
// replacing it.
bool MayReplaceExportFile(fw::UiServices& ui, const std::filesystem::path& file);
