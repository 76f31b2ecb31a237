#pragma once
#include <string>
#include <string_view>

// An OBJ text checked line by line before the library reads it, for what
// the library would take wrongly without a word: a face of more corners
// than it counts, numbers that are no numbers, indices that wrap.
struct ScreenedObj {
    std::string text;     // what the library may read; skin weights left out
    std::string failure;  // why the file is refused; empty when it is not
};
ScreenedObj ScreenObjText(std::string_view bytes);

// The library counts a face's corners in one byte.
inline constexpr size_t kMaxObjFaceCorners = 255;
