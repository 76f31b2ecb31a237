// Scene-wide settings that a mesh file keeps beside its objects, stored as
// value chunks under CHUNK_SCENE.
//
// Failures are reported through the toolkit's error list only. The record
// belongs to whoever prepared it and is freed with DiscardSceneSettings3ds.
#pragma once

#include <cstdint>

struct Database3ds;

struct SceneSettings3ds {
    float scale;
    float value1400;
    float value1460;
    uint16_t size1420;
    float value1450;
    float ambientLight[3];
    float constants1500[3];
};

// Allocates the record when *settings is null, else reuses it; sets the
// defaults.
void PrepareSceneSettings3ds(SceneSettings3ds** settings);

// Frees the record and sets *settings to null.
void DiscardSceneSettings3ds(SceneSettings3ds** settings);

// Puts the settings under CHUNK_SCENE, reusing value chunks of the same tags.
void StoreSceneSettings3ds(Database3ds* db, const SceneSettings3ds* settings);

// Prepares *settings and fills it from the database's CHUNK_SCENE; without a
// scene the record is left as it was.
void FetchSceneSettings3ds(Database3ds* db, SceneSettings3ds** settings);
