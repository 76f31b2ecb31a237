#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/formats/bitmapformats.h"

// Where exported files lie: the folder "bfp" of the program's directory,
// then a folder named after the data file without its last extension, made
// safe as model names are, so that an odd data-file name ("..bfp") never
// leads out of "bfp". A name the safe-making changed gets a short suffix
// that depends on the name only ("~" and six hexadecimal digits), so that
// data files whose names are made safe alike keep their folders apart.
std::filesystem::path ExportFolder(const std::filesystem::path& modulePath, const std::string& dataPath);

// "O" and the bitmap's offset in upper-case hexadecimal, then the format's
// extension (".bmp", ".png").
std::string BitmapFileName(uint32_t offset, const BitmapFormat& format = BmpFormat());

// A model's name made safe as a file name: separators, "..", control
// characters and the characters Windows forbids become "_", so a name from a
// data file never reaches outside the export folder. A safe name stays as it
// is; an empty one becomes "_". Bytes above 127 are read as Latin-1 and
// come out as UTF-8.
std::string SafeFileStem(const std::string& name);

// The file stem of each model of a bank, given the bank's model names in
// order: SafeFileStem of the name, and where that would fall on the stem of
// an earlier model (compared without regard to case, as Windows and macOS
// do), "~2", "~3", ... after it. The same bank always gets the same stems,
// and a model's stem depends only on the names before it.
std::vector<std::string> ModelFileStems(const std::vector<std::string>& names);
