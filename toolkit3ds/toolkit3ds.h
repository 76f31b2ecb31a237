// Everything the 3DS toolkit offers, in one include.
#pragma once

#include "error3ds.h"
#include "file3ds.h"
#include "primitives3ds.h"
#include "strings3ds.h"
