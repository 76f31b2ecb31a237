#include "exchange/formats/importrefusal.h"

#include "exchange/formats/formatfiles.h"

fw::Refusal RefuseImport(const std::filesystem::path& path, const std::string& format, const std::string& reason) {
    return fw::Refuse("The file " + Shown(path) + " cannot be imported as " + format + ": " + reason +
                      ". Export the model again from the editor, or choose another file.");
}
