#pragma once
#include <string>
#include <vector>

#include "exchange/formats/exchangemesh.h"

struct Database3ds;

// Fills a new mesh-file database with the scene settings, one material per
// texture (named "MAT<i>", its texture map naming the file), and the mesh
// as one object with a face-material group per texture. Stops at the first
// toolkit error, leaving it pending.
void BuildMeshDatabase(const std::string& objectName, Database3ds* database, const ExportedModel& model);
