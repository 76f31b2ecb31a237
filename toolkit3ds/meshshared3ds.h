// Shared by the mesh operations only.
#pragma once

#include <cstdint>

#include "toolkit3ds/mesh3ds.h"

struct Database3ds;

// True for a database with a mesh-file or project-file top chunk; else
// records ERR_INVALID_DATABASE or ERR_WRONG_DATABASE.
bool IsMeshDatabase3ds(const Database3ds* db);

// The count that sizes the array of a MESH_ARRAY_ bit.
uint32_t MeshArrayCount3ds(const MeshRecord3ds* mesh, uint16_t bit);

// Counts may run ahead of the blocks until the arrays are sized, so the
// operations keep the true lengths. The elements in the block of one array
// (a MESH_ARRAY_ bit): 0 without a block; what the block was sized to; or,
// for a block a caller put in place, its count.
uint32_t MeshArrayLength3ds(const MeshRecord3ds* mesh, uint16_t bit);

// Records the length of a block handed to the record.
void SetMeshArrayLength3ds(MeshRecord3ds* mesh, uint16_t bit, uint32_t length);
