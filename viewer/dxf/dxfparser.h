#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "viewer/dxf/dxferror.h"
#include "viewer/dxf/dxfmodel.h"

namespace dxf {

struct Limits {
    // Bounds the memory a hostile or runaway file can make us take: about
    // a hundred bytes per face, twice over while the view draws.
    std::size_t maxFaces = 1'000'000;
};

struct ParseResult {
    Model model;  // empty when error is set
    std::optional<Error> error;

    bool ok() const { return !error; }
};

// Reads the 3DFACE entities of DXF text that are drawn (those of the
// ENTITIES section, not those inside block definitions). Every other entity,
// table and section is passed over. Never throws.
ParseResult ParseDxf(std::string_view text, const Limits& limits = {});

}  // namespace dxf
