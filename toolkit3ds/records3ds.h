// The record layer of the toolkit: meshes, materials and scene settings.
#pragma once

#include "material3ds.h"
#include "mesh3ds.h"
#include "scenesettings3ds.h"
