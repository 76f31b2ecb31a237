#include "toolkit3ds/database3ds.h"

#include <new>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/error3ds.h"

namespace {

std::uint32_t TopTagOf(enum DatabaseKind3ds kind) {
    switch (kind) {
        case DatabaseKind3ds::MeshFile: return CHUNK_MESH_FILE;
        case DatabaseKind3ds::ProjectFile: return CHUNK_PROJECT_FILE;
        case DatabaseKind3ds::MaterialLibrary: return CHUNK_MATERIAL_LIBRARY;
        default: return 0;
    }
}

}  // namespace

void NewDatabase3ds(Database3ds** database) {
    if (database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (*database == nullptr) {
        *database = new (std::nothrow) Database3ds{};
        if (*database == nullptr) {
            PushError3ds(ERR_NO_MEM);
        }
        return;
    }
    // A database made again lets go of what it held.
    Database3ds* db = *database;
    ReleaseChunk3ds(&db->top);
    ReleaseNameIndex3ds(&db->objectIndex);
    ReleaseNameIndex3ds(&db->materialIndex);
    ReleaseNameIndex3ds(&db->thirdIndex);
    *db = Database3ds{};
}

// Everything is released even while an earlier error is pending, so that
// clearing up after a failed job leaks nothing.
void ReleaseDatabase3ds(Database3ds** database) {
    if (database == nullptr || *database == nullptr) {
        return;
    }
    NewDatabase3ds(database);
    delete *database;
    *database = nullptr;
}

enum DatabaseKind3ds DatabaseKind3ds(const Database3ds* database) {
    if (database == nullptr || database->top == nullptr) {
        return DatabaseKind3ds::None;
    }
    switch (database->top->tag) {
        case CHUNK_MESH_FILE: return DatabaseKind3ds::MeshFile;
        case CHUNK_PROJECT_FILE: return DatabaseKind3ds::ProjectFile;
        case CHUNK_MATERIAL_LIBRARY: return DatabaseKind3ds::MaterialLibrary;
        default: return DatabaseKind3ds::None;
    }
}

void ReplaceTopChunk3ds(Database3ds* database, Chunk3ds* top) {
    ReleaseChunk3ds(&database->top);
    database->top = top;
    database->objectsChanged = 1;
    database->materialsChanged = 1;
    database->thirdChanged = 1;
}

void CreateDatabase3ds(Database3ds* database, enum DatabaseKind3ds kind) {
    if (database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    Chunk3ds* top = nullptr;
    NewChunkOfType3ds(&top, TopTagOf(kind));
    if (ErrorPending3ds()) {
        ReleaseChunk3ds(&top);
        PushError3ds(ERR_CREATING_DATABASE);
        return;
    }
    ReplaceTopChunk3ds(database, top);
    SetReleaseLevel3ds(database, 2);
}

void MarkObjectsChanged3ds(Database3ds* database) {
    if (database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    database->objectsChanged = 1;
}

void MarkMaterialsChanged3ds(Database3ds* database) {
    if (database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    database->materialsChanged = 1;
}
