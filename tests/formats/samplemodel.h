#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/formats/exchangemesh.h"

// A small pyramid in the exchange terms: a base of two triangles showing
// the first bitmap (8-bit, "O10.bmp"), four sides showing the second
// (24-bit, "O20.bmp"), every corner counter-clockwise seen from outside.
struct SampleModel {
    SampleModel();
    SampleModel(const SampleModel&) = delete;
    std::vector<uint8_t> bmp8, bmp24;
    ExportedModel model;
};

// Corners equal within float precision, faces equal, point for point.
void ExpectSameMesh(const ExportedModel& written, const ImportedMesh& read);
std::string FileText(const std::filesystem::path& path);
