#include "exchange/formats/importrefusal.h"

#include "exchange/formats/formatfiles.h"

ImportedFile RefuseImport(const std::filesystem::path& path, const std::string& format, const std::string& reason) {
    ImportedFile refused;
    refused.refusal = "The file " + Shown(path) + " cannot be imported as " + format + ": " + reason +
                      ". Export the model again from the editor, or choose another file.";
    return refused;
}
