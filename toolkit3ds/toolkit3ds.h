// Everything the 3DS toolkit offers, in one include.
#pragma once

#include "chunk3ds.h"
#include "chunkdata3ds.h"
#include "chunktags3ds.h"
#include "chunkwalk3ds.h"
#include "database3ds.h"
#include "error3ds.h"
#include "file3ds.h"
#include "primitives3ds.h"
#include "records3ds.h"
#include "strings3ds.h"
