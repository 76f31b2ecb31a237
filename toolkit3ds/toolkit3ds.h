// Everything the 3DS toolkit offers, in one include.
#pragma once

#include "toolkit3ds/chunk3ds.h"
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/chunktags3ds.h"
#include "toolkit3ds/chunkwalk3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/file3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/records3ds.h"
#include "toolkit3ds/strings3ds.h"
