#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/formats/formatfiles.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/formats/modelformats.h"

// What the glTF and OBJ writers share: the Y-up axes, the faces grouped by
// the bitmap they show, outward normals, and the texture files beside.

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// glTF and OBJ stand models up along y; the exchange terms along z. A
// rotation about x, so the faces keep their winding.
inline Vec3 YUpFromExchange(const ExchangePoint& p) { return {p.x, p.z, -p.y}; }
inline void ExchangeFromYUp(const Vec3& v, ExchangePoint& p) {
    p.x = v.x;
    p.y = -v.z;
    p.z = v.y;
}

// The faces that show one bitmap; texture is an index into the model's
// textures, or -1 for faces whose index names none.
struct TextureGroup {
    int texture = -1;
    std::vector<uint32_t> faces;
};

// Why the model cannot be written (no triangles, or a triangle naming a
// point the model does not have), or nothing.
fw::Expected<void> CheckExportedModel(const ExportedModel& model, const std::filesystem::path& path);
std::vector<TextureGroup> GroupFacesByTexture(const ExportedModel& model);

// One unit normal per point, Y-up: the area-weighted mean of the normals of
// the faces around it, whose corners turn counter-clockwise seen from
// outside. A point no face gives a direction to points up.
std::vector<Vec3> OutwardNormals(const ExportedModel& model);

// "O1F2A.bmp" -> "O1F2A": the name of the material that shows the bitmap.
std::string TextureStem(const std::string& textureName);

// For each texture of the model, whether a picture of it lies beside the
// written file, in a format of the bitmap format table: PNG for glTF, the
// stored BMP file itself for OBJ; unless written already. A bitmap that
// cannot be given is noted; a file that cannot be written refuses them all.
struct TextureTarget {
    std::filesystem::path folder;
    const BitmapFormat& format;
    WrittenPictures* written;  // may be null
    WrittenFiles* files;       // what the export wrote so far
};
// The picture of one texture in that format; empty, with the note saying
// why, when the bitmap cannot be given.
std::vector<uint8_t> TexturePicture(const ExportedModel& model, size_t texture, const BitmapFormat& format,
                                    std::string& note);
fw::Expected<std::vector<bool>> WriteTextureFiles(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                                                  const TextureTarget& target, WriteNotes& notes);
