// The record layer of the toolkit: meshes, materials and scene settings.
#pragma once

#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/mesh3ds.h"
#include "toolkit3ds/scenesettings3ds.h"
