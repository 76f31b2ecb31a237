// Preparing and discarding material records and their map slots.
#include <cstdlib>
#include <cstring>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

void SetColour(float (&colour)[3], float red, float green, float blue) {
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
}

void FreeMapData(MaterialRecord3ds* material) {
    for (int slot = 1; slot <= kMapSlotCount3ds; ++slot) {
        MapRecord3ds* map = MaterialMapSlot3ds(material, slot);
        std::free(map->data);
        map->data = nullptr;
    }
}

void ResetMaterial(MaterialRecord3ds* m) {
    m->name[0] = '\0';
    SetColour(m->ambient, 0, 0, 0);
    SetColour(m->diffuse, 0, 0, 0);
    SetColour(m->specular, 0, 0, 0);
    m->shininess = 0;
    m->shininessStrength = 0;
    m->reflectionBlur = 0;
    m->transparency = 0;
    m->transparencyFalloff = 0;
    m->selfIllumination = 0;
    m->valueA087 = 1.0f;
    m->shading = 3;
    m->flagA250 = m->flagA240 = m->flagA081 = m->flagA080 = m->flagA083 = 0;
    m->flagA085 = m->flagA08E = m->flagA088 = m->flagA08C = 0;
    for (int slot = 1; slot <= kMapSlotCount3ds; ++slot) {
        PrepareMap3ds(MaterialMapSlot3ds(m, slot));
    }
    m->flagA310 = 0;
    m->optionA310a = 0;
    m->optionA310b = 0;
    m->valueA310a = 100;
    m->valueA310b = 1;
}

}  // namespace

MapRecord3ds* MaterialMapSlot3ds(MaterialRecord3ds* material, int slot) {
    return slot == kMapSlotCount3ds ? &material->map16 : &material->maps[slot - 1];
}

const MapRecord3ds* MaterialMapSlot3ds(const MaterialRecord3ds* material, int slot) {
    return slot == kMapSlotCount3ds ? &material->map16 : &material->maps[slot - 1];
}

void PrepareMap3ds(MapRecord3ds* map) {
    if (map == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    map->fileName[0] = '\0';
    map->strength = 0;
    map->tiling = 1;
    map->option100 = 0;
    map->option20 = 0;
    map->blur = 0;
    map->option02 = 0;
    map->option08 = 0;
    map->uScale = 1.0f;
    map->vScale = 1.0f;
    map->uOffset = 0;
    map->vOffset = 0;
    map->rotation = 0;
    map->tintMode = 0;
    SetColour(map->tint1, 0, 0, 0);
    SetColour(map->tint2, 1, 1, 1);
    SetColour(map->tintR, 1, 0, 0);
    SetColour(map->tintG, 0, 1, 0);
    SetColour(map->tintB, 0, 0, 1);
    map->dataSize = 0;
    map->data = nullptr;
}

void PrepareMaterial3ds(MaterialRecord3ds** material) {
    bool reused = false;
    MaterialRecord3ds* m = ObtainRecord3ds(material, &reused);
    if (m == nullptr) return;
    if (reused) FreeMapData(m);
    ResetMaterial(m);
}

void DiscardMaterial3ds(MaterialRecord3ds** material) {
    if (material == nullptr) return;
    if (*material != nullptr) {
        FreeMapData(*material);
        std::free(*material);
    }
    *material = nullptr;
}

void SetMaterialName3ds(MaterialRecord3ds* material, const char* name) {
    SetNameField3ds(material != nullptr ? material->name : nullptr, name, kMaterialNameMax3ds);
}

void SetMapFileName3ds(MapRecord3ds* map, const char* fileName) {
    SetNameField3ds(map != nullptr ? map->fileName : nullptr, fileName, kMapFileNameMax3ds);
}
