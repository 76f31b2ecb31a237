#pragma once
#include <string>
#include <vector>

#include "exchangemesh.h"

struct Database3ds;
struct MeshRecord3ds;

// Fills a new mesh-file database with the scene settings, one material per
// texture (named "MAT<i>", its texture map naming the file), and the mesh
// as one object with a face-material group per texture. Stops at the first
// toolkit error, leaving it pending.
void BuildMeshDatabase(const std::string& objectName, Database3ds* database, const ExportedModel& model);

// What an import takes from a file: the new counts and the tables, or why
// the mesh cannot go into the model.
struct FetchedMesh {
    uint16_t vertexCount = 0;
    uint16_t faceCount = 0;
    std::string refusal;  // empty when the mesh fits
};

// Copies the first mesh of the database into the tables, its points through
// the mesh's local axes and each face's material index from the group that
// lists it. Refuses a mesh with no vertices or faces or more than 1000 of
// either, a face that
// names a vertex the mesh does not have, or a point that is not finite or
// would not fit the model's 32-bit coordinates.
FetchedMesh FetchMeshIntoTables(Database3ds* database, std::vector<ExchangePoint>& points,
                                std::vector<ExchangeFace>& faces);
