#pragma once
#include <array>
#include <string>
#include <string_view>

#include "viewer/dxf/dxfmodel.h"

// DXF text laid out line for line as the model writer of View Model writes
// it, for feeding the viewer's reader.
namespace dxftext {

std::string Header(int offset = 0, int size = 0);
std::string Face(int colour, const std::array<dxf::Point, 4>& corners);
std::string Closing();
// A whole drawing of the twelve triangles of a cube, corners at -1 and 1.
std::string Cube();
// The text with each line feed turned into the given line end.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

}  // namespace dxftext
