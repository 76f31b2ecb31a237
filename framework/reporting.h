#pragma once
#include <string>

#include "framework/fileexception.h"
#include "framework/uiservices.h"

namespace fw {

// The framework's report of a caught file error: the text for its cause with
// the path, the program's title as caption, an exclamation icon.
void ReportFileException(UiServices& ui, const FileException& error);

// The load/save error report: like ReportFileException, but falls back to the
// given default text when the cause has none, and names the document's path
// when the error does not carry one.
void ReportSaveLoadException(UiServices& ui, const std::string& path, const FileException* error,
                             const std::string& defaultMessage);

}  // namespace fw
