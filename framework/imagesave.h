#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "framework/file.h"
#include "framework/uiservices.h"

namespace fw {

// Saves a document held as one block of bytes. Where the path names the
// file the document was loaded from (or last saved to), that file is written
// in place, only where it differs, behind a rollback journal in the
// application data folder: it keeps its owner, group, mode and links. Any
// other target gets a new file that replaces it whole once complete. With
// `mustBeLoaded` (a Save of the document's own path) the path must still
// name that file in the state it was left in, or nothing is written and the
// user is pointed to Save As. Every failure is told in words naming the
// path. Returns the state the file was left in, or nothing when it was not
// saved.
std::optional<FileIdentity> SaveImage(UiServices& ui, const std::string& path, std::span<const uint8_t> image,
                                      const std::optional<FileIdentity>& loaded, bool mustBeLoaded);

// Puts back a save of the file that was cut short, as its journal tells,
// and tells the user what happened. False when the file could not be put
// back, in which case it must not be opened.
bool PutBackInterruptedSave(UiServices& ui, const std::string& path, const FileIdentity& identity);

}  // namespace fw
